// SPDX-License-Identifier: MIT
//
// What the autopilot's tests run on: a host with a virtual clock (each
// DoEvents moves it on by a fixed step and may run a hook, as pending events
// would), a simulator link that serves reads from a variable image and records
// every write with the number of the batch it went out in, and helpers that put
// the aircraft into the flight state or into the image.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/autopilot/FlyTherePlan.h"
#include "app/autopilot/RouteGuidance.h"
#include "app/flightstate/AircraftCommands.h"
#include "app/flightstate/FlightState.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/Program.h"
#include "navdata/NavigationConstants.h"
#include "ports/Host.h"
#include "ports/SimulatorLink.h"
#include "tests/support/ExchangedReadings.h"
#include "tests/support/HostStub.h"

namespace corvane::autopilot::test {

using FakeTimer = testing::StubTimer;

class FakeHost : public testing::HostStub {
  public:
    double now = 36000;        // seconds since midnight
    double stepSeconds = 0.1;  // how far each DoEvents moves the clock
    int doEventsCalls = 0;
    std::function<void()> onDoEvents;  // runs inside DoEvents, like a pending event

    double TimeOfDay() override { return now; }
    void DoEvents() override {
        ++doEventsCalls;
        now += stepSeconds;
        if (now >= 86400)
            now -= 86400;
        if (onDoEvents)
            onDoEvents();
    }
};

// One write request as it reached the simulator.
struct SentWrite {
    int batch = 0;  // 1 for the first batch sent
    std::int32_t offset = 0;
    std::int32_t size = 0;
    std::int64_t value = 0;  // the little-endian bytes, sign-extended
};

class RecordingLink : public flightstate::SimulatorLink {
  public:
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(65536);
    std::vector<SentWrite> writes;
    int batches = 0;  // batches sent

    template <typename T>
    void Put(std::uint32_t offset, T value) {
        std::memcpy(image.data() + offset, &value, sizeof value);
    }
    // The writes at an offset, in the order sent.
    std::vector<SentWrite> WritesAt(std::int32_t offset) const {
        std::vector<SentWrite> found;
        for (const SentWrite& w : writes) {
            if (w.offset == offset)
                found.push_back(w);
        }
        return found;
    }
    // The last value written at an offset, if any.
    std::optional<std::int64_t> LastWrite(std::int32_t offset) const {
        std::optional<std::int64_t> value;
        for (const SentWrite& w : writes) {
            if (w.offset == offset)
                value = w.value;
        }
        return value;
    }

    std::int32_t fsworking() override { return 2; }
    std::int32_t startit() override { return 1; }
    std::int32_t stopit() override { return 1; }
    std::int32_t readDWORD(std::int32_t o, void* d) override { return rawreadDWORD(o, d); }
    std::int32_t writeDWORD(std::int32_t o, const void* s) override { return rawwriteDWORD(o, s); }
    std::int32_t readxbytes(std::int32_t n, std::int32_t o, void* d) override {
        return rawreadxbytes(n, o, d);
    }
    std::int32_t writexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        return rawwritexbytes(n, o, s);
    }
    std::int32_t startmessage() override { return 1; }
    std::int32_t sendmessage() override {
        ++batches;
        for (SentWrite& w : pending_) {
            w.batch = batches;
            std::memcpy(image.data() + w.offset, &w.value, static_cast<std::size_t>(w.size));
            writes.push_back(w);
        }
        pending_.clear();
        return 1;
    }
    std::int32_t rawreadxbytes(std::int32_t n, std::int32_t o, void* d) override {
        std::memcpy(d, image.data() + o, static_cast<std::size_t>(n));
        return 1;
    }
    std::int32_t rawwritexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        SentWrite w;
        w.offset = o;
        w.size = n;
        std::uint64_t raw = 0;
        std::memcpy(&raw, s, static_cast<std::size_t>(n));
        const int unused = 64 - 8 * n;
        w.value = static_cast<std::int64_t>(raw << unused) >> unused;
        pending_.push_back(w);
        return 1;
    }
    std::int32_t rawreadDWORD(std::int32_t o, void* d) override { return rawreadxbytes(4, o, d); }
    std::int32_t rawwriteDWORD(std::int32_t o, const void* s) override {
        return rawwritexbytes(4, o, s);
    }

  private:
    std::vector<SentWrite> pending_;
};

// Simulator offsets the tests look at.
namespace at {
constexpr std::int32_t kAutocoordinator = 0x0278;
constexpr std::int32_t kPaused = 0x0264;
constexpr std::int32_t kThrottle1 = 0x088C;
constexpr std::int32_t kSpoilers = 0x0BD0;
constexpr std::int32_t kFlaps = 0x0BDC;
constexpr std::int32_t kApMaster = 0x07BC;
constexpr std::int32_t kApHeadingHold = 0x07C8;
constexpr std::int32_t kApHeading = 0x07CC;
constexpr std::int32_t kApAltHold = 0x07D0;
constexpr std::int32_t kApAltitude = 0x07D4;
constexpr std::int32_t kApVertSpeed = 0x07F2;
constexpr std::int32_t kCrashing = 0x0830;
constexpr std::int32_t kTrueAirspeed = 0x02B8;
constexpr std::int32_t kPositionBlock = 0x0560;
constexpr std::int32_t kGroundAltitude = 0x0B4C;
}  // namespace at

