// SPDX-License-Identifier: MIT
//
// The FlightGear process and the stand-in's FlightGear backend against a fake
// fgfs that speaks the same protocol: start-up, the streams both ways, and
// what happens when FlightGear cannot start or ends.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "ChildProcess.h"
#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/Protocol.h"
#include "sim/flightgear/process/FlightGearProcess.h"
#include "sim/flightgear/process/SocketOwner.h"
#include "sim/variables/ImageBinding.h"

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

// A local program that is not FlightGear, sending well-formed readings (at
// latitude 10, where the fake never flies) to the stand-in's readings port.
class ForeignSender {
  public:
    ForeignSender() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~ForeignSender() { close(fd_); }
    void SendTo(int port) {
        Readings r;
        r.fdmInitialized = true;
        r.timeS = 5.0;
        r.latitudeDeg = 10.0;
        const std::string line = FormatReadings(r);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(static_cast<std::uint16_t>(port));
        sendto(fd_, line.data(), line.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    int Port() const {
        sockaddr_in a{};
        socklen_t n = sizeof a;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n);
        return ntohs(a.sin_port);
    }

  private:
    int fd_;
};

// Two free UDP ports on the loopback interface.
std::pair<int, int> FreePorts() {
    int ports[2] = {0, 0};
    int fds[2];
    for (int i = 0; i < 2; ++i) {
        fds[i] = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        bind(fds[i], reinterpret_cast<sockaddr*>(&a), sizeof a);
        getsockname(fds[i], reinterpret_cast<sockaddr*>(&a), &n);
        ports[i] = ntohs(a.sin_port);
    }
    close(fds[0]);
    close(fds[1]);
    return {ports[0], ports[1]};
}

// Receives for a while, sending foreign readings in between; the latitudes
// of the lines that came through.
std::vector<double> ReceiveBesideAForeignSender(desktop::FlightGearProcess& process,
                                                ForeignSender& foreign, int port,
                                                std::chrono::milliseconds span) {
    std::vector<double> latitudes;
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
        foreign.SendTo(port);
        std::vector<std::string> lines;
        process.Receive(lines);
        for (const std::string& line : lines) {
            if (const auto r = ParseReadings(line))
                latitudes.push_back(r->latitudeDeg);
        }
        std::this_thread::sleep_for(20ms);
    }
    return latitudes;
}

// The socket tables as the kernel writes them: only rows that can send from
// 127.0.0.1 count, and whatever is not a row is skipped.
TEST(SocketOwner, TheTablesRowsThatCanSendFromTheLoopback) {
    const std::string udp =
        "   sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  "
        "timeout inode ref pointer drops\n"
        "  101: 0100007F:157C 00000000:0000 07 00000000:00000000 00:00000000 00000000  1000    "
        "    0 4242 2 0000000000000000 0\n"  // 127.0.0.1:5500
        "  102: 00000000:A000 0100007F:157C 01 00000000:00000000 00:00000000 00000000     0    "
        "    0 77 2 0000000000000000 0\n"  // 0.0.0.0:40960, connected
        "  103: 0501A8C0:157C 00000000:0000 07 00000000:00000000 00:00000000 00000000  1000    "
        "    0 99 2 0000000000000000 0\n"  // 192.168.1.5: cannot send from 127.0.0.1
        "  104: 0100007F:ZZZZ 00000000:0000 07 00000000:00000000 00:00000000 00000000  1000 0 "
        "5\n"                      // damaged port
        "  105: 0100007F:1388\n";  // cut short
    const std::vector<desktop::LoopbackUdpSocket> v4 = desktop::LoopbackUdpSockets(udp, false);
    ASSERT_EQ(v4.size(), 2u);
    EXPECT_EQ(v4[0].localPort, 5500);
    EXPECT_EQ(v4[0].uid, 1000u);
    EXPECT_EQ(v4[0].inode, 4242u);
    EXPECT_EQ(v4[1].localPort, 40960);
    EXPECT_EQ(v4[1].uid, 0u);
    const std::string udp6 =
        "  sl  local_address                         remote_address                        st "
        "tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode ref pointer drops\n"
        "   7: 0000000000000000FFFF00000100007F:157C 00000000000000000000000000000000:0000 07 "
        "00000000:00000000 00:00000000 00000000  1000        0 555 2 0000000000000000 0\n"
        "   8: 00000000000000000000000001000000:157D 00000000000000000000000000000000:0000 07 "
        "00000000:00000000 00:00000000 00000000  1000        0 556 2 0000000000000000 0\n";
    const std::vector<desktop::LoopbackUdpSocket> v6 = desktop::LoopbackUdpSockets(udp6, true);
    ASSERT_EQ(v6.size(), 1u);  // ::1 cannot send from 127.0.0.1
    EXPECT_EQ(v6[0].inode, 555u);
}

