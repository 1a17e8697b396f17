// SPDX-License-Identifier: MIT
//
// Trace records and events made from the aircraft's state and the inputs, the
// same for every simulator backend.
#pragma once

#include <cstdint>

#include "sim/physics/AircraftState.h"
#include "sim/physics/ControlInputs.h"
#include "sim/physics/SimEvent.h"
#include "sim/trace/TraceRecord.h"

namespace corvane::sim {

// Fills every field of r; apVerticalMode: 0 off, 1 vertical speed, 2 altitude hold.
void FillTraceRecord(const AircraftState& s, const ControlInputs& in, double timeS,
                     int apVerticalMode, std::uint32_t eventMask, TraceRecord& r);

// An event at the aircraft's state (sink rate and crash reason left for the caller).
SimEvent MakeEvent(SimEventKind kind, const AircraftState& s, double timeS);

}  // namespace corvane::sim
