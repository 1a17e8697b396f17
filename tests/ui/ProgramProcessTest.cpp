// SPDX-License-Identifier: MIT
//
// The corvane executable as a process on Qt's offscreen platform: its failure
// paths end with a message and a status, never a hang; it starts the stand-in
// simulator when it is not running, installs the missing IPC module and
// restarts a simulator that runs without it; it ends when the simulator closes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/ui/StandInProcess.h"

namespace corvane::testing {
namespace {

using ::testing::HasSubstr;

const std::string kAppDir = CORVANE_TEST_APP_DIR "/";
const std::string kProgram = kAppDir + "corvane";
const std::string kSimulatorDir = CORVANE_TEST_SIM_DIR "/";

class ProgramProcessTest : public ::testing::Test {
  protected:
    ProgramProcessTest() {
        std::filesystem::create_directories(scratch.Path("desktop"));
        std::filesystem::permissions(scratch.Path("desktop"), std::filesystem::perms::owner_all);
        std::filesystem::create_directories(scratch.Path("runtime"));
        std::filesystem::permissions(scratch.Path("runtime"), std::filesystem::perms::owner_all);
        env = {"QT_QPA_PLATFORM=offscreen", "CORVANE_DESKTOP=" + scratch.Path("desktop"),
               "CORVANE_REGISTRY=" + scratch.Path("registry.ini"),
               "XDG_RUNTIME_DIR=" + scratch.Path("runtime")};
        ::setenv("CORVANE_DESKTOP", scratch.Path("desktop").c_str(), 1);
    }
    ~ProgramProcessTest() override {
        // A simulator the program started is ended by its process id.
        if (const pid_t pid = SimulatorPid(); pid > 0)
            ::kill(pid, SIGTERM);
        ::unsetenv("CORVANE_DESKTOP");
    }
    void Register(const std::string& simulatorProgram) {
        ASSERT_TRUE(desktop::WriteRegistryString(
            scratch.Path("registry.ini"), host::RegistryRoot::LocalMachine,
            "Software\\CLASSES\\flight simulator", "defaulticon", simulatorProgram + ",1"));
    }
    // A simulator folder of its own: the stand-in's program, with or without
    // its module.
    std::string CopySimulator(bool withModule) {
        const std::string folder = scratch.Path("FS98") + "/";
        std::filesystem::create_directories(folder + "modules");
        std::filesystem::copy_file(kSimulatorDir + "fltsim98.exe", folder + "fltsim98.exe");
        if (withModule) {
            std::filesystem::copy_file(kSimulatorDir + "modules/FS6IPC.dll",
                                       folder + "modules/FS6IPC.dll");
        }
        return folder;
    }
    std::string Output() const { return ReadText(scratch.Path("corvane.log")); }

