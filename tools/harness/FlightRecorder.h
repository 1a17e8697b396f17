// SPDX-License-Identifier: MIT
//
// Watches the simulator step by step (as its trace sink) and measures the
// landing against the runway: where the aircraft crossed the threshold, how it
// passed the stabilised gate (500 ft above the runway), the touchdown point,
// sink rate, which wheels touched first and the load, bounces, the worst flap
// excess of the flight, the roll-out's distance from the centre line, whether
// it is standing. Optionally writes the trace as CSV, with columns of the
// program's own state appended.
//
// The normal load factor is the flight model's own (the specific force along
// the aircraft's vertical axis over g, as each simulator computes it from its
// forces), never differentiated positions. The flap limits and the aircraft
// are those of the simulator that flies (SimulatorBackend::Aircraft).
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "sim/model/SimulatorBackend.h"
#include "sim/physics/ControlInputs.h"
#include "sim/trace/TraceSink.h"
#include "tools/harness/LandingReport.h"
#include "tools/harness/LoadChannel.h"
#include "tools/harness/RunwayFrame.h"

namespace corvane::harness {

class FlightRecorder final : public sim::TraceSink {
  public:
    explicit FlightRecorder(const sim::SimulatorBackend& simulator);

    // Measures against this runway from now on (the flight has started).
    void BeginFlight(const RunwayFrame& runway);
    bool Flying() const { return measuring_; }

    // Writes a CSV line every everySteps steps and at every step with an
    // event; programColumns gives the appended columns (its header first, by
    // programHeader). The file stays the caller's.
    void WriteTrace(std::FILE* file, int everySteps, std::string programHeader,
                    std::function<std::string()> programColumns);

    // Writes the program's commands (every input of the variable space) from
    // the flight's start on, a line at each change, with the start's state
    // first (sim/trace/CommandTrace.h). The file stays the caller's.
    void WriteCommands(std::FILE* file) { commands_ = file; }

    void OnStep(const sim::TraceRecord& record) override;
    void OnEvent(const sim::SimEvent& event) override;

    const std::optional<TouchdownFacts>& Touchdown() const { return touchdown_; }
    const std::optional<ThresholdCrossing>& Crossing() const { return crossing_; }
    // The last descent through the stabilised gate before the touchdown.
    const std::optional<GateFacts>& Gate() const { return gate_; }
    // The worst flap excess since the flight began (its stage left empty).
    const std::optional<FlapExcess>& WorstFlapExcess() const { return flapExcess_; }
    int Bounces() const { return bounces_; }
    bool Crashed() const { return crashed_; }
    const std::string& CrashReason() const { return crashReason_; }
    double MaxRolloutCrossM() const { return maxRolloutCrossM_; }
    // Left the paved strip after the touchdown (on the ground).
    bool LeftRunway() const { return leftRunway_; }
    double PeakNormalLoadG() const { return peakLoadG_; }
    double MinNormalLoadG() const { return minLoadG_; }
    double PeakNormalLoadTimeS() const { return peakLoadTimeS_; }  // simulator time
    // On the ground and slower than half a knot, since the given simulator time.
    bool Standing() const { return standing_; }
    double StandingSinceS() const { return standingSinceS_; }
    // Where the aircraft is now, on the runway's frame.
    RunwayPoint Position() const;

    // Fills what the recorder measured into a report: crash, bounces, loads,
    // threshold crossing, gate, flap excess (with the stage text of the
    // report's stageTexts then), touchdown, stop; times from the flight's
    // start, a simulator time.
    void FillReport(double flightStartS, LandingReport& report) const;

    // Height of the wheels above the runway's elevation.
    double HeightAboveRunwayFt(const sim::TraceRecord& record) const;

  private:
    void MeasureLoad(const sim::TraceRecord& record);
    void MeasureTouchdown(const sim::TraceRecord& record, double recordedLoadG);
    void MeasureFlaps(const sim::TraceRecord& record, const RunwayPoint& at);
    void MeasureGate(const sim::TraceRecord& record, const RunwayPoint& at);

    const sim::SimulatorBackend& sim_;
    RunwayFrame runway_;
    bool measuring_ = false;

    std::optional<TouchdownFacts> touchdown_;
    std::optional<ThresholdCrossing> crossing_;
    std::optional<GateFacts> gate_;
    std::optional<double> lastHeightFt_;
    std::optional<FlapExcess> flapExcess_;
    double secondsOverFlapLimit_ = 0.0;
    std::optional<double> mainContactS_;
    std::optional<double> noseContactS_;
    int bounces_ = 0;
    bool airborneSinceTouchdown_ = false;
    bool crashed_ = false;
    std::string crashReason_;
    double maxRolloutCrossM_ = 0.0;
    bool leftRunway_ = false;
    bool standing_ = false;
    double standingSinceS_ = 0.0;
    std::optional<double> lastAlongFt_;
    bool airborneBefore_ = false;

    bool haveLast_ = false;
    double lastTimeS_ = 0.0;
    bool loadMeasured_ = false;
    double peakLoadG_ = 0.0;
    double minLoadG_ = 0.0;
    double peakLoadTimeS_ = 0.0;
    LoadChannel loadChannel_;

    std::FILE* trace_ = nullptr;
    std::FILE* commands_ = nullptr;
    double flightStartS_ = 0.0;
    bool commandsWritten_ = false;
    sim::ControlInputs lastCommands_;
    int traceEvery_ = 10;
    long long stepCount_ = 0;
    std::function<std::string()> programColumns_;
};

}  // namespace corvane::harness