// A 64-bit fixed-point position value split so that the low word, read as a
// signed number, completes the high word (as the readers take it).
struct SplitValue {
    std::int32_t hi;
    std::uint32_t lo;
};
inline SplitValue Split(double units) {
    const double hi = std::nearbyint(units);
    const double fraction = (units - hi) * 4294967296.0;
    return {static_cast<std::int32_t>(hi),
            static_cast<std::uint32_t>(static_cast<std::int64_t>(std::nearbyint(fraction)))};
}
inline SplitValue LatitudeUnits(double deg) {
    return Split(deg * 5000875.0 / 45.0);
}
inline SplitValue LongitudeUnits(double deg) {
    return Split(deg * 1073741824.0 / 90.0);
}
inline std::int32_t HeadingUnits(double deg) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(
        static_cast<std::int64_t>(std::nearbyint(deg * 4294967296.0 / 360.0))));
}

// The aircraft straight into the flight state (no exchange).
inline void PlaceAircraft(flightstate::FlightState& s, double latDeg, double lonDeg) {
    const SplitValue lat = LatitudeUnits(latDeg);
    const SplitValue lon = LongitudeUnits(lonDeg);
    s.latitudehi = lat.hi;
    s.latitudelo = lat.lo;
    s.longitudehi = lon.hi;
    s.longitudelo = lon.lo;
}
inline void SetAirspeed(flightstate::FlightState& s, double knots) {
    s.trueairspeed = static_cast<std::int32_t>(std::nearbyint(knots * 128));
}
inline void SetHeading(flightstate::FlightState& s, double deg) {
    s.heading = HeadingUnits(deg);
}

// The aircraft into the simulator's image (read by the next exchange).
inline void PutAircraft(RecordingLink& link, double latDeg, double lonDeg, std::int32_t altitudeM,
                        double headingDeg) {
    const SplitValue lat = LatitudeUnits(latDeg);
    const SplitValue lon = LongitudeUnits(lonDeg);
    link.Put(at::kPositionBlock + 0, lat.lo);
    link.Put(at::kPositionBlock + 4, lat.hi);
    link.Put(at::kPositionBlock + 8, lon.lo);
    link.Put(at::kPositionBlock + 12, lon.hi);
    link.Put(at::kPositionBlock + 20, altitudeM);
    link.Put(at::kPositionBlock + 32, HeadingUnits(headingDeg));
}

using corvane::testing::ReadingsOf;

// The handlers as the tests call them: the tests write the record's wire
// values, so the readings are decoded first, as the exchange would have.
inline void Decoded(Program& p) {
    corvane::testing::DecodeAsExchanged(p.flightState);
}
inline void LandingTick(Program& p) {
    Decoded(p);
    startup::LandingTick(p);
}
inline void RouteTick(Program& p) {
    Decoded(p);
    startup::RouteTick(p);
}
inline void StartFlight(Program& p, std::int32_t runwayChoice) {
    Decoded(p);
    startup::StartFlight(p, runwayChoice);
}
inline void Timer4_Timer(Program& p) {
    Decoded(p);
    startup::Timer4_Timer(p);
}
inline void mnuFlyPast_Click(Program& p) {
    Decoded(p);
    startup::mnuFlyPast_Click(p);
}
using startup::cmdflyme_Click;
using startup::CruiseHeight_Click;
using startup::EngageAutopilot;
using startup::mnuFlythereOff_Click;
// The en-route steering law's commands, written to the aircraft.
inline void SteerToPoint(Program& p, double targetLat, double targetLon, bool intercept,
                         double courseDeg) {
    Decoded(p);
    flightstate::AircraftCommands commands;
    autopilot::SteerToPoint(p.flightState.readings, p.plan, targetLat, targetLon, intercept,
                            courseDeg, commands);
    commands.ApplyTo(p.plane);
}

// A program on the fake host and link, with the simulator link up.
struct ProgramFixture : ::testing::Test {
    FakeHost host;
    RecordingLink link;
    Program p{host, link};

    ProgramFixture() { p.flightState.simulatorkind = flightstate::kFs98; }

    void Exchange() { flightstate::ExchangeFlightState(p.flightState, link); }
};

// The point reached from (lat, lon) after a distance along a great circle
// starting on a true bearing, on the geodesy's sphere.
inline LatLon Destination(double latDeg, double lonDeg, double bearingDeg, double metres) {
    const double d = metres / navdata::EarthRadius;
    const double phi1 = latDeg * navdata::DegToRad;
    const double lambda1 = lonDeg * navdata::DegToRad;
    const double theta = bearingDeg * navdata::DegToRad;
    const double phi2 =
        std::asin(std::sin(phi1) * std::cos(d) + std::cos(phi1) * std::sin(d) * std::cos(theta));
    const double lambda2 = lambda1 + std::atan2(std::sin(theta) * std::sin(d) * std::cos(phi1),
                                                std::cos(d) - std::sin(phi1) * std::sin(phi2));
    return {phi2 / navdata::DegToRad, lambda2 / navdata::DegToRad};
}
inline constexpr double kMetresPerNm = 1852.0;

}  // namespace corvane::autopilot::test
