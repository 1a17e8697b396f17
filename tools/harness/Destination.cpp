// SPDX-License-Identifier: MIT
#include "tools/harness/Destination.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "app/airports/AirportSearch.h"
#include "navdata/PositionText.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/physics/Units.h"

namespace corvane::harness {

namespace {

namespace units = sim::units;

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

template <typename Fits>
int ChooseLine(const std::vector<std::string>& lines, const ListChoice& choice, const char* what,
               Fits fits, std::string* why) {
    if (choice.index) {
        if (*choice.index < static_cast<int>(lines.size()))
            return *choice.index;
        *why = std::string("the list has no ") + what + " line " + std::to_string(*choice.index) +
               " (it has " + std::to_string(lines.size()) + ")";
        return -1;
    }
    std::vector<int> found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (fits(lines[i]))
            found.push_back(static_cast<int>(i));
    }
    if (found.size() == 1)
        return found.front();
    if (found.empty()) {
        *why = std::string("no ") + what + " line fits \"" + choice.text + "\" among " +
               std::to_string(lines.size());
    } else {
        *why = std::string("\"") + choice.text + "\" fits " + std::to_string(found.size()) + " " +
               what + " lines, e.g. \"" + lines[std::size_t(found[0])] + "\" and \"" +
               lines[std::size_t(found[1])] + "\"";
    }
    return -1;
}

// The landing-direction lines of an airport as the program lists them.
void RunwayLines(const navdata::AirportDatabase& db, int airport, std::vector<std::string>* lines,
                 std::vector<int>* choices) {
    const int last = std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        const navdata::RunwayRecord& r = db.Runways[std::size_t(i)];
        if (r.airportNumber != airport)
            continue;
        const std::string length = "\t" + navdata::NumberText(r.lengthFeet) + " ft";
        lines->push_back(navdata::RunwayDesignatorText(r.codeA) + length);
        choices->push_back(i);
        lines->push_back(navdata::RunwayDesignatorText(r.codeB) + length);
        choices->push_back(-i);
    }
}

int AirportOrThrow(const navdata::AirportDatabase& db, const std::string& icao,
                   const Scenario& scenario, const char* field) {
    const int airport = sim::FindAirportByIcao(db, icao);
    if (airport == 0)
        throw ScenarioError(scenario.file + ": " + field + " \"" + icao +
                            "\" is no airport of the database");
    return airport;
}

}  // namespace

int ChooseAirportLine(const std::vector<std::string>& lines, const ListChoice& choice,
                      std::string* why) {
    const std::string wanted = Lower(choice.text);
    return ChooseLine(
        lines, choice, "airport",
        [&](const std::string& line) { return Lower(line).find(wanted) != std::string::npos; },
        why);
}

int ChooseRunwayLine(const std::vector<std::string>& lines, const ListChoice& choice,
                     std::string* why) {
    const std::string wanted = NormalisedDesignator(choice.text);
    return ChooseLine(
        lines, choice, "runway",
        [&](const std::string& line) {
            return NormalisedDesignator(line.substr(0, line.find('\t'))) == wanted;
        },
        why);
}

Destination ResolveDestination(const navdata::AirportDatabase& db, const Scenario& scenario,
                               const airports::AirportSearchIndex* index) {
    Destination d;
    const airports::SearchResults results = index != nullptr
                                                ? index->Find(db, scenario.searchText)
                                                : airports::FindAirports(db, scenario.searchText);
    if (results.lines.empty())
        throw ScenarioError(scenario.file + ": the search \"" + scenario.searchText +
                            "\" finds no airport");
    int line = 0;
    if (scenario.airportLine.index || !scenario.airportLine.text.empty()) {
        std::string why;
        line = ChooseAirportLine(results.lines, scenario.airportLine, &why);
        if (line < 0)
            throw ScenarioError(scenario.file + ": destination.line: " + why);
    } else if (results.lines.size() > 1) {
        throw ScenarioError(scenario.file + ": the search \"" + scenario.searchText + "\" finds " +
                            std::to_string(results.lines.size()) +
                            " airports; say which line with destination.line");
    }
    d.airport = results.airports[std::size_t(line)];
    d.airportLine = results.lines[std::size_t(line)];

    std::vector<std::string> lines;
    std::vector<int> choices;
    RunwayLines(db, d.airport, &lines, &choices);
    std::string why;
    const int runwayLine = ChooseRunwayLine(lines, scenario.runwayLine, &why);
    if (runwayLine < 0)
        throw ScenarioError(scenario.file + ": destination.runway: " + why);
    d.runwayChoice = choices[std::size_t(runwayLine)];
    d.runwayLine = lines[std::size_t(runwayLine)];
    return d;
}

