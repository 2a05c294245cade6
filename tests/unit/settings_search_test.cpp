// Where the settings file is looked for, which one is read, and that no path
// or line from the platform or the host can make the reader leave its buffers.
#include "fake_host.h"

#include "settings/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class SettingsSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        fakeHost = FakeHost{};
        osdSettings = DEFAULT_SETTINGS;
    }
    void TearDown() override { osdSettings = DEFAULT_SETTINGS; }

    static void addFile(const std::string& path, int timeout) {
        fakeHost.files[path] = {"GLIMRA.timeout " + std::to_string(timeout)};
    }
};

TEST_F(SettingsSearch, LooksAtFourCandidatesInOrderWhenNoneExists) {
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.existsQueries, (Strings{"C:\\plugins\\glimrarc", "C:\\plugins\\glimra.rc",
                                               "D:\\tarvex\\glimrarc", "D:\\tarvex\\glimra.rc"}));
    EXPECT_TRUE(fakeHost.openedPaths.empty());
    EXPECT_EQ(osdSettings.timeout, DEFAULT_SETTINGS.timeout);
    EXPECT_EQ(osdSettings.fontHeight, DEFAULT_SETTINGS.fontHeight);
    EXPECT_EQ(osdSettings.clrOSD, DEFAULT_SETTINGS.clrOSD);
    EXPECT_EQ(osdSettings.clrOutline, DEFAULT_SETTINGS.clrOutline);
}

TEST_F(SettingsSearch, GlimrarcBesideThePluginIsTheOnlyFileRead) {
    addFile("C:\\plugins\\glimrarc", 1111);
    addFile("C:\\plugins\\glimra.rc", 2222);
    addFile("D:\\tarvex\\glimrarc", 3333);
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.existsQueries, Strings{"C:\\plugins\\glimrarc"});
    EXPECT_EQ(fakeHost.openedPaths, Strings{"C:\\plugins\\glimrarc"});
    EXPECT_EQ(fakeHost.closeCount, 1);
    EXPECT_EQ(osdSettings.timeout, 1111);
}

TEST_F(SettingsSearch, PluginDirectoryBeatsHostDirectory) {
    addFile("C:\\plugins\\glimra.rc", 2222);
    addFile("D:\\tarvex\\glimrarc", 3333);
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.openedPaths, Strings{"C:\\plugins\\glimra.rc"});
    EXPECT_EQ(osdSettings.timeout, 2222);
}

TEST_F(SettingsSearch, HostDirectoryIsSearchedSecond) {
    addFile("D:\\tarvex\\glimra.rc", 4444);
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.existsQueries.size(), 4u);
    EXPECT_EQ(fakeHost.openedPaths, Strings{"D:\\tarvex\\glimra.rc"});
    EXPECT_EQ(osdSettings.timeout, 4444);
}

TEST_F(SettingsSearch, HostPathMayBeTheDirectoryItself) {
    fakeHost.hostPath = "D:\\host dir\\";
    addFile("D:\\host dir\\glimrarc", 5555);
    readSettings(nullptr);
    EXPECT_EQ(osdSettings.timeout, 5555);
}

TEST_F(SettingsSearch, ForwardSlashIsNoSeparator) {
    fakeHost.modulePath = "C:\\games/plugins/GLIMRA.dll";
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.existsQueries.at(0), "C:\\glimrarc");
}

TEST_F(SettingsSearch, PathWithoutBackslashIsReplacedWhole) {
    fakeHost.modulePath = "GLIMRA.dll";
    fakeHost.hostPath = "tarvex.exe";
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.existsQueries, (Strings{"glimrarc", "glimra.rc", "glimrarc", "glimra.rc"}));
}

// The first file that exists is the one read, even when it then cannot be
// opened: the null handle is read from and closed, and no other file is tried.
TEST_F(SettingsSearch, FileThatCannotBeOpenedLeavesDefaults) {
    addFile("C:\\plugins\\glimrarc", 1111);
    fakeHost.unopenable.insert("C:\\plugins\\glimrarc");
    addFile("D:\\tarvex\\glimrarc", 3333);
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.openedPaths, Strings{"C:\\plugins\\glimrarc"});
    EXPECT_EQ(fakeHost.closeCount, 1);
    EXPECT_EQ(osdSettings.timeout, DEFAULT_SETTINGS.timeout);
}

