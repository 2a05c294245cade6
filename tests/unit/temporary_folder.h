// Real files for the host's functions to find: a fresh folder, removed with
// everything in it at the end of the scope.
#pragma once

#include <string>
#include <vector>

class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The folder as the plug-in names it, Windows style: "/tmp/glimra-unit-Xy12\".
    const std::string& pluginStylePath() const { return path; }

  private:
    std::string path;
};

// Writes lines, each ended by "\n", to the file at path (written as the plug-in
// writes paths); a missing folder on the way is made.
void writeLines(const std::string& path, const std::vector<std::string>& lines);
