// SPDX-License-Identifier: MIT
#include "app/map/DotLayer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "navdata/Geodesy.h"
#include "navdata/LonIndexWalk.h"

namespace corvane::map {
namespace {

int DotBandOf(double latitude) {
    const double fromSouth = (latitude + 90.0) * kDotBandsPerDegree;
    if (!(fromSouth >= 1.0))
        return 0;  // the southmost band, or a latitude that is not a number
    if (fromSouth >= kDotBands - 1.0)
        return kDotBands - 1;
    return static_cast<int>(fromSouth);
}

template <typename Record>
DotBands& BandsOf(DotBands& bands, const std::vector<Record>& table) {
    if (bands.BuiltFor(&table, table.size()))
        return bands;
    bands.builtFrom = &table;
    bands.records = table.size();
    for (DotCandidates& part : bands.parts)
        part.valid = false;
    // Counting sort by band keeps each band in the table's order.
    bands.bandStart.assign(kDotBands + 1, 0);
    for (const Record& record : table)
        if (!std::isnan(record.latitude))
            ++bands.bandStart[static_cast<std::size_t>(DotBandOf(record.latitude)) + 1];
    for (int b = 0; b < kDotBands; ++b)
        bands.bandStart[b + 1] += bands.bandStart[b];
    bands.items.assign(static_cast<std::size_t>(bands.bandStart[kDotBands]), 0);
    std::vector<int> fill(bands.bandStart.begin(), bands.bandStart.end() - 1);
    for (std::size_t a = 0; a < table.size(); ++a)
        if (!std::isnan(table[a].latitude))
            bands.items[static_cast<std::size_t>(fill[DotBandOf(table[a].latitude)]++)] =
                static_cast<int>(a);
    return bands;
}

template <typename Record>
void CollectDots(MapState& state, const std::vector<Record>& table, int count,
                 const navdata::LonIndex& index, std::int16_t kind, const MapView& view,
                 const ScaleAndTurn& t, const LetEventsRun& letEventsRun, DotBands& bandCache) {
    DotBands& bands = BandsOf(bandCache, table);
    // The bands that can hold a record passing the latitude test below, with
    // a band to spare either side for its rounding; a view of nearly every
    // latitude walks the records themselves.
    const int bandLo = std::isfinite(view.halflat) ? DotBandOf(view.lat - view.halflat) - 1 : 0;
    const int bandHi =
        std::isfinite(view.halflat) ? DotBandOf(view.lat + view.halflat) + 1 : kDotBands - 1;
    const bool byBands =
        std::isfinite(view.lat) && std::isfinite(view.halflat) && bandHi - bandLo < kDotBands / 3;
    // Hold the count to the table as it is in memory, whatever the file said.
    const int available = static_cast<int>(table.size()) - 2;
    const navdata::MeridianWalk walk = navdata::LonIndexWalkAcrossMeridian(
        index, std::min(count, available), view.lonmin, view.lonmax);
    const float width = view.width;
    const float height = view.height;
    for (int part = 0; part < walk.count; ++part) {
        const navdata::RecordRange& range = walk.ranges[part];
        // The records of the range in the view's bands, in the table's order
        // (the order the events and the dots' limit go by).
        DotCandidates& kept = bands.parts[static_cast<std::size_t>(part)];
        std::vector<int>& candidates = kept.items;
        if (byBands && !kept.KeptFor(bandLo, bandHi, range.first, range.last)) {
            candidates.clear();
            if (!range.empty()) {
                for (int b = std::max(bandLo, 0); b <= std::min(bandHi, kDotBands - 1); ++b) {
                    const auto first = bands.items.begin() + bands.bandStart[b];
                    const auto last = bands.items.begin() + bands.bandStart[b + 1];
                    candidates.insert(candidates.end(), std::lower_bound(first, last, range.first),
                                      std::upper_bound(first, last, range.last));
                }
                std::sort(candidates.begin(), candidates.end());
            }
            kept.latitudes.resize(candidates.size());
            kept.longitudes.resize(candidates.size());
            for (std::size_t k = 0; k < candidates.size(); ++k) {
                const Record& record = table[static_cast<std::size_t>(candidates[k])];
                kept.latitudes[k] = record.latitude;
                kept.longitudes[k] = record.longitude;
            }
            kept.valid = true;
            kept.bandLo = bandLo;
            kept.bandHi = bandHi;
            kept.first = range.first;
            kept.last = range.last;
        }
        const int steps = byBands ? static_cast<int>(candidates.size())
                                  : std::max(range.last - range.first + 1, 0);
        for (int step = 0; step < steps; ++step) {
            const auto k = static_cast<std::size_t>(step);
            const int a = byBands ? candidates[k] : range.first + step;
            const Record& record = table[static_cast<std::size_t>(a)];
            const double latitude = byBands ? kept.latitudes[k] : record.latitude;
            // The walk gives every latitude: most records fail there first.
            if (!(std::fabs(latitude - view.lat) <= view.halflat))
                continue;
            // A record across the 180 degree meridian is placed on the aircraft's side.
            const double longitude = navdata::NearestLongitude(
                byBands ? kept.longitudes[k] : record.longitude, view.lon);
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
            const float dy = static_cast<float>((latitude - view.lat) * t.sy);
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

// The scale and turn of the dots' projection, the same for every kind.
ScaleAndTurn DotTurn(const MapView& view, const MapScreen& screen) {
    return MapScaleAndTurn(screen, view.heading, view.halflat, view.halflon);
}

}  // namespace

void getNDBdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                const MapScreen& screen, const LetEventsRun& letEventsRun) {
    CollectDots(state, db.Ndbs, db.NdbCount, db.NdbLonIndex, kNdbDot, view,
                DotTurn(view, screen), letEventsRun, state.NdbBands);
}

void getVORdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                const MapScreen& screen, const LetEventsRun& letEventsRun) {
    CollectDots(state, db.Vors, db.VorCount, db.VorLonIndex, kVorDot, view,
                DotTurn(view, screen), letEventsRun, state.VorBands);
}

void getairportdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                    const MapScreen& screen, const LetEventsRun& letEventsRun) {
    CollectDots(state, db.Airports, db.AirportCount, db.AirportLonIndex, kAirportWithoutFuel, view,
                DotTurn(view, screen), letEventsRun, state.AirportBands);
}

void CollectMapDots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                    const MapScreen& screen, const LetEventsRun& letEventsRun) {
    state.MapDotCount = 0;
    // One turn for the three kinds: the frame's heading is the same for all.
    const ScaleAndTurn t = DotTurn(view, screen);
    if (state.ShowNDBDots)
        CollectDots(state, db.Ndbs, db.NdbCount, db.NdbLonIndex, kNdbDot, view, t, letEventsRun,
                    state.NdbBands);
    if (state.ShowVORDots)
        CollectDots(state, db.Vors, db.VorCount, db.VorLonIndex, kVorDot, view, t, letEventsRun,
                    state.VorBands);
    if (state.ShowAirportDots)
        CollectDots(state, db.Airports, db.AirportCount, db.AirportLonIndex, kAirportWithoutFuel,
                    view, t, letEventsRun, state.AirportBands);
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
