// SPDX-License-Identifier: MIT
#include "platform/posix/DesktopTrust.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/posix/Desktop.h"

namespace corvane::desktop {
namespace {

std::string Octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string Explain(const std::string& path, const std::string& reason) {
    return "the desktop directory " + path + " cannot be trusted: " + reason +
           " (remove it, or set CORVANE_DESKTOP to a directory of your own with mode 0700)";
}

}  // namespace

std::string DirectoryDistrust(const std::string& path, uid_t uid) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return std::string("cannot examine it: ") + std::strerror(errno);
    if (S_ISLNK(st.st_mode))
        return "it is a symbolic link";
    if (!S_ISDIR(st.st_mode))
        return "it is not a directory";
    if (st.st_uid != uid) {
        return "it belongs to user " + std::to_string(st.st_uid) + ", not to you (user " +
               std::to_string(uid) + ")";
    }
    if ((st.st_mode & 077) != 0) {
        return "other users have access to it (mode " + Octal(st.st_mode) + ", must be 0700)";
    }
    return {};
}

bool PrepareDesktopDirectory(std::string* error) {
    const std::string dir = DesktopDirectory();
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = "cannot create the desktop directory " + dir + ": " + std::strerror(errno);
        return false;
    }
    const std::string reason = DirectoryDistrust(dir, ::geteuid());
    if (reason.empty())
        return true;
    if (error)
        *error = Explain(dir, reason);
    return false;
}

std::string DesktopDirectoryProblem() {
    const std::string dir = DesktopDirectory();
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 && errno == ENOENT)
        return {};
    const std::string reason = DirectoryDistrust(dir, ::geteuid());
    return reason.empty() ? std::string{} : Explain(dir, reason);
}

bool PeerIsSameUser(int socket) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 ||
        length != sizeof peer) {
        return false;
    }
    return peer.uid == ::geteuid();
}

}  // namespace corvane::desktop
