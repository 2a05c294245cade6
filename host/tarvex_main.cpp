// tarvex.exe: a small reference host. It loads a plug-in, starts it, sends it
// texts from the command line and standard input, and ends it again.
#include "host/host.h"
#include "host/host_functions.h"
#include "host/host_startup.h"
#include "host/line_reader.h"
#include "host/plugin_loader.h"
#include "host/screen_capture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int EXIT_REFUSED = 1;
constexpr int EXIT_USAGE = 2;
constexpr int SCREENSHOT_WIDTH = 840;
constexpr int SCREENSHOT_HEIGHT = 160;

struct HostOptions {
    std::string pluginPath;
    std::string hostPath; // what GetTarvexPath answers, when not this program's own
    DWORD pauseMilliseconds = 1500;
    DWORD holdMilliseconds = 0;
    bool readStandardInput = false;
    std::string screenshotPath;
    bool showBackdrop = false;
    COLORREF backdropColour = 0;
    std::vector<std::string> texts;
};

void printUsage() {
    std::puts("usage: tarvex.exe [--plugin PATH] [--pause MS] [--hold MS] [--stdin]\n"
              "                  [--host-path PATH] [--backdrop BBGGRR] [--screenshot FILE.bmp]\n"
              "                  [TEXT ...]\n"
              "Loads the plug-in (GLIMRA.dll beside tarvex.exe unless PATH is given),\n"
              "starts it, sends each TEXT and then each line of standard input with\n"
              "--pause milliseconds after each, saves a screenshot of the screen's\n"
              "top-left corner after the last text, waits --hold milliseconds and\n"
              "ends the plug-in. --backdrop lays a window of that colour (hex, blue\n"
              "first, as in the plug-in's settings) under the display.\n"
              "Exit status: 0 done, 1 the plug-in refused to start, 2 bad usage or\n"
              "no plug-in could be loaded.");
}

std::string pluginBesideHost() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[MAX_PATH - 1] = '\0';
    char* lastBackslash = std::strrchr(path, '\\');
    const std::string directory =
        lastBackslash ? std::string(path, lastBackslash + 1) : std::string();
    return directory + "GLIMRA.dll";
}

bool parseOptions(int argc, char** argv, HostOptions& options) {
    options.pluginPath = pluginBesideHost();
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--plugin" && hasValue) {
            options.pluginPath = argv[++i];
        } else if (argument == "--pause" && hasValue) {
            options.pauseMilliseconds = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        } else if (argument == "--hold" && hasValue) {
            options.holdMilliseconds = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        } else if (argument == "--host-path" && hasValue) {
            options.hostPath = argv[++i];
        } else if (argument == "--screenshot" && hasValue) {
            options.screenshotPath = argv[++i];
        } else if (argument == "--backdrop" && hasValue) {
            options.showBackdrop = true;
            options.backdropColour = static_cast<COLORREF>(std::strtoul(argv[++i], nullptr, 16));
        } else if (argument == "--stdin") {
            options.readStandardInput = true;
        } else if (argument.rfind("--", 0) == 0) {
            return false;
        } else {
            options.texts.push_back(argument);
        }
    }
    return true;
}

void showText(const std::string& text, DWORD pauseMilliseconds) {
    std::printf("text: %s (%d window(s))\n", text.c_str(), sendHostText(text.c_str()));
    std::fflush(stdout);
    pumpMessagesFor(pauseMilliseconds);
}

void sendAllTexts(const HostOptions& options) {
    for (const std::string& text : options.texts) {
        showText(text, options.pauseMilliseconds);
    }
    if (!options.readStandardInput) {
        return;
    }
    std::string line;
    while (readWholeLine(stdin, line)) {
        showText(line, options.pauseMilliseconds);
    }
}

void saveScreenshot(const std::string& path) {
    const bool saved = saveBitmap(captureScreen(SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT), path.c_str());
    std::printf(saved ? "screenshot: %s\n" : "screenshot: cannot write %s\n", path.c_str());
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    if (!parseOptions(argc, argv, options)) {
        printUsage();
        return EXIT_USAGE;
    }
    LoadedPlugin plugin;
    if (!startHost(options.pluginPath.c_str(), plugin)) {
        std::fprintf(stderr, "tarvex: cannot load a plug-in from %s\n", options.pluginPath.c_str());
        return EXIT_USAGE;
    }
    if (!options.hostPath.empty()) {
        hostAnswers.hostPath = options.hostPath;
    }
    if (options.showBackdrop) {
        createBackdrop(GetModuleHandleA(nullptr), options.backdropColour, SCREENSHOT_WIDTH,
                       SCREENSHOT_HEIGHT);
    }
    for (int field = 1; field <= 6; ++field) {
        std::printf("pluginInfo(%d): %s\n", field, plugin.info(field));
    }
    if (plugin.begin(plugin.module) != 0) {
        std::puts("beginPlugin: the plug-in refused to start");
        plugin.end(nullptr);
        unloadPlugin(plugin);
        return EXIT_REFUSED;
    }
    std::puts("beginPlugin: started");
    std::fflush(stdout);
    pumpMessagesFor(options.pauseMilliseconds);

    sendAllTexts(options);
    if (!options.screenshotPath.empty()) {
        saveScreenshot(options.screenshotPath);
    }
    pumpMessagesFor(options.holdMilliseconds);

    plugin.end(nullptr);
    unloadPlugin(plugin);
    destroyHostWindow();
    std::puts("endPlugin: done");
    return 0;
}
