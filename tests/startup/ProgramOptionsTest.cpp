// SPDX-License-Identifier: MIT
//
// The command line of both shells: what it decides before anything starts,
// in the order the shells rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup/ProgramOptions.h"

namespace corvane::startup {
namespace {

struct CommandLineCase {
    std::vector<std::string> args;
    std::string hostProblem;  // what the host says stops it; empty when nothing
    bool run;
    int exitStatus;
    std::string output;
    std::string error;
};

CommandLineOutcome Decide(const CommandLineCase& c, ProgramOptions* options) {
    std::vector<std::string> words = {"corvane"};
    words.insert(words.end(), c.args.begin(), c.args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    return ReadCommandLine(
        int(argv.size()), argv.data(), [](const std::string& path) { return "/full/" + path; },
        true, "HELP\n", [&c] { return c.hostProblem; }, options);
}

TEST(CommandLine, DecidesInTheShellsOrder) {
    const std::vector<CommandLineCase> cases = {
        {{}, "", true, 0, "", ""},
        {{"--data", "d", "--remember-data", "--screenshot", "s.png"}, "", true, 0, "", ""},
        // A mistake wins over everything after it, even --help.
        {{"--bogus", "--help"}, "", false, 2, "", "corvane: unknown option --bogus (see --help)\n"},
        {{"--data"}, "", false, 2, "", "corvane: --data needs a folder\n"},
        {{"--screenshot", ""}, "", false, 2, "", "corvane: --screenshot needs a file name\n"},
        // Help and the version are shown even where the host could not run.
        {{"--help", "--bogus"}, "not safe", false, 0, "HELP\n", ""},
        {{"/?"}, "", false, 0, "HELP\n", ""},
        {{"--version"}, "not safe", false, 0, "corvane 0.1.0\n", ""},
        // The host's problem comes before what the options lack together.
        {{"--remember-data"}, "not safe", false, 1, "", "corvane: not safe\n"},
        {{"--remember-data"}, "", false, 2, "", "corvane: --remember-data needs --data DIR\n"},
    };
    for (const CommandLineCase& c : cases) {
        std::string shown;
        for (const std::string& a : c.args)
            shown += a + " ";
        SCOPED_TRACE(shown + "/ host: " + c.hostProblem);
        ProgramOptions options;
        const CommandLineOutcome outcome = Decide(c, &options);
        EXPECT_EQ(outcome.run, c.run);
        EXPECT_EQ(outcome.exitStatus, c.exitStatus);
        EXPECT_EQ(outcome.output, c.output);
        EXPECT_EQ(outcome.error, c.error);
    }
}

TEST(CommandLine, KeepsTheOptionsItRead) {
    ProgramOptions options;
    const CommandLineOutcome outcome =
        Decide({{"--data", "d", "--remember-data", "--screenshot", "s.png"}, "", true, 0, "", ""},
               &options);
    ASSERT_TRUE(outcome.run);
    EXPECT_EQ(options.dataFolder, "/full/d");
    EXPECT_TRUE(options.rememberData);
    EXPECT_EQ(options.screenshot, "s.png");
    // A shell without a host check passes none.
    std::string program = "corvane";
    char* argv[] = {program.data()};
    EXPECT_TRUE(ReadCommandLine(1, argv, nullptr, false, "", nullptr, &options).run);
}

// The data folder settled: chosen, and saved when asked, failing with the
// status and the line each shell prints.
TEST(CommandLine, SettlesTheDataFolderAndSavesItWhenAsked) {
    DataFolderSources sources;
    sources.defaultFolder = "/default/";
    sources.separators = "/";
    sources.fileExists = [](const std::string& path) { return path == "/given/airdata.tri"; };
    struct Case {
        std::string folder;
        bool remember;
        bool saves;
        bool run;
        int exitStatus;
        std::string output;
        std::string error;
        int saved;  // how often the setting was written
    };
    const std::vector<Case> cases = {
        {"/given", false, true, true, 0, "", "", 0},
        {"/given", true, true, true, 0, "corvane: data folder /given/ saved in FILE\n", "", 1},
        {"/given", true, false, false, 1, "", "corvane: cannot save the setting: denied\n", 1},
        // A folder without the database is never saved.
        {"/missing", true, true, false, 2, "",
         "corvane: /missing/airdata.tri (from --data) does not exist\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + (c.remember ? " remembered" : ""));
        ProgramOptions options;
        options.dataFolder = c.folder;
        options.rememberData = c.remember;
        int saved = 0;
        std::string folder;
        const CommandLineOutcome outcome = SettleDataFolder(
            options, sources,
            [&](const std::string&, std::string* error) {
                ++saved;
                if (!c.saves)
                    *error = "denied";
                return c.saves;
            },
            " in FILE", &folder);
        EXPECT_EQ(outcome.run, c.run);
        EXPECT_EQ(outcome.exitStatus, c.exitStatus);
        EXPECT_EQ(outcome.output, c.output);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(saved, c.saved);
        if (c.run) {
            EXPECT_EQ(folder, "/given/");
        }
    }
}

}  // namespace
}  // namespace corvane::startup
