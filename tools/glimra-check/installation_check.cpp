#include "installation_check.h"

#include "pe_reader.h"

#include <dirent.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <strings.h>
#include <vector>

namespace {

constexpr const char* PLUGIN_FILE = "GLIMRA.dll";
constexpr const char* HOST_FILE = "tarvex.exe";
constexpr std::array<const char*, 3> ENTRY_POINTS = {"beginPlugin", "endPlugin", "pluginInfo"};
constexpr size_t LARGEST_FILE_READ = size_t{64} * 1024 * 1024;
#if defined(_WIN32)
constexpr char SEPARATOR = '\\';
#else
constexpr char SEPARATOR = '/';
#endif

struct FoundFile {
    std::string path;
    uint64_t size; // compared with PeFacts::neededSize, which may pass 4 GB
    PeFacts facts;
};

std::string joinPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && (directory.back() == '/' || directory.back() == '\\')) {
        return directory + name;
    }
    return directory + SEPARATOR + name;
}

// Windows does not tell "GLIMRA.dll" from "glimra.DLL"; the file may come from there.
std::optional<FoundFile> findAndRead(const std::string& directory, const char* name) {
    DIR* listing = opendir(directory.c_str());
    if (!listing) {
        return std::nullopt;
    }
    std::string path;
    while (const dirent* entry = readdir(listing)) {
        if (strcasecmp(entry->d_name, name) == 0) {
            path = joinPath(directory, entry->d_name);
            break;
        }
    }
    closedir(listing);
    std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!file) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    std::array<uint8_t, 65536> chunk{};
    // Stops at the end of the file, or at an error, which leaves it short.
    while (bytes.size() < LARGEST_FILE_READ && std::feof(file) == 0 && std::ferror(file) == 0) {
        const size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<long>(got));
    }
    std::fclose(file);
    return FoundFile{path, bytes.size(), readPeFacts(bytes)};
}

std::string describeMachine(uint16_t machine) {
    const int bits = peMachineBits(machine);
    return bits == 0 ? peMachineName(machine)
                     : std::to_string(bits) + "-bit (" + peMachineName(machine) + ")";
}

// Which DLL from the release the host needs.
std::string releaseDllFor(const std::optional<FoundFile>& host) {
    if (host && host->facts.isPe && host->facts.machine == PE_MACHINE_X86) {
        return "x86\\GLIMRA.dll from the release";
    }
    if (host && host->facts.isPe && host->facts.machine == PE_MACHINE_X64) {
        return "x64\\GLIMRA.dll from the release";
    }
    return "x86\\GLIMRA.dll (for a 32-bit tarvex.exe) or x64\\GLIMRA.dll (for a 64-bit one) "
           "from the release";
}

bool exportsName(const PeFacts& facts, const char* name) {
    return std::any_of(facts.exportNames.begin(), facts.exportNames.end(),
                       [name](const std::string& exported) { return exported == name; });
}

// The entry points that facts does (or does not) export, joined by commas.
std::string entryPoints(const PeFacts& facts, bool exported) {
    std::string names;
    for (const char* name : ENTRY_POINTS) {
        if (exportsName(facts, name) == exported) {
            names += std::string(names.empty() ? "" : ", ") + name;
        }
    }
    return names;
}

std::string describePlugin(const FoundFile& plugin) {
    const PeFacts& facts = plugin.facts;
    std::string text = std::string(PLUGIN_FILE) + ": " + plugin.path + ": " +
                       describeMachine(facts.machine) + (facts.isDll ? " DLL" : " program");
    if (facts.hasVersion) {
        text += ", product " + (facts.productName.empty() ? "(none)" : facts.productName) +
                ", file version " + (facts.fileVersion.empty() ? "(none)" : facts.fileVersion);
    } else {
        text += ", no version resource";
    }
    const std::string exported = entryPoints(facts, true);
    return text + ", exports " + (exported.empty() ? "none of the entry points" : exported);
}

// Warnings about the DLL, the most basic first; each ends with its fix.
void checkPlugin(const FoundFile& plugin, const std::optional<FoundFile>& host,
                 std::vector<InstallationFinding>& warnings) {
    const PeFacts& facts = plugin.facts;
    const std::string name = PLUGIN_FILE;
    const std::string fix = "replace it with " + releaseDllFor(host);
    if (!facts.isPe) {
        warnings.push_back({true, name + " is not a Windows DLL (" + facts.problem + "): " + fix});
    } else if (facts.neededSize > plugin.size) {
        warnings.push_back({true, name + " is cut short: it has " + std::to_string(plugin.size) +
                                      " of its " + std::to_string(facts.neededSize) +
                                      " bytes: " + fix});
    } else if (!facts.isDll) {
        warnings.push_back({true, name + " is a Windows program, not a DLL: " + fix});
    } else if (facts.productName != "Glimra") {
        warnings.push_back({true, name + " is not Glimra: no version resource names it: " + fix});
    } else {
        const std::string missing = entryPoints(facts, false);
        if (!missing.empty()) {
            const char* why = facts.exportsOutsideFile
                                  ? "its export table points past the end of the file"
                                  : "it may be damaged";
            warnings.push_back({true, name + " lacks " + missing +
                                          ", so tarvex.exe cannot start it; " + why + ": " + fix});
        }
        if (host && host->facts.isPe && host->facts.machine != facts.machine) {
            warnings.push_back({true, std::string(HOST_FILE) + " is " +
                                          describeMachine(host->facts.machine) + "; this " + name +
                                          " is " + describeMachine(facts.machine) +
                                          ", which it cannot load: use " + releaseDllFor(host)});
        }
    }
}

} // namespace

std::vector<InstallationFinding> checkInstallation(const std::string& pluginDirectory,
                                                   const std::string& hostDirectory) {
    std::vector<InstallationFinding> findings;
    const std::optional<FoundFile> plugin = findAndRead(pluginDirectory, PLUGIN_FILE);
    const std::optional<FoundFile> host = findAndRead(hostDirectory, HOST_FILE);
    if (!plugin && !host) {
        return findings;
    }
    if (!plugin) {
        findings.push_back({false, std::string("note: no ") + PLUGIN_FILE + " in " +
                                       pluginDirectory + ": put " + releaseDllFor(host) +
                                       " there"});
    } else if (plugin->facts.isPe) {
        findings.push_back({false, describePlugin(*plugin)});
    }
    if (!host) {
        findings.push_back({false, std::string("note: no ") + HOST_FILE + " in " + hostDirectory +
                                       ": cannot tell which GLIMRA.dll it needs"});
    } else if (host->facts.isPe) {
        findings.push_back({false, std::string(HOST_FILE) + ": " + host->path + ": " +
                                       describeMachine(host->facts.machine) + " program"});
    } else {
        findings.push_back({true, std::string(HOST_FILE) + " is not a Windows program (" +
                                      host->facts.problem + ")"});
    }
    if (plugin) {
        checkPlugin(*plugin, host, findings);
    }
    return findings;
}
