// SPDX-License-Identifier: MIT
//
// Navigation data that a test builds and changes while its program reads it:
// the program holds its data read-only, so the test makes the data and hands
// the program the same object.
#pragma once

#include <memory>

#include "app/startup/Program.h"
#include "navdata/AirportDatabase.h"
#include "navdata/CoastlineData.h"

namespace corvane::testing {

// Gives the program an empty airport database of the test's own and returns
// it; the reference holds while the program keeps that database.
inline navdata::AirportDatabase& OwnAirports(Program& p) {
    auto db = std::make_shared<navdata::AirportDatabase>();
    p.airports = db;
    return *db;
}

// The same for the coastlines.
inline navdata::CoastlineData& OwnCoastlines(Program& p) {
    auto coast = std::make_shared<navdata::CoastlineData>();
    p.coast = coast;
    return *coast;
}

}  // namespace corvane::testing
