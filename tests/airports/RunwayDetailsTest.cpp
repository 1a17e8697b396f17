// SPDX-License-Identifier: MIT
//
// The runway details grid: its layout, the order of the landing directions,
// the columns of each direction and its ILS.
#include <gtest/gtest.h>

#include "app/airports/RunwayDetails.h"
#include "tests/airports/AirportsTestSupport.h"

namespace corvane::airports {
namespace {

using testing::AddAirport;
using testing::AddRecord;
using testing::AddRunway;

std::vector<std::string> Column(const forms::Grid& grid, int col) {
    std::vector<std::string> texts;
    for (int row = 1; row < grid.rows; ++row)
        texts.push_back(grid.Text(row, col));
    return texts;
}

int RowOf(const forms::Grid& grid, const std::string& designator) {
    for (int row = 1; row < grid.rows; ++row) {
        if (grid.Text(row, 0) == designator)
            return row;
    }
    return -1;
}

navdata::IlsRecord Ils(const char* ident, double frequency, int rangeKm) {
    navdata::IlsRecord ils;
    ils.ident = ident;
    ils.name = std::string("ILS ") + ident;
    ils.frequency = frequency;
    ils.approachHeading = 89;
    ils.rangeKm = static_cast<std::uint8_t>(rangeKm);
    ils.glideSlopeLatitude = 51.4775;
    ils.glideSlopeLongitude = -0.4614;
    ils.glideSlopeAltitude = 25;
    return ils;
}

TEST(RunwayGrid, HasThirteenCentredColumnsWithTheirWidths) {
    navdata::AirportDatabase db;
    AddAirport(db, "EMPTY FIELD", 10, 10);
    forms::Grid grid;
    FillRunwayGrid(grid, db, 1);

    EXPECT_EQ(grid.cols, 13);
    EXPECT_EQ(grid.rows, 2);  // an airport without runways: header and one empty row
    EXPECT_EQ(grid.fixedRows, 1);
    EXPECT_EQ(grid.fixedCols, 1);
    const std::vector<std::string> headers = {
        "Rwy",      "Length",   "Width",     "Altit.",    "Surface",  "ILS ID", "ILS Name",
        "ILS Freq", "ILS app.", "ILS range", "GS latit.", "GS long.", "GS Alt"};
    const std::vector<double> widths = {500, 800, 600, 600,  800,  600, 1200,
                                        750, 800, 800, 1200, 1200, 600};
    for (int col = 0; col < 13; ++col) {
        EXPECT_EQ(grid.Text(0, col), headers[std::size_t(col)]);
        EXPECT_EQ(grid.colWidths[std::size_t(col)], widths[std::size_t(col)]);
        EXPECT_EQ(grid.headerAlignment[std::size_t(col)], forms::GridAlignment::Centre);
    }
    EXPECT_EQ(grid.Text(1, 0), "");
}

TEST(RunwayGrid, ListsTheDirectionsByRunwayNumber) {
    navdata::AirportDatabase db;
    AddAirport(db, "A", 10, 10);
    AddAirport(db, "B", 11, 11);
    AddRunway(db, 1, 9, 27, 10, 10, 10, 10.01);
    AddRunway(db, 2, 18, 36, 11, 11, 11.01, 11);  // another airport's runway
    AddRunway(db, 1, 64 + 4, 128 + 22, 10, 10, 10.01, 10.01);
    forms::Grid grid;
    FillRunwayGrid(grid, db, 1);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{" 4L", " 9", " 22R", " 27"}));
}

TEST(RunwayGrid, SortKeepsTheProgramsExchangeOrderForEqualNumbers) {
    // The exchange sort moves " 9R" past " 9L" when it brings " 4" forward: a
    // stable sort would list " 9R" first.
    std::vector<LandingDirection> entries = {{" 27L", 1, RunwayEnd::A},
                                             {" 9R", 1, RunwayEnd::B},
                                             {" 9L", 2, RunwayEnd::A},
                                             {" 4", 2, RunwayEnd::B}};
    SortByRunwayNumber(entries);
    std::vector<std::string> order;
    for (const auto& e : entries)
        order.push_back(e.designator);
    EXPECT_EQ(order, (std::vector<std::string>{" 4", " 9L", " 9R", " 27L"}));
}

TEST(RunwayGrid, FillsTheRunwayColumnsFromTheRowsOwnEnd) {
    navdata::AirportDatabase db;
    AddAirport(db, "A", 10, 10);
    for (int i = 1; i <= 11; ++i)
        AddRunway(db, 99, 1, 19, 0, 0, 0, 0);  // other airports
    const int twelve = AddRunway(db, 1, 128 + 27, 64 + 9, 10, 10, 10, 10.02);
    ASSERT_EQ(twelve, 12);
    db.Runways[12].elevationA = 10;
    db.Runways[12].elevationB = 50;
    db.Runways[12].lengthFeet = 12802;
    db.Runways[12].widthFeet = 164;
    db.Runways[12].surface = 1;
    forms::Grid grid;
    FillRunwayGrid(grid, db, 1);

    // Direction -12 touches down at end B: designator of codeB, elevation B.
    const int endB = RowOf(grid, " 9L");
    ASSERT_GT(endB, 0);
    EXPECT_EQ(grid.Text(endB, 1), " 12802 ft");
    EXPECT_EQ(grid.Text(endB, 2), " 164 ft");
    EXPECT_EQ(grid.Text(endB, 3), " 164 ft");  // 50 m x 3.2808 = 164.04, cut
    EXPECT_EQ(grid.Text(endB, 4), "Concrete");
    const int endA = RowOf(grid, " 27R");
    ASSERT_GT(endA, 0);
    EXPECT_EQ(grid.Text(endA, 3), " 32 ft");  // 10 m x 3.2808 = 32.8, cut
}

