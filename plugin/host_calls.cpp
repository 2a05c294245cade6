#include "plugin/host_calls.h"
#include "plugin/host_api.h"

#include <cstdint> // IWYU pragma: keep (the x86 calls below use it)

#if defined(_WIN32) && !defined(_WIN64)

// balanced_call_x86.S: calls function with count 32-bit arguments and restores
// the stack pointer afterwards, whoever popped them; gives back EAX.
extern "C" uint32_t callBalanced(const void* function, const uint32_t* arguments, int count);

namespace {

template <typename... Arguments> uint32_t callHost(const void* function, Arguments... arguments) {
    const uint32_t words[] = {0, static_cast<uint32_t>(arguments)...};
    return callBalanced(function, words + 1, sizeof...(arguments));
}

uint32_t word(const void* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

// A one-byte answer comes back in AL; the rest of EAX is whatever the host left there.
HostTruth lowByte(uint32_t value) {
    return static_cast<HostTruth>(value & 0xFF);
}

} // namespace

WindowHandle callGetTXWnd() {
    return reinterpret_cast<WindowHandle>(
        static_cast<uintptr_t>(callHost(reinterpret_cast<const void*>(&GetTXWnd))));
}

void callGetTarvexPath(char* buffer, int size) {
    callHost(reinterpret_cast<const void*>(&GetTarvexPath), word(buffer), size);
}

HostTruth callFileExists(const char* path) {
    return lowByte(callHost(reinterpret_cast<const void*>(&FileExists), word(path)));
}

HostFile callFileOpen(const char* path) {
    return reinterpret_cast<HostFile>(
        static_cast<uintptr_t>(callHost(reinterpret_cast<const void*>(&FileOpen), word(path))));
}

HostTruth callReadNextCommand(HostFile file, char* buffer, int size) {
    return lowByte(
        callHost(reinterpret_cast<const void*>(&ReadNextCommand), word(file), word(buffer), size));
}

void callFileClose(HostFile file) {
    callHost(reinterpret_cast<const void*>(&FileClose), word(file));
}

#else

// One calling convention on x64, and natively: the calls are plain.

WindowHandle callGetTXWnd() {
    return GetTXWnd();
}

void callGetTarvexPath(char* buffer, int size) {
    GetTarvexPath(buffer, size);
}

HostTruth callFileExists(const char* path) {
    return FileExists(path);
}

HostFile callFileOpen(const char* path) {
    return FileOpen(path);
}

HostTruth callReadNextCommand(HostFile file, char* buffer, int size) {
    return ReadNextCommand(file, buffer, size);
}

void callFileClose(HostFile file) {
    FileClose(file);
}

#endif
