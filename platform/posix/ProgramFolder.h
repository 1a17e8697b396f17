// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace corvane::desktop {

// The folder of the running executable, ending in "/". Symbolic links are
// followed, so /usr/bin/corvane linked to /usr/lib/corvane/corvane gives
// /usr/lib/corvane/.
std::string ProgramFolder();

// Where the data files (airdata.tri, COAST2.int, cv.html) of a program in
// programFolder may lie, in the order they are looked at, each ending in "/":
// the program's folder itself (the build's layout), then <prefix>/share/corvane/
// for each folder above it, up to four levels (a program installed in
// /usr/lib/corvane/, /usr/lib/corvane/fs98/ or /usr/bin/ finds /usr/share/corvane/).
std::vector<std::string> DataFolderCandidates(const std::string& programFolder);

// The first of DataFolderCandidates that holds fileName; programFolder when
// none does (the program then names the file it misses there).
std::string DataFolder(const std::string& programFolder,
                       const std::string& fileName = "airdata.tri");

}  // namespace corvane::desktop
