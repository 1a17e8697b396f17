// SPDX-License-Identifier: MIT
//
// Stage events of a flight, recorded as they happen: for the process's log
// and for the harness's measurements (touchdown point and sink rate, crashes,
// stop position).
#pragma once

namespace corvane::sim {

enum class SimEventKind { Start, Touchdown, Liftoff, Crash, Stop, Paused, Resumed };

// Impact: the simulator's own damage model broke the aircraft (FlightGear).
enum class CrashReason { None, GearUp, HardTouchdown, WingStrike, Impact };

struct SimEvent {
    SimEventKind kind = SimEventKind::Start;
    CrashReason crashReason = CrashReason::None;
    double timeS = 0.0;
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeM = 0.0;
    double sinkRateFpm = 0.0;  // at touchdown and crash: downward speed relative to the ground
    double iasKt = 0.0;
    double groundSpeedKt = 0.0;
    double headingTrueDeg = 0.0;
    double pitchDeg = 0.0;
    double bankDeg = 0.0;
    bool gearDown = false;
};

const char* EventName(SimEventKind kind);
const char* CrashReasonName(CrashReason reason);

}  // namespace corvane::sim
