// SPDX-License-Identifier: MIT
#include "sim/physics/SimEvent.h"

namespace corvane::sim {

const char* EventName(SimEventKind kind) {
    switch (kind) {
        case SimEventKind::Start:
            return "start";
        case SimEventKind::Touchdown:
            return "touchdown";
        case SimEventKind::Liftoff:
            return "liftoff";
        case SimEventKind::Crash:
            return "crash";
        case SimEventKind::Stop:
            return "stop";
        case SimEventKind::Paused:
            return "paused";
        case SimEventKind::Resumed:
            return "resumed";
    }
    return "unknown";
}

const char* CrashReasonName(CrashReason reason) {
    switch (reason) {
        case CrashReason::None:
            return "";
        case CrashReason::GearUp:
            return "gear up";
        case CrashReason::HardTouchdown:
            return "hard touchdown";
        case CrashReason::WingStrike:
            return "wing strike";
        case CrashReason::Impact:
            return "impact";
    }
    return "unknown";
}

}  // namespace corvane::sim
