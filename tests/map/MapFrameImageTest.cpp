// SPDX-License-Identifier: MIT
//
// One whole map frame at a fixed state, drawn on the image canvas the program
// shows and compared with the stored picture MapFrame.png (a few pixels may
// differ where circles go through the painter). Run with
// CORVANE_UPDATE_GOLDEN=1 to write the picture anew after a deliberate change
// of the drawing; CORVANE_MAP_SNAPSHOT_DIR keeps the frame drawn for a look.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/map/MapFrame.h"
#include "app/map/MapPictures.h"
#include "app/startup/MapHandlers.h"
#include "navdata/LonIndexWalk.h"
#include "platform/qt/ImageCanvas.h"
#include "tests/map/MapTestSupport.h"
#include "tests/support/ProgramData.h"

namespace corvane::map {
namespace {

constexpr forms::Rgb kMapBackground{0, 128, 0};
constexpr forms::Rgb kOverlayColour{192, 192, 192};

struct FrameProgram {
    maptest::FakeHost host;
    maptest::NullLink link;
    Program p{host, link};
    qtui::ImageCanvas* picture1 = nullptr;

    FrameProgram() {
        forms::Form1Model& f = p.forms.Form1;
        for (forms::Picture* picture : {&f.Picture1, &f.Picture2, &f.picstore}) {
            auto canvas = std::make_unique<qtui::ImageCanvas>(167, 167, 15, 15);
            canvas->SetBackColor(kMapBackground);
            canvas->SetForeColor(kOverlayColour);
            canvas->Cls();
            if (picture == &f.Picture1)
                picture1 = canvas.get();
            picture->canvas = std::move(canvas);
        }
        // As start-up leaves the map: range circles stored as the background.
        drawcircles(f.Picture1);
        copy(p.forms.Form1);
    }
};

// A stretch of coast running north-east through the view with a bay, and the
// dots of every kind around the aircraft at 51.5 N, 0.25 W.
void FillWorld(Program& p) {
    navdata::CoastlineData& coast = corvane::testing::OwnCoastlines(p);
    const float points[][2] = {{50.6f, -1.6f},  {50.9f, -1.2f}, {51.1f, -0.9f}, {51.3f, -0.8f},
                               {51.35f, -0.5f}, {51.2f, -0.3f}, {51.3f, -0.1f}, {51.6f, 0.2f},
                               {51.8f, 0.3f},   {52.0f, 0.6f},  {52.3f, 0.8f},  {52.6f, 1.4f}};
    int k = 1;
    for (const auto& pt : points) {
        coast.CoastLatitude[k] = pt[0];
        coast.CoastLongitude[k] = pt[1];
        ++k;
    }
    coast.CoastLatitude[k] = coast.CoastLongitude[k] = navdata::CoastBreak;
    coast.CoastPointCount = k;
    coast.CoastBlockCount = 1;
    coast.CoastBlocks[1] = {1, 50.6, 52.6, -1.6, 1.4};

    auto place = [](auto& table, std::int16_t& count, navdata::LonIndex& index,
                    std::vector<std::pair<double, double>> latLons) {
        table.assign(latLons.size() + 2, {});
        std::vector<double> lons;
        for (std::size_t i = 0; i < latLons.size(); ++i) {
            table[i + 1].latitude = latLons[i].first;
            table[i + 1].longitude = latLons[i].second;
            lons.push_back(latLons[i].second);
        }
        count = static_cast<std::int16_t>(latLons.size());
        index = navdata::BuildLonIndex(lons);
    };
    navdata::AirportDatabase& db = corvane::testing::OwnAirports(p);
    place(db.Airports, db.AirportCount, db.AirportLonIndex,
          {{51.47, -0.46}, {51.15, -0.19}, {51.5, 0.05}, {51.88, 0.24}});
    db.Airports[1].hasFuel = -1;
    db.Airports[2].hasFuel = -1;
    place(db.Vors, db.VorCount, db.VorLonIndex, {{51.3, -0.6}, {51.7, -0.1}});
    place(db.Ndbs, db.NdbCount, db.NdbLonIndex, {{51.6, -0.4}, {51.2, 0.3}});
}

TEST(MapFrameImage, AWholeFrameMatchesTheStoredPicture) {
    FrameProgram frame;
    FillWorld(frame.p);
    maptest::SetPosition(frame.p.flightState, 51.5, -0.25, 30);
    startup::RangeMenu_Click(frame.p, 50);
    maptest::RunMapCycle(frame.p, false);
    ASSERT_EQ(frame.p.map.MapDotCount, 8);
    const QImage& image = frame.picture1->Image();

    if (const char* dir = std::getenv("CORVANE_MAP_SNAPSHOT_DIR")) {
        frame.picture1->SavePng(std::string(dir) + "/map-frame.png");
    }
    const std::string golden = CORVANE_MAP_GOLDEN;
    if (std::getenv("CORVANE_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(frame.picture1->SavePng(golden));
        GTEST_SKIP() << "wrote " << golden;
    }
    QImage expected(QString::fromStdString(golden));
    ASSERT_FALSE(expected.isNull()) << "cannot read " << golden;
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), image.size());
    int differing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 8 || std::abs(qGreen(a) - qGreen(b)) > 8 ||
                std::abs(qBlue(a) - qBlue(b)) > 8) {
                ++differing;
            }
        }
    }
    // At most 0.2 percent of the 167 x 167 pixels.
    EXPECT_LE(differing, 55) << differing << " pixels differ from " << golden;
}

