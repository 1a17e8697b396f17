// SPDX-License-Identifier: MIT
//
// What flies the aircraft behind the variable space: the stand-in's own
// flight model (Simulator) or another simulator kept in step with the space
// (the FlightGear backend). The simulator process, its window and the harness
// need only this much of it: the space the IPC module serves, time moving on,
// the aircraft's state, one trace record per step with the events, and the
// tower viewpoint the program set.
#pragma once

#include <optional>
#include <string>

#include "sim/physics/AircraftData.h"
#include "sim/physics/AircraftState.h"
#include "sim/trace/TraceRecord.h"
#include "sim/trace/TraceSink.h"
#include "sim/variables/VariableSpace.h"

namespace corvane::sim {

struct TowerViewpoint {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFt = 0.0;
};

// The tower viewpoint as the program last wrote it into the space (none until
// any of its bytes is non-zero).
std::optional<TowerViewpoint> TowerInSpace(const VariableSpace& space);

class SimulatorBackend {
  public:
    virtual ~SimulatorBackend() = default;

    virtual VariableSpace& Variables() = 0;
    virtual const VariableSpace& Variables() const = 0;

    // Moves on by hostSeconds of the caller's clock; returns the number of
    // steps (trace records) that came of it.
    virtual int Advance(double hostSeconds) = 0;
    // The simulator's own clock, seconds.
    virtual double TimeS() const = 0;
    // Nominal length of one step in simulated seconds, and simulated seconds
    // per host second: the caller's event loop wakes about once a step.
    virtual double StepS() const = 0;
    virtual double Rate() const = 0;

    virtual const AircraftState& State() const = 0;
    virtual const TraceRecord& LastTrace() const = 0;
    // Receives one record per step and every event; null to stop.
    virtual void SetTraceSink(TraceSink* sink) = 0;
    // Touchdowns and crashes since the simulator was made.
    virtual int TouchdownCount() const = 0;
    virtual int CrashCount() const = 0;
    // Height of the reference point above the wheels' contact on the ground.
    virtual double GearHeightM() const = 0;
    // The aircraft that flies, with its handbook figures.
    virtual const AircraftData& Aircraft() const = 0;

    // A backend whose simulator has failed (did not start, died, stopped
    // answering) says why here; it no longer moves. Empty while it runs.
    virtual std::string Failure() const { return {}; }

    std::optional<TowerViewpoint> Tower() const { return TowerInSpace(Variables()); }
};

}  // namespace corvane::sim
