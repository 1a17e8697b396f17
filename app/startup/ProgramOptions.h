// SPDX-License-Identifier: MIT
//
// The program's command line and the choice of its data folder, the same for
// the program on Linux and on Windows; each shell prints its own help text
// and reads the setting by its platform's means.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ports/HostTypes.h"

namespace corvane::startup {

// The program's settings: the key (under the user's root) and the value
// naming the data folder.
inline constexpr const char* kSettingsKey = "Software\\Corvane";
inline constexpr const char* kDataFolderValue = "DataFolder";

struct ProgramOptions {
    std::string dataFolder;  // --data DIR, made a full path; empty without it
    bool rememberData = false;
    std::string screenshot;  // --screenshot FILE
    bool help = false;       // --help or -h (on Windows also /?): nothing else is read
    bool version = false;    // --version: nothing else is read
};

// Reads the options in argv[1..argc-1]. fullPath makes the --data folder a
// full path; windowsHelp takes "/?" for --help too. Returns what is wrong
// (the shell prints it after "corvane: " and ends with status 2), or empty.
std::string ReadProgramOptions(int argc, char** argv,
                               const std::function<std::string(const std::string&)>& fullPath,
                               bool windowsHelp, ProgramOptions* options);

// What the options read lack together: --remember-data without --data.
std::string OptionsProblem(const ProgramOptions& options);

// Where the data folder may come from besides --data.
struct DataFolderSources {
    std::optional<host::RegistryValue> setting;  // the DataFolder setting as read
    std::string settingOrigin;                   // how the error names the setting
    std::string defaultFolder;                   // without --data and the setting
    std::string_view separators;                 // a folder ending in none of them gets the first
    std::function<bool(const std::string&)> fileExists;
    bool suggestConverter = false;  // the error names corvane-navdata's command
};

// The folder of the data files: --data, else the DataFolder setting (its
// terminating zeros taken off), else the default. Empty with *error set when
// the chosen folder lacks the database.
std::string ChooseDataFolder(const std::string& option, const DataFolderSources& sources,
                             std::string* error);

}  // namespace corvane::startup
