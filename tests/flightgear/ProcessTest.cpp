// SPDX-License-Identifier: MIT
//
// The FlightGear process and the stand-in's FlightGear backend against a fake
// fgfs that speaks the same protocol: start-up, the streams both ways, and
// what happens when FlightGear cannot start or ends.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "ChildProcess.h"
#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/Protocol.h"
#include "sim/flightgear/process/FlightGearProcess.h"
#include "sim/model/ImageBinding.h"

namespace corvane::sim::flightgear {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class FlightGearProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        work = fs::temp_directory_path() /
               ("corvane-fg-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work);
        fs::create_directories(work / "installed" / "Aircraft");
        fs::create_directories(work / "installed" / "Protocol");
        std::ofstream(work / "installed" / "Protocol" / "playback.xml") << "<PropertyList/>\n";
        // A session bus as on a desktop: the fake is started as it is, not
        // inside a D-Bus session of its own.
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    }
    void TearDown() override {
        unsetenv("FAKE_FGFS_LIFETIME");
        unsetenv("FAKE_FGFS_SILENT");
        fs::remove_all(work);
    }
    desktop::FlightGearProcess::Options Options() const {
        desktop::FlightGearProcess::Options o;
        o.plan.fgfs = CORVANE_TEST_FAKE_FGFS;
        o.plan.ownWindow = true;  // the fake needs no virtual screen
        o.plan.airport = "KSFO";
        o.installedRoot = (work / "installed").string();
        o.workFolder = (work / "cache").string();
        return o;
    }
    fs::path work;
};

TEST_F(FlightGearProcessTest, StreamsBothWaysAndReportsTheEndWithItsLog) {
    setenv("FAKE_FGFS_LIFETIME", "2", 1);
    desktop::FlightGearProcess process;
    std::string error;
    ASSERT_TRUE(process.Start(Options(), &error)) << error;
    // FlightGear is given a data folder with the protocol file.
    const fs::path data = work / "cache" / "data";
    EXPECT_EQ(ReadFile((data / "Protocol" / "corvane.xml").string()), ProtocolFileText());
    EXPECT_EQ(fs::status(work / "cache").permissions() & fs::perms::others_all, fs::perms::none);

    BackendOptions options;
    FlightGearSimulator sim(process, options);
    ControlInputs in;
    in.throttle = {0.6, 0, 0, 0};
    ImageBinding::WriteInputs(in, sim.Variables());
    int steps = 0;
    const bool ended = sim::test::WaitUntil(
        [&] {
            steps += sim.Advance(0.01);
            return !sim.Failure().empty();
        },
        10s);
    ASSERT_TRUE(ended);
    EXPECT_GT(steps, 30);  // about 60 frames in two seconds
    EXPECT_LT(sim.State().altitudeM, 3000.0 * 0.3048);
    EXPECT_NE(sim.Failure().find("FlightGear ended with status 3"), std::string::npos)
        << sim.Failure();
    EXPECT_NE(sim.Failure().find(process.LogPath()), std::string::npos) << sim.Failure();
    // The fake read the controls it was sent.
    const std::string log = ReadFile(process.LogPath());
    EXPECT_NE(log.find("arg --data=" + data.string()), std::string::npos) << log;
    EXPECT_NE(log.find("unreadable 0, last throttle 0.600"), std::string::npos) << log;
    EXPECT_EQ(log.find("commands received 0,"), std::string::npos) << log;
}

TEST_F(FlightGearProcessTest, TwoAtOnceEachHaveAHomeOfTheirOwn) {
    setenv("FAKE_FGFS_LIFETIME", "5", 1);
    auto homeOf = [](const desktop::FlightGearProcess& p) {
        const std::string log = ReadFile(p.LogPath());
        const std::size_t at = log.find("home ");
        return at == std::string::npos ? std::string()
                                       : log.substr(at + 5, log.find('\n', at) - at - 5);
    };
    auto waitForLog = [&](const desktop::FlightGearProcess& p) {
        return sim::test::WaitUntil([&] { return !homeOf(p).empty(); }, 10s);
    };
    std::string error;
    auto first = std::make_unique<desktop::FlightGearProcess>();
    desktop::FlightGearProcess second;
    ASSERT_TRUE(first->Start(Options(), &error)) << error;
    ASSERT_TRUE(second.Start(Options(), &error)) << error;
    EXPECT_EQ(first->Slot(), 0);
    EXPECT_EQ(second.Slot(), 1);
    EXPECT_NE(first->LogPath(), second.LogPath());
    ASSERT_TRUE(waitForLog(*first));
    ASSERT_TRUE(waitForLog(second));
    EXPECT_EQ(homeOf(*first), (work / "cache" / "home").string());
    EXPECT_EQ(homeOf(second), (work / "cache" / "home-1").string());
    const std::string log = ReadFile(second.LogPath());
    EXPECT_NE(log.find("arg --data=" + (work / "cache" / "data-1").string()), std::string::npos)
        << log;
    // Slot 0 is free again once its FlightGear is gone.
    first.reset();
    desktop::FlightGearProcess third;
    ASSERT_TRUE(third.Start(Options(), &error)) << error;
    EXPECT_EQ(third.Slot(), 0);
}

