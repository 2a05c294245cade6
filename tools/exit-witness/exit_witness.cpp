// Runs a Windows program and witnesses how it ended as Windows saw it.
//
//   exit-witness.exe PROGRAM [ARGUMENTS...]
//
// Starts the rest of its own command line as it stands, waits for that
// program, writes its exit code in decimal to the file that the environment
// variable GLIMRA_EXIT_WITNESS names (when set), and exits with the same code.
// Under Wine the Unix process of a Windows program that has ended can still be
// killed while it tears down; the file tells what the Windows program did.
#include <windows.h>

#include <cstdio>

namespace {

// The command line after its first word, which names this program.
wchar_t* afterFirstWord(wchar_t* commandLine) {
    bool quoted = false;
    while (*commandLine != L'\0' && (quoted || (*commandLine != L' ' && *commandLine != L'\t'))) {
        quoted = *commandLine == L'"' ? !quoted : quoted;
        ++commandLine;
    }
    while (*commandLine == L' ' || *commandLine == L'\t') {
        ++commandLine;
    }
    return commandLine;
}

void writeWitness(DWORD exitCode) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"GLIMRA_EXIT_WITNESS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    std::FILE* file = _wfopen(path, L"wb");
    if (file != nullptr) {
        std::fprintf(file, "%lu\n", exitCode);
        std::fclose(file);
    }
}

} // namespace

int main() {
    wchar_t* program = afterFirstWord(GetCommandLineW());
    if (*program == L'\0') {
        std::fprintf(stderr, "usage: exit-witness.exe PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // Inherits the standard handles, so the program writes where this one does.
    if (!CreateProcessW(nullptr, program, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "exit-witness: cannot start the program (error %lu)\n",
                     GetLastError());
        return 126;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    writeWitness(exitCode);
    return static_cast<int>(exitCode);
}
