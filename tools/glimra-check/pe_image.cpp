#include "pe_image.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Offsets and sizes of the published PE/COFF format.
constexpr size_t DOS_NEW_HEADER_OFFSET = 0x3C;
constexpr size_t COFF_HEADER_SIZE = 20;
constexpr size_t SECTION_HEADER_SIZE = 40;
constexpr uint16_t OPTIONAL_MAGIC_PE32 = 0x10B;
constexpr uint16_t OPTIONAL_MAGIC_PE32_PLUS = 0x20B;
constexpr uint16_t CHARACTERISTIC_DLL = 0x2000;
// No real file comes near this; it bounds the work on a hostile one.
constexpr size_t MOST_NAME_LENGTH = 4096;

} // namespace

bool PeBytes::u16(size_t offset, uint16_t& value) const {
    if (!has(offset, 2)) {
        return false;
    }
    value = static_cast<uint16_t>(data[offset] | data[offset + 1] << 8);
    return true;
}

bool PeBytes::u32(size_t offset, uint32_t& value) const {
    uint16_t low = 0;
    uint16_t high = 0;
    if (!u16(offset, low) || !u16(offset + 2, high)) {
        return false;
    }
    value = static_cast<uint32_t>(low) | static_cast<uint32_t>(high) << 16;
    return true;
}

bool PeBytes::text(size_t offset, std::string& value) const {
    value.clear();
    for (size_t i = offset; i < data.size() && value.size() < MOST_NAME_LENGTH; ++i) {
        if (data[i] == 0) {
            return true;
        }
        value += static_cast<char>(data[i]);
    }
    return false;
}

bool PeImage::fileOffset(uint32_t address, size_t length, size_t& offset) const {
    for (const PeSection& section : sections) {
        const uint32_t start = section.virtualAddress;
        if (address < start || address - start >= section.rawSize) {
            continue;
        }
        const uint64_t candidate = uint64_t{section.rawOffset} + (address - start);
        if (length > section.rawSize - (address - start) || candidate > bytes.size() ||
            !bytes.has(static_cast<size_t>(candidate), length)) {
            return false;
        }
        offset = static_cast<size_t>(candidate);
        return true;
    }
    return false;
}

std::string readPeHeaders(PeImage& image) {
    const PeBytes& bytes = image.bytes;
    uint16_t dosMagic = 0;
    uint32_t header = 0;
    uint32_t signature = 0;
    if (!bytes.u16(0, dosMagic) || dosMagic != 0x5A4D) { // "MZ"
        return "it does not start like a Windows executable";
    }
    if (!bytes.u32(DOS_NEW_HEADER_OFFSET, header) || !bytes.u32(header, signature) ||
        signature != 0x00004550) { // "PE\0\0"
        return "it has no Windows (PE) header; it may be cut short or a DOS program";
    }
    const size_t coff = size_t{header} + 4;
    uint16_t sectionCount = 0;
    uint16_t optionalSize = 0;
    uint16_t characteristics = 0;
    uint16_t magic = 0;
    if (!bytes.u16(coff, image.machine) || !bytes.u16(coff + 2, sectionCount) ||
        !bytes.u16(coff + 16, optionalSize) || !bytes.u16(coff + 18, characteristics) ||
        !bytes.u16(coff + COFF_HEADER_SIZE, magic)) {
        return "its headers are cut short";
    }
    const size_t optional = coff + COFF_HEADER_SIZE;
    const bool plus = magic == OPTIONAL_MAGIC_PE32_PLUS;
    if (magic != OPTIONAL_MAGIC_PE32 && !plus) {
        return "its optional header is of no known kind";
    }
    image.directories = optional + (plus ? 112 : 96);
    if (!bytes.u32(optional + (plus ? 108 : 92), image.directoryCount) ||
        !bytes.has(image.directories, 0) || !bytes.has(optional, optionalSize)) {
        return "its headers are cut short";
    }
    image.sectionTable = optional + optionalSize;
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = image.sectionTable + (i * SECTION_HEADER_SIZE);
        PeSection section{};
        if (!bytes.u32(at + 12, section.virtualAddress) || !bytes.u32(at + 16, section.rawSize) ||
            !bytes.u32(at + 20, section.rawOffset)) {
            return "its section table is cut short";
        }
        image.sections.push_back(section);
        image.neededSize =
            std::max(image.neededSize, uint64_t{section.rawOffset} + section.rawSize);
    }
    image.isDll = (characteristics & CHARACTERISTIC_DLL) != 0;
    return "";
}

PeDataDirectory peDirectory(const PeImage& image, uint32_t index) {
    PeDataDirectory entry{0, 0};
    const size_t at = image.directories + (size_t{index} * 8);
    if (index < image.directoryCount && at + 8 <= image.sectionTable) {
        image.bytes.u32(at, entry.address);
        image.bytes.u32(at + 4, entry.size);
    }
    return entry;
}
