// SPDX-License-Identifier: MIT
#include "tools/navdata/AirportDatabaseBuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <tuple>

#include "navdata/Geodesy.h"
#include "navdata/LonIndexWalk.h"
#include "navdata/PositionText.h"
#include "tools/navdata/TextRules.h"

namespace corvane::navdata::convert {

namespace {

constexpr double MetresPerFoot = 0.3048;

// Reasons, as the report names them.
const char* const kWaterRunway = "water surface";
const char* const kNonNumeric = "non-numeric runway designator";
const char* const kZeroLength = "ends less than 1 m apart";
const char* const kOverLimit = "over the file's limit of 32766 records";

std::int16_t ClampToI16(double value) {
    if (!(value > -32768.0)) {
        return -32768;
    }
    if (value > 32767.0) {
        return 32767;
    }
    return static_cast<std::int16_t>(value);
}

// Whole number, rounding half to even (the program's rule for conversions).
double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

double WrapDelta(double delta) {
    while (delta > 180.0) {
        delta -= 360.0;
    }
    while (delta <= -180.0) {
        delta += 360.0;
    }
    return delta;
}

GeoPoint Interpolate(const GeoPoint& a, const GeoPoint& b, double fraction) {
    return GeoPoint{
        a.latitude + fraction * (b.latitude - a.latitude),
        NormalizeLongitude(a.longitude + fraction * WrapDelta(b.longitude - a.longitude))};
}

// Surface code of the file for an apt.dat surface code; nullopt for water.
std::optional<RunwaySurface> MapSurface(int aptSurface, bool& unknown) {
    unknown = false;
    switch (aptSurface) {
        case 1:
            return RunwaySurface::Asphalt;
        case 2:
            return RunwaySurface::Concrete;
        case 3:
            return RunwaySurface::Grass;
        case 4:   // dirt
        case 5:   // gravel
        case 12:  // dry lakebed
        case 14:  // snow or ice
            return RunwaySurface::Dirt;
        case 13:
            return std::nullopt;
        default:
            break;
    }
    if (aptSurface >= 20 && aptSurface <= 38) {
        return RunwaySurface::Asphalt;  // asphalt shades of later apt.dat versions
    }
    if (aptSurface >= 50 && aptSurface <= 57) {
        return RunwaySurface::Concrete;  // concrete shades of later apt.dat versions
    }
    unknown = true;  // 15 transparent and codes not defined: most such runways are paved
    return RunwaySurface::Asphalt;
}

// A runway that passed the per-runway rules, with what the records need.
struct CandidateRunway {
    const SourceRunway* source = nullptr;
    int codeA = 0;
    int codeB = 0;
    double lengthMetres = 0.0;
    RunwaySurface surface = RunwaySurface::Asphalt;
    bool unknownSurface = false;
};

struct CandidateAirport {
    const SourceAirport* source = nullptr;
    std::vector<CandidateRunway> runways;
    bool hadRunwayRows = false;
};

struct KeptAirport {
    const SourceAirport* source = nullptr;
    std::vector<const CandidateRunway*> runways;
    std::string baseName;  // "Name (ICAO)" before the uniqueness rule
    GeoPoint position;
};

std::string CleanText(std::string_view text) {
    std::string ansi = ToAnsiText(text);
    // "{" separates the name from the position in the search results; "}" goes with it.
    ansi.erase(
        std::remove_if(ansi.begin(), ansi.end(), [](char c) { return c == '{' || c == '}'; }),
        ansi.end());
    return ToAnsiText(ansi);  // collapse blanks left around a removed brace
}

GeoPoint MiddleOfRunways(const std::vector<const CandidateRunway*>& runways) {
    // Longitudes are taken relative to the first end, so a box across the 180 degree meridian
    // has its middle on the right side.
    const double reference = runways.front()->source->ends[0].position.longitude;
    double south = 90.0, north = -90.0, west = std::numeric_limits<double>::max(),
           east = std::numeric_limits<double>::lowest();
    for (const CandidateRunway* r : runways) {
        for (const SourceRunwayEnd& end : r->source->ends) {
            const double lon = reference + WrapDelta(end.position.longitude - reference);
            south = std::min(south, end.position.latitude);
            north = std::max(north, end.position.latitude);
            west = std::min(west, lon);
            east = std::max(east, lon);
        }
    }
    return GeoPoint{(south + north) / 2.0, NormalizeLongitude((west + east) / 2.0)};
}

std::string StripLastWord(const std::string& name, std::initializer_list<const char*> words) {
    const std::size_t space = name.rfind(' ');
    if (space == std::string::npos) {
        return name;
    }
    const std::string last = name.substr(space + 1);
    for (const char* word : words) {
        if (last == word) {
            return name.substr(0, space);
        }
    }
    return name;
}

std::string TrimmedNumberText(double value) {
    std::string text = NumberText(value);
    if (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    return text;
}

struct IlsAssignment {
    const SourceIlsPart* localizer = nullptr;
};

}  // namespace

double NormalizeLongitude(double longitude) {
    if (!std::isfinite(longitude)) {
        return longitude;
    }
    while (longitude >= 180.0) {
        longitude -= 360.0;
    }
    while (longitude < -180.0) {
        longitude += 360.0;
    }
    return longitude;
}

void BeaconLabels(const SourceBeacon& beacon, std::string& label1, std::string& label2) {
    const std::string name = ToAnsiText(beacon.name);
    const std::string ident = ToAnsiText(beacon.ident);
    std::string frequency;
    if (beacon.row == 3) {
        label1 = StripLastWord(name, {"VOR", "VOR-DME", "VOR/DME", "VORDME", "VORTAC", "VOR-TAC",
                                      "DME", "TACAN", "VOT"});
        // MHz x 100 as MHz with two decimals: 11670 -> "116.70".
        const long hundredths = std::lround(std::clamp(beacon.frequency, 0.0, 1e9));
        const long fraction = hundredths % 100;
        frequency = std::to_string(hundredths / 100) + "." + (fraction < 10 ? "0" : "") +
                    std::to_string(fraction);
    } else {
        label1 = StripLastWord(name, {"NDB", "NDB-DME", "NDB/DME", "LOM", "LMM", "NDB-LOM"});
        frequency = TrimmedNumberText(beacon.frequency);  // kHz: "398", "415.5"
    }
    if (label1.empty()) {
        label1 = name;
    }
    label2 = ident.empty() ? frequency : ident + " " + frequency;
}

AirportDatabase BuildAirportDatabase(const AptDatContents& apt, const NavDatContents& nav,
                                     const DatabaseOptions& options, DatabaseReport& report) {
    AirportDatabase db;
    db.headerTexts.assign(HeaderTextCount, std::string());
    for (std::size_t i = 0; i < options.headerTexts.size() && i < db.headerTexts.size(); ++i) {
        db.headerTexts[i] = options.headerTexts[i];
    }

    // Rows set aside while reading.
    if (apt.seaplaneBases > 0) {
        report.airports.Drop("seaplane base (not a land airport)", apt.seaplaneBases);
    }
    if (apt.heliports > 0) {
        report.airports.Drop("heliport (not a land airport)", apt.heliports);
    }
    if (apt.skippedAirports > 0) {
        report.airports.Drop("malformed header line", apt.skippedAirports);
    }
    if (apt.waterRunways > 0) {
        report.runways.Drop("water runway (row 101)", apt.waterRunways);
    }
    if (apt.helipads > 0) {
        report.runways.Drop("helipad (row 102)", apt.helipads);
    }

    // 1. Per-runway rules.
    std::vector<CandidateAirport> candidates;
    candidates.reserve(apt.airports.size());
    for (const SourceAirport& a : apt.airports) {
        CandidateAirport candidate;
        candidate.source = &a;
        candidate.hadRunwayRows = !a.runways.empty();
        for (const SourceRunway& r : a.runways) {
            bool unknownSurface = false;
            const std::optional<RunwaySurface> surface = MapSurface(r.surface, unknownSurface);
            if (!surface) {
                report.runways.Drop(kWaterRunway);
                continue;
            }
            const int codeA = RunwayCodeOfDesignator(r.ends[0].designator);
            const int codeB = RunwayCodeOfDesignator(r.ends[1].designator);
            if (codeA < 0 || codeB < 0) {
                report.runways.Drop(kNonNumeric);
                continue;
            }
            const GeoPoint& p = r.ends[0].position;
            const GeoPoint& q = r.ends[1].position;
            const double length =
                GreatCircleDistance(p.latitude, p.longitude, q.latitude, q.longitude);
            if (!(length >= 1.0)) {
                report.runways.Drop(kZeroLength);
                continue;
            }
            candidate.runways.push_back(
                CandidateRunway{&r, codeA, codeB, length, *surface, unknownSurface});
        }
        candidates.push_back(std::move(candidate));
    }

    // 2. The shortest runway kept: raised until the airports and runways fit the file.
    double minFeet = options.minRunwayFeet;
    for (;;) {
        long airports = 0;
        long runways = 0;
        for (const CandidateAirport& c : candidates) {
            long kept = 0;
            for (const CandidateRunway& r : c.runways) {
                kept += r.lengthMetres / MetresPerFoot >= minFeet ? 1 : 0;
            }
            runways += kept;
            airports += kept > 0 ? 1 : 0;
        }
        if (airports <= MaxRecordCount && runways <= MaxRecordCount) {
            break;
        }
        minFeet += options.runwayStepFeet > 0.0 ? options.runwayStepFeet : 100.0;
    }
    report.minRunwayFeet = minFeet;
    const std::string shortReason =
        "shorter than " + std::to_string(static_cast<long>(std::ceil(minFeet))) + " ft";

    // 3. Airports that keep at least one runway.
    std::vector<KeptAirport> kept;
    for (const CandidateAirport& c : candidates) {
        KeptAirport k;
        k.source = c.source;
        for (const CandidateRunway& r : c.runways) {
            if (r.lengthMetres / MetresPerFoot >= minFeet) {
                k.runways.push_back(&r);
            } else {
                report.runways.Drop(shortReason);
            }
        }
        if (k.runways.empty()) {
            if (!c.hadRunwayRows) {
                report.airports.Drop("no land runway");
            } else if (c.runways.empty()) {
                report.airports.Drop("no usable runway (water or non-numeric designators)");
            } else {
                report.airports.Drop("no runway of at least the shortest length kept");
            }
            continue;
        }
        std::string icao = CleanText(c.source->icao);
        std::string name = CleanText(c.source->name);
        if (name.empty()) {
            name = icao;
        }
        k.baseName = name + " (" + icao + ")";
        k.position = MiddleOfRunways(k.runways);
        kept.push_back(std::move(k));
    }

    // 4. Order of increasing longitude (ties: latitude, name, source line).
    std::stable_sort(kept.begin(), kept.end(), [](const KeptAirport& a, const KeptAirport& b) {
        return std::tie(a.position.longitude, a.position.latitude, a.baseName, a.source->line) <
               std::tie(b.position.longitude, b.position.latitude, b.baseName, b.source->line);
    });

    // 5. Records: airports, runways, ATIS.
    db.Airports.assign(kept.size() + 2, AirportRecord{});
    std::set<std::string> usedNames;
    std::vector<RunwayRecord> runways(1);
    std::vector<std::string> runwayIcao(1);
    std::vector<AtisRecord> atis(1);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const KeptAirport& k = kept[i];
        const SourceAirport& s = *k.source;
        AirportRecord& a = db.Airports[i + 1];
        a.name = k.baseName;
        for (int n = 2; usedNames.count(a.name) != 0; ++n) {
            a.name = k.baseName + " #" + std::to_string(n);
        }
        if (a.name != k.baseName) {
            report.airports.Note("renamed with \" #n\" to keep names unique");
        }
        usedNames.insert(a.name);
        a.latitude = k.position.latitude;
        a.longitude = k.position.longitude;
        const std::int16_t elevation = ClampToI16(RoundHalfEven(s.elevationFeet * MetresPerFoot));
        a.elevation = elevation;
        a.remark = CleanText(s.icao);
        if (s.hasTower) {
            a.hasFuel = FileTrue;
            const GeoPoint fuel = s.firstStart       ? *s.firstStart
                                  : s.towerViewpoint ? *s.towerViewpoint
                                                     : k.position;
            a.fuelLatitude = fuel.latitude;
            a.fuelLongitude = NormalizeLongitude(fuel.longitude);
            report.airports.Note("with fuel inferred from a control tower");
        }
        if (!s.atis.empty()) {
            AtisRecord station;
            station.frequency = s.atis.front().frequencyMhz;
            const GeoPoint where = s.towerViewpoint ? *s.towerViewpoint : k.position;
            station.latitude = where.latitude;
            station.longitude = NormalizeLongitude(where.longitude);
            station.text1 = CleanText(s.atis.front().name);
            station.text2 = a.remark;
            atis.push_back(std::move(station));
            a.atisNumber = static_cast<std::int16_t>(atis.size() - 1);
            report.atis.Keep();
            if (s.atis.size() > 1) {
                report.atis.Drop("another ATIS frequency of the same airport",
                                 static_cast<long>(s.atis.size() - 1));
            }
        }
        report.airports.Keep();

        for (const CandidateRunway* c : k.runways) {
            const SourceRunway& r = *c->source;
            RunwayRecord record;
            record.airportNumber = static_cast<std::int16_t>(i + 1);
            record.codeA = static_cast<std::uint8_t>(c->codeA);
            record.codeB = static_cast<std::uint8_t>(c->codeB);
            double displacedA = r.ends[0].displacedThresholdMetres;
            double displacedB = r.ends[1].displacedThresholdMetres;
            if (displacedA < 0.0 || displacedB < 0.0) {
                displacedA = std::max(displacedA, 0.0);
                displacedB = std::max(displacedB, 0.0);
                report.runways.Note("with a negative displaced threshold taken as 0");
            }
            if (displacedA + displacedB >= c->lengthMetres) {
                displacedA = 0.0;
                displacedB = 0.0;
                report.runways.Note("with displaced thresholds ignored (they would cross)");
            } else if (displacedA > 0.0 || displacedB > 0.0) {
                report.runways.Note("with a displaced threshold");
            }
            const GeoPoint endA = r.ends[0].position;
            const GeoPoint endB = r.ends[1].position;
            const GeoPoint thresholdA = Interpolate(endA, endB, displacedA / c->lengthMetres);
            const GeoPoint thresholdB = Interpolate(endB, endA, displacedB / c->lengthMetres);
            record.latitudeA = thresholdA.latitude;
            record.longitudeA = thresholdA.longitude;
            record.latitudeB = thresholdB.latitude;
            record.longitudeB = thresholdB.longitude;
            record.elevationA = elevation;
            record.elevationB = elevation;
            record.surface = static_cast<std::uint8_t>(c->surface);
            if (c->unknownSurface) {
                report.runways.Note("with an unknown or transparent surface stored as asphalt");
            }
            record.lengthFeet = ClampToI16(RoundHalfEven(c->lengthMetres / MetresPerFoot));
            record.widthFeet = ClampToI16(RoundHalfEven(r.widthMetres / MetresPerFoot));
            runways.push_back(record);
            runwayIcao.push_back(s.icao);
            report.runways.Keep();
        }
    }

