// SPDX-License-Identifier: MIT
//
// fltsim98.exe as a process, started from its build folder on a desktop
// directory of the test's own, with a small airport database of the test's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "linklib/Connection.h"
#include "navdata/AirportDatabaseFile.h"
#include "platform/posix/Desktop.h"
#include "platform/posix/RegistryFile.h"
#include "tests/fltsim98/ChildProcess.h"
#include "tests/fltsim98/TestDatabase.h"

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;
using test::WaitUntil;

const std::string kSimulator = std::string(CORVANE_TEST_SIM_DIR) + "/fltsim98.exe";
const std::string kLinkDemo = CORVANE_TEST_LINKDEMO;

constexpr double kMetresPerDegree = 20003500.0 / 180.0;

struct Reading {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    std::int32_t altitudeM = 0;
    double headingDeg = 0.0;
    std::int32_t groundM = 0;
    std::int16_t onGround = 0;
};

class ProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvane-fltsim-test-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        std::filesystem::create_directory(folder_ + "/desktop");
        std::filesystem::permissions(folder_ + "/desktop", std::filesystem::perms::owner_all);
        ::setenv("CORVANE_DESKTOP", (folder_ + "/desktop").c_str(), 1);
        ::setenv("CORVANE_REGISTRY", (folder_ + "/registry.ini").c_str(), 1);
        database_ = folder_ + "/airdata.tri";
        navdata::SaveAirportDatabase(test::TestDatabase(), database_);
    }
    void TearDown() override {
        link_.stopit();
        std::filesystem::remove_all(folder_);
    }

    std::unique_ptr<ChildProcess> Start(std::vector<std::string> args) {
        args.insert(args.end(), {"--data", database_});
        auto child = std::make_unique<ChildProcess>(kSimulator, args, folder_ + "/output.txt");
        EXPECT_TRUE(child->Started());
        const bool published =
            WaitUntil([] { return desktop::FindWindowByClass("FS98MAIN") != 0; }, 10s);
        EXPECT_TRUE(published) << child->Output();
        return child;
    }

    bool Read(Reading* r) {
        if (!link_.IsOpen() && (link_.fsworking() != 2 || link_.startit() != 1))
            return false;
        std::uint8_t block[36] = {};
        std::uint32_t heading = 0;
        if (link_.startmessage() != 1 || link_.rawreadxbytes(36, 0x0560, block) != 1 ||
            link_.rawreadDWORD(0x0B4C, &r->groundM) != 1 ||
            link_.rawreadxbytes(2, 0x0366, &r->onGround) != 1 || link_.sendmessage() != 1) {
            return false;
        }
        std::int64_t lat = 0;
        std::int64_t lon = 0;
        std::memcpy(&lat, block, 8);
        std::memcpy(&lon, block + 8, 8);
        std::memcpy(&r->altitudeM, block + 20, 4);
        std::memcpy(&heading, block + 32, 4);
        r->latitudeDeg = lat / 4294967296.0 * 45.0 / 5000875.0;
        r->longitudeDeg = lon / 4294967296.0 * 90.0 / 1073741824.0;
        r->headingDeg = heading * 360.0 / 4294967296.0;
        return true;
    }

    std::string folder_;
    std::string database_;
    link::Connection link_{link::SystemLinkPlatform()};
};

TEST_F(ProcessTest, HelpAndMistakesOnTheCommandLine) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"--help"}, 0, "--ask-before-close"},
        {{"--bogus"}, 2, "unknown option --bogus"},
        {{"--airport", "ZZZZ", "--data", database_}, 1, "no airport ZZZZ"},
        {{"--airport", "KTPX", "--runway", "09", "--data", database_}, 1, "runways: 17R 35L 08 26"},
        {{"--airport", "KTPX", "--data", folder_ + "/none.tri"}, 1, "none.tri"},
        {{"--alt", "3000", "--lat", "39.815", "--lon", "-104.70", "--data", database_},
         1,
         "above the ground"},
    };
    for (const auto& c : cases) {
        ChildProcess child(kSimulator, c.args, folder_ + "/output.txt");
        EXPECT_EQ(child.WaitForExit(5s), c.status) << c.args[0];
        EXPECT_NE(child.Output().find(c.says), std::string::npos) << child.Output();
    }
}

