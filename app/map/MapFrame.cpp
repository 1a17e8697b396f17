// SPDX-License-Identifier: MIT
#include "app/map/MapFrame.h"

#include <cmath>

#include "app/map/CoastlineLayer.h"
#include "app/map/DotLayer.h"
#include "app/map/MapPictures.h"

namespace corvane::map {
namespace {

int ScreenPixels(double twips, int twipsPerPixel) {
    return twipsPerPixel > 0 ? static_cast<int>(std::nearbyint(twips / twipsPerPixel)) : 0;
}

}  // namespace

MapScreen MapScreenOf(const forms::Form1Model& form1, int tppx, int tppy) {
    MapScreen screen;
    screen.pictureWidthTwips = form1.Picture1.width;
    screen.pictureHeightTwips = form1.Picture1.height;
    screen.twipsPerPixelX = tppx;
    screen.twipsPerPixelY = tppy;
    return screen;
}

host::Rect Picture1ScreenRect(const forms::Form1Model& form1, int tppx, int tppy) {
    host::Rect rect;
    rect.left = ScreenPixels(form1.left + form1.Picture1.left, tppx);
    rect.top = ScreenPixels(form1.top + form1.Picture1.top, tppy);
    rect.right = rect.left + ScreenPixels(form1.Picture1.width, tppx);
    rect.bottom = rect.top + ScreenPixels(form1.Picture1.height, tppy);
    return rect;
}

void PlaceMapWindows(forms::Form1Model& form1, forms::Form4Model& form4, const host::Rect& sim,
                     int tppx, int tppy) {
    if (form1.left < 100)
        form1.left = 100;
    if (form1.top < 100)
        form1.top = 100;
    const double W = static_cast<double>(tppx) * (sim.right - sim.left);
    const double H = static_cast<double>(tppy) * (sim.bottom - sim.top);
    if (form1.left > W - form1.width - 400)
        form1.left = W - form1.width - 200;
    if (form1.top > H - form1.height - 800)
        form1.top = H - form1.height - 800;
    if (form4.left != W - form4.width - 100)
        form4.left = W - form4.width - 100;
}

void DrawMapFrame(MapState& m, forms::Form1Model& form1, const navdata::AirportDatabase& db,
                  const navdata::CoastlineData& coast, const MapView& view, const MapScreen& screen,
                  bool flyThereActive, std::int16_t destAirport, const LetEventsRun& letEventsRun) {
    CollectMapDots(m, db, view, screen, letEventsRun);
    restore(form1);
    if (forms::Canvas* work = form1.Picture2.canvas.get()) {
        // A canvas that paints nothing counts the coastlines by runs, cut once
        // for the data the program holds.
        if (!work->PaintsPixels() && !m.CoastRunsOfData.BuiltFor(coast))
            BuildCoastRuns(coast, m.CoastRunsOfData);
        DrawCoastlines(*work, coast, view.latmin, view.lonmin, view.latmax, view.lonmax,
                       static_cast<float>(view.heading), view.halflat, view.halflon, view.width,
                       view.height, screen, letEventsRun, &m.CoastRunsOfData);
        DrawMapDots(*work, m, flyThereActive, destAirport, letEventsRun);
    }
}

ReadoutLines FrameReadouts(const MapState& m, const navdata::AirportDatabase& db, int hover,
                           double lat, double lon, const flightstate::Readings& aircraft) {
    if (hover != 0) {
        return HoverReadout(db, m.MapDots[static_cast<std::size_t>(hover)], lat, lon,
                            aircraft.trueAirspeedKnots);
    }
    if (m.ReadoutsShown)
        return AircraftReadout(m.MapPositionText, aircraft.headingTrueDeg, aircraft);
    return ReadoutLines{};
}

}  // namespace corvane::map
