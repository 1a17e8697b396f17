// SPDX-License-Identifier: MIT
#include "sim/flightgear/FlightGearSimulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/flightgear/Cessna172p.h"
#include "sim/physics/Units.h"
#include "sim/trace/TraceFill.h"
#include "sim/variables/ImageBinding.h"
#include "sim/variables/Offsets.h"

namespace corvane::sim::flightgear {

namespace {

constexpr double kFpmPerFps = 60.0;
constexpr double kStopSpeedMps = 0.25;
// Standing this long this near the ground with no wheel on it is a crash.
constexpr double kOffWheelsS = 2.0;
constexpr double kOffWheelsHeightM = 1.5;

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f s", s);
    return text;
}

}  // namespace

FlightGearSimulator::FlightGearSimulator(Channel& channel, const BackendOptions& options)
    : channel_(channel),
      options_(options),
      aircraftData_(Cessna172pData()),
      contact_({options.aircraft.crashSinkFpm, options.aircraft.wingStrikeBankDeg}),
      autopilot_(autopilotConfig_),
      gearHeightM_(options.aircraft.gearHeightM) {
    nextNoticeS_ = options_.noticeEveryS;
    if (!(options_.rate > 0.0) || !std::isfinite(options_.rate))
        options_.rate = 1.0;
    // The program finds the levers where a simulator leaves them at a start:
    // idle, flaps up, gear down, brakes off, autopilot off.
    ControlInputs in;
    in.crashDetection = options.crashDetection;
    in.paused = options.paused;
    ImageBinding::WriteInputs(in, space_);
    state_.gear = 1.0;
    ImageBinding::Publish(state_, options_.aircraft.engineType, space_);
    paused_ = options.paused;
}

void FlightGearSimulator::Fail(const std::string& why) {
    if (!failure_.empty())
        return;
    failure_ = why;
    if (!options_.logPath.empty() && why.find(options_.logPath) == std::string::npos)
        failure_ += "; its log is " + options_.logPath;
}

void FlightGearSimulator::Notice(const std::string& text) const {
    if (options_.notice)
        options_.notice(text);
}

int FlightGearSimulator::Advance(double hostSeconds) {
    if (!failure_.empty())
        return 0;
    if (hostSeconds > 0.0 && std::isfinite(hostSeconds))
        hostS_ += hostSeconds;

    lines_.clear();
    channel_.Receive(lines_);
    int steps = 0;
    for (const std::string& line : lines_) {
        const std::optional<Readings> r = ParseReadings(line);
        if (!r) {
            ++rejected_;
            continue;
        }
        lastLineHostS_ = hostS_;
        if (!answered_) {
            answered_ = true;
            if (!r->fdmInitialized)
                Notice("FlightGear answers; waiting for its flight model to start");
        }
        // Until its flight model runs FlightGear sends the start position only.
        if (!r->fdmInitialized || !(r->timeS > 0.0))
            continue;
        if (!started_)
            Notice("FlightGear's flight model runs");
        Step(*r);
        ++steps;
    }
    if (steps > 0) {
        if (!channel_.Send(FormatCommands(commands_)))
            Fail("the controls cannot be sent to FlightGear");
    }

    if (!started_ && options_.noticeEveryS > 0.0 && hostS_ >= nextNoticeS_ &&
        hostS_ <= options_.startLimitS) {
        Notice("still waiting for FlightGear: " + Seconds(hostS_) + " of " +
               Seconds(options_.startLimitS) +
               (answered_ ? " (it answers; its flight model is loading)"
                          : " (nothing received from it yet)"));
        while (nextNoticeS_ <= hostS_)
            nextNoticeS_ += options_.noticeEveryS;
    }
    const std::string gone = channel_.ProcessFailure();
    if (!gone.empty()) {
        Fail(gone);
    } else if (!started_ && hostS_ > options_.startLimitS) {
        Fail(answered_ ? "FlightGear's flight model did not start within " +
                             Seconds(options_.startLimitS) + " of its start"
                       : "FlightGear sent nothing within " + Seconds(options_.startLimitS) +
                             " of its start");
    } else if (started_ && hostS_ - lastLineHostS_ > options_.silenceLimitS) {
        // While it loads FlightGear may go quiet for longer (drawing its
        // scenery in software); the start limit covers that time.
        Fail("FlightGear stopped answering: nothing for " + Seconds(hostS_ - lastLineHostS_));
    }
    return steps;
}