TEST_F(ProcessTest, StartAtAnAirportPutsTheAircraftOnItsRunway) {
    auto sim = Start({"--headless", "--airport", "ktpx", "--runway", "35L"});
    Reading r;
    ASSERT_TRUE(Read(&r)) << sim->Output();
    EXPECT_NEAR(r.latitudeDeg, 39.80, 1e-6);
    EXPECT_NEAR(r.longitudeDeg, -104.70, 1e-6);
    EXPECT_NEAR(std::remainder(r.headingDeg, 360.0), 0.0, 0.5);
    EXPECT_EQ(r.groundM, 1650);
    EXPECT_NEAR(r.altitudeM, 1652, 1);
    EXPECT_EQ(r.onGround, 1);
}

TEST_F(ProcessTest, AircraftFliesInRealTimeBetweenTwoReads) {
    auto sim = Start({"--headless", "--lat", "50", "--lon", "-1", "--alt", "3000", "--heading", "0",
                      "--speed", "200"});
    Reading first;
    Reading second;
    ASSERT_TRUE(Read(&first));
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(Read(&second));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double northM = (second.latitudeDeg - first.latitudeDeg) * kMetresPerDegree;
    const double expectedM = 200.0 * 1852.0 / 3600.0 * seconds;
    EXPECT_NEAR(northM, expectedM, 0.15 * expectedM);
}

TEST_F(ProcessTest, RateRunsTheSimulatorFasterThanRealTime) {
    auto sim = Start({"--headless", "--lat", "50", "--lon", "-1", "--alt", "3000", "--heading",
                      "90", "--speed", "200", "--rate", "10"});
    Reading first;
    Reading second;
    ASSERT_TRUE(Read(&first));
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(Read(&second));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double eastM = (second.longitudeDeg - first.longitudeDeg) * kMetresPerDegree *
                         std::cos(50.0 * 3.14159265358979 / 180.0);
    const double expectedM = 10.0 * 200.0 * 1852.0 / 3600.0 * seconds;
    EXPECT_NEAR(eastM, expectedM, 0.15 * expectedM);
}

TEST_F(ProcessTest, InstallWritesTheRegistryEntryNamingThisExecutable) {
    auto sim = Start({"--headless", "--install"});
    const auto value =
        desktop::ReadRegistryValue(folder_ + "/registry.ini", host::RegistryRoot::LocalMachine,
                                   "Software\\CLASSES\\flight simulator", "defaulticon");
    ASSERT_TRUE(value) << sim->Output();
    EXPECT_TRUE(value->isString);
    const std::string exe = std::filesystem::canonical(kSimulator).string();
    EXPECT_EQ(value->text, exe + ",1" + std::string(1, '\0'));
    Reading r;
    EXPECT_TRUE(Read(&r)) << "after installing it runs";
}

TEST_F(ProcessTest, CloseRequestEndsTheSimulator) {
    auto sim = Start({"--headless"});
    ASSERT_TRUE(desktop::PostCloseRequest(desktop::FindWindowByClass("FS98MAIN")));
    EXPECT_EQ(sim->WaitForExit(3s), 0) << sim->Output();
    EXPECT_EQ(desktop::FindWindowByClass("FS98MAIN"), 0u);
}

TEST_F(ProcessTest, RefusedCloseRequestKeepsTheSimulatorRunning) {
    auto sim = Start({"--headless", "--ask-before-close=refuse"});
    ASSERT_TRUE(desktop::PostCloseRequest(desktop::FindWindowByClass("FS98MAIN")));
    EXPECT_FALSE(sim->WaitForExit(1500ms));
    Reading r;
    EXPECT_TRUE(Read(&r));
    EXPECT_NE(sim->Output().find("keeps running"), std::string::npos) << sim->Output();
    sim->Signal(SIGTERM);
    EXPECT_EQ(sim->WaitForExit(3s), 0);
}

