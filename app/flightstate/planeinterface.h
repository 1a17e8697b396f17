// SPDX-License-Identifier: MIT
//
// planeinterface: the aircraft control properties through which the program
// reads and commands the aircraft. It has no state of its own: a read returns a
// reading of the flight state; a write stores the outgoing value and sets its
// write request, which the next exchange sends. A read after a write returns
// the simulator's value from the last exchange, not the value just written.
//
// Each property is one overloaded member: `plane.throttles()` reads,
// `plane.throttles(5000)` writes.
#pragma once

#include <cstdint>

#include "app/flightstate/FlightState.h"

namespace corvane::flightstate {

class planeinterface {
public:
    explicit planeinterface(FlightState& state) : s_(state) {}

    void autocoordinator(std::int32_t v) { Set(s_.out.autocoordinator, s_.autocoordinatorpending, v); }
    std::uint8_t paused() const { return s_.paused; }
    void paused(std::uint8_t v) { Set(s_.out.paused, s_.pausedpending, v); }
    std::uint8_t crashing() const { return s_.crashing; }
    void crashing(std::uint8_t v) { Set(s_.out.crashing, s_.crashingpending, v); }
    std::int32_t throttle1() const { return s_.throttle1; }
    void throttle1(std::int32_t v) { Set(s_.out.throttle1, s_.throttle1pending, v); }
    std::int32_t throttle2() const { return s_.throttle2; }
    void throttle2(std::int32_t v) { Set(s_.out.throttle2, s_.throttle2pending, v); }
    std::int32_t throttle3() const { return s_.throttle3; }
    void throttle3(std::int32_t v) { Set(s_.out.throttle3, s_.throttle3pending, v); }
    std::int32_t throttle4() const { return s_.throttle4; }
    void throttle4(std::int32_t v) { Set(s_.out.throttle4, s_.throttle4pending, v); }
    void armspoilers(std::int32_t v) { Set(s_.out.armspoilers, s_.armspoilerspending, v); }
    std::int32_t spoilers() const { return 0; }  // the exchange reads no spoiler value
    void spoilers(std::int32_t v) { Set(s_.out.spoilers, s_.spoilerspending, v); }
    std::int32_t flaps() const { return 0; }  // no flaps reading
    void flaps(std::int32_t v) { Set(s_.out.flaps, s_.flapspending, v); }
    void leftbrake(std::int32_t v) { Set(s_.out.leftbrake, s_.leftbrakepending, v); }
    void rightbrake(std::int32_t v) { Set(s_.out.rightbrake, s_.rightbrakepending, v); }
    void brakeindicator(std::int32_t v) { Set(s_.out.brakeindicator, s_.brakeindicatorpending, v); }
    void parkingbrake(std::int32_t v) { Set(s_.out.parkingbrake, s_.parkingbrakepending, v); }
    // Sent to the same simulator offset as parkingbrake, after it.
    void airbrake(std::int32_t v) { Set(s_.out.airbrake, s_.airbrakepending, v); }
    std::int32_t aileron() const { return 0; }  // no aileron reading
    void aileron(std::int32_t v) { Set(s_.out.aileron, s_.aileronpending, v); }
    std::int32_t elevator() const { return 0; }  // no elevator reading
    void elevator(std::int32_t v) { Set(s_.out.elevator, s_.elevatorpending, v); }
    void rudder(std::int32_t v) { Set(s_.out.rudder, s_.rudderpending, v); }
    std::int32_t apmaster() const { return s_.apmaster; }
    void apmaster(std::int32_t v) { Set(s_.out.apmaster, s_.apmasterpending, v); }
    void apwinglevel(std::int32_t v) { Set(s_.out.apwinglevel, s_.apwinglevelpending, v); }
    void apheadinghold(std::int32_t v) { Set(s_.out.apheadinghold, s_.apheadingholdpending, v); }
    std::int32_t apheading() const { return 0; }  // no autopilot heading reading
    void apheading(std::int32_t v) { Set(s_.out.apheading, s_.apheadingpending, v); }
    std::int32_t apalthold() const { return s_.apalthold; }
    void apalthold(std::int32_t v) { Set(s_.out.apalthold, s_.apaltholdpending, v); }
    // Feet; the exchange scales the value for the simulator.
    std::int32_t apaltitude() const { return s_.apaltitude; }
    void apaltitude(std::int32_t v) { Set(s_.out.apaltitude, s_.apaltitudepending, v); }
    std::int32_t apvertspeed() const { return s_.apvertspeed; }
    void apvertspeed(std::int32_t v) { Set(s_.out.apvertspeed, s_.apvertspeedpending, v); }
    std::int32_t throttles() const { return s_.throttle1; }
    void throttles(std::int32_t v) {
        throttle1(v);
        throttle2(v);
        throttle3(v);
        throttle4(v);
    }
    std::int32_t enginetype() const { return s_.enginetype; }
    void enginetype(std::int32_t) {}  // the engine type cannot be changed
    void thrust1(std::int32_t v) { Set(s_.out.thrust1, s_.thrust1pending, v); }
    void thrust2(std::int32_t v) { Set(s_.out.thrust2, s_.thrust2pending, v); }
    void thrust3(std::int32_t v) { Set(s_.out.thrust3, s_.thrust3pending, v); }
    void thrust4(std::int32_t v) { Set(s_.out.thrust4, s_.thrust4pending, v); }
    void thrusts(std::int32_t v) {
        thrust1(v);
        thrust2(v);
        thrust3(v);
        thrust4(v);
    }
    std::int32_t stallfactor() const { return s_.stallfactor; }
    std::int32_t gearhandle() const { return s_.gearhandle; }
    void gearhandle(std::int32_t v) { Set(s_.out.gearhandle, s_.gearhandlepending, v); }

    // Tower viewpoint: latitude and longitude in degrees, altitude in feet.
    void towerlat(double degrees);
    void towerlon(double degrees);
    void toweralt(double feet);

private:
    static void Set(std::int32_t& value, std::int16_t& pending, std::int32_t v) {
        value = v;
        pending = kRequestSet;
    }

    FlightState& s_;
};

}  // namespace corvane::flightstate