void FlightGearSimulator::Step(const Readings& r) {
    if (!started_) {
        started_ = true;
        firstTimeS_ = r.timeS;
        readings_ = r;
    }
    const double dt = std::clamp(r.timeS - readings_.timeS, 0.0, 0.5);
    readings_ = r;
    timeS_ = std::max(timeS_, r.timeS - firstTimeS_);

    const ControlInputs in = ImageBinding::ReadInputs(space_);
    std::uint32_t mask = 0;
    if (in.paused != paused_) {
        paused_ = in.paused;
        Record(paused_ ? SimEventKind::Paused : SimEventKind::Resumed, 0.0, CrashReason::None,
               mask);
    }

    state_ = StateFromReadings(r, options_.aircraft);
    state_.crashed = crashed_;
    // Standing on all three wheels: the reference point's height over the ground.
    if (r.noseWheelOnGround && r.leftWheelOnGround && r.rightWheelOnGround &&
        state_.groundSpeedMps < 1.0) {
        const double h = state_.altitudeM - state_.groundElevationM;
        if (h > 0.0 && h < 5.0)
            gearHeightM_ = h;
    }
    Detect(r, in, mask);

    Autopilot::Sense sense;
    sense.altitudeM = state_.altitudeM;
    sense.climbMps = state_.velocityUpMps;
    sense.headingTrueDeg = state_.headingTrueDeg;
    sense.magneticVariationDeg = state_.magneticVariationDeg;
    sense.tasMps = state_.tasMps;
    sense.onGround = state_.onGround;
    const double stepDt = paused_ ? 0.0 : dt;
    const Autopilot::Command command = autopilot_.Update(in.autopilot, sense, stepDt);

    const LoopSense loopSense = LoopSenseOf(r, state_);
    const LoopOutput loops = loops_.Update(command, loopSense, in.elevator, in.aileron, in.rudder,
                                           in.autoCoordinator, stepDt);
    commands_ = CommandsFor(in, r, loops);

    ImageBinding::Publish(state_, options_.aircraft.engineType, space_);
    ControlInputs traced = in;
    traced.elevator = loops.elevator;
    traced.aileron = loops.aileron;
    traced.rudder = loops.rudder;
    FillTraceRecord(state_, traced, timeS_, static_cast<int>(autopilot_.Mode()), mask, trace_);
    if (sink_ != nullptr)
        sink_->OnStep(trace_);
}

