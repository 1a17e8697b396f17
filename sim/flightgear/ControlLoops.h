// SPDX-License-Identifier: MIT
//
// The stand-in's autopilot flying FlightGear's aircraft. The autopilot
// (sim/physics/Autopilot) decides a rate of climb and a bank angle, as it does
// for the stand-in's own flight model; these loops move FlightGear's elevator
// and ailerons until the aircraft flies them:
//
// - pitch: the climb rate wanted sets a pitch attitude (flight path angle plus
//   the angle of attack flown now, corrected by the climb error, and never
//   more than the flight path now plus a safe angle of attack), and the
//   elevator follows the attitude error with damping on the pitch rate and an
//   integrator that finds the trim;
// - roll: the aileron follows the bank error with damping on the roll rate
//   and an integrator that finds the aileron trim (the Cessna's engine torque
//   and rudder trim roll it steadily: without the trim the bank stayed off its
//   target and the heading 5-7 degrees off the autopilot's);
//
// - speed: the pitch target gives way below the lowest speed the autopilot
//   flies, so that a climb the engine cannot hold trades height, not speed;
// - the auto-coordinator (when the program has it on) moves the rudder to
//   keep the sideslip at zero, as the stand-in's coordinated flight has it:
//   the heading then is the track through the air.
//
// While a channel is not held the pilot's (the program's) control passes
// through and the integrator follows it, so taking over is bumpless.
#pragma once

#include "sim/physics/Autopilot.h"

namespace corvane::sim::flightgear {

struct LoopSense {
    double pitchDeg = 0.0;
    double bankDeg = 0.0;
    double pitchRateDegS = 0.0;
    double rollRateDegS = 0.0;
    double alphaDeg = 0.0;
    double sideslipDeg = 0.0;  // positive with the air flow from the right
    double iasKt = 0.0;
    double liftShare = 0.0;  // of the wing's stalling lift flown now, 0..1
    double climbMps = 0.0;
    double tasMps = 0.0;
    bool onGround = false;
};

struct LoopOutput {
    double elevator = 0.0;  // -1..1, positive nose down
    double aileron = 0.0;   // -1..1, positive roll right
    double rudder = 0.0;    // -1..1, positive yaw right
};

class ControlLoops {
  public:
    // Gains for a light aircraft's full control travel.
    struct Gains {
        double climbToPitchDegPerMps = 1.2;
        double maxPitchUpDeg = 15.0;
        double maxPitchDownDeg = -12.0;
        // The pitch target never asks for more angle of attack than this: a
        // climb the engine cannot hold trades height, not speed.
        double maxAlphaDeg = 10.0;
        // Below this many times the stall speed of the wing as it is now
        // (flaps, spoilers), the pitch target comes down pitchDegPerKtSlow a
        // knot: an approach at 1.2 to 1.3 times it keeps its pitch.
        double minSpeedStallRatio = 1.1;
        double pitchDegPerKtSlow = 1.0;
        double rudderPerDegSlip = 0.05;
        double rudderTrimPerDegSlipS = 0.02;
        double maxRudderTrim = 0.4;
        double elevatorPerDeg = 0.06;
        double elevatorPerDegS = 0.03;
        double elevatorTrimPerDegS = 0.015;
        double maxAutopilotElevator = 0.8;
        double aileronPerDeg = 0.04;
        double aileronPerDegS = 0.02;
        double maxAutopilotAileron = 0.6;
        double aileronTrimPerDegS = 0.01;
        double maxAileronTrim = 0.3;
    };

    ControlLoops() = default;
    explicit ControlLoops(const Gains& gains) : gains_(gains) {}

    // pilotElevator and pilotAileron: the controls as the program set them.
    LoopOutput Update(const Autopilot::Command& command, const LoopSense& sense,
                      double pilotElevator, double pilotAileron, double pilotRudder,
                      bool autoCoordinator, double dtS);

    double PitchTargetDeg() const { return pitchTargetDeg_; }

  private:
    Gains gains_;
    double elevatorTrim_ = 0.0;
    double rudderTrim_ = 0.0;
    double aileronTrim_ = 0.0;
    double pitchTargetDeg_ = 0.0;
};

}  // namespace corvane::sim::flightgear
