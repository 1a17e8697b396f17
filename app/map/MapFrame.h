// SPDX-License-Identifier: MIT
//
// One frame of the moving map in parts, for the map cycle and for measuring a
// frame off screen: the window placement, the frame drawn off screen, the
// readouts beside it.
#pragma once

#include <string>

#include "app/flightstate/Readings.h"
#include "app/forms/Forms.h"
#include "app/map/MapReadouts.h"
#include "app/map/MapState.h"
#include "app/map/MapView.h"
#include "navdata/AirportDatabase.h"
#include "navdata/CoastlineData.h"
#include "ports/HostTypes.h"

namespace corvane::map {

// The caption of the simulator's main window, looked up every cycle.
inline constexpr const char* kSimulatorWindowTitle = "Microsoft Flight Simulator 98";

// Picture1's size and the screen's twips per pixel.
MapScreen MapScreenOf(const forms::Form1Model& form1, int twipsPerPixelX, int twipsPerPixelY);

// Picture1's rectangle on the screen in pixels: Form1's position plus
// Picture1's position inside it, and Picture1's size.
host::Rect Picture1ScreenRect(const forms::Form1Model& form1, int twipsPerPixelX,
                              int twipsPerPixelY);

// Keeps Form1 at least 100 twips from the screen's left and top edges and
// inside the simulator window's width and height (its rectangle in pixels),
// and Form4 at the simulator window's right edge.
void PlaceMapWindows(forms::Form1Model& form1, forms::Form4Model& form4,
                     const host::Rect& simulatorWindow, int twipsPerPixelX, int twipsPerPixelY);

// The frame's picture: the dots of the view collected, the stored background
// put back onto Picture2, the coastlines and the dots drawn on it (the
// destination's dot blinking while a flight runs).
void DrawMapFrame(MapState& state, forms::Form1Model& form1, const navdata::AirportDatabase& db,
                  const navdata::CoastlineData& coast, const MapView& view, const MapScreen& screen,
                  bool flyThereActive, std::int16_t destAirport, const LetEventsRun& letEventsRun);

// The readout window's lines after a frame: the hover label of a dot (not 0)
// seen from (lat, lon), else the aircraft's readouts while they are shown,
// else none.
ReadoutLines FrameReadouts(const MapState& state, const navdata::AirportDatabase& db, int hoverDot,
                           double lat, double lon, const flightstate::Readings& aircraft);

}  // namespace corvane::map
