// SPDX-License-Identifier: MIT
#include "sim/inprocess/AirportLookup.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace corvane::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 20003500.0 / 180.0;

std::string Trimmed(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    return std::string(text.substr(b, e - b));
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

double BearingDeg(double lat1, double lon1, double lat2, double lon2) {
    double dLon = lon2 - lon1;
    if (dLon > 180.0)
        dLon -= 360.0;
    if (dLon < -180.0)
        dLon += 360.0;
    const double dy = lat2 - lat1;
    const double dx = dLon * std::cos(0.5 * (lat1 + lat2) * kPi / 180.0);
    double b = std::atan2(dx, dy) * 180.0 / kPi;
    return b < 0.0 ? b + 360.0 : b;
}

double DistanceM(double lat1, double lon1, double lat2, double lon2) {
    double dLon = lon2 - lon1;
    if (dLon > 180.0)
        dLon -= 360.0;
    if (dLon < -180.0)
        dLon += 360.0;
    const double dy = (lat2 - lat1) * kMetresPerDegree;
    const double dx = dLon * kMetresPerDegree * std::cos(0.5 * (lat1 + lat2) * kPi / 180.0);
    return std::hypot(dx, dy);
}

// Runway number and side (0 none, 64 L, 128 R, 192 C) of a designator; -1
// when it is not one.
int ParseDesignator(std::string_view text) {
    const std::string d = Trimmed(text);
    std::size_t i = 0;
    int number = 0;
    while (i < d.size() && i < 2 && std::isdigit(static_cast<unsigned char>(d[i]))) {
        number = number * 10 + (d[i] - '0');
        ++i;
    }
    if (i == 0 || number > 36)
        return -1;
    int side = 0;
    if (i < d.size()) {
        switch (std::toupper(static_cast<unsigned char>(d[i]))) {
            case 'L':
                side = 64;
                break;
            case 'R':
                side = 128;
                break;
            case 'C':
                side = 192;
                break;
            default:
                return -1;
        }
        ++i;
    }
    return i == d.size() ? number + side : -1;
}

RunwayDirection MakeDirection(const navdata::RunwayRecord& r, int record, bool directionA) {
    RunwayDirection d;
    d.runwayRecord = record;
    d.directionA = directionA;
    d.designator = RunwayDesignator(directionA ? r.codeA : r.codeB);
    const double lat0 = directionA ? r.latitudeA : r.latitudeB;
    const double lon0 = directionA ? r.longitudeA : r.longitudeB;
    const double lat1 = directionA ? r.latitudeB : r.latitudeA;
    const double lon1 = directionA ? r.longitudeB : r.longitudeA;
    d.start = RunwayStart{lat0, lon0, lat1, lon1};
    d.headingTrueDeg = BearingDeg(lat0, lon0, lat1, lon1);
    d.elevationM = directionA ? r.elevationA : r.elevationB;
    d.lengthFt = r.lengthFeet > 0 ? r.lengthFeet : DistanceM(lat0, lon0, lat1, lon1) / 0.3048;
    return d;
}

}  // namespace

TerrainInput TerrainInputFromDatabase(const navdata::AirportDatabase& db) {
    TerrainInput input;
    const int airports = std::min<int>(db.AirportCount, static_cast<int>(db.Airports.size()) - 1);
    input.airports.reserve(static_cast<std::size_t>(std::max(airports, 0)));
    for (int i = 1; i <= airports; ++i) {
        const navdata::AirportRecord& a = db.Airports[static_cast<std::size_t>(i)];
        input.airports.push_back({a.latitude, a.longitude, static_cast<double>(a.elevation)});
    }
    const int runways = std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
    input.runways.reserve(static_cast<std::size_t>(std::max(runways, 0)));
    for (int i = 1; i <= runways; ++i) {
        const navdata::RunwayRecord& r = db.Runways[static_cast<std::size_t>(i)];
        // A runway of no airport gets an index past the list: the field leaves it out.
        const std::size_t airport = r.airportNumber >= 1
                                        ? static_cast<std::size_t>(r.airportNumber - 1)
                                        : input.airports.size() + 1;
        input.runways.push_back({airport, r.latitudeA, r.longitudeA,
                                 static_cast<double>(r.elevationA), r.latitudeB, r.longitudeB,
                                 static_cast<double>(r.elevationB)});
    }
    return input;
}

