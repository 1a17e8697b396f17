// SPDX-License-Identifier: MIT
#include "tools/harness/FlightRecorder.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"
#include "sim/trace/CommandTrace.h"
#include "sim/trace/TraceCsv.h"
#include "sim/variables/ImageBinding.h"

namespace corvane::harness {

namespace {

namespace units = sim::units;

constexpr double kStandingKnots = 0.5;
// The touchdown's load is the largest normal load from the first contact to
// this long after it: the struts' first stroke and the nose wheel's arrival
// (the largest sample, and the largest reading of the recorder's channel).
constexpr double kTouchdownLoadWindowS = 2.0;
// Above this height over the ground the load channel is not fed.
constexpr double kLoadChannelBelowFt = 500.0;

bool Has(const sim::TraceRecord& record, sim::SimEventKind kind) {
    return (record.eventMask & (1u << static_cast<int>(kind))) != 0;
}

}  // namespace

FlightRecorder::FlightRecorder(const sim::SimulatorBackend& simulator) : sim_(simulator) {}

void FlightRecorder::BeginFlight(const RunwayFrame& runway) {
    runway_ = runway;
    measuring_ = true;
    touchdown_.reset();
    crossing_.reset();
    bounces_ = 0;
    airborneSinceTouchdown_ = false;
    maxRolloutCrossM_ = 0.0;
    leftRunway_ = false;
    lastAlongFt_.reset();
    airborneBefore_ = false;
    loadMeasured_ = false;
    peakLoadG_ = 0.0;
    minLoadG_ = 0.0;
    loadChannel_.Reset();
    gate_.reset();
    lastHeightFt_.reset();
    flapExcess_.reset();
    secondsOverFlapLimit_ = 0.0;
    mainContactS_.reset();
    noseContactS_.reset();
    haveLast_ = false;
    flightStartS_ = sim_.TimeS();
    commandsWritten_ = false;
    if (commands_) {
        const sim::AircraftState& s = sim_.State();
        sim::CommandStart start;
        start.latitudeDeg = s.latitudeDeg;
        start.longitudeDeg = s.longitudeDeg;
        start.altitudeFt = s.altitudeM * units::kFeetPerMetre;
        start.headingTrueDeg = s.headingTrueDeg;
        start.iasKt = s.iasMps * units::kKnotsPerMps;
        start.climbFpm = s.velocityUpMps * units::kFpmPerMps;
        start.flaps = s.flaps;
        std::fprintf(commands_, "%s\n%s\n%s\n", sim::CommandTraceStartLine(start).c_str(),
                     sim::CommandTraceAircraftLine(sim_.Aircraft().id).c_str(),
                     sim::CommandTraceHeader());
    }
}

void FlightRecorder::WriteTrace(std::FILE* file, int everySteps, std::string programHeader,
                                std::function<std::string()> programColumns) {
    trace_ = file;
    traceEvery_ = std::max(everySteps, 1);
    programColumns_ = std::move(programColumns);
    if (trace_)
        std::fprintf(trace_, "%s,along_ft,cross_m,%s\n", sim::TraceCsv::Header(),
                     programHeader.c_str());
}

void FlightRecorder::FillReport(double flightStartS, LandingReport& r) const {
    r.crashed = crashed_;
    r.crashReason = crashReason_;
    r.bounces = bounces_;
    r.maxRolloutCrossM = maxRolloutCrossM_;
    r.peakNormalLoadG = peakLoadG_;
    r.minNormalLoadG = minLoadG_;
    r.peakNormalLoadTimeS = peakLoadTimeS_ - flightStartS;
    r.thresholdCrossing = crossing_;
    if (gate_) {
        GateFacts gate = *gate_;
        gate.timeS -= flightStartS;
        r.gate = gate;
    }
    if (flapExcess_) {
        FlapExcess excess = *flapExcess_;
        excess.timeS -= flightStartS;
        // The program's stage text then: the last one shown before it.
        for (const TimedText& t : r.stageTexts) {
            if (t.timeS <= excess.timeS)
                excess.stage = t.text;
        }
        r.flapExcess = excess;
    }
    if (touchdown_) {
        TouchdownFacts td = *touchdown_;
        td.timeS -= flightStartS;
        r.touchdown = td;
    }
    if (touchdown_ && standing_ && !crashed_) {
        const RunwayPoint at = Position();
        StopFacts stop;
        stop.timeS = standingSinceS_ - flightStartS;
        stop.alongFt = at.alongFt;
        stop.crossM = at.crossM;
        stop.remainingFt = runway_.LengthFt() - at.alongFt;
        stop.onRunway = runway_.OnRunway(at);
        r.stop = stop;
    }
}

RunwayPoint FlightRecorder::Position() const {
    const sim::AircraftState& s = sim_.State();
    return runway_.Locate(s.latitudeDeg, s.longitudeDeg);
}

void FlightRecorder::OnEvent(const sim::SimEvent& event) {
    if (!measuring_)
        return;
    switch (event.kind) {
        case sim::SimEventKind::Touchdown:
            if (!touchdown_) {
                TouchdownFacts td;
                td.timeS = event.timeS;
                const RunwayPoint at = runway_.Locate(event.latitudeDeg, event.longitudeDeg);
                td.alongFt = at.alongFt;
                td.crossM = at.crossM;
                td.sinkFpm = event.sinkRateFpm;
                td.iasKt = event.iasKt;
                td.groundSpeedKt = event.groundSpeedKt;
                td.pitchDeg = event.pitchDeg;
                td.bankDeg = event.bankDeg;
                td.onRunway = runway_.OnRunway(at);
                touchdown_ = td;
                mainContactS_.reset();
                noseContactS_.reset();
            }
            airborneSinceTouchdown_ = false;
            break;
        case sim::SimEventKind::Liftoff:
            if (touchdown_ && !airborneSinceTouchdown_) {
                ++bounces_;
                airborneSinceTouchdown_ = true;
            }
            break;
        case sim::SimEventKind::Crash:
            crashed_ = true;
            crashReason_ = sim::CrashReasonName(event.crashReason);
            break;
        default:
            break;
    }
}

double FlightRecorder::HeightAboveRunwayFt(const sim::TraceRecord& record) const {
    return record.altitudeFt - sim_.GearHeightM() * units::kFeetPerMetre - runway_.ElevationFt();
}

void FlightRecorder::MeasureLoad(const sim::TraceRecord& record) {
    if (!measuring_ || record.crashed || Has(record, sim::SimEventKind::Start))
        return;
    const double n = record.normalLoadG;
    if (!loadMeasured_ || n > peakLoadG_) {
        peakLoadG_ = n;
        peakLoadTimeS_ = record.timeS;
    }
    if (!loadMeasured_ || n < minLoadG_)
        minLoadG_ = n;
    loadMeasured_ = true;
}

void FlightRecorder::MeasureTouchdown(const sim::TraceRecord& record, double recordedLoadG) {
    if (!touchdown_)
        return;
    TouchdownFacts& td = *touchdown_;
    if (record.mainWheelsOnGround && !mainContactS_)
        mainContactS_ = record.timeS;
    if (record.noseWheelOnGround && !noseContactS_)
        noseContactS_ = record.timeS;
    if (td.firstContact.empty()) {
        // The step of the touchdown says which wheels met the ground.
        if (mainContactS_ && noseContactS_)
            td.firstContact = "together";
        else if (mainContactS_)
            td.firstContact = "main wheels";
        else if (noseContactS_)
            td.firstContact = "nose wheel";
        else
            td.firstContact = "belly";
        td.peakLoadG = record.normalLoadG;
        td.recordedLoadG = recordedLoadG;
    }
    if (mainContactS_ && noseContactS_)
        td.noseWheelAfterS = *noseContactS_ - *mainContactS_;
    if (record.timeS - td.timeS <= kTouchdownLoadWindowS && !record.crashed) {
        td.peakLoadG = std::max(td.peakLoadG, record.normalLoadG);
        td.recordedLoadG = std::max(td.recordedLoadG, recordedLoadG);
    }
}

void FlightRecorder::MeasureFlaps(const sim::TraceRecord& record, const RunwayPoint& at) {
    const double dt = haveLast_ ? std::max(record.timeS - lastTimeS_, 0.0) : 0.0;
    const sim::AircraftData& aircraft = sim_.Aircraft();
    const sim::FlapSetting* setting = aircraft.FlapSettingAt(record.flaps);
    if (setting == nullptr || record.onGround || record.crashed)
        return;
    const double excess = record.iasKt - setting->limitKias.value;
    if (!(excess > 0.0))
        return;
    secondsOverFlapLimit_ += dt;
    if (!flapExcess_ || excess > flapExcess_->excessKt) {
        FlapExcess e;
        e.excessKt = excess;
        e.iasKt = record.iasKt;
        e.limitKias = setting->limitKias.value;
        e.setting = setting->name;
        e.flapPosition = record.flaps;
        e.timeS = record.timeS;
        const double beside = at.crossM * units::kFeetPerMetre;
        e.distanceNm =
            std::hypot(at.alongFt, beside) / (units::kMetresPerNm * units::kFeetPerMetre);
        e.heightFt = HeightAboveRunwayFt(record);
        flapExcess_ = e;
    }
    flapExcess_->secondsOver = secondsOverFlapLimit_;
}

void FlightRecorder::MeasureGate(const sim::TraceRecord& record, const RunwayPoint& at) {
    const double height = HeightAboveRunwayFt(record);
    const double gateFt = GoodLandingLimits{}.gateHeightFt;
    // Descending through the gate on the approach, before the threshold and
    // before the first touchdown; a later pass (after a go-around) replaces it.
    if (!touchdown_ && !record.onGround && lastHeightFt_ && *lastHeightFt_ >= gateFt &&
        height < gateFt && at.alongFt < 0.0) {
        GateFacts g;
        g.timeS = record.timeS;
        g.iasKt = record.iasKt;
        g.flapPosition = record.flaps;
        g.sinkFpm = -record.verticalSpeedFpm;
        g.crossM = at.crossM;
        const double beside = at.crossM * units::kFeetPerMetre;
        g.distanceNm =
            std::hypot(at.alongFt, beside) / (units::kMetresPerNm * units::kFeetPerMetre);
        gate_ = g;
    }
    lastHeightFt_ = height;
}

void FlightRecorder::OnStep(const sim::TraceRecord& record) {
    ++stepCount_;
    MeasureLoad(record);
    if (Has(record, sim::SimEventKind::Start))
        loadChannel_.Reset();
    // The channel is judged from the touchdown on, so it is fed only near the
    // ground (from kLoadChannelBelowFt down, minutes of samples before any
    // contact for a window of an eighth of a second) and after a touchdown;
    // its readings there are those of a channel fed at every step.
    const bool nearGround =
        record.onGround || touchdown_ || record.heightAboveGroundFt < kLoadChannelBelowFt;
    const double recordedLoadG =
        nearGround ? loadChannel_.Add(record.timeS, record.normalLoadG) : record.normalLoadG;
    const RunwayPoint at = runway_.Locate(record.latitudeDeg, record.longitudeDeg);

    if (measuring_) {
        MeasureTouchdown(record, recordedLoadG);
        MeasureFlaps(record, at);
        MeasureGate(record, at);
        // The threshold crossing, in the air, in the landing direction.
        // (Touching down in the very step that crosses it counts as a crossing
        // at no height.)
        if (airborneBefore_ && !crossing_ && lastAlongFt_ && *lastAlongFt_ < 0.0 &&
            at.alongFt >= 0.0 && std::abs(at.crossM) < 1000.0) {
            ThresholdCrossing c;
            c.heightFt = record.onGround ? 0.0 : HeightAboveRunwayFt(record);
            c.crossM = at.crossM;
            c.iasKt = record.iasKt;
            c.verticalSpeedFpm = record.verticalSpeedFpm;
            crossing_ = c;
        }
        lastAlongFt_ = at.alongFt;
        airborneBefore_ = !record.onGround;

        if (touchdown_ && record.onGround) {
            maxRolloutCrossM_ = std::max(maxRolloutCrossM_, std::abs(at.crossM));
            if (!runway_.OnRunway(at))
                leftRunway_ = true;
        }
    }

    lastTimeS_ = record.timeS;
    haveLast_ = true;

    if (commands_ && measuring_) {
        const sim::ControlInputs in = sim::ImageBinding::ReadInputs(sim_.Variables());
        if (!commandsWritten_ || sim::CommandsDiffer(in, lastCommands_)) {
            std::fprintf(commands_, "%s\n",
                         sim::CommandTraceLine(record.timeS - flightStartS_, in).c_str());
            lastCommands_ = in;
            commandsWritten_ = true;
        }
    }

    const bool standingNow = record.onGround && record.groundSpeedKt < kStandingKnots;
    if (standingNow && !standing_)
        standingSinceS_ = record.timeS;
    standing_ = standingNow;

    if (trace_ && (stepCount_ % traceEvery_ == 0 || record.eventMask != 0)) {
        char line[sim::TraceCsv::kLineCapacity];
        if (sim::TraceCsv::FormatLine(record, line, sizeof line) > 0) {
            std::fprintf(trace_, "%s,%.1f,%.2f,%s\n", line, at.alongFt, at.crossM,
                         programColumns_ ? programColumns_().c_str() : "");
        }
    }
}

}  // namespace corvane::harness
