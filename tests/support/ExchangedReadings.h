// SPDX-License-Identifier: MIT
//
// The tests write the flight-state record's wire values directly; the program
// reads the readings an exchange decodes from them. These give a test the
// readings an exchange would have left: decoded while the simulator is linked,
// all zero while it is not (no exchange runs then).
#pragma once

#include "app/flightstate/FlightState.h"
#include "app/flightstate/Readings.h"

namespace corvane::testing {

inline flightstate::Readings ReadingsOf(const flightstate::FlightState& s) {
    return s.simulatorkind == flightstate::kFs98 ? flightstate::DecodeReadings(s)
                                                 : flightstate::Readings{};
}

// Decodes the record's wire values into its readings, as an exchange does.
inline void DecodeAsExchanged(flightstate::FlightState& s) {
    s.readings = ReadingsOf(s);
}

}  // namespace corvane::testing
