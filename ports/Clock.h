// SPDX-License-Identifier: MIT
//
// Time: the time of day, window timers and letting pending events run. The
// program never reads the wall clock or sleeps itself; every wait goes
// through this port, so that the headless host can run a flight in virtual
// time.
#pragma once

#include <functional>
#include <memory>

namespace corvane::host {

// A window timer. Ticks are delivered on the program's one thread, in order;
// a timer that is switched off delivers nothing.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetInterval(int intervalMs) = 0;
    virtual int Interval() const = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since midnight (what the program calls the time of day).
    virtual double TimeOfDay() = 0;
    // A new timer, switched off, calling onTick on each tick while on.
    virtual std::unique_ptr<Timer> CreateTimer(int intervalMs, std::function<void()> onTick) = 0;
    // Lets pending window events and due timer ticks run (may re-enter handlers).
    virtual void DoEvents() = 0;
};

}  // namespace corvane::host
