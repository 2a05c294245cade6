// The plug-in's answers to the host's questions about its name and version.
#include "plugin/host_api.h"

#include <array>

namespace {

// Indexed by field number; field 0 and every unknown field get the full name.
constexpr std::array<const char*, 7> INFO_TEXTS = {
    "Glimra 1.0",             // any other field
    "Glimra",                 // 1: name
    "1.0",                    // 2: version
    "The Glimra developers",  // 3: author
    "19/06/2005",             // 4: release date
    "...",                    // 5
    "glimra-dev@example.org", // 6: contact
};

} // namespace

extern "C" const char* PLUGIN_CALL pluginInfo(int field) {
    if (field < 1 || field >= static_cast<int>(INFO_TEXTS.size())) {
        return INFO_TEXTS[0];
    }
    return INFO_TEXTS[static_cast<unsigned>(field)];
}
