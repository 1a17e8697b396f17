// SPDX-License-Identifier: MIT
#include "app/startup/ProgramOptions.h"

#include <cstring>

namespace corvane::startup {

std::string ReadProgramOptions(int argc, char** argv,
                               const std::function<std::string(const std::string&)>& fullPath,
                               bool windowsHelp, ProgramOptions* options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc && argv[i + 1][0] != '\0';
        if (std::strcmp(arg, "--data") == 0) {
            if (!hasValue)
                return "--data needs a folder";
            options->dataFolder = fullPath(argv[++i]);
        } else if (std::strcmp(arg, "--remember-data") == 0) {
            options->rememberData = true;
        } else if (std::strcmp(arg, "--screenshot") == 0) {
            if (!hasValue)
                return "--screenshot needs a file name";
            options->screenshot = argv[++i];
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0 ||
                   (windowsHelp && std::strcmp(arg, "/?") == 0)) {
            options->help = true;
            return {};
        } else if (std::strcmp(arg, "--version") == 0) {
            options->version = true;
            return {};
        } else {
            return std::string("unknown option ") + arg + " (see --help)";
        }
    }
    return {};
}

namespace {

// The program ends before it starts with a status and the line that says why.
CommandLineOutcome EndWith(int exitStatus, const std::string& why) {
    CommandLineOutcome outcome;
    outcome.exitStatus = exitStatus;
    outcome.error = "corvane: " + why + "\n";
    return outcome;
}

}  // namespace

std::string OptionsProblem(const ProgramOptions& options) {
    if (options.rememberData && options.dataFolder.empty())
        return "--remember-data needs --data DIR";
    return {};
}

CommandLineOutcome ReadCommandLine(int argc, char** argv,
                                   const std::function<std::string(const std::string&)>& fullPath,
                                   bool windowsHelp, const std::string& helpText,
                                   const std::function<std::string()>& hostProblem,
                                   ProgramOptions* options) {
    if (const std::string mistake = ReadProgramOptions(argc, argv, fullPath, windowsHelp, options);
        !mistake.empty())
        return EndWith(2, mistake);
    CommandLineOutcome outcome;
    if (options->help || options->version) {
        outcome.output = options->help ? helpText : "corvane 0.1.0\n";
        return outcome;
    }
    if (const std::string problem = hostProblem ? hostProblem() : std::string(); !problem.empty())
        return EndWith(1, problem);
    if (const std::string lacking = OptionsProblem(*options); !lacking.empty())
        return EndWith(2, lacking);
    outcome.run = true;
    return outcome;
}

std::string ChooseDataFolder(const std::string& option, const DataFolderSources& sources,
                             std::string* error) {
    std::string chosen = option;
    std::string origin = "--data";
    if (chosen.empty() && sources.setting && sources.setting->isString) {
        chosen = sources.setting->text;
        while (!chosen.empty() && chosen.back() == '\0')
            chosen.pop_back();
        origin = sources.settingOrigin;
    }
    if (chosen.empty())
        return sources.defaultFolder;
    if (sources.separators.find(chosen.back()) == std::string_view::npos)
        chosen += sources.separators.front();
    if (!sources.fileExists(chosen + "airdata.tri")) {
        *error = chosen + "airdata.tri (from " + origin + ") does not exist";
        if (sources.suggestConverter)
            *error += "; build it with corvane-navdata --out-dir " + chosen;
        return std::string();
    }
    return chosen;
}

CommandLineOutcome SettleDataFolder(
    const ProgramOptions& options, const DataFolderSources& sources,
    const std::function<bool(const std::string& folder, std::string* error)>& save,
    const std::string& savedWhere, std::string* dataFolder) {
    std::string error;
    *dataFolder = ChooseDataFolder(options.dataFolder, sources, &error);
    if (dataFolder->empty())
        return EndWith(2, error);
    if (options.rememberData && !save(*dataFolder, &error))
        return EndWith(1, "cannot save the setting: " + error);
    CommandLineOutcome outcome;
    outcome.run = true;
    if (options.rememberData)
        outcome.output = "corvane: data folder " + *dataFolder + " saved" + savedWhere + "\n";
    return outcome;
}

}  // namespace corvane::startup
