// How texts from the host are laid out: ampersand prefixes, line breaks,
// clipping at the window's edges, over-long texts and a missing text.
#include "host/screen_capture.h"
#include "plugin/host_api.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Width of text in the display's own font, without any prefix processing.
int plainTextWidth(const char* text, int pixelHeight) {
    HDC screen = GetDC(nullptr);
    HFONT font = createDisplayFont(pixelHeight);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {};
    GetTextExtentPoint32A(screen, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

class TextHandling : public ::testing::Test {
  protected:
    explicit TextHandling(const std::string& settings = "") : session(settings) {}
    void SetUp() override { ASSERT_EQ(session.begin(), 0); }
    ScreenImage show(const char* text) { return showAndCapture(session.osdWindow(), text); }
    ScreenImage show(const std::string& text) { return show(text.c_str()); }

    Backdrop backdrop;
    PluginSession session;
};

TEST_F(TextHandling, AmpersandUnderlinesTheNextLetterAndTwoDrawOne) {
    const ScreenImage plain = show("RD");
    const ScreenImage underlined = show("R&D");
    const ScreenImage ampersand = show("R&&D");
    const RECT plainBounds = boundsOfColour(plain, WHITE);
    const RECT underlinedBounds = boundsOfColour(underlined, WHITE);
    const RECT ampersandBounds = boundsOfColour(ampersand, WHITE);

    for (size_t i = 0; i < plain.pixels.size(); ++i) {
        if (plain.pixels[i] == WHITE) {
            ASSERT_EQ(underlined.pixels[i], WHITE) << "R&D draws the letters of RD";
        }
    }
    EXPECT_GT(underlinedBounds.bottom, plainBounds.bottom) << "an underline below the letters";
    const int ampersandWidth = plainTextWidth("R&D", 72) - plainTextWidth("RD", 72);
    ASSERT_GT(ampersandWidth, 10);
    // The underline may run a pixel or two past the D, but no ampersand is drawn.
    EXPECT_LE(underlinedBounds.right, plainBounds.right + 3);
    EXPECT_NEAR(ampersandBounds.right - plainBounds.right, ampersandWidth, 1);
    EXPECT_LE(ampersandBounds.bottom, plainBounds.bottom + 1) << "no underline";
}

TEST_F(TextHandling, LineBreakStartsASecondLineClippedByTheWindow) {
    const RECT oneLine = boundsOfColour(show("A"), WHITE);
    const ScreenImage twoLines = show("A\nB");
    const RECT both = boundsOfColour(twoLines, WHITE);
    EXPECT_LE(oneLine.bottom, 10 + 72);
    EXPECT_GT(both.bottom, oneLine.bottom + 5) << "B is drawn below A";
    EXPECT_LE(both.bottom, 102) << "and cut at the window's bottom edge";
    EXPECT_EQ(firstForeignPixel(twoLines, {BACKDROP_COLOUR, WHITE, NEAR_BLACK}), "");
}

// Words with blanks between them, which wrapping would move to a second line.
TEST_F(TextHandling, TooWideTextIsCutAtTheRightEdgeNotWrapped) {
    const char* const words = "WWW WWW WWW WWW WWW WWW WWW WWW WWW WWW";
    const ScreenImage image = show(words);
    const RECT drawn = boundsOfColour(image, WHITE);
    EXPECT_GE(drawn.right, 790) << "letters run up to the edge";
    EXPECT_LE(drawn.right, 800);
    EXPECT_LE(boundsOfColour(image, NEAR_BLACK).right, 800);
    EXPECT_LE(drawn.bottom, 10 + 72) << "no second line";
    EXPECT_EQ(firstDifference(image, expectedDisplay(words, 72)), "");
}

TEST_F(TextHandling, NullTextLeavesTheDisplayAsItIs) {
    const ScreenImage before = show("Kept");
    EXPECT_EQ(SendMessageA(session.osdWindow(), HOST_MSG_TEXT, 0, 0), 0);
    const ScreenImage after = settleAndCapture(session.osdWindow());
    EXPECT_TRUE(IsWindowVisible(session.osdWindow()));
    EXPECT_EQ(firstDifference(after, before), "");
}

// With a small font, 127 narrow letters fit in the window, so a cut shows.
class LongText : public TextHandling {
  protected:
    LongText() : TextHandling("GLIMRA.fontHeight 10\n") {}
};

TEST_F(LongText, TextOf128BytesOrMoreIsCutTo127) {
    const ScreenImage cut = show(std::string(127, 'i'));
    const ScreenImage shorter = show(std::string(126, 'i'));
    ASSERT_LT(boundsOfColour(cut, WHITE).right, 800) << "the test needs the text to fit";
    ASSERT_NE(firstDifference(cut, shorter), "");
    for (const size_t length : {128, 200, 4096}) {
        EXPECT_EQ(firstDifference(show(std::string(length, 'i')), cut), "") << length;
    }
}

} // namespace