// A host may answer yes with any non-zero byte, not only 1.
TEST_F(SettingsSearch, AnyNonZeroByteFromTheHostMeansYes) {
    for (const HostTruth yes : {HostTruth{2}, HostTruth{0x80}, HostTruth{0xFF}}) {
        fakeHost = FakeHost{};
        fakeHost.yes = yes;
        fakeHost.files["C:\\plugins\\glimrarc"] = {"GLIMRA.timeout 1111", "GLIMRA.fontHeight 50"};
        readSettings(nullptr);
        EXPECT_EQ(fakeHost.existsQueries.size(), 1u) << int{yes};
        EXPECT_EQ(osdSettings.timeout, 1111) << int{yes};
        EXPECT_EQ(osdSettings.fontHeight, 50) << int{yes};
    }
}

// A directory part of 251 bytes leaves room for "glimrarc" and its NUL in the
// 260-byte buffer, but not for "glimra.rc": that candidate is skipped.
TEST_F(SettingsSearch, NameThatDoesNotFitIsSkipped) {
    const std::string directory = "C:\\" + std::string(247, 'd') + "\\";
    ASSERT_EQ(directory.size(), 251u);
    fakeHost.modulePath = directory + "GLIMRA.dll";
    fakeHost.files["D:\\tarvex\\glimra.rc"] = {"GLIMRA.timeout 777"};
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.existsQueries,
              (Strings{directory + "glimrarc", "D:\\tarvex\\glimrarc", "D:\\tarvex\\glimra.rc"}));
    EXPECT_EQ(osdSettings.timeout, 777);
}

TEST_F(SettingsSearch, DirectoryLeavingNoRoomIsSkippedWhole) {
    fakeHost.modulePath = "C:\\" + std::string(254, 'd') + "\\GLIMRA.dll";
    fakeHost.hostPath = "D:\\" + std::string(255, 'h') + "\\tarvex.exe";
    readSettings(nullptr);
    EXPECT_TRUE(fakeHost.existsQueries.empty());
}

// A module path cut by the platform at the buffer's end loses its last
// backslash; the name then goes behind the last one that is left.
TEST_F(SettingsSearch, TruncatedModulePathUsesItsLastBackslash) {
    fakeHost.modulePath = "C:\\" + std::string(300, 'd') + "\\GLIMRA.dll";
    readSettings(nullptr);
    EXPECT_EQ(fakeHost.existsQueries.at(0), "C:\\glimrarc");
}

// The host path below fills all 260 bytes with no NUL; the reader ends it at
// the last byte, whose backslash-free tail it then replaces.
TEST_F(SettingsSearch, UnterminatedHostPathIsCutAtTheBufferEnd) {
    fakeHost.hostPath = "E:\\" + std::string(400, 'x');
    readSettings(nullptr);
    ASSERT_EQ(fakeHost.existsQueries.size(), 4u);
    EXPECT_EQ(fakeHost.existsQueries[2], "E:\\glimrarc");
    EXPECT_EQ(fakeHost.existsQueries[3], "E:\\glimra.rc");
}

// A line as long as the buffer arrives without its NUL. Under AddressSanitizer
// a reader that trusted it would be caught reading past the line buffer.
TEST_F(SettingsSearch, UnterminatedLineIsCutAtTheBufferEnd) {
    fakeHost.files["C:\\plugins\\glimrarc"] = {"GLIMRA.clrOSD " + std::string(1500, '1'),
                                               "GLIMRA.timeout " + std::string(1500, '9'),
                                               "GLIMRA.clrOutline 00ff00"};
    readSettings(nullptr);
    EXPECT_EQ(osdSettings.clrOSD, 0x11111111u);
    EXPECT_EQ(osdSettings.clrOutline, 0x00FF00u);
}

} // namespace
