// glimra-check.exe --show, the one built beside the DLL under test, run while
// the user types elsewhere: what it shows, for how long, and what it leaves.
#include "host/host.h"
#include "host/screen_capture.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"
#include "screen_reader.h"
#include "timing_checks.h"
#include "typing_window.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

// Runs glimra-check.exe on folder's settings; its report goes to this program's
// output, unless flags give it a console of its own (then hidden).
PROCESS_INFORMATION startPreview(const std::string& folder, const std::string& options,
                                 DWORD flags = 0) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    std::string commandLine = quotedProgramBesideThePlugin("glimra-check.exe") + " --show " +
                              options + " \"" + folder + ".\"";
    PROCESS_INFORMATION process = {};
    EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                               nullptr, &startup, &process));
    return process;
}

// The display once it shows; null if the program ends first.
HWND shownDisplay(HANDLE process) {
    for (;;) {
        HWND osd = FindWindowA("osd_window", nullptr);
        if (osd && IsWindowVisible(osd)) {
            return osd;
        }
        if (WaitForSingleObject(process, 2) != WAIT_TIMEOUT) {
            return nullptr;
        }
    }
}

// When the display has its text up and its countdown running: another
// program's message reaches it only from its message loop, which it enters
// once the show is done. Under a slow Wine the window reads visible well
// before that, while the show is still under way.
double countdownBegun(HWND osd) {
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(osd, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer), 0)
        << "the display did not answer for a second";
    return nowMilliseconds();
}

// When the display was seen hidden (or gone with its program), looked at
// every millisecond until the deadline. The program's own end is timed apart:
// a process takes its time to end, and longer on an emulated x86.
double hiddenBy(HWND osd, HANDLE process, double deadline) {
    while (IsWindowVisible(osd) && nowMilliseconds() < deadline) {
        WaitForSingleObject(process, 1);
    }
    return nowMilliseconds();
}

DWORD exitCodeOf(HANDLE process) {
    TerminateProcess(process, 99); // if it still runs
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

TEST(Preview, ShowsTheSettingsAsThePluginWouldAndEndsWithTheTimeout) {
    const TypingWindow user;
    const Backdrop backdrop;
    ScreenReader reader;
    const std::string folder = makeTemporaryFolder("preview");
    writeTextFile(folder + "glimrarc", "GLIMRA.timeout 1500\nGLIMRA.fontHeight 50\n"
                                       "GLIMRA.clrOSD 00FFFF\nGLIMRA.clrOutline 800000\n");
    const PROCESS_INFORMATION preview = startPreview(folder, "--text \"Preview me\"");
    HWND osd = shownDisplay(preview.hProcess);
    const double shown = nowMilliseconds();
    ASSERT_NE(osd, nullptr);
    const double counting = countdownBegun(osd);
    EXPECT_EQ(reader.nextLine(), heardAlert(8, "Preview me")) << "heard as the plug-in's texts";

    RECT rect = {};
    GetWindowRect(osd, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 800);
    EXPECT_EQ(rect.bottom, 48 + 30);
    pumpMessagesFor(400);
    EXPECT_EQ(firstDifference(captureScreen(SHOT_WIDTH, SHOT_HEIGHT),
                              expectedDisplay("Preview me", 48, RGB(255, 255, 0), RGB(0, 0, 128))),
              "")
        << "yellow letters in a dark blue ring";
    EXPECT_EQ(user.type('a'), "a") << "while the preview shows";
    user.expectStillHasTheKeyboard("while the preview shows");

    // The window reads visible before its countdown begins: a hide is too
    // early against the first sight, too late against the countdown's start,
    // so that a slow show fails neither.
    const double hidden = hiddenBy(osd, preview.hProcess, counting + 1500 + HIDE_LATE_MARGIN_MS);
    const DWORD waited = WaitForSingleObject(preview.hProcess, 1000);
    const double ended = nowMilliseconds();
    std::printf("preview: first seen; countdown begun %.0f ms later; hidden %.0f ms after that; "
                "the program ended %.0f ms after the hide\n",
                counting - shown, hidden - counting, ended - hidden);
    EXPECT_GE(hidden - shown, 1500 - HIDE_EARLY_MARGIN_MS) << "hidden too early";
    EXPECT_LE(hidden - counting, 1500 + HIDE_LATE_MARGIN_MS) << "hidden too late";
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "still running a second after its display hid";
    EXPECT_EQ(exitCodeOf(preview.hProcess), 0u);
    EXPECT_EQ(FindWindowA("osd_window", nullptr), nullptr) << "a display left behind";
    EXPECT_EQ(user.type('b'), "ab") << "after the preview";
    user.expectStillHasTheKeyboard("after the preview");
    removeFolder(folder);
}

// The size a BMP file's header gives; 0 x 0 when there is none.
SIZE bitmapSize(const std::string& path) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    std::FILE* in = std::fopen(path.c_str(), "rb");
    const bool read = in && std::fread(&file, sizeof file, 1, in) == 1 &&
                      std::fread(&header, sizeof header, 1, in) == 1;
    if (in) {
        std::fclose(in);
    }
    return read ? SIZE{header.biWidth, std::abs(header.biHeight)} : SIZE{0, 0};
}

