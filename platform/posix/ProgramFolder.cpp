// SPDX-License-Identifier: MIT
#include "platform/posix/ProgramFolder.h"

#include <limits.h>
#include <unistd.h>

namespace corvane::desktop {

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<std::size_t>(n));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

}  // namespace corvane::desktop
