// SPDX-License-Identifier: MIT
//
// The airport search: which airports match, the result lines, and what the
// search window does to the simulator, the main window and the airport window.
#include <gtest/gtest.h>

#include <random>

#include "app/airports/AirportSearch.h"
#include "app/startup/AirportHandlers.h"
#include "tests/airports/AirportsTestSupport.h"

namespace corvane::airports {
namespace {

using testing::AddAirport;
using testing::TestProgram;

navdata::AirportDatabase SearchDatabase() {
    navdata::AirportDatabase db;
    AddAirport(db, "LONDON HEATHROW", 51.4775, -0.4614);           // 1
    AddAirport(db, "  LONDON GATWICK ", 51.1481, -0.1903);         // 2
    AddAirport(db, "NULL ISLAND HEATH", 0.0, 10.0);                // 3: latitude 0
    AddAirport(db, "GREENWICH HEATH", 51.48, 0.0);                 // 4: longitude 0
    AddAirport(db, "SYDNEY KINGSFORD SMITH", -33.9461, 151.1772);  // 5
    AddAirport(db, "heathfield strip", 50.95, 0.27);               // 6
    return db;
}

struct SearchCase {
    const char* name;
    const char* key;
    std::vector<std::int32_t> expected;
};

class FindAirportsTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(FindAirportsTest, ListsTheMatchingAirportsInRecordOrder) {
    const SearchCase& c = GetParam();
    EXPECT_EQ(FindAirports(SearchDatabase(), c.key).airports, c.expected)
        << "key '" << c.key << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FindAirportsTest,
    ::testing::Values(SearchCase{"AnyPartIgnoringCase", "heath", {1, 6}},
                      SearchCase{"UpperCaseKeyFindsLowerCaseName", "HEATHFIELD", {6}},
                      SearchCase{"BlanksAroundTheKeyAreTrimmed", "   gatwick  ", {2}},
                      SearchCase{"BlanksInsideTheKeyMustMatch", "london heath", {1}},
                      SearchCase{"MissingInnerBlankDoesNotMatch", "londonheath", {}},
                      SearchCase{"DoubledInnerBlankDoesNotMatch", "london  heath", {}},
                      SearchCase{"EmptyKeyListsEveryPlacedAirport", "", {1, 2, 5, 6}},
                      SearchCase{"BlankKeyIsEmpty", "   ", {1, 2, 5, 6}},
                      SearchCase{"ZeroLatitudeOrLongitudeNeverListed", "null island", {}},
                      SearchCase{"ZeroLongitudeNeverListed", "greenwich", {}},
                      SearchCase{"NothingMatches", "zzz", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Names and keys of a few letters in both cases, accented ones of the code
// page and blanks, so that partial and overlapping matches are frequent: the
// search lists exactly the names whose upper-cased text holds the key.
TEST(FindAirports, ListsExactlyTheNamesWhoseUpperCaseHoldsTheKey) {
    const std::string alphabet = "aAbB \xE9\xC9\x9A\x8A\xFF\x9F";
    std::mt19937 random(11);
    auto word = [&](int longest) {
        std::string w(std::uniform_int_distribution<int>(0, longest)(random), ' ');
        for (char& c : w)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0,
                                                                    alphabet.size() - 1)(random)];
        return w;
    };
    navdata::AirportDatabase db;
    for (int i = 0; i < 300; ++i)
        AddAirport(db, word(14), 10.0 + i * 0.01, 20.0);
    const AirportSearchIndex index(db);
    for (int k = 0; k < 200; ++k) {
        const std::string key = word(5);
        const std::string wanted = UpperCaseAnsi(TrimBlanks(key));
        std::vector<std::int32_t> expected;
        for (int i = 1; i <= db.AirportCount; ++i)
            if (UpperCaseAnsi(db.Airports[std::size_t(i)].name).find(wanted) != std::string::npos)
                expected.push_back(i);
        const SearchResults found = FindAirports(db, key);
        ASSERT_EQ(found.airports, expected) << "key '" << key << "'";
        // The index of the upper-cased names finds the same, line for line.
        const SearchResults indexed = index.Find(db, key);
        ASSERT_EQ(indexed.airports, found.airports) << "key '" << key << "'";
        ASSERT_EQ(indexed.lines, found.lines) << "key '" << key << "'";
    }
}

TEST(FindAirports, AccentedLettersMatchAcrossCase) {
    navdata::AirportDatabase db;
    AddAirport(db, "Z\xDCRICH (LSZH)", 47.4647, 8.5492);  // "ZÜRICH" in the ANSI code page
    EXPECT_EQ(FindAirports(db, "z\xFCrich").airports, std::vector<std::int32_t>{1});
    EXPECT_EQ(UpperCaseAnsi("a\xE9\xF7\xFFz"), "A\xC9\xF7\x9FZ");
}

TEST(FindAirports, ResultLinesFollowTheirAirports) {
    const SearchResults results = FindAirports(SearchDatabase(), "london");
    ASSERT_EQ(results.lines.size(), 2u);
    EXPECT_EQ(results.lines[0], "LONDON HEATHROW {N 51  W 0}");
    EXPECT_EQ(results.lines[1], "LONDON GATWICK {N 51  W 0}");
}

struct LineCase {
    const char* name;
    const char* airportName;
    double lat;
    double lon;
    const char* expected;
};

class SearchResultLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(SearchResultLineTest, ShowsWholeDegreesWithTheirHemispheres) {
    const LineCase& c = GetParam();
    navdata::AirportRecord airport;
    airport.name = c.airportName;
    airport.latitude = c.lat;
    airport.longitude = c.lon;
    EXPECT_EQ(SearchResultLine(airport), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SearchResultLineTest,
    ::testing::Values(LineCase{"Heathrow", "LONDON HEATHROW", 51.47, -0.46,
                               "LONDON HEATHROW {N 51  W 0}"},
                      LineCase{"WestUnderOneDegree", "A", 10.5, -0.3, "A {N 10  W 0}"},
                      LineCase{"EastNearTheDateLine", "B", 10.5, 179.9, "B {N 10  E 179}"},
                      LineCase{"SouthIsCutNotRounded", "C", -33.9, 151.2, "C {S 33  E 151}"},
                      LineCase{"NameIsTrimmed", "  D  ", 1.5, 2.5, "D {N 1  E 2}"},
                      LineCase{"LongitudeBeyond360TakenRoundOnce", "E", 1.5, 365.5, "E {N 1  E 5}"},
                      LineCase{"LongitudeOf720Point5ReadsZero", "F", 1.5, 720.5, "F {N 1  E 0}"},
                      LineCase{"WestBeyond360", "G", 1.5, -400.2, "G {N 1  W 40}"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(mnushowplace, PausesTheSimulatorAndPutsTheSearchWindowInPlaceOfTheMainWindow) {
    TestProgram t;
    Program& p = t.p;
    p.flightState.paused = 0;
    p.forms.Form1.left = 1500;
    p.forms.Form1.top = 2100;
    p.forms.Form3.TxtAirport.text = "old text";
    p.search.SearchText = "old";
    p.forms.Form1.menu.popupRequested = true;

    testing::mnushowplace_Click(p);

    EXPECT_EQ(p.SavedPauseState, 0);
    EXPECT_EQ(p.flightState.pausedpending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.out.paused, 1);
    EXPECT_TRUE(p.forms.Form3.visible);
    EXPECT_EQ(p.forms.Form3.left, 1500);
    EXPECT_EQ(p.forms.Form3.top, 2100);
    EXPECT_EQ(p.forms.Form3.TxtAirport.text, "");
    EXPECT_EQ(p.forms.Form3.focusControl, "TxtAirport");
    EXPECT_EQ(p.search.SearchText, "");
    EXPECT_FALSE(p.forms.Form1.visible);
    EXPECT_FALSE(p.Form1Timer1->Enabled());
    EXPECT_FALSE(p.Form1Timer3->Enabled());
    EXPECT_FALSE(p.forms.Form1.menu.popupRequested);
    EXPECT_FALSE(p.forms.Form1.menu.mnuview.visible);
}

TEST(mnushowplace, WithoutTheSimulatorOnlyClosesTheMenu) {
    TestProgram t;
    Program& p = t.p;
    p.flightState.simulatorkind = flightstate::kNoSimulator;
    p.forms.Form1.menu.popupRequested = true;

    testing::mnushowplace_Click(p);

    EXPECT_FALSE(p.forms.Form3.visible);
    EXPECT_TRUE(p.forms.Form1.visible);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    EXPECT_EQ(p.flightState.pausedpending, 0);
    EXPECT_FALSE(p.forms.Form1.menu.popupRequested);
    EXPECT_FALSE(p.forms.Form1.menu.mnuview.visible);
}

TEST(cmdOK, TwoMatchesAreListedForThePilotToChoose) {
    TestProgram t;
    Program& p = t.p;
    t.db = SearchDatabase();
    testing::mnushowplace_Click(p);
    p.forms.Form3.TxtAirport.text = " heath ";

    testing::cmdOK_Click(p);

    EXPECT_EQ(p.search.SearchText, " heath ");
    EXPECT_FALSE(p.forms.Form3.visible);
    const forms::Form2Model& window = p.forms.Form2;
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.caption, "Airport Selection");
    EXPECT_TRUE(window.foundlist.visible);
    EXPECT_EQ(window.foundlist.tag, "airports");
    EXPECT_EQ(window.foundlist.items, (std::vector<std::string>{"LONDON HEATHROW {N 51  W 0}",
                                                                "heathfield strip {N 50  E 0}"}));
    EXPECT_EQ(window.foundlist.itemData, (std::vector<std::int32_t>{1, 6}));
    EXPECT_EQ(p.search.SelectedAirport, 0);
    EXPECT_EQ(t.plan->lines.size(), 0u);
    EXPECT_FALSE(window.cmdDetails.visible);
}

TEST(cmdOK, ASingleMatchShowsItsPlanAtOnce) {
    TestProgram t;
    Program& p = t.p;
    t.db = SearchDatabase();
    testing::AddRunway(t.db, 5, 16, 34, -33.93, 151.17, -33.96, 151.18);
    p.flightState.paused = 0;
    testing::mnushowplace_Click(p);
    p.forms.Form3.TxtAirport.text = "sydney";

    testing::cmdOK_Click(p);

    const forms::Form2Model& window = p.forms.Form2;
    EXPECT_EQ(p.search.SelectedAirport, 5);
    EXPECT_EQ(window.tag, "5");
    EXPECT_EQ(window.caption, "SYDNEY KINGSFORD SMITH");
    EXPECT_FALSE(window.foundlist.visible);
    EXPECT_FALSE(window.rungrid.visible);
    EXPECT_EQ(window.rungrid.rows, 2);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 30);  // 450 / 15 twips per pixel
    EXPECT_TRUE(window.cmdDetails.visible);
    EXPECT_FALSE(p.forms.Form1.visible);
    EXPECT_EQ(p.SavedPauseState, 0);
    EXPECT_EQ(p.flightState.out.paused, 1);
    EXPECT_FALSE(t.plan->lines.empty());      // the strip is drawn
    EXPECT_FALSE(t.surface->prints.empty());  // and the text block written
}

TEST(cmdOK, ASingleMatchWithoutTheSimulatorStaysInTheList) {
    TestProgram t;
    Program& p = t.p;
    t.db = SearchDatabase();
    p.flightState.simulatorkind = flightstate::kNoSimulator;
    p.forms.Form3.TxtAirport.text = "sydney";

    testing::cmdOK_Click(p);

    EXPECT_TRUE(p.forms.Form2.foundlist.visible);
    EXPECT_EQ(p.forms.Form2.foundlist.items.size(), 1u);
    EXPECT_EQ(p.search.SelectedAirport, 0);
}

TEST(cmdOK, NoMatchLeavesAnEmptyList) {
    TestProgram t;
    Program& p = t.p;
    t.db = SearchDatabase();
    p.forms.Form2.foundlist.AddItem("left over", 3);
    p.forms.Form3.TxtAirport.text = "nowhere";

    testing::cmdOK_Click(p);

    EXPECT_TRUE(p.forms.Form2.visible);
    EXPECT_TRUE(p.forms.Form2.foundlist.items.empty());
}

TEST(Form3_QueryUnload, ClosingTheSearchWindowGivesTheProgramBack) {
    TestProgram t;
    Program& p = t.p;
    p.flightState.paused = 0;
    testing::mnushowplace_Click(p);

    startup::Form3_QueryUnload(p);

    EXPECT_FALSE(p.forms.Form3.visible);
    EXPECT_TRUE(p.forms.Form1.visible);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    EXPECT_TRUE(p.Form1Timer3->Enabled());
    EXPECT_EQ(p.flightState.out.paused, 0);
    EXPECT_EQ(p.flightState.pausedpending, flightstate::kRequestSet);
}

}  // namespace
}  // namespace corvane::airports
