// SPDX-License-Identifier: MIT
//
// A small airport database for the stand-in simulator's tests: a high airport
// with two runways (one a parallel-runway designator), a low one, and one
// whose name has no code in brackets (its remark holds the code).
#pragma once

#include <string>
#include <vector>

#include "navdata/AirportDatabase.h"
#include "navdata/LonIndexWalk.h"

namespace corvane::sim::test {

inline navdata::AirportRecord Airport(const std::string& name, double lat, double lon,
                                      int elevationM, const std::string& remark = "") {
    navdata::AirportRecord a;
    a.name = name;
    a.latitude = lat;
    a.longitude = lon;
    a.elevation = static_cast<std::int16_t>(elevationM);
    a.remark = remark;
    return a;
}

inline navdata::RunwayRecord Runway(int airport, int codeA, int codeB, double latA, double lonA,
                                    double latB, double lonB, int elevationM, int lengthFeet) {
    navdata::RunwayRecord r;
    r.airportNumber = static_cast<std::int16_t>(airport);
    r.codeA = static_cast<std::uint8_t>(codeA);
    r.codeB = static_cast<std::uint8_t>(codeB);
    r.latitudeA = latA;
    r.longitudeA = lonA;
    r.latitudeB = latB;
    r.longitudeB = lonB;
    r.elevationA = r.elevationB = static_cast<std::int16_t>(elevationM);
    r.lengthFeet = static_cast<std::int16_t>(lengthFeet);
    return r;
}

// Airports in longitude order: 1 Test Plateau (KTPX), 1650 m; 2 Seaside Field
// (EGTS), 10 m; 3 "Old Strip" with remark XOLD, 300 m.
inline navdata::AirportDatabase TestDatabase() {
    navdata::AirportDatabase db;
    const std::vector<navdata::AirportRecord> airports = {
        Airport("Test Plateau (KTPX)", 39.815, -104.70, 1650),
        Airport("Seaside Field (EGTS)", 50.0, -1.0, 10),
        Airport("Old Strip", 45.0, 7.0, 300, "XOLD"),
    };
    const std::vector<navdata::RunwayRecord> runways = {
        // 17R/35L, 3.3 km north-south; 08/26 east-west, 2.5 km.
        Runway(1, 17 + navdata::RunwayCodeRight, 35 + navdata::RunwayCodeLeft, 39.83, -104.70,
               39.80, -104.70, 1650, 10900),
        Runway(1, 8, 26, 39.815, -104.715, 39.815, -104.685, 1650, 8400),
        Runway(2, 9, 27, 50.0, -1.01, 50.0, -0.99, 10, 4700),
    };
    db.AirportCount = static_cast<std::int16_t>(airports.size());
    db.Airports.assign(1, {});
    db.Airports.insert(db.Airports.end(), airports.begin(), airports.end());
    db.Airports.push_back({});
    db.RunwayCount = static_cast<std::int16_t>(runways.size());
    db.Runways.assign(1, {});
    db.Runways.insert(db.Runways.end(), runways.begin(), runways.end());
    db.Runways.push_back({});
    std::vector<double> longitudes;
    for (const auto& a : airports)
        longitudes.push_back(a.longitude);
    db.AirportLonIndex = navdata::BuildLonIndex(longitudes);
    db.headerTexts.assign(navdata::HeaderTextCount, "");
    return db;
}

}  // namespace corvane::sim::test
