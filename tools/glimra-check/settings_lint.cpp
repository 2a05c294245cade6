#include "settings_lint.h"
#include "plugin/host_api.h"
#include "settings/settings.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct KnownKey {
    SettingKey key;
    const char* name; // as written after "GLIMRA."
};

constexpr std::array<KnownKey, 5> KNOWN_KEYS = {{{SettingKey::Timeout, "timeout"},
                                                 {SettingKey::FontHeight, "fontHeight"},
                                                 {SettingKey::ClrOSD, "clrOSD"},
                                                 {SettingKey::ClrOutline, "clrOutline"},
                                                 {SettingKey::Position, "position"}}};
constexpr const char* PREFIX = "glimra.";
constexpr long LONGEST_LINE_READ = HOST_LINE_SIZE - 1;
// Bold letters of fewer pixels than this are dots and strokes, not letters.
constexpr int SMALLEST_READABLE_PIXELS = 8;

bool startsWithIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (std::tolower(static_cast<unsigned char>(*text)) !=
            std::tolower(static_cast<unsigned char>(*prefix))) {
            return false;
        }
    }
    return true;
}

const char* keyName(SettingKey key) {
    for (const KnownKey& known : KNOWN_KEYS) {
        if (known.key == key) {
            return known.name;
        }
    }
    return "?";
}

std::string describeCharacter(char c) {
    switch (c) {
    case '\0':
        return "the end of the line";
    case '\t':
        return "a tab";
    case ':':
        return "a colon";
    default:
        return std::string("'") + c + "'";
    }
}

void warn(SettingsLint& lint, int lineNumber, const std::string& message) {
    lint.warnings.push_back({lineNumber, message});
}

// A line the plug-in ignores, but whose writer probably meant a setting.
void lintIgnoredLine(SettingsLint& lint, int lineNumber, const char* line) {
    const char* text = skipBlanks(line);
    if (!startsWithIgnoringCase(text, PREFIX)) {
        return; // a comment or anything else that is plainly not a setting
    }
    const char* name = text + std::strlen(PREFIX);
    for (const KnownKey& known : KNOWN_KEYS) {
        if (!startsWithIgnoringCase(name, known.name)) {
            continue;
        }
        const char after = name[std::strlen(known.name)];
        if (text != line && after == ' ') {
            warn(lint, lineNumber,
                 std::string("blank before the key GLIMRA.") + known.name + ": line ignored");
        } else if (!std::isalpha(static_cast<unsigned char>(after))) {
            warn(lint, lineNumber,
                 std::string("GLIMRA.") + known.name + " is followed by " +
                     describeCharacter(after) + ", not one blank: line ignored");
        } else {
            continue; // a longer name that merely begins like a known one
        }
        return;
    }
    warn(lint, lineNumber,
         "unknown key '" + std::string(text, std::strcspn(text, " \t:=")) +
             "' (known: GLIMRA.timeout, GLIMRA.fontHeight, GLIMRA.clrOSD, "
             "GLIMRA.clrOutline, GLIMRA.position): line ignored");
}

// True when the digits at text, with their sign, lie outside a 32-bit int.
bool beyond32Bits(const char* sign, const char* digits) {
    const int64_t limit = *sign == '-' ? int64_t{INT32_MAX} + 1 : INT32_MAX;
    int64_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*digits)); ++digits) {
        value = value * 10 + (*digits - '0');
        if (value > limit) {
            return true;
        }
    }
    return false;
}

void lintWholeNumber(SettingsLint& lint, int lineNumber, SettingKey key, const char* value,
                     int32_t result) {
    const char* sign = value + std::strspn(value, " \t\n\v\f\r");
    const char* digits = sign + ((*sign == '+' || *sign == '-') ? 1 : 0);
    bool& outOfRange = lint.outOfRange[static_cast<int>(key)];
    outOfRange = beyond32Bits(sign, digits);
    if (!std::isdigit(static_cast<unsigned char>(*digits))) {
        warn(lint, lineNumber, std::string(keyName(key)) + " has no digits: reads as 0");
    } else if (outOfRange) {
        warn(lint, lineNumber,
             std::string(keyName(key)) + " " +
                 std::string(sign, std::strspn(digits, "0123456789") +
                                       static_cast<size_t>(digits - sign)) +
                 " is outside the 32-bit range (-2147483648 to 2147483647): what the plug-in "
                 "reads then depends on the C runtime");
    } else if (result <= 0) {
        // A font of height 0 is the system's default size, which fits the window.
        const bool timeout = key == SettingKey::Timeout;
        const char* effect =
            timeout ? "texts stay up for about 24 days" : "the font becomes enormous";
        if (result == 0) {
            effect = timeout ? "texts disappear at once"
                             : "small letters of the system's default size, in a window "
                               "30 pixels tall";
        }
        warn(lint, lineNumber,
             std::string(keyName(key)) + " is " + std::to_string(result) + ": " + effect);
        lint.effectTold[static_cast<int>(key)] = true;
    }
}

void lintColour(SettingsLint& lint, int lineNumber, SettingKey key, const char* value,
                uint32_t result) {
    const char* name = keyName(key);
    bool& effectTold = lint.effectTold[static_cast<int>(key)];
    if (*value == '#' || (value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))) {
        warn(lint, lineNumber,
             std::string(name) + " has a '" + (*value == '#' ? "#" : std::string(value, 2)) +
                 "' prefix: reads as 000000, black, which is see-through");
        effectTold = true;
        return;
    }
    const size_t digitCount = std::strspn(value, "0123456789abcdefABCDEF");
    if (digitCount == 0) {
        warn(lint, lineNumber,
             std::string(name) + " has no hex digits: reads as 000000, black, "
                                 "which is see-through");
        effectTold = true;
    } else if (digitCount > 6) {
        warn(lint, lineNumber,
             std::string(name) + " has " + std::to_string(digitCount) +
                 " digits: only six are a colour (blue, green, red); the last eight are read");
    } else if (result == 0) {
        warn(lint, lineNumber, std::string(name) + " is 000000, black, which is see-through");
        effectTold = true;
    }
}

