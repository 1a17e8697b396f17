// SPDX-License-Identifier: MIT
#include "sim/variables/ImageBinding.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"
#include "sim/variables/Encoding.h"
#include "sim/variables/Offsets.h"

namespace corvane::sim {

namespace {

constexpr double kFullReverseRaw = 4096.0;

double LeverFraction(std::int32_t raw) {
    return std::clamp(static_cast<double>(raw), 0.0, 16383.0) / 16383.0;
}

double ThrottleFraction(std::int16_t raw) {
    if (raw >= 0) {
        return std::min(static_cast<double>(raw), 16383.0) / 16383.0;
    }
    return std::max(static_cast<double>(raw) / kFullReverseRaw, -1.0);
}

std::uint32_t LeverRaw(double fraction) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(fraction, 0.0, 1.0) * 16383.0));
}

std::int16_t ControlRaw(double fraction) {
    return static_cast<std::int16_t>(std::lround(std::clamp(fraction, -1.0, 1.0) * 16383.0));
}

}  // namespace

std::int16_t ImageBinding::ThrottleRaw(double lever) {
    if (lever >= 0.0) {
        return static_cast<std::int16_t>(std::lround(std::min(lever, 1.0) * 16383.0));
    }
    return static_cast<std::int16_t>(std::lround(std::max(lever, -1.0) * kFullReverseRaw));
}

ControlInputs ImageBinding::ReadInputs(const VariableSpace& space) {
    namespace o = offsets;
    ControlInputs in;
    for (int i = 0; i < 4; ++i) {
        in.throttle[i] = ThrottleFraction(space.I16(o::kThrottles[i]));
    }
    in.flapsLever = LeverFraction(space.I32(o::kFlaps));
    in.spoilersLever = LeverFraction(space.I32(o::kSpoilers));
    in.spoilersArmed = space.U32(o::kSpoilersArm) != 0;
    in.gearDown = space.I32(o::kGear) > 8191;
    in.leftBrake = LeverFraction(space.I16(o::kLeftBrake));
    in.rightBrake = LeverFraction(space.I16(o::kRightBrake));
    in.parkingBrake = space.U16(o::kParkingBrake) != 0;
    // The program may write these as 4 bytes; only the low 16 bits count.
    in.elevator = encoding::ControlFraction(space.I16(o::kElevator));
    in.aileron = encoding::ControlFraction(space.I16(o::kAileron));
    in.rudder = encoding::ControlFraction(space.I16(o::kRudder));
    in.autoCoordinator = space.U16(o::kAutoCoordinator) != 0;
    in.autopilot.master = space.U32(o::kApMaster) != 0;
    in.autopilot.wingLeveller = space.U32(o::kApWingLeveller) != 0;
    in.autopilot.headingHold = space.U32(o::kApHeadingHold) != 0;
    in.autopilot.altitudeHold = space.U32(o::kApAltitudeHold) != 0;
    in.autopilot.headingMagneticDeg = encoding::DecodeApHeadingDeg(space.U32(o::kApHeading));
    in.autopilot.altitudeTargetM = encoding::DecodeApAltitudeM(space.I32(o::kApAltitude));
    in.autopilot.verticalSpeedFpm = space.I16(o::kApVerticalSpeed);
    in.paused = space.U16(o::kPause) != 0;
    in.crashDetection = space.U8(o::kCrashDetection) != 0;
    return in;
}

