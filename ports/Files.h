// SPDX-License-Identifier: MIT
//
// Files and programs: testing for and copying a file, the platform's folder
// separator, and starting a program.
#pragma once

#include <string>
#include <vector>

namespace corvane::host {

class Files {
  public:
    virtual ~Files() = default;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
    // The platform's folder separator ("/" on POSIX, "\" on Windows).
    virtual char PathSeparator() = 0;
    // Starts a program with a normal window that gets the focus.
    virtual bool StartProgram(const std::string& path,
                              const std::vector<std::string>& arguments) = 0;
};

}  // namespace corvane::host
