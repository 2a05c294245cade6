// The image of a Windows executable file (the PE format) as glimra-check sees
// it: the file's bytes, read with every offset and size checked against the
// file, its headers and its section table, through which an address in the
// loaded image becomes an offset in the file. What is read through them, the
// exports and the version resource, is in pe_reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads little-endian numbers from the file; every read says whether it fit.
class PeBytes {
  public:
    explicit PeBytes(const std::vector<uint8_t>& file) : data(file) {}

    bool has(size_t offset, size_t length) const {
        return offset <= data.size() && length <= data.size() - offset;
    }
    bool u16(size_t offset, uint16_t& value) const;
    bool u32(size_t offset, uint32_t& value) const;
    // A NUL-terminated single-byte string; false when it runs off the file.
    bool text(size_t offset, std::string& value) const;
    size_t size() const { return data.size(); }

  private:
    const std::vector<uint8_t>& data;
};

struct PeSection {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;
};

struct PeDataDirectory {
    uint32_t address;
    uint32_t size;
};

// What the headers and the section table say.
struct PeImage {
    explicit PeImage(const PeBytes& file) : bytes(file) {}

    const PeBytes& bytes;
    uint16_t machine = 0; // the processor it is built for
    bool isDll = false;   // a library, not a program
    // The bytes its sections say the file holds, as far as they were read.
    uint64_t neededSize = 0;
    std::vector<PeSection> sections;
    size_t directories = 0;      // where the data directories begin
    uint32_t directoryCount = 0; // as many as the optional header says
    size_t sectionTable = 0;     // where the section table begins

    // The file offset of an address in the loaded image, if the file holds it.
    bool fileOffset(uint32_t address, size_t length, size_t& offset) const;
};

// Reads the headers and the section table into image: "" when they are all
// there, otherwise what is wrong, in a few words. The machine and the size
// the sections need are kept as far as they were read.
std::string readPeHeaders(PeImage& image);

// One of the data directories; one that the header has no room for counts as
// absent, at address 0.
PeDataDirectory peDirectory(const PeImage& image, uint32_t index);
