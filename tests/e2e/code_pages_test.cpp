// Texts in the code page of the user's system, as a host there sends them:
// the display draws the letters the host meant, exactly as the same text
// drawn from Unicode. Each group runs on a system of the code page in its
// name, which its CTest entry gives Wine through the locale.
#include "host/screen_capture.h"
#include "plugin_session.h"
#include "reference_drawing.h"
#include "screen_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The bytes that a host on this system sends for text.
std::string inSystemCodePage(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back(); // the NUL
    return bytes;
}

class SystemCodePage : public ::testing::Test {
  protected:
    SystemCodePage(UINT codePage, const std::string& settings)
        : codePage(codePage), session(settings) {}
    void SetUp() override {
        ASSERT_EQ(GetACP(), codePage) << "this group needs a system of code page " << codePage
                                      << "; its CTest entry sets the locale that gives it";
        ASSERT_EQ(session.begin(), 0);
    }
    ScreenImage show(const std::string& text) {
        return showAndCapture(session.osdWindow(), text.c_str());
    }

    UINT codePage;
    Backdrop backdrop;
    PluginSession session;
};

class CodePage1252 : public SystemCodePage {
  protected:
    CodePage1252() : SystemCodePage(1252, "") {}
};

class CodePage1251 : public SystemCodePage {
  protected:
    CodePage1251() : SystemCodePage(1251, "") {}
};

// A small font, so that a text of 64 Japanese characters fits the window.
class CodePage932 : public SystemCodePage {
  protected:
    CodePage932() : SystemCodePage(932, "GLIMRA.fontHeight 10\n") {}
};

// Western letters look exactly as they did when the font was asked for the
// Western character set outright.
TEST_F(CodePage1252, WesternLettersAreDrawnAsBefore) {
    const std::wstring text = L"Grüße, Ærø €";
    ASSERT_EQ(inSystemCodePage(text), "Gr\xFC\xDF\x65, \xC6r\xF8 \x80");
    EXPECT_EQ(firstDifference(show(inSystemCodePage(text)),
                              expectedDisplay(text.c_str(), 72, ANSI_CHARSET)),
              "");
}

TEST_F(CodePage1251, CyrillicLettersAreTheOnesTheHostSent) {
    const std::wstring text = L"Привет, мир";
    ASSERT_EQ(inSystemCodePage(text), "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0");
    EXPECT_EQ(firstDifference(show(inSystemCodePage(text)), expectedDisplay(text.c_str(), 72)), "");
}

// 64 characters of two bytes each are one byte too many for the buffer: the
// last one is left out whole, never cut to a lone first byte.
TEST_F(CodePage932, LongTextIsCutBetweenCharactersNeverInsideOne) {
    ASSERT_NE(firstDifference(expectedDisplay(L"あ", 9), expectedDisplay(L"い", 9)), "")
        << "no font here draws Japanese letters";
    const std::wstring fits(63, L'あ');
    ASSERT_EQ(inSystemCodePage(fits).size(), 126u);
    const ScreenImage cut = show(inSystemCodePage(fits + L'い'));
    ASSERT_LT(boundsOfColour(cut, WHITE).right, 800) << "the test needs the text to fit";
    EXPECT_EQ(firstDifference(cut, expectedDisplay(fits.c_str(), 9)), "");
    // One single-byte letter ahead moves the cut: then 63 characters end at byte 127.
    const std::wstring shifted = L'i' + fits;
    EXPECT_EQ(firstDifference(show(inSystemCodePage(shifted + L'い')),
                              expectedDisplay(shifted.c_str(), 9)),
              "");
}

} // namespace
