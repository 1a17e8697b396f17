// SPDX-License-Identifier: MIT
//
// The program's one record of simulator variables: readings refreshed by every
// exchange, outgoing values, and a 16-bit write request per outgoing value
// (set is -1, clear is 0). The readings are kept as the wire gives them and,
// decoded once at the end of every exchange, in named units (`readings`), which
// is what the program reads. Writers set an outgoing value and its request
// (normally through planeinterface), and the next exchange sends it. A reading
// does not show a written value until an exchange after the write has read it
// back.
#pragma once

#include <cstdint>

#include "app/flightstate/Readings.h"
#include "ports/SimulatorLink.h"

namespace corvane::flightstate {

struct FlightState {
    // The simulator kind found at start-up; the exchange acts only when it is 2.
    std::int16_t simulatorkind = 0;

    // ---- Readings ---------------------------------------------------------
    std::int32_t magvar = 0;              // x 360 / 65536 degrees; above 180 taken minus 360
    std::uint8_t statusblock[11] = {};    // from 0x0364; only onground (0x0366) is used
    std::uint8_t positionblock[36] = {};  // from 0x0560; split after each exchange
    std::int32_t groundaltitude = 0;      // ground elevation under the aircraft, whole metres
    std::uint8_t crashing = 0;            // the simulator's crash setting
    // Feet per minute, positive up: -floor(raw x 3.2808) from the simulator's
    // metres per minute (positive down). Held in 32 bits: a raw value beyond
    // about +-9987 m/min does not fit the 16 bits the simulator reports in.
    std::int32_t verticalspeed = 0;
    std::uint8_t paused = 0;
    std::int32_t trueairspeed = 0;       // knots x 128
    std::int32_t indicatedairspeed = 0;  // knots x 128
    // 16-bit simulator values read into the low half of 32-bit fields; the high
    // half is never written, so these hold the unsigned wire value (0..65535).
    std::int32_t throttle1 = 0;
    std::int32_t throttle2 = 0;
    std::int32_t throttle3 = 0;
    std::int32_t throttle4 = 0;
    std::int32_t gearhandle = 0;
    std::int32_t apalthold = 0;
    std::int32_t stallfactor = 0;  // cleared before each exchange, then the 16-bit value
    std::int16_t apmaster = 0;
    std::int32_t apaltitude = 0;   // feet (the simulator's value / 19975, rounded)
    std::int16_t apvertspeed = 0;  // feet per minute
    std::int16_t enginetype = 0;
    // From the position block:
    std::uint32_t latitudelo = 0;  // low 32 bits of the 64-bit latitude (readers take it signed)
    std::int32_t latitudehi = 0;   // degrees = (hi + lo / 2^32) x 45 / 5000875
    std::uint32_t longitudelo = 0;
    std::int32_t longitudehi = 0;  // degrees = (hi + lo / 2^32) x 90 / 1073741824
    std::int32_t altitude = 0;     // whole metres above sea level
    std::int32_t heading = 0;      // true heading x 2^32 / 360 (plus 360 when negative)
    // From the status block:
    std::uint8_t onground = 0;  // 1 on the ground

    // The readings above in named units, as the last exchange decoded them.
    Readings readings;

    // ---- Outgoing values (32-bit; the wire takes the low bytes) -------------
    struct Outgoing {
        std::int32_t autocoordinator = 0;
        std::int32_t paused = 0;
        std::int32_t throttle1 = 0;
        std::int32_t throttle2 = 0;
        std::int32_t throttle3 = 0;
        std::int32_t throttle4 = 0;
        std::int32_t armspoilers = 0;
        std::int32_t spoilers = 0;
        std::int32_t flaps = 0;
        std::int32_t leftbrake = 0;
        std::int32_t rightbrake = 0;
        std::int32_t brakeindicator = 0;
        std::int32_t parkingbrake = 0;
        std::int32_t airbrake = 0;
        std::int32_t aileron = 0;
        std::int32_t elevator = 0;
        std::int32_t rudder = 0;
        std::int32_t apmaster = 0;
        std::int32_t apwinglevel = 0;
        std::int32_t apheadinghold = 0;
        std::int32_t apheading = 0;
        std::int32_t apalthold = 0;
        std::int32_t apaltitude = 0;  // feet; sent as feet x 19975
        std::int32_t apvertspeed = 0;
        std::int32_t crashing = 0;
        std::int32_t thrust1 = 0;
        std::int32_t thrust2 = 0;
        std::int32_t thrust3 = 0;
        std::int32_t thrust4 = 0;
        std::int32_t gearhandle = 0;
        std::int32_t towerlatupper = 0;     // upper 16 bits of the 48-bit tower latitude
        std::int32_t towerlatlower = 0;     // lower 32 bits
        std::int32_t towerlonwhole = 0;     // whole part of the tower longitude
        std::int32_t towerlonfraction = 0;  // fraction part
        std::int32_t toweralt = 0;          // tower altitude, feet x 19975
    } out;

    // ---- Write requests (-1 set, 0 clear) ------------------------------------
    std::int16_t autocoordinatorpending = 0;
    std::int16_t pausedpending = 0;
    std::int16_t throttle1pending = 0;
    std::int16_t throttle2pending = 0;
    std::int16_t throttle3pending = 0;
    std::int16_t throttle4pending = 0;
    std::int16_t armspoilerspending = 0;
    std::int16_t spoilerspending = 0;
    std::int16_t flapspending = 0;
    std::int16_t leftbrakepending = 0;
    std::int16_t rightbrakepending = 0;
    std::int16_t brakeindicatorpending = 0;
    std::int16_t parkingbrakepending = 0;
    std::int16_t airbrakepending = 0;
    std::int16_t aileronpending = 0;
    std::int16_t elevatorpending = 0;
    std::int16_t rudderpending = 0;
    std::int16_t apmasterpending = 0;
    std::int16_t apwinglevelpending = 0;
    std::int16_t apheadingholdpending = 0;
    std::int16_t apheadingpending = 0;
    std::int16_t apaltholdpending = 0;
    std::int16_t apaltitudepending = 0;
    std::int16_t apvertspeedpending = 0;
    std::int16_t crashingpending = 0;
    std::int16_t thrust1pending = 0;
    std::int16_t thrust2pending = 0;
    std::int16_t thrust3pending = 0;
    std::int16_t thrust4pending = 0;
    std::int16_t gearhandlepending = 0;
    std::int16_t towerlatpending = 0;
    std::int16_t towerlonpending = 0;
    std::int16_t toweraltpending = 0;
};

constexpr std::int16_t kRequestSet = -1;
constexpr std::int16_t kRequestClear = 0;

// The largest autopilot altitude, in feet, whose wire value (feet x 19975)
// fits a signed 32-bit integer; outgoing values beyond it are clamped.
constexpr std::int32_t kMaxAutopilotAltitudeFt = 107508;

// One exchange with the simulator: lays the fixed read requests and one write
// request for every set write request (clearing it), sends the batch, then
// converts the readings and decodes them into `readings`. Does nothing unless
// simulatorkind is 2.
//
// After a send that failed, verticalspeed and apaltitude keep their last good
// values (they are not converted again from data that did not arrive).
void ExchangeFlightState(FlightState& state, SimulatorLink& link);

}  // namespace corvane::flightstate
