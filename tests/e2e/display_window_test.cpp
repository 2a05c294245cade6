// The display window as the system sees it: class, styles, place and size,
// colour key, registration with the host, and sizes from real settings files.
#include "host/host.h"
#include "host/host_functions.h"
#include "message_boxes.h"
#include "plugin/host_api.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

int screenDotsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dotsPerInch;
}

RECT windowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

LONG windowHeightWithSettings(const std::string& settings) {
    PluginSession session(settings);
    EXPECT_EQ(session.begin(), 0);
    const RECT rect = windowRect(session.osdWindow());
    return rect.bottom - rect.top;
}

TEST(DisplayWindow, IsATopmostClickThroughSeeThroughPopupAtTopLeft) {
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    ASSERT_TRUE(IsWindow(osd));

    char className[32] = {};
    GetClassNameA(osd, className, sizeof className);
    EXPECT_STREQ(className, "osd_window");
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    const auto style = static_cast<DWORD>(GetWindowLongA(osd, GWL_STYLE)) & ~WS_CLIPSIBLINGS;
    EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_DISABLED));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(osd, GWL_EXSTYLE)), 0x800A8u);
    char title[16] = "unchanged";
    GetWindowTextA(osd, title, sizeof title);
    EXPECT_STREQ(title, "Glimra") << "its own text is the text it shows, here the start-up name";

    ASSERT_EQ(screenDotsPerInch(), 96);
    const RECT rect = windowRect(osd);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, 800);
    EXPECT_EQ(rect.bottom - rect.top, 102) << "72-pixel font plus 30";

    COLORREF key = 0xFFFFFFFF;
    BYTE alpha = 1;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(osd, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(0, 0, 0));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));

    // A top-level window of its own: the desktop's child, owned by nobody.
    EXPECT_EQ(GetAncestor(osd, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindow(osd, GW_OWNER), nullptr);

    // Its class: redrawn whole on every resize, the arrow cursor, and a black
    // background that the colour key makes see-through.
    EXPECT_EQ(GetClassLongPtrA(osd, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(GetClassLongPtrA(osd, GCLP_HCURSOR),
              reinterpret_cast<ULONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
    EXPECT_EQ(GetClassLongPtrA(osd, GCLP_HBRBACKGROUND),
              reinterpret_cast<ULONG_PTR>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetClassLongPtrA(osd, GCLP_HICON), 0u);
    EXPECT_EQ(GetClassLongPtrA(osd, GCL_CBCLSEXTRA), 0u);
    EXPECT_EQ(GetClassLongPtrA(osd, GCL_CBWNDEXTRA), 0u);
}

TEST(DisplayWindow, RegistersWithTheHostForTextsOnly) {
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    const auto& registrations = hostRegistrations();
    ASSERT_EQ(registrations.size(), 1u) << "the list is 10304 then 0";
    EXPECT_EQ(registrations[0].window, FindWindowA("osd_window", nullptr));
    EXPECT_EQ(registrations[0].message, 10304u);
}

// The letters' cell height and the window's height both follow fontHeight; a
// font of height 0 is the system's default size.
TEST(DisplaySettingsFiles, FontHeightSetsTheLettersAndTheWindowHeight) {
    for (const auto& [settings, fontPixels] :
         {std::pair<const char*, int>{"GLIMRA.fontHeight 100\r\n", 96},
          {"GLIMRA.fontHeight 0\n", 0}}) {
        const Backdrop backdrop;
        PluginSession session(settings);
        ASSERT_EQ(session.begin(), 0);
        const RECT rect = windowRect(session.osdWindow());
        EXPECT_EQ(rect.bottom - rect.top, fontPixels + 30) << settings;
        EXPECT_EQ(firstDifference(showAndCapture(session.osdWindow(), "Hg"),
                                  expectedDisplay("Hg", fontPixels)),
                  "")
            << settings;
    }
    EXPECT_EQ(windowHeightWithSettings("glimra.FONTHEIGHT 50\n"), 48 + 30);
    EXPECT_EQ(windowHeightWithSettings("GLIMRA.fontHeight: 100\n"), 102) << "ignored line";
}

// The host's yes is one byte, and any non-zero one counts, on either architecture.
TEST(DisplaySettingsFiles, HostAnsweringYesWithAnyByteIsHeard) {
    for (const HostTruth yes : {HostTruth{2}, HostTruth{0x80}}) {
        hostAnswers.yes = yes;
        EXPECT_EQ(windowHeightWithSettings("GLIMRA.fontHeight 0\nGLIMRA.fontHeight 100\n"), 96 + 30)
            << "yes is " << int{yes};
    }
}

// The host cuts a line longer than the plug-in's buffer and drops its rest, so
// the next line is read whole.
TEST(DisplaySettingsFiles, LineLongerThanTheBufferDoesNotSpillIntoTheNext) {
    const std::string longLine =
        "GLIMRA.fontHeight 50" + std::string(5000, ' ') + "GLIMRA.timeout 1";
    EXPECT_EQ(windowHeightWithSettings(longLine + "\nGLIMRA.fontHeight 100\n"), 96 + 30);
    EXPECT_EQ(windowHeightWithSettings("GLIMRA.fontHeight 100\n" + longLine + "\n"), 48 + 30);
}

// A negative fontHeight makes the unsigned product wrap: -1 asks for a font
// 42,949,672 pixels tall and a window 30 pixels taller. Whatever the system
// then makes of it, the host must survive and the plug-in must say so.
TEST(DisplaySettingsFiles, NegativeFontHeightDoesNotCrashTheHost) {
    const BoxAnswerer answerer;
    PluginSession session("GLIMRA.fontHeight -1\n");
    const int result = session.begin();
    if (result == 0) {
        EXPECT_TRUE(answerer.boxes().empty());
        EXPECT_TRUE(IsWindow(session.osdWindow()));
        showAndCapture(session.osdWindow(), "huge");
    } else {
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes()[0].text, "failed to load!");
    }
    const RECT rect = windowRect(session.osdWindow());
    std::printf("fontHeight -1: beginPlugin %d, window %ld x %ld\n", result, rect.right - rect.left,
                rect.bottom - rect.top);
}

TEST(DisplaySettingsFiles, FileBesideThePluginBeatsTheHosts) {
    const std::string hostDirectory = makeTemporaryFolder("host");
    writeTextFile(hostDirectory + "glimrarc", "GLIMRA.fontHeight 50\n");
    {
        PluginSession session("GLIMRA.fontHeight 100\n");
        hostAnswers.hostPath = hostDirectory + "tarvex.exe";
        ASSERT_EQ(session.begin(), 0);
        const RECT rect = windowRect(session.osdWindow());
        EXPECT_EQ(rect.bottom - rect.top, 96 + 30);
    }
    {
        PluginSession session;
        hostAnswers.hostPath = hostDirectory + "tarvex.exe";
        ASSERT_EQ(session.begin(), 0);
        const RECT rect = windowRect(session.osdWindow());
        EXPECT_EQ(rect.bottom - rect.top, 48 + 30) << "the host's file when the plug-in has none";
    }
    removeFolder(hostDirectory);
}

} // namespace