    // 6. ILS: localizers matched to runway ends by airport and designator.
    std::map<std::pair<std::string, int>, std::pair<std::size_t, int>> runwayEnds;
    for (std::size_t r = 1; r < runways.size(); ++r) {
        runwayEnds.emplace(std::make_pair(runwayIcao[r], static_cast<int>(runways[r].codeA)),
                           std::make_pair(r, 0));
        runwayEnds.emplace(std::make_pair(runwayIcao[r], static_cast<int>(runways[r].codeB)),
                           std::make_pair(r, 1));
    }
    std::map<std::pair<std::string, int>, const SourceIlsPart*> glideSlopes;
    for (const SourceIlsPart& g : nav.glideSlopes) {
        const int code = RunwayCodeOfDesignator(g.runway);
        if (code >= 0) {
            glideSlopes.emplace(std::make_pair(g.airport, code), &g);
        }
    }
    std::vector<std::array<const SourceIlsPart*, 2>> assigned(runways.size(), {nullptr, nullptr});
    for (const SourceIlsPart& loc : nav.localizers) {
        const int code = RunwayCodeOfDesignator(loc.runway);
        if (code < 0) {
            report.ils.Drop("non-numeric runway designator");
            continue;
        }
        const auto found = runwayEnds.find(std::make_pair(loc.airport, code));
        if (found == runwayEnds.end()) {
            report.ils.Drop("no kept runway end of that airport and designator");
            continue;
        }
        const SourceIlsPart*& slot = assigned[found->second.first][found->second.second];
        if (slot != nullptr) {
            report.ils.Drop("the runway end already has an ILS");
            continue;
        }
        slot = &loc;
    }
    std::vector<IlsRecord> ils(1);
    for (std::size_t r = 1; r < runways.size(); ++r) {
        for (int end = 0; end < 2; ++end) {
            const SourceIlsPart* loc = assigned[r][end];
            if (loc == nullptr) {
                continue;
            }
            if (static_cast<int>(ils.size()) - 1 >= MaxRecordCount) {
                report.ils.Drop(kOverLimit);
                continue;
            }
            IlsRecord record;
            record.name = CleanText(loc->name);
            if (record.name.empty()) {
                record.name = loc->row == 5 ? "LOC" : "ILS";
            }
            record.ident = CleanText(loc->ident);
            record.frequency = loc->frequency / 100.0;
            double heading = RoundHalfEven(loc->course);
            heading = std::fmod(heading, 360.0);
            if (heading < 0.0) {
                heading += 360.0;
            }
            record.approachHeading = static_cast<std::int16_t>(heading);
            // Rounded up, so that the window's whole nautical miles give back the source's.
            record.rangeKm = static_cast<std::uint8_t>(
                std::clamp(std::ceil(loc->rangeNm * 1.852 - 1e-9), 0.0, 255.0));
            const int code = end == 0 ? runways[r].codeA : runways[r].codeB;
            const auto gs = glideSlopes.find(std::make_pair(loc->airport, code));
            if (gs != glideSlopes.end() && loc->row == 4) {
                record.glideSlopeLatitude = gs->second->position.latitude;
                record.glideSlopeLongitude = gs->second->position.longitude;
                record.glideSlopeAltitude = gs->second->elevationFeet * MetresPerFoot;
            } else {
                report.ils.Note("without a glide slope (position and altitude stored as 0)");
            }
            ils.push_back(std::move(record));
            (end == 0 ? runways[r].ilsA : runways[r].ilsB) =
                static_cast<std::int16_t>(ils.size() - 1);
            report.ils.Keep();
        }
    }

