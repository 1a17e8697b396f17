// SPDX-License-Identifier: MIT
#include "sim/model/Simulator.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Aircraft.h"
#include "sim/physics/MagneticModel.h"
#include "sim/physics/Units.h"
#include "sim/trace/TraceFill.h"
#include "sim/variables/Encoding.h"
#include "sim/variables/ImageBinding.h"
#include "sim/variables/Offsets.h"

namespace corvane::sim {

namespace {

using units::kDegToRad;
using units::kRadToDeg;

// Short-range geometry on a local flat earth (runways and final approaches).
double LocalBearingDeg(double lat1, double lon1, double lat2, double lon2) {
    const double dy = (lat2 - lat1) * units::kMetresPerDegreeLatitude;
    const double dx = units::Wrap180(lon2 - lon1) * units::kMetresPerDegreeLatitude *
                      std::cos(0.5 * (lat1 + lat2) * kDegToRad);
    return units::Wrap360(std::atan2(dx, dy) * kRadToDeg);
}

void LocalOffset(double lat, double lon, double bearingDeg, double distanceM, double& latOut,
                 double& lonOut) {
    const double b = bearingDeg * kDegToRad;
    latOut = lat + distanceM * std::cos(b) / units::kMetresPerDegreeLatitude;
    const double cosLat = std::max(std::cos(0.5 * (lat + latOut) * kDegToRad), 1e-6);
    lonOut =
        units::Wrap180(lon + distanceM * std::sin(b) / (units::kMetresPerDegreeLatitude * cosLat));
}

}  // namespace

Simulator::Simulator(const SimulatorOptions& options, const Terrain* terrain)
    : options_(options),
      aircraftData_(DataOf(options.aircraft)),
      terrain_(terrain),
      model_(options.aircraft),
      contact_({options.aircraft.crashSinkFpm, options.aircraft.wingStrikeBankDeg}),
      stepS_(options.stepS > 0.0 && std::isfinite(options.stepS) ? options.stepS : 0.02),
      cruiseStepS_(options.cruiseStepS > stepS_ && std::isfinite(options.cruiseStepS)
                       ? options.cruiseStepS
                       : 0.0),
      rate_(options.rate > 0.0 && std::isfinite(options.rate) ? options.rate : 1.0) {
    events_.reserve(256);
    SetWind(WindSettings{options.windFromDeg, options.windSpeedKt, options.windGradient,
                         options.turbulence, options.turbulenceSeed});
    space_.SetU8(offsets::kCrashDetection, options.crashDetection ? 1 : 0);
    StartOnGround(0.0, 0.0, 0.0);
    events_.clear();
}

void Simulator::ShiftAircraft(double northM, double eastM) {
    model_.Shift(northM, eastM);
}

void Simulator::SetWind(double fromDeg, double speedKt) {
    WindSettings settings = wind_.Settings();
    settings.fromDeg = fromDeg;
    settings.speedKt = speedKt;
    SetWind(settings);
}

void Simulator::SetWind(const WindSettings& settings) {
    wind_ = WindField(settings);
    const AircraftState& s = model_.State();
    windNow_ = wind_.Current(s.altitudeM - s.groundElevationM);
}

bool Simulator::SetRate(double rate) {
    if (!(rate > 0.0) || !std::isfinite(rate)) {
        return false;
    }
    rate_ = rate;
    return true;
}

double Simulator::MagneticVariationAt(double latitudeDeg, double longitudeDeg) const {
    if (options_.fixedMagneticVariationDeg) {
        return *options_.fixedMagneticVariationDeg;
    }
    return variation_.VariationDeg(latitudeDeg, longitudeDeg);
}

FlightModel::Environment Simulator::EnvironmentHere() const {
    FlightModel::Environment env;
    env.terrain = terrain_;
    env.windEastMps = windNow_.eastMps;
    env.windNorthMps = windNow_.northMps;
    env.windUpMps = windNow_.upMps;
    const AircraftState& s = model_.State();
    env.magneticVariationDeg = MagneticVariationAt(s.latitudeDeg, s.longitudeDeg);
    return env;
}

FlightModel::Environment Simulator::EnvironmentForStart(double latitudeDeg, double longitudeDeg,
                                                        double altitudeM) {
    // Every start flies the same gusts from the seed on.
    wind_.Restart();
    const double groundM =
        terrain_ != nullptr ? terrain_->ElevationM(latitudeDeg, longitudeDeg) : 0.0;
    windNow_ = wind_.Current(altitudeM - groundM);
    FlightModel::Environment env = EnvironmentHere();
    env.magneticVariationDeg = MagneticVariationAt(latitudeDeg, longitudeDeg);
    return env;
}

void Simulator::ResetInputs(double throttleLever, double flaps, bool gearDown,
                            double headingTrueDeg) {
    const ControlInputs current = ImageBinding::ReadInputs(space_);
    ControlInputs in;
    in.throttle = {throttleLever, throttleLever, throttleLever, throttleLever};
    in.flapsLever = flaps;
    in.gearDown = gearDown;
    in.autoCoordinator = true;
    const AircraftState& s = model_.State();
    in.autopilot.headingMagneticDeg =
        units::Wrap360(headingTrueDeg - MagneticVariationAt(s.latitudeDeg, s.longitudeDeg));
    in.autopilot.altitudeTargetM = s.altitudeM;
    in.paused = current.paused;
    in.crashDetection = current.crashDetection;
    ImageBinding::WriteInputs(in, space_);
}

void Simulator::AfterStart() {
    contact_.Reset(model_.State().onGround, timeS_);
    paused_ = ImageBinding::ReadInputs(space_).paused;
    lastInputs_ = ImageBinding::ReadInputs(space_);
    inputsChangeCount_ = space_.ChangeCount();
    PublishState();
    RecordEvent(SimEventKind::Start);
    FillTrace(1u << static_cast<int>(SimEventKind::Start));
}

void Simulator::StartOnGround(double latitudeDeg, double longitudeDeg, double headingTrueDeg) {
    FlightModel::Environment env = EnvironmentForStart(latitudeDeg, longitudeDeg, 0.0);
    model_.PlaceOnGround(latitudeDeg, longitudeDeg, headingTrueDeg, env);
    ResetInputs(0.0, 0.0, true, headingTrueDeg);
    AfterStart();
}

void Simulator::StartOnRunway(const RunwayStart& runway) {
    const double heading =
        LocalBearingDeg(runway.thresholdLatitudeDeg, runway.thresholdLongitudeDeg,
                        runway.farEndLatitudeDeg, runway.farEndLongitudeDeg);
    StartOnGround(runway.thresholdLatitudeDeg, runway.thresholdLongitudeDeg, heading);
}

void Simulator::StartOnFinal(const FinalStart& final) {
    const RunwayStart& rw = final.runway;
    const double heading = LocalBearingDeg(rw.thresholdLatitudeDeg, rw.thresholdLongitudeDeg,
                                           rw.farEndLatitudeDeg, rw.farEndLongitudeDeg);
    const double distanceM = std::max(final.distanceNm, 0.0) * units::kMetresPerNm;
    double lat = 0.0;
    double lon = 0.0;
    LocalOffset(rw.thresholdLatitudeDeg, rw.thresholdLongitudeDeg, heading + 180.0, distanceM, lat,
                lon);
    const double thresholdElevationM =
        terrain_ != nullptr
            ? terrain_->ElevationM(rw.thresholdLatitudeDeg, rw.thresholdLongitudeDeg)
            : 0.0;
    const double path = std::clamp(final.glidePathDeg, 0.0, 10.0) * kDegToRad;
    const double altitudeM =
        thresholdElevationM + options_.aircraft.gearHeightM + distanceM * std::tan(path);
    const double iasMps = final.iasKt * units::kMpsPerKnot;
    FlightModel::Environment env = EnvironmentForStart(lat, lon, altitudeM);
    const double lever =
        model_.PlaceInAir(lat, lon, altitudeM, heading, iasMps, -iasMps * std::sin(path),
                          final.flaps, final.gearDown ? 1.0 : 0.0, 0.0, env);
    ResetInputs(lever, final.flaps, final.gearDown, heading);
    AfterStart();
}

void Simulator::StartInAir(const AirStart& air) {
    FlightModel::Environment env = EnvironmentForStart(air.latitudeDeg, air.longitudeDeg,
                                                       air.altitudeFt * units::kMetresPerFoot);
    const double lever = model_.PlaceInAir(
        air.latitudeDeg, air.longitudeDeg, air.altitudeFt * units::kMetresPerFoot,
        air.headingTrueDeg, air.iasKt * units::kMpsPerKnot, air.climbFpm * units::kMpsPerFpm,
        air.flaps, air.gearDown ? 1.0 : 0.0, 0.0, env);
    ResetInputs(lever, air.flaps, air.gearDown, air.headingTrueDeg);
    AfterStart();
}

int Simulator::Advance(double hostSeconds) {
    if (!(hostSeconds > 0.0) || !std::isfinite(hostSeconds)) {
        return 0;
    }
    pendingS_ += hostSeconds * rate_;
    int steps = 0;
    // Readers see the variable space only between calls, so it is written
    // once, after the last step that moved the aircraft, and only when it is
    // next read.
    bool moved = false;
    while (pendingS_ >= stepS_ * (1.0 - 1e-9)) {
        const double stepS = NextStepS();
        if (stepS <= 0.0)
            break;  // high up and less than a long step pending: it waits
        pendingS_ -= stepS;
        moved = StepModel(stepS) || moved;
        ++steps;
    }
    if (moved)
        publishPending_ = true;
    pendingS_ = std::max(pendingS_, 0.0);
    return steps;
}

void Simulator::PublishState() {
    publishPending_ = false;
    ImageBinding::Publish(model_.State(), options_.aircraft.engineType, space_);
}

void Simulator::PublishPending() const {
    // The space is the simulator's own; a reader's view of it is brought up
    // to the last step here.
    if (publishPending_)
        const_cast<Simulator*>(this)->PublishState();
}

double Simulator::NextStepS() const {
    if (cruiseStepS_ <= 0.0)
        return stepS_;
    const AircraftState& s = model_.State();
    if (s.onGround || !(s.altitudeM - s.groundElevationM > options_.cruiseStepAboveM))
        return stepS_;
    // High up the simulator steps only when a whole long step is pending, as
    // a simulator with a slower frame rate would: a reader that comes sooner
    // sees the last step. The pending time is then flown in the fewest equal
    // steps of at most the longer step.
    if (pendingS_ < cruiseStepS_ * (1.0 - 1e-9))
        return 0.0;
    const double steps = std::ceil(pendingS_ / cruiseStepS_ * (1.0 - 1e-9));
    return std::max(pendingS_ / std::max(steps, 1.0), stepS_);
}

void Simulator::Step() {
    if (StepModel(stepS_))
        PublishState();
}

bool Simulator::StepModel(double stepS) {
    // The inputs are read again only when something changed in the space
    // since the last reading (the program's writes, the simulator's own sets,
    // publishing for a reader): the steps of one batch share one reading.
    if (space_.ChangeCount() != inputsChangeCount_) {
        lastInputs_ = ImageBinding::ReadInputs(space_);
        inputsChangeCount_ = space_.ChangeCount();
    }
    const ControlInputs in = lastInputs_;
    if (in.paused) {
        if (!paused_) {
            paused_ = true;
            RecordEvent(SimEventKind::Paused);
        }
        return false;
    }
    std::uint32_t mask = 0;
    if (paused_) {
        paused_ = false;
        RecordEvent(SimEventKind::Resumed);
        mask |= 1u << static_cast<int>(SimEventKind::Resumed);
    }

    {
        // The wind at the aircraft for this step: the mean wind at its height
        // above the ground and the gusts moved on by the distance it flies.
        const AircraftState& s = model_.State();
        windNow_ = wind_.Advance(s.altitudeM - s.groundElevationM, s.tasMps, stepS);
    }
    const FlightModel::StepOutcome outcome = model_.Step(in, EnvironmentHere(), stepS);
    timeS_ += stepS;
    ++stepCount_;

    const AircraftState& st = model_.State();
    GroundContactDetector::Sense sense;
    sense.timeS = timeS_;
    sense.onGround = st.onGround;
    sense.gearDownAndLocked = st.gear >= 0.99;
    sense.sinkFpm = outcome.sinkRateFpm;
    sense.bankDeg = outcome.contactBegan ? outcome.bankAtContactDeg : st.bankDeg;
    sense.groundSpeedMps = st.groundSpeedMps;
    sense.crashDetection = in.crashDetection;
    const GroundContactDetector::Events events = contact_.Update(sense);
    if (events.touchdown) {
        ++touchdownCount_;
        RecordEvent(SimEventKind::Touchdown, events.sinkFpm);
        mask |= 1u << static_cast<int>(SimEventKind::Touchdown);
        // Armed spoilers deploy fully (the lever moves too).
        if (in.spoilersArmed && options_.aircraft.hasSpoilers)
            space_.SetU32(offsets::kSpoilers, 16383);
    }
    if (events.crash) {
        model_.Crash();
        ++crashCount_;
        RecordEvent(SimEventKind::Crash, events.sinkFpm, events.crashReason);
        mask |= 1u << static_cast<int>(SimEventKind::Crash);
    }
    if (events.liftoff) {
        RecordEvent(SimEventKind::Liftoff);
        mask |= 1u << static_cast<int>(SimEventKind::Liftoff);
    }
    if (events.stopped) {
        RecordEvent(SimEventKind::Stop);
        mask |= 1u << static_cast<int>(SimEventKind::Stop);
    }
    FillTrace(mask);
    if (sink_ != nullptr) {
        sink_->OnStep(trace_);
    }
    return true;
}

void Simulator::RecordEvent(SimEventKind kind, double sinkFpm, CrashReason reason) {
    SimEvent e = MakeEvent(kind, model_.State(), timeS_);
    e.sinkRateFpm = sinkFpm;
    e.crashReason = reason;
    events_.push_back(e);
    if (sink_ != nullptr) {
        sink_->OnEvent(e);
    }
}

void Simulator::FillTrace(std::uint32_t eventMask) {
    FillTraceRecord(model_.State(), lastInputs_, timeS_, static_cast<int>(model_.AutopilotMode()),
                    eventMask, trace_);
}

std::optional<TowerViewpoint> TowerInSpace(const VariableSpace& space) {
    bool any = false;
    for (std::uint32_t o = offsets::kTowerFirst; o < offsets::kTowerEnd; ++o) {
        any = any || space.U8(o) != 0;
    }
    if (!any) {
        return std::nullopt;
    }
    TowerViewpoint t;
    encoding::TowerLatitudeParts lat;
    lat.lower = space.U32(offsets::kTowerLatitudeLo);
    lat.upper = space.I16(offsets::kTowerLatitudeHi);
    t.latitudeDeg = encoding::DecodeTowerLatitude(lat);
    encoding::TowerLongitudeParts lon;
    lon.fraction = space.U32(offsets::kTowerLongitudeFraction);
    lon.whole = space.U16(offsets::kTowerLongitudeWhole);
    t.longitudeDeg = encoding::DecodeTowerLongitude(lon);
    t.altitudeFt = encoding::DecodeTowerAltitudeFt(space.I32(offsets::kTowerAltitude));
    return t;
}

}  // namespace corvane::sim
