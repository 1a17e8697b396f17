// SPDX-License-Identifier: MIT
//
// Where the data files are looked for: beside the program as built, or under
// share/corvane/ as installed. Plain file-system calls only, so that the
// Windows stand-in shares it.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/ProgramFolder.h"

namespace corvane::desktop {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\'))
        folder += '/';
    return folder;
}

}  // namespace

std::vector<std::string> DataFolderCandidates(const std::string& programFolder) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders{WithSlash(programFolder)};
    fs::path above = fs::path(WithSlash(programFolder)).parent_path();
    for (int level = 0; level < 4 && above.has_relative_path(); ++level) {
        above = above.parent_path();
        folders.push_back(WithSlash((above / "share" / "corvane").string()));
    }
    return folders;
}

std::string DataFolder(const std::string& programFolder, const std::string& fileName) {
    for (const std::string& folder : DataFolderCandidates(programFolder)) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder + fileName, ec))
            return folder;
    }
    return WithSlash(programFolder);
}

}  // namespace corvane::desktop