// The nine words, for a warning: "top-left, top, ..., bottom-right".
std::string knownPositions() {
    std::string names;
    for (int i = static_cast<int>(DisplayPosition::TopLeft);
         i <= static_cast<int>(DisplayPosition::BottomRight); ++i) {
        names += (names.empty() ? "" : ", ");
        names += displayPositionName(static_cast<DisplayPosition>(i));
    }
    return names;
}

// An unknown word leaves the display in the screen's corner. A known one may
// be the first half of a place written in two words, of which only it counts.
void lintPosition(SettingsLint& lint, int lineNumber, const char* value, DisplayPosition result) {
    const auto wordAt = [](const char* text) {
        return std::string(text, std::strcspn(text, " \t\r\n"));
    };
    const std::string word = wordAt(value);
    if (result == DisplayPosition::ScreenCorner) {
        warn(lint, lineNumber,
             (word.empty() ? std::string("position has no word")
                           : "position '" + word + "' is not a place") +
                 " (known: " + knownPositions() +
                 "): the display stands at the screen's top-left corner");
        return;
    }
    const std::string next = wordAt(skipBlanks(value + word.size()));
    const DisplayPosition joined = parseDisplayPosition((word + "-" + next).c_str());
    if (!next.empty() && joined != DisplayPosition::ScreenCorner) {
        warn(lint, lineNumber,
             "position '" + word + " " + next + "' reads as " + word + ": write " +
                 displayPositionName(joined) + " as one word");
    }
}

} // namespace

void lintSettingsLine(SettingsLint& lint, int lineNumber, const char* line, long fullLength,
                      bool hasNul) {
    if (hasNul) {
        warn(lint, lineNumber, "contains a NUL byte: the plug-in reads the line only up to it");
    }
    if (fullLength > LONGEST_LINE_READ) {
        warn(lint, lineNumber,
             "is " + std::to_string(fullLength) +
                 " characters long: the plug-in reads only the "
                 "first " +
                 std::to_string(LONGEST_LINE_READ));
    }

    OsdSettings scratch = DEFAULT_SETTINGS;
    const SettingKey key = applySettingsLine(line, scratch);
    if (key == SettingKey::None) {
        lintIgnoredLine(lint, lineNumber, line);
        return;
    }
    lint.effectTold[static_cast<int>(key)] = false;
    const char* value = skipBlanks(line + std::strlen(PREFIX) + std::strlen(keyName(key)) + 1);
    switch (key) {
    case SettingKey::Timeout:
        lintWholeNumber(lint, lineNumber, key, value, scratch.timeout);
        break;
    case SettingKey::FontHeight:
        lintWholeNumber(lint, lineNumber, key, value, scratch.fontHeight);
        break;
    case SettingKey::ClrOSD:
        lintColour(lint, lineNumber, key, value, scratch.clrOSD);
        break;
    case SettingKey::ClrOutline:
        lintColour(lint, lineNumber, key, value, scratch.clrOutline);
        break;
    case SettingKey::Position:
        lintPosition(lint, lineNumber, value, scratch.position);
        break;
    case SettingKey::None:
        break;
    }

    int& lastLine = lint.lastLineOfKey[static_cast<int>(key)];
    if (lastLine != 0) {
        warn(lint, lineNumber,
             std::string(keyName(key)) + " was already set on line " + std::to_string(lastLine) +
                 ": this later value wins");
    }
    lastLine = lineNumber;
}

void lintDisplayEffects(SettingsLint& lint, const OsdSettings& settings, int fontPixels) {
    const auto untold = [&lint](SettingKey key) {
        return !lint.effectTold[static_cast<int>(key)] && !lint.outOfRange[static_cast<int>(key)];
    };
    if (settings.timeout == 0 && untold(SettingKey::Timeout)) {
        warn(lint, 0, "timeout 0 hides each text at once");
    }
    const std::string fontHeight = "fontHeight " + std::to_string(settings.fontHeight);
    if (fontPixels == 0 && settings.fontHeight != 0 && untold(SettingKey::FontHeight)) {
        warn(lint, 0,
             fontHeight + " gives letters 0 pixels tall, which the system takes as its small "
                          "default size");
    } else if (fontPixels > 0 && fontPixels < SMALLEST_READABLE_PIXELS &&
               untold(SettingKey::FontHeight)) {
        warn(lint, 0,
             fontHeight + " gives letters only " + std::to_string(fontPixels) +
                 " pixels tall: too small to read");
    }
    const char* seeThrough = ", the see-through colour: ";
    if (settings.clrOSD == 0 && settings.clrOutline == 0) {
        warn(lint, 0,
             std::string("letters and outline are both 000000") + seeThrough + "nothing shows");
    } else if (settings.clrOSD == 0 && untold(SettingKey::ClrOSD)) {
        warn(lint, 0,
             std::string("the letters are 000000") + seeThrough + "only their outline shows");
    } else if (settings.clrOutline == 0 && untold(SettingKey::ClrOutline)) {
        warn(lint, 0, std::string("the outline is 000000") + seeThrough + "the letters have none");
    } else if (settings.clrOSD == settings.clrOutline) {
        char colour[16];
        std::snprintf(colour, sizeof colour, "%06X", settings.clrOSD);
        warn(lint, 0,
             std::string("letters and outline are both ") + colour +
                 ": no outline shows around the letters");
    }
}
