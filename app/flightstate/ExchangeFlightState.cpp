// SPDX-License-Identifier: MIT
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <iterator>

#include "app/flightstate/FlightState.h"

namespace corvane::flightstate {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the flight state reads 16-bit simulator values into the low half of its fields");

using Out = FlightState::Outgoing;

// One outgoing item: the simulator offset and wire size, the outgoing value and
// its write request, in the order in which the exchange lays them.
struct WriteItem {
    std::int32_t offset;
    std::int32_t bytes;
    std::int32_t Out::*value;
    std::int16_t FlightState::*pending;
};

constexpr WriteItem kPlainWritesBeforeApAltitude[] = {
    {0x0278, 1, &Out::autocoordinator, &FlightState::autocoordinatorpending},
    {0x0264, 1, &Out::paused, &FlightState::pausedpending},
    {0x088C, 2, &Out::throttle1, &FlightState::throttle1pending},
    {0x0924, 2, &Out::throttle2, &FlightState::throttle2pending},
    {0x09BC, 2, &Out::throttle3, &FlightState::throttle3pending},
    {0x0A54, 2, &Out::throttle4, &FlightState::throttle4pending},
    {0x0BCC, 1, &Out::armspoilers, &FlightState::armspoilerspending},
    {0x0BD0, 2, &Out::spoilers, &FlightState::spoilerspending},
    {0x0BDC, 2, &Out::flaps, &FlightState::flapspending},
    {0x0BC4, 2, &Out::leftbrake, &FlightState::leftbrakepending},
    {0x0BC6, 2, &Out::rightbrake, &FlightState::rightbrakepending},
    {0x0BCA, 2, &Out::brakeindicator, &FlightState::brakeindicatorpending},
    {0x0BC8, 2, &Out::parkingbrake, &FlightState::parkingbrakepending},
    {0x0BC8, 2, &Out::airbrake, &FlightState::airbrakepending},  // same offset, laid second
    {0x0BB6, 4, &Out::aileron, &FlightState::aileronpending},
    {0x0BB2, 4, &Out::elevator, &FlightState::elevatorpending},
    {0x0BBA, 4, &Out::rudder, &FlightState::rudderpending},
    {0x07BC, 1, &Out::apmaster, &FlightState::apmasterpending},
    {0x07C0, 1, &Out::apwinglevel, &FlightState::apwinglevelpending},
    {0x07C8, 1, &Out::apheadinghold, &FlightState::apheadingholdpending},
    {0x07CC, 4, &Out::apheading, &FlightState::apheadingpending},
    {0x07D0, 1, &Out::apalthold, &FlightState::apaltholdpending},
};

constexpr WriteItem kPlainWritesAfterApAltitude[] = {
    {0x07F2, 4, &Out::apvertspeed, &FlightState::apvertspeedpending},
    {0x0830, 1, &Out::crashing, &FlightState::crashingpending},
    {0x08A8, 4, &Out::thrust1, &FlightState::thrust1pending},
    {0x0940, 4, &Out::thrust2, &FlightState::thrust2pending},
    {0x09D8, 4, &Out::thrust3, &FlightState::thrust3pending},
    {0x0A70, 4, &Out::thrust4, &FlightState::thrust4pending},
    {0x0BE8, 2, &Out::gearhandle, &FlightState::gearhandlepending},
};

// Lays one write of the low `bytes` bytes of value (the DWORD request for four).
void LayWrite(SimulatorLink& link, std::int32_t offset, std::int32_t bytes, std::int32_t value) {
    if (bytes == 4) {
        link.rawwriteDWORD(offset, &value);
    } else {
        link.rawwritexbytes(bytes, offset, &value);
    }
}

void LayPendingWrites(FlightState& s, SimulatorLink& link, const WriteItem* items,
                      std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const WriteItem& item = items[i];
        if (s.*item.pending == kRequestClear)
            continue;
        s.*item.pending = kRequestClear;
        LayWrite(link, item.offset, item.bytes, s.out.*item.value);
    }
}

template <typename T>
T FromBlock(const std::uint8_t* block, std::size_t at) {
    T value;
    std::memcpy(&value, block + at, sizeof value);
    return value;
}

}  // namespace

