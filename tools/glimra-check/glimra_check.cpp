// glimra-check: shows how the Glimra plug-in will read a settings file, and
// warns about each line that is probably a mistake; given directories, also
// checks that GLIMRA.dll there is this plug-in, built for the host beside it.
// On Windows, --show then shows a text with those settings as the plug-in would.
//
//   glimra-check FILE         reads that file
//   glimra-check DIR [DIR]    checks the plug-in's directory, then the host's
//   glimra-check --show [--text TEXT] [--screenshot FILE.bmp] [FILE | DIR [DIR]]
//
// Exit status: 1 any warning; otherwise 2 no settings file found or not
// readable, or no preview; otherwise 0.
#include "checker_host.h"
#include "installation_check.h"
#include "plugin/host_api.h"
#include "preview.h"
#include "settings_lint.h"

#include "display/display_geometry.h"
#include "host/line_reader.h"
#include "settings/settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_WARNINGS = 1;
constexpr int EXIT_NO_FILE = 2;
constexpr int LINE_BUFFER_SIZE = 1 << 16;
constexpr const char* SAMPLE_TEXT = "Glimra preview";

struct CheckerOptions {
    bool show = false;
    PreviewRequest preview = {SAMPLE_TEXT, ""};
    bool previewOptionGiven = false; // --text or --screenshot
    std::vector<std::string> places; // a file, or the plug-in's and the host's directories
};

// Finds the file as the plug-in would; "" when there is none.
std::string findAsThePluginWould(const std::string& pluginDirectory,
                                 const std::string& hostDirectory) {
    setSearchDirectories(pluginDirectory, hostDirectory);
    char path[HOST_PATH_SIZE] = {};
    return findSettingsFile(nullptr, path) ? nativeSettingsPath(path) : std::string();
}

// Lints each line as the host would hand it to the plug-in.
bool lintFile(const std::string& path, SettingsLint& lint) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    std::vector<char> line(LINE_BUFFER_SIZE);
    long length = 0;
    for (int number = 1; readLine(file, line.data(), LINE_BUFFER_SIZE, &length); ++number) {
        const size_t kept = static_cast<size_t>(std::min<long>(length, LINE_BUFFER_SIZE - 1));
        const bool hasNul = std::memchr(line.data(), '\0', kept) != nullptr;
        line[std::min<size_t>(kept, HOST_LINE_SIZE - 1)] = '\0';
        lintSettingsLine(lint, number, line.data(), length, hasNul);
    }
    std::fclose(file);
    return true;
}

void printColour(const char* name, uint32_t colour) {
    const char* note = "";
    if (colour == 0) {
        note = "; see-through";
    } else if (colour > 0xFFFFFF) {
        note = "; high byte set";
    }
    std::printf("%-11s %06X  (red %u, green %u, blue %u%s)\n", name, colour, colour & 0xFF,
                (colour >> 8) & 0xFF, (colour >> 16) & 0xFF, note);
}

// A value beyond 32 bits is not printed: the plug-in's C runtime decides it.
bool printIfOutOfRange(const char* name, const SettingsLint& lint, SettingKey key) {
    if (!lint.outOfRange[static_cast<int>(key)]) {
        return false;
    }
    std::printf("%-11s outside the 32-bit range: depends on the C runtime\n", name);
    return true;
}

// Where the display stands, and its window on the screen in the screen's own
// pixels, unless its size depends on the C runtime.
void printPosition(const OsdSettings& settings, const DisplayGeometry& display, bool sizeKnown,
                   const CheckedScreen& screen) {
    const bool corner = settings.position == DisplayPosition::ScreenCorner;
    std::printf("%-11s %s", "position",
                corner ? "the screen's top-left corner, the default"
                       : displayPositionName(settings.position));
    if (!sizeKnown) {
        std::printf("\n");
        return;
    }
    const ScreenPoint window = displayOrigin(display, settings.position, screen.workArea);
    const ScreenRect& area = screen.workArea;
    std::printf("  (window %d,%d to %d,%d", window.x, window.y, window.x + display.width,
                window.y + display.height);
    if (!corner) {
        std::printf(" in %s work area %d,%d to %d,%d",
                    screen.measured ? "this screen's" : "an assumed", area.left, area.top,
                    area.right, area.bottom);
    }
    std::printf(")\n");
}

void printSettings(const OsdSettings& settings, const SettingsLint& lint,
                   const CheckedScreen& screen) {
    if (!printIfOutOfRange("timeout", lint, SettingKey::Timeout)) {
        std::printf("%-11s %d ms\n", "timeout", settings.timeout);
    }
    const DisplayGeometry display =
        displayGeometry(screen.dotsPerInch, screen.hostDotsPerInch, settings.fontHeight);
    const bool sizeKnown = !printIfOutOfRange("fontHeight", lint, SettingKey::FontHeight);
    if (sizeKnown) {
        std::printf("%-11s %d  (%d pixels at %s %d dots per inch; window %d x %d)\n", "fontHeight",
                    settings.fontHeight, display.fontPixels,
                    screen.measured ? "this screen's" : "an assumed", screen.dotsPerInch,
                    display.width, display.height);
    }
    if (screen.dotsPerInch != screen.hostDotsPerInch) {
        std::printf("%-11s the host sees %d dots per inch, and the system would stretch its "
                    "windows: the display is drawn at the screen's own\n",
                    "", screen.hostDotsPerInch);
    }
    printColour("clrOSD", settings.clrOSD);
    printColour("clrOutline", settings.clrOutline);
    printPosition(settings, display, sizeKnown, screen);
}

