#include "temporary_folder.h"

#include "host/host_functions.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <string>
#include <vector>

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "glimra-unit-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    path = pattern + "\\";
}

TemporaryFolder::~TemporaryFolder() {
    std::filesystem::remove_all(nativePath(path.c_str()));
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
    const std::filesystem::path file = nativePath(path.c_str());
    std::filesystem::create_directories(file.parent_path());
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        std::abort(); // a test that cannot write its files proves nothing
    }
    for (const std::string& line : lines) {
        std::fputs((line + "\n").c_str(), out);
    }
    std::fclose(out);
}