TEST(MapFrameImage, TheFrameShowsTheOverlayCoastAndDotsInTheirColours) {
    FrameProgram frame;
    FillWorld(frame.p);
    maptest::SetPosition(frame.p.flightState, 51.5, -0.25, 30);
    maptest::RunMapCycle(frame.p, false);
    const QImage& image = frame.picture1->Image();
    auto count = [&](forms::Rgb c) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == qRgb(c.r, c.g, c.b);
        }
        return n;
    };
    EXPECT_GT(count(kOverlayColour), 500);
    EXPECT_GT(count({0, 255, 255}), 100);      // coastline
    EXPECT_EQ(count({255, 255, 128}), 2 * 9);  // two airports with fuel
    EXPECT_EQ(count({255, 128, 0}), 2 * 9);    // two without
    EXPECT_EQ(count({60, 60, 255}), 2 * 9);    // two VORs
    EXPECT_EQ(count({128, 255, 255}), 2 * 9);  // two NDBs
    // Heading 30: the airport 0.3 degree due east of the aircraft is 60 degrees
    // right of the nose, so right of the centre and above it.
    const MapDot& east = frame.p.map.MapDots[7];
    ASSERT_EQ(east.kind, kAirportWithoutFuel);
    EXPECT_GT(east.x, 83 + 10);
    EXPECT_LT(east.y, 83 - 4);
    EXPECT_EQ(image.pixel(int(east.x) + 1, int(east.y) + 1), qRgb(255, 128, 0));
}

