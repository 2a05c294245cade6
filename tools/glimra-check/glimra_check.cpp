// glimra-check: shows how the Glimra plug-in will read a settings file, and
// warns about each line that is probably a mistake; given directories, also
// checks that GLIMRA.dll there is this plug-in, built for the host beside it.
//
//   glimra-check FILE         reads that file
//   glimra-check DIR [DIR]    checks the plug-in's directory, then the host's
//
// Exit status: 1 any warning; otherwise 2 no settings file found or not
// readable; otherwise 0.
#include "checker_host.h"
#include "installation_check.h"
#include "settings_lint.h"

#include "host/line_reader.h"
#include "settings/settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_WARNINGS = 1;
constexpr int EXIT_NO_FILE = 2;
constexpr int DOTS_PER_INCH = 96;
constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT_BEYOND_FONT = 30;
constexpr int LINE_BUFFER_SIZE = 1 << 16;

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
    std::printf("%-11s %06X  (red %u, green %u, blue %u%s)\n", name, colour, colour & 0xFF,
                (colour >> 8) & 0xFF, (colour >> 16) & 0xFF,
                colour == 0 ? "; see-through" : (colour > 0xFFFFFF ? "; high byte set" : ""));
}

// A value beyond 32 bits is not printed: the plug-in's C runtime decides it.
bool printIfOutOfRange(const char* name, const SettingsLint& lint, SettingKey key) {
    if (!lint.outOfRange[static_cast<int>(key)]) {
        return false;
    }
    std::printf("%-11s outside the 32-bit range: depends on the C runtime\n", name);
    return true;
}

void printSettings(const OsdSettings& settings, const SettingsLint& lint) {
    if (!printIfOutOfRange("timeout", lint, SettingKey::Timeout)) {
        std::printf("%-11s %d ms\n", "timeout", settings.timeout);
    }
    const int fontPixels = fontPixelHeight(DOTS_PER_INCH, settings.fontHeight);
    if (!printIfOutOfRange("fontHeight", lint, SettingKey::FontHeight)) {
        std::printf("%-11s %d  (%d pixels at %d dots per inch; window %d x %lld)\n", "fontHeight",
                    settings.fontHeight, fontPixels, DOTS_PER_INCH, WINDOW_WIDTH,
                    static_cast<long long>(fontPixels) + WINDOW_HEIGHT_BEYOND_FONT);
    }
    printColour("clrOSD", settings.clrOSD);
    printColour("clrOutline", settings.clrOutline);
}

int usage() {
    std::fprintf(stderr, "usage: glimra-check FILE\n"
                         "       glimra-check PLUGIN_DIR [HOST_DIR]\n"
                         "Shows how the Glimra plug-in reads its settings file and warns about\n"
                         "lines that are probably mistakes. Given directories, also checks that\n"
                         "GLIMRA.dll there is Glimra, built for the tarvex.exe beside it.\n");
    return EXIT_NO_FILE;
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

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || argv[1][0] == '-') {
        return usage();
    }
    std::string path;
    bool installationWarned = false;
    if (isDirectory(argv[1])) {
        const std::string hostDirectory = argc == 3 ? argv[2] : argv[1];
        installationWarned = printInstallation(argv[1], hostDirectory);
        path = findAsThePluginWould(argv[1], hostDirectory);
        if (path.empty()) {
            std::printf("no settings file (glimrarc or glimra.rc) in %s%s%s: the defaults stand\n",
                        argv[1], argc == 3 ? " or " : "", argc == 3 ? argv[2] : "");
            printSettings(DEFAULT_SETTINGS, SettingsLint{});
            return installationWarned ? EXIT_WARNINGS : EXIT_NO_FILE;
        }
    } else if (argc == 2) {
        path = argv[1];
    } else {
        return usage();
    }

    SettingsLint lint;
    if (!lintFile(path, lint)) {
        std::fprintf(stderr, "glimra-check: cannot read %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return installationWarned ? EXIT_WARNINGS : EXIT_NO_FILE;
    }
    OsdSettings settings = DEFAULT_SETTINGS;
    readSettingsFile(path.c_str(), settings); // the plug-in's own reading

    std::printf("settings file: %s\n", path.c_str());
    for (const LineWarning& warning : lint.warnings) {
        std::printf("line %d: warning: %s\n", warning.lineNumber, warning.message.c_str());
    }
    printSettings(settings, lint);
    return lint.warnings.empty() && !installationWarned ? EXIT_CLEAN : EXIT_WARNINGS;
}
