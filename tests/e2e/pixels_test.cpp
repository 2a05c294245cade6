// What the display draws, read back from the screen over a backdrop of a
// known colour: letters, a one-pixel diagonal outline, and nothing else.
#include "host/host.h"
#include "host/screen_capture.h"
#include "message_boxes.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"
#include "timing_checks.h"
#include "wine_faults.h"

#include <cstddef>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr POINT DIAGONALS[] = {{-1, -1}, {1, 1}, {-1, 1}, {1, -1}};

ScreenImage drawnWithSettings(const std::string& settings, const char* text) {
    const Backdrop backdrop;
    PluginSession session(settings);
    EXPECT_EQ(session.begin(), 0);
    return showAndCapture(session.osdWindow(), text);
}

// Every outline pixel touches a letter pixel on a diagonal, and no letter
// pixel touches the backdrop on one: the ring is one pixel wide and closed.
void expectDiagonalRing(const ScreenImage& image, COLORREF letter, COLORREF outline) {
    int outlinePixels = 0;
    for (int y = 1; y + 1 < image.height; ++y) {
        for (int x = 1; x + 1 < image.width; ++x) {
            const COLORREF pixel = image.at(x, y);
            if (pixel == outline) {
                ++outlinePixels;
                bool touchesLetter = false;
                for (const POINT d : DIAGONALS) {
                    touchesLetter = touchesLetter || image.at(x + d.x, y + d.y) == letter;
                }
                ASSERT_TRUE(touchesLetter) << "stray outline pixel at " << x << "," << y;
            } else if (pixel == letter) {
                for (const POINT d : DIAGONALS) {
                    ASSERT_NE(image.at(x + d.x, y + d.y), BACKDROP_COLOUR)
                        << "letter pixel " << x << "," << y << " has no ring";
                }
            }
        }
    }
    EXPECT_GT(outlinePixels, 100);
}

// The start-up name, exactly as drawn here with the same font: letters from
// (10, 10), in a closed one-pixel ring on the diagonals, nothing else.
TEST(DisplayPixels, DefaultsDrawWhiteLettersInANearBlackRing) {
    const Backdrop backdrop;
    PluginSession session;
    ASSERT_EQ(session.begin(), 0);
    const ScreenImage image = settleAndCapture(session.osdWindow());
    EXPECT_EQ(firstDifference(image, expectedDisplay("Glimra", 72)), "");
    EXPECT_GT(countColour(image, WHITE), 300);
    expectDiagonalRing(image, WHITE, NEAR_BLACK);
}

TEST(DisplayPixels, ColoursComeFromTheSettingsFileInPlatformByteOrder) {
    const ScreenImage red = drawnWithSettings("GLIMRA.clrOSD 0000FF\n", "Glimra");
    EXPECT_EQ(firstDifference(red, expectedDisplay("Glimra", 72, RED)), "");
    EXPECT_GT(countColour(red, RED), 300);

    const ScreenImage blue =
        drawnWithSettings("GLIMRA.clrOSD FF0000\nGLIMRA.clrOutline    ffffff\n", "Glimra");
    EXPECT_EQ(firstDifference(blue, expectedDisplay("Glimra", 72, BLUE, WHITE)), "");
    expectDiagonalRing(blue, BLUE, WHITE);
}

TEST(DisplayPixels, BlackOutlineIsSeeThrough) {
    const ScreenImage image = drawnWithSettings("GLIMRA.clrOutline 000000\n", "Glimra");
    EXPECT_EQ(firstDifference(image, expectedDisplay("Glimra", 72, WHITE, RGB(0, 0, 0))), "");
    EXPECT_GT(countColour(image, WHITE), 300);
}

TEST(DisplayPixels, BlackLettersAreHolesInsideTheirRing) {
    const ScreenImage normal = drawnWithSettings("", "Glimra");
    const ScreenImage holes = drawnWithSettings("GLIMRA.clrOSD 000000\n", "Glimra");
    ASSERT_GT(countColour(normal, WHITE), 300);
    for (size_t i = 0; i < normal.pixels.size(); ++i) {
        const COLORREF expected = normal.pixels[i] == WHITE ? BACKDROP_COLOUR : normal.pixels[i];
        ASSERT_EQ(holes.pixels[i], expected) << "pixel " << i % SHOT_WIDTH << "," << i / SHOT_WIDTH;
    }
}

// image with every pixel that is not the backdrop made black: what Wine 10
// leaves of a colour-keyed window's last text when the window is hidden and
// shown again with nothing to draw. Shown, the window gets a new surface with
// a blank shape; a first frame that is all colour key leaves that shape
// unchanged, so the X window keeps the shape it had before the hide, filled
// now with the erased black background.
ScreenImage inBlack(ScreenImage image) {
    for (COLORREF& pixel : image.pixels) {
        pixel = pixel == BACKDROP_COLOUR ? pixel : RGB(0, 0, 0);
    }
    return image;
}

