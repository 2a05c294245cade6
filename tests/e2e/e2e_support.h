// What the end-to-end tests share: this test program is itself a host named
// "tarvex.exe"; it loads the real GLIMRA.dll from a folder of its own, answers
// message boxes, lays a backdrop of a known colour and reads the screen back.
#pragma once

#include "host/host.h"
#include "host/plugin_loader.h"
#include "host/screen_capture.h"

#include <string>
#include <vector>

// The GLIMRA.dll under test, given on the command line with --plugin.
extern std::string builtPluginPath;

constexpr COLORREF BACKDROP_COLOUR = RGB(40, 160, 80);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF NEAR_BLACK = RGB(1, 1, 1);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

// The screen area the checks look at: the display window (800 pixels wide)
// and a margin beyond it, where nothing may ever be drawn.
constexpr int SHOT_WIDTH = 900;
constexpr int SHOT_HEIGHT = 220;

// A fresh folder holding only a copy of GLIMRA.dll and, when settingsText is
// not empty, a settings file "glimrarc" beside it. The plug-in is loaded from
// there, ended and unloaded when the session ends, and the folder removed.
class PluginSession {
  public:
    explicit PluginSession(const std::string& settingsText = "");
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    int begin();
    void end();
    // Unloads the module and loads it afresh from the same folder.
    void reload();
    // The window that registered with the host; null before that.
    HWND osdWindow() const;

    LoadedPlugin plugin = {};
    std::string directory; // ends with a backslash
};

// Writes text to path; the tests' settings files and folders.
void writeTextFile(const std::string& path, const std::string& text);
std::string makeTemporaryFolder(const char* purpose);
void removeFolder(const std::string& directory);

// Replaces a loaded module's import of function from library by replacement
// and gives back what stood there before; null when there is no such import.
void* patchImport(HMODULE module, const char* library, const char* function, void* replacement);

// A message box seen and closed with OK, with the owner and type that the
// plug-in asked MessageBoxA for.
struct AnsweredBox {
    std::string caption;
    std::string text;
    bool onlyOkButton;
    HWND owner;
    UINT type;
};

// From now on, every message box this thread opens is read and closed with
// OK, so that none waits for a person; one that opens while no BoxAnswerer
// lives fails the running test.
void startAnsweringMessageBoxes();

// Checks that box number index is the plug-in's start-up report: caption,
// text, one OK button, no owner, brought to the foreground and kept on top.
void expectStartBox(const std::vector<AnsweredBox>& boxes, size_t index, const char* caption,
                    const char* text);

// While it lives, message boxes are expected and kept for the test to read.
class BoxAnswerer {
  public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    const std::vector<AnsweredBox>& boxes() const;
};

// A plain window of BACKDROP_COLOUR behind the display that counts its clicks.
class Backdrop {
  public:
    Backdrop();
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;
    HWND window() const { return handle; }
    int clicks() const;

  private:
    HWND handle;
    int clicksBefore;
};

// A font as the display asks for it: bold, unsmoothed Verdana of that cell height.
HFONT createDisplayFont(int pixelHeight);

// What the display must show for text at the screen's top-left corner over
// the backdrop: drawn here with the display's font and colours, at its text
// origin (10, 10), clipped to its window, black made see-through.
ScreenImage expectedDisplay(const char* text, int fontPixelHeight, COLORREF letters = WHITE,
                            COLORREF outline = NEAR_BLACK);

// Describes the first pixel where actual differs from expected; "" if none.
std::string firstDifference(const ScreenImage& actual, const ScreenImage& expected);

// Milliseconds on a fine clock, for timing checks.
double nowMilliseconds();

// How far a hide may stray from its time. Early: the system's timer may fire
// up to one clock tick (15.6 ms on Windows) before the measured time. Late:
// the timer's message waits behind the host's loop and the machine's load,
// and under emulated x86 a message takes several milliseconds more. A hide a
// quarter of a second off fails either bound.
constexpr double HIDE_EARLY_MARGIN_MS = 20;
constexpr double HIDE_LATE_MARGIN_MS = 150;
// Runs the host's loop and checks that osd hides timeout milliseconds after start.
void expectHiddenAfter(HWND osd, double start, double timeout);

// Sends text from the host, lets the display paint, and reads the screen.
ScreenImage showAndCapture(HWND osd, const char* text);
// Lets pending messages and painting finish, then reads the screen.
ScreenImage settleAndCapture(HWND osd);

// Pixel counts over the whole shot.
int countColour(const ScreenImage& image, COLORREF colour);
// Describes the first pixel that is none of the allowed colours; "" if none.
std::string firstForeignPixel(const ScreenImage& image, const std::vector<COLORREF>& allowed);
// The smallest rectangle holding every pixel of colour; empty if there is none.
RECT boundsOfColour(const ScreenImage& image, COLORREF colour);
