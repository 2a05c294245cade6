// Where the settings file is looked for, which one is read, and that no path
// or line from the platform or the host can make the reader leave its buffers.
// The host's functions work on real files in a fresh folder, and copy paths
// and lines like a careless host: filling the buffer to the end, with no NUL.
#include "plugin/host_api.h"
#include "temporary_folder.h"

#include "host/host_functions.h"
#include "settings/settings.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class SettingsSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        hostAnswers = HostAnswers{};
        hostAnswers.pluginPath = plugins + "GLIMRA.dll";
        hostAnswers.hostPath = host + "tarvex.exe";
        hostAnswers.fillsBuffersToTheEnd = true;
        hostCalls = HostCalls{};
        osdSettings = DEFAULT_SETTINGS;
    }
    void TearDown() override { osdSettings = DEFAULT_SETTINGS; }

    static void addFile(const std::string& path, int timeout) {
        writeLines(path, {"GLIMRA.timeout " + std::to_string(timeout)});
    }

    TemporaryFolder folder;
    const std::string plugins = folder.pluginStylePath() + "plugins\\";
    const std::string host = folder.pluginStylePath() + "tarvex\\";
};

TEST_F(SettingsSearch, LooksAtFourCandidatesInOrderWhenNoneExists) {
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.existsQueries, (Strings{plugins + "glimrarc", plugins + "glimra.rc",
                                                host + "glimrarc", host + "glimra.rc"}));
    EXPECT_TRUE(hostCalls.openedPaths.empty());
    EXPECT_EQ(osdSettings.timeout, 3000);
    EXPECT_EQ(osdSettings.fontHeight, 75);
    EXPECT_EQ(osdSettings.clrOSD, 0xFFFFFFu);
    EXPECT_EQ(osdSettings.clrOutline, 0x010101u);
}

TEST_F(SettingsSearch, GlimrarcBesideThePluginIsTheOnlyFileRead) {
    addFile(plugins + "glimrarc", 1111);
    addFile(plugins + "glimra.rc", 2222);
    addFile(host + "glimrarc", 3333);
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.existsQueries, Strings{plugins + "glimrarc"});
    EXPECT_EQ(hostCalls.openedPaths, Strings{plugins + "glimrarc"});
    EXPECT_EQ(hostCalls.closeCount, 1);
    EXPECT_EQ(osdSettings.timeout, 1111);
}

TEST_F(SettingsSearch, PluginDirectoryBeatsHostDirectory) {
    addFile(plugins + "glimra.rc", 2222);
    addFile(host + "glimrarc", 3333);
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.openedPaths, Strings{plugins + "glimra.rc"});
    EXPECT_EQ(osdSettings.timeout, 2222);
}

TEST_F(SettingsSearch, HostDirectoryIsSearchedSecond) {
    addFile(host + "glimra.rc", 4444);
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.existsQueries.size(), 4u);
    EXPECT_EQ(hostCalls.openedPaths, Strings{host + "glimra.rc"});
    EXPECT_EQ(osdSettings.timeout, 4444);
}

TEST_F(SettingsSearch, HostPathMayBeTheDirectoryItself) {
    hostAnswers.hostPath = folder.pluginStylePath() + "host dir\\";
    addFile(hostAnswers.hostPath + "glimrarc", 5555);
    readSettings(nullptr);
    EXPECT_EQ(osdSettings.timeout, 5555);
}

TEST_F(SettingsSearch, ForwardSlashIsNoSeparator) {
    hostAnswers.pluginPath = "C:\\games/plugins/GLIMRA.dll";
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.existsQueries.at(0), "C:\\glimrarc");
}

TEST_F(SettingsSearch, PathWithoutBackslashIsReplacedWhole) {
    hostAnswers.pluginPath = "GLIMRA.dll";
    hostAnswers.hostPath = "tarvex.exe";
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.existsQueries, (Strings{"glimrarc", "glimra.rc", "glimrarc", "glimra.rc"}));
}

