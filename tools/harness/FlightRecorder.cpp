// SPDX-License-Identifier: MIT
#include "tools/harness/FlightRecorder.h"

#include <algorithm>
#include <cmath>

#include "sim/model/TraceCsv.h"
#include "sim/model/Units.h"

namespace corvane::harness {

namespace {

namespace units = sim::units;

constexpr double kStandingKnots = 0.5;

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

void FlightRecorder::MeasureLoad(const sim::TraceRecord& record) {
    const sim::AircraftState& s = sim_.State();
    const double velocity[3] = {s.velocityEastMps, s.velocityNorthMps, s.velocityUpMps};
    const double dt = record.timeS - lastTimeS_;
    const bool usable = haveLast_ && dt > 1e-6 && !s.crashed &&
                        !Has(record, sim::SimEventKind::Touchdown) &&
                        !Has(record, sim::SimEventKind::Start);
    if (usable && measuring_) {
        // Specific force (acceleration less gravity) in east, north, up.
        const double f[3] = {(velocity[0] - lastVelocity_[0]) / dt,
                             (velocity[1] - lastVelocity_[1]) / dt,
                             (velocity[2] - lastVelocity_[2]) / dt + units::kGravityMps2};
        const double psi = s.headingTrueDeg * units::kDegToRad;
        const double theta = s.pitchDeg * units::kDegToRad;
        const double phi = s.bankDeg * units::kDegToRad;
        // The aircraft's vertical axis: the pitched "up" rolled towards the
        // right wing by the bank.
        const double up[3] = {-std::sin(psi) * std::sin(theta), -std::cos(psi) * std::sin(theta),
                              std::cos(theta)};
        const double right[3] = {std::cos(psi), -std::sin(psi), 0.0};
        double n = 0.0;
        for (int i = 0; i < 3; ++i)
            n += f[i] * (std::cos(phi) * up[i] + std::sin(phi) * right[i]);
        n /= units::kGravityMps2;
        if (!loadMeasured_ || n > peakLoadG_) {
            peakLoadG_ = n;
            peakLoadTimeS_ = record.timeS;
        }
        if (!loadMeasured_ || n < minLoadG_)
            minLoadG_ = n;
        loadMeasured_ = true;
    }
    for (int i = 0; i < 3; ++i)
        lastVelocity_[i] = velocity[i];
    lastTimeS_ = record.timeS;
    haveLast_ = true;
}

void FlightRecorder::OnStep(const sim::TraceRecord& record) {
    ++stepCount_;
    MeasureLoad(record);
    const RunwayPoint at = runway_.Locate(record.latitudeDeg, record.longitudeDeg);

    if (measuring_) {
        // The threshold crossing, in the air, in the landing direction.
        // (Touching down in the very step that crosses it counts as a crossing
        // at no height.)
        if (airborneBefore_ && !crossing_ && lastAlongFt_ && *lastAlongFt_ < 0.0 &&
            at.alongFt >= 0.0 && std::abs(at.crossM) < 1000.0) {
            ThresholdCrossing c;
            c.heightFt = record.onGround
                             ? 0.0
                             : record.altitudeFt - sim_.GearHeightM() * units::kFeetPerMetre -
                                   runway_.ElevationFt();
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