sim::RunwayStart RunwayStartOf(const navdata::AirportDatabase& db, int runwayChoice) {
    const navdata::RunwayRecord& r = db.Runways.at(std::size_t(std::abs(runwayChoice)));
    if (runwayChoice > 0)
        return {r.latitudeA, r.longitudeA, r.latitudeB, r.longitudeB};
    return {r.latitudeB, r.longitudeB, r.latitudeA, r.longitudeA};
}

void PointAt(double latDeg, double lonDeg, double bearingDeg, double distanceM, double* outLatDeg,
             double* outLonDeg) {
    sim::flightgear::PointOnSphere(latDeg, lonDeg, bearingDeg, distanceM, outLatDeg, outLonDeg);
}

void PlaceAircraft(sim::Simulator& simulator, const navdata::AirportDatabase& db,
                   const Scenario& scenario, const Destination& destination) {
    const StartState& s = scenario.start;
    // The runway of a final or runway start: a named one, else the destination's.
    auto runwayStart = [&]() { return StartRunwayOf(db, scenario, destination).start; };

    switch (s.kind) {
        case StartState::Kind::Air: {
            sim::AirStart air;
            if (s.latitudeDeg) {
                air.latitudeDeg = *s.latitudeDeg;
                air.longitudeDeg = *s.longitudeDeg;
            } else {
                const int from = s.fromAirport.empty() ? destination.airport
                                                       : AirportOrThrow(db, s.fromAirport, scenario,
                                                                        "start.fromAirport");
                const navdata::AirportRecord& a = db.Airports[std::size_t(from)];
                PointAt(a.latitude, a.longitude, s.bearingDeg, s.distanceNm * units::kMetresPerNm,
                        &air.latitudeDeg, &air.longitudeDeg);
            }
            air.altitudeFt = s.altitudeFt;
            air.headingTrueDeg = s.headingDeg;
            air.iasKt = s.iasKt;
            air.flaps = s.flaps;
            air.gearDown = s.gearDown;
            simulator.StartInAir(air);
            break;
        }
        case StartState::Kind::Final: {
            sim::FinalStart final;
            final.runway = runwayStart();
            final.distanceNm = s.distanceNm;
            final.glidePathDeg = s.glidePathDeg;
            final.iasKt = s.iasKt;
            final.flaps = s.flaps;
            final.gearDown = s.gearDown;
            simulator.StartOnFinal(final);
            break;
        }
        case StartState::Kind::Runway:
            simulator.StartOnRunway(runwayStart());
            break;
    }
}

namespace {

// "Name (ICAO)" -> "ICAO".
std::string IcaoOf(const navdata::AirportDatabase& db, int airport) {
    const std::string& name = db.Airports[std::size_t(airport)].name;
    const std::size_t open = name.rfind('(');
    const std::size_t close = name.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return {};
    return name.substr(open + 1, close - open - 1);
}

}  // namespace

