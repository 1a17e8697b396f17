// SPDX-License-Identifier: MIT
//
// Touchdowns, lift-offs, stops and crashes, decided alike for every simulator
// behind the variable space (the stand-in's flight model and FlightGear) from
// what each reports of its wheels step by step. A wheel's contact flickers as
// a strut settles and on a rough roll: the aircraft has left the ground only
// when no wheel has touched for a quarter second, and only then can it touch
// down again. A touchdown sinking faster than the aircraft's limit, banked
// past its wing-strike angle or without the gear down and locked is a crash
// while the simulator's crash detection is on.
#pragma once

#include "sim/physics/SimEvent.h"

namespace corvane::sim {

class GroundContactDetector {
  public:
    struct Limits {
        double crashSinkFpm = 1000.0;
        double wingStrikeBankDeg = 8.0;
        double liftoffAfterS = 0.25;  // without any wheel on the ground
    };

    // One step of the simulator.
    struct Sense {
        double timeS = 0.0;
        bool onGround = false;  // a wheel (or the belly) touches in this step
        bool gearDownAndLocked = true;
        double sinkFpm = 0.0;  // downward speed relative to the ground
        double bankDeg = 0.0;
        double groundSpeedMps = 0.0;
        bool crashDetection = false;
        bool paused = false;
    };

    struct Events {
        bool touchdown = false;
        bool liftoff = false;
        bool crash = false;
        bool stopped = false;
        CrashReason crashReason = CrashReason::None;
        // At a touchdown (and its crash): the sink rate the wheels met, the
        // larger of this step's and the step's before (a strut may already
        // have slowed the descent in the step that touched).
        double sinkFpm = 0.0;
    };

    explicit GroundContactDetector(const Limits& limits);

    Events Update(const Sense& sense);
    // On the ground, the contact's flicker smoothed.
    bool OnGround() const { return onGround_; }
    // Starts again: on the ground or in the air, as a simulator's start places
    // the aircraft.
    void Reset(bool onGround, double timeS);

  private:
    Limits limits_;
    bool onGround_ = false;
    bool airborne_ = false;  // flew since the wheels last touched down
    double lastContactS_ = 0.0;
    double sinkBeforeFpm_ = 0.0;
    bool rolledSinceStop_ = false;
};

}  // namespace corvane::sim