TEST(RunwayGrid, IlsColumnsOnlyForTheEndThatHasOne) {
    navdata::AirportDatabase db;
    AddAirport(db, "A", 51.47, -0.46);
    for (int i = 1; i <= 4; ++i)
        AddRecord(db.IlsStations, db.IlsCount, Ils("IXX", 108.1, 30));
    AddRecord(db.IlsStations, db.IlsCount, Ils("IAA", 110.3, 46));  // record 5
    const int r = AddRunway(db, 1, 9, 27, 51.47, -0.49, 51.47, -0.43);
    db.Runways[std::size_t(r)].ilsA = 5;
    forms::Grid grid;
    FillRunwayGrid(grid, db, 1);

    const int a = RowOf(grid, " 9");
    const int b = RowOf(grid, " 27");
    const std::vector<std::string> expectedA = {
        "IAA", "ILS IAA", "110.3", " 89 deg", "24", "N  51* 28' 39\"", "W  0* 27' 41\"", " 82 ft"};
    for (int col = 5; col <= 12; ++col) {
        EXPECT_EQ(grid.Text(a, col), expectedA[std::size_t(col - 5)]) << "column " << col;
        EXPECT_EQ(grid.Text(b, col), "") << "column " << col;
    }
}

TEST(RunwayGrid, IlsReferenceBeyondTheListCountsAsNone) {
    navdata::AirportDatabase db;
    AddAirport(db, "A", 10, 10);
    const int r = AddRunway(db, 1, 9, 27, 10, 10, 10, 10.01);
    db.Runways[std::size_t(r)].ilsA = 7;
    db.Runways[std::size_t(r)].ilsB = -3;
    forms::Grid grid;
    FillRunwayGrid(grid, db, 1);
    EXPECT_EQ(grid.Text(1, 5), "");
    EXPECT_EQ(grid.Text(2, 5), "");
}

TEST(RunwayGrid, IlsRangeIsCutToWholeNauticalMiles) {
    const std::vector<std::pair<int, std::string>> cases = {
        {20, "10"}, {0, "0"}, {1, "0"}, {2, "1"}, {255, "137"}};
    for (const auto& [rangeKm, expected] : cases) {
        navdata::AirportDatabase db;
        AddAirport(db, "A", 10, 10);
        AddRecord(db.IlsStations, db.IlsCount, Ils("I", 110, rangeKm));
        AddRunway(db, 1, 9, 27, 10, 10, 10, 10.01);
        db.Runways[1].ilsA = 1;
        forms::Grid grid;
        FillRunwayGrid(grid, db, 1);
        EXPECT_EQ(grid.Text(1, 9), expected) << rangeKm << " km";
    }
}

TEST(RunwayGrid, SurfaceNames) {
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "Grass"}, {1, "Concrete"}, {2, "Asphalt"}, {3, "Grass"},
        {4, "Dirt"},  {5, ""},         {7, ""},        {255, ""}};
    for (const auto& [code, name] : cases)
        EXPECT_EQ(SurfaceName(code), name) << "surface " << code;
}

TEST(RunwayGrid, PlainNumbersHaveNoLeadingBlankAndTheLocaleSeparator) {
    EXPECT_EQ(PlainNumberText(110.3), "110.3");
    EXPECT_EQ(PlainNumberText(10), "10");
    EXPECT_EQ(PlainNumberText(0.5), "0.5");
    EXPECT_EQ(PlainNumberText(-0.25), "-0.25");
    EXPECT_EQ(PlainNumberText(0), "0");
    EXPECT_EQ(PlainNumberText(110.3, ','), "110,3");

    navdata::AirportDatabase db;
    AddAirport(db, "A", 10, 10);
    AddRecord(db.IlsStations, db.IlsCount, Ils("I", 109.75, 30));
    AddRunway(db, 1, 9, 27, 10, 10, 10, 10.01);
    db.Runways[1].ilsA = 1;
    forms::Grid grid;
    FillRunwayGrid(grid, db, 1, ',');
    EXPECT_EQ(grid.Text(1, 7), "109,75");
}

TEST(RunwayGrid, LeadingRunwayNumber) {
    EXPECT_EQ(LeadingRunwayNumber(" 27R"), 27);
    EXPECT_EQ(LeadingRunwayNumber(" 9"), 9);
    EXPECT_EQ(LeadingRunwayNumber(" 64R"), 64);
    EXPECT_EQ(LeadingRunwayNumber(""), 0);
    EXPECT_EQ(LeadingRunwayNumber("L"), 0);
}

}  // namespace
}  // namespace corvane::airports