void ImageBinding::WriteInputs(const ControlInputs& in, VariableSpace& space) {
    namespace o = offsets;
    for (int i = 0; i < 4; ++i) {
        space.SetI16(o::kThrottles[i], ThrottleRaw(in.throttle[i]));
    }
    space.SetU32(o::kFlaps, LeverRaw(in.flapsLever));
    space.SetU32(o::kSpoilers, LeverRaw(in.spoilersLever));
    space.SetU32(o::kSpoilersArm, in.spoilersArmed ? 1 : 0);
    space.SetU32(o::kGear, in.gearDown ? 16383 : 0);
    space.SetU16(o::kLeftBrake, static_cast<std::uint16_t>(LeverRaw(in.leftBrake)));
    space.SetU16(o::kRightBrake, static_cast<std::uint16_t>(LeverRaw(in.rightBrake)));
    space.SetU16(o::kParkingBrake, in.parkingBrake ? 1 : 0);
    space.SetI16(o::kElevator, ControlRaw(in.elevator));
    space.SetI16(o::kAileron, ControlRaw(in.aileron));
    space.SetI16(o::kRudder, ControlRaw(in.rudder));
    space.SetU16(o::kAutoCoordinator, in.autoCoordinator ? 1 : 0);
    space.SetU32(o::kApMaster, in.autopilot.master ? 1 : 0);
    space.SetU32(o::kApWingLeveller, in.autopilot.wingLeveller ? 1 : 0);
    space.SetU32(o::kApHeadingHold, in.autopilot.headingHold ? 1 : 0);
    space.SetU32(o::kApAltitudeHold, in.autopilot.altitudeHold ? 1 : 0);
    space.SetU32(o::kApHeading, encoding::EncodeAngle16(in.autopilot.headingMagneticDeg));
    space.SetI32(o::kApAltitude, encoding::EncodeApAltitude(in.autopilot.altitudeTargetM));
    space.SetI16(o::kApVerticalSpeed, in.autopilot.verticalSpeedFpm);
    space.SetU16(o::kPause, in.paused ? 1 : 0);
    space.SetU8(o::kCrashDetection, in.crashDetection ? 1 : 0);
}

void ImageBinding::Publish(const AircraftState& s, int engineType, VariableSpace& space) {
    namespace o = offsets;
    space.SetU32(o::kMagneticVariation, encoding::EncodeAngle16(s.magneticVariationDeg));
    space.SetI32(o::kTrueAirspeed, encoding::EncodeKnots128(s.tasMps * units::kKnotsPerMps));
    space.SetI32(o::kIndicatedAirspeed, encoding::EncodeKnots128(s.iasMps * units::kKnotsPerMps));
    space.SetU16(o::kOnGround, s.onGround ? 1 : 0);

    const encoding::Fixed64 lat = encoding::EncodeLatitude(s.latitudeDeg);
    space.SetU32(o::kLatitudeLo, lat.lo);
    space.SetI32(o::kLatitudeHi, lat.hi);
    const encoding::Fixed64 lon = encoding::EncodeLongitude(s.longitudeDeg);
    space.SetU32(o::kLongitudeLo, lon.lo);
    space.SetI32(o::kLongitudeHi, lon.hi);
    const encoding::AltitudeParts alt = encoding::EncodeAltitude(s.altitudeM);
    space.SetU32(o::kAltitudeFraction, alt.fraction);
    space.SetI32(o::kAltitudeMetres, alt.metres);
    space.SetI32(o::kPitch, encoding::EncodeSignedAngle32(-s.pitchDeg));
    space.SetI32(o::kBank, encoding::EncodeSignedAngle32(-s.bankDeg));
    space.SetU32(o::kHeading, encoding::EncodeAngle32(s.headingTrueDeg));

    space.SetU16(o::kCrashed, s.crashed ? 1 : 0);
    space.SetI16(o::kVerticalSpeed, encoding::EncodeVerticalSpeed(s.velocityUpMps));
    for (int i = 0; i < 4; ++i) {
        const double share = s.engineThrustN[i] / std::max(s.staticThrustPerEngineN, 1.0);
        space.SetI32(o::kEngineThrusts[i], static_cast<std::int32_t>(std::lround(share * 16384.0)));
    }
    space.SetI16(o::kEngineType, static_cast<std::int16_t>(engineType));
    space.SetI32(o::kGroundAltitude,
                 static_cast<std::int32_t>(std::lround(std::clamp(s.groundElevationM, -1e6, 1e6))));
    space.SetI16(o::kElevatorPosition, ControlRaw(s.elevatorApplied));
    space.SetI16(o::kAileronPosition, ControlRaw(s.aileronApplied));
    space.SetI16(o::kRudderPosition, ControlRaw(s.rudderApplied));
    space.SetU32(o::kFlapsPosition, LeverRaw(s.flaps));
    space.SetU32(o::kSpoilersPosition, LeverRaw(s.spoilers));
    space.SetU32(o::kGearPosition, LeverRaw(s.gear));
    space.SetU16(o::kStallFactor, s.stallFactor);
}

}  // namespace corvane::sim
