// SPDX-License-Identifier: MIT
#include "sim/fltsim98/RealTimeRunner.h"

#include <algorithm>
#include <cstdio>

#include "sim/inprocess/VariableSpaceAccess.h"

namespace corvane::sim {

RealTimeRunner::RealTimeRunner(SimulatorBackend& simulator, const ModuleLoader* module,
                               CloseAnswer closeAnswer, bool canAskUser, TraceSink* log,
                               bool printEvents)
    : simulator_(simulator),
      module_(module),
      closeAnswer_(closeAnswer),
      canAskUser_(canAskUser),
      log_(log),
      printEvents_(printEvents) {}

double RealTimeRunner::TickS() const {
    return std::max(simulator_.StepS() / simulator_.Rate(), 0.002);
}

int RealTimeRunner::RunUntil(double nowS) {
    const double elapsed = std::clamp(nowS - lastS_, 0.0, kMaxCatchUpS);
    lastS_ = nowS;
    const int steps = simulator_.Advance(elapsed);
    // A simulator behind the backend that failed ends this one: the window
    // goes away, as when any simulator quits.
    const std::string failure = simulator_.Failure();
    if (!failure.empty() && failure_.empty()) {
        failure_ = failure;
        std::fprintf(stderr, "fltsim98.exe: %s\n", failure.c_str());
        std::fflush(stderr);
        quit_ = true;
    }
    return steps;
}

double RealTimeRunner::SecondsToNextStep(double nowS) const {
    return std::max(lastS_ + TickS() - nowS, 0.0);
}

std::uint32_t RealTimeRunner::OnMessage(const desktop::Message& message) {
    if (!module_ || !module_->IsLoaded())
        return 0;
    VariableSpaceAccess access(simulator_.Variables());
    const std::uint32_t answer = module_->Handle(message, access);
    if (answer == 1)
        ++batchesServed_;
    return answer;
}

RealTimeRunner::CloseDecision RealTimeRunner::OnCloseRequest() {
    ++closeRequests_;
    switch (closeAnswer_) {
        case CloseAnswer::Close:
            quit_ = true;
            return CloseDecision::Quit;
        case CloseAnswer::Accept:
            std::printf("close requested: ending the simulator (scripted answer: accept)\n");
            std::fflush(stdout);
            quit_ = true;
            return CloseDecision::Quit;
        case CloseAnswer::Ask:
            if (canAskUser_)
                return CloseDecision::AskUser;
            [[fallthrough]];
        case CloseAnswer::Refuse:
            std::printf("close requested: the simulator keeps running (answer: refuse)\n");
            std::fflush(stdout);
            return CloseDecision::Keep;
    }
    return CloseDecision::Keep;
}

void RealTimeRunner::OnStep(const TraceRecord& record) {
    if (log_)
        log_->OnStep(record);
}

void RealTimeRunner::OnEvent(const SimEvent& e) {
    if (log_)
        log_->OnEvent(e);
    if (!printEvents_)
        return;
    std::printf("%8.2f s  %-9s lat %.6f lon %.6f alt %.0f ft ias %.0f kt gs %.0f kt", e.timeS,
                EventName(e.kind), e.latitudeDeg, e.longitudeDeg, e.altitudeM / 0.3048, e.iasKt,
                e.groundSpeedKt);
    if (e.kind == SimEventKind::Touchdown || e.kind == SimEventKind::Crash) {
        std::printf(" sink %.0f ft/min", e.sinkRateFpm);
    }
    if (e.kind == SimEventKind::Crash)
        std::printf(" (%s)", CrashReasonName(e.crashReason));
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace corvane::sim
