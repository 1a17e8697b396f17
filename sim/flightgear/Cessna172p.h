// SPDX-License-Identifier: MIT
//
// The handbook figures of FlightGear's Cessna 172P (its stall speeds, flap
// limits and gear), by which the harness judges its landings.
#pragma once

#include "sim/physics/AircraftData.h"

namespace corvane::sim::flightgear {

AircraftData Cessna172pData();

}  // namespace corvane::sim::flightgear
