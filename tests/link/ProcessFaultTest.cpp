// SPDX-License-Identifier: MIT
//
// Faults across processes: programs and simulators killed, stopped, replaced
// or doubled while the link runs. Nothing hangs and no shared area outlives its
// program for longer than the next start of the link.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "linklib/Connection.h"
#include "tests/link/SimulatorProcess.h"

namespace corvane::link {
namespace {

using corvane::testing::SimulatorProcess;
using Clock = std::chrono::steady_clock;

const std::string kSimulatorFolder = CORVANE_TEST_SIM_DIR;

bool AreaExists(pid_t pid, std::uint32_t instance) {
    return std::filesystem::exists("/dev/shm/" + Connection::MakeAreaName(pid, instance));
}

long MillisecondsSince(Clock::time_point start) {
    return long(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// A second program in a child process: opens the link, writes `value` at
// `offset` and reads it back `batches` times, then reports on `ready` and
// either closes the link and exits (0 when every batch held) or, with
// `keepRunning`, goes on with batches until it is killed.
pid_t StartProgram(std::uint32_t offset, std::uint32_t value, int batches, bool keepRunning,
                   int ready) {
    pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    Connection link(SystemLinkPlatform());
    int failures = (link.fsworking() == 2 && link.startit() == 1) ? 0 : 1000;
    for (int i = 0; i < batches && failures == 0; ++i) {
        std::uint32_t back = 0;
        link.startmessage();
        link.rawwriteDWORD(std::int32_t(offset), &value);
        link.rawreadDWORD(std::int32_t(offset), &back);
        if (link.sendmessage() != 1 || back != value)
            ++failures;
    }
    const char byte = failures == 0 ? 'y' : 'n';
    (void)!::write(ready, &byte, 1);
    while (keepRunning) {
        std::uint32_t back = 0;
        link.readDWORD(std::int32_t(offset), &back);
    }
    link.stopit();
    ::_exit(failures == 0 ? 0 : 1);
}

class ProcessFaultTest : public ::testing::Test {
  protected:
    void OpenLink() {
        ASSERT_EQ(link.fsworking(), 2);
        ASSERT_EQ(link.startit(), 1);
    }
    Connection link{SystemLinkPlatform()};
};

TEST_F(ProcessFaultTest, ProgramKilledMidBatchLeavesAnAreaThatTheNextStartRemoves) {
    SimulatorProcess sim(kSimulatorFolder, {"--paused"});
    ASSERT_TRUE(sim.Started());
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const std::uint32_t value = 0x5EED;
    const pid_t program = StartProgram(0x3010, value, 20, /*keepRunning=*/true, pipeEnds[1]);
    char byte = 0;
    ASSERT_EQ(::read(pipeEnds[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // in the middle of its batches
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_TRUE(AreaExists(program, 0)) << "a killed program cannot remove its own area";

    // The simulator keeps running and serves the next program, whose start
    // removes the dead program's area.
    ASSERT_EQ(::kill(sim.Pid(), 0), 0);
    OpenLink();
    EXPECT_FALSE(AreaExists(program, 0));
    std::uint32_t seen = 0;
    ASSERT_EQ(link.readDWORD(0x3010, &seen), 1);
    EXPECT_EQ(seen, value);
    link.stopit();
    EXPECT_FALSE(AreaExists(::getpid(), link.InstanceId()));
}

TEST_F(ProcessFaultTest, SimulatorKilledInTheMiddleOfBatchesFailsTheNextOneAtOnce) {
    SimulatorProcess sim(kSimulatorFolder, {});
    ASSERT_TRUE(sim.Started());
    OpenLink();
    std::atomic<int> served{0};
    std::atomic<bool> failed{false};
    Clock::time_point failedAt;
    std::thread batches([&] {
        for (;;) {
            std::uint32_t v = 0;
            link.startmessage();
            link.rawreadDWORD(0x02B8, &v);
            link.rawreadxbytes(64, 0x0560, nullptr);
            if (link.sendmessage() != 1)
                break;
            ++served;
        }
        failedAt = Clock::now();
        failed = true;
    });
    while (served < 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto killedAt = Clock::now();
    sim.Kill();
    batches.join();
    EXPECT_TRUE(failed);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(failedAt - killedAt).count(),
              1000)
        << "the batch in flight waited for the time-out";
    auto start = Clock::now();
    std::uint32_t v = 0;
    EXPECT_EQ(link.readDWORD(0x02B8, &v), 0);
    EXPECT_LT(MillisecondsSince(start), 500);
    link.stopit();
    EXPECT_FALSE(AreaExists(::getpid(), link.InstanceId()));
}

TEST_F(ProcessFaultTest, ReplacedSimulatorServesTheLinkOnceItIsOpenedAgain) {
    const std::uint32_t marker = 0xA11CE;
    auto first = std::make_unique<SimulatorProcess>(kSimulatorFolder, std::vector<std::string>{});
    ASSERT_TRUE(first->Started());
    OpenLink();
    ASSERT_EQ(link.writeDWORD(0x3018, &marker), 1);
    first.reset();  // killed, its desktop gone
    SimulatorProcess second(kSimulatorFolder, {"--paused", "--speed", "99"});
    ASSERT_TRUE(second.Started());

    // The open link still names the old window: it fails, without waiting.
    auto start = Clock::now();
    std::uint32_t v = 0;
    EXPECT_EQ(link.readDWORD(0x3018, &v), 0);
    EXPECT_LT(MillisecondsSince(start), 500);

    // Opened again, it reaches the new simulator, which knows nothing of the old one's state.
    link.stopit();
    OpenLink();
    std::int32_t trueAirspeed = 0;
    ASSERT_EQ(link.readDWORD(0x02B8, &trueAirspeed), 1);
    EXPECT_EQ(trueAirspeed, 99 * 128);
    ASSERT_EQ(link.readDWORD(0x3018, &v), 1);
    EXPECT_NE(v, marker);
    link.stopit();
    EXPECT_FALSE(AreaExists(::getpid(), 0));
    EXPECT_FALSE(AreaExists(::getpid(), 1));
}

TEST_F(ProcessFaultTest, TwoProgramsShareOneSimulatorWithoutMixingTheirBatches) {
    SimulatorProcess sim(kSimulatorFolder, {"--paused"});
    ASSERT_TRUE(sim.Started());
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t other = StartProgram(0x3020, 0x0DD, 400, /*keepRunning=*/false, pipeEnds[1]);
    OpenLink();
    int failures = 0;
    for (std::uint32_t i = 0; i < 400; ++i) {
        std::uint32_t back = 0;
        link.startmessage();
        link.rawwriteDWORD(0x3024, &i);
        link.rawreadDWORD(0x3024, &back);
        if (link.sendmessage() != 1 || back != i)
            ++failures;
    }
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other program's batches failed";
    link.stopit();
    EXPECT_FALSE(AreaExists(other, 0));
    EXPECT_FALSE(AreaExists(::getpid(), 0));
}

}  // namespace
}  // namespace corvane::link