// The display is hidden first, so that only the empty text can show it again.
// A bare window with no plug-in in it goes through the same steps first. From
// Wine 9 on, the display may show Wine's fault, and nothing more, only while
// the bare window shows it in this very run: a Wine without the fault fails
// the test, so the mark cannot outlive the fault.
TEST(DisplayPixels, EmptyTextShowsTheWindowDrawsNothingAndHidesOnTime) {
    const Backdrop backdrop;
    const ScreenImage bare = bareWindowShownEmptyAfter("Glimra", 72);
    const ScreenImage blackLetters = inBlack(expectedDisplay("Glimra", 72));
    const std::string bareDrew = firstForeignPixel(bare, {BACKDROP_COLOUR});
    const bool bareShowsWineFault = firstDifference(bare, blackLetters).empty();
    std::string bareShows = bareDrew.empty() ? "it draws nothing" : bareDrew;
    if (bareShowsWineFault) {
        bareShows = "\"Glimra\" in black letters";
    }
    std::printf("bare window shown again with nothing to draw: %s; %d pixels 0x000000\n",
                bareShows.c_str(), countColour(bare, RGB(0, 0, 0)));
    bool wineFaultProven = false;
    if (wineMajorVersion() >= 9) {
        wineFaultProven = bareShowsWineFault;
        EXPECT_TRUE(wineFaultProven)
            << "Wine " << wineVersion() << ": the bare window does not show \"Glimra\" in black "
            << "letters (" << bareShows
            << "); if this Wine no longer has the fault, the mark for Wine 9 and later must go";
    } else {
        EXPECT_EQ(bareDrew, "") << "the bare window, with no plug-in in it, draws something";
    }

    PluginSession session("GLIMRA.timeout 800\n");
    ASSERT_EQ(session.begin(), 0);
    HWND osd = session.osdWindow();
    showAndCapture(osd, "Glimra");
    SendMessageA(osd, WM_TIMER, 1, 0);
    ASSERT_FALSE(IsWindowVisible(osd));

    const double start = nowMilliseconds();
    sendHostText("");
    EXPECT_TRUE(IsWindowVisible(osd));
    const ScreenImage shown = settleAndCapture(osd);
    if (wineFaultProven) {
        std::printf("Wine %s's own fault, not the display's: the bare window above, with no "
                    "plug-in in it, shows the text drawn before its hide in black letters too; "
                    "the display must show exactly what it shows\n",
                    wineVersion().c_str());
        EXPECT_EQ(firstDifference(shown, bare), "");
    } else {
        EXPECT_EQ(firstForeignPixel(shown, {BACKDROP_COLOUR}), "");
    }
    expectHiddenAfter(osd, start, 800);
}

// The screen's dots per inch as this host thread sees it; read as the screen
// is, as it really is.
int hostDotsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dotsPerInch;
}

DPI_AWARENESS hostThreadAwareness() {
    return GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext());
}

// The letters' extent in the display as the system would stretch it from 96
// dots per inch: the 96 dpi drawing's, scaled.
RECT stretchedLetters(const char* text, int dotsPerInch) {
    const RECT at96 = boundsOfColour(expectedDisplay(text, 72), WHITE);
    return {MulDiv(at96.left, dotsPerInch, 96), MulDiv(at96.top, dotsPerInch, 96),
            MulDiv(at96.right, dotsPerInch, 96), MulDiv(at96.bottom, dotsPerInch, 96)};
}

