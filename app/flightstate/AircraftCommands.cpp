// SPDX-License-Identifier: MIT
#include "app/flightstate/AircraftCommands.h"

#include "app/flightstate/planeinterface.h"

namespace corvane::flightstate {
namespace {

using Write = void (*)(planeinterface&, std::int32_t);

// The property that writes each item, in the items' order.
constexpr Write kWrites[AircraftCommands::kItemCount] = {
    [](planeinterface& p, std::int32_t v) { p.autocoordinator(v); },
    [](planeinterface& p, std::int32_t v) { p.paused(static_cast<std::uint8_t>(v)); },
    [](planeinterface& p, std::int32_t v) { p.throttle1(v); },
    [](planeinterface& p, std::int32_t v) { p.throttle2(v); },
    [](planeinterface& p, std::int32_t v) { p.throttle3(v); },
    [](planeinterface& p, std::int32_t v) { p.throttle4(v); },
    [](planeinterface& p, std::int32_t v) { p.armspoilers(v); },
    [](planeinterface& p, std::int32_t v) { p.spoilers(v); },
    [](planeinterface& p, std::int32_t v) { p.flaps(v); },
    [](planeinterface& p, std::int32_t v) { p.leftbrake(v); },
    [](planeinterface& p, std::int32_t v) { p.rightbrake(v); },
    [](planeinterface& p, std::int32_t v) { p.brakeindicator(v); },
    [](planeinterface& p, std::int32_t v) { p.parkingbrake(v); },
    [](planeinterface& p, std::int32_t v) { p.airbrake(v); },
    [](planeinterface& p, std::int32_t v) { p.aileron(v); },
    [](planeinterface& p, std::int32_t v) { p.elevator(v); },
    [](planeinterface& p, std::int32_t v) { p.rudder(v); },
    [](planeinterface& p, std::int32_t v) { p.apmaster(v); },
    [](planeinterface& p, std::int32_t v) { p.apwinglevel(v); },
    [](planeinterface& p, std::int32_t v) { p.apheadinghold(v); },
    [](planeinterface& p, std::int32_t v) { p.apheading(v); },
    [](planeinterface& p, std::int32_t v) { p.apalthold(v); },
    [](planeinterface& p, std::int32_t v) { p.apaltitude(v); },
    [](planeinterface& p, std::int32_t v) { p.apvertspeed(v); },
    [](planeinterface& p, std::int32_t v) { p.crashing(static_cast<std::uint8_t>(v)); },
    [](planeinterface& p, std::int32_t v) { p.thrust1(v); },
    [](planeinterface& p, std::int32_t v) { p.thrust2(v); },
    [](planeinterface& p, std::int32_t v) { p.thrust3(v); },
    [](planeinterface& p, std::int32_t v) { p.thrust4(v); },
    [](planeinterface& p, std::int32_t v) { p.gearhandle(v); },
};

}  // namespace

bool AircraftCommands::Empty() const {
    for (const auto& value : values_) {
        if (value)
            return false;
    }
    return !towerLat_ && !towerLon_ && !towerAlt_;
}

void AircraftCommands::ApplyTo(planeinterface& plane) const {
    for (std::size_t i = 0; i < kItemCount; ++i) {
        if (values_[i])
            kWrites[i](plane, *values_[i]);
    }
    if (towerLat_)
        plane.towerlat(*towerLat_);
    if (towerLon_)
        plane.towerlon(*towerLon_);
    if (towerAlt_)
        plane.toweralt(*towerAlt_);
}

}  // namespace corvane::flightstate
