// SPDX-License-Identifier: MIT
//
// The airport plan drawn on the image canvas the program shows: the flood fill
// takes the surface colour and stays inside the strip's outline, and the
// outline ends up black all round. With CORVANE_PLAN_SNAPSHOT_DIR set, the
// pictures are saved there as PNG files for a look.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/map/AirportPlan.h"
#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"
#include "platform/qt/ImageCanvas.h"
#include "tests/airports/AirportsTestSupport.h"

namespace corvane::map {
namespace {

using forms::Rgb;
using testing::AddAirport;
using testing::AddRunway;
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrass{0, 192, 0};
constexpr Rgb kConcrete{255, 255, 192};

// A program whose airport window draws on image canvases of the window's size.
struct ImageProgram {
    testing::FakeHost host;
    testing::FakeLink link;
    Program p{host, link};
    navdata::AirportDatabase& db = testing::OwnAirports(p);
    qtui::ImageCanvas* plan = nullptr;
    qtui::ImageCanvas* surface = nullptr;

    ImageProgram() {
        p.flightState.simulatorkind = flightstate::kFs98;
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

    void Snapshot(const std::string& name) const {
        if (const char* dir = std::getenv("CORVANE_PLAN_SNAPSHOT_DIR")) {
            plan->SavePng(std::string(dir) + "/" + name + "-plan.png");
            surface->SavePng(std::string(dir) + "/" + name + "-text.png");
        }
    }
};

int Count(const qtui::ImageCanvas& c, Rgb colour) {
    int n = 0;
    for (int y = 0; y < c.PixelHeight(); ++y) {
        for (int x = 0; x < c.PixelWidth(); ++x)
            n += c.PixelAt(x, y) == colour;
    }
    return n;
}

// The strip's corners in pixels, as the plan projects them.
std::vector<PlanPoint> StripCorners(const Program& p, int runway) {
    const navdata::RunwayRecord& r = p.airports->Runways[std::size_t(runway)];
    const PlanFit fit = FitPlan(*p.airports, r.airportNumber, p.forms.Form2.picmap.height);
    const double h = navdata::InitialBearing(r.latitudeA, r.longitudeA, r.latitudeB, r.longitudeB) *
                     3.14159 / 180;
    const double w = r.widthFeet / 2.0;
    const double dn = w * std::sin(h) / navdata::FeetPerDegreeLatitude;
    const double de =
        w * std::cos(h) /
        navdata::InterpolatedFeetPerLongitudeDegree(std::fabs((r.latitudeA + r.latitudeB) / 2));
    std::vector<PlanPoint> corners;
    for (auto [lat, lon] : {std::pair{r.latitudeA - dn, r.longitudeA + de},
                            std::pair{r.latitudeB - dn, r.longitudeB + de},
                            std::pair{r.latitudeB + dn, r.longitudeB - de},
                            std::pair{r.latitudeA + dn, r.longitudeA - de}}) {
        PlanPoint at = ProjectPlanPoint(fit.projection, 6000, 6000, lat, lon);
        corners.push_back({at.x / 15, at.y / 15});
    }
    return corners;
}

// How far a point lies outside a convex polygon (0 inside).
double OutsideBy(const std::vector<PlanPoint>& polygon, double x, double y) {
    PlanPoint centre;
    for (const PlanPoint& corner : polygon) {
        centre.x += corner.x / double(polygon.size());
        centre.y += corner.y / double(polygon.size());
    }
    double outside = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const PlanPoint a = polygon[i];
        const PlanPoint b = polygon[(i + 1) % polygon.size()];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        auto side = [&](double px, double py) {
            return ((b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x)) / length;
        };
        // Inside is the side of each edge on which the centre lies.
        const double inward = side(centre.x, centre.y) >= 0 ? 1 : -1;
        outside = std::max(outside, -inward * side(x, y));
    }
    return outside;
}

// Every pixel of the colour lies inside the strip (within a pixel of its
// outline), and the colour covers most of the strip's inside.
void ExpectFillInsideStrip(const ImageProgram& t, int runway, Rgb colour) {
    const std::vector<PlanPoint> corners = StripCorners(t.p, runway);
    int inside = 0;
    for (int y = 0; y < t.plan->PixelHeight(); ++y) {
        for (int x = 0; x < t.plan->PixelWidth(); ++x) {
            if (t.plan->PixelAt(x, y) != colour)
                continue;
            ++inside;
            ASSERT_LE(OutsideBy(corners, x, y), 1.0) << "fill at (" << x << ", " << y << ")";
        }
    }
    const double width = std::hypot(corners[0].x - corners[3].x, corners[0].y - corners[3].y);
    const double length = std::hypot(corners[0].x - corners[1].x, corners[0].y - corners[1].y);
    EXPECT_GT(inside, 0.8 * (width - 2) * (length - 2));
}

int OneRunwayAirport(navdata::AirportDatabase& db, int surface) {
    const int airport = AddAirport(db, "ONE STRIP", 51.005, 0.001);
    const int r = AddRunway(db, airport, 18, 36, 51.0, 0.0, 51.01, 0.0);
    db.Runways[std::size_t(r)].surface = static_cast<std::uint8_t>(surface);
    return airport;
}

TEST(PlanImage, OneRunwayIsFilledInsideItsOutlineAndOutlinedInBlack) {
    ImageProgram t;
    showmapall(t.db, t.p.forms.Form2, OneRunwayAirport(t.db, 3));
    t.Snapshot("one-runway");

    EXPECT_EQ(t.plan->PixelAt(200, 180), kGrass);  // the strip's centre
    EXPECT_EQ(Count(*t.plan, kBlue), 0) << "every edge is drawn over in black";
    ExpectFillInsideStrip(t, 1, kGrass);
    // The strip spans 85 percent of the picture's height: y 10 to 350.
    EXPECT_EQ(t.plan->PixelAt(200, 12), kGrass);
    EXPECT_EQ(t.plan->PixelAt(200, 348), kGrass);
    EXPECT_EQ(t.plan->PixelAt(200, 5), kWhite);
    EXPECT_EQ(t.plan->PixelAt(200, 355), kWhite);
    EXPECT_EQ(t.plan->PixelAt(200 + 12, 180), kWhite);  // 7 pixels of half width
}

TEST(PlanImage, GrassOfEitherCodeIsTheSameGreen) {
    ImageProgram zero;
    showmapall(zero.db, zero.p.forms.Form2, OneRunwayAirport(zero.db, 0));
    ImageProgram three;
    showmapall(three.db, three.p.forms.Form2, OneRunwayAirport(three.db, 3));
    EXPECT_EQ(zero.plan->PixelAt(200, 180), kGrass);
    EXPECT_EQ(zero.plan->Image(), three.plan->Image());
}

TEST(PlanImage, ADiagonalRunwayIsFilledInsideItsOutline) {
    ImageProgram t;
    const int airport = AddAirport(t.db, "DIAGONAL", 45.0, 7.0);
    const int r = AddRunway(t.db, airport, 5, 23, 44.995, 6.99, 45.005, 7.01);
    t.db.Runways[std::size_t(r)].surface = 1;
    t.db.Runways[std::size_t(r)].widthFeet = 200;
    showmapall(t.db, t.p.forms.Form2, airport);
    t.Snapshot("diagonal");

    EXPECT_EQ(Count(*t.plan, kBlue), 0);
    ExpectFillInsideStrip(t, r, kConcrete);
}

TEST(PlanImage, CrossingRunwaysEachStayInsideTheirOwnOutline) {
    ImageProgram t;
    const int airport = AddAirport(t.db, "CROSSING", 45.0, 7.0);
    const int asphalt = AddRunway(t.db, airport, 9, 27, 45.0, 6.99, 45.0, 7.01);
    const int grass = AddRunway(t.db, airport, 18, 36, 45.006, 7.0, 44.994, 7.0);
    t.db.Runways[std::size_t(grass)].surface = 0;
    showmapall(t.db, t.p.forms.Form2, airport);
    t.Snapshot("crossing");

    EXPECT_EQ(Count(*t.plan, kBlue), 0);
    ExpectFillInsideStrip(t, grass, kGrass);
    const std::vector<PlanPoint> a = StripCorners(t.p, asphalt);
    const std::vector<PlanPoint> g = StripCorners(t.p, grass);
    for (int y = 0; y < t.plan->PixelHeight(); ++y) {
        for (int x = 0; x < t.plan->PixelWidth(); ++x) {
            if (t.plan->PixelAt(x, y) != Rgb{192, 192, 192})
                continue;
            ASSERT_LE(std::min(OutsideBy(a, x, y), OutsideBy(g, x, y)), 1.0)
                << "asphalt at (" << x << ", " << y << ")";
        }
    }
}

}  // namespace
}  // namespace corvane::map

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
