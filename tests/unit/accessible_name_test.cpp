// What a screen reader hears of a text: the letters the display draws, the
// ampersands that only underline left out.
#include "display/accessible_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string heard(const char* text, size_t size = 128) {
    char name[128] = "unchanged";
    accessibleName(text, name, size);
    return name;
}

TEST(AccessibleName, LeavesOutTheAmpersandsThatOnlyUnderline) {
    EXPECT_EQ(heard("Volume 40 %"), "Volume 40 %");
    EXPECT_EQ(heard("&Mute"), "Mute");
    EXPECT_EQ(heard("R&&D"), "R&D");
    EXPECT_EQ(heard("a&b&c"), "abc");
    EXPECT_EQ(heard("&&&x"), "&x");
    EXPECT_EQ(heard("&&&&"), "&&");
    EXPECT_EQ(heard("end&"), "end") << "a last '&' marks nothing";
    EXPECT_EQ(heard("&"), "");
    EXPECT_EQ(heard(""), "");
    EXPECT_EQ(heard("line 1\nline 2"), "line 1\nline 2");
    EXPECT_EQ(heard("Lautst\xE4rke"), "Lautst\xE4rke") << "other bytes pass as they are";
}

TEST(AccessibleName, StaysWithinItsBufferAndEndsWithANul) {
    EXPECT_EQ(heard("Volume", 4), "Vol");
    EXPECT_EQ(heard("R&&D", 3), "R&");
    EXPECT_EQ(heard("anything", 1), "");
    char untouched[4] = "abc";
    accessibleName("x", untouched, 0);
    EXPECT_STREQ(untouched, "abc");

    wchar_t wide[8] = {};
    accessibleName(L"R&&D", wide, 8);
    EXPECT_EQ(std::wstring(wide), L"R&D") << "the window's own text, as Windows gives it";
}

} // namespace