std::string AirportIcao(const navdata::AirportRecord& airport) {
    const std::size_t open = airport.name.rfind('(');
    const std::size_t close = airport.name.rfind(')');
    if (open != std::string::npos && close != std::string::npos && close > open + 1) {
        return Trimmed(std::string_view(airport.name).substr(open + 1, close - open - 1));
    }
    return Trimmed(airport.remark);
}

int FindAirportByIcao(const navdata::AirportDatabase& db, std::string_view icao) {
    const std::string code = Trimmed(icao);
    if (code.empty())
        return 0;
    const int count = std::min<int>(db.AirportCount, static_cast<int>(db.Airports.size()) - 1);
    for (int i = 1; i <= count; ++i) {
        if (SameText(AirportIcao(db.Airports[static_cast<std::size_t>(i)]), code))
            return i;
    }
    for (int i = 1; i <= count; ++i) {
        if (SameText(Trimmed(db.Airports[static_cast<std::size_t>(i)].remark), code))
            return i;
    }
    return 0;
}

std::string RunwayDesignator(int code) {
    static const char* const kSides[] = {"", "L", "R", "C"};
    char text[8];
    std::snprintf(text, sizeof text, "%02d%s", (code & 63) % 100, kSides[(code >> 6) & 3]);
    return text;
}

std::vector<RunwayDirection> RunwayDirections(const navdata::AirportDatabase& db, int airport) {
    std::vector<RunwayDirection> directions;
    const int count = std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
    for (int i = 1; i <= count && airport > 0; ++i) {
        const navdata::RunwayRecord& r = db.Runways[static_cast<std::size_t>(i)];
        if (r.airportNumber != airport)
            continue;
        directions.push_back(MakeDirection(r, i, true));
        directions.push_back(MakeDirection(r, i, false));
    }
    return directions;
}

std::vector<std::vector<RunwayDirection>> RunwayDirectionsOfEveryAirport(
    const navdata::AirportDatabase& db) {
    const int airports = std::min<int>(db.AirportCount, static_cast<int>(db.Airports.size()) - 1);
    std::vector<std::vector<RunwayDirection>> byAirport(
        static_cast<std::size_t>(std::max(airports, 0)) + 1);
    const int count = std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
    for (int i = 1; i <= count; ++i) {
        const navdata::RunwayRecord& r = db.Runways[static_cast<std::size_t>(i)];
        if (r.airportNumber < 1 || r.airportNumber > airports)
            continue;
        auto& directions = byAirport[static_cast<std::size_t>(r.airportNumber)];
        directions.push_back(MakeDirection(r, i, true));
        directions.push_back(MakeDirection(r, i, false));
    }
    return byAirport;
}

std::optional<RunwayDirection> FindRunwayDirection(const navdata::AirportDatabase& db, int airport,
                                                   std::string_view designator) {
    const int wanted = ParseDesignator(designator);
    if (wanted < 0)
        return std::nullopt;
    for (const RunwayDirection& d : RunwayDirections(db, airport)) {
        if (ParseDesignator(d.designator) == wanted)
            return d;
    }
    return std::nullopt;
}

std::optional<RunwayDirection> PreferredRunwayDirection(const navdata::AirportDatabase& db,
                                                        int airport, double windFromDeg,
                                                        double windSpeedKt) {
    const std::vector<RunwayDirection> all = RunwayDirections(db, airport);
    double longestFt = 0.0;
    for (const RunwayDirection& d : all)
        longestFt = std::max(longestFt, d.lengthFt);
    std::optional<RunwayDirection> best;
    double bestHeadwind = 0.0;
    for (const RunwayDirection& d : all) {
        if (d.lengthFt < 0.9 * longestFt)
            continue;
        const double headwind =
            windSpeedKt * std::cos((windFromDeg - d.headingTrueDeg) * kPi / 180.0);
        if (!best || headwind > bestHeadwind + 1e-9) {
            best = d;
            bestHeadwind = headwind;
        }
    }
    return best;
}

}  // namespace corvane::sim
