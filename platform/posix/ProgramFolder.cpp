// SPDX-License-Identifier: MIT
#include "platform/posix/ProgramFolder.h"

#include <limits.h>
#include <unistd.h>

#include <filesystem>

namespace corvane::desktop {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

}  // namespace

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<std::size_t>(n));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

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
