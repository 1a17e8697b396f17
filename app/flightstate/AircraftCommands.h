// SPDX-License-Identifier: MIT
//
// What a step of the program decides to send to the aircraft: the outgoing
// values it writes, by the names of the aircraft's control properties. A step
// fills one and returns it; the program writes it through planeinterface
// (setting each value's write request) before the next exchange sends it. A
// value written twice keeps the later one, as the properties do.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace corvane::flightstate {

class planeinterface;

class AircraftCommands {
  public:
    // The plain outgoing items, in the order the exchange lays them.
    enum Item : std::size_t {
        kAutocoordinator,
        kPaused,
        kThrottle1,
        kThrottle2,
        kThrottle3,
        kThrottle4,
        kArmspoilers,
        kSpoilers,
        kFlaps,
        kLeftbrake,
        kRightbrake,
        kBrakeindicator,
        kParkingbrake,
        kAirbrake,
        kAileron,
        kElevator,
        kRudder,
        kApmaster,
        kApwinglevel,
        kApheadinghold,
        kApheading,
        kApalthold,
        kApaltitude,
        kApvertspeed,
        kCrashing,
        kThrust1,
        kThrust2,
        kThrust3,
        kThrust4,
        kGearhandle,
        kItemCount
    };

    void autocoordinator(std::int32_t v) { Set(kAutocoordinator, v); }
    void paused(std::uint8_t v) { Set(kPaused, v); }
    void crashing(std::uint8_t v) { Set(kCrashing, v); }
    void throttle1(std::int32_t v) { Set(kThrottle1, v); }
    void throttle2(std::int32_t v) { Set(kThrottle2, v); }
    void throttle3(std::int32_t v) { Set(kThrottle3, v); }
    void throttle4(std::int32_t v) { Set(kThrottle4, v); }
    void throttles(std::int32_t v) {
        throttle1(v);
        throttle2(v);
        throttle3(v);
        throttle4(v);
    }
    void armspoilers(std::int32_t v) { Set(kArmspoilers, v); }
    void spoilers(std::int32_t v) { Set(kSpoilers, v); }
    void flaps(std::int32_t v) { Set(kFlaps, v); }
    void leftbrake(std::int32_t v) { Set(kLeftbrake, v); }
    void rightbrake(std::int32_t v) { Set(kRightbrake, v); }
    void brakeindicator(std::int32_t v) { Set(kBrakeindicator, v); }
    void parkingbrake(std::int32_t v) { Set(kParkingbrake, v); }
    void airbrake(std::int32_t v) { Set(kAirbrake, v); }
    void aileron(std::int32_t v) { Set(kAileron, v); }
    void elevator(std::int32_t v) { Set(kElevator, v); }
    void rudder(std::int32_t v) { Set(kRudder, v); }
    void apmaster(std::int32_t v) { Set(kApmaster, v); }
    void apwinglevel(std::int32_t v) { Set(kApwinglevel, v); }
    void apheadinghold(std::int32_t v) { Set(kApheadinghold, v); }
    void apheading(std::int32_t v) { Set(kApheading, v); }
    void apalthold(std::int32_t v) { Set(kApalthold, v); }
    void apaltitude(std::int32_t v) { Set(kApaltitude, v); }  // feet
    void apvertspeed(std::int32_t v) { Set(kApvertspeed, v); }
    void thrust1(std::int32_t v) { Set(kThrust1, v); }
    void thrust2(std::int32_t v) { Set(kThrust2, v); }
    void thrust3(std::int32_t v) { Set(kThrust3, v); }
    void thrust4(std::int32_t v) { Set(kThrust4, v); }
    void gearhandle(std::int32_t v) { Set(kGearhandle, v); }
    // The tower viewpoint: degrees and feet.
    void towerlat(double degrees) { towerLat_ = degrees; }
    void towerlon(double degrees) { towerLon_ = degrees; }
    void toweralt(double feet) { towerAlt_ = feet; }

    // What was commanded of an item; empty when nothing.
    std::optional<std::int32_t> Get(Item item) const { return values_[item]; }
    std::optional<double> TowerLatitude() const { return towerLat_; }
    std::optional<double> TowerLongitude() const { return towerLon_; }
    std::optional<double> TowerAltitude() const { return towerAlt_; }
    bool Empty() const;

    // Writes every commanded value through the aircraft's properties.
    void ApplyTo(planeinterface& plane) const;

  private:
    void Set(Item item, std::int32_t v) { values_[item] = v; }

    std::array<std::optional<std::int32_t>, kItemCount> values_{};
    std::optional<double> towerLat_;
    std::optional<double> towerLon_;
    std::optional<double> towerAlt_;
};

}  // namespace corvane::flightstate
