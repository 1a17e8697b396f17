// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::navdata {

/// Highest record count of a kind: counts are i16 and the arrays hold count + 2 elements.
inline constexpr int MaxRecordCount = 32766;
/// Number of 0.2-degree longitude bands (and entries of each longitude index).
inline constexpr int LonIndexSize = 1801;
/// Number of texts in the file's header.
inline constexpr int HeaderTextCount = 255;

/// 16-bit Booleans of the file: -1 true, 0 false.
inline constexpr std::int16_t FileTrue = -1;
inline constexpr std::int16_t FileFalse = 0;

/// Runway code flags added to the runway number.
inline constexpr int RunwayCodeLeft = 64;
inline constexpr int RunwayCodeRight = 128;
inline constexpr int RunwayCodeCentre = 192;

/// Runway surface codes.
enum class RunwaySurface : std::uint8_t {
    Grass = 0,
    Concrete = 1,
    Asphalt = 2,
    Grass2 = 3,
    Dirt = 4
};

/// One airport. Positions in decimal degrees, north and east positive.
struct AirportRecord {
    std::int16_t tag = 0;   ///< not used by the program
    std::string name;       ///< plain text (stored scrambled); "Name (ICAO)"
    double latitude = 0.0;  ///< airport reference point
    double longitude = 0.0;
    std::int16_t elevation = 0;  ///< metres above sea level
    std::int16_t hasFuel = 0;    ///< 16-bit Boolean; only -1 counts as true
    double fuelLatitude = 0.0;   ///< fuel point, meaningful when hasFuel is -1
    double fuelLongitude = 0.0;
    std::string remark;           ///< not used by the program; our files hold the ICAO code
    std::int16_t atisNumber = 0;  ///< ATIS record number, 0 = none

    bool FuelAvailable() const { return hasFuel == FileTrue; }
    bool operator==(const AirportRecord&) const = default;
};

/// One runway strip with its two landing directions A and B. A landing in direction A runs
/// from the end A threshold towards the end B threshold.
struct RunwayRecord {
    std::int16_t tag = 0;
    std::int16_t airportNumber = 0;  ///< record number of the airport
    std::uint8_t codeA = 0;          ///< runway number + 64 L, + 128 R, + 192 C
    std::uint8_t codeB = 0;
    double latitudeA = 0.0;  ///< threshold of end A (touchdown end for direction A)
    double longitudeA = 0.0;
    std::int16_t elevationA = 0;  ///< metres
    double latitudeB = 0.0;
    double longitudeB = 0.0;
    std::int16_t elevationB = 0;
    std::uint8_t surface = 0;  ///< RunwaySurface code 0..4
    std::int16_t lengthFeet = 0;
    std::int16_t widthFeet = 0;
    std::int16_t ilsA = 0;  ///< ILS record number serving direction A, 0 = none
    std::int16_t ilsB = 0;

    bool operator==(const RunwayRecord&) const = default;
};

/// One ATIS transmitter.
struct AtisRecord {
    std::int16_t tag = 0;
    double frequency = 0.0;  ///< MHz
    double latitude = 0.0;
    double longitude = 0.0;
    double spare1 = 0.0;
    std::int16_t spare2 = 0;
    std::string text1;  ///< not used by the program; our files hold the station's name
    std::string text2;  ///< not used by the program; our files hold the airport's ICAO code
    std::string text3;
    std::string text4;

    bool operator==(const AtisRecord&) const = default;
};

/// One ILS (localizer with its glide slope).
struct IlsRecord {
    std::int16_t tag = 0;
    std::string name;        ///< plain text (stored scrambled)
    std::string ident;       ///< plain text (stored scrambled)
    double frequency = 0.0;  ///< MHz
    double spare1 = 0.0;
    double spare2 = 0.0;
    std::int16_t approachHeading = 0;  ///< approach course, degrees true
    std::uint8_t rangeKm = 0;
    double glideSlopeLatitude = 0.0;
    double glideSlopeLongitude = 0.0;
    double glideSlopeAltitude = 0.0;  ///< metres

    bool operator==(const IlsRecord&) const = default;
};

/// One VOR. The map names it "VOR - " + label1 + " - " + label2.
struct VorRecord {
    std::int16_t tag = 0;
    std::string label1;  ///< plain text (stored scrambled)
    std::string label2;  ///< plain text (stored scrambled)
    double latitude = 0.0;
    double longitude = 0.0;
    std::array<std::uint8_t, 2> spare1{};
    std::array<std::uint8_t, 9> spare2{};
    std::array<std::uint8_t, 2> spare3{};

    bool operator==(const VorRecord&) const = default;
};

/// One NDB. The map names it "NDB - " + label1 + " - " + label2.
struct NdbRecord {
    std::int16_t tag = 0;
    std::string label1;  ///< plain text (stored scrambled)
    std::string label2;  ///< plain text (stored scrambled)
    double latitude = 0.0;
    double longitude = 0.0;
    std::array<std::uint8_t, 2> spare1{};
    std::array<std::uint8_t, 1> spare2{};
    std::array<std::uint8_t, 8> spare3{};

    bool operator==(const NdbRecord&) const = default;
};

using LonIndex = std::array<std::int16_t, LonIndexSize>;

/// The airport database as read from airdata.tri. Each array has elements 0 to count + 1;
/// records 1 to count hold the file's records in file order, so a record number is the array
/// index; elements 0 and count + 1 stay empty. Airports, VORs and NDBs are in order of
/// increasing longitude and each longitude index entry k holds a record number at the boundary
/// of band k = floor((longitude + 180) * 5) (see LonIndexWalk.h).
struct AirportDatabase {
    std::vector<std::string> headerTexts;  ///< the file's 255 header texts, as stored

    std::int16_t AirportCount = 0;
    std::int16_t RunwayCount = 0;
    std::int16_t AtisCount = 0;
    std::int16_t IlsCount = 0;
    std::int16_t VorCount = 0;
    std::int16_t NdbCount = 0;

    std::vector<AirportRecord> Airports = std::vector<AirportRecord>(2);
    std::vector<RunwayRecord> Runways = std::vector<RunwayRecord>(2);
    std::vector<AtisRecord> AtisStations = std::vector<AtisRecord>(2);
    std::vector<IlsRecord> IlsStations = std::vector<IlsRecord>(2);
    std::vector<VorRecord> Vors = std::vector<VorRecord>(2);
    std::vector<NdbRecord> Ndbs = std::vector<NdbRecord>(2);

    LonIndex AirportLonIndex{};
    LonIndex VorLonIndex{};
    LonIndex NdbLonIndex{};

    bool operator==(const AirportDatabase&) const = default;
};

}  // namespace corvane::navdata
