// SPDX-License-Identifier: MIT
#include "app/map/DotLayer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "navdata/Geodesy.h"
#include "navdata/LonIndexWalk.h"

namespace corvane::map {
namespace {

template <typename Record>
const DotRuns& RunsOf(DotRuns& runs, const std::vector<Record>& table) {
    if (runs.BuiltFor(&table, table.size()))
        return runs;
    runs.builtFrom = &table;
    runs.records = table.size();
    const std::size_t count = (table.size() + kDotRunRecords - 1) / kDotRunRecords;
    runs.minLatitude.assign(count, std::numeric_limits<double>::infinity());
    runs.maxLatitude.assign(count, -std::numeric_limits<double>::infinity());
    for (std::size_t a = 0; a < table.size(); ++a) {
        const double lat = table[a].latitude;
        if (std::isnan(lat))
            continue;  // never in view
        const std::size_t run = a / kDotRunRecords;
        runs.minLatitude[run] = std::min(runs.minLatitude[run], lat);
        runs.maxLatitude[run] = std::max(runs.maxLatitude[run], lat);
    }
    return runs;
}

template <typename Record>
void CollectDots(MapState& state, const std::vector<Record>& table, int count,
                 const navdata::LonIndex& index, std::int16_t kind, const MapView& view,
                 const MapScreen& screen, const LetEventsRun& letEventsRun, DotRuns& runCache) {
    const DotRuns& runs = RunsOf(runCache, table);
    // A run passes the latitude test below for none of its records when its
    // nearest latitude to the view's fails it: the difference of two numbers
    // keeps its order under rounding.
    auto runOutOfView = [&](std::size_t run) {
        const double lo = runs.minLatitude[run];
        const double hi = runs.maxLatitude[run];
        if (lo > hi)
            return true;
        if (hi < view.lat)
            return !(std::fabs(hi - view.lat) <= view.halflat);
        if (lo > view.lat)
            return !(std::fabs(lo - view.lat) <= view.halflat);
        return false;
    };
    // Hold the count to the table as it is in memory, whatever the file said.
    const int available = static_cast<int>(table.size()) - 2;
    const navdata::MeridianWalk walk = navdata::LonIndexWalkAcrossMeridian(
        index, std::min(count, available), view.lonmin, view.lonmax);
    const ScaleAndTurn t = MapScaleAndTurn(screen, view.heading, view.halflat, view.halflon);
    const float width = view.width;
    const float height = view.height;
    for (int part = 0; part < walk.count; ++part) {
        const navdata::RecordRange& range = walk.ranges[part];
        for (int a = range.first; a <= range.last; ++a) {
            if (a % kDotRunRecords == 0 || a == range.first) {
                const std::size_t run = static_cast<std::size_t>(a) / kDotRunRecords;
                if (runOutOfView(run)) {
                    a = static_cast<int>((run + 1) * kDotRunRecords) - 1;
                    continue;
                }
            }
            const Record& record = table[static_cast<std::size_t>(a)];
            // The walk gives every latitude: most records fail there first.
            if (!(std::fabs(record.latitude - view.lat) <= view.halflat))
                continue;
            // A record across the 180 degree meridian is placed on the aircraft's side.
            const double longitude = navdata::NearestLongitude(record.longitude, view.lon);
            if (!(std::fabs(longitude - view.lon) <= view.halflon))
                continue;
            if (a % 200 == 0 && letEventsRun)
                letEventsRun();
            if (state.MapDotCount >= kMaxMapDots)
                return;
            ++state.MapDotCount;
            MapDot& dot = state.MapDots[static_cast<std::size_t>(state.MapDotCount)];
            dot.item = static_cast<std::int16_t>(a);
            const float dx = static_cast<float>((longitude - view.lon) * t.sx);
            const float dy = static_cast<float>((record.latitude - view.lat) * t.sy);
            dot.x = t.c * dx + width - t.s * dy;
            dot.y = height - t.s * dx - t.c * dy;
            if constexpr (requires { record.hasFuel; }) {
                dot.kind = record.FuelAvailable() ? kAirportWithFuel : kAirportWithoutFuel;
            } else {
                dot.kind = kind;
            }
        }
    }
}

}  // namespace

void getNDBdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                const MapScreen& screen, const LetEventsRun& letEventsRun) {
    CollectDots(state, db.Ndbs, db.NdbCount, db.NdbLonIndex, kNdbDot, view, screen, letEventsRun,
                state.NdbRuns);
}

void getVORdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                const MapScreen& screen, const LetEventsRun& letEventsRun) {
    CollectDots(state, db.Vors, db.VorCount, db.VorLonIndex, kVorDot, view, screen, letEventsRun,
                state.VorRuns);
}

void getairportdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                    const MapScreen& screen, const LetEventsRun& letEventsRun) {
    CollectDots(state, db.Airports, db.AirportCount, db.AirportLonIndex, kAirportWithoutFuel, view,
                screen, letEventsRun, state.AirportRuns);
}

void CollectMapDots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                    const MapScreen& screen, const LetEventsRun& letEventsRun) {
    state.MapDotCount = 0;
    if (state.ShowNDBDots)
        getNDBdots(state, db, view, screen, letEventsRun);
    if (state.ShowVORDots)
        getVORdots(state, db, view, screen, letEventsRun);
    if (state.ShowAirportDots)
        getairportdots(state, db, view, screen, letEventsRun);
    OffsetMapDots(state, view, screen);
}

void OffsetMapDots(MapState& state, const MapView& view, const MapScreen& screen) {
    const double offsetX = -view.width / 2.0 - 2.0 / screen.twipsPerPixelX;
    const double offsetY = -view.height / 2.0 - 2.0 / screen.twipsPerPixelY;
    for (int i = 1; i <= state.MapDotCount; ++i) {
        MapDot& dot = state.MapDots[static_cast<std::size_t>(i)];
        dot.x = static_cast<float>(dot.x + offsetX);
        dot.y = static_cast<float>(dot.y + offsetY);
    }
}

std::optional<forms::Rgb> DotColour(std::int16_t kind) {
    switch (kind) {
        case kAirportWithoutFuel:
            return forms::Rgb{255, 128, 0};
        case kAirportWithFuel:
            return forms::Rgb{255, 255, 128};
        case kVorDot:
            return forms::Rgb{60, 60, 255};
        case kNdbDot:
            return forms::Rgb{128, 255, 255};
        default:
            return std::nullopt;
    }
}

void DrawMapDots(forms::Canvas& canvas, MapState& state, bool flyThereActive,
                 std::int16_t destAirport, const LetEventsRun& letEventsRun) {
    // On a canvas that paints nothing the dots' squares are left out; the
    // blink and the events go on as they would.
    const bool paints = canvas.PaintsPixels();
    for (int i = 1; i <= state.MapDotCount; ++i) {
        const MapDot& dot = state.MapDots[static_cast<std::size_t>(i)];
        state.MapDotSize = 3;
        const bool isAirport = dot.kind == kAirportWithoutFuel || dot.kind == kAirportWithFuel;
        if (flyThereActive && isAirport && dot.item == destAirport) {
            if (state.DestinationBlink)
                state.MapDotSize = 5;
            state.DestinationBlink = !state.DestinationBlink;
        }
        if (const auto colour = paints ? DotColour(dot.kind) : std::nullopt) {
            canvas.FillRect(RoundToPixel(dot.x), RoundToPixel(dot.y),
                            RoundToPixel(dot.x + state.MapDotSize),
                            RoundToPixel(dot.y + state.MapDotSize), *colour);
        }
        if (i % 100 == 0 && letEventsRun)
            letEventsRun();
    }
}

}  // namespace corvane::map
