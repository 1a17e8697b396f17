// SPDX-License-Identifier: MIT
//
// The link across two real processes: this test and a stand-in simulator
// (fltsim98.exe --headless) that it starts.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <thread>

#include "linklib/Connection.h"
#include "tests/link/SimulatorProcess.h"

extern char** environ;

namespace corvane::link {
namespace {

using corvane::testing::SimulatorProcess;
using Clock = std::chrono::steady_clock;

const std::string kSimulatorFolder = CORVANE_TEST_SIM_DIR;

long MillisecondsSince(Clock::time_point start) {
    return long(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class TwoProcessTest : public ::testing::Test {
  protected:
    void OpenLink() {
        ASSERT_EQ(link.fsworking(), 2);
        ASSERT_EQ(link.startit(), 1);
    }
    Connection link{SystemLinkPlatform()};
};

TEST_F(TwoProcessTest, BatchReadsTheStartStateAndWritesReadBack) {
    // Paused, so that the aircraft is exactly where it was started.
    SimulatorProcess sim(kSimulatorFolder, {"--paused", "--lat", "47.45", "--lon", "-122.31",
                                            "--alt", "5000", "--heading", "270", "--speed", "180"});
    ASSERT_TRUE(sim.Started());
    OpenLink();
    std::uint8_t position[36] = {};
    std::int32_t trueAirspeed = 0;
    const std::uint32_t marker = 0xDEADBEEF;
    std::uint32_t readBack = 0;
    ASSERT_EQ(link.startmessage(), 1);
    ASSERT_EQ(link.rawreadxbytes(36, 0x0560, position), 1);
    ASSERT_EQ(link.rawreadDWORD(0x02B8, &trueAirspeed), 1);
    ASSERT_EQ(link.rawwriteDWORD(0x3000, &marker), 1);
    ASSERT_EQ(link.rawreadDWORD(0x3000, &readBack), 1);
    ASSERT_EQ(link.sendmessage(), 1);

    std::int64_t latitudeRaw;
    std::memcpy(&latitudeRaw, position, 8);
    std::int32_t altitudeM;
    std::memcpy(&altitudeM, position + 20, 4);
    EXPECT_NEAR(latitudeRaw / 4294967296.0 * 45.0 / 5000875.0, 47.45, 1e-7);
    EXPECT_EQ(altitudeM, 1524);
    EXPECT_EQ(trueAirspeed, 180 * 128);
    EXPECT_EQ(readBack, marker);

    // Many batches in a row keep working (the cursor is back at the start).
    for (int i = 0; i < 100; ++i) {
        std::uint32_t v = 0;
        ASSERT_EQ(link.readDWORD(0x3000, &v), 1);
        ASSERT_EQ(v, marker);
    }
    link.stopit();
}

TEST_F(TwoProcessTest, DeadSimulatorFailsTheSendAtOnce) {
    SimulatorProcess sim(kSimulatorFolder, {});
    ASSERT_TRUE(sim.Started());
    OpenLink();
    std::uint32_t v = 0;
    ASSERT_EQ(link.readDWORD(0x02B8, &v), 1);
    sim.Kill();
    auto start = Clock::now();
    EXPECT_EQ(link.readDWORD(0x02B8, &v), 0);
    EXPECT_LT(MillisecondsSince(start), 500);
    link.stopit();
}

TEST_F(TwoProcessTest, HungSimulatorTimesOutAndNeverServesTheLateBatch) {
    SimulatorProcess sim(kSimulatorFolder, {});
    ASSERT_TRUE(sim.Started());
    OpenLink();
    const std::uint32_t before = 1, late = 77;
    ASSERT_EQ(link.writeDWORD(0x3004, &before), 1);
    sim.Stop();
    auto start = Clock::now();
    EXPECT_EQ(link.writeDWORD(0x3004, &late), 0);
    long waited = MillisecondsSince(start);
    // A stopped simulator neither answers nor ends by itself, and nothing here
    // ends it: if it ended all the same (a signal from outside the test), the
    // early failure and the failed read below tell nothing of the link.
    if (waited < 1900) {
        ASSERT_EQ(sim.Ended(500), "")
            << "the stopped simulator ended while the batch waited " << waited << " ms";
    }
    EXPECT_GE(waited, 1900);
    EXPECT_LT(waited, 3000);
    sim.Continue();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::uint32_t now = 0;
    ASSERT_EQ(link.readDWORD(0x3004, &now), 1)
        << "the simulator " << (sim.Ended().empty() ? "still runs" : sim.Ended());
    EXPECT_EQ(now, before) << "the batch whose sender stopped waiting was served later";
    link.stopit();
}

TEST_F(TwoProcessTest, SimulatorWithoutItsModuleDoesNotServeTheLink) {
    std::string folder = SimulatorProcess::FolderWithoutModule(kSimulatorFolder + "/fltsim98.exe");
    {
        SimulatorProcess sim(folder, {});
        ASSERT_TRUE(sim.Started());
        OpenLink();
        std::uint32_t v = 0;
        EXPECT_EQ(link.readDWORD(0x02B8, &v), 0);
        link.stopit();
    }
    std::filesystem::remove_all(folder);
}

TEST_F(TwoProcessTest, PlainCProgramDrivesABatchThroughTheLibraryFile) {
    SimulatorProcess sim(kSimulatorFolder, {"--paused", "--speed", "123"});
    ASSERT_TRUE(sim.Started());
    std::string client = CORVANE_TEST_C_CLIENT;
    std::string library = CORVANE_TEST_CVCOMS;
    std::string speed = std::to_string(123 * 128);
    char* argv[] = {client.data(), library.data(), speed.data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, client.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace corvane::link
