// SPDX-License-Identifier: MIT
//
// The airport plan drawn on a recording canvas: the projection, the strip's
// outline and fill, the markers and the text block.
#include <gtest/gtest.h>

#include <cmath>

#include "app/map/AirportPlan.h"
#include "navdata/Geodesy.h"
#include "navdata/PositionText.h"
#include "tests/airports/AirportsTestSupport.h"

namespace corvane::map {
namespace {

using testing::AddAirport;
using testing::AddRecord;
using testing::AddRunway;
using testing::RecordingCanvas;
using testing::TestProgram;

constexpr forms::Rgb kBlue{0, 0, 255};
constexpr forms::Rgb kBlack{0, 0, 0};
constexpr forms::Rgb kWhite{255, 255, 255};
constexpr forms::Rgb kGrass{0, 192, 0};

// One runway from (51.0 N, 0.0) to (51.01 N, 0.0), 150 ft wide.
int OneRunwayAirport(navdata::AirportDatabase& db, int surface = 3) {
    const int airport = AddAirport(db, "ONE STRIP", 51.005, 0.001);
    const int r = AddRunway(db, airport, 18, 36, 51.0, 0.0, 51.01, 0.0);
    db.Runways[std::size_t(r)].surface = static_cast<std::uint8_t>(surface);
    return airport;
}

TEST(FitPlan, OneRunwayIsCentredAndFillsEightyFivePercent) {
    navdata::AirportDatabase db;
    const int airport = OneRunwayAirport(db);
    const PlanFit fit = FitPlan(db, airport, 6000);
    EXPECT_TRUE(fit.hasRunways);
    EXPECT_DOUBLE_EQ(fit.projection.cLat, 51.005);
    EXPECT_DOUBLE_EQ(fit.projection.cLon, 0.0);
    EXPECT_NEAR(fit.R, 555.65, 0.01);  // half of 0.01 degree of latitude
    EXPECT_DOUBLE_EQ(fit.projection.s, 3000 * 0.85 / fit.R);

    const PlanPoint a = ProjectPlanPoint(fit.projection, 6000, 6000, 51.0, 0.0);
    const PlanPoint b = ProjectPlanPoint(fit.projection, 6000, 6000, 51.01, 0.0);
    const PlanPoint c = ProjectPlanPoint(fit.projection, 6000, 6000, 51.005, 0.0);
    EXPECT_NEAR(c.x, 3000, 1e-6);
    EXPECT_NEAR(c.y, 2700, 1e-6);  // 300 above the picture's middle
    EXPECT_NEAR(a.x, 3000, 0.05);
    EXPECT_NEAR(b.x, 3000, 0.05);
    EXPECT_NEAR(a.y - b.y, 0.85 * 6000, 0.01);
    EXPECT_NEAR(a.y, 5250, 0.01);
}

TEST(FitPlan, EastWestExtentCountsWhenItIsTheLarger) {
    navdata::AirportDatabase db;
    const int airport = AddAirport(db, "WIDE", 0.5, 10.0);
    AddRunway(db, airport, 9, 27, 0.5, 10.0, 0.5, 10.04);
    const PlanFit fit = FitPlan(db, airport, 6000);
    EXPECT_NEAR(fit.R, navdata::GreatCircleDistance(0.5, 10.02, 0.5, 10.0), 1e-9);
    const PlanPoint east = ProjectPlanPoint(fit.projection, 6000, 6000, 0.5, 10.04);
    EXPECT_NEAR(east.x, 3000 + 2550, 0.5);
    EXPECT_NEAR(east.y, 2700, 0.5);
}

TEST(showmapall, OutlinesTheStripInBlueFillsItAndOutlinesItAgainInBlack) {
    TestProgram t;
    Program& p = t.p;
    const int airport = OneRunwayAirport(t.db);

    showmapall(t.db, p.forms.Form2, airport);

    const auto& lines = t.plan->lines;
    ASSERT_GE(lines.size(), 8u);
    const double halfWidth = 75 * 111130.555555 / 364809.096305463 * 2550 / 555.65;
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (int i = 0; i < 4; ++i) {
        const auto& blue = lines[std::size_t(i)];
        const auto& black = lines[std::size_t(i + 4)];
        EXPECT_EQ(blue.colour, kBlue) << "edge " << i;
        EXPECT_EQ(black.colour, kBlack) << "edge " << i;
        EXPECT_EQ(std::tie(blue.x1, blue.y1, blue.x2, blue.y2),
                  std::tie(black.x1, black.y1, black.x2, black.y2))
            << "edge " << i << " is drawn over in black";
        EXPECT_EQ(blue.x2, lines[std::size_t((i + 1) % 4)].x1) << "the outline is closed";
        EXPECT_EQ(blue.y2, lines[std::size_t((i + 1) % 4)].y1);
        minX = std::min(minX, blue.x1);
        maxX = std::max(maxX, blue.x1);
        minY = std::min(minY, blue.y1);
        maxY = std::max(maxY, blue.y1);
    }
    EXPECT_NEAR(minX, 3000 - halfWidth, 1.0);
    EXPECT_NEAR(maxX, 3000 + halfWidth, 1.0);
    EXPECT_NEAR(minY, 150, 0.5);
    EXPECT_NEAR(maxY, 5250, 0.5);

    ASSERT_EQ(t.plan->fills.size(), 1u);
    const auto& fill = t.plan->fills[0];
    EXPECT_EQ(fill.x, 200);  // the strip's centre, 3000 / 15
    EXPECT_EQ(fill.y, 180);  // 2700 / 15
    EXPECT_EQ(fill.boundary, kBlue);
    EXPECT_EQ(fill.fill, kGrass);
    EXPECT_EQ(fill.mode, forms::ScaleMode::Pixels);
    EXPECT_EQ(t.plan->GetScaleMode(), forms::ScaleMode::Twips);
    EXPECT_FALSE(t.plan->FillSolid());
}

// An airport whose runway, fuel point and ATIS lie on both sides of the 180
// degree meridian is drawn exactly as the same airport turned by 180 degrees
// of longitude, which lies far from it: strip, fill, labels, markers and scale.
TEST(showmapall, AnAirportAcrossTheMeridianIsDrawnWhole) {
    struct Drawn {
        TestProgram t;
        explicit Drawn(double turn) {
            navdata::AirportDatabase& db = t.db;
            const int airport = AddAirport(db, "RABI", -16.5305, 179.999 + turn);
            AddRunway(db, airport, 6, 24, -16.531, 179.9965 + turn, -16.530,
                      -179.9985 + turn + 360);
            AddRunway(db, airport, 18, 36, -16.526, 179.9995 + turn, -16.535, 179.9995 + turn);
            navdata::AirportRecord& record = db.Airports[std::size_t(airport)];
            record.hasFuel = -1;
            record.fuelLatitude = -16.5285;
            record.fuelLongitude = -179.9992 + turn + 360;
            navdata::AtisRecord atis;
            atis.latitude = -16.5335;
            atis.longitude = 179.9975 + turn;
            record.atisNumber =
                static_cast<std::int16_t>(AddRecord(db.AtisStations, db.AtisCount, atis));
            // Stored within -180 to 180, as the database holds them.
            for (navdata::RunwayRecord& r : db.Runways) {
                r.longitudeA = Wrapped(r.longitudeA);
                r.longitudeB = Wrapped(r.longitudeB);
            }
            record.longitude = Wrapped(record.longitude);
            record.fuelLongitude = Wrapped(record.fuelLongitude);
            db.AtisStations[std::size_t(record.atisNumber)].longitude = Wrapped(atis.longitude);
            showmapall(t.db, t.p.forms.Form2, airport);
        }
        static double Wrapped(double lon) {
            return lon >= 180 ? lon - 360 : lon < -180 ? lon + 360 : lon;
        }
    };
    const Drawn across(0);       // the runway from 179.9965 E to 179.9985 W
    const Drawn turned(-180.0);  // the same from 0.0035 W to 0.0015 E
    const RecordingCanvas& a = *across.t.plan;
    const RecordingCanvas& b = *turned.t.plan;

    ASSERT_EQ(a.lines.size(), b.lines.size());
    ASSERT_GE(a.lines.size(), 16u);
    for (std::size_t i = 0; i < a.lines.size(); ++i) {
        EXPECT_NEAR(a.lines[i].x1, b.lines[i].x1, 0.01) << "line " << i;
        EXPECT_NEAR(a.lines[i].y1, b.lines[i].y1, 0.01) << "line " << i;
        EXPECT_NEAR(a.lines[i].x2, b.lines[i].x2, 0.01) << "line " << i;
        EXPECT_NEAR(a.lines[i].y2, b.lines[i].y2, 0.01) << "line " << i;
        // Everything lies on the picture (6000 x 6000 twips).
        for (double c : {a.lines[i].x1, a.lines[i].y1, a.lines[i].x2, a.lines[i].y2}) {
            EXPECT_GE(c, 0) << "line " << i;
            EXPECT_LE(c, 6000) << "line " << i;
        }
    }
    ASSERT_EQ(a.fills.size(), 2u);
    ASSERT_EQ(b.fills.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(a.fills[i].x, b.fills[i].x);
        EXPECT_EQ(a.fills[i].y, b.fills[i].y);
    }
    ASSERT_EQ(a.boxes.size(), 2u);  // fuel and ATIS
    ASSERT_EQ(b.boxes.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(a.boxes[i].x1, b.boxes[i].x1, 0.01);
        EXPECT_NEAR(a.boxes[i].y1, b.boxes[i].y1, 0.01);
    }
    ASSERT_EQ(a.prints.size(), b.prints.size());
    for (std::size_t i = 0; i < a.prints.size(); ++i) {
        EXPECT_EQ(a.prints[i].text, b.prints[i].text);
        EXPECT_NEAR(a.prints[i].x, b.prints[i].x, 0.01) << a.prints[i].text;
        EXPECT_NEAR(a.prints[i].y, b.prints[i].y, 0.01) << a.prints[i].text;
    }
}

TEST(showmapall, LabelsEachEndBesideIt) {
    TestProgram t;
    Program& p = t.p;
    showmapall(t.db, p.forms.Form2, OneRunwayAirport(t.db));
    ASSERT_GE(t.plan->prints.size(), 2u);
    const auto& a = t.plan->prints[0];
    const auto& b = t.plan->prints[1];
    EXPECT_EQ(a.text, " 18");
    EXPECT_EQ(b.text, " 36");
    EXPECT_EQ(a.fore, kBlack);
    EXPECT_EQ(b.fore, kBlack);
    EXPECT_NEAR(a.y, 5250, 0.5);  // level with its end's corner
    EXPECT_NEAR(b.y, 150, 0.5);
    const double halfWidth = 104;  // 75 ft on this plan is 104.8 twips
    for (const auto* label : {&a, &b}) {
        const double right = label->x + 3 * 90;
        EXPECT_TRUE(right <= 3000 - halfWidth || label->x >= 3000 + halfWidth)
            << label->text << " lies beside the strip, not on it";
    }
}

TEST(showmapall, SurfacesTakeTheirColoursAndAnUnknownOneIsNotFilled) {
    const std::vector<std::pair<int, forms::Rgb>> colours = {{0, {0, 192, 0}},
                                                             {1, {255, 255, 192}},
                                                             {2, {192, 192, 192}},
                                                             {3, {0, 192, 0}},
                                                             {4, {255, 192, 128}}};
    for (const auto& [surface, colour] : colours) {
        TestProgram t;
        showmapall(t.db, t.p.forms.Form2, OneRunwayAirport(t.db, surface));
        ASSERT_EQ(t.plan->fills.size(), 1u) << "surface " << surface;
        EXPECT_EQ(t.plan->fills[0].fill, colour) << "surface " << surface;
    }
    TestProgram t;
    showmapall(t.db, t.p.forms.Form2, OneRunwayAirport(t.db, 7));
    EXPECT_TRUE(t.plan->fills.empty());
    EXPECT_GE(t.plan->lines.size(), 8u);
}

TEST(showmapall, AStripNarrowerThanItsOutlineIsNotFilled) {
    TestProgram t;
    const int airport = OneRunwayAirport(t.db);
    t.db.Runways[1].widthFeet = 10;  // about 1 pixel on this plan
    showmapall(t.db, t.p.forms.Form2, airport);
    EXPECT_TRUE(t.plan->fills.empty());
    EXPECT_GE(t.plan->lines.size(), 8u);
}

TEST(showmapall, AnAirportWithoutRunwaysShowsItsTextBlockOnly) {
    TestProgram t;
    Program& p = t.p;
    const int airport = AddAirport(t.db, "NO RUNWAYS", 45, 7);
    t.db.Airports[std::size_t(airport)].hasFuel = -1;
    t.db.Airports[std::size_t(airport)].fuelLatitude = 45;
    t.db.Airports[std::size_t(airport)].fuelLongitude = 7;

    showmapall(t.db, p.forms.Form2, airport);

    EXPECT_TRUE(p.forms.Form2.visible);
    EXPECT_EQ(p.forms.Form2.tag, "1");
    EXPECT_EQ(p.forms.Form2.caption, "NO RUNWAYS");
    EXPECT_TRUE(t.plan->lines.empty());
    EXPECT_TRUE(t.plan->boxes.empty());
    EXPECT_FALSE(t.surface->prints.empty());
}

TEST(showmapall, RunwayEndsInOnePointShowTheTextBlockOnly) {
    TestProgram t;
    Program& p = t.p;
    const int airport = AddAirport(t.db, "POINT", 45, 7);
    AddRunway(t.db, airport, 9, 27, 45, 7, 45, 7);
    showmapall(t.db, p.forms.Form2, airport);
    EXPECT_TRUE(t.plan->lines.empty());
    EXPECT_TRUE(t.plan->fills.empty());
    EXPECT_FALSE(t.surface->prints.empty());
}

TEST(Markers, NoFuelAndNoAtisDrawNoMarker) {
    TestProgram t;
    Program& p = t.p;
    const int airport = OneRunwayAirport(t.db);
    showmapall(t.db, p.forms.Form2, airport);
    EXPECT_TRUE(t.plan->boxes.empty());

    const std::vector<PlanTextLine> lines = PlanTextLines(t.db, airport);
    auto has = [&](const std::string& label) {
        for (const auto& line : lines) {
            if (line.label == label)
                return line.value.empty();
        }
        return false;
    };
    EXPECT_TRUE(has("Fuel not available"));
    EXPECT_TRUE(has("No ATIS"));
}

TEST(Markers, AreBlackBoxesLetteredInWhiteBoldAndKeepThePicturesSettings) {
    TestProgram t;
    Program& p = t.p;
    const int airport = OneRunwayAirport(t.db);
    navdata::AirportRecord& record = t.db.Airports[std::size_t(airport)];
    record.hasFuel = -1;
    record.fuelLatitude = 51.005;
    record.fuelLongitude = 0.0;
    navdata::AtisRecord atis;
    atis.latitude = 51.01;
    atis.longitude = 0.0;
    record.atisNumber =
        static_cast<std::int16_t>(AddRecord(t.db.AtisStations, t.db.AtisCount, atis));
    const PlanFit fit = FitPlan(t.db, airport, 6000);
    RecordingCanvas& c = *t.plan;
    c.SetFillColor({255, 0, 0});
    c.SetFillSolid(false);
    c.SetForeColor(kBlack);
    c.SetFontBold(false);

    Drawfuel(t.db, airport, fit.projection, p.forms.Form2.picmap);
    Drawatis(t.db, airport, fit.projection, p.forms.Form2.picmap);

    ASSERT_EQ(c.boxes.size(), 2u);
    ASSERT_EQ(c.prints.size(), 2u);
    const double w = 90, h = 240;  // one letter of the recording canvas
    const PlanPoint at[2] = {{3000, 2700}, {3000, 150}};
    const char* letters[2] = {"F", "A"};
    for (int i = 0; i < 2; ++i) {
        const auto& box = c.boxes[std::size_t(i)];
        EXPECT_TRUE(box.solid);
        EXPECT_EQ(box.fill, kBlack);
        EXPECT_NEAR(box.x1, at[i].x - w, 0.5);
        EXPECT_NEAR(box.x2, at[i].x + w, 0.5);
        EXPECT_NEAR(box.y1, at[i].y - h / 1.5, 0.5);
        EXPECT_NEAR(box.y2, at[i].y + h / 1.5, 0.5);
        const auto& letter = c.prints[std::size_t(i)];
        EXPECT_EQ(letter.text, letters[i]);
        EXPECT_EQ(letter.fore, kWhite);
        EXPECT_TRUE(letter.bold);
        EXPECT_NEAR(letter.x, at[i].x - w / 1.5, 0.5);
        EXPECT_NEAR(letter.y, at[i].y - h / 1.5, 0.5);
    }
    EXPECT_EQ(c.FillColor(), (forms::Rgb{255, 0, 0}));
    EXPECT_FALSE(c.FillSolid());
    EXPECT_EQ(c.ForeColor(), kBlack);
    EXPECT_FALSE(c.FontBold());
}

TEST(TextBlock, ListsPositionFuelAtisAndRunwaysInOrder) {
    navdata::AirportDatabase db;
    const int airport = AddAirport(db, "LONDON HEATHROW", 51.4775, -0.4614);
    navdata::AirportRecord& record = db.Airports[std::size_t(airport)];
    record.elevation = 25;
    record.hasFuel = -1;
    record.fuelLatitude = 51.47;
    record.fuelLongitude = -0.45;
    navdata::AtisRecord atis;
    atis.frequency = 128.075;
    atis.latitude = 51.48;
    atis.longitude = -0.47;
    record.atisNumber = static_cast<std::int16_t>(AddRecord(db.AtisStations, db.AtisCount, atis));
    navdata::IlsRecord ils;
    ils.ident = "ILL";
    ils.frequency = 110.3;
    AddRecord(db.IlsStations, db.IlsCount, ils);
    AddRunway(db, airport, 27, 9, 51.47, -0.43, 51.47, -0.49);
    const int second = AddRunway(db, airport, 128 + 22, 64 + 4, 51.48, -0.44, 51.47, -0.46);
    db.Runways[std::size_t(second)].ilsB = 1;

    const std::vector<PlanTextLine> expected = {
        {"Lat. ", navdata::LatitudeText(51.4775)},
        {"Long. ", navdata::LongitudeText(-0.4614)},
        {"Alt.", "82 ft"},
        {"Fuel lat. ", navdata::LatitudeText(51.47)},
        {"Fuel long. ", navdata::LongitudeText(-0.45)},
        {"ATIS lat. ", navdata::LatitudeText(51.48)},
        {"ATIS long. ", navdata::LongitudeText(-0.47)},
        {"ATIS Freq. ", "128.075"},
        {"", ""},
        {"Runway", "ILS details"},
        {" 4L", "ILL ( 110.3)"},
        {" 9", ""},
        {" 22R", ""},
        {" 27", ""},
    };
    const std::vector<PlanTextLine> lines = PlanTextLines(db, airport);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].label, expected[i].label) << "line " << i;
        EXPECT_EQ(lines[i].value, expected[i].value) << "line " << i;
    }
}

