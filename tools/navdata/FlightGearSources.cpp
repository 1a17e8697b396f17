// SPDX-License-Identifier: MIT
#include "tools/navdata/FlightGearSources.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <tuple>

#include "tools/navdata/SimulatorInstallation.h"

namespace corvane::navdata::convert {

namespace {

namespace fs = std::filesystem;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The .dat and .dat.gz files of a folder, by name.
std::vector<std::string> DatFiles(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(kind) && (EndsWith(name, ".dat") || EndsWith(name, ".dat.gz")))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

template <typename Row>
void Append(std::vector<Row>& to, std::vector<Row>& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// A beacon as it is told apart from another file's copy of it: its kind,
// ident, frequency and position to about 100 m.
std::tuple<int, std::string, long, long, long> BeaconKey(const SourceBeacon& b) {
    return {b.row, b.ident, std::lround(b.frequency * 100.0),
            std::lround(b.position.latitude * 1e3), std::lround(b.position.longitude * 1e3)};
}

// Beacons of a later file that an earlier one holds already are left out.
void AppendNewBeacons(std::vector<SourceBeacon>& to, std::vector<SourceBeacon>& from,
                      std::set<std::tuple<int, std::string, long, long, long>>& seen) {
    for (SourceBeacon& b : from) {
        if (seen.insert(BeaconKey(b)).second)
            to.push_back(std::move(b));
    }
}

}  // namespace

FlightGearSourceFiles FindFlightGearSourceFiles(const std::string& root, const char* fgRootVariable,
                                                const std::vector<std::string>& sceneryFolders) {
    FlightGearSourceFiles files;
    for (const std::string& folder : sceneryFolders) {
        for (std::string& f : DatFiles(fs::path(folder) / "NavData" / "apt"))
            files.apt.push_back(std::move(f));
        for (std::string& f : DatFiles(fs::path(folder) / "NavData" / "nav"))
            files.nav.push_back(std::move(f));
    }
    const InstalledSourceFiles own = FindFlightGearFiles(root, fgRootVariable);
    files.apt.push_back(own.apt);
    files.nav.push_back(own.nav);
    return files;
}

MergedAirports MergeAirports(std::vector<AptDatContents> files) {
    MergedAirports merged;
    std::set<std::string> defined;
    for (AptDatContents& file : files) {
        AptDatContents& to = merged.apt;
        to.version = file.version;
        to.versionLine = file.versionLine;
        to.seaplaneBases += file.seaplaneBases;
        to.heliports += file.heliports;
        to.waterRunways += file.waterRunways;
        to.helipads += file.helipads;
        to.skippedAirports += file.skippedAirports;
        for (SourceAirport& a : file.airports) {
            if (!defined.insert(a.icao).second) {
                merged.skipped.push_back(a.icao);
                continue;
            }
            to.airports.push_back(std::move(a));
        }
    }
    return merged;
}

NavDatContents MergeNavaids(std::vector<NavDatContents> files) {
    NavDatContents merged;
    std::set<std::tuple<int, std::string, long, long, long>> seen;
    for (NavDatContents& file : files) {
        merged.version = file.version;
        merged.versionLine = file.versionLine;
        AppendNewBeacons(merged.ndbs, file.ndbs, seen);
        AppendNewBeacons(merged.vors, file.vors, seen);
        Append(merged.localizers, file.localizers);
        Append(merged.glideSlopes, file.glideSlopes);
        merged.otherRows += file.otherRows;
    }
    return merged;
}

}  // namespace corvane::navdata::convert
