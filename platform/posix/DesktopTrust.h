// SPDX-License-Identifier: MIT
//
// When the desktop stand-in trusts what it finds. Whoever can write into the
// desktop directory can publish a window of any class and answer the link, and
// whoever can connect to a window's socket can send it messages; so the
// directory must be the user's own and a window talks only to the user's own
// processes.
#pragma once

#include <sys/types.h>
#include <string>

namespace corvane::desktop {

// Why the directory at path cannot be trusted by the user uid, or "" when it
// can: it must be a real directory (not a symbolic link), owned by uid, with no
// access for group or others (the rules for $XDG_RUNTIME_DIR). A directory
// that does not exist is reported as such.
std::string DirectoryDistrust(const std::string& path, uid_t uid);

// Makes the desktop directory when it is missing (mode 0700) and checks it.
// False when it cannot be made or cannot be trusted; *error then names the
// directory and says why.
bool PrepareDesktopDirectory(std::string* error);

// The same check without making anything: "" when the desktop directory is
// missing or trusted, else a message that names it and says why it is not.
std::string DesktopDirectoryProblem();

// Whether the process at the other end of a connected Unix-domain socket runs
// as this process's user (its peer credentials).
bool PeerIsSameUser(int socket);

}  // namespace corvane::desktop
