// SPDX-License-Identifier: MIT
#include "app/startup/FlyThereHandlers.h"

#include <gtest/gtest.h>

#include "app/autopilot/LandingSequence.h"
#include "tests/autopilot/AutopilotTestSupport.h"
#include "tests/support/ProgramData.h"

namespace corvane::autopilot::test {
namespace {

// ---- Cruise height -----------------------------------------------------------

struct CruiseHeight : ProgramFixture {
    std::vector<std::string> Checked() {
        std::vector<std::string> names;
        for (forms::MenuItem* item : p.forms.Form1.menu.mnuFlyHeight.children) {
            if (item->checked)
                names.push_back(item->name);
        }
        return names;
    }
};

TEST_F(CruiseHeight, ExactlyOneEntryIsChecked) {
    CruiseHeight_Click(p, "mnuground2000");
    EXPECT_EQ(Checked(), std::vector<std::string>{"mnuground2000"});
    EXPECT_TRUE(p.plan.CruiseAboveGround);
    EXPECT_DOUBLE_EQ(p.plan.CruiseHeight, 2000 / 3.2808);

    CruiseHeight_Click(p, "mnuAbs6000");
    EXPECT_EQ(Checked(), std::vector<std::string>{"mnuAbs6000"});
    EXPECT_FALSE(p.plan.CruiseAboveGround);
    EXPECT_DOUBLE_EQ(p.plan.CruiseHeight, 6000 / 3.2808);
}

TEST_F(CruiseHeight, EveryEntrySetsItsHeight) {
    const struct {
        const char* name;
        double feet;
        bool aboveGround;
    } entries[] = {{"mnuAbs3000", 3000, false},   {"mnuAbs6000", 6000, false},
                   {"mnuAbs15000", 15000, false}, {"mnuAbs30000", 30000, false},
                   {"mnuground2000", 2000, true}, {"mnuground4000", 4000, true},
                   {"mnuground8000", 8000, true}, {"mnuground16000", 16000, true}};
    for (const auto& e : entries) {
        CruiseHeight_Click(p, e.name);
        EXPECT_DOUBLE_EQ(p.plan.CruiseHeight * 3.2808, e.feet) << e.name;
        EXPECT_EQ(p.plan.CruiseAboveGround, e.aboveGround) << e.name;
        EXPECT_EQ(Checked(), std::vector<std::string>{e.name});
    }
}

TEST_F(CruiseHeight, AnotherEntryChangesNothing) {
    CruiseHeight_Click(p, "mnuHelp");
    EXPECT_EQ(Checked(), std::vector<std::string>{"mnuground4000"});
    EXPECT_DOUBLE_EQ(p.plan.CruiseHeight, 4000 / 3.2808);
}

// ---- Fly there: the list of landing directions ------------------------------------

// Airport 2 has runway 1 (9/27) and runway 3 (4L/22R); runway 2 belongs to airport 1.
struct FlyThere : ProgramFixture {
    FlyThere() {
        navdata::AirportDatabase& db = corvane::testing::OwnAirports(p);
        db.AirportCount = 2;
        db.Airports.resize(4);
        db.Airports[1].name = "Elsewhere (XXXX)";
        db.Airports[2].name = "Testfield (TEST)";
        db.RunwayCount = 3;
        db.Runways.resize(5);
        navdata::RunwayRecord& r1 = db.Runways[1];
        r1.airportNumber = 2;
        r1.codeA = 9;
        r1.codeB = 27;
        r1.latitudeA = 50.0;
        r1.longitudeA = 8.0;
        r1.elevationA = 100;
        r1.latitudeB = 50.0;
        r1.longitudeB = 8.04;
        r1.elevationB = 110;
        r1.lengthFeet = 9400;
        db.Runways[2].airportNumber = 1;
        db.Runways[2].codeA = 18;
        db.Runways[2].codeB = 36;
        navdata::RunwayRecord& r3 = db.Runways[3];
        r3.airportNumber = 2;
        r3.codeA = 64 + 4;
        r3.codeB = 128 + 22;
        r3.lengthFeet = 6000;
        p.search.SelectedAirport = 2;

        p.forms.Form4.Label1.height = 255;
        p.forms.Form4.Label4.height = 255;
        p.forms.Form4.width = 8000;
        // The aircraft in the simulator, read by the exchanges of the start.
        PutAircraft(link, 49.5, 7.5, 1500, 123.6);
        link.Put(at::kCrashing, std::uint8_t{1});
        Exchange();
        link.writes.clear();
        link.batches = 0;
    }
};

TEST_F(FlyThere, ListsBothDirectionsOfEachRunwayOfTheAirport) {
    p.plan.RouteStage = 3;  // a flight under way stops being guided
    p.plan.LandingStage = 2;
    cmdflyme_Click(p);
    const forms::ListBox& list = p.forms.Form2.foundlist;
    EXPECT_EQ(list.tag, "runways");
    EXPECT_TRUE(list.visible);
    EXPECT_EQ(list.items, (std::vector<std::string>{" 9\t 9400 ft", " 27\t 9400 ft",
                                                    " 4L\t 6000 ft", " 22R\t 6000 ft"}));
    EXPECT_EQ(list.itemData, (std::vector<std::int32_t>{1, -1, 3, -3}));
    EXPECT_EQ(p.plan.RouteStage, 0);
    EXPECT_EQ(p.plan.LandingStage, 0);
    EXPECT_EQ(p.plan.DestAirport, 2);
    EXPECT_TRUE(p.plan.GuidanceOn);
}

TEST_F(FlyThere, AnAirportWithoutRunwaysGivesAnEmptyList) {
    p.forms.Form2.foundlist.AddItem("old line", 0);
    p.search.SelectedAirport = 3;
    cmdflyme_Click(p);
    EXPECT_TRUE(p.forms.Form2.foundlist.items.empty());
    EXPECT_TRUE(p.forms.Form2.foundlist.visible);
}

// ---- The start of a flight ---------------------------------------------------------

TEST_F(FlyThere, DirectionBTouchesDownAtEndB) {
    cmdflyme_Click(p);
    StartFlight(p, -1);
    const FlyTherePlan& plan = p.plan;
    EXPECT_EQ(plan.RunwayChoice, -1);
    EXPECT_EQ(plan.Threshold.lon, 8.04);
    EXPECT_EQ(plan.FarEnd.lon, 8.0);
    EXPECT_EQ(plan.RunwayDesignator, " 27");
    EXPECT_DOUBLE_EQ(plan.RunwayElevation, 110 * 3.2808);
    EXPECT_NEAR(plan.RunwayHeading, 270, 0.05);
}

TEST_F(FlyThere, DirectionATouchesDownAtEndA) {
    cmdflyme_Click(p);
    StartFlight(p, 1);
    EXPECT_EQ(p.plan.Threshold.lon, 8.0);
    EXPECT_EQ(p.plan.FarEnd.lon, 8.04);
    EXPECT_EQ(p.plan.RunwayDesignator, " 9");
    EXPECT_DOUBLE_EQ(p.plan.RunwayElevation, 100 * 3.2808);
    EXPECT_NEAR(p.plan.RunwayHeading, 90, 0.05);
}

TEST_F(FlyThere, StartEngagesTheAutopilotOverTwoExchangesAndStartsTheRouteAfterTwoSeconds) {
    cmdflyme_Click(p);
    const double before = host.now;
    StartFlight(p, 1);

    // First exchange: power, crash detection off, the autopilot switches.
    EXPECT_EQ(link.WritesAt(at::kThrottle1).at(0).value, 7168);
    EXPECT_EQ(link.WritesAt(at::kThrottle1).at(0).batch, 1);
    EXPECT_EQ(link.WritesAt(at::kCrashing).at(0).value, 0);
    EXPECT_EQ(link.WritesAt(at::kCrashing).at(0).batch, 1);
    for (std::int32_t offset : {at::kApMaster, at::kApAltHold, at::kApHeadingHold}) {
        EXPECT_EQ(link.WritesAt(offset).at(0).value, 1);
        EXPECT_EQ(link.WritesAt(offset).at(0).batch, 1);
    }
    // Second exchange: the current heading (124 degrees) and 4000 ft.
    EXPECT_EQ(link.WritesAt(at::kApHeading).at(0).value, 22574);
    EXPECT_EQ(link.WritesAt(at::kApHeading).at(0).batch, 2);
    EXPECT_EQ(link.WritesAt(at::kApAltitude).at(0).value, 4000 * 19975);
    EXPECT_EQ(link.WritesAt(at::kApVertSpeed).at(0).value, 0);
    EXPECT_EQ(link.WritesAt(at::kFlaps).at(0).batch, 2);
    EXPECT_EQ(link.WritesAt(at::kAutocoordinator).at(0).value, 1);
    EXPECT_EQ(link.batches, 2);

    EXPECT_EQ(p.plan.SavedCrashSetting, 1);
    EXPECT_EQ(p.plan.RouteBaseThrottle, 7168);
    EXPECT_TRUE(p.forms.Form1.menu.mnuFlythereOff.visible);
    EXPECT_TRUE(p.forms.Form1.menu.mnuFlyHeight.visible);
    EXPECT_TRUE(p.forms.Form4.visible);
    EXPECT_EQ(p.forms.Form4.height, 510);
    EXPECT_EQ(p.forms.Form4.Label5.caption, "--> Testfield (TEST) - runway  9");
    EXPECT_EQ(p.forms.Form4.Label6.caption, "To turning point");

    EXPECT_GE(host.now - before, 2.0);
    EXPECT_LT(host.now - before, 2.0 + host.stepSeconds + 1e-9);
    EXPECT_EQ(p.plan.RouteStage, 1);
    EXPECT_EQ(p.plan.LandingStage, 0);
}

TEST_F(FlyThere, DuringTheWaitTheStagesStayAtZero) {
    cmdflyme_Click(p);
    bool sawAStage = false;
    host.onDoEvents = [&] { sawAStage |= p.plan.RouteStage != 0 || p.plan.LandingStage != 0; };
    StartFlight(p, 1);
    EXPECT_FALSE(sawAStage);
    EXPECT_EQ(p.plan.RouteStage, 1);
}

TEST_F(FlyThere, AChoiceThatNamesNoRunwayStartsNothing) {
    cmdflyme_Click(p);
    for (std::int32_t choice : {0, 4, -4, 70000, -70000}) {
        StartFlight(p, choice);
        EXPECT_EQ(link.batches, 0) << choice;
        EXPECT_EQ(p.plan.RouteStage, 0) << choice;
        EXPECT_FALSE(p.forms.Form4.visible) << choice;
    }
}

TEST_F(FlyThere, StoppingDuringTheWaitCancelsTheStart) {
    cmdflyme_Click(p);
    bool stopped = false;
    host.onDoEvents = [&] {
        if (!stopped) {
            stopped = true;
            mnuFlythereOff_Click(p);
        }
    };
    StartFlight(p, 1);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(p.plan.RouteStage, 0);
    EXPECT_FALSE(p.forms.Form1.menu.mnuFlythereOff.visible);
}

TEST_F(FlyThere, TheWaitAcrossMidnightLastsTwoSeconds) {
    cmdflyme_Click(p);
    host.now = 86399.5;
    host.stepSeconds = 0.125;
    StartFlight(p, 1);
    EXPECT_EQ(host.doEventsCalls, 16);
    EXPECT_EQ(p.plan.RouteStage, 1);
}

TEST_F(FlyThere, TheWaitEndsWhenTheProgramEnds) {
    cmdflyme_Click(p);
    host.onDoEvents = [&] { host.ended = true; };
    StartFlight(p, 1);
    EXPECT_EQ(host.doEventsCalls, 1);
    EXPECT_EQ(p.plan.RouteStage, 0);
}

// ---- Stop ------------------------------------------------------------------------------

TEST_F(FlyThere, StopResetsTheControlsThenTheHoldsThenTheCrashSetting) {
    p.plan.RouteStage = 3;
    p.plan.LandingStage = 2;
    p.plan.SavedCrashSetting = 1;
    p.forms.Form1.menu.mnuFlythereOff.visible = true;
    p.forms.Form1.menu.mnuFlyHeight.visible = true;
    p.forms.Form4.visible = true;
    p.forms.Form4.height = 510;
    mnuFlythereOff_Click(p);

    EXPECT_EQ(p.plan.RouteStage, 0);
    EXPECT_EQ(p.plan.LandingStage, 0);
    EXPECT_EQ(link.batches, 3);
    for (std::int32_t offset :
         {at::kApHeading, at::kApAltitude, at::kApVertSpeed, at::kFlaps, at::kSpoilers}) {
        ASSERT_EQ(link.WritesAt(offset).size(), 1u) << offset;
        EXPECT_EQ(link.WritesAt(offset)[0].value, 0) << offset;
        EXPECT_EQ(link.WritesAt(offset)[0].batch, 1) << offset;
    }
    EXPECT_EQ(link.WritesAt(at::kAutocoordinator).at(0).value, 1);
    for (std::int32_t offset : {at::kApMaster, at::kApAltHold, at::kApHeadingHold}) {
        ASSERT_EQ(link.WritesAt(offset).size(), 1u) << offset;
        EXPECT_EQ(link.WritesAt(offset)[0].value, 0) << offset;
        EXPECT_EQ(link.WritesAt(offset)[0].batch, 2) << offset;
    }
    EXPECT_EQ(link.WritesAt(at::kCrashing).at(0).value, 1);
    EXPECT_EQ(link.WritesAt(at::kCrashing).at(0).batch, 3);
    EXPECT_FALSE(p.forms.Form1.menu.mnuFlythereOff.visible);
    EXPECT_FALSE(p.forms.Form1.menu.mnuFlyHeight.visible);
    EXPECT_TRUE(p.forms.Form4.visible);
    EXPECT_EQ(p.forms.Form4.height, 255);
}

TEST_F(FlyThere, StopHidesTheStatusWindowWhenTheReadoutsAreOff) {
    p.map.ReadoutsShown = false;
    p.forms.Form4.visible = true;
    mnuFlythereOff_Click(p);
    EXPECT_FALSE(p.forms.Form4.visible);
}

// ---- From the start to the stages of the route -------------------------------------------

TEST_F(FlyThere, TheRouteStartsAtTheTurningPointStage) {
    cmdflyme_Click(p);
    StartFlight(p, 1);
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 2);
    // Stage 1 engaged the autopilot again with an altitude of 0.
    EXPECT_EQ(link.batches, 4);
    EXPECT_EQ(link.LastWrite(at::kApAltitude), 0);
    EXPECT_GT(p.plan.TurningPointDistance, 4.0);
}

}  // namespace
}  // namespace corvane::autopilot::test