// An island on the 180 degree meridian, cut there as the coastline file holds
// it (the east half ends at the file's highest longitude unit, the west half at
// 180 W), with airports, a VOR and an NDB on both sides; turn moves it all by
// that many degrees of longitude.
void FillMeridianWorld(Program& p, double turn) {
    auto at = [&](double lon) {
        double turned = lon + turn;
        if (turned >= 180)
            turned -= 360;
        if (turned < -180)
            turned += 360;
        return turned;
    };
    const double seam = 32767 * 360.0 / 65536;  // 180 E as the file holds it
    const double halves[2][7][2] = {
        {{-16.45, seam},
         {-16.40, 179.90},
         {-16.48, 179.80},
         {-16.62, 179.84},
         {-16.70, 179.93},
         {-16.75, 179.97},
         {-16.78, seam}},
        {{-16.78, -180.0},
         {-16.83, -179.88},
         {-16.74, -179.78},
         {-16.60, -179.74},
         {-16.52, -179.83},
         {-16.47, -179.93},
         {-16.45, -180.0}},
    };
    navdata::CoastlineData& coast = corvane::testing::OwnCoastlines(p);
    int k = 1;
    for (int h = 0; h < 2; ++h) {
        navdata::CoastBlock& block = coast.CoastBlocks[static_cast<std::size_t>(h + 1)];
        block = {k, 500, -500, 500, -500};
        for (const auto& pt : halves[h]) {
            // The seam turns with the meridian it stands for.
            const double lon = turn != 0 && pt[1] == seam ? at(180.0) : at(pt[1]);
            coast.CoastLatitude[static_cast<std::size_t>(k)] = static_cast<float>(pt[0]);
            coast.CoastLongitude[static_cast<std::size_t>(k)] = static_cast<float>(lon);
            block.minLatitude = std::min(block.minLatitude, pt[0]);
            block.maxLatitude = std::max(block.maxLatitude, pt[0]);
            block.minLongitude = std::min<double>(block.minLongitude, static_cast<float>(lon));
            block.maxLongitude = std::max<double>(block.maxLongitude, static_cast<float>(lon));
            ++k;
        }
        coast.CoastLatitude[static_cast<std::size_t>(k)] = navdata::CoastBreak;
        coast.CoastLongitude[static_cast<std::size_t>(k)] = navdata::CoastBreak;
        ++k;
    }
    coast.CoastPointCount = k - 1;
    coast.CoastBlockCount = 2;

    auto place = [&](auto& table, std::int16_t& count, navdata::LonIndex& index,
                     std::vector<std::pair<double, double>> latLons) {
        for (auto& ll : latLons)
            ll.second = at(ll.second);
        std::sort(latLons.begin(), latLons.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
        table.assign(latLons.size() + 2, {});
        std::vector<double> lons;
        for (std::size_t i = 0; i < latLons.size(); ++i) {
            table[i + 1].latitude = latLons[i].first;
            table[i + 1].longitude = latLons[i].second;
            lons.push_back(latLons[i].second);
        }
        count = static_cast<std::int16_t>(latLons.size());
        index = navdata::BuildLonIndex(lons);
    };
    navdata::AirportDatabase& db = corvane::testing::OwnAirports(p);
    place(db.Airports, db.AirportCount, db.AirportLonIndex,
          {{-16.53, 179.976}, {-16.69, -179.877}, {-16.74, -179.667}, {-16.95, 179.70}});
    for (int i = 1; i <= db.AirportCount; ++i)
        db.Airports[static_cast<std::size_t>(i)].hasFuel = i % 2 == 0 ? -1 : 0;
    place(db.Vors, db.VorCount, db.VorLonIndex, {{-16.60, 179.80}, {-16.40, -179.60}});
    place(db.Ndbs, db.NdbCount, db.NdbLonIndex, {{-16.85, -179.80}, {-16.35, 179.85}});
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8) {
                ++differing;
            }
        }
    }
    return differing;
}

// The frame at 16.69 S 179.9 W heading west at range 50: the island across the
// meridian drawn whole and every dot on both sides. It matches the stored
// picture, and the frame of the same world turned by 180 degrees of longitude,
// seen from 0.1 E, far from that world's meridian.
TEST(MapFrameImage, AFrameAcrossTheMeridianMatchesItsPictureAndTheTurnedWorld) {
    FrameProgram frame;
    FillMeridianWorld(frame.p, 0);
    maptest::SetPosition(frame.p.flightState, -16.69, -179.9, 270);
    maptest::RunMapCycle(frame.p, false);
    ASSERT_EQ(frame.p.map.MapDotCount, 8);
    const QImage image = frame.picture1->Image().copy();

    FrameProgram turnedFrame;
    FillMeridianWorld(turnedFrame.p, 180);
    maptest::SetPosition(turnedFrame.p.flightState, -16.69, 0.1, 270);
    maptest::RunMapCycle(turnedFrame.p, false);
    ASSERT_EQ(turnedFrame.p.map.MapDotCount, 8);
    EXPECT_LE(DifferingPixels(image, turnedFrame.picture1->Image()), 10);

    if (const char* dir = std::getenv("CORVANE_MAP_SNAPSHOT_DIR")) {
        frame.picture1->SavePng(std::string(dir) + "/map-meridian-frame.png");
    }
    const std::string golden = CORVANE_MAP_MERIDIAN_GOLDEN;
    if (std::getenv("CORVANE_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(frame.picture1->SavePng(golden));
        GTEST_SKIP() << "wrote " << golden;
    }
    QImage expected(QString::fromStdString(golden));
    ASSERT_FALSE(expected.isNull()) << "cannot read " << golden;
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), image.size());
    EXPECT_LE(DifferingPixels(image, expected), 55) << "pixels differ from " << golden;
}

}  // namespace
}  // namespace corvane::map

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
