// SPDX-License-Identifier: MIT
//
// The throttle bar beside the map: its value runs opposite to the throttle
// (value 0, the bar at the top, is full throttle). Moving it sets all four
// engines; every main-cycle tick it follows the engine-1 throttle, so that it
// shows what the autopilot or the simulator's own controls set.
#pragma once

#include <cstdint>

#include "app/controls/ControlsState.h"
#include "app/flightstate/AircraftCommands.h"
#include "app/flightstate/Readings.h"
#include "app/forms/Forms.h"

namespace corvane::controls {

// The bar moved by the user (or by the display): all four throttles get the
// bar's throttle, the bar's maximum less its value (held to its range), as a
// 16-bit number. Nothing without a simulator link.
flightstate::AircraftCommands BarThrottleCommands(bool linked, const forms::ScrollBar& bar,
                                                  JoystickState& joystick);

// The throttle as the simulator holds it after the last exchange, as the
// simulator's unsigned 16-bit value: a throttle write sent by the last
// exchange is not in its reading yet (the reads go first), so the written
// value (outgoingThrottle1) is the current one then.
std::int32_t SimulatorThrottle(bool linked, const flightstate::Readings& aircraft,
                               std::int32_t outgoingThrottle1, const JoystickState& joystick);

// The bar's value that shows a throttle; false when it stays where it is (at
// or above the bar's maximum: full throttle, or reverse thrust read as a large
// unsigned value) or already shows it.
bool BarValueFor(std::int32_t throttle, const forms::ScrollBar& bar, int* value);

// After a display: what the next display compares the outgoing throttle with.
void ThrottleDisplayed(JoystickState& joystick, std::int32_t outgoingThrottle1);

// "Show throttle" / "Hide throttle" switched; true when the window's outline
// is to follow (it is not shrunk to its spot), with *round and *withThrottle
// saying which outline.
bool SwitchThrottle(forms::MainMenu& menu, bool* round, bool* withThrottle);

}  // namespace corvane::controls
