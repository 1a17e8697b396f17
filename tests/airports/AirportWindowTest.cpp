// SPDX-License-Identifier: MIT
//
// The airport window: choosing a search result, the details button, closing,
// and opening an airport from the map.
#include <gtest/gtest.h>

#include "app/startup/AirportHandlers.h"
#include "tests/airports/AirportsTestSupport.h"

namespace corvane::airports {
namespace {

using testing::AddAirport;
using testing::AddRunway;
using testing::TestProgram;

// Two airports of the same name (1 and 3) and one runway each.
void TwinDatabase(TestProgram& t) {
    AddAirport(t.db, "TWIN FIELD", 45.5, 7.5);
    AddAirport(t.db, "OTHER", 46.5, 8.5);
    AddAirport(t.db, "TWIN FIELD", 47.5, 9.5);
    AddRunway(t.db, 1, 9, 27, 45.5, 7.49, 45.5, 7.51);
    AddRunway(t.db, 3, 18, 36, 47.51, 9.5, 47.49, 9.5);
}

TEST(foundlist, ChoosingAResultShowsThatAirportsPlan) {
    TestProgram t;
    Program& p = t.p;
    TwinDatabase(t);
    p.forms.Form3.TxtAirport.text = "twin";
    testing::cmdOK_Click(p);
    ASSERT_EQ(p.forms.Form2.foundlist.items.size(), 2u);
    p.forms.Form2.rungrid.visible = true;

    testing::foundlist_Click(p, 1);  // the second TWIN FIELD

    const forms::Form2Model& window = p.forms.Form2;
    EXPECT_EQ(p.search.SelectedAirport, 3);
    EXPECT_EQ(window.tag, "3");
    EXPECT_EQ(window.caption, "TWIN FIELD");
    EXPECT_FALSE(window.foundlist.visible);
    EXPECT_TRUE(window.foundlist.items.empty());
    EXPECT_FALSE(window.rungrid.visible);
    EXPECT_EQ(window.rungrid.rows, 2);
    EXPECT_TRUE(window.cmdDetails.visible);
    EXPECT_GE(t.plan->clsCount, 1);
    EXPECT_GE(t.surface->clsCount, 1);
}

TEST(foundlist, ALineWithoutItsAirportIsFoundByName) {
    TestProgram t;
    Program& p = t.p;
    TwinDatabase(t);
    p.forms.Form2.foundlist.tag = "airports";
    p.forms.Form2.foundlist.AddItem("OTHER {N 46  E 8}");
    p.forms.Form2.foundlist.AddItem("TWIN FIELD {N 47  E 9}");

    testing::foundlist_Click(p, 1);
    EXPECT_EQ(p.search.SelectedAirport, 1);  // the first airport of that name

    p.forms.Form2.foundlist.tag = "airports";
    p.forms.Form2.foundlist.AddItem("GONE {N 1  E 1}");
    testing::foundlist_Click(p, 0);
    EXPECT_EQ(p.search.SelectedAirport, 4);  // AirportCount + 1: the empty record
    EXPECT_EQ(p.forms.Form2.caption, "");
}

TEST(foundlist, AClickOutsideTheLinesDoesNothing) {
    TestProgram t;
    Program& p = t.p;
    TwinDatabase(t);
    p.forms.Form2.foundlist.tag = "airports";
    p.forms.Form2.foundlist.AddItem("OTHER {N 46  E 8}", 2);
    testing::foundlist_Click(p, 1);
    testing::foundlist_Click(p, -1);
    EXPECT_EQ(p.search.SelectedAirport, 0);
    EXPECT_EQ(p.forms.Form2.foundlist.items.size(), 1u);
}

TEST(cmdDetails, ShowsAndHidesTheGridOfTheShownAirport) {
    TestProgram t;
    Program& p = t.p;
    TwinDatabase(t);
    startup::OpenAirportFromMap(p, 3);
    forms::Form2Model& window = p.forms.Form2;

    startup::cmdDetails_Click(p);
    EXPECT_TRUE(window.rungrid.visible);
    EXPECT_EQ(window.cmdDetails.caption, "Hide details");
    ASSERT_EQ(window.rungrid.rows, 3);
    EXPECT_EQ(window.rungrid.Text(1, 0), " 18");
    EXPECT_EQ(window.rungrid.Text(2, 0), " 36");

    startup::cmdDetails_Click(p);
    EXPECT_FALSE(window.rungrid.visible);
    EXPECT_EQ(window.cmdDetails.caption, "Show details");
}

TEST(cmdclose, GivesBackThePauseStateTheMainWindowAndTheFocus) {
    TestProgram t;
    Program& p = t.p;
    TwinDatabase(t);
    p.flightState.paused = 1;  // the pilot had paused the simulator
    testing::mnushowplace_Click(p);
    p.forms.Form3.TxtAirport.text = "other";
    testing::cmdOK_Click(p);
    startup::cmdDetails_Click(p);
    p.flightState.pausedpending = 0;
    t.plan->Forget();
    t.surface->Forget();

    startup::cmdclose_Click(p);

    const forms::Form2Model& window = p.forms.Form2;
    EXPECT_FALSE(window.visible);
    EXPECT_FALSE(window.rungrid.visible);
    EXPECT_EQ(window.rungrid.rows, 2);
    EXPECT_EQ(window.rungrid.Text(1, 0), "");
    EXPECT_TRUE(window.foundlist.items.empty());
    EXPECT_EQ(window.cmdDetails.caption, "Show details");
    EXPECT_EQ(t.plan->clsCount, 1);
    EXPECT_EQ(t.surface->clsCount, 1);
    EXPECT_EQ(p.flightState.pausedpending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.out.paused, 1);
    EXPECT_TRUE(p.forms.Form1.visible);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    EXPECT_TRUE(p.Form1Timer3->Enabled());
    EXPECT_EQ(t.host.focusCalls, std::vector<host::WindowId>{0x5150});
    EXPECT_EQ(t.host.updateCalls, std::vector<host::WindowId>{0x5150});
}

TEST(OpenAirportFromMap, PutsThePlanInPlaceOfTheMainWindow) {
    TestProgram t;
    Program& p = t.p;
    TwinDatabase(t);

    startup::OpenAirportFromMap(p, 2);

    EXPECT_FALSE(p.forms.Form1.visible);
    const forms::Form2Model& window = p.forms.Form2;
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 30);
    EXPECT_EQ(window.tag, "2");
    EXPECT_EQ(window.caption, "OTHER");
    EXPECT_FALSE(window.foundlist.visible);
    EXPECT_EQ(p.search.SelectedAirport, 2);
    EXPECT_TRUE(window.cmdDetails.visible);
}

TEST(OpenAirportFromMap, DoesNothingForANonAirport) {
    TestProgram t;
    Program& p = t.p;
    TwinDatabase(t);
    startup::OpenAirportFromMap(p, 0);
    startup::OpenAirportFromMap(p, 4);
    startup::OpenAirportFromMap(p, -2);
    EXPECT_FALSE(p.forms.Form2.visible);
    EXPECT_TRUE(p.forms.Form1.visible);
}

}  // namespace
}  // namespace corvane::airports
