// How a line of the settings file is matched to a key and how its value reads.
#include "display/display_geometry.h"
#include "settings/settings.h"

#include <array>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>

namespace {

OsdSettings afterLines(std::initializer_list<const char*> lines) {
    OsdSettings settings = DEFAULT_SETTINGS;
    for (const char* line : lines) {
        applySettingsLine(line, settings);
    }
    return settings;
}

TEST(SettingsKeys, LetterCaseOfTheKeyDoesNotMatter) {
    EXPECT_EQ(afterLines({"glimra.TIMEOUT 5000"}).timeout, 5000);
    EXPECT_EQ(afterLines({"Glimra.FontHeight 90"}).fontHeight, 90);
    EXPECT_EQ(afterLines({"GLIMRA.CLROSD 0000ff"}).clrOSD, 0xFFu);
    EXPECT_EQ(afterLines({"glimra.clroutline 123"}).clrOutline, 0x123u);
}

TEST(SettingsKeys, KeyMustBeFollowedByOneBlank) {
    const OsdSettings defaults = DEFAULT_SETTINGS;
    EXPECT_EQ(afterLines({"GLIMRA.timeout: 5000"}).timeout, defaults.timeout);
    EXPECT_EQ(afterLines({"GLIMRA.timeout\t5000"}).timeout, defaults.timeout);
    EXPECT_EQ(afterLines({"GLIMRA.timeout"}).timeout, defaults.timeout);
    EXPECT_EQ(afterLines({"GLIMRA.clrOSD"}).clrOSD, defaults.clrOSD);
    EXPECT_EQ(afterLines({"GLIMRA.fontHeight=100"}).fontHeight, defaults.fontHeight);
}

TEST(SettingsKeys, KeyMustStartTheLine) {
    const OsdSettings defaults = DEFAULT_SETTINGS;
    EXPECT_EQ(afterLines({" GLIMRA.timeout 5000"}).timeout, defaults.timeout);
    EXPECT_EQ(afterLines({"\tGLIMRA.clrOSD 0000FF"}).clrOSD, defaults.clrOSD);
    EXPECT_EQ(afterLines({"# GLIMRA.fontHeight 100"}).fontHeight, defaults.fontHeight);
    EXPECT_EQ(afterLines({"GLIMRA.timeoutX 5000"}).timeout, defaults.timeout);
}

TEST(SettingsKeys, ReportsWhichKeyALineSet) {
    OsdSettings settings = DEFAULT_SETTINGS;
    EXPECT_EQ(applySettingsLine("GLIMRA.timeout 1", settings), SettingKey::Timeout);
    EXPECT_EQ(applySettingsLine("GLIMRA.fontHeight 1", settings), SettingKey::FontHeight);
    EXPECT_EQ(applySettingsLine("GLIMRA.clrOSD 1", settings), SettingKey::ClrOSD);
    EXPECT_EQ(applySettingsLine("GLIMRA.clrOutline 1", settings), SettingKey::ClrOutline);
    EXPECT_EQ(applySettingsLine("GLIMRA.position top", settings), SettingKey::Position);
    EXPECT_EQ(applySettingsLine("GLIMRA.other 1", settings), SettingKey::None);
    EXPECT_EQ(applySettingsLine("", settings), SettingKey::None);
}

TEST(SettingsKeys, LastOfRepeatedKeysWins) {
    const OsdSettings settings = afterLines({"GLIMRA.timeout 1000", "GLIMRA.clrOSD 0000FF",
                                             "GLIMRA.timeout 2000", "GLIMRA.clrOSD FF0000"});
    EXPECT_EQ(settings.timeout, 2000);
    EXPECT_EQ(settings.clrOSD, 0xFF0000u);
}

TEST(SettingsPositionValues, NineWordsInAnyLetterCase) {
    const std::pair<const char*, DisplayPosition> words[] = {
        {"top-left", DisplayPosition::TopLeft},        {"Top", DisplayPosition::Top},
        {"TOP-RIGHT", DisplayPosition::TopRight},      {"lEfT", DisplayPosition::Left},
        {"Center", DisplayPosition::Center},           {"right", DisplayPosition::Right},
        {"Bottom-Left", DisplayPosition::BottomLeft},  {"BOTTOM", DisplayPosition::Bottom},
        {"bottom-RIGHT", DisplayPosition::BottomRight}};
    for (const auto& [word, position] : words) {
        EXPECT_EQ(afterLines({(std::string("GLIMRA.position ") + word).c_str()}).position, position)
            << word;
    }
    EXPECT_EQ(afterLines({"glimra.POSITION   center"}).position, DisplayPosition::Center);
    EXPECT_EQ(DEFAULT_SETTINGS.position, DisplayPosition::ScreenCorner);
}

// The word ends at a blank, a tab or the line's end, as a value does.
TEST(SettingsPositionValues, WordEndsAtABlankATabOrTheLinesEnd) {
    EXPECT_EQ(afterLines({"GLIMRA.position bottom-right # where I look"}).position,
              DisplayPosition::BottomRight);
    EXPECT_EQ(afterLines({"GLIMRA.position top\tleft"}).position, DisplayPosition::Top);
    EXPECT_EQ(afterLines({"GLIMRA.position bottom right"}).position, DisplayPosition::Bottom);
    EXPECT_EQ(afterLines({"GLIMRA.position left\r\n"}).position, DisplayPosition::Left);
}

TEST(SettingsPositionValues, UnknownWordsAndMalformedKeysLeaveTheScreensCorner) {
    for (const char* line :
         {"GLIMRA.position middle", "GLIMRA.position 0", "GLIMRA.position top-lefts",
          "GLIMRA.position to", "GLIMRA.position bottom_right", "GLIMRA.position centre",
          "GLIMRA.position ", "GLIMRA.position", "GLIMRA.position\tcenter",
          "GLIMRA.position: center", "GLIMRA.positioncenter", " GLIMRA.position center"}) {
        EXPECT_EQ(afterLines({line}).position, DisplayPosition::ScreenCorner) << line;
    }
    // A later line wins, even one that names no place.
    EXPECT_EQ(afterLines({"GLIMRA.position top", "GLIMRA.position middle"}).position,
              DisplayPosition::ScreenCorner);
    const OsdSettings others = afterLines({"GLIMRA.position center"});
    EXPECT_EQ(others.timeout, 3000);
    EXPECT_EQ(others.fontHeight, 75);
    EXPECT_EQ(others.clrOSD, 0xFFFFFFu);
    EXPECT_EQ(others.clrOutline, 0x010101u);
}

TEST(SettingsDecimalValues, ReadLikeAtoi) {
    EXPECT_EQ(afterLines({"GLIMRA.timeout 5000 ms"}).timeout, 5000);
    EXPECT_EQ(afterLines({"GLIMRA.timeout \t  250"}).timeout, 250);
    EXPECT_EQ(afterLines({"GLIMRA.timeout -40"}).timeout, -40);
    EXPECT_EQ(afterLines({"GLIMRA.timeout +40"}).timeout, 40);
    EXPECT_EQ(afterLines({"GLIMRA.timeout ms"}).timeout, 0);
    EXPECT_EQ(afterLines({"GLIMRA.timeout "}).timeout, 0);
    EXPECT_EQ(afterLines({"GLIMRA.fontHeight 100"}).fontHeight, 100);
    EXPECT_EQ(afterLines({"GLIMRA.fontHeight    100"}).fontHeight, 100);
    EXPECT_EQ(afterLines({"GLIMRA.fontHeight 0"}).fontHeight, 0);
    EXPECT_EQ(afterLines({"GLIMRA.fontHeight x50"}).fontHeight, 0);
}

TEST(SettingsColourValues, AreHexInPlatformByteOrder) {
    EXPECT_EQ(afterLines({"GLIMRA.clrOSD 0000FF"}).clrOSD, 0x0000FFu); // red
    EXPECT_EQ(afterLines({"GLIMRA.clrOSD FF0000"}).clrOSD, 0xFF0000u); // blue
    EXPECT_EQ(afterLines({"GLIMRA.clrOutline    ff00ff"}).clrOutline, 0xFF00FFu);
    EXPECT_EQ(afterLines({"GLIMRA.clrOutline 00ff00 green"}).clrOutline, 0x00FF00u);
}

TEST(SettingsColourValues, OnlyTheLastEightDigitsCount) {
    EXPECT_EQ(afterLines({"GLIMRA.clrOutline 123456789"}).clrOutline, 0x23456789u);
    EXPECT_EQ(afterLines({"GLIMRA.clrOutline FFFFFFFF"}).clrOutline, 0xFFFFFFFFu);
}

TEST(SettingsColourValues, PrefixesAndMissingDigitsGiveBlack) {
    EXPECT_EQ(afterLines({"GLIMRA.clrOutline #00FF00"}).clrOutline, 0u);
    EXPECT_EQ(afterLines({"GLIMRA.clrOutline 0x00FF00"}).clrOutline, 0u);
    EXPECT_EQ(afterLines({"GLIMRA.clrOSD white"}).clrOSD, 0u);
    EXPECT_EQ(afterLines({"GLIMRA.clrOSD "}).clrOSD, 0u);
}

TEST(SettingsHelpers, FontPixelHeightIsAShareOfAnInchRoundedDown) {
    EXPECT_EQ(fontPixelHeight(96, 75), 72);
    EXPECT_EQ(fontPixelHeight(96, 100), 96);
    EXPECT_EQ(fontPixelHeight(120, 75), 90);
    EXPECT_EQ(fontPixelHeight(96, 1), 0);
    EXPECT_EQ(fontPixelHeight(96, 0), 0);
    // The product wraps as an unsigned number: -1 gives (2^32 - 96) / 100.
    EXPECT_EQ(fontPixelHeight(96, -1), 42949672);
    EXPECT_EQ(fontPixelHeight(96, -5), 42949668);
}

// The display a host at the second density would get, stretched by the system
// to the first, drawn at the first: font, width, height, text origin.
TEST(SettingsHelpers, DisplayGeometryIsTheStretchedDisplayAtTheScreensDensity) {
    const auto expectGeometry = [](DisplayGeometry geometry, int font, int width, int height,
                                   int margin) {
        EXPECT_EQ(geometry.fontPixels, font);
        EXPECT_EQ(geometry.width, width);
        EXPECT_EQ(geometry.height, height);
        EXPECT_EQ(geometry.textMargin, margin);
    };
    expectGeometry(displayGeometry(96, 96, 75), 72, 800, 102, 10);
    expectGeometry(displayGeometry(144, 144, 75), 108, 800, 138, 10); // a DPI-aware host
    expectGeometry(displayGeometry(120, 96, 75), 90, 1000, 128, 13);  // 127.5 and 12.5 round up
    expectGeometry(displayGeometry(144, 96, 75), 108, 1200, 153, 15);
    expectGeometry(displayGeometry(192, 96, 75), 144, 1600, 204, 20);
    expectGeometry(displayGeometry(168, 96, 0), 0, 1400, 53, 18); // 30 * 1.75 = 52.5
    expectGeometry(displayGeometry(144, 96, -1), 42949671, 1200, 64424553, 15);
    expectGeometry(displayGeometry(120, 0, 75), 0, 800, 30, 10); // no density to scale from
}

using Corners = std::array<int, 4>; // left, top, right, bottom

// The window that a display of geometry's size has at its origin for position.
Corners windowAt(const DisplayGeometry& geometry, DisplayPosition position,
                 const ScreenRect& workArea) {
    const ScreenPoint origin = displayOrigin(geometry, position, workArea);
    return {origin.x, origin.y, origin.x + geometry.width, origin.y + geometry.height};
}

// The window for each place of a 1920 x 1080 screen less its taskbar, and the
// side its text is aligned to; without the key, the screen's own 0,0.
TEST(DisplayPlaces, WindowStandsOnTheWorkAreasEdgesAndAlignsItsTextThere) {
    struct Expected {
        DisplayPosition position;
        Corners taskbarBelow; // work area 0,0 to 1920,1040
        Corners taskbarAbove; // work area 0,40 to 1920,1080
        TextAlignment alignment;
    };
    const Expected places[] = {
        {DisplayPosition::ScreenCorner, {0, 0, 800, 102}, {0, 0, 800, 102}, TextAlignment::Left},
        {DisplayPosition::TopLeft, {0, 0, 800, 102}, {0, 40, 800, 142}, TextAlignment::Left},
        {DisplayPosition::Top, {560, 0, 1360, 102}, {560, 40, 1360, 142}, TextAlignment::Center},
        {DisplayPosition::TopRight,
         {1120, 0, 1920, 102},
         {1120, 40, 1920, 142},
         TextAlignment::Right},
        {DisplayPosition::Left, {0, 469, 800, 571}, {0, 509, 800, 611}, TextAlignment::Left},
        {DisplayPosition::Center,
         {560, 469, 1360, 571},
         {560, 509, 1360, 611},
         TextAlignment::Center},
        {DisplayPosition::Right,
         {1120, 469, 1920, 571},
         {1120, 509, 1920, 611},
         TextAlignment::Right},
        {DisplayPosition::BottomLeft,
         {0, 938, 800, 1040},
         {0, 978, 800, 1080},
         TextAlignment::Left},
        {DisplayPosition::Bottom,
         {560, 938, 1360, 1040},
         {560, 978, 1360, 1080},
         TextAlignment::Center},
        {DisplayPosition::BottomRight,
         {1120, 938, 1920, 1040},
         {1120, 978, 1920, 1080},
         TextAlignment::Right}};
    const DisplayGeometry at96 = displayGeometry(96, 96, 75);
    for (const Expected& place : places) {
        const char* name = displayPositionName(place.position);
        EXPECT_EQ(windowAt(at96, place.position, {0, 0, 1920, 1040}), place.taskbarBelow)
            << name << ", taskbar below";
        EXPECT_EQ(windowAt(at96, place.position, {0, 40, 1920, 1080}), place.taskbarAbove)
            << name << ", taskbar above";
        EXPECT_EQ(textAlignment(place.position), place.alignment) << name;
    }
}

// The stretched display of a host that sees 96 on a 144 dpi screen (2880 x
// 1620, taskbar of 60 below), in the screen's own pixels; and one wider than
// its work area, which keeps its size and reaches past the far edge.
TEST(DisplayPlaces, ScaledAndOversizedDisplaysKeepTheirSize) {
    const DisplayGeometry at144 = displayGeometry(144, 96, 75); // 1200 x 153
    const ScreenRect workArea = {0, 0, 2880, 1560};
    EXPECT_EQ(windowAt(at144, DisplayPosition::ScreenCorner, workArea), (Corners{0, 0, 1200, 153}));
    EXPECT_EQ(windowAt(at144, DisplayPosition::BottomRight, workArea),
              (Corners{1680, 1407, 2880, 1560}));
    EXPECT_EQ(windowAt(at144, DisplayPosition::Center, workArea), (Corners{840, 703, 2040, 856}));
    EXPECT_EQ(windowAt(at144, DisplayPosition::Top, workArea), (Corners{840, 0, 2040, 153}));
    EXPECT_EQ(windowAt(at144, DisplayPosition::Left, {62, 0, 2880, 1620}),
              (Corners{62, 733, 1262, 886}));
    EXPECT_EQ(windowAt(at144, DisplayPosition::BottomRight, {0, 0, 1024, 708}),
              (Corners{-176, 555, 1024, 708}));
    EXPECT_EQ(windowAt(at144, DisplayPosition::BottomLeft, {0, 0, 1024, 708}),
              (Corners{0, 555, 1200, 708}));
}

TEST(SettingsHelpers, SkipBlanksPassesOnlySpacesAndTabs) {
    const char* text = " \t \tx";
    EXPECT_EQ(skipBlanks(text), text + 4);
    const char* newline = "\n x";
    EXPECT_EQ(skipBlanks(newline), newline);
    const char* empty = "";
    EXPECT_EQ(skipBlanks(empty), empty);
}

TEST(SettingsHelpers, ParseHexColorStopsAtTheFirstNonDigit) {
    EXPECT_EQ(parseHexColor("aBcDeF"), 0xABCDEFu);
    EXPECT_EQ(parseHexColor("09g9"), 0x09u);
    EXPECT_EQ(parseHexColor(""), 0u);
    EXPECT_EQ(parseHexColor("G"), 0u);
}

} // namespace
