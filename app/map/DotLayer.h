// SPDX-License-Identifier: MIT
//
// The airport, VOR and NDB dots of the moving map: which records are in view,
// where each dot goes, and the small filled squares drawn for them.
#pragma once

#include <cstdint>
#include <optional>

#include "app/map/MapProjection.h"
#include "app/map/MapState.h"
#include "navdata/AirportDatabase.h"
#include "ports/Canvas.h"

namespace corvane::map {

// Each collector appends the dots of its kind to state.MapDots: it walks its
// table over the longitude bands of the view (from the index entry of the
// first band less one to that of the last band plus one), keeps a record when
// |longitude - lon| <= halflon and |latitude - lat| <= halflat (both
// inclusive, on the unturned box), and stops for the frame once the list holds
// kMaxMapDots dots. A dot's x = c dx + width - s dy and y = height - s dx - c dy
// with dx, dy the record's offsets from the aircraft in pixels (single
// precision); OffsetMapDots then moves every dot to its place on the canvas.
// Every kept record whose number is divisible by 200 lets events run.
// A view that reaches past the 180 degree meridian walks the bands on both
// sides of it (LonIndexWalkAcrossMeridian: west of it, between, east of it,
// no record twice); a record across the meridian is measured and placed with
// its longitude taken on the aircraft's side (NearestLongitude).
void getNDBdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                const MapScreen& screen, const LetEventsRun& letEventsRun);
void getVORdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                const MapScreen& screen, const LetEventsRun& letEventsRun);
void getairportdots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                    const MapScreen& screen, const LetEventsRun& letEventsRun);

// A frame's dot list: MapDotCount := 0, then NDBs, VORs and airports, each
// only while its layer is shown, then the offsets of OffsetMapDots.
void CollectMapDots(MapState& state, const navdata::AirportDatabase& db, const MapView& view,
                    const MapScreen& screen, const LetEventsRun& letEventsRun);

// Moves every collected dot by (-width / 2 - 2 / twips per pixel in x,
// -height / 2 - 2 / twips per pixel in y): the aircraft's own position then
// lies at the canvas centre less that small offset. Results in single precision.
void OffsetMapDots(MapState& state, const MapView& view, const MapScreen& screen);

// The colour of a dot kind: airport without fuel RGB(255, 128, 0), with fuel
// RGB(255, 255, 128), VOR RGB(60, 60, 255), NDB RGB(128, 255, 255); none for
// any other kind.
std::optional<forms::Rgb> DotColour(std::int16_t kind);

// The dot squares of a frame, in list order: each MapDotSize (3) pixels wide,
// filled from (round(x), round(y)) to (round(x + size), round(y + size)),
// right and bottom edges excluded. While a fly-there runs, the destination
// airport's dot is drawn 5 pixels wide on every other frame (DestinationBlink
// flips each time that dot is drawn). After every 100th dot events run.
void DrawMapDots(forms::Canvas& canvas, MapState& state, bool flyThereActive,
                 std::int16_t destAirport, const LetEventsRun& letEventsRun);

}  // namespace corvane::map