// A socket is a file that exists but cannot be opened: the host's FileOpen
// gives a null handle. It is the file read all the same: the null handle is
// read from and closed, and no other file is tried.
TEST_F(SettingsSearch, FileThatCannotBeOpenedLeavesDefaults) {
    addFile(host + "glimrarc", 3333);
    std::filesystem::create_directories(nativePath(plugins.c_str()));
    const std::string socketPath = nativePath((plugins + "glimrarc").c_str());
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size());
    const int socketHandle = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(socketHandle, 0);
    ASSERT_EQ(bind(socketHandle, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    readSettings(nullptr);
    close(socketHandle);
    EXPECT_EQ(hostCalls.openedPaths, Strings{plugins + "glimrarc"});
    EXPECT_EQ(hostCalls.closeCount, 1);
    EXPECT_EQ(osdSettings.timeout, 3000);
}

// A host may answer yes with any non-zero byte, not only 1.
TEST_F(SettingsSearch, AnyNonZeroByteFromTheHostMeansYes) {
    writeLines(plugins + "glimrarc", {"GLIMRA.timeout 1111", "GLIMRA.fontHeight 50"});
    for (const HostTruth yes : {HostTruth{2}, HostTruth{0x80}, HostTruth{0xFF}}) {
        hostAnswers.yes = yes;
        hostCalls = HostCalls{};
        osdSettings = DEFAULT_SETTINGS;
        readSettings(nullptr);
        EXPECT_EQ(hostCalls.existsQueries.size(), 1u) << int{yes};
        EXPECT_EQ(osdSettings.timeout, 1111) << int{yes};
        EXPECT_EQ(osdSettings.fontHeight, 50) << int{yes};
    }
}

// A directory part of 251 bytes leaves room for "glimrarc" and its NUL in the
// 260-byte buffer, but not for "glimra.rc": that candidate is skipped.
TEST_F(SettingsSearch, NameThatDoesNotFitIsSkipped) {
    const std::string directory = "C:\\" + std::string(247, 'd') + "\\";
    ASSERT_EQ(directory.size(), 251u);
    hostAnswers.pluginPath = directory + "GLIMRA.dll";
    writeLines(host + "glimra.rc", {"GLIMRA.timeout 777"});
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.existsQueries,
              (Strings{directory + "glimrarc", host + "glimrarc", host + "glimra.rc"}));
    EXPECT_EQ(osdSettings.timeout, 777);
}

TEST_F(SettingsSearch, DirectoryLeavingNoRoomIsSkippedWhole) {
    hostAnswers.pluginPath = "C:\\" + std::string(254, 'd') + "\\GLIMRA.dll";
    hostAnswers.hostPath = "D:\\" + std::string(255, 'h') + "\\tarvex.exe";
    readSettings(nullptr);
    EXPECT_TRUE(hostCalls.existsQueries.empty());
}

// A module path cut by the platform at the buffer's end loses its last
// backslash; the name then goes behind the last one that is left.
TEST_F(SettingsSearch, TruncatedModulePathUsesItsLastBackslash) {
    hostAnswers.pluginPath = "C:\\" + std::string(300, 'd') + "\\GLIMRA.dll";
    readSettings(nullptr);
    EXPECT_EQ(hostCalls.existsQueries.at(0), "C:\\glimrarc");
}

// The host path below fills all 260 bytes with no NUL; the reader ends it at
// the last byte, whose backslash-free tail it then replaces.
TEST_F(SettingsSearch, UnterminatedHostPathIsCutAtTheBufferEnd) {
    hostAnswers.hostPath = "E:\\" + std::string(400, 'x');
    readSettings(nullptr);
    ASSERT_EQ(hostCalls.existsQueries.size(), 4u);
    EXPECT_EQ(hostCalls.existsQueries[2], "E:\\glimrarc");
    EXPECT_EQ(hostCalls.existsQueries[3], "E:\\glimra.rc");
}

// A line as long as the buffer arrives without its NUL. Under AddressSanitizer
// a reader that trusted it would be caught reading past the line buffer.
TEST_F(SettingsSearch, UnterminatedLineIsCutAtTheBufferEnd) {
    writeLines(plugins + "glimrarc",
               {"GLIMRA.clrOSD " + std::string(1500, '1'),
                "GLIMRA.timeout " + std::string(1500, '9'), "GLIMRA.clrOutline 00ff00"});
    readSettings(nullptr);
    EXPECT_EQ(osdSettings.clrOSD, 0x11111111u);
    EXPECT_EQ(osdSettings.clrOutline, 0x00FF00u);
}

} // namespace