// On a screen of dotsPerInch, a host that is not DPI-aware is shown 96 from
// Wine 9 on, as on Windows 10, and the system stretches its windows, which
// would smooth the letters: the display is drawn at the screen's own density
// instead, at the stretched display's size and place, and the host's thread
// keeps its awareness. Wine 8 shows every host the screen as it is, and there
// the display is drawn as at 96 dots per inch, only with a larger font. The
// place is the screen's corner, or that of the position line, read in the
// screen area of the shot's size.
void expectCrispOnScaledScreen(int dotsPerInch, const DisplayPlacement& stretched,
                               const DisplayPlacement& unstretched,
                               const std::string& positionLine = "", SIZE shot = SHOT_SIZE) {
    const bool stretches = wineMajorVersion() == 0 || wineMajorVersion() >= 9;
    const DPI_AWARENESS awareness = hostThreadAwareness();
    std::printf("host thread's DPI awareness %d\n", static_cast<int>(awareness));
    ASSERT_EQ(hostDotsPerInch(), stretches ? 96 : dotsPerInch);
    ASSERT_EQ(readAsTheScreenIs(hostDotsPerInch), dotsPerInch);
    const DisplayPlacement& placement = stretches ? stretched : unstretched;
    constexpr COLORREF YELLOW = RGB(255, 255, 0);

    const Backdrop backdrop({shot.cx + 100, shot.cy + 100});
    PluginSession session("GLIMRA.clrOSD 00FFFF\nGLIMRA.clrOutline 0000FF\n" + positionLine);
    ASSERT_EQ(session.begin(), 0);
    EXPECT_EQ(hostThreadAwareness(), awareness)
        << "beginPlugin changed the host thread's awareness";
    EXPECT_EQ(hostDotsPerInch(), stretches ? 96 : dotsPerInch);

    const auto windowOnScreen = [&session] {
        return readAsTheScreenIs([&session] {
            RECT window = {};
            GetWindowRect(session.osdWindow(), &window);
            return window;
        });
    };
    const RECT rect = windowOnScreen();
    EXPECT_EQ(rect.left, placement.origin.x);
    EXPECT_EQ(rect.top, placement.origin.y);
    EXPECT_EQ(rect.right - rect.left, placement.width);
    EXPECT_EQ(rect.bottom - rect.top, placement.height);

    const ScreenImage image = showAndCapture(session.osdWindow(), "Glimra", shot);
    EXPECT_EQ(firstForeignPixel(image, {BACKDROP_COLOUR, YELLOW, RED}), "");
    EXPECT_EQ(firstDifference(image, expectedDisplay("Glimra", placement, YELLOW, RED, shot)), "");
    if (placement.alignment == DT_RIGHT) {
        // Apart from the drawing above: the letters end the margin from the right edge.
        EXPECT_NEAR(boundsOfColour(image, YELLOW).right, rect.right - placement.textMargin, 3);
    }
    if (stretches && placement.origin.x == 0 && placement.origin.y == 0) {
        const RECT letters = boundsOfColour(image, YELLOW);
        const RECT wanted = stretchedLetters("Glimra", dotsPerInch);
        EXPECT_NEAR(letters.left, wanted.left, 2);
        EXPECT_NEAR(letters.top, wanted.top, 2);
        EXPECT_NEAR(letters.bottom, wanted.bottom, 2);
        // Each letter's advance is rounded to whole pixels at its own size, 72
        // pixels stretched or 90 drawn: the six of "Glimra" may drift a pixel each.
        EXPECT_NEAR(letters.right, wanted.right, 6);
    }

    // Raised above another topmost window by the next text, it keeps its
    // place, size and density.
    HWND cover = createBackdrop(GetModuleHandleA(nullptr), BACKDROP_COLOUR, shot.cx, shot.cy);
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const ScreenImage raised = showAndCapture(session.osdWindow(), "Glimra", shot);
    EXPECT_EQ(firstDifference(raised, expectedDisplay("Glimra", placement, YELLOW, RED, shot)), "")
        << "raised above a topmost window";
    const RECT raisedRect = windowOnScreen();
    EXPECT_TRUE(EqualRect(&raisedRect, &rect)) << "raised above a topmost window";
    DestroyWindow(cover);
}

// 125 %: the stretched display is 1000 by 127.5 pixels, its text from 12.5.
TEST(DisplayPixelsAt120Dpi, DrawnAtTheScreensOwnDensityWithTwoColours) {
    expectCrispOnScaledScreen(120, {90, 13, 1000, 128}, {90, 10, 800, 120});
}

// 150 %: wider than this 1024-pixel screen, as the stretched display is too.
TEST(DisplayPixelsAt144Dpi, DrawnAtTheScreensOwnDensityWithTwoColours) {
    expectCrispOnScaledScreen(144, {108, 15, 1200, 153}, {108, 10, 800, 138});
}

// At bottom-right of a work area less a taskbar of 60 pixels (40 at 96 dots
// per inch), read in the screen's own pixels as the display is made: its
// right and bottom edges on the work area's, its text 15 pixels (10 at 96)
// from the screen's right edge. Stretched, it is 1200 pixels wide, wider than
// this screen, and reaches past its left edge, as the stretched display would.
TEST(DisplayPixelsAt144Dpi, BottomRightStandsOnTheWorkAreasCornerInTheScreensOwnPixels) {
    const TaskbarBand taskbar(TaskbarBand::Bottom, 60);
    ASSERT_TRUE(taskbar.holds());
    expectCrispOnScaledScreen(144, {108, 15, 1200, 153, {-176, 555}, DT_RIGHT},
                              {108, 10, 800, 138, {224, 570}, DT_RIGHT},
                              "GLIMRA.position bottom-right\n", WHOLE_SCREEN);
}

// A creation that fails half-way, its class already taken, still gives the
// host's thread its own awareness back.
TEST(DisplayPixelsAt144Dpi, FailedCreationLeavesTheHostThreadsAwareness) {
    const BoxAnswerer answerer;
    PluginSession session;
    ASSERT_TRUE(takeDisplayClass(session.plugin.module));
    const DPI_AWARENESS awareness = hostThreadAwareness();

    EXPECT_EQ(session.begin(), 1);
    EXPECT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(hostThreadAwareness(), awareness) << "a failed start changed the host's awareness";
    UnregisterClassA("osd_window", session.plugin.module);
}

} // namespace