void ExchangeFlightState(FlightState& s, SimulatorLink& link) {
    if (s.simulatorkind != kFs98)
        return;

    s.stallfactor = 0;  // the simulator's value is 16 bits: keep the high half clear
    link.startmessage();

    std::uint8_t unusedByte = 0;
    std::int16_t rawVerticalSpeed = 0;
    std::int32_t rawApAltitude = 0;
    link.rawreadxbytes(4, 0x02A0, &s.magvar);
    link.rawreadxbytes(11, 0x0364, s.statusblock);
    link.rawreadxbytes(36, 0x0560, s.positionblock);
    link.rawreadDWORD(0x0B4C, &s.groundaltitude);
    link.rawreadxbytes(1, 0x0830, &s.crashing);
    link.rawreadxbytes(1, 0x0840, &unusedByte);
    link.rawreadxbytes(2, 0x0842, &rawVerticalSpeed);
    link.rawreadxbytes(1, 0x0264, &s.paused);
    link.rawreadxbytes(4, 0x02B8, &s.trueairspeed);
    link.rawreadxbytes(4, 0x02BC, &s.indicatedairspeed);
    link.rawreadxbytes(2, 0x088C, &s.throttle1);
    link.rawreadxbytes(2, 0x0BE8, &s.gearhandle);
    link.rawreadxbytes(2, 0x0924, &s.throttle2);
    link.rawreadxbytes(2, 0x09BC, &s.throttle3);
    link.rawreadxbytes(2, 0x0A54, &s.throttle4);
    link.rawreadxbytes(2, 0x07BC, &s.apmaster);
    link.rawreadxbytes(2, 0x07D0, &s.apalthold);
    link.rawreadDWORD(0x07D4, &rawApAltitude);
    link.rawreadxbytes(2, 0x07F2, &s.apvertspeed);
    link.rawreadxbytes(2, 0x0B00, &s.enginetype);
    link.rawreadxbytes(2, 0x11BE, &s.stallfactor);

    LayPendingWrites(s, link, kPlainWritesBeforeApAltitude,
                     std::size(kPlainWritesBeforeApAltitude));
    if (s.apaltitudepending != kRequestClear) {
        s.apaltitudepending = kRequestClear;
        // Beyond +-107508 ft the wire value would not fit 32 bits: clamp.
        const std::int32_t feet =
            std::clamp(s.out.apaltitude, -kMaxAutopilotAltitudeFt, kMaxAutopilotAltitudeFt);
        LayWrite(link, 0x07D4, 4, feet * 19975);
    }
    LayPendingWrites(s, link, kPlainWritesAfterApAltitude, std::size(kPlainWritesAfterApAltitude));
    if (s.towerlatpending != kRequestClear) {
        s.towerlatpending = kRequestClear;
        LayWrite(link, 0x0D56, 2, s.out.towerlatupper);
        LayWrite(link, 0x0D52, 4, s.out.towerlatlower);
    }
    if (s.towerlonpending != kRequestClear) {
        s.towerlonpending = kRequestClear;
        LayWrite(link, 0x0D5E, 2, s.out.towerlonwhole);
        LayWrite(link, 0x0D5A, 4, s.out.towerlonfraction);
    }
    if (s.toweraltpending != kRequestClear) {
        s.toweraltpending = kRequestClear;
        LayWrite(link, 0x0D62, 4, s.out.toweralt);
    }

    const bool answered = link.sendmessage() == 1;

    if (answered) {
        // The floor is taken before the sign change: raw 100 gives -328, -100 gives 329.
        s.verticalspeed = -static_cast<std::int32_t>(std::floor(rawVerticalSpeed * 3.2808));
        s.apaltitude = static_cast<std::int32_t>(std::nearbyint(rawApAltitude / 19975.0));
    }
    s.latitudelo = FromBlock<std::uint32_t>(s.positionblock, 0);
    s.latitudehi = FromBlock<std::int32_t>(s.positionblock, 4);
    s.longitudelo = FromBlock<std::uint32_t>(s.positionblock, 8);
    s.longitudehi = FromBlock<std::int32_t>(s.positionblock, 12);
    s.altitude = FromBlock<std::int32_t>(s.positionblock, 20);
    s.heading = FromBlock<std::int32_t>(s.positionblock, 32);
    s.onground = s.statusblock[2];
    s.readings = DecodeReadings(s);
}

}  // namespace corvane::flightstate
