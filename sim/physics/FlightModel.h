// SPDX-License-Identifier: MIT
//
// The aircraft in flight and on the ground. In the air a point mass with a
// prescribed angle of attack, bank and sideslip: the elevator (or the
// autopilot) sets the angle of attack the aircraft settles to, the ailerons a
// roll rate (or the autopilot a bank angle); lift, drag, side force, thrust
// and weight move the mass. Once a wheel touches, the gear's struts (Gear)
// carry it: the height and the pitch become free, moved by the struts, the
// lift, and the elevator's moment, whose authority grows with the dynamic
// pressure; it rolls along its heading against rolling friction and the main
// wheels' brakes, and steers with the nose wheel. With the gear not down and
// locked it slides on its belly. The contact phase runs in substeps short
// enough to keep the struts stable. Every step takes its dt; the model never
// reads a clock.
#pragma once

#include <cstdint>

#include "sim/physics/Aerodynamics.h"
#include "sim/physics/AircraftConfig.h"
#include "sim/physics/AircraftState.h"
#include "sim/physics/Autopilot.h"
#include "sim/physics/ControlInputs.h"
#include "sim/physics/Engines.h"
#include "sim/physics/Gear.h"
#include "sim/physics/GroundHandling.h"
#include "sim/physics/LastValueMemo.h"
#include "sim/physics/SimEvent.h"
#include "sim/physics/Terrain.h"

namespace corvane::sim {

class FlightModel {
  public:
    struct Environment {
        const Terrain* terrain = nullptr;  // null: sea level everywhere
        double windEastMps = 0.0;          // where the air moves to
        double windNorthMps = 0.0;
        double windUpMps = 0.0;  // vertical gust, up positive
        double magneticVariationDeg = 0.0;
    };

    // What happened in a step. Touchdowns, lift-offs, stops and crashes as
    // events are decided from the contact by GroundContactDetector.
    struct StepOutcome {
        bool contactBegan = false;      // a wheel or the belly met the ground
        bool contactEnded = false;      // no wheel touches any more
        double sinkRateFpm = 0.0;       // downward speed relative to the ground
        double bankAtContactDeg = 0.0;  // as the ground was met (the wings level after)
    };

    explicit FlightModel(const AircraftConfig& config);
    FlightModel(const FlightModel&) = delete;
    FlightModel& operator=(const FlightModel&) = delete;

    // At rest on the ground, gear down, flaps and spoilers in, engines idle.
    void PlaceOnGround(double latitudeDeg, double longitudeDeg, double headingTrueDeg,
                       const Environment& env);

    // In trimmed flight at an indicated airspeed on a flight path (climb rate
    // 0 for level flight), surfaces already in place. Returns the throttle
    // lever (0..1) that holds the speed; the elevator trim is set so that an
    // elevator of 0 holds the angle of attack.
    double PlaceInAir(double latitudeDeg, double longitudeDeg, double altitudeM,
                      double headingTrueDeg, double iasMps, double climbMps, double flaps,
                      double gear, double spoilers, const Environment& env);

    StepOutcome Step(const ControlInputs& in, const Environment& env, double dtS);

    // Stops the aircraft where it is, broken: it moves no more until the next
    // placing.
    void Crash();

    // Moves the aircraft over the ground by the given distances (metres),
    // keeping its altitude, attitude and velocity: a sudden displacement, as
    // the harness uses to push an approach off the centre line.
    void Shift(double northM, double eastM);

    const AircraftState& State() const { return state_; }
    const AircraftConfig& Config() const { return config_; }
    Autopilot::VerticalMode AutopilotMode() const { return autopilot_.Mode(); }
    const Autopilot::Command& AutopilotCommand() const { return apCommand_; }

  private:
    struct Vec3 {
        double x = 0.0;  // east
        double y = 0.0;  // north
        double z = 0.0;  // up
    };

    double PitchServoAlphaRad(double climbTargetMps, double tasMps, double gammaRad,
                              double dynamicPressurePa, double thrustN) const;
    void FlyInAir(const ControlInputs& in, const Vec3& air, double tasMps, double densityKgM3,
                  double alphaCommandRad, double dtS);
    // One substep on the struts.
    void RollOnWheels(const ControlInputs& in, const Environment& env, double alphaCommandRad,
                      double groundRateMps, double dtS);
    void SlideOnBelly(const ControlInputs& in, const Vec3& air, double tasMps, double densityKgM3,
                      double dtS);
    void MoveOverEarth(double dtS);
    void BeginContact(double groundRateMps, double pitchBeforeDeg, double dtS,
                      StepOutcome& outcome);
    Gear::Inputs GearInputs(double groundRateMps) const;
    double FlapTarget(double lever) const;
    void UpdateDerived(const Environment& env);
    // The air's density at an altitude, kept for the altitude last asked
    // about: the end of a step and the start of the next ask at the same one.
    double DensityKgM3(double altitudeM);

    AircraftConfig config_;
    Aerodynamics aero_;
    Engines engines_;
    Gear gear_;
    GroundHandling handling_;
    Autopilot autopilot_;
    Autopilot::Command apCommand_;
    AircraftState state_;
    Aerodynamics::Outputs lastAero_;
    double pitchRateRadS_ = 0.0;  // on the struts; in the air from the attitude's change
    double groundRateMps_ = 0.0;  // the ground under the aircraft rising
    LastValueMemo<double> densityMemo_;
};

}  // namespace corvane::sim