TEST(TextBlock, IsWrittenOnTheWindowsSurfaceWithItsValueColumn) {
    TestProgram t;
    Program& p = t.p;
    const int airport = OneRunwayAirport(t.db);
    showmapall(t.db, p.forms.Form2, airport);

    const auto& prints = t.surface->prints;
    ASSERT_GE(prints.size(), 3u);
    EXPECT_EQ(prints[0].text, "ONE STRIP");
    EXPECT_EQ(prints[0].x, 0);
    EXPECT_EQ(prints[0].y, 400);
    EXPECT_DOUBLE_EQ(prints[0].fontSize, 8.25 + 5);
    const double nameHeight = 240 * 13.25 / 8.25;
    EXPECT_EQ(prints[1].text, "Lat. ");
    EXPECT_EQ(prints[1].x, 0);
    EXPECT_DOUBLE_EQ(prints[1].y, 400 + nameHeight);
    EXPECT_DOUBLE_EQ(prints[1].fontSize, 8.25);
    EXPECT_EQ(prints[2].text, navdata::LatitudeText(51.005));
    EXPECT_DOUBLE_EQ(prints[2].x, 11 * 90 + 20);  // "ATIS Freq. " + 20
    EXPECT_DOUBLE_EQ(prints[2].y, prints[1].y);
    EXPECT_DOUBLE_EQ(t.surface->FontSize(), 8.25);
}

}  // namespace
}  // namespace corvane::map
