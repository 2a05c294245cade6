// What glimra-check reads through a Windows executable's headers: its
// exported names and the strings of its version resource; and the names of
// the machines it may be built for.
#include "pe_reader.h"

#include "pe_image.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint32_t DIRECTORY_EXPORT = 0;
constexpr uint32_t DIRECTORY_RESOURCE = 2;
constexpr uint32_t RESOURCE_TYPE_VERSION = 16;
constexpr uint32_t RESOURCE_SUBDIRECTORY = 0x80000000;
// No real file comes near this; it bounds the work on a hostile one.
constexpr uint32_t MOST_EXPORT_NAMES = 65536;
constexpr int VERSION_BLOCK_DEPTH = 3; // VS_VERSIONINFO, StringFileInfo, string table

void readExports(const PeImage& image, PeDataDirectory directory, PeFacts& facts) {
    size_t table = 0;
    uint32_t nameCount = 0;
    uint32_t namesAddress = 0;
    constexpr size_t EXPORT_DIRECTORY_SIZE = 40;
    if (directory.address == 0) {
        return; // exports nothing
    }
    facts.exportsOutsideFile = true; // until every name is read
    if (!image.fileOffset(directory.address, EXPORT_DIRECTORY_SIZE, table) ||
        !image.bytes.u32(table + 24, nameCount) || !image.bytes.u32(table + 32, namesAddress) ||
        nameCount > MOST_EXPORT_NAMES) {
        return;
    }
    size_t names = 0;
    if (nameCount > 0 && !image.fileOffset(namesAddress, size_t{nameCount} * 4, names)) {
        return;
    }
    for (uint32_t i = 0; i < nameCount; ++i) {
        uint32_t nameAddress = 0;
        size_t nameOffset = 0;
        std::string name;
        if (!image.bytes.u32(names + (size_t{i} * 4), nameAddress) ||
            !image.fileOffset(nameAddress, 1, nameOffset) || !image.bytes.text(nameOffset, name)) {
            facts.exportNames.clear();
            return;
        }
        facts.exportNames.push_back(name);
    }
    facts.exportsOutsideFile = false;
}

// Follows one entry of the resource directory at directory: the one with the
// given id, or the first when anyId; gives what the entry points to, as an
// offset from the resource tree's root with the subdirectory bit.
bool resourceEntry(const PeImage& image, size_t rootSize, size_t directory, bool anyId, uint32_t id,
                   uint32_t& target) {
    uint16_t named = 0;
    uint16_t numbered = 0;
    if (!image.bytes.u16(directory + 12, named) || !image.bytes.u16(directory + 14, numbered)) {
        return false;
    }
    const size_t count = size_t{named} + numbered;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = directory + 16 + (i * 8);
        uint32_t entryId = 0;
        uint32_t offset = 0;
        if (!image.bytes.u32(entry, entryId) || !image.bytes.u32(entry + 4, offset)) {
            return false;
        }
        if (anyId || entryId == id) {
            target = offset;
            return (offset & ~RESOURCE_SUBDIRECTORY) < rootSize;
        }
    }
    return false;
}

// The text of a UTF-16 string of at most length characters, ended by a NUL;
// characters beyond ASCII become '?'.
std::string utf16Text(const PeBytes& bytes, size_t offset, size_t end, size_t length) {
    std::string text;
    uint16_t character = 0;
    for (size_t i = 0; i < length && offset + i * 2 + 2 <= end; ++i) {
        if (!bytes.u16(offset + (i * 2), character) || character == 0) {
            break;
        }
        text += character < 0x80 ? static_cast<char>(character) : '?';
    }
    return text;
}

size_t alignFour(size_t offset) {
    return (offset + 3) & ~size_t{3};
}

// One block of a version resource: its key, its value and its children.
struct VersionBlock {
    std::string key;
    size_t valueOffset;
    size_t valueLength; // in bytes
    size_t childrenOffset;
    size_t end;
};

bool versionBlock(const PeBytes& bytes, size_t offset, size_t limit, VersionBlock& block) {
    uint16_t length = 0;
    uint16_t valueLength = 0;
    uint16_t type = 0;
    if (!bytes.u16(offset, length) || !bytes.u16(offset + 2, valueLength) ||
        !bytes.u16(offset + 4, type) || length < 6 || offset + length > limit) {
        return false;
    }
    block.end = offset + length;
    block.key = utf16Text(bytes, offset + 6, block.end, (block.end - offset - 6) / 2);
    block.valueOffset = alignFour(offset + 6 + ((block.key.size() + 1) * 2));
    // A text value counts its length in characters, a binary one in bytes.
    block.valueLength = type == 1 ? size_t{valueLength} * 2 : valueLength;
    block.valueOffset = std::min(block.valueOffset, block.end);
    block.valueLength = std::min(block.valueLength, block.end - block.valueOffset);
    block.childrenOffset = alignFour(block.valueOffset + block.valueLength);
    return true;
}