    TempFolder scratch;
    std::vector<std::string> env;
    ChildProcess program;
};

TEST_F(ProgramProcessTest, HelpAndUnknownOptions) {
    ASSERT_TRUE(program.Start({kProgram, "--help"}, env, scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(10), 0);
    EXPECT_THAT(Output(), HasSubstr("Usage: corvane"));
    ASSERT_TRUE(program.Start({kProgram, "--bogus"}, env, scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(10), 2);
}

TEST_F(ProgramProcessTest, WithoutADisplayItSaysHowToRunIt) {
    ASSERT_TRUE(program.Start({kProgram}, {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="},
                              scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(10), 2);
    EXPECT_THAT(Output(), HasSubstr("xvfb-run"));
}

TEST_F(ProgramProcessTest, DesktopDirectoryOthersCanWriteStopsItWithTheReason) {
    std::filesystem::permissions(scratch.Path("desktop"), std::filesystem::perms::all);
    ASSERT_TRUE(program.Start({kProgram}, env, scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(10), 1);
    EXPECT_THAT(Output(), HasSubstr("the desktop directory " + scratch.Path("desktop") +
                                    " cannot be trusted: other users have access to it"));
}

TEST_F(ProgramProcessTest, DataFolderFromTheOptionOrTheSettingMustHoldTheDatabase) {
    // A folder without the database is refused before any window, naming the file.
    const std::string empty = scratch.Path("empty");
    std::filesystem::create_directories(empty);
    ASSERT_TRUE(program.Start({kProgram, "--data", empty}, env, scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(10), 2);
    EXPECT_THAT(Output(), HasSubstr(empty + "/airdata.tri (from --data) does not exist"));

    // --remember-data keeps a good folder as the setting; the next start uses it, and
    // start-up gets past the data to the missing simulator.
    ASSERT_TRUE(program.Start({kProgram, "--data", kAppDir, "--remember-data"}, env,
                              scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(30), 1);
    EXPECT_THAT(Output(), HasSubstr("saved in " + scratch.Path("registry.ini")));
    EXPECT_THAT(Output(), HasSubstr("Can't locate Flight Simulator 98"));
    const auto setting =
        desktop::ReadRegistryValue(scratch.Path("registry.ini"), host::RegistryRoot::CurrentUser,
                                   "Software\\Corvane", "DataFolder");
    ASSERT_TRUE(setting.has_value());
    EXPECT_THAT(setting->text, HasSubstr(CORVANE_TEST_APP_DIR));

    // A setting naming a folder that lost its database is named as the setting.
    ASSERT_TRUE(desktop::WriteRegistryString(scratch.Path("registry.ini"),
                                             host::RegistryRoot::CurrentUser, "Software\\Corvane",
                                             "DataFolder", empty));
    ASSERT_TRUE(program.Start({kProgram}, env, scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(10), 2);
    EXPECT_THAT(Output(), HasSubstr("(from the setting DataFolder"));
}

TEST_F(ProgramProcessTest, NoSimulatorAndNoRegistryEntryEndsWithTheMessage) {
    ASSERT_TRUE(program.Start({kProgram}, env, scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(30), 1);
    EXPECT_THAT(Output(), HasSubstr("Error loading Flight Simulator: Can't locate Flight "
                                    "Simulator 98, please\nload FS98 and then re-start Corvane"));
}

TEST_F(ProgramProcessTest, SimulatorProgramThatCannotStartEndsWithTheMessage) {
    Register(scratch.Path("nowhere") + "/fltsim98.exe");
    ASSERT_TRUE(program.Start({kProgram}, env, scratch.Path("corvane.log")));
    EXPECT_EQ(program.Wait(30), 1);
    EXPECT_THAT(Output(), HasSubstr("Can't locate Flight Simulator 98"));
}

TEST_F(ProgramProcessTest, StartsTheSimulatorAndEndsWhenItCloses) {
    const std::string folder = CopySimulator(false);
    Register(folder + "fltsim98.exe");
    ASSERT_TRUE(program.Start({kProgram}, env, scratch.Path("corvane.log")));
    ASSERT_TRUE(WaitUntil(30, [] { return SimulatorPid() != 0; })) << Output();
    // The module was installed before the start, so the link answers.
    EXPECT_TRUE(std::filesystem::exists(folder + "modules/FS6IPC.dll"));
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(program.Wait(0), -1) << Output();  // running

    ::kill(SimulatorPid(), SIGTERM);
    EXPECT_EQ(program.Wait(5), 0) << Output();
}

TEST_F(ProgramProcessTest, SimulatorRunningWithoutItsModuleIsRestartedWithIt) {
    const std::string folder = CopySimulator(false);
    Register(folder + "fltsim98.exe");
    ChildProcess simulator({folder + "fltsim98.exe", "--headless"}, env, scratch.Path("sim.log"));
    ASSERT_TRUE(WaitUntil(10, [] { return SimulatorPid() != 0; }));
    const pid_t first = SimulatorPid();

    ASSERT_TRUE(program.Start({kProgram}, env, scratch.Path("corvane.log")));
    // Copied, asked to close, started again after five seconds.
    EXPECT_EQ(simulator.Wait(10), 0);  // it closed on the request
    EXPECT_TRUE(std::filesystem::exists(folder + "modules/FS6IPC.dll"));
    ASSERT_TRUE(WaitUntil(30, [&] {
        const pid_t now = SimulatorPid();
        return now != 0 && now != first;
    })) << Output();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(program.Wait(0), -1) << Output();  // running with the new simulator

    ::kill(SimulatorPid(), SIGTERM);
    EXPECT_EQ(program.Wait(5), 0) << Output();
}

}  // namespace
}  // namespace corvane::testing
