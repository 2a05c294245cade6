// The plug-in's settings and their reader, which takes them from the settings file at start.
#include "settings/settings.h"

#include "plugin/host_api.h"
#include "plugin/host_calls.h"
#include "settings/module_path.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

OsdSettings osdSettings = DEFAULT_SETTINGS;

namespace {

// Each key includes the one blank that must follow it in the file.
constexpr std::string_view KEY_FONT_HEIGHT = "GLIMRA.fontHeight ";
constexpr std::string_view KEY_TIMEOUT = "GLIMRA.timeout ";
constexpr std::string_view KEY_CLR_OSD = "GLIMRA.clrOSD ";
constexpr std::string_view KEY_CLR_OUTLINE = "GLIMRA.clrOutline ";
constexpr std::string_view KEY_POSITION = "GLIMRA.position ";

// The nine places' words, in the order of DisplayPosition from TopLeft on.
constexpr std::array<std::string_view, 9> POSITION_NAMES = {
    "top-left", "top",         "top-right", "left",        "center",
    "right",    "bottom-left", "bottom",    "bottom-right"};
static_assert(POSITION_NAMES.size() == static_cast<size_t>(DisplayPosition::BottomRight));

constexpr std::array<std::string_view, 2> SETTINGS_FILE_NAMES = {"glimrarc", "glimra.rc"};

// Folds only A to Z, whatever the C library's locale would do with other bytes.
char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when line begins with key (or a place's word), letter case aside. A
// shorter line stops at its NUL.
bool startsWithKey(const char* line, std::string_view key) {
    for (size_t i = 0; i < key.size(); ++i) {
        if (foldCase(line[i]) != foldCase(key[i])) {
            return false;
        }
    }
    return true;
}

// A blank, a tab, the line's end, or its carriage return or line feed, which
// a host may leave in its buffer: no control character is part of a word.
bool endsWord(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Writes each settings file name behind the last backslash of path until one
// exists. A name that would not fit in the buffer is skipped, never cut short.
bool findInDirectoryOf(char (&path)[HOST_PATH_SIZE]) {
    path[HOST_PATH_SIZE - 1] = '\0'; // the platform or the host may have filled it to the end
    const char* lastBackslash = std::strrchr(path, '\\');
    const size_t nameStart = lastBackslash ? static_cast<size_t>(lastBackslash - path) + 1 : 0;
    for (const std::string_view name : SETTINGS_FILE_NAMES) {
        if (nameStart + name.size() >= HOST_PATH_SIZE) {
            continue;
        }
        std::memcpy(path + nameStart, name.data(), name.size());
        path[nameStart + name.size()] = '\0';
        if (callFileExists(path) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int fontPixelHeight(int dotsPerInch, int32_t fontHeight) {
    return static_cast<int>(static_cast<uint32_t>(dotsPerInch) * static_cast<uint32_t>(fontHeight) /
                            100);
}

const char* skipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    return text;
}

uint32_t parseHexColor(const char* text) {
    uint32_t value = 0;
    for (; hexDigitValue(*text) >= 0; ++text) {
        value = value * 16 +
                static_cast<uint32_t>(hexDigitValue(*text)); // wraps: the last 8 digits count
    }
    return value;
}

DisplayPosition parseDisplayPosition(const char* text) {
    size_t length = 0;
    while (!endsWord(text[length])) {
        ++length;
    }
    for (size_t i = 0; i < POSITION_NAMES.size(); ++i) {
        if (length == POSITION_NAMES[i].size() && startsWithKey(text, POSITION_NAMES[i])) {
            return static_cast<DisplayPosition>(i + 1);
        }
    }
    return DisplayPosition::ScreenCorner;
}

// Each view is a whole literal, so its data ends with a NUL.
const char* displayPositionName(DisplayPosition position) {
    const auto place = static_cast<size_t>(position);
    return place >= 1 && place <= POSITION_NAMES.size() ? POSITION_NAMES[place - 1].data() : "";
}

SettingKey applySettingsLine(const char* line, OsdSettings& settings) {
    if (startsWithKey(line, KEY_FONT_HEIGHT)) {
        settings.fontHeight = std::atoi(line + KEY_FONT_HEIGHT.size());
        return SettingKey::FontHeight;
    }
    if (startsWithKey(line, KEY_TIMEOUT)) {
        settings.timeout = std::atoi(skipBlanks(line + KEY_TIMEOUT.size()));
        return SettingKey::Timeout;
    }
    if (startsWithKey(line, KEY_CLR_OSD)) {
        settings.clrOSD = parseHexColor(skipBlanks(line + KEY_CLR_OSD.size()));
        return SettingKey::ClrOSD;
    }
    if (startsWithKey(line, KEY_CLR_OUTLINE)) {
        settings.clrOutline = parseHexColor(skipBlanks(line + KEY_CLR_OUTLINE.size()));
        return SettingKey::ClrOutline;
    }
    if (startsWithKey(line, KEY_POSITION)) {
        settings.position = parseDisplayPosition(skipBlanks(line + KEY_POSITION.size()));
        return SettingKey::Position;
    }
    return SettingKey::None;
}

void readSettingsFile(const char* path, OsdSettings& settings) {
    HostFile file = callFileOpen(path);
    char line[HOST_LINE_SIZE];
    while (callReadNextCommand(file, line, HOST_LINE_SIZE) != 0) {
        line[HOST_LINE_SIZE - 1] = '\0'; // a host may fill the buffer to the end
        applySettingsLine(line, settings);
    }
    callFileClose(file);
}

bool findSettingsFile(InstanceHandle instance, char (&path)[HOST_PATH_SIZE]) {
    getModuleFilePath(instance, path, HOST_PATH_SIZE);
    if (findInDirectoryOf(path)) {
        return true;
    }
    callGetTarvexPath(path, HOST_PATH_SIZE);
    return findInDirectoryOf(path);
}

void readSettings(InstanceHandle instance) {
    char path[HOST_PATH_SIZE] = {};
    if (findSettingsFile(instance, path)) {
        readSettingsFile(path, osdSettings);
    }
}