TEST(SocketOwner, OnlyFlightGearsSocketIsTaken) {
    using desktop::LoopbackSender;
    using desktop::SenderRule;
    const desktop::LoopbackUdpSocket mine{40000, 1000, 1};
    const desktop::LoopbackUdpSocket theirs{40000, 1001, 1};
    SenderRule started;
    started.uid = 1000;
    started.session = 700;
    SenderRule attached;
    attached.uid = 1000;
    struct Case {
        const char* name;
        LoopbackSender sender;
        SenderRule rule;
        const char* refusal;  // "" taken
    } cases[] = {
        {"started, its session", {{mine}, {{701, 700, "fgfs"}}}, started, ""},
        {"started, a child of its session", {{mine}, {{702, 700, "xvfb-run"}}}, started, ""},
        {"started, another session",
         {{mine}, {{800, 800, "fgfs"}}},
         started,
         "process 800 (fgfs) is not the FlightGear started here"},
        {"another user's socket", {{theirs}, {}}, started, "its socket belongs to user 1001"},
        {"the socket gone", {{}, {}}, started, "no socket is bound there any more"},
        {"held by no process of ours",
         {{mine}, {}},
         attached,
         "no process of this user holds its socket"},
        {"attached, fgfs", {{mine}, {{900, 900, "fgfs"}}}, attached, ""},
        {"attached, another program",
         {{mine}, {{901, 901, "nc"}}},
         attached,
         "process 901 (nc) is not FlightGear (fgfs)"},
        {"attached, fgfs sharing its socket with another",
         {{mine}, {{900, 900, "fgfs"}, {901, 1, "nc"}}},
         attached,
         "process 901 (nc) is not FlightGear (fgfs)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(desktop::SenderRefusal(c.sender, c.rule), c.refusal) << c.name;
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
        unsetenv("FAKE_FGFS_LOADING");
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

// Readings come only from the FlightGear started here: another local
// program's datagrams to the readings port, before FlightGear's first and
// after, are dropped and named once.
TEST_F(FlightGearProcessTest, ReadingsComeOnlyFromTheFlightGearStartedHere) {
    setenv("FAKE_FGFS_LIFETIME", "3", 1);
    // The foreign datagram comes first, while FlightGear loads.
    setenv("FAKE_FGFS_LOADING", "0.5", 1);
    std::vector<std::string> notices;
    auto o = Options();
    o.notice = [&](const std::string& text) { notices.push_back(text); };
    desktop::FlightGearProcess process;
    std::string error;
    ASSERT_TRUE(process.Start(o, &error)) << error;
    ForeignSender foreign;
    foreign.SendTo(process.Plan().readingsPort);  // before FlightGear's first datagram
    const std::vector<double> latitudes =
        ReceiveBesideAForeignSender(process, foreign, process.Plan().readingsPort, 1500ms);
    ASSERT_GT(latitudes.size(), 10u);
    for (double lat : latitudes)
        EXPECT_NEAR(lat, 37.55, 1e-6);
    EXPECT_NE(process.SenderPort(), 0);
    EXPECT_NE(process.SenderPort(), foreign.Port());
    EXPECT_GT(process.ForeignDatagrams(), 0u);
    const std::string refused = "ignoring datagrams from 127.0.0.1 port " +
                                std::to_string(foreign.Port()) + ": process " +
                                std::to_string(getpid());
    int namedTimes = 0;
    for (const std::string& n : notices)
        namedTimes += n.rfind(refused, 0) == 0 &&
                      n.find("is not the FlightGear started here") != std::string::npos;
    EXPECT_EQ(namedTimes, 1) << ::testing::PrintToString(notices);
}

// Attached, the readings are taken from a program named fgfs of this user
// and no other: the same fake under another name is refused.
TEST_F(FlightGearProcessTest, AttachedReadingsComeOnlyFromAProgramNamedFgfs) {
    for (const char* name : {"fgfs", "fg-lookalike"}) {
        SCOPED_TRACE(name);
        const fs::path program = work / "bin" / name;
        fs::create_directories(program.parent_path());
        fs::create_symlink(CORVANE_TEST_FAKE_FGFS, program);
        const auto [readings, commands] = FreePorts();
        desktop::FlightGearProcess::Options o;
        o.attach = true;
        o.plan.readingsPort = readings;
        o.plan.commandsPort = commands;
        std::vector<std::string> notices;
        o.notice = [&](const std::string& text) { notices.push_back(text); };
        desktop::FlightGearProcess process;
        std::string error;
        ASSERT_TRUE(process.Start(o, &error)) << error;
        LaunchPlan plan;
        plan.dataFolder = (work / "user-data").string();
        plan.readingsPort = readings;
        plan.commandsPort = commands;
        ASSERT_TRUE(desktop::FlightGearProcess::WriteProtocolFile(plan.dataFolder, &error))
            << error;
        setenv("FAKE_FGFS_LIFETIME", "3", 1);
        sim::test::ChildProcess fake(program.string(), AttachOptions(plan),
                                     (work / (std::string(name) + ".log")).string());
        ASSERT_TRUE(fake.Started());
        ForeignSender foreign;
        const std::vector<double> latitudes =
            ReceiveBesideAForeignSender(process, foreign, readings, 1500ms);
        for (double lat : latitudes)
            EXPECT_NEAR(lat, 37.55, 1e-6);
        if (std::string(name) == "fgfs") {
            EXPECT_GT(latitudes.size(), 10u);
        } else {
            EXPECT_TRUE(latitudes.empty());
            bool named = false;
            for (const std::string& n : notices)
                named =
                    named || n.find("(fg-lookalike) is not FlightGear (fgfs)") != std::string::npos;
            EXPECT_TRUE(named) << ::testing::PrintToString(notices);
        }
    }
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

// The attach path as a pilot takes it: --fg-options writes the protocol file
// into the user's data folder and prints the options; a FlightGear (the fake,
// named fgfs) started with exactly those options finds the protocol file
// there, and the stand-in attached to it says what it waits for, takes its
// readings and sends it the controls.
TEST_F(FlightGearProcessTest, TheOptionsPrintedMakeAFlightGearTheStandInAttachesTo) {
    const fs::path desktopFolder = work / "desktop";
    fs::create_directories(desktopFolder);
    fs::permissions(desktopFolder, fs::perms::owner_all);
    setenv("CORVANE_DESKTOP", desktopFolder.c_str(), 1);
    setenv("XDG_DATA_HOME", (work / "user-data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (work / "cache").c_str(), 1);
    const std::string standInPath = std::string(CORVANE_TEST_SIM_DIR) + "/fltsim98.exe";
    const auto [readings, commands] = FreePorts();
    const std::string ports = std::to_string(readings) + ":" + std::to_string(commands);

    sim::test::ChildProcess printer(standInPath, {"--fg-options=" + ports},
                                    (work / "options.txt").string());
    ASSERT_TRUE(printer.Started());
    ASSERT_EQ(printer.WaitForExit(10s), 0) << printer.Output();
    std::vector<std::string> options;
    std::istringstream printed(printer.Output());
    for (std::string line; std::getline(printed, line);) {
        if (line.rfind("--", 0) == 0)
            options.push_back(line);
    }
    const std::string protocol =
        (work / "user-data" / "corvane" / "flightgear" / "Protocol" / "corvane.xml").string();
    EXPECT_EQ(ReadFile(protocol), ProtocolFileText());
    EXPECT_NE(printer.Output().find("--fg-attach " + ports), std::string::npos) << printer.Output();

    sim::test::ChildProcess standIn(standInPath,
                                    {"--headless", "--backend", "flightgear", "--fg-attach", ports,
                                     "--log", (work / "trace.csv").string()},
                                    (work / "out.txt").string());
    ASSERT_TRUE(standIn.Started());
    ASSERT_TRUE(sim::test::WaitUntil(
        [&] { return standIn.Output().find("waiting up to 10 minutes") != std::string::npos; },
        10s))
        << standIn.Output();

    const fs::path program = work / "bin" / "fgfs";
    fs::create_directories(program.parent_path());
    fs::create_symlink(CORVANE_TEST_FAKE_FGFS, program);
    setenv("FAKE_FGFS_LIFETIME", "3", 1);
    unsetenv("FG_ROOT");  // the protocol file must come from the printed --data
    sim::test::ChildProcess fake(program.string(), options, (work / "fgfs.log").string());
    ASSERT_TRUE(fake.Started());
    const auto status = fake.WaitForExit(15s);
    standIn.Signal(SIGTERM);
    standIn.WaitForExit(10s);
    unsetenv("CORVANE_DESKTOP");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CACHE_HOME");
    ASSERT_EQ(status, 3) << fake.Output();  // 5 would be: no protocol file found
    const std::string out = standIn.Output();
    EXPECT_NE(out.find("waiting up to 10 minutes for FlightGear's readings on 127.0.0.1 port " +
                       std::to_string(readings)),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("FlightGear's flight model runs"), std::string::npos) << out;
    const std::string trace = ReadFile((work / "trace.csv").string());
    EXPECT_GT(std::count(trace.begin(), trace.end(), '\n'), 30) << trace.substr(0, 500);
    // The controls reached FlightGear.
    const std::string fgLog = fake.Output();
    const std::size_t received = fgLog.find("commands received ");
    ASSERT_NE(received, std::string::npos) << fgLog;
    EXPECT_GT(std::atoi(fgLog.c_str() + received + 18), 10) << fgLog;
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
