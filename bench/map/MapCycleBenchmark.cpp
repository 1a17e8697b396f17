// SPDX-License-Identifier: MIT
//
// One whole map cycle off screen (without the window placement) over the world
// airdata.tri and COAST2.int that the build makes from data/, on the image
// canvases the program shows: (a) range 250 over central Europe, (b) range 50
// over the north-eastern United States, (c) range 5 at a coastal airport,
// (d) range 250 across the 180 degree meridian over Fiji, where the dots and
// coasts of both sides are walked.
// Counters: the frame's dots and its coastline move-to and line-to calls.
// For medians: --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// With CORVANE_MAP_SNAPSHOT_DIR set, each case's last frame is saved there as a
// PNG file for a look.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/map/CoastlineLayer.h"
#include "app/map/MapFrame.h"
#include "app/map/MapPictures.h"
#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "platform/qt/ImageCanvas.h"
#include "tests/map/MapTestSupport.h"

namespace corvane::map {
namespace {

const std::string kAppDir = CORVANE_BENCH_APP_DIR;

// The world data, read once for every benchmark.
struct World {
    std::shared_ptr<const navdata::AirportDatabase> airports =
        std::make_shared<const navdata::AirportDatabase>(
            navdata::LoadAirportDatabase(kAppDir + "/airdata.tri"));
    std::shared_ptr<const navdata::CoastlineData> coast =
        std::make_shared<const navdata::CoastlineData>(
            navdata::LoadCoastlines(kAppDir + "/COAST2.int"));
};

const World& TheWorld() {
    static const World world;
    return world;
}

struct MapProgram {
    maptest::FakeHost host;
    maptest::NullLink link;
    Program p{host, link};

    MapProgram(double lat, double lon, double heading, int range) {
        p.airports = TheWorld().airports;
        p.coast = TheWorld().coast;
        forms::Form1Model& f = p.forms.Form1;
        for (forms::Picture* picture : {&f.Picture1, &f.Picture2, &f.picstore}) {
            auto canvas = std::make_unique<qtui::ImageCanvas>(167, 167, 15, 15);
            canvas->SetBackColor({0, 128, 0});
            canvas->SetForeColor({192, 192, 192});
            canvas->Cls();
            picture->canvas = std::move(canvas);
        }
        drawcircles(f.Picture1);
        copy(f);
        startup::RangeMenu_Click(p, range);
        maptest::SetPosition(p.flightState, lat, lon, heading);
        // The mouse over the map, as it usually is while the pilot looks at it.
        p.mainWindow.MapMouseX = 1000;
        p.mainWindow.MapMouseY = 1000;
        const host::Rect r = maptest::Picture1ScreenRect(p);
        host.cursor = {r.left + 66, r.top + 66};
    }
};

// The coastline calls of one frame, counted on a recording canvas.
int CoastCalls(const MapProgram& m) {
    const MapScreen screen = MapScreenOf(m.p.forms.Form1, 15, 15);
    const flightstate::Readings r = flightstate::DecodeReadings(m.p.flightState);
    const MapView v = MakeMapView(r.latitudeDeg, r.longitudeDeg, r.headingTrueDeg, m.p.map.MapRange,
                                  m.p.map.MetresPerDegreeLatitude, screen);
    maptest::RecordingCanvas canvas;
    DrawCoastlines(canvas, *m.p.coast, v.latmin, v.lonmin, v.latmax, v.lonmax,
                   static_cast<float>(v.heading), v.halflat, v.halflon, v.width, v.height, screen,
                   {});
    return static_cast<int>(canvas.calls.size()) - 2;  // less the colour set and put back
}

void MapFrame(benchmark::State& state, double lat, double lon, double heading, int range) {
    MapProgram m(lat, lon, heading, range);
    for (auto _ : state) {
        maptest::RunMapCycle(m.p, false);
        benchmark::DoNotOptimize(m.p.map.MapDotCount);
    }
    state.counters["dots"] = m.p.map.MapDotCount;
    state.counters["coast_calls"] = CoastCalls(m);
    if (const char* dir = std::getenv("CORVANE_MAP_SNAPSHOT_DIR")) {
        const auto& picture1 =
            static_cast<const qtui::ImageCanvas&>(*m.p.forms.Form1.Picture1.canvas);
        picture1.SavePng(std::string(dir) + "/map-range" + std::to_string(range) +
                         (lon < -179 || lon > 179 ? "-meridian" : "") + ".png");
    }
}

// (a) Range 250 over central Europe (near Frankfurt), heading 45.
BENCHMARK_CAPTURE(MapFrame, range250_central_europe, 50.05, 8.57, 45.0, 250)
    ->Unit(benchmark::kMicrosecond);
// (b) Range 50 over the north-eastern United States (New York), heading 60.
BENCHMARK_CAPTURE(MapFrame, range50_northeast_us, 40.70, -73.90, 60.0, 50)
    ->Unit(benchmark::kMicrosecond);
// (c) Range 5 at a coastal airport (Boston Logan), heading 150.
BENCHMARK_CAPTURE(MapFrame, range5_boston_logan, 42.3656, -71.0096, 150.0, 5)
    ->Unit(benchmark::kMicrosecond);
// (d) Range 250 across the 180 degree meridian (Fiji, east of it), heading 270.
BENCHMARK_CAPTURE(MapFrame, range250_fiji_meridian, -16.69, -179.73, 270.0, 250)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvane::map

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
