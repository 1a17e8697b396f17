// SPDX-License-Identifier: MIT
//
// Runs the simulator in real time (times its rate) and answers what arrives
// at its window: link messages through the IPC module, close requests by the
// close answer of the command line. The event loop (headless or Qt) asks
// SecondsToNextStep() how long it may wait for messages, then calls
// RunUntil() with the time of its clock; the runner owns no clock itself.
//
// It is also the simulator's trace sink: it passes every step to the log and
// prints the stage events (touchdown, crash, ...) on standard output.
#pragma once

#include <cstdint>
#include <string>

#include "platform/posix/Desktop.h"
#include "sim/fltsim98/CommandLine.h"
#include "sim/fltsim98/ModuleLoader.h"
#include "sim/model/SimulatorBackend.h"
#include "sim/trace/TraceSink.h"

namespace corvane::sim {

class RealTimeRunner : public TraceSink {
  public:
    // What the owner of the window does with a close request.
    enum class CloseDecision {
        Quit,     // end the simulator
        Keep,     // keep running (refused)
        AskUser,  // ask the user; RequestQuit() if the answer is yes
    };

    // module may be null (no module: no link message is served); log may be
    // null. All must outlive the runner.
    RealTimeRunner(SimulatorBackend& simulator, const ModuleLoader* module, CloseAnswer closeAnswer,
                   bool canAskUser, TraceSink* log, bool printEvents);

    // Longest stretch of clock time that one RunUntil() simulates: after the
    // process was stopped (or the machine stalled) the lost time is dropped
    // instead of being made up at full speed.
    static constexpr double kMaxCatchUpS = 1.0;

    void Begin(double nowS) { lastS_ = nowS; }
    // Advances the simulator by the clock time since the last call.
    int RunUntil(double nowS);
    // How long to wait for messages before the next step is due (>= 0).
    double SecondsToNextStep(double nowS) const;
    // Clock time between the steps' wake-ups: one step, but not below 2 ms
    // (at high rates one wake-up runs several steps).
    double TickS() const;

    std::uint32_t OnMessage(const desktop::Message& message);
    CloseDecision OnCloseRequest();

    void RequestQuit() { quit_ = true; }
    // Why the simulator behind the backend failed (then QuitRequested()).
    const std::string& Failure() const { return failure_; }
    bool QuitRequested() const { return quit_; }

    std::uint64_t BatchesServed() const { return batchesServed_; }
    int CloseRequests() const { return closeRequests_; }

    void OnStep(const TraceRecord& record) override;
    void OnEvent(const SimEvent& event) override;

  private:
    SimulatorBackend& simulator_;
    const ModuleLoader* module_;
    CloseAnswer closeAnswer_;
    bool canAskUser_;
    TraceSink* log_;
    bool printEvents_;
    double lastS_ = 0.0;
    bool quit_ = false;
    std::string failure_;
    std::uint64_t batchesServed_ = 0;
    int closeRequests_ = 0;
};

}  // namespace corvane::sim