TEST_F(FlightGearProcessTest, WhatIsMissingIsNamed) {
    std::string error;
    {
        auto o = Options();
        o.plan.fgfs = (work / "no-such-fgfs").string();
        desktop::FlightGearProcess process;
        EXPECT_FALSE(process.Start(o, &error));
        EXPECT_NE(error.find("install the packages flightgear and flightgear-data-base"),
                  std::string::npos)
            << error;
    }
    {
        auto o = Options();
        o.installedRoot = (work / "nowhere").string();
        desktop::FlightGearProcess process;
        EXPECT_FALSE(process.Start(o, &error));
        EXPECT_NE(error.find((work / "nowhere").string() + " has no Aircraft folder"),
                  std::string::npos)
            << error;
    }
}

// The stand-in with FlightGear behind it: it serves while FlightGear runs,
// and when FlightGear ends it says so, names the log and ends (its window
// goes away), as a simulator that quits.
TEST_F(FlightGearProcessTest, StandInEndsWhenFlightGearEnds) {
    const fs::path desktopFolder = work / "desktop";
    fs::create_directories(desktopFolder);
    fs::permissions(desktopFolder, fs::perms::owner_all);
    setenv("CORVANE_DESKTOP", desktopFolder.c_str(), 1);
    setenv("FAKE_FGFS_LIFETIME", "2", 1);
    setenv("FG_ROOT", (work / "installed").c_str(), 1);
    setenv("XDG_CACHE_HOME", (work / "cache").c_str(), 1);
    const std::string log = (work / "fgfs.log").string();
    sim::test::ChildProcess standIn(
        std::string(CORVANE_TEST_SIM_DIR) + "/fltsim98.exe",
        {"--headless", "--backend", "flightgear", "--fgfs", CORVANE_TEST_FAKE_FGFS, "--fg-window",
         "--fg-log", log, "--airport", "KSFO", "--runway", "28R", "--final", "10", "--log",
         (work / "trace.csv").string()},
        (work / "out.txt").string());
    ASSERT_TRUE(standIn.Started());
    const auto status = standIn.WaitForExit(15s);
    unsetenv("CORVANE_DESKTOP");
    unsetenv("FG_ROOT");
    unsetenv("XDG_CACHE_HOME");
    ASSERT_TRUE(status) << standIn.Output();
    EXPECT_EQ(*status, 1) << standIn.Output();
    const std::string out = standIn.Output();
    EXPECT_NE(out.find("fltsim98.exe: FlightGear ended with status 3; its log is " + log),
              std::string::npos)
        << out;
    // The final by position from the stand-in's database, not by FlightGear's
    // runway name: 10 nm out from 28R's threshold, in the air.
    const std::string fgLog = ReadFile(log);
    EXPECT_EQ(fgLog.find("arg --runway="), std::string::npos) << fgLog;
    EXPECT_NE(fgLog.find("arg --lat=37.53"), std::string::npos) << fgLog;
    EXPECT_NE(fgLog.find("arg --in-air"), std::string::npos) << fgLog;
    // The trace has the frames the fake sent, descending.
    const std::string trace = ReadFile((work / "trace.csv").string());
    EXPECT_GT(std::count(trace.begin(), trace.end(), '\n'), 30) << trace.substr(0, 500);
    // Nothing of the simulator is left on the desktop.
    int published = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(desktopFolder))
        ++published;
    EXPECT_EQ(published, 0);
}

// A stand-in that is killed leaves no FlightGear behind.
TEST_F(FlightGearProcessTest, FlightGearEndsWithTheStandInHoweverItEnds) {
    const fs::path desktopFolder = work / "desktop";
    fs::create_directories(desktopFolder);
    fs::permissions(desktopFolder, fs::perms::owner_all);
    const std::string pidFile = (work / "fake.pid").string();
    setenv("CORVANE_DESKTOP", desktopFolder.c_str(), 1);
    setenv("FAKE_FGFS_LIFETIME", "60", 1);
    setenv("FAKE_FGFS_PIDFILE", pidFile.c_str(), 1);
    setenv("FG_ROOT", (work / "installed").c_str(), 1);
    setenv("XDG_CACHE_HOME", (work / "cache").c_str(), 1);
    sim::test::ChildProcess standIn(
        std::string(CORVANE_TEST_SIM_DIR) + "/fltsim98.exe",
        {"--headless", "--backend", "flightgear", "--fgfs", CORVANE_TEST_FAKE_FGFS, "--fg-window"},
        (work / "out.txt").string());
    unsetenv("CORVANE_DESKTOP");
    unsetenv("FAKE_FGFS_PIDFILE");
    unsetenv("FG_ROOT");
    unsetenv("XDG_CACHE_HOME");
    pid_t fake = 0;
    ASSERT_TRUE(sim::test::WaitUntil(
        [&] {
            std::ifstream in(pidFile);
            return static_cast<bool>(in >> fake);
        },
        10s));
    EXPECT_EQ(kill(fake, 0), 0);
    standIn.Signal(SIGKILL);
    standIn.WaitForExit(5s);
    EXPECT_TRUE(sim::test::WaitUntil([&] { return kill(fake, 0) != 0; }, 5s))
        << "fake FlightGear " << fake << " still runs";
}

}  // namespace
}  // namespace corvane::sim::flightgear
