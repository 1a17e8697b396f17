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
#include <cstdlib>
#include <memory>
#include <string>

#include "app/map/MapCommands.h"
#include "app/map/MapCycle.h"
#include "app/navdata/LonIndexWalk.h"
#include "platform/qt/ImageCanvas.h"
#include "tests/map/MapTestSupport.h"

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
        drawcircles(p, f.Picture1);
        copy(p);
    }
};

// A stretch of coast running north-east through the view with a bay, and the
// dots of every kind around the aircraft at 51.5 N, 0.25 W.
void FillWorld(Program& p) {
    navdata::CoastlineData& coast = p.coast;
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
    navdata::AirportDatabase& db = p.airports;
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
    RangeMenu_Click(frame.p, 50);
    RunMapCycle(frame.p, false);
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
    RunMapCycle(frame.p, false);
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

}  // namespace
}  // namespace corvane::map

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
