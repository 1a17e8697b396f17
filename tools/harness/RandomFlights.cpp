// SPDX-License-Identifier: MIT
#include "tools/harness/RandomFlights.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include "sim/physics/Units.h"
#include "tools/harness/Destination.h"

namespace corvane::harness {

namespace {

namespace units = sim::units;

// SplitMix64: a small generator whose every output is fixed by its seed.
class Draw {
  public:
    explicit Draw(std::uint64_t state) : state_(state) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // [0, 1)
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    // A whole number from 0 to n - 1.
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Unit() * double(n)); }

  private:
    std::uint64_t state_;
};

double Round(double value, double step) {
    return std::round(value / step) * step;
}

// The code between the last brackets of the name: what the pilot types and
// the text of the airport's line.
std::string BracketedCode(const std::string& name) {
    const std::size_t open = name.rfind('(');
    const std::size_t close = name.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open + 4 ||
        close > open + 5)
        return {};
    const std::string code = name.substr(open + 1, close - open - 1);
    for (char c : code) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return {};
    }
    return code;
}

// Threshold to far end on the sphere, feet: the length the landing has (the
// listed length can include stopways and displaced thresholds).
double EndToEndFt(const sim::RunwayStart& r) {
    const double lat1 = r.thresholdLatitudeDeg * units::kDegToRad;
    const double lat2 = r.farEndLatitudeDeg * units::kDegToRad;
    const double dLat = lat2 - lat1;
    const double dLon = (r.farEndLongitudeDeg - r.thresholdLongitudeDeg) * units::kDegToRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * units::kEarthRadiusM * std::asin(std::min(1.0, std::sqrt(h))) *
           units::kFeetPerMetre;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

double CrosswindKt(double windFromDeg, double windKt, double runwayHeadingDeg) {
    return std::abs(windKt * std::sin((windFromDeg - runwayHeadingDeg) * units::kDegToRad));
}

double HeadwindKt(double windFromDeg, double windKt, double runwayHeadingDeg) {
    return windKt * std::cos((windFromDeg - runwayHeadingDeg) * units::kDegToRad);
}

RandomFlightPool MakeRandomFlightPool(const navdata::AirportDatabase& db,
                                      const RandomFlightRanges& ranges) {
    RandomFlightPool pool;
    pool.searchIndex = std::make_shared<const airports::AirportSearchIndex>(db);
    const auto directionsOf = sim::RunwayDirectionsOfEveryAirport(db);
    const int count = std::min<int>(db.AirportCount, static_cast<int>(db.Airports.size()) - 1);
    for (int i = 1; i <= count; ++i) {
        const navdata::AirportRecord& a = db.Airports[std::size_t(i)];
        // The search leaves out airports at latitude or longitude exactly 0.
        if (a.latitude == 0.0 || a.longitude == 0.0)
            continue;
        RandomFlightPool::Airport airport;
        airport.record = i;
        airport.icao = BracketedCode(a.name);
        airport.elevationFt = a.elevation * units::kFeetPerMetre;
        if (airport.icao.empty())
            continue;
        const std::vector<sim::RunwayDirection>& all = directionsOf[std::size_t(i)];
        for (const sim::RunwayDirection& d : all) {
            const navdata::RunwayRecord& r = db.Runways[std::size_t(d.runwayRecord)];
            const auto surface = static_cast<navdata::RunwaySurface>(r.surface);
            const bool paved = surface == navdata::RunwaySurface::Concrete ||
                               surface == navdata::RunwaySurface::Asphalt;
            // The line is chosen by its designator: it must name one line only.
            const auto same = std::count_if(all.begin(), all.end(), [&](const auto& other) {
                return NormalisedDesignator(other.designator) == NormalisedDesignator(d.designator);
            });
            if (paved && same == 1 && d.lengthFt >= ranges.minRunwayLengthFt &&
                EndToEndFt(d.start) >= ranges.minRunwayLengthFt &&
                r.lengthFeet >= ranges.minRunwayLengthFt && r.widthFeet >= ranges.minRunwayWidthFt)
                airport.directions.push_back(d);
        }
        if (airport.directions.empty())
            continue;
        pool.directions += static_cast<int>(airport.directions.size());
        pool.airports.push_back(std::move(airport));
    }
    return pool;
}

Scenario DrawRandomFlight(const navdata::AirportDatabase& db, const RandomFlightPool& pool,
                          const sim::Terrain* terrain, std::uint64_t seed, int index,
                          const RandomFlightRanges& r) {
    if (pool.airports.empty())
        throw ScenarioError("the database holds no airport for random flights (a paved runway of " +
                            std::to_string(int(r.minRunwayLengthFt)) + " ft or more)");
    // Each flight has a generator of its own, so flight i does not depend on
    // how many flights are drawn.
    Draw start(seed * 0xD1B54A32D192ED03ull + static_cast<std::uint64_t>(index));
    Draw draw(start.Next());
    for (int attempt = 0; attempt < 200; ++attempt) {
        const RandomFlightPool::Airport& a = pool.airports[draw.Below(pool.airports.size())];
        const sim::RunwayDirection& d = a.directions[draw.Below(a.directions.size())];

        Scenario s;
        s.aircraft = r.aircraft;
        s.searchText = a.icao;
        s.airportLine.text = "(" + a.icao + ")";
        s.runwayLine.text = NormalisedDesignator(d.designator);
        s.tags = {"random"};

        StartState& st = s.start;
        st.kind = StartState::Kind::Air;
        st.bearingDeg = units::Wrap360(Round(draw.Between(0.0, 360.0), 1.0));
        st.distanceNm = Round(draw.Between(r.minDistanceNm, r.maxDistanceNm), 0.1);
        const double height = Round(draw.Between(r.minHeightFt, r.maxHeightFt), 100.0);
        st.headingDeg = units::Wrap360(Round(
            st.bearingDeg + 180.0 + draw.Between(-r.maxHeadingOffDeg, r.maxHeadingOffDeg), 1.0));
        st.iasKt = Round(draw.Between(r.minIasKt, r.maxIasKt), 1.0);
        double altitude = a.elevationFt + height;
        if (terrain != nullptr) {
            const navdata::AirportRecord& rec = db.Airports[std::size_t(a.record)];
            double lat = 0.0;
            double lon = 0.0;
            PointAt(rec.latitude, rec.longitude, st.bearingDeg, st.distanceNm * units::kMetresPerNm,
                    &lat, &lon);
            altitude = std::max(
                altitude, terrain->ElevationM(lat, lon) * units::kFeetPerMetre + r.minClearanceFt);
        }
        st.altitudeFt = std::min(std::ceil(altitude / 100.0) * 100.0, 45000.0);

        // A wind the aircraft may land in: drawn until it is within the limits.
        do {
            s.windFromDeg = units::Wrap360(Round(draw.Between(0.0, 360.0), 1.0));
            s.windSpeedKt = Round(draw.Between(0.0, r.maxWindKt), 0.1);
        } while (CrosswindKt(s.windFromDeg, s.windSpeedKt, d.headingTrueDeg) > r.maxCrosswindKt ||
                 -HeadwindKt(s.windFromDeg, s.windSpeedKt, d.headingTrueDeg) > r.maxTailwindKt);
        s.windGradient = true;
        s.turbulence = static_cast<sim::TurbulenceLevel>(draw.Below(3));
        s.turbulenceSeed = draw.Next() >> 32;

        char name[96];
        std::snprintf(name, sizeof name, "r%llu-%04d-%s-%s", static_cast<unsigned long long>(seed),
                      index, Lower(a.icao).c_str(), Lower(s.runwayLine.text).c_str());
        s.name = name;
        s.file = s.name + ".json";
        char description[200];
        std::snprintf(description, sizeof description,
                      "random flight %d of seed %llu: %s %s from %.1f nm at %.0f deg, wind "
                      "%.0f/%.1f kt, turbulence %s",
                      index, static_cast<unsigned long long>(seed), a.icao.c_str(),
                      s.runwayLine.text.c_str(), st.distanceNm, st.bearingDeg, s.windFromDeg,
                      s.windSpeedKt, sim::TurbulenceLevelName(s.turbulence));
        s.description = description;

        // Keep it only when the program's search and runway list lead to it.
        try {
            const Destination found = ResolveDestination(db, s, pool.searchIndex.get());
            const int wanted = d.directionA ? d.runwayRecord : -d.runwayRecord;
            if (found.airport == a.record && found.runwayChoice == wanted) {
                s.resolved = std::make_shared<const Destination>(found);
                return s;
            }
        } catch (const ScenarioError&) {
        }
    }
    throw ScenarioError("random flight " + std::to_string(index) +
                        ": no destination the program's search finds after 200 draws");
}

RandomFlightRanges SingleRanges() {
    RandomFlightRanges r;
    r.aircraft = "single";
    // Three times its landing distance over a 50 ft screen, and wide enough
    // to keep the centre-line limit (half the width less 5 m) above 4 m.
    r.minRunwayLengthFt = 3000.0;
    r.minRunwayWidthFt = 60.0;
    r.minDistanceNm = 5.0;
    r.maxDistanceNm = 30.0;
    r.minHeightFt = 2000.0;
    r.maxHeightFt = 8000.0;
    r.minClearanceFt = 1500.0;
    r.minIasKt = 80.0;
    r.maxIasKt = 110.0;
    return r;
}

RandomFleet StandInFleet(const navdata::AirportDatabase& db) {
    RandomFleet fleet;
    for (const RandomFlightRanges& ranges : {RandomFlightRanges{}, SingleRanges()})
        fleet.members.push_back({ranges, MakeRandomFlightPool(db, ranges), 0.5});
    return fleet;
}

Scenario DrawFleetFlight(const navdata::AirportDatabase& db, const RandomFleet& fleet,
                         const sim::Terrain* terrain, std::uint64_t seed, int index) {
    if (fleet.members.empty())
        throw ScenarioError("random flights need at least one aircraft");
    double total = 0.0;
    for (const RandomFleet::Member& m : fleet.members)
        total += m.share;
    Draw pick(seed * 0x9E6C63D0676A9A99ull +
              static_cast<std::uint64_t>(index) * 0xA24BAED4963EE407ull);
    double u = Draw(pick.Next()).Unit() * total;
    std::size_t chosen = fleet.members.size() - 1;
    for (std::size_t i = 0; i < fleet.members.size(); ++i) {
        if (u < fleet.members[i].share) {
            chosen = i;
            break;
        }
        u -= fleet.members[i].share;
    }
    const RandomFleet::Member& m = fleet.members[chosen];
    Scenario s = DrawRandomFlight(db, m.pool, terrain, seed, index, m.ranges);
    if (!m.ranges.aircraft.empty() && m.ranges.aircraft != "twin") {
        s.name += "-" + m.ranges.aircraft;
        s.file = s.name + ".json";
    }
    return s;
}

}  // namespace corvane::harness