    // 7. VORs and NDBs.
    auto buildBeacons = [&](const std::vector<SourceBeacon>& sources, KindCounts& counts,
                            auto& records, LonIndex& index) {
        std::vector<const SourceBeacon*> order;
        for (const SourceBeacon& b : sources) {
            order.push_back(&b);
        }
        if (order.size() > static_cast<std::size_t>(MaxRecordCount)) {
            // Keep the beacons of the longest range (ties: file order).
            std::stable_sort(order.begin(), order.end(),
                             [](const SourceBeacon* a, const SourceBeacon* b) {
                                 return a->rangeNm > b->rangeNm;
                             });
            counts.Drop(kOverLimit, static_cast<long>(order.size()) - MaxRecordCount);
            order.resize(MaxRecordCount);
        }
        auto lon = [](const SourceBeacon* b) { return NormalizeLongitude(b->position.longitude); };
        std::stable_sort(
            order.begin(), order.end(), [&](const SourceBeacon* a, const SourceBeacon* b) {
                return std::make_tuple(lon(a), a->position.latitude, a->ident, a->line) <
                       std::make_tuple(lon(b), b->position.latitude, b->ident, b->line);
            });
        records.assign(order.size() + 2, {});
        std::vector<double> longitudes;
        for (std::size_t i = 0; i < order.size(); ++i) {
            auto& record = records[i + 1];
            record.latitude = order[i]->position.latitude;
            record.longitude = lon(order[i]);
            BeaconLabels(*order[i], record.label1, record.label2);
            longitudes.push_back(record.longitude);
        }
        counts.Keep(static_cast<long>(order.size()));
        index = BuildLonIndex(longitudes);
        return static_cast<std::int16_t>(order.size());
    };
    db.VorCount = buildBeacons(nav.vors, report.vors, db.Vors, db.VorLonIndex);
    db.NdbCount = buildBeacons(nav.ndbs, report.ndbs, db.Ndbs, db.NdbLonIndex);

    db.AirportCount = static_cast<std::int16_t>(kept.size());
    runways.emplace_back();
    db.Runways = std::move(runways);
    db.RunwayCount = static_cast<std::int16_t>(db.Runways.size() - 2);
    atis.emplace_back();
    db.AtisStations = std::move(atis);
    db.AtisCount = static_cast<std::int16_t>(db.AtisStations.size() - 2);
    ils.emplace_back();
    db.IlsStations = std::move(ils);
    db.IlsCount = static_cast<std::int16_t>(db.IlsStations.size() - 2);

    std::vector<double> airportLongitudes;
    for (int i = 1; i <= db.AirportCount; ++i) {
        airportLongitudes.push_back(db.Airports[i].longitude);
    }
    db.AirportLonIndex = BuildLonIndex(airportLongitudes);
    return db;
}

}  // namespace corvane::navdata::convert
