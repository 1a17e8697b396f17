// SPDX-License-Identifier: MIT
//
// The in-process simulator of the harness, driven through the link library's
// own connection: the same window lookup, shared area and IPC module code as
// between two processes, but in one process and in the caller's time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "linklib/Connection.h"
#include "platform/posix/Desktop.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/inprocess/InProcessSimulator.h"
#include "tests/fltsim98/TestDatabase.h"

namespace corvane::sim {
namespace {

struct Position {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    std::int32_t altitudeM = 0;
    std::int32_t groundM = 0;
    std::int16_t onGround = 0;
};

class InProcessSimulatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvane-inprocess-XXXXXX";
        desktop_ = ::mkdtemp(pattern);
        ::setenv("CORVANE_DESKTOP", desktop_.c_str(), 1);
        const TerrainInput input = TerrainInputFromDatabase(test::TestDatabase());
        auto terrain = std::make_shared<AirportTerrain>(input.airports, input.runways);
        sim_ = std::make_unique<InProcessSimulator>(SimulatorOptions{}, terrain);
    }
    void TearDown() override {
        link_.stopit();
        sim_.reset();
        std::filesystem::remove_all(desktop_);
    }

    // One batch with the position block, the ground elevation and on-ground.
    bool Read(Position* p) {
        std::uint8_t block[36] = {};
        if (link_.startmessage() != 1 || link_.rawreadxbytes(36, 0x0560, block) != 1 ||
            link_.rawreadDWORD(0x0B4C, &p->groundM) != 1 ||
            link_.rawreadxbytes(2, 0x0366, &p->onGround) != 1 || link_.sendmessage() != 1) {
            return false;
        }
        std::int64_t lat = 0;
        std::int64_t lon = 0;
        std::memcpy(&lat, block, 8);
        std::memcpy(&lon, block + 8, 8);
        std::memcpy(&p->altitudeM, block + 20, 4);
        p->latitudeDeg = lat / 4294967296.0 * 45.0 / 5000875.0;
        p->longitudeDeg = lon / 4294967296.0 * 90.0 / 1073741824.0;
        return true;
    }

    std::string desktop_;
    std::unique_ptr<InProcessSimulator> sim_;
    link::Connection link_{link::SystemLinkPlatform()};
};

TEST_F(InProcessSimulatorTest, LinkFindsTheWindowAndReadsTheAircraftOnTheRunway) {
    ASSERT_TRUE(sim_->IsOpen()) << sim_->Error();
    const navdata::AirportDatabase db = test::TestDatabase();
    sim_->Sim().StartOnRunway(FindRunwayDirection(db, 1, "35L")->start);
    ASSERT_EQ(link_.fsworking(), 2);
    ASSERT_EQ(link_.startit(), 1);
    Position p;
    ASSERT_TRUE(Read(&p));
    EXPECT_NEAR(p.latitudeDeg, 39.80, 1e-6);
    EXPECT_NEAR(p.longitudeDeg, -104.70, 1e-6);
    EXPECT_EQ(p.groundM, 1650);
    EXPECT_NEAR(p.altitudeM, 1652, 1);  // the reference point 2 m above the wheels
    EXPECT_EQ(p.onGround, 1);
    EXPECT_EQ(sim_->BatchesServed(), 1u);
}

TEST_F(InProcessSimulatorTest, NothingMovesUntilAdvanceAndThenTheProgramsWritesTakeEffect) {
    sim_->Sim().StartInAir({39.0, -104.0, 9000.0, 0.0, 200.0});
    ASSERT_EQ(link_.fsworking(), 2);
    ASSERT_EQ(link_.startit(), 1);
    Position before;
    Position same;
    ASSERT_TRUE(Read(&before));
    ASSERT_TRUE(Read(&same));
    EXPECT_EQ(before.latitudeDeg, same.latitudeDeg);

    // Full throttle written through the link is flown from the next step on.
    const std::int16_t full = 16383;
    ASSERT_EQ(link_.writexbytes(2, 0x088C, &full), 1);
    ASSERT_EQ(link_.writexbytes(2, 0x0924, &full), 1);
    EXPECT_EQ(sim_->Advance(10.0), 500);
    Position after;
    ASSERT_TRUE(Read(&after));
    // About 200 kt northwards for 10 s: 0.5 nm and more.
    EXPECT_GT((after.latitudeDeg - before.latitudeDeg) * 60.0, 0.5);
    EXPECT_DOUBLE_EQ(sim_->Sim().LastTrace().throttle1, 1.0);
}

TEST_F(InProcessSimulatorTest, WithoutItsModuleTheWindowAnswersNoBatch) {
    sim_->SetModuleLoaded(false);
    ASSERT_EQ(link_.fsworking(), 2);
    ASSERT_EQ(link_.startit(), 1);
    Position p;
    EXPECT_FALSE(Read(&p));
    EXPECT_EQ(sim_->BatchesServed(), 0u);
    EXPECT_EQ(sim_->MessagesReceived(), 1u);
    sim_->SetModuleLoaded(true);
    EXPECT_TRUE(Read(&p));
}

TEST_F(InProcessSimulatorTest, CloseRequestEndsTheSimulatorOrIsRefused) {
    desktop::WindowHandle window = desktop::FindWindowByTitle(InProcessSimulator::kTitle);
    ASSERT_NE(window, 0u);
    sim_->SetClosePolicy(InProcessSimulator::ClosePolicy::Refuse);
    ASSERT_TRUE(desktop::PostCloseRequest(window));
    sim_->Advance(5.0);
    EXPECT_EQ(sim_->CloseRequests(), 1);
    EXPECT_TRUE(sim_->IsOpen());
    EXPECT_NE(desktop::FindWindowByClass(InProcessSimulator::kClassName), 0u);

    sim_->SetClosePolicy(InProcessSimulator::ClosePolicy::Close);
    ASSERT_TRUE(desktop::PostCloseRequest(window));
    EXPECT_TRUE(sim_->IsOpen()) << "the window goes at the next Advance, not inside the request";
    EXPECT_EQ(sim_->Advance(1.0), 0);
    EXPECT_FALSE(sim_->IsOpen());
    EXPECT_EQ(desktop::FindWindowByClass(InProcessSimulator::kClassName), 0u);
    EXPECT_EQ(link_.fsworking(), 1);

    ASSERT_TRUE(sim_->Open());
    EXPECT_EQ(link_.fsworking(), 2);
    EXPECT_EQ(sim_->Advance(1.0), 50);
}

}  // namespace
}  // namespace corvane::sim