// At the place of the settings, its text aligned there, and its screenshot
// the display and 40 pixels around it that lie on the screen.
TEST(Preview, ShowsTheTextAtThePlaceOfTheSettings) {
    const Backdrop backdrop(WHOLE_SCREEN);
    const std::string folder = makeTemporaryFolder("preview");
    writeTextFile(folder + "glimrarc", "GLIMRA.timeout 1500\nGLIMRA.position bottom-right\n");
    const PROCESS_INFORMATION preview =
        startPreview(folder, "--text \"Over here\" --screenshot \"" + folder + "shot.bmp\"");
    HWND osd = shownDisplay(preview.hProcess);
    ASSERT_NE(osd, nullptr);
    countdownBegun(osd);

    RECT rect = {};
    GetWindowRect(osd, &rect);
    const RECT bottomRight = {224, 666, 1024, 768};
    EXPECT_TRUE(EqualRect(&rect, &bottomRight))
        << rect.left << "," << rect.top << " to " << rect.right << "," << rect.bottom;
    pumpMessagesFor(400);
    const DisplayPlacement placement = {72, 10, 800, 102, {224, 666}, DT_RIGHT};
    EXPECT_EQ(
        firstDifference(captureScreen(WHOLE_SCREEN.cx, WHOLE_SCREEN.cy),
                        expectedDisplay("Over here", placement, WHITE, NEAR_BLACK, WHOLE_SCREEN)),
        "");
    EXPECT_EQ(WaitForSingleObject(preview.hProcess, 3000), WAIT_OBJECT_0);
    EXPECT_EQ(exitCodeOf(preview.hProcess), 0u);
    const SIZE shot = bitmapSize(folder + "shot.bmp");
    EXPECT_EQ(shot.cx, 40 + 800);
    EXPECT_EQ(shot.cy, 40 + 102);
    removeFolder(folder);
}

// On a Cyrillic system the text given to --text is in its code page, and the
// preview shows its letters, as the plug-in shows a host's.
TEST(CodePage1251Preview, ShowsTheLettersOfTheSystemsCodePage) {
    ASSERT_EQ(GetACP(), 1251u) << "this group needs a system of code page 1251; its CTest "
                                  "entry sets the locale that gives it";
    const Backdrop backdrop;
    const std::string folder = makeTemporaryFolder("preview");
    writeTextFile(folder + "glimrarc", "GLIMRA.timeout 1500\n");
    const PROCESS_INFORMATION preview =
        startPreview(folder, "--text \"\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0\"");
    ASSERT_NE(shownDisplay(preview.hProcess), nullptr);
    pumpMessagesFor(400);
    EXPECT_EQ(firstDifference(captureScreen(SHOT_WIDTH, SHOT_HEIGHT),
                              expectedDisplay(L"Привет, мир", 72)),
              "");
    EXPECT_EQ(WaitForSingleObject(preview.hProcess, 3000), WAIT_OBJECT_0);
    EXPECT_EQ(exitCodeOf(preview.hProcess), 0u);
    removeFolder(folder);
}

// Ctrl+C reaches every process of a console: this program leaves its own to
// join the preview's, deaf to the keys itself while it presses them.
TEST(Preview, NegativeTimeoutStaysUpUntilCtrlC) {
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) {
        GTEST_SKIP() << "this program would lose the console it writes to: run it with its "
                        "output to a pipe, as CTest does";
    }
    const std::string folder = makeTemporaryFolder("preview");
    writeTextFile(folder + "glimrarc", "GLIMRA.timeout -1\n");
    const PROCESS_INFORMATION preview = startPreview(folder, "", CREATE_NEW_CONSOLE);
    ASSERT_NE(shownDisplay(preview.hProcess), nullptr);
    EXPECT_EQ(WaitForSingleObject(preview.hProcess, 1000), WAIT_TIMEOUT) << "stays up";

    FreeConsole();
    EXPECT_TRUE(AttachConsole(preview.dwProcessId));
    SetConsoleCtrlHandler(nullptr, TRUE);
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    EXPECT_EQ(WaitForSingleObject(preview.hProcess, 1000), WAIT_OBJECT_0) << "Ctrl+C ignored";
    FreeConsole();
    SetConsoleCtrlHandler(nullptr, FALSE);
    EXPECT_EQ(exitCodeOf(preview.hProcess), 1u) << "its own end: the negative timeout's warning";
    EXPECT_EQ(FindWindowA("osd_window", nullptr), nullptr) << "a display left behind";
    removeFolder(folder);
}

} // namespace
