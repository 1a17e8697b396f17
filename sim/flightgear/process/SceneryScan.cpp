// SPDX-License-Identifier: MIT
#include "sim/flightgear/process/SceneryScan.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace corvane::sim::flightgear {

namespace fs = std::filesystem;

namespace {

// "w030n60", "e005n55": a 10-degree or a 1-degree folder's name.
bool TileFolderName(const std::string& name) {
    if (name.size() != 7 || (name[0] != 'e' && name[0] != 'w') ||
        (name[4] != 'n' && name[4] != 's'))
        return false;
    for (int i : {1, 2, 3, 5, 6}) {
        if (name[std::size_t(i)] < '0' || name[std::size_t(i)] > '9')
            return false;
    }
    return true;
}

std::vector<fs::path> Subfolders(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->is_directory(kind) && TileFolderName(it->path().filename().string()))
            found.push_back(it->path());
    }
    return found;
}

}  // namespace

std::vector<std::string> SceneryFoldersFromEnvironment(const std::vector<std::string>& given,
                                                       const std::string& fgRoot) {
    SceneryFolderSources sources;
    sources.given = given;
    const char* scenery = std::getenv("FG_SCENERY");
    sources.environment = scenery != nullptr ? scenery : "";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        std::error_code ec;
        const fs::path terraSync = fs::path(home) / ".fgfs" / "TerraSync";
        if (fs::is_directory(terraSync, ec))
            sources.terraSync = terraSync.string();
    }
    sources.fgRoot = fgRoot;
    return SceneryFolders(sources);
}

InstalledTerrain ScanInstalledTerrain(const std::vector<std::string>& folders) {
    InstalledTerrain terrain;
    terrain.folders = folders;
    for (const std::string& folder : folders) {
        // A scenery folder keeps its terrain in Terrain/; older ones hold the
        // tile folders themselves.
        std::error_code ec;
        fs::path root = fs::path(folder) / "Terrain";
        if (!fs::is_directory(root, ec))
            root = folder;
        for (const fs::path& block : Subfolders(root)) {
            for (const fs::path& degree : Subfolders(block)) {
                const std::string relative =
                    block.filename().string() + "/" + degree.filename().string();
                for (fs::directory_iterator it(degree, ec), end; !ec && it != end; it.increment(ec))
                    terrain.AddFile(relative, it->path().filename().string());
            }
        }
    }
    return terrain;
}

}  // namespace corvane::sim::flightgear
