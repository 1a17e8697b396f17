// SPDX-License-Identifier: MIT
//
// The plain outgoing items (all but the three tower items) in the order the
// exchange lays them, with their simulator offset, wire size and property.
#pragma once

#include <cstdint>
#include <vector>

#include "app/flightstate/FlightState.h"
#include "app/flightstate/planeinterface.h"

namespace corvane::flightstate::testing {

struct OutgoingItem {
    const char* name;
    std::int32_t offset;
    std::int32_t bytes;
    void (*set)(planeinterface&, std::int32_t);  // the property's write
    std::int32_t FlightState::Outgoing::*value;
    std::int16_t FlightState::*pending;
    bool byteProperty = false;  // the property takes a byte
};

#define CORVANE_ITEM(name, offset, bytes, ...)                                                   \
    OutgoingItem {                                                                               \
#name, offset, bytes,                                                                    \
            [](planeinterface & p, std::int32_t v) { p.name(v); }, &FlightState::Outgoing::name, \
                                                                &FlightState::name##pending,     \
                                                                __VA_ARGS__                      \
    }

inline const std::vector<OutgoingItem>& PlainOutgoingItems() {
    static const std::vector<OutgoingItem> items = {
        CORVANE_ITEM(autocoordinator, 0x0278, 1), CORVANE_ITEM(paused, 0x0264, 1, true),
        CORVANE_ITEM(throttle1, 0x088C, 2),       CORVANE_ITEM(throttle2, 0x0924, 2),
        CORVANE_ITEM(throttle3, 0x09BC, 2),       CORVANE_ITEM(throttle4, 0x0A54, 2),
        CORVANE_ITEM(armspoilers, 0x0BCC, 1),     CORVANE_ITEM(spoilers, 0x0BD0, 2),
        CORVANE_ITEM(flaps, 0x0BDC, 2),           CORVANE_ITEM(leftbrake, 0x0BC4, 2),
        CORVANE_ITEM(rightbrake, 0x0BC6, 2),      CORVANE_ITEM(brakeindicator, 0x0BCA, 2),
        CORVANE_ITEM(parkingbrake, 0x0BC8, 2),    CORVANE_ITEM(airbrake, 0x0BC8, 2),
        CORVANE_ITEM(aileron, 0x0BB6, 4),         CORVANE_ITEM(elevator, 0x0BB2, 4),
        CORVANE_ITEM(rudder, 0x0BBA, 4),          CORVANE_ITEM(apmaster, 0x07BC, 1),
        CORVANE_ITEM(apwinglevel, 0x07C0, 1),     CORVANE_ITEM(apheadinghold, 0x07C8, 1),
        CORVANE_ITEM(apheading, 0x07CC, 4),       CORVANE_ITEM(apalthold, 0x07D0, 1),
        CORVANE_ITEM(apaltitude, 0x07D4, 4),      CORVANE_ITEM(apvertspeed, 0x07F2, 4),
        CORVANE_ITEM(crashing, 0x0830, 1, true),  CORVANE_ITEM(thrust1, 0x08A8, 4),
        CORVANE_ITEM(thrust2, 0x0940, 4),         CORVANE_ITEM(thrust3, 0x09D8, 4),
        CORVANE_ITEM(thrust4, 0x0A70, 4),         CORVANE_ITEM(gearhandle, 0x0BE8, 2),
    };
    return items;
}

#undef CORVANE_ITEM

}  // namespace corvane::flightstate::testing
