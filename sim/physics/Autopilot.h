// SPDX-License-Identifier: MIT
//
// The simulator's own autopilot. It decides what the aircraft should do - a
// rate of climb and a bank angle - and the flight model turns that into angle
// of attack and roll. It holds no speed: speed is the throttles' business.
//
// Vertical channel (master and altitude hold on):
// - vertical-speed mode flies the commanded rate, sign included, and holds the
//   altitude reached by integrating that rate (a rate of 0 holds altitude);
// - when the aircraft moves towards the target altitude and gets close enough
//   for a smooth capture, it levels off there (altitude mode) and holds the
//   target - following it if the target moves - until a different vertical
//   speed is written.
// Lateral channel (master on): heading hold steers the shortest way to the
// magnetic target with at most 25 degrees of bank and no more than a standard
// rate turn; otherwise the wing leveller holds wings level; otherwise the
// ailerons are the pilot's.
#pragma once

#include <cstdint>

#include "sim/physics/AircraftConfig.h"
#include "sim/physics/ControlInputs.h"

namespace corvane::sim {

class Autopilot {
  public:
    enum class VerticalMode { Off, VerticalSpeed, AltitudeHold };

    struct Sense {
        double altitudeM = 0.0;
        double climbMps = 0.0;
        double headingTrueDeg = 0.0;
        double magneticVariationDeg = 0.0;  // east positive
        double tasMps = 0.0;
        bool onGround = false;
    };

    struct Command {
        bool holdsPitch = false;
        double climbTargetMps = 0.0;
        bool holdsRoll = false;
        double bankTargetDeg = 0.0;  // positive right wing down
    };

    explicit Autopilot(const AircraftConfig& config) : config_(config) {}

    Command Update(const AutopilotSettings& settings, const Sense& sense, double dtS);

    void Reset();

    VerticalMode Mode() const { return mode_; }
    double ReferenceAltitudeM() const { return referenceAltitudeM_; }
    double ReferenceRateMps() const { return referenceRateMps_; }

  private:
    void EnterVerticalSpeed(const AutopilotSettings& settings, const Sense& sense);

    const AircraftConfig& config_;
    VerticalMode mode_ = VerticalMode::Off;
    double referenceAltitudeM_ = 0.0;
    double referenceRateMps_ = 0.0;
    bool rateSettled_ = false;
    std::int16_t lastVerticalSpeedFpm_ = 0;
};

}  // namespace corvane::sim