int usage() {
    std::fprintf(stderr,
                 "usage: glimra-check FILE\n"
                 "       glimra-check PLUGIN_DIR [HOST_DIR]\n"
                 "       glimra-check --show [--text TEXT] [--screenshot FILE.bmp] [FILE | "
                 "PLUGIN_DIR [HOST_DIR]]\n"
                 "Shows how the Glimra plug-in reads its settings file and warns about\n"
                 "lines that are probably mistakes. Given directories, also checks that\n"
                 "GLIMRA.dll there is Glimra, built for the tarvex.exe beside it.\n"
                 "--show (Windows only) then shows TEXT, or a sample, on the screen with\n"
                 "those settings exactly as the plug-in would, until it hides; the current\n"
                 "directory is searched when none is given. --screenshot saves the screen's\n"
                 "top-left corner once the text is painted.\n");
    return EXIT_NO_FILE;
}

bool parseOptions(int argc, char** argv, CheckerOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--show") {
            options.show = true;
        } else if (argument == "--text" && hasValue) {
            options.preview.text = argv[++i];
            options.previewOptionGiven = true;
        } else if (argument == "--screenshot" && hasValue) {
            options.preview.screenshotPath = argv[++i];
            options.previewOptionGiven = true;
        } else if (argument[0] == '-') {
            return false;
        } else {
            options.places.push_back(argument);
        }
    }
    if (options.show && options.places.empty()) {
        options.places.emplace_back(".");
    }
    const size_t count = options.places.size();
    return count >= 1 && (count == 1 || (count == 2 && isDirectory(options.places[0]))) &&
           (options.show || !options.previewOptionGiven);
}

// Prints what is found of the DLL and the host; tells whether any of it is a warning.
bool printInstallation(const std::string& pluginDirectory, const std::string& hostDirectory) {
    bool warned = false;
    for (const InstallationFinding& finding : checkInstallation(pluginDirectory, hostDirectory)) {
        std::printf("%s%s\n", finding.isWarning ? "warning: " : "", finding.text.c_str());
        warned = warned || finding.isWarning;
    }
    return warned;
}

// Prints the report of the places given; settings gets what the plug-in would read.
int checkSettings(const std::vector<std::string>& places, OsdSettings& settings) {
    const CheckedScreen screen = checkedScreen();
    settings = DEFAULT_SETTINGS;
    std::string path;
    bool installationWarned = false;
    if (isDirectory(places[0])) {
        const std::string& pluginDirectory = places[0];
        const std::string& hostDirectory = places.back();
        installationWarned = printInstallation(pluginDirectory, hostDirectory);
        path = findAsThePluginWould(pluginDirectory, hostDirectory);
        if (path.empty()) {
            std::printf("no settings file (glimrarc or glimra.rc) in %s%s%s: the defaults stand\n",
                        pluginDirectory.c_str(), places.size() == 2 ? " or " : "",
                        places.size() == 2 ? hostDirectory.c_str() : "");
            printSettings(DEFAULT_SETTINGS, SettingsLint{}, screen);
            return installationWarned ? EXIT_WARNINGS : EXIT_NO_FILE;
        }
    } else {
        path = places[0];
    }

    SettingsLint lint;
    if (!lintFile(path, lint)) {
        std::fprintf(stderr, "glimra-check: cannot read %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return installationWarned ? EXIT_WARNINGS : EXIT_NO_FILE;
    }
    readSettingsFile(path.c_str(), settings); // the plug-in's own reading
    lintDisplayEffects(
        lint, settings,
        displayGeometry(screen.dotsPerInch, screen.hostDotsPerInch, settings.fontHeight)
            .fontPixels);

    std::printf("settings file: %s\n", path.c_str());
    for (const LineWarning& warning : lint.warnings) {
        if (warning.lineNumber == 0) {
            std::printf("warning: %s\n", warning.message.c_str());
        } else {
            std::printf("line %d: warning: %s\n", warning.lineNumber, warning.message.c_str());
        }
    }
    printSettings(settings, lint, screen);
    return lint.warnings.empty() && !installationWarned ? EXIT_CLEAN : EXIT_WARNINGS;
}

} // namespace

int main(int argc, char** argv) {
    CheckerOptions options;
    if (!parseOptions(argc, argv, options)) {
        return usage();
    }
    if (options.show && !previewSupported()) {
        std::fprintf(stderr, "glimra-check: --show needs Windows: run glimra-check.exe there\n");
        return EXIT_NO_FILE;
    }
    OsdSettings settings = DEFAULT_SETTINGS;
    const int status = checkSettings(options.places, settings);
    std::fflush(stdout);
    if (!options.show || runPreview(settings, options.preview)) {
        return status;
    }
    return status == EXIT_WARNINGS ? status : EXIT_NO_FILE;
}
