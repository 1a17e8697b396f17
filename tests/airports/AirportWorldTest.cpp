// SPDX-License-Identifier: MIT
//
// The airport windows over the database the build makes from the open data:
// "heathrow" finds London Heathrow, its plan shows both runways, the details
// list the ILS of all four landing directions, and "Fly there" hands a landing
// direction over to the flight's start, which closes the window.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/map/AirportPlan.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/FlyThereHandlers.h"
#include "navdata/AirportDatabaseFile.h"
#include "platform/qt/ImageCanvas.h"
#include "tests/airports/AirportsTestSupport.h"

namespace corvane::airports {
namespace {

using forms::Rgb;

class HeathrowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        database_ = std::make_shared<const navdata::AirportDatabase>(
            navdata::LoadAirportDatabase(std::string(CORVANE_TEST_APP_DIR) + "/airdata.tri"));
    }
    static void TearDownTestSuite() { database_.reset(); }

    HeathrowTest() {
        p.airports = database_;
        p.flightState.simulatorkind = flightstate::kFs98;
        p.forms.Form1.visible = true;
        p.Form1Timer1 = std::make_unique<testing::FakeTimer>();
        p.Form1Timer3 = std::make_unique<testing::FakeTimer>();
        forms::Form2Model& window = p.forms.Form2;
        auto planCanvas = std::make_unique<qtui::ImageCanvas>(
            int(window.picmap.width / 15), int(window.picmap.height / 15), 15, 15);
        plan = planCanvas.get();
        window.picmap.canvas = std::move(planCanvas);
        auto surfaceCanvas = std::make_unique<qtui::ImageCanvas>(int(window.width / 15),
                                                                 int(window.height / 15), 15, 15);
        surface = surfaceCanvas.get();
        window.surface.canvas = std::move(surfaceCanvas);
    }

    // Searches "heathrow" and chooses London Heathrow among the results.
    void ShowHeathrow() {
        testing::mnushowplace_Click(p);
        p.forms.Form3.TxtAirport.text = "heathrow";
        testing::cmdOK_Click(p);
        const std::vector<std::string>& lines = p.forms.Form2.foundlist.items;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find("(EGLL)") != std::string::npos) {
                testing::foundlist_Click(p, int(i));
                return;
            }
        }
        ADD_FAILURE() << "no line for EGLL among " << lines.size();
    }

    static std::shared_ptr<const navdata::AirportDatabase> database_;
    testing::FakeHost host;
    testing::FakeLink link;
    Program p{host, link};
    qtui::ImageCanvas* plan = nullptr;
    qtui::ImageCanvas* surface = nullptr;
};

std::shared_ptr<const navdata::AirportDatabase> HeathrowTest::database_;

int Count(const qtui::ImageCanvas& c, Rgb colour) {
    int n = 0;
    for (int y = 0; y < c.PixelHeight(); ++y) {
        for (int x = 0; x < c.PixelWidth(); ++x)
            n += c.PixelAt(x, y) == colour;
    }
    return n;
}

TEST_F(HeathrowTest, SearchShowsThePlanWithBothRunways) {
    testing::mnushowplace_Click(p);
    p.forms.Form3.TxtAirport.text = "heathrow";
    testing::cmdOK_Click(p);
    const std::vector<std::string>& lines = p.forms.Form2.foundlist.items;
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "London Heathrow (EGLL) {N 51  W 0}"),
              lines.end());
    ShowHeathrow();

    ASSERT_NE(p.search.SelectedAirport, 0);
    const navdata::AirportRecord& airport =
        p.airports->Airports[std::size_t(p.search.SelectedAirport)];
    EXPECT_NE(airport.name.find("EGLL"), std::string::npos) << airport.name;
    EXPECT_EQ(p.forms.Form2.caption, airport.name);
    if (const char* dir = std::getenv("CORVANE_PLAN_SNAPSHOT_DIR")) {
        plan->SavePng(std::string(dir) + "/heathrow-plan.png");
        surface->SavePng(std::string(dir) + "/heathrow-text.png");
    }
    EXPECT_EQ(Count(*plan, Rgb{0, 0, 255}), 0);
    int runways = 0;
    Rgb fill;
    for (int r = 1; r <= p.airports->RunwayCount; ++r) {
        const navdata::RunwayRecord& runway = p.airports->Runways[std::size_t(r)];
        if (runway.airportNumber != p.search.SelectedAirport)
            continue;
        ++runways;
        ASSERT_TRUE(map::SurfaceFillColour(runway.surface, &fill));
    }
    EXPECT_EQ(runways, 2);
    // Two strips of about 3.9 and 3.7 km by 50 m on a 400-pixel plan.
    EXPECT_GT(Count(*plan, fill), 2 * 250);
}

TEST_F(HeathrowTest, DetailsListEveryLandingDirectionWithItsIls) {
    ShowHeathrow();
    startup::cmdDetails_Click(p);

    const forms::Grid& grid = p.forms.Form2.rungrid;
    ASSERT_EQ(grid.rows, 5);
    std::vector<std::string> designators;
    for (int row = 1; row < grid.rows; ++row) {
        designators.push_back(grid.Text(row, 0));
        EXPECT_FALSE(grid.Text(row, 5).empty()) << grid.Text(row, 0) << " has its ILS";
        EXPECT_EQ(grid.Text(row, 4), "Asphalt");
    }
    EXPECT_EQ(designators, (std::vector<std::string>{" 9L", " 9R", " 27R", " 27L"}));
}

TEST_F(HeathrowTest, FlyThereHandsTheChosenDirectionToTheFlight) {
    p.flightState.paused = 0;
    ShowHeathrow();
    startup::cmdflyme_Click(p);

    const forms::ListBox& list = p.forms.Form2.foundlist;
    ASSERT_EQ(list.tag, "runways");
    ASSERT_EQ(list.items.size(), 4u);
    std::vector<std::string> designators;
    for (const std::string& item : list.items)
        designators.push_back(item.substr(0, item.find('\t')));
    EXPECT_EQ(designators, (std::vector<std::string>{" 9L", " 27R", " 9R", " 27L"}));

    testing::foundlist_Click(p, 1);

    EXPECT_EQ(p.plan.RunwayDesignator, " 27R");
    EXPECT_LT(p.plan.RunwayChoice, 0) << "the second line lands at end B";
    EXPECT_FALSE(p.forms.Form2.visible) << "the flight's start closes the airport window";
    EXPECT_TRUE(p.forms.Form1.visible);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    EXPECT_EQ(p.flightState.out.paused, 0);
}

}  // namespace
}  // namespace corvane::airports
