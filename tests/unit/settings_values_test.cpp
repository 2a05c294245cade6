// How a line of the settings file is matched to a key and how its value reads.
#include "display/display_geometry.h"
#include "settings/settings.h"

#include <gtest/gtest.h>
#include <initializer_list>

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
    EXPECT_EQ(applySettingsLine("GLIMRA.other 1", settings), SettingKey::None);
    EXPECT_EQ(applySettingsLine("", settings), SettingKey::None);
}

TEST(SettingsKeys, LastOfRepeatedKeysWins) {
    const OsdSettings settings = afterLines({"GLIMRA.timeout 1000", "GLIMRA.clrOSD 0000FF",
                                             "GLIMRA.timeout 2000", "GLIMRA.clrOSD FF0000"});
    EXPECT_EQ(settings.timeout, 2000);
    EXPECT_EQ(settings.clrOSD, 0xFF0000u);
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