TEST_F(ProcessTest, LogRecordsTheFlightWithItsTouchdown) {
    const std::string log = folder_ + "/trace.csv";
    auto sim = Start({"--headless", "--airport", "KTPX", "--runway", "17R", "--final", "1",
                      "--rate", "50", "--log", log});
    auto text = [&] {
        std::ifstream in(log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_TRUE(WaitUntil([&] { return text().find(",touchdown") != std::string::npos; }, 10s))
        << sim->Output();
    sim->Signal(SIGTERM);
    ASSERT_EQ(sim->WaitForExit(3s), 0);
    const std::string csv = text();
    EXPECT_EQ(csv.rfind("time_s,latitude_deg,longitude_deg,altitude_ft,", 0), 0u);
    EXPECT_NE(csv.find(",start\n"), std::string::npos);
    EXPECT_NE(sim->Output().find("touchdown"), std::string::npos) << sim->Output();
    // Every line has the header's number of columns.
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    const auto columns = std::count(line.begin(), line.end(), ',');
    int count = 0;
    while (std::getline(lines, line)) {
        ASSERT_EQ(std::count(line.begin(), line.end(), ','), columns) << line;
        ++count;
    }
    EXPECT_GT(count, 100);
}

TEST_F(ProcessTest, LinkDemoReadsAMovingAircraft) {
    auto sim = Start({"--headless", "--heading", "0"});
    ChildProcess demo(kLinkDemo, {"--count", "2", "--interval", "500"}, folder_ + "/demo.txt");
    ASSERT_EQ(demo.WaitForExit(10s), 0) << demo.Output();
    const std::string out = demo.Output();
    std::vector<double> latitudes;
    for (std::size_t at = out.find("latitude "); at != std::string::npos;
         at = out.find("latitude ", at + 1)) {
        latitudes.push_back(std::strtod(out.c_str() + at + 9, nullptr));
    }
    ASSERT_EQ(latitudes.size(), 2u) << out;
    // 200 kt north for half a second: about 50 m, 0.00046 degree.
    EXPECT_GT(latitudes[1] - latitudes[0], 0.0002) << out;
}

TEST_F(ProcessTest, WindowedSimulatorPublishesItsWindowAndSavesAPicture) {
    if (!CORVANE_TEST_WINDOWED)
        GTEST_SKIP() << "built without the window";
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string picture = folder_ + "/window.png";
    auto sim = Start({"--screenshot", picture});
    const auto entry = desktop::DescribeWindow(desktop::FindWindowByClass("FS98MAIN"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->title, "Microsoft Flight Simulator 98");
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(picture); }, 10s)) << sim->Output();
    Reading r;
    EXPECT_TRUE(Read(&r));
    ASSERT_TRUE(desktop::PostCloseRequest(desktop::FindWindowByClass("FS98MAIN")));
    EXPECT_EQ(sim->WaitForExit(5s), 0) << sim->Output();
    ::unsetenv("QT_QPA_PLATFORM");
}

TEST_F(ProcessTest, WindowedSimulatorAskingTheUserKeepsServingTheLink) {
    if (!CORVANE_TEST_WINDOWED)
        GTEST_SKIP() << "built without the window";
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    auto sim = Start({"--ask-before-close", "--heading", "0"});
    ASSERT_TRUE(desktop::PostCloseRequest(desktop::FindWindowByClass("FS98MAIN")));
    // The question stays open (no one answers it); the simulator flies on meanwhile.
    EXPECT_FALSE(sim->WaitForExit(1s));
    Reading first;
    Reading second;
    ASSERT_TRUE(Read(&first));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(Read(&second));
    EXPECT_GT(second.latitudeDeg, first.latitudeDeg);
    sim->Signal(SIGTERM);
    EXPECT_EQ(sim->WaitForExit(5s), 0) << sim->Output();
    ::unsetenv("QT_QPA_PLATFORM");
}

}  // namespace
}  // namespace corvane::sim
