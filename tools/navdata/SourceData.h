// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane::navdata::convert {

/// A position in decimal degrees, north and east positive.
struct GeoPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

/// One end of an apt.dat land runway (row 100).
struct SourceRunwayEnd {
    std::string designator;  ///< as written, e.g. "09L"
    GeoPoint position;       ///< the end of the paved strip
    double displacedThresholdMetres = 0.0;
};

/// One apt.dat land runway (row 100).
struct SourceRunway {
    double widthMetres = 0.0;
    int surface = 0;  ///< apt.dat surface code
    SourceRunwayEnd ends[2];
    long line = 0;
};

/// One apt.dat ATIS, AWOS or ASOS frequency (row 50).
struct SourceAtis {
    double frequencyMhz = 0.0;
    std::string name;
};

/// One apt.dat land airport (row 1) with the rows that follow it.
struct SourceAirport {
    std::string icao;
    std::string name;  ///< as written (not yet turned into ANSI text)
    double elevationFeet = 0.0;
    bool hasTower = false;
    std::vector<SourceRunway> runways;
    std::optional<GeoPoint> towerViewpoint;  ///< row 14
    std::optional<GeoPoint> firstStart;      ///< first row 15 (ramp start) or 1300 (start)
    std::vector<SourceAtis> atis;
    long line = 0;
};

/// What an apt.dat file holds for the converter, with the rows it set aside.
struct AptDatContents {
    int version = 0;
    std::string versionLine;
    std::vector<SourceAirport> airports;
    long seaplaneBases = 0;    ///< row 16 headers (not land airports)
    long heliports = 0;        ///< row 17 headers (not land airports)
    long waterRunways = 0;     ///< row 101
    long helipads = 0;         ///< row 102
    long skippedAirports = 0;  ///< land airports whose header line was malformed
};

/// One nav.dat NDB (row 2) or VOR (row 3).
struct SourceBeacon {
    int row = 0;
    GeoPoint position;
    double frequency = 0.0;  ///< kHz for an NDB, MHz x 100 for a VOR
    double rangeNm = 0.0;
    std::string ident;
    std::string name;
    long line = 0;
};

/// One nav.dat localizer (row 4 with glide slope, row 5 localizer only) or glide slope (row 6).
struct SourceIlsPart {
    int row = 0;
    GeoPoint position;
    double elevationFeet = 0.0;
    double frequency = 0.0;  ///< MHz x 100
    double rangeNm = 0.0;
    double course = 0.0;  ///< degrees true (row 6: angle x 100000 + course)
    std::string ident;
    std::string airport;
    std::string runway;
    std::string name;
    long line = 0;
};

/// What a nav.dat file holds for the converter.
struct NavDatContents {
    int version = 0;
    std::string versionLine;
    std::vector<SourceBeacon> ndbs;
    std::vector<SourceBeacon> vors;
    std::vector<SourceIlsPart> localizers;
    std::vector<SourceIlsPart> glideSlopes;
    long otherRows = 0;  ///< markers, DMEs and other rows the files have no place for
};

}  // namespace corvane::navdata::convert
