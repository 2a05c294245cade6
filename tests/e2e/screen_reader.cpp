#include "screen_reader.h"

#include "host/host.h"
#include "plugin_session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// An emulated x86 program takes some seconds to start.
constexpr DWORD START_WAIT_MILLISECONDS = 30000;

} // namespace

ScreenReader::ScreenReader(const std::string& directory)
    : resultsPath(makeTemporaryFolder("reader") + "heard.txt") {
    const std::string program = directory.empty()
                                    ? quotedProgramBesideThePlugin("screen_reader.exe")
                                    : "\"" + directory + "screen_reader.exe\"";
    std::string commandLine = program + " \"" + resultsPath + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return;
    }
    EXPECT_EQ(nextLine(START_WAIT_MILLISECONDS), "ready") << commandLine;
}

ScreenReader::~ScreenReader() {
    if (!process.hProcess) {
        return;
    }
    // Letting go of the object it holds is a call to this thread, which must
    // pump its messages to answer it, and so to let the reader end.
    PostThreadMessageA(process.dwThreadId, WM_QUIT, 0, 0);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT &&
           GetTickCount64() < deadline) {
        pumpMessagesFor(10);
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string folder = resultsPath.substr(0, resultsPath.find_last_of('\\') + 1);
    removeFolder(folder);
}

std::string ScreenReader::nextLine(DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        pumpMessagesFor(10);
        std::ifstream results(resultsPath);
        std::string line;
        for (size_t number = 0; std::getline(results, line); ++number) {
            if (number == linesRead && results.good()) { // a whole line, ended
                ++linesRead;
                return line;
            }
        }
    } while (GetTickCount64() < deadline &&
             WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT);
    return "";
}

void ScreenReader::askAgain() const {
    PostThreadMessageA(process.dwThreadId, WM_APP, 0, 0);
}

std::string heardAlert(int role, const std::string& nameInUtf8) {
    return "alert object -4 child 0 role " + std::to_string(role) + " name " + nameInUtf8;
}
