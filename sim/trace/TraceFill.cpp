// SPDX-License-Identifier: MIT
#include "sim/trace/TraceFill.h"

#include "sim/physics/Units.h"

namespace corvane::sim {

void FillTraceRecord(const AircraftState& s, const ControlInputs& in, double timeS,
                     int apVerticalMode, std::uint32_t eventMask, TraceRecord& r) {
    r.timeS = timeS;
    r.latitudeDeg = s.latitudeDeg;
    r.longitudeDeg = s.longitudeDeg;
    r.altitudeFt = s.altitudeM * units::kFeetPerMetre;
    r.groundElevationFt = s.groundElevationM * units::kFeetPerMetre;
    r.heightAboveGroundFt = (s.altitudeM - s.groundElevationM) * units::kFeetPerMetre;
    r.iasKt = s.iasMps * units::kKnotsPerMps;
    r.tasKt = s.tasMps * units::kKnotsPerMps;
    r.groundSpeedKt = s.groundSpeedMps * units::kKnotsPerMps;
    r.verticalSpeedFpm = s.velocityUpMps * units::kFpmPerMps;
    r.pitchDeg = s.pitchDeg;
    r.bankDeg = s.bankDeg;
    r.headingTrueDeg = s.headingTrueDeg;
    r.headingMagneticDeg = units::Wrap360(s.headingTrueDeg - s.magneticVariationDeg);
    r.alphaDeg = s.alphaBodyDeg;
    r.stallFactor = s.stallFactor;
    r.throttle1 = in.throttle[0];
    r.throttle2 = in.throttle[1];
    r.thrustN = s.thrustN;
    r.flaps = s.flaps;
    r.spoilers = s.spoilers;
    r.gear = s.gear;
    r.leftBrake = in.leftBrake;
    r.rightBrake = in.rightBrake;
    r.parkingBrake = in.parkingBrake;
    r.elevator = in.elevator;
    r.aileron = in.aileron;
    r.rudder = in.rudder;
    r.apMaster = in.autopilot.master;
    r.apWingLeveller = in.autopilot.wingLeveller;
    r.apHeadingHold = in.autopilot.headingHold;
    r.apAltitudeHold = in.autopilot.altitudeHold;
    r.apHeadingMagneticDeg = in.autopilot.headingMagneticDeg;
    r.apAltitudeFt = in.autopilot.altitudeTargetM * units::kFeetPerMetre;
    r.apVerticalSpeedFpm = in.autopilot.verticalSpeedFpm;
    r.apVerticalMode = apVerticalMode;
    r.onGround = s.onGround;
    r.mainWheelsOnGround = s.mainWheelsOnGround;
    r.noseWheelOnGround = s.noseWheelOnGround;
    r.normalLoadG = s.normalLoadG;
    r.crashed = s.crashed;
    r.paused = in.paused;
    r.crashDetection = in.crashDetection;
    r.eventMask = eventMask;
}

SimEvent MakeEvent(SimEventKind kind, const AircraftState& s, double timeS) {
    SimEvent e;
    e.kind = kind;
    e.timeS = timeS;
    e.latitudeDeg = s.latitudeDeg;
    e.longitudeDeg = s.longitudeDeg;
    e.altitudeM = s.altitudeM;
    e.iasKt = s.iasMps * units::kKnotsPerMps;
    e.groundSpeedKt = s.groundSpeedMps * units::kKnotsPerMps;
    e.headingTrueDeg = s.headingTrueDeg;
    e.pitchDeg = s.pitchDeg;
    e.bankDeg = s.bankDeg;
    e.gearDown = s.gear >= 0.99;
    return e;
}

}  // namespace corvane::sim