sim::flightgear::LaunchPlan FlightGearStartOf(const navdata::AirportDatabase& db,
                                              const Scenario& scenario,
                                              const Destination& destination,
                                              const std::string& runwayDesignator) {
    using Plan = sim::flightgear::LaunchPlan;
    const StartState& s = scenario.start;
    Plan plan;
    plan.windFromDeg = scenario.windFromDeg;
    plan.windSpeedKt = scenario.windSpeedKt;
    plan.turbulence =
        sim::flightgear::TurbulenceStrength(sim::TurbulenceLevelName(scenario.turbulence));
    if (s.kind == StartState::Kind::Air) {
        plan.start = Plan::Start::InAir;
        if (s.latitudeDeg) {
            plan.latitudeDeg = *s.latitudeDeg;
            plan.longitudeDeg = *s.longitudeDeg;
        } else {
            const int from = s.fromAirport.empty()
                                 ? destination.airport
                                 : AirportOrThrow(db, s.fromAirport, scenario, "start.fromAirport");
            const navdata::AirportRecord& a = db.Airports[std::size_t(from)];
            PointAt(a.latitude, a.longitude, s.bearingDeg, s.distanceNm * units::kMetresPerNm,
                    &plan.latitudeDeg, &plan.longitudeDeg);
        }
        plan.altitudeFt = s.altitudeFt;
        plan.headingTrueDeg = s.headingDeg;
        plan.speedKt = s.iasKt;
        return plan;
    }
    plan.start = s.kind == StartState::Kind::Final ? Plan::Start::OnFinal : Plan::Start::OnRunway;
    plan.airport = s.airport.empty() ? IcaoOf(db, destination.airport) : s.airport;
    plan.runway = s.runway.empty() ? runwayDesignator : s.runway;
    while (plan.runway.size() > 1 && plan.runway.front() == ' ')
        plan.runway.erase(plan.runway.begin());
    plan.finalNm = s.distanceNm;
    plan.glidePathDeg = s.glidePathDeg;
    plan.speedKt = s.iasKt;
    // By position: FlightGear's own airport data may name the runway
    // otherwise (see StartByPosition).
    const sim::RunwayDirection runway = StartRunwayOf(db, scenario, destination);
    sim::flightgear::StartByPosition(plan, runway.start.thresholdLatitudeDeg,
                                     runway.start.thresholdLongitudeDeg, runway.headingTrueDeg,
                                     runway.elevationM * units::kFeetPerMetre);
    return plan;
}

sim::RunwayDirection StartRunwayOf(const navdata::AirportDatabase& db, const Scenario& scenario,
                                   const Destination& destination) {
    const StartState& s = scenario.start;
    if (s.airport.empty() && s.runway.empty()) {
        for (const sim::RunwayDirection& d : sim::RunwayDirections(db, destination.airport)) {
            if ((d.directionA ? d.runwayRecord : -d.runwayRecord) == destination.runwayChoice)
                return d;
        }
        throw ScenarioError(scenario.file + ": the landing direction is not in the database");
    }
    const int airport = s.airport.empty()
                            ? destination.airport
                            : AirportOrThrow(db, s.airport, scenario, "start.airport");
    if (s.runway.empty())
        throw ScenarioError(scenario.file + ": start.runway is missing");
    const auto direction = sim::FindRunwayDirection(db, airport, s.runway);
    if (!direction)
        throw ScenarioError(scenario.file + ": start.runway \"" + s.runway + "\" is no runway of " +
                            db.Airports[std::size_t(airport)].name);
    return *direction;
}

void ReportDestination(const Destination& dest, const RunwayFrame& runway, const Scenario& scenario,
                       LandingReport& r) {
    r.airportLine = dest.airportLine;
    r.runwayLine = dest.runwayLine;
    r.runwayDesignator = runway.Designator();
    r.runwayHeadingDeg = runway.HeadingTrueDeg();
    r.runwayLengthFt = runway.LengthFt();
    r.runwayWidthM = runway.WidthM();
    r.runwayElevationFt = runway.ElevationFt();
    r.windFromDeg = scenario.windFromDeg;
    r.windSpeedKt = scenario.windSpeedKt;
    r.windGradient = scenario.windGradient;
    r.turbulence = sim::TurbulenceLevelName(scenario.turbulence);
    r.turbulenceSeed = scenario.turbulenceSeed;
}

}  // namespace corvane::harness