// Collects the named string values under a version block, to a fixed depth.
void readVersionStrings(const PeBytes& bytes, const VersionBlock& parent, int depth,
                        PeFacts& facts) {
    for (size_t child = parent.childrenOffset; child < parent.end;) {
        VersionBlock block;
        if (!versionBlock(bytes, child, parent.end, block) || block.end <= child) {
            return;
        }
        if (depth == VERSION_BLOCK_DEPTH) {
            const std::string value =
                utf16Text(bytes, block.valueOffset, block.end, block.valueLength / 2);
            facts.hasVersion = true;
            if (block.key == "ProductName") {
                facts.productName = value;
            } else if (block.key == "FileVersion") {
                facts.fileVersion = value;
            }
        } else if (depth > 1 || block.key == "StringFileInfo") {
            readVersionStrings(bytes, block, depth + 1, facts);
        }
        child = alignFour(block.end);
    }
}

void readVersion(const PeImage& image, PeDataDirectory directory, PeFacts& facts) {
    size_t root = 0;
    if (directory.address == 0 || !image.fileOffset(directory.address, 16, root)) {
        return;
    }
    // Type, name, language: the first version resource, of any name and language.
    struct Step {
        bool anyId;
        uint32_t id;
    };
    constexpr std::array<Step, 3> STEPS = {{{false, RESOURCE_TYPE_VERSION}, {true, 0}, {true, 0}}};
    size_t level = root;
    for (size_t depth = 0; depth < STEPS.size(); ++depth) {
        uint32_t target = 0;
        if (!resourceEntry(image, directory.size, level, STEPS[depth].anyId, STEPS[depth].id,
                           target)) {
            return;
        }
        const bool toSubdirectory = (target & RESOURCE_SUBDIRECTORY) != 0;
        if (toSubdirectory != (depth + 1 < STEPS.size())) {
            return;
        }
        level = root + (target & ~RESOURCE_SUBDIRECTORY);
    }
    // The last step reached a data entry: the resource's address and size.
    uint32_t dataAddress = 0;
    uint32_t dataSize = 0;
    size_t data = 0;
    if (!image.bytes.u32(level, dataAddress) || !image.bytes.u32(level + 4, dataSize) ||
        !image.fileOffset(dataAddress, dataSize, data)) {
        return;
    }
    VersionBlock versionInfo;
    if (versionBlock(image.bytes, data, data + dataSize, versionInfo) &&
        versionInfo.key == "VS_VERSION_INFO") {
        readVersionStrings(image.bytes, versionInfo, 1, facts);
    }
}

} // namespace

PeFacts readPeFacts(const std::vector<uint8_t>& file) {
    PeFacts facts;
    const PeBytes bytes(file);
    PeImage image(bytes);
    facts.problem = readPeHeaders(image);
    facts.machine = image.machine;
    facts.neededSize = image.neededSize;
    if (!facts.problem.empty()) {
        return facts;
    }
    facts.isPe = true;
    facts.isDll = image.isDll;
    readExports(image, peDirectory(image, DIRECTORY_EXPORT), facts);
    readVersion(image, peDirectory(image, DIRECTORY_RESOURCE), facts);
    return facts;
}

std::string peMachineName(uint16_t machine) {
    switch (machine) {
    case PE_MACHINE_X86:
        return "x86";
    case PE_MACHINE_X64:
        return "x64";
    case 0xAA64:
        return "ARM64";
    case 0x01C4:
        return "ARM";
    case 0x0200:
        return "Itanium";
    default:
        break;
    }
    std::array<char, 24> name{};
    std::snprintf(name.data(), name.size(), "machine 0x%04X", machine);
    return name.data();
}

int peMachineBits(uint16_t machine) {
    switch (machine) {
    case PE_MACHINE_X86:
    case 0x01C4:
        return 32;
    case PE_MACHINE_X64:
    case 0xAA64:
    case 0x0200:
        return 64;
    default:
        return 0;
    }
}