void FlightGearSimulator::Detect(const Readings& r, const ControlInputs& in, std::uint32_t& mask) {
    const double sinkFpm = r.downFps * kFpmPerFps;
    // FlightGear's damage model broke the aircraft (it keeps flying the
    // wreck): a crash as the stand-in's model has one.
    if (!crashed_ && (r.engineCrashed || r.leftWingDamage > 0.5 || r.rightWingDamage > 0.5)) {
        crashed_ = true;
        state_.crashed = true;
        ++crashCount_;
        Record(SimEventKind::Crash, std::max(sinkBeforeFpm_, sinkFpm), CrashReason::Impact, mask);
    }
    // Lying still on the ground off its wheels (on its back after a spin, on
    // a wing): FlightGear's damage model need not call that a crash, and no
    // wheel touches, so without this the flight would wait for its time limit.
    const double heightM = state_.altitudeM - state_.groundElevationM;
    if (!crashed_ && !paused_ && !state_.onGround && heightM < gearHeightM_ + kOffWheelsHeightM &&
        state_.groundSpeedMps < kStopSpeedMps && std::fabs(state_.velocityUpMps) < 0.5) {
        if (offWheelsSinceS_ < 0.0) {
            offWheelsSinceS_ = timeS_;
        } else if (timeS_ - offWheelsSinceS_ >= kOffWheelsS) {
            crashed_ = true;
            state_.crashed = true;
            ++crashCount_;
            Record(SimEventKind::Crash, sinkBeforeFpm_, CrashReason::Impact, mask);
        }
    } else {
        offWheelsSinceS_ = -1.0;
    }
    if (!state_.onGround)
        sinkBeforeFpm_ = sinkFpm;
    GroundContactDetector::Sense sense;
    sense.timeS = timeS_;
    sense.onGround = state_.onGround;
    sense.gearDownAndLocked = true;  // a fixed gear
    sense.sinkFpm = sinkFpm;
    sense.bankDeg = r.rollDeg;
    sense.groundSpeedMps = state_.groundSpeedMps;
    sense.crashDetection = in.crashDetection && !crashed_;
    sense.paused = paused_;
    const GroundContactDetector::Events e = contact_.Update(sense);
    // The state says on the ground while the contact's flicker is smoothed.
    state_.onGround = contact_.OnGround();
    if (e.liftoff)
        Record(SimEventKind::Liftoff, 0.0, CrashReason::None, mask);
    if (e.touchdown) {
        ++touchdownCount_;
        Record(SimEventKind::Touchdown, e.sinkFpm, CrashReason::None, mask);
    }
    if (e.crash) {
        crashed_ = true;
        state_.crashed = true;
        ++crashCount_;
        Record(SimEventKind::Crash, e.sinkFpm, e.crashReason, mask);
    }
    if (e.stopped)
        Record(SimEventKind::Stop, 0.0, CrashReason::None, mask);
}

void FlightGearSimulator::Record(SimEventKind kind, double sinkFpm, CrashReason reason,
                                 std::uint32_t& mask) {
    SimEvent e = MakeEvent(kind, state_, timeS_);
    e.sinkRateFpm = sinkFpm;
    e.crashReason = reason;
    events_.push_back(e);
    mask |= 1u << static_cast<int>(kind);
    if (sink_ != nullptr)
        sink_->OnEvent(e);
}

Commands FlightGearSimulator::CommandsFor(const ControlInputs& in, const Readings& r,
                                          const LoopOutput& loops) {
    Commands c;
    // One engine: the first lever. Reverse the aircraft does not have is idle.
    c.throttle = std::clamp(in.throttle[0], 0.0, 1.0);
    c.mixture = 1.0;
    c.flaps = FlapDetent(in.flapsLever, options_.aircraft);
    c.leftBrake = std::clamp(in.leftBrake, 0.0, 1.0);
    c.rightBrake = std::clamp(in.rightBrake, 0.0, 1.0);
    c.parkingBrake = in.parkingBrake ? 1.0 : 0.0;
    c.elevator = loops.elevator;
    c.aileron = loops.aileron;
    c.rudder = loops.rudder;
    c.frozen = in.paused || crashed_;
    c.speedUp = options_.rate;
    c.damage = in.crashDetection;

    // The tower view: where the program put the viewpoint, and FlightGear's
    // tower view switched on once when it is set or moved; otherwise the view
    // and the tower stay as FlightGear (or its user) has them.
    const std::optional<TowerViewpoint> tower = TowerInSpace(space_);
    c.viewNumber = r.viewNumber;
    c.towerAutoPosition = !tower.has_value();
    c.towerLatitudeDeg = r.towerLatitudeDeg;
    c.towerLongitudeDeg = r.towerLongitudeDeg;
    c.towerAltitudeFt = r.towerAltitudeFt;
    if (tower) {
        const bool moved = !tower_ || tower_->latitudeDeg != tower->latitudeDeg ||
                           tower_->longitudeDeg != tower->longitudeDeg ||
                           tower_->altitudeFt != tower->altitudeFt;
        if (moved)
            c.viewNumber = options_.towerViewNumber;
        c.towerLatitudeDeg = tower->latitudeDeg;
        c.towerLongitudeDeg = tower->longitudeDeg;
        c.towerAltitudeFt = tower->altitudeFt;
    }
    tower_ = tower;
    return c;
}

}  // namespace corvane::sim::flightgear
