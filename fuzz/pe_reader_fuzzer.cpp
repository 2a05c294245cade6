// Feeds the Windows executable reader of glimra-check arbitrary bytes: under
// AddressSanitizer it must never read outside them, and it must come back.
#include "tools/glimra-check/pe_reader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PeFacts facts = readPeFacts(std::vector<uint8_t>(data, data + size));
    peMachineName(facts.machine);
    return 0;
}
