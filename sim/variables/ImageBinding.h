// SPDX-License-Identifier: MIT
//
// The link between the variable space and the flight model. Before each step
// the inputs (levers, switches, autopilot targets, pause, crash setting) are
// read from the space; after each step the aircraft's state is published into
// it. Publishing writes only the simulator's own outputs, never an input
// offset, so a value the program wrote between two steps is never lost: it
// stays in the space until the program (or a start) writes it again.
#pragma once

#include "sim/physics/AircraftState.h"
#include "sim/physics/ControlInputs.h"
#include "sim/variables/VariableSpace.h"

namespace corvane::sim {

class ImageBinding {
  public:
    static ControlInputs ReadInputs(const VariableSpace& space);

    // Writes every input offset from the given inputs (used by the starts and
    // by tests that set the controls as the program would).
    static void WriteInputs(const ControlInputs& in, VariableSpace& space);

    static void Publish(const AircraftState& state, int engineType, VariableSpace& space);

    // Throttle lever to its signed 16-bit value: 0..1 -> 0..16383, -1..0 -> -4096..0.
    static std::int16_t ThrottleRaw(double lever);
};

}  // namespace corvane::sim
