// SPDX-License-Identifier: MIT
//
// FlightGear behind the variable space. Every line FlightGear's output
// protocol sends is one step: the readings become the aircraft's state, which
// is published into the space as the stand-in's flight model publishes its
// own; the inputs the program wrote (levers, brakes, controls, pause, crash
// setting, the autopilot's switches and targets) are read back and sent to
// FlightGear as its controls. The autopilot is the stand-in's own, flying
// FlightGear's elevator and ailerons through ControlLoops, so both backends
// honour one contract. Spoilers, retractable gear and reverse, which the
// aircraft lacks, are accepted in the space and go nowhere.
//
// Touchdowns, lift-offs, stops and crashes are events decided as for the
// stand-in's model (GroundContactDetector): the wheels' contact flickers as
// JSBSim's struts settle, so the aircraft counts as on the ground until no
// wheel has touched for a quarter second. With crash detection on, a
// touchdown sinking too fast or banked too far is a crash: the aircraft is
// marked crashed and FlightGear frozen. An aircraft lying still on the
// ground with no wheel on it (on its back, on a wing) has crashed too.
//
// FlightGear that does not send its first frame in time, stops sending, or
// whose process ends makes the backend fail: Failure() says why and nothing
// moves any more.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/flightgear/Channel.h"
#include "sim/flightgear/ControlLoops.h"
#include "sim/flightgear/Mapping.h"
#include "sim/flightgear/Protocol.h"
#include "sim/model/SimulatorBackend.h"
#include "sim/physics/AircraftConfig.h"
#include "sim/physics/Autopilot.h"
#include "sim/physics/ControlInputs.h"
#include "sim/physics/GroundContactDetector.h"

namespace corvane::sim::flightgear {

// How long a FlightGear the user starts is waited for: the pilot starts it
// from its launcher, and it loads for a minute or two.
inline constexpr double kAttachStartLimitS = 600.0;

struct BackendOptions {
    AircraftFacts aircraft;
    // Host seconds to wait for the flight model's first frame (FlightGear
    // loads its scenery first) and the longest silence after it.
    double startLimitS = 300.0;
    double silenceLimitS = 60.0;
    bool crashDetection = true;  // initial crash setting (0x0830)
    bool paused = false;         // start paused
    double rate = 1.0;           // FlightGear's /sim/speed-up, for the step pacing
    // FlightGear's log, named in the failures.
    std::string logPath;
    // FlightGear's view number of its tower view.
    int towerViewNumber = 3;
    // Told how the wait for FlightGear goes: when it first answers, every
    // noticeEveryS host seconds while its flight model is not running yet,
    // and when it runs. May be empty.
    std::function<void(const std::string&)> notice;
    double noticeEveryS = 30.0;
};

class FlightGearSimulator final : public SimulatorBackend {
  public:
    FlightGearSimulator(Channel& channel, const BackendOptions& options);

    VariableSpace& Variables() override { return space_; }
    const VariableSpace& Variables() const override { return space_; }
    // Takes in what FlightGear sent, one step per line, and answers with the
    // controls.
    int Advance(double hostSeconds) override;
    double TimeS() const override { return timeS_; }
    double StepS() const override { return 1.0 / 30.0; }
    double Rate() const override { return options_.rate; }
    const AircraftState& State() const override { return state_; }
    const TraceRecord& LastTrace() const override { return trace_; }
    void SetTraceSink(TraceSink* sink) override { sink_ = sink; }
    int TouchdownCount() const override { return touchdownCount_; }
    int CrashCount() const override { return crashCount_; }
    double GearHeightM() const override { return gearHeightM_; }
    const AircraftData& Aircraft() const override { return aircraftData_; }
    std::string Failure() const override { return failure_; }

    // FlightGear's flight model runs: its first frame has arrived.
    bool Started() const { return started_; }
    const std::vector<SimEvent>& Events() const { return events_; }
    const Readings& LastReadings() const { return readings_; }
    const Commands& LastCommands() const { return commands_; }
    std::uint64_t LinesRejected() const { return rejected_; }

  private:
    void Step(const Readings& r);
    void Detect(const Readings& r, const ControlInputs& in, std::uint32_t& mask);
    void Record(SimEventKind kind, double sinkFpm, CrashReason reason, std::uint32_t& mask);
    Commands CommandsFor(const ControlInputs& in, const Readings& r, const LoopOutput& loops);
    void Fail(const std::string& why);
    void Notice(const std::string& text) const;

    Channel& channel_;
    BackendOptions options_;
    AircraftData aircraftData_;
    GroundContactDetector contact_;
    AircraftConfig autopilotConfig_;
    Autopilot autopilot_;
    ControlLoops loops_;
    VariableSpace space_;
    AircraftState state_;
    TraceRecord trace_;
    Readings readings_;
    Commands commands_;
    std::vector<SimEvent> events_;
    std::vector<std::string> lines_;
    TraceSink* sink_ = nullptr;

    double hostS_ = 0.0;
    double lastLineHostS_ = 0.0;
    bool started_ = false;
    bool answered_ = false;  // a line has come, perhaps before the flight model runs
    double nextNoticeS_ = 0.0;
    double firstTimeS_ = 0.0;
    double timeS_ = 0.0;
    double gearHeightM_;
    double offWheelsSinceS_ = -1.0;  // standing near the ground, no wheel on it
    bool crashed_ = false;
    bool paused_ = false;
    double sinkBeforeFpm_ = 0.0;
    int touchdownCount_ = 0;
    int crashCount_ = 0;
    std::optional<TowerViewpoint> tower_;
    std::uint64_t rejected_ = 0;
    std::string failure_;
};

}  // namespace corvane::sim::flightgear
