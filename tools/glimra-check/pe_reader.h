// Reads what glimra-check needs from a Windows executable file (the PE
// format): its machine, whether it is a DLL, its exported names and the
// strings of its version resource. Any bytes at all may come in: every
// offset and size is checked against the file before use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t PE_MACHINE_X86 = 0x014C;
constexpr uint16_t PE_MACHINE_X64 = 0x8664;

struct PeFacts {
    bool isPe = false;    // the headers of a Windows executable are all there
    std::string problem;  // when not: what is wrong, in a few words
    uint16_t machine = 0; // the processor it is built for
    bool isDll = false;   // a library, not a program
    // The bytes its sections say the file holds; more than it has when cut
    // short. 64 bits on any machine: a crafted end may lie beyond 4 GB.
    uint64_t neededSize = 0;
    bool exportsOutsideFile = false;      // an export directory that points past the file
    std::vector<std::string> exportNames; // as the export directory lists them
    bool hasVersion = false;              // a version resource with string values
    std::string productName;              // "" when absent
    std::string fileVersion;              // "" when absent
};

// Reads the facts from the whole content of a file.
PeFacts readPeFacts(const std::vector<uint8_t>& file);

// "x86", "x64", "ARM64" and the like, or a number for a machine not named here.
std::string peMachineName(uint16_t machine);
// 32 or 64 for the machines Windows runs programs of; 0 for others.
int peMachineBits(uint16_t machine);
