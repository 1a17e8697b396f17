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

// What the command line decides before anything starts: go on, or end at once
// with a text for standard output (the help, the version) or a line for
// standard error ("corvane: " and what is wrong) and a status.
struct CommandLineOutcome {
    bool run = false;
    int exitStatus = 0;
    std::string output;
    std::string error;
};

// Reads the options as ReadProgramOptions does and decides in this order: a
// mistake ends with status 2; --help with helpText, --version with the
// version, both status 0; then hostProblem (what stops this host from running
// at all, empty when nothing does; may be null) ends with status 1; then
// OptionsProblem with status 2.
CommandLineOutcome ReadCommandLine(int argc, char** argv,
                                   const std::function<std::string(const std::string&)>& fullPath,
                                   bool windowsHelp, const std::string& helpText,
                                   const std::function<std::string()>& hostProblem,
                                   ProgramOptions* options);

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

// The data folder chosen as ChooseDataFolder does, into *dataFolder, and with
// --remember-data saved as the setting by save(folder, &error). A folder
// without the database ends the program with status 2, a setting that cannot
// be saved with status 1; else the outcome runs on, its output the line that
// says where the setting was saved (savedWhere ends it: " in FILE", or empty).
CommandLineOutcome SettleDataFolder(
    const ProgramOptions& options, const DataFolderSources& sources,
    const std::function<bool(const std::string& folder, std::string* error)>& save,
    const std::string& savedWhere, std::string* dataFolder);

}  // namespace corvane::startup
