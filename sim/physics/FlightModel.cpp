// SPDX-License-Identifier: MIT
#include "sim/physics/FlightModel.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Atmosphere.h"
#include "sim/physics/Units.h"

namespace corvane::sim {

namespace {

using units::kDegToRad;
using units::kGravityMps2;
using units::kRadToDeg;

constexpr double kMinAeroSpeedMps = 1.0;
constexpr double kApBankTimeConstantS = 1.0;
constexpr double kGearDownAndLocked = 0.99;
// Substeps of a step on the struts: 5 ms at the simulator's 20 ms step, short
// against the struts' periods (0.5 s and more).
constexpr int kContactSubsteps = 4;

void MoveToward(double& value, double target, double maxStep) {
    if (value < target) {
        value = std::min(target, value + maxStep);
    } else {
        value = std::max(target, value - maxStep);
    }
}

double Blend(double dtS, double timeConstantS) {
    return 1.0 - std::exp(-dtS / std::max(timeConstantS, 1e-3));
}

double ElevationAt(const FlightModel::Environment& env, double latDeg, double lonDeg) {
    return env.terrain != nullptr ? env.terrain->ElevationM(latDeg, lonDeg) : 0.0;
}

}  // namespace

FlightModel::FlightModel(const AircraftConfig& config)
    : config_(config),
      aero_(config_),
      engines_(config_),
      gear_(config_),
      handling_(config_),
      autopilot_(config_) {
    state_.staticThrustPerEngineN = config_.staticThrustPerEngineN;
}

double FlightModel::FlapTarget(double lever) const {
    const double wanted = std::clamp(lever, 0.0, 1.0);
    if (!config_.flapDetents || config_.flapSettings.empty())
        return wanted;
    // The lever moves the flaps to the nearest detent: up, or a setting.
    double best = 0.0;
    for (const FlapPlacard& p : config_.flapSettings) {
        if (std::abs(p.position - wanted) < std::abs(best - wanted))
            best = p.position;
    }
    return best;
}

void FlightModel::PlaceOnGround(double latitudeDeg, double longitudeDeg, double headingTrueDeg,
                                const Environment& env) {
    AircraftState s;
    s.staticThrustPerEngineN = config_.staticThrustPerEngineN;
    s.latitudeDeg = latitudeDeg;
    s.longitudeDeg = units::Wrap180(longitudeDeg);
    s.headingTrueDeg = units::Wrap360(headingTrueDeg);
    s.gear = 1.0;
    s.onGround = true;
    s.mainWheelsOnGround = true;
    s.noseWheelOnGround = true;
    s.trimAlphaBodyDeg = 4.0;
    state_ = s;
    // Standing level, the struts compressed by the aircraft's weight.
    state_.groundElevationM = ElevationAt(env, state_.latitudeDeg, state_.longitudeDeg);
    state_.altitudeM = state_.groundElevationM + config_.gearHeightM;
    engines_.Reset(0.0);
    autopilot_.Reset();
    apCommand_ = Autopilot::Command{};
    pitchRateRadS_ = 0.0;
    UpdateDerived(env);
}

double FlightModel::PlaceInAir(double latitudeDeg, double longitudeDeg, double altitudeM,
                               double headingTrueDeg, double iasMps, double climbMps, double flaps,
                               double gear, double spoilers, const Environment& env) {
    AircraftState s;
    s.staticThrustPerEngineN = config_.staticThrustPerEngineN;
    s.latitudeDeg = latitudeDeg;
    s.longitudeDeg = units::Wrap180(longitudeDeg);
    s.altitudeM = altitudeM;
    s.headingTrueDeg = units::Wrap360(headingTrueDeg);
    s.flaps = FlapTarget(flaps);
    s.gear = config_.retractableGear ? std::clamp(gear, 0.0, 1.0) : 1.0;
    s.spoilers = config_.hasSpoilers ? std::clamp(spoilers, 0.0, 1.0) : 0.0;
    s.onGround = false;

    const double density = Atmosphere::DensityKgM3(altitudeM);
    const double sigma = density / Atmosphere::kSeaLevelDensityKgM3;
    const double tas = std::max(iasMps, 10.0) / std::sqrt(sigma);
    const double gamma = std::asin(std::clamp(climbMps / tas, -0.5, 0.5));
    const double q = 0.5 * density * tas * tas;
    const double weight = config_.massKg * kGravityMps2;

    // Fixed-point trim: lift balances weight, thrust balances drag.
    double alpha = 0.0;
    double thrust = 0.0;
    const double alphaLimit = aero_.ZeroLiftAlphaBodyRad(s.flaps, s.spoilers) +
                              0.95 * aero_.StallAlphaZeroLiftRad(s.flaps, s.spoilers);
    for (int i = 0; i < 30; ++i) {
        const double cl =
            (weight * std::cos(gamma) - thrust * std::sin(alpha)) / (q * config_.wingAreaM2);
        alpha = std::min(aero_.AlphaBodyForCl(cl, s.flaps, s.spoilers), alphaLimit);
        Aerodynamics::Inputs ai{alpha, 0.0, s.flaps, s.spoilers, s.gear, q};
        const Aerodynamics::Outputs ao = aero_.Compute(ai);
        thrust = std::max(0.0, ao.dragN + weight * std::sin(gamma));
    }
    const double lever = std::clamp(thrust / engines_.MaxThrustN(tas, sigma), 0.0, 1.0);

    s.alphaBodyDeg = alpha * kRadToDeg;
    s.trimAlphaBodyDeg = s.alphaBodyDeg;
    const double psi = s.headingTrueDeg * kDegToRad;
    s.velocityEastMps = tas * std::cos(gamma) * std::sin(psi) + env.windEastMps;
    s.velocityNorthMps = tas * std::cos(gamma) * std::cos(psi) + env.windNorthMps;
    s.velocityUpMps = tas * std::sin(gamma) + env.windUpMps;
    state_ = s;
    engines_.Reset(lever);
    autopilot_.Reset();
    apCommand_ = Autopilot::Command{};
    pitchRateRadS_ = 0.0;
    UpdateDerived(env);
    return lever;
}

double FlightModel::PitchServoAlphaRad(double climbTargetMps, double tasMps, double gammaRad,
                                       double dynamicPressurePa, double thrustN) const {
    const AircraftState& s = state_;
    const double zeroLift = aero_.ZeroLiftAlphaBodyRad(s.flaps, s.spoilers);
    const double stall = aero_.StallAlphaZeroLiftRad(s.flaps, s.spoilers);
    const double alphaMax = zeroLift + config_.apStallMarginFraction * stall;
    const double alphaMin = zeroLift - 0.3 * stall;
    const double qS = dynamicPressurePa * config_.wingAreaM2;
    if (tasMps < kMinAeroSpeedMps || qS < 1.0) {
        return alphaMax;
    }
    const double sinMax = std::sin(config_.apMaxFlightPathDeg * kDegToRad);
    // The rate is held as the vertical speed indicator reads it, over the
    // ground: the path through the air is steepened or flattened by the climb
    // the aircraft misses, so that a downdraft, or a sink still building from
    // the rate before, is flown out instead of carried to the ground.
    const double maxPath = std::asin(sinMax);
    const double missedMps = climbTargetMps - state_.velocityUpMps;
    const double gammaTarget =
        std::clamp(std::asin(std::clamp(climbTargetMps / tasMps, -sinMax, sinMax)) +
                       config_.apClimbErrorPathDegPerMps * missedMps * kDegToRad,
                   -maxPath, maxPath);
    double loadFactor = std::cos(gammaRad) + tasMps * config_.apFlightPathGainPerS *
                                                 (gammaTarget - gammaRad) / kGravityMps2;
    loadFactor = std::clamp(loadFactor, config_.apMinLoadFactor, config_.apMaxLoadFactor);
    const double cosBank = std::max(std::cos(s.bankDeg * kDegToRad), 0.5);
    const double liftN = loadFactor * config_.massKg * kGravityMps2 / cosBank -
                         thrustN * std::sin(s.alphaBodyDeg * kDegToRad);
    const double alpha = aero_.AlphaBodyForCl(liftN / qS, s.flaps, s.spoilers);
    return std::clamp(alpha, alphaMin, alphaMax);
}

FlightModel::StepOutcome FlightModel::Step(const ControlInputs& in, const Environment& env,
                                           double dtS) {
    StepOutcome outcome;
    AircraftState& s = state_;
    if (s.crashed || dtS <= 0.0) {
        return outcome;
    }

    // Surfaces follow their levers (an aircraft without spoilers or with a
    // fixed gear ignores those); the gear cannot retract with weight on the
    // wheels.
    MoveToward(s.flaps, FlapTarget(in.flapsLever), dtS / config_.flapsTravelS);
    if (config_.hasSpoilers)
        MoveToward(s.spoilers, std::clamp(in.spoilersLever, 0.0, 1.0),
                   dtS / config_.spoilersTravelS);
    if (config_.retractableGear) {
        const double gearTarget = in.gearDown ? 1.0 : (s.onGround ? s.gear : 0.0);
        MoveToward(s.gear, gearTarget, dtS / config_.gearTravelS);
    }

    const Vec3 air{s.velocityEastMps - env.windEastMps, s.velocityNorthMps - env.windNorthMps,
                   s.velocityUpMps - env.windUpMps};
    const double tas = std::sqrt(air.x * air.x + air.y * air.y + air.z * air.z);
    const double density = DensityKgM3(s.altitudeM);
    const double sigma = density / Atmosphere::kSeaLevelDensityKgM3;

    Engines::Inputs engineInputs;
    engineInputs.lever = in.throttle;
    engineInputs.densityRatio = sigma;
    engineInputs.tasMps = tas;
    engines_.Update(engineInputs, dtS);

    Autopilot::Sense sense;
    sense.altitudeM = s.altitudeM;
    sense.climbMps = s.velocityUpMps;
    sense.headingTrueDeg = s.headingTrueDeg;
    sense.magneticVariationDeg = env.magneticVariationDeg;
    sense.tasMps = tas;
    sense.onGround = s.onGround;
    apCommand_ = autopilot_.Update(in.autopilot, sense, dtS);

    const double q = 0.5 * density * tas * tas;
    const double gamma =
        tas > kMinAeroSpeedMps ? std::asin(std::clamp(air.z / tas, -1.0, 1.0)) : 0.0;
    double alphaCommand;
    if (apCommand_.holdsPitch) {
        alphaCommand =
            PitchServoAlphaRad(apCommand_.climbTargetMps, tas, gamma, q, engines_.TotalThrustN());
        s.elevatorApplied = std::clamp(
            (s.trimAlphaBodyDeg - alphaCommand * kRadToDeg) / config_.elevatorAlphaRangeDeg, -1.0,
            1.0);
    } else {
        s.elevatorApplied = std::clamp(in.elevator, -1.0, 1.0);
        alphaCommand =
            (s.trimAlphaBodyDeg - s.elevatorApplied * config_.elevatorAlphaRangeDeg) * kDegToRad;
    }

    const double groundBefore = s.groundElevationM;
    const double pitchBeforeDeg = s.pitchDeg;
    const bool onWheels = s.gear >= kGearDownAndLocked;
    if (s.onGround && onWheels) {
        const double subDt = dtS / kContactSubsteps;
        for (int i = 0; i < kContactSubsteps; ++i)
            RollOnWheels(in, env, alphaCommand, groundRateMps_, subDt);
    } else if (s.onGround) {
        SlideOnBelly(in, air, tas, density, dtS);
    } else {
        FlyInAir(in, air, tas, density, alphaCommand, dtS);
        pitchRateRadS_ = (s.pitchDeg - pitchBeforeDeg) * kDegToRad / dtS;
    }

    s.groundElevationM = ElevationAt(env, s.latitudeDeg, s.longitudeDeg);
    groundRateMps_ = (s.groundElevationM - groundBefore) / dtS;
    outcome.sinkRateFpm = -(s.velocityUpMps - groundRateMps_) * units::kFpmPerMps;
    if (s.onGround && onWheels) {
        const Gear::Outputs g = gear_.Compute(GearInputs(groundRateMps_));
        s.mainWheelsOnGround = g.main.contact;
        s.noseWheelOnGround = g.nose.contact;
        if (!g.main.contact && !g.nose.contact) {
            // The struts have stretched out: flying again.
            s.onGround = false;
            outcome.contactEnded = true;
            const double tasNow = std::hypot(std::hypot(s.velocityEastMps - env.windEastMps,
                                                        s.velocityNorthMps - env.windNorthMps),
                                             s.velocityUpMps - env.windUpMps);
            const double gammaNow =
                tasNow > kMinAeroSpeedMps
                    ? std::asin(std::clamp((s.velocityUpMps - env.windUpMps) / tasNow, -1.0, 1.0))
                    : 0.0;
            s.alphaBodyDeg = s.pitchDeg - gammaNow * kRadToDeg;
        }
    } else if (s.onGround) {
        s.altitudeM = s.groundElevationM + config_.bellyHeightM;
        s.velocityUpMps = 0.0;
    } else if (onWheels) {
        const Gear::Inputs gi = GearInputs(groundRateMps_);
        if (gear_.WheelHeightM(gi, false) < 0.0 || gear_.WheelHeightM(gi, true) < 0.0)
            BeginContact(groundRateMps_, pitchBeforeDeg, dtS, outcome);
    } else if (s.altitudeM <= s.groundElevationM + config_.bellyHeightM) {
        BeginContact(groundRateMps_, pitchBeforeDeg, dtS, outcome);
        s.altitudeM = s.groundElevationM + config_.bellyHeightM;
        s.velocityUpMps = 0.0;
    }
    UpdateDerived(env);
    return outcome;
}

void FlightModel::FlyInAir(const ControlInputs& in, const Vec3& air, double tasMps,
                           double densityKgM3, double alphaCommandRad, double dtS) {
    AircraftState& s = state_;
    double alpha = s.alphaBodyDeg * kDegToRad;
    alpha += (alphaCommandRad - alpha) * Blend(dtS, config_.alphaTimeConstantS);
    s.alphaBodyDeg = alpha * kRadToDeg;

    double rollRateDeg;
    if (apCommand_.holdsRoll) {
        const double wanted = (apCommand_.bankTargetDeg - s.bankDeg) / kApBankTimeConstantS;
        rollRateDeg = std::clamp(wanted, -config_.apRollRateDegPerS, config_.apRollRateDegPerS);
        s.aileronApplied = std::clamp(rollRateDeg / config_.manualRollRateDegPerS, -1.0, 1.0);
    } else {
        s.aileronApplied = std::clamp(in.aileron, -1.0, 1.0);
        rollRateDeg = s.aileronApplied * config_.manualRollRateDegPerS;
    }
    s.bankDeg = std::clamp(s.bankDeg + rollRateDeg * dtS, -config_.maxBankDeg, config_.maxBankDeg);
    s.rudderApplied = std::clamp(in.rudder, -1.0, 1.0);
    const double beta =
        in.autoCoordinator ? 0.0 : s.rudderApplied * config_.rudderSideslipDeg * kDegToRad;
    s.sideslipDeg = beta * kRadToDeg;

    const double q = 0.5 * densityKgM3 * tasMps * tasMps;
    Aerodynamics::Inputs ai{alpha, beta, s.flaps, s.spoilers, s.gear, q};
    lastAero_ = aero_.Compute(ai);

    // Unit vectors: along the air flow, lift (perpendicular, rolled by the
    // bank) and to the right.
    Vec3 ev;
    if (tasMps > kMinAeroSpeedMps) {
        ev = Vec3{air.x / tasMps, air.y / tasMps, air.z / tasMps};
    } else {
        const double psi = s.headingTrueDeg * kDegToRad;
        ev = Vec3{std::sin(psi), std::cos(psi), 0.0};
    }
    Vec3 el0{-ev.z * ev.x, -ev.z * ev.y, 1.0 - ev.z * ev.z};
    const double el0Len = std::sqrt(el0.x * el0.x + el0.y * el0.y + el0.z * el0.z);
    if (el0Len > 1e-6) {
        el0 = Vec3{el0.x / el0Len, el0.y / el0Len, el0.z / el0Len};
    } else {
        el0 = Vec3{0.0, 0.0, 1.0};
    }
    Vec3 er{ev.y, -ev.x, 0.0};  // ev x up
    const double erLen = std::hypot(er.x, er.y);
    if (erLen > 1e-6) {
        er = Vec3{er.x / erLen, er.y / erLen, 0.0};
    } else {
        const double psi = s.headingTrueDeg * kDegToRad;
        er = Vec3{std::cos(psi), -std::sin(psi), 0.0};
    }
    const double phi = s.bankDeg * kDegToRad;
    const Vec3 el{std::cos(phi) * el0.x + std::sin(phi) * er.x,
                  std::cos(phi) * el0.y + std::sin(phi) * er.y,
                  std::cos(phi) * el0.z + std::sin(phi) * er.z};
    const Vec3 et{std::cos(alpha) * ev.x + std::sin(alpha) * el.x,
                  std::cos(alpha) * ev.y + std::sin(alpha) * el.y,
                  std::cos(alpha) * ev.z + std::sin(alpha) * el.z};
    const double thrust = engines_.TotalThrustN();
    const double m = config_.massKg;
    const double ax = (lastAero_.liftN * el.x - lastAero_.dragN * ev.x +
                       lastAero_.sideForceN * er.x + thrust * et.x) /
                      m;
    const double ay = (lastAero_.liftN * el.y - lastAero_.dragN * ev.y +
                       lastAero_.sideForceN * er.y + thrust * et.y) /
                      m;
    const double az = (lastAero_.liftN * el.z - lastAero_.dragN * ev.z +
                       lastAero_.sideForceN * er.z + thrust * et.z) /
                          m -
                      kGravityMps2;
    // Normal load: the specific force along the body's vertical axis.
    const Vec3 eb{-std::sin(alpha) * ev.x + std::cos(alpha) * el.x,
                  -std::sin(alpha) * ev.y + std::cos(alpha) * el.y,
                  -std::sin(alpha) * ev.z + std::cos(alpha) * el.z};
    s.normalLoadG = (ax * eb.x + ay * eb.y + (az + kGravityMps2) * eb.z) / kGravityMps2;
    s.velocityEastMps += ax * dtS;
    s.velocityNorthMps += ay * dtS;
    s.velocityUpMps += az * dtS;
    MoveOverEarth(dtS);

    // Heading follows the air flow, turned by the sideslip.
    const double newAirX = air.x + ax * dtS;
    const double newAirY = air.y + ay * dtS;
    if (std::hypot(newAirX, newAirY) > kMinAeroSpeedMps) {
        s.headingTrueDeg = units::Wrap360(std::atan2(newAirX, newAirY) * kRadToDeg + s.sideslipDeg);
    }
    const double newAirZ = air.z + az * dtS;
    const double newTas = std::sqrt(newAirX * newAirX + newAirY * newAirY + newAirZ * newAirZ);
    const double newGamma =
        newTas > kMinAeroSpeedMps ? std::asin(std::clamp(newAirZ / newTas, -1.0, 1.0)) : 0.0;
    s.pitchDeg = newGamma * kRadToDeg + s.alphaBodyDeg;
}

Gear::Inputs FlightModel::GearInputs(double groundRateMps) const {
    Gear::Inputs g;
    g.heightM = state_.altitudeM - state_.groundElevationM;
    g.climbMps = state_.velocityUpMps - groundRateMps;
    g.pitchRad = state_.pitchDeg * kDegToRad;
    g.pitchRateRadS = pitchRateRadS_;
    return g;
}

void FlightModel::RollOnWheels(const ControlInputs& in, const Environment& env,
                               double alphaCommandRad, double groundRateMps, double dtS) {
    AircraftState& s = state_;
    const double psi = s.headingTrueDeg * kDegToRad;
    const Vec3 eh{std::sin(psi), std::cos(psi), 0.0};
    const Vec3 air{s.velocityEastMps - env.windEastMps, s.velocityNorthMps - env.windNorthMps,
                   s.velocityUpMps - env.windUpMps};
    const double tas = std::sqrt(air.x * air.x + air.y * air.y + air.z * air.z);
    const double density = DensityKgM3(s.altitudeM);
    const double theta = s.pitchDeg * kDegToRad;
    const double gammaAir =
        tas > kMinAeroSpeedMps ? std::asin(std::clamp(air.z / tas, -1.0, 1.0)) : 0.0;
    const double alpha = theta - gammaAir;
    s.alphaBodyDeg = alpha * kRadToDeg;
    s.bankDeg = 0.0;
    s.sideslipDeg = 0.0;
    s.aileronApplied = std::clamp(in.aileron, -1.0, 1.0);
    s.rudderApplied = std::clamp(in.rudder, -1.0, 1.0);

    const double q = 0.5 * density * tas * tas;
    Aerodynamics::Inputs ai{alpha, 0.0, s.flaps, s.spoilers, s.gear, q};
    lastAero_ = aero_.Compute(ai);
    const Vec3 ev = tas > kMinAeroSpeedMps ? Vec3{air.x / tas, air.y / tas, air.z / tas} : eh;
    const double thrust = engines_.TotalThrustN();
    const double m = config_.massKg;
    const double weight = m * kGravityMps2;

    const Gear::Outputs g = gear_.Compute(GearInputs(groundRateMps));
    s.mainWheelsOnGround = g.main.contact;
    s.noseWheelOnGround = g.nose.contact;

    // Friction at the wheels: rolling on both, the brakes on the main wheels.
    const double brake =
        in.parkingBrake
            ? 1.0
            : 0.5 * (std::clamp(in.leftBrake, 0.0, 1.0) + std::clamp(in.rightBrake, 0.0, 1.0));
    const double frictionN =
        (config_.rollingFriction + config_.brakeFriction * brake) * g.main.forceN +
        config_.rollingFriction * g.nose.forceN;
    const double alongN = thrust * std::cos(theta) - lastAero_.dragN * (ev.x * eh.x + ev.y * eh.y);
    const double upN =
        lastAero_.liftN + thrust * std::sin(theta) - lastAero_.dragN * ev.z + g.verticalForceN;

    double speed = s.velocityEastMps * eh.x + s.velocityNorthMps * eh.y;
    double alongAccel;
    if (std::abs(speed) < 0.05 && std::abs(alongN) <= frictionN) {
        alongAccel = -speed / dtS;  // held by the brakes and the tyres
    } else {
        const double direction = std::abs(speed) < 0.05 ? alongN : speed;
        alongAccel = (alongN - std::copysign(frictionN, direction)) / m;
        const double next = speed + alongAccel * dtS;
        if (std::abs(speed) >= 0.05 && next * speed < 0.0)
            alongAccel = -speed / dtS;
    }
    const double upAccel = (upN - weight) / m;
    speed += alongAccel * dtS;
    s.velocityUpMps += upAccel * dtS;

    // Pitch: the struts' forces, the friction below the centre of gravity and
    // the elevator's moment towards the commanded angle of attack.
    const double inertia = config_.pitchInertiaKgM2;
    const double elevatorNm = handling_.ElevatorMomentNm(alphaCommandRad, alpha, pitchRateRadS_, q);
    const double heightM = s.altitudeM - s.groundElevationM;
    const double frictionNm =
        -heightM * std::copysign(frictionN, speed) * (std::abs(speed) < 0.05 ? 0.0 : 1.0);
    pitchRateRadS_ += (g.pitchMomentNm + elevatorNm + frictionNm) / inertia * dtS;
    double pitch = s.pitchDeg + pitchRateRadS_ * dtS * kRadToDeg;
    // The tail meets the runway at the aircraft's largest attitude on the ground.
    if (pitch > config_.maxGroundPitchDeg && s.mainWheelsOnGround) {
        pitch = config_.maxGroundPitchDeg;
        pitchRateRadS_ = std::min(pitchRateRadS_, 0.0);
    }
    s.pitchDeg = pitch;

    // Normal load: the specific force along the body's vertical axis.
    s.normalLoadG =
        (-std::sin(theta) * alongAccel + std::cos(theta) * (upAccel + kGravityMps2)) / kGravityMps2;

    if (s.mainWheelsOnGround || s.noseWheelOnGround)
        s.headingTrueDeg =
            units::Wrap360(s.headingTrueDeg + handling_.YawRateRadS(in, speed) * kRadToDeg * dtS);
    const double newPsi = s.headingTrueDeg * kDegToRad;
    s.velocityEastMps = speed * std::sin(newPsi);
    s.velocityNorthMps = speed * std::cos(newPsi);
    MoveOverEarth(dtS);
}

void FlightModel::SlideOnBelly(const ControlInputs& in, const Vec3& air, double tasMps,
                               double densityKgM3, double dtS) {
    AircraftState& s = state_;
    s.bankDeg = 0.0;
    s.sideslipDeg = 0.0;
    s.mainWheelsOnGround = false;
    s.noseWheelOnGround = false;
    MoveToward(s.pitchDeg, 0.0, config_.pitchRateGroundDegPerS * dtS);
    const double theta = s.pitchDeg * kDegToRad;
    const double gammaAir =
        tasMps > kMinAeroSpeedMps ? std::asin(std::clamp(air.z / tasMps, -1.0, 1.0)) : 0.0;
    s.alphaBodyDeg = (theta - gammaAir) * kRadToDeg;
    const double q = 0.5 * densityKgM3 * tasMps * tasMps;
    Aerodynamics::Inputs ai{s.alphaBodyDeg * kDegToRad, 0.0, s.flaps, s.spoilers, s.gear, q};
    lastAero_ = aero_.Compute(ai);
    const double psi = s.headingTrueDeg * kDegToRad;
    const Vec3 eh{std::sin(psi), std::cos(psi), 0.0};
    const Vec3 ev =
        tasMps > kMinAeroSpeedMps ? Vec3{air.x / tasMps, air.y / tasMps, air.z / tasMps} : eh;
    const double thrust = engines_.TotalThrustN();
    const double m = config_.massKg;
    const double weight = m * kGravityMps2;
    const double alongN = thrust * std::cos(theta) - lastAero_.dragN * (ev.x * eh.x + ev.y * eh.y);
    const double upN = lastAero_.liftN + thrust * std::sin(theta) - lastAero_.dragN * ev.z - weight;
    const double normalN = std::max(-upN, 0.0);
    s.normalLoadG = (weight + upN + normalN) / weight;
    const double frictionN = config_.bellyFriction * normalN;
    double speed = s.velocityEastMps * eh.x + s.velocityNorthMps * eh.y;
    if (std::abs(speed) < 0.05) {
        speed = std::abs(alongN) <= frictionN
                    ? 0.0
                    : speed + (alongN - std::copysign(frictionN, alongN)) / m * dtS;
    } else {
        const double next = speed + (alongN - std::copysign(frictionN, speed)) / m * dtS;
        speed = (next * speed < 0.0) ? 0.0 : next;
    }
    (void)in;
    s.velocityEastMps = speed * eh.x;
    s.velocityNorthMps = speed * eh.y;
    s.velocityUpMps = 0.0;
    MoveOverEarth(dtS);
}

void FlightModel::Shift(double northM, double eastM) {
    AircraftState& s = state_;
    const double cosLat = std::max(std::cos(s.latitudeDeg * kDegToRad), 1e-6);
    s.latitudeDeg =
        std::clamp(s.latitudeDeg + northM / units::kMetresPerDegreeLatitude, -89.999, 89.999);
    s.longitudeDeg =
        units::Wrap180(s.longitudeDeg + eastM / (units::kMetresPerDegreeLatitude * cosLat));
}

void FlightModel::MoveOverEarth(double dtS) {
    AircraftState& s = state_;
    const double cosLat = std::max(std::cos(s.latitudeDeg * kDegToRad), 1e-6);
    s.latitudeDeg += s.velocityNorthMps * dtS / units::kMetresPerDegreeLatitude;
    s.longitudeDeg += s.velocityEastMps * dtS / (units::kMetresPerDegreeLatitude * cosLat);
    if (s.latitudeDeg > 90.0) {  // over the pole: come down the other side
        s.latitudeDeg = 180.0 - s.latitudeDeg;
        s.longitudeDeg += 180.0;
        s.headingTrueDeg = units::Wrap360(s.headingTrueDeg + 180.0);
        s.velocityNorthMps = -s.velocityNorthMps;
        s.velocityEastMps = -s.velocityEastMps;
    } else if (s.latitudeDeg < -90.0) {
        s.latitudeDeg = -180.0 - s.latitudeDeg;
        s.longitudeDeg += 180.0;
        s.headingTrueDeg = units::Wrap360(s.headingTrueDeg + 180.0);
        s.velocityNorthMps = -s.velocityNorthMps;
        s.velocityEastMps = -s.velocityEastMps;
    }
    s.longitudeDeg = units::Wrap180(s.longitudeDeg);
    s.altitudeM += s.velocityUpMps * dtS;
}

void FlightModel::BeginContact(double groundRateMps, double pitchBeforeDeg, double dtS,
                               StepOutcome& outcome) {
    AircraftState& s = state_;
    outcome.contactBegan = true;
    outcome.sinkRateFpm = -(s.velocityUpMps - groundRateMps) * units::kFpmPerMps;
    outcome.bankAtContactDeg = s.bankDeg;
    s.onGround = true;
    pitchRateRadS_ = (s.pitchDeg - pitchBeforeDeg) * kDegToRad / dtS;
    // The main gear's side grip swings the nose into the direction of motion.
    const double gs = std::hypot(s.velocityEastMps, s.velocityNorthMps);
    if (gs > 1.0) {
        s.headingTrueDeg =
            units::Wrap360(std::atan2(s.velocityEastMps, s.velocityNorthMps) * kRadToDeg);
    }
    s.bankDeg = 0.0;
    s.sideslipDeg = 0.0;
    const Gear::Outputs g = gear_.Compute(GearInputs(groundRateMps));
    s.mainWheelsOnGround = g.main.contact;
    s.noseWheelOnGround = g.nose.contact;
}

void FlightModel::Crash() {
    AircraftState& s = state_;
    s.crashed = true;
    s.onGround = true;
    s.velocityEastMps = 0.0;
    s.velocityNorthMps = 0.0;
    s.velocityUpMps = 0.0;
    s.tasMps = 0.0;
    s.iasMps = 0.0;
    s.groundSpeedMps = 0.0;
    s.thrustN = 0.0;
    pitchRateRadS_ = 0.0;
}

double FlightModel::DensityKgM3(double altitudeM) {
    return densityMemo_.Get(altitudeM, [](double h) { return Atmosphere::DensityKgM3(h); });
}

void FlightModel::UpdateDerived(const Environment& env) {
    AircraftState& s = state_;
    const double airX = s.velocityEastMps - env.windEastMps;
    const double airY = s.velocityNorthMps - env.windNorthMps;
    const double airZ = s.velocityUpMps - env.windUpMps;
    const double sigma = DensityKgM3(s.altitudeM) / Atmosphere::kSeaLevelDensityKgM3;
    s.tasMps = std::sqrt(airX * airX + airY * airY + airZ * airZ);
    s.iasMps = s.tasMps * std::sqrt(sigma);
    s.groundSpeedMps = std::hypot(s.velocityEastMps, s.velocityNorthMps);
    if (!s.onGround) {
        s.mainWheelsOnGround = false;
        s.noseWheelOnGround = false;
    }
    s.magneticVariationDeg = env.magneticVariationDeg;
    Aerodynamics::Inputs ai{
        s.alphaBodyDeg * kDegToRad, s.sideslipDeg * kDegToRad, s.flaps, s.spoilers, s.gear, 0.0};
    s.stallFactor = aero_.Compute(ai).stallFactor;
    s.thrustN = engines_.TotalThrustN();
    for (int i = 0; i < 4; ++i) {
        s.engineThrustN[i] = engines_.ThrustN(i);
    }
    if (s.crashed) {
        s.tasMps = 0.0;
        s.iasMps = 0.0;
        s.groundSpeedMps = 0.0;
        s.thrustN = 0.0;
    }
}

}  // namespace corvane::sim
