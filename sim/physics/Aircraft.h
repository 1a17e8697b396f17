// SPDX-License-Identifier: MIT
//
// The stand-in's aircraft by name, and what a pilot knows of each (its
// handbook figures: stall speeds, reference speed, flap limits, gear) worked
// out from its configuration.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/physics/AircraftConfig.h"
#include "sim/physics/AircraftData.h"

namespace corvane::sim {

// The twin turboprop the stand-in has always flown (AircraftConfig's defaults).
AircraftConfig TwinTurboprop();
// A high-wing single-engine piston of about 1,100 kg with a fixed gear, no
// spoilers and no reverse, flaps in detents (docs/flight-model.md).
AircraftConfig LightSingle();

// The configuration of an aircraft id ("twin"), or nullopt.
std::optional<AircraftConfig> StandInAircraft(const std::string& id);
// The ids the stand-in knows, in a fixed order.
std::vector<std::string> StandInAircraftIds();

// Stall speed (1 g, power off, sea-level density) of a configuration: the
// indicated airspeed at which the lift at CLmax carries the weight.
double StallSpeedKias(const AircraftConfig& config, double flaps);

// The handbook figures of a configuration; each figure names the field or the
// computation it comes from.
AircraftData DataOf(const AircraftConfig& config);

}  // namespace corvane::sim
