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
    CommandLineOutcome outcome;
    if (const std::string mistake = ReadProgramOptions(argc, argv, fullPath, windowsHelp, options);
        !mistake.empty()) {
        outcome.exitStatus = 2;
        outcome.error = "corvane: " + mistake + "\n";
    } else if (options->help) {
        outcome.output = helpText;
    } else if (options->version) {
        outcome.output = "corvane 0.1.0\n";
    } else if (const std::string problem = hostProblem ? hostProblem() : std::string();
               !problem.empty()) {
        outcome.exitStatus = 1;
        outcome.error = "corvane: " + problem + "\n";
    } else if (const std::string lacking = OptionsProblem(*options); !lacking.empty()) {
        outcome.exitStatus = 2;
        outcome.error = "corvane: " + lacking + "\n";
    } else {
        outcome.run = true;
    }
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
    CommandLineOutcome outcome;
    std::string error;
    *dataFolder = ChooseDataFolder(options.dataFolder, sources, &error);
    if (dataFolder->empty()) {
        outcome.exitStatus = 2;
        outcome.error = "corvane: " + error + "\n";
    } else if (options.rememberData && !save(*dataFolder, &error)) {
        outcome.exitStatus = 1;
        outcome.error = "corvane: cannot save the setting: " + error + "\n";
    } else {
        outcome.run = true;
        if (options.rememberData)
            outcome.output = "corvane: data folder " + *dataFolder + " saved" + savedWhere + "\n";
    }
    return outcome;
}

}  // namespace corvane::startup
