// SPDX-License-Identifier: MIT
//
// corvane-core-win32-tests.exe: the program's core built for Windows, run
// under Wine. The same sources as the Linux build, so what is checked here is
// what a different compiler, C library and file system can break: the data
// files read and written in binary mode with Windows paths, the airport search
// on the world database, and the flight model's arithmetic over a minute of
// flight. Prints one line per test, then "N passed, M failed".
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "app/airports/AirportSearch.h"
#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "navdata/Geodesy.h"
#include "sim/model/Simulator.h"
#include "sim/physics/Units.h"
#include "tests/win32/MiniTest.h"

namespace {

using corvane::win32test::Check;

struct Context {
    std::string dataFolder;  // ends in "\"
    std::string scratchFolder;
};

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

// The world database: a search by part of a name finds the airport, each line
// holds the key, and the airport lies where it is.
void WorldDatabaseSearch(Check& check, const Context& c) {
    const corvane::navdata::AirportDatabase db =
        corvane::navdata::LoadAirportDatabase(c.dataFolder + "airdata.tri");
    check.That(db.Airports.size() > 1000, "the world database holds over 1000 airports");
    const auto found = corvane::airports::FindAirports(db, "  heathrow ");
    check.That(!found.airports.empty(), "a search for 'heathrow' finds an airport");
    check.That(found.lines.size() == found.airports.size(), "one line per airport found");
    bool london = false;
    for (std::size_t i = 0; i < found.airports.size(); ++i) {
        check.That(Upper(found.lines[i]).find("HEATHROW") != std::string::npos,
                   "line '" + found.lines[i] + "' holds the key");
        const auto& airport = db.Airports.at(std::size_t(found.airports[i]));
        if (airport.name.find("(EGLL)") != std::string::npos)
            london = std::abs(airport.latitude - 51.47) < 0.1 &&
                     std::abs(airport.longitude + 0.46) < 0.1;
    }
    check.That(london, "London Heathrow (EGLL) is found, west of London");
    check.That(corvane::airports::FindAirports(db, "no such airport here").airports.empty(),
               "an unknown name finds nothing");
}

// Written and read back byte for byte: a file opened in text mode would turn
// every 0x0A into 0x0D 0x0A on writing and stop reading at the first 0x1A.
void DatabaseRoundTrip(Check& check, const Context& c) {
    const auto db = corvane::navdata::LoadAirportDatabase(c.dataFolder + "airdata.tri");
    const std::string copy = c.scratchFolder + "airdata-copy.tri";
    corvane::navdata::SaveAirportDatabase(db, copy);
    const auto again = corvane::navdata::LoadAirportDatabase(copy);
    check.That(again == db, "the database written and read back is the same");
    std::remove(copy.c_str());

    const auto coast = corvane::navdata::LoadCoastlines(c.dataFolder + "COAST2.int");
    check.That(coast.CoastPointCount > 1000 && coast.CoastBlockCount > 10,
               "the coastlines hold points and blocks");
}

// A minute of level flight eastwards at 5000 ft and 200 kt: the model holds
// its height and heading and covers the distance its speed gives.
void MinuteOfFlight(Check& check, const Context&) {
    corvane::sim::Simulator sim;
    corvane::sim::AirStart start;
    start.latitudeDeg = 51.0;
    start.longitudeDeg = 0.0;
    start.altitudeFt = 5000;
    start.headingTrueDeg = 90;
    start.iasKt = 200;
    sim.StartInAir(start);
    for (int i = 0; i < 400; ++i)
        sim.Advance(0.15);
    const auto& s = sim.State();
    const double altitudeFt = s.altitudeM / 0.3048;
    check.That(std::abs(sim.TimeS() - 60.0) < 0.2, "a minute of simulator time ran");
    check.That(std::abs(altitudeFt - 5000) < 1000,
               "height held within 1000 ft (" + std::to_string(altitudeFt) + ")");
    check.That(std::abs(s.latitudeDeg - 51.0) < 0.05, "latitude held");
    const double eastNm = s.longitudeDeg * 60.0 * std::cos(51.0 * 3.14159265358979 / 180);
    check.That(eastNm > 2.5 && eastNm < 4.5,
               "200 kt for a minute covers about 3.5 nm (" + std::to_string(eastNm) + ")");
    check.That(sim.CrashCount() == 0, "no crash");
}

struct TestCase {
    const char* name;
    bool needsData;
    void (*run)(Check&, const Context&);
};

const TestCase kTests[] = {
    {"world_database_search", true, WorldDatabaseSearch},
    {"database_written_and_read_back_in_binary", true, DatabaseRoundTrip},
    {"minute_of_level_flight", false, MinuteOfFlight},
};

}  // namespace

int main(int argc, char** argv) {
    Context context;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Usage: corvane-core-win32-tests.exe --data FOLDER [--scratch FOLDER]\n"
                "The program's core built for Windows: the data files (airdata.tri and\n"
                "COAST2.int in FOLDER), the airport search and the flight model.\n"
                "Prints one line per test and \"N passed, M failed\".\n");
            return 0;
        } else if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
            context.dataFolder = argv[++i];
        } else if (std::strcmp(argv[i], "--scratch") == 0 && i + 1 < argc) {
            context.scratchFolder = argv[++i];
        } else {
            std::fprintf(stderr, "corvane-core-win32-tests: unknown argument '%s' (try --help)\n",
                         argv[i]);
            return 2;
        }
    }
    for (std::string* folder : {&context.dataFolder, &context.scratchFolder})
        if (!folder->empty() && folder->back() != '\\' && folder->back() != '/')
            *folder += '\\';
    if (context.scratchFolder.empty())
        context.scratchFolder = context.dataFolder;

    corvane::win32test::Tally tally;
    for (const TestCase& test : kTests) {
        Check check;
        if (test.needsData && context.dataFolder.empty()) {
            check.That(false, "no --data folder given");
        } else {
            try {
                test.run(check, context);
            } catch (const std::exception& e) {
                check.That(false, std::string("exception: ") + e.what());
            }
        }
        tally.Record(test.name, check);
    }
    return tally.Finish();
}
