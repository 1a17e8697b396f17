// SPDX-License-Identifier: MIT
// corvane-navdata: builds the airport database airdata.tri and the coastline file COAST2.int
// from X-Plane/FlightGear apt.dat and nav.dat and Natural Earth land polygons (TopoJSON).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "navdata/NavDataError.h"
#include "platform/posix/ProgramFolder.h"
#include "sim/flightgear/process/SceneryScan.h"
#include "tools/navdata/AirportDatabaseBuilder.h"
#include "tools/navdata/CoastlineBuilder.h"
#include "tools/navdata/ConversionError.h"
#include "tools/navdata/DatFileReader.h"
#include "tools/navdata/FlightGearSources.h"
#include "tools/navdata/SimulatorInstallation.h"
#include "tools/navdata/TerrainFilter.h"
#include "tools/navdata/TextRules.h"
#include "tools/navdata/TopoJsonReader.h"
#include "tools/progress/ProgressBar.h"

namespace {

using namespace corvane::navdata;
using namespace corvane::navdata::convert;

constexpr const char* kVersion = "0.1.0";

const char* const kHelp =
    "Usage: corvane-navdata [options]\n"
    "\n"
    "Builds Corvane's navigation data files from open data:\n"
    "  airdata.tri  airports, runways, ATIS, ILS, VOR and NDB, from apt.dat and nav.dat\n"
    "  COAST2.int   coastlines, from land polygons in TopoJSON\n"
    "Inputs may be plain or gzip-compressed. The rules are described in\n"
    "docs/navdata-formats.md.\n"
    "\n"
    "Inputs (give --apt to build airdata.tri, --coast to build COAST2.int, or both):\n"
    "  --apt FILE           apt.dat, version 1000, 1100 or 1200 (X-Plane, FlightGear)\n"
    "  --nav FILE           nav.dat, version 810, 1000, 1100, 1150 or 1200; without it the\n"
    "                       database has no ILS, VOR or NDB\n"
    "  --coast FILE         TopoJSON topology of land polygons (Natural Earth land)\n"
    "\n"
    "Or the files of a simulator installed here (instead of --apt and --nav):\n"
    "  --flightgear [FG_ROOT]  FlightGear's airports and navaids as FlightGear reads them:\n"
    "                       the NavData/apt and NavData/nav files of its scenery folders\n"
    "                       first (an airport defined there wins), then Airports/apt.dat.gz\n"
    "                       and Navaids/nav.dat.gz under FG_ROOT (default: $FG_ROOT, else\n"
    "                       /usr/share/games/flightgear, where Debian's flightgear-data-base\n"
    "                       puts them)\n"
    "  --with-terrain       with --flightgear: only the airports whose runways lie on\n"
    "                       terrain FlightGear has installed, where its wheels touch ground\n"
    "                       (elsewhere it flies over a sea-level surface)\n"
    "  --fg-scenery DIR     with --flightgear: a scenery folder FlightGear is given with\n"
    "                       --fg-scenery (may be repeated). The folders read are these, then\n"
    "                       those of $FG_SCENERY, TerraSync's downloads in ~/.fgfs/TerraSync,\n"
    "                       then FG_ROOT's Scenery\n"
    "  --xplane DIR         X-Plane 11 or 12 installed in DIR: the global airports and\n"
    "                       earth_nav.dat (Custom Data/ first, then Resources/default data/)\n"
    "  Without --coast, Corvane's own COAST2.int is copied beside the new airdata.tri, so\n"
    "  that the folder is complete: fly with it by  corvane --data DIR\n"
    "\n"
    "Outputs:\n"
    "  --out-dir DIR        folder for airdata.tri and COAST2.int (default: current folder)\n"
    "  --airdata FILE       write the airport database to FILE instead\n"
    "  --coastfile FILE     write the coastline file to FILE instead\n"
    "\n"
    "Rules:\n"
    "  --min-runway-ft N    shortest runway kept, in feet (default 1500); raised in steps of\n"
    "                       100 ft when the airports or runways would exceed 32766\n"
    "  --max-block-points N points of one coastline block (default 256, 8 to 4096)\n"
    "  --strict             stop at the first malformed input line instead of skipping it\n"
    "\n"
    "Other:\n"
    "  --quiet              print only warnings and errors\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "Exit status: 0 success, 1 conversion error, 2 wrong usage.\n";

struct Arguments {
    std::string apt, nav, coast, outDir = ".", airdata, coastFile;
    std::string flightGearRoot, xplaneFolder;
    std::vector<std::string> sceneryFolders;
    bool flightGear = false;
    bool withTerrain = false;
    double minRunwayFeet = 1500.0;
    int maxBlockPoints = 256;
    bool strict = false;
    bool quiet = false;
};

[[noreturn]] void UsageError(const std::string& message) {
    std::cerr << "corvane-navdata: " << message << "\nTry 'corvane-navdata --help'.\n";
    std::exit(2);
}

bool ParseArguments(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                UsageError("option " + arg + " needs a value");
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return false;
        } else if (arg == "--version") {
            std::cout << "corvane-navdata " << kVersion << "\n";
            return false;
        } else if (arg == "--apt") {
            args.apt = value();
        } else if (arg == "--nav") {
            args.nav = value();
        } else if (arg == "--flightgear") {
            args.flightGear = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') {
                args.flightGearRoot = argv[++i];
            }
        } else if (arg == "--with-terrain") {
            args.withTerrain = true;
        } else if (arg == "--fg-scenery") {
            args.sceneryFolders.push_back(value());
        } else if (arg == "--xplane") {
            args.xplaneFolder = value();
        } else if (arg == "--coast") {
            args.coast = value();
        } else if (arg == "--out-dir") {
            args.outDir = value();
        } else if (arg == "--airdata") {
            args.airdata = value();
        } else if (arg == "--coastfile") {
            args.coastFile = value();
        } else if (arg == "--min-runway-ft") {
            const std::string text = value();
            if (!ParseNumber(text, args.minRunwayFeet) || args.minRunwayFeet < 0.0 ||
                args.minRunwayFeet > 30000.0) {
                UsageError("--min-runway-ft needs a length from 0 to 30000 feet, not \"" + text +
                           "\"");
            }
        } else if (arg == "--max-block-points") {
            const std::string text = value();
            long n = 0;
            if (!ParseInteger(text, n) || n < 8 || n > 4096) {
                UsageError("--max-block-points needs a whole number from 8 to 4096, not \"" + text +
                           "\"");
            }
            args.maxBlockPoints = static_cast<int>(n);
        } else if (arg == "--strict") {
            args.strict = true;
        } else if (arg == "--quiet") {
            args.quiet = true;
        } else {
            UsageError("unknown option \"" + arg + "\"");
        }
    }
    const int sources =
        int(!args.apt.empty()) + int(args.flightGear) + int(!args.xplaneFolder.empty());
    if (sources > 1) {
        UsageError("give one of --apt, --flightgear and --xplane");
    }
    if ((args.flightGear || !args.xplaneFolder.empty()) && !args.nav.empty()) {
        UsageError("--nav comes with --apt; --flightgear and --xplane find nav.dat themselves");
    }
    if ((args.withTerrain || !args.sceneryFolders.empty()) && !args.flightGear) {
        UsageError("--with-terrain and --fg-scenery go with --flightgear");
    }
    if (sources == 0 && args.coast.empty()) {
        UsageError(
            "nothing to do: give --apt (with --nav), --flightgear or --xplane, and/or --coast");
    }
    if (!args.nav.empty() && args.apt.empty()) {
        UsageError("--nav needs --apt: the navaids go into the airport database");
    }
    return true;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Seconds(double s) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f s", s);
    return buffer;
}

void PrintDiagnostics(const Diagnostics& diagnostics) {
    if (diagnostics.malformedCount() == 0) {
        return;
    }
    for (const std::string& message : diagnostics.messages()) {
        std::cerr << "warning: " << message << " (line skipped)\n";
    }
    const long more =
        diagnostics.malformedCount() - static_cast<long>(diagnostics.messages().size());
    if (more > 0) {
        std::cerr << "warning: " << more << " more malformed lines skipped\n";
    }
}

// The file's kilobytes read: on a terminal a bar, otherwise a line at each tenth of the file
// ("kB of apt.dat.gz: 4096/40960 (10 %), 0:42 left"), which a program starting the converter
// can show as its progress.
std::function<void(long long)> ReadingBar(const Arguments& args, const std::string& path) {
    if (args.quiet) {
        return {};
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0) {
        return {};
    }
    const long totalKb = static_cast<long>((size + 1023) / 1024);
    auto bar = std::make_shared<corvane::progress::ProgressBar>(stderr, totalKb);
    const std::string label = "kB of " + std::filesystem::path(path).filename().string();
    return [bar, label, totalKb](long long bytes) {
        const long kb = static_cast<long>((bytes + 1023) / 1024);
        bar->Update(kb, label);
        if (kb >= totalKb) {
            bar->Finish();
        }
    };
}

// Corvane's own coastline file (beside the converter as built, under share/corvane/ as
// installed) copied into the output folder, so that a database built from a simulator's files
// has the coastlines beside it. False, with a warning, when there is none to copy.
bool CopyOwnCoastFile(const std::string& target) {
    namespace fs = std::filesystem;
    const std::string folder =
        corvane::desktop::DataFolder(corvane::desktop::ProgramFolder(), "COAST2.int");
    const fs::path source = fs::path(folder) / "COAST2.int";
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
        std::cerr << "warning: Corvane's COAST2.int was not found to copy beside the database; "
                     "build it with --coast\n";
        return false;
    }
    if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) {
        return true;
    }
    if (!fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec)) {
        throw ConversionError(target + ": cannot copy " + source.string() +
                              " there: " + ec.message());
    }
    return true;
}

// FlightGear's airports, navaids and scenery folders as FlightGear reads them.
struct FlightGearInputs {
    FlightGearSourceFiles files;
    std::vector<std::string> sceneryFolders;
};

FlightGearInputs FindFlightGearInputs(const Arguments& args) {
    const InstalledSourceFiles own =
        FindFlightGearFiles(args.flightGearRoot, std::getenv("FG_ROOT"));
    // FG_ROOT as found: the folder above Airports/.
    const std::string root = std::filesystem::path(own.apt).parent_path().parent_path().string();
    FlightGearInputs inputs;
    inputs.sceneryFolders =
        corvane::sim::flightgear::SceneryFoldersFromEnvironment(args.sceneryFolders, root);
    inputs.files = FindFlightGearSourceFiles(root, nullptr, inputs.sceneryFolders);
    return inputs;
}

std::string FileNames(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& p : paths)
        names += (names.empty() ? "" : ", ") + std::filesystem::path(p).filename().string();
    return names;
}

int Run(Arguments args) {
    const auto start = std::chrono::steady_clock::now();
    bool fromInstallation = false;
    std::vector<std::string> aptFiles;
    std::vector<std::string> navFiles;
    std::vector<std::string> sceneryFolders;
    if (args.flightGear) {
        FlightGearInputs inputs = FindFlightGearInputs(args);
        aptFiles = std::move(inputs.files.apt);
        navFiles = std::move(inputs.files.nav);
        sceneryFolders = std::move(inputs.sceneryFolders);
        fromInstallation = true;
    } else if (!args.xplaneFolder.empty()) {
        const InstalledSourceFiles files = FindXPlaneFiles(args.xplaneFolder);
        aptFiles = {files.apt};
        navFiles = {files.nav};
        fromInstallation = true;
    } else if (!args.apt.empty()) {
        aptFiles = {args.apt};
        if (!args.nav.empty())
            navFiles = {args.nav};
    }
    std::error_code folderError;
    if (!std::filesystem::create_directories(args.outDir, folderError) && folderError) {
        throw ConversionError(args.outDir + ": cannot make the folder: " + folderError.message());
    }
    auto progress = [&](const std::string& text) {
        if (!args.quiet) {
            std::cerr << "[" << Seconds(SecondsSince(start)) << "] " << text << "\n";
        }
    };
    Diagnostics diagnostics(args.strict);
    std::string summary;

    if (!aptFiles.empty()) {
        DatabaseReport report;
        std::vector<AptDatContents> apts;
        for (const std::string& file : aptFiles) {
            progress("reading " + file);
            apts.push_back(ReadAptDatFile(file, diagnostics, ReadingBar(args, file)));
        }
        MergedAirports merged = MergeAirports(std::move(apts));
        if (!merged.skipped.empty()) {
            report.airports.Drop("defined in an earlier file, which FlightGear reads first",
                                 static_cast<long>(merged.skipped.size()));
        }
        AptDatContents& apt = merged.apt;
        std::vector<NavDatContents> navs;
        for (const std::string& file : navFiles) {
            progress("reading " + file);
            navs.push_back(ReadNavDatFile(file, diagnostics, ReadingBar(args, file)));
        }
        const NavDatContents nav = MergeNavaids(std::move(navs));
        if (args.withTerrain) {
            progress("finding the terrain installed in " + std::to_string(sceneryFolders.size()) +
                     " scenery folders");
            const corvane::sim::flightgear::InstalledTerrain terrain =
                corvane::sim::flightgear::ScanInstalledTerrain(sceneryFolders);
            progress(std::to_string(terrain.TileCount()) + " scenery tiles installed");
            if (terrain.Empty()) {
                std::string looked;
                for (const std::string& f : sceneryFolders)
                    looked += (looked.empty() ? "" : ", ") + f;
                throw ConversionError(
                    "--with-terrain: no scenery tile is installed in FlightGear's scenery folders "
                    "(" +
                    looked +
                    "); install flightgear-data-base, name a scenery folder with --fg-scenery, "
                    "or leave --with-terrain out");
            }
            KeepOnInstalledTerrain(apt, terrain, report);
        }
        progress("building the airport database");
        DatabaseOptions options;
        options.minRunwayFeet = args.minRunwayFeet;
        const std::string aptName = FileNames(aptFiles);
        const std::string navName = navFiles.empty() ? "no nav.dat" : FileNames(navFiles);
        options.headerTexts = {"Corvane airport database (airdata.tri)",
                               std::string("Built by corvane-navdata ") + kVersion + " from " +
                                   aptName + " and " + navName,
                               ToAnsiText(apt.versionLine), ToAnsiText(nav.versionLine)};
        AirportDatabase db = BuildAirportDatabase(apt, nav, options, report);
        const std::string path = args.airdata.empty()
                                     ? (std::filesystem::path(args.outDir) / "airdata.tri").string()
                                     : args.airdata;
        progress("writing " + path);
        SaveAirportDatabase(db, path);
        const AirportDatabase check = LoadAirportDatabase(path);  // the program's own reader
        if (!(check == db)) {
            throw ConversionError(path + ": the file read back differs from what was written");
        }
        report.bytes = static_cast<long>(std::filesystem::file_size(path));
        summary += FormatDatabaseReport(report);
    }

    if (!args.coast.empty()) {
        progress("reading " + args.coast);
        const std::vector<Ring> rings = ReadTopoJsonFile(args.coast);
        progress("building the coastlines");
        CoastOptions options;
        options.maxBlockPoints = args.maxBlockPoints;
        CoastReport report;
        const CoastFileContents contents = BuildCoastlines(rings, options, report);
        const std::string path = args.coastFile.empty()
                                     ? (std::filesystem::path(args.outDir) / "COAST2.int").string()
                                     : args.coastFile;
        progress("writing " + path);
        SaveCoastFile(contents, path);
        const std::vector<std::uint8_t> bytes = WriteCoastFile(contents, path);
        LoadCoastlines(path);  // the program's own reader accepts it
        report.bytes = static_cast<long>(bytes.size());
        summary += FormatCoastReport(report);
    }

    if (fromInstallation && args.coast.empty() && args.coastFile.empty()) {
        const std::string path = (std::filesystem::path(args.outDir) / "COAST2.int").string();
        if (CopyOwnCoastFile(path)) {
            progress("copied Corvane's coastlines to " + path);
        }
    }

    PrintDiagnostics(diagnostics);
    if (!args.quiet) {
        std::cout << summary;
        if (diagnostics.malformedCount() > 0) {
            std::cout << "malformed input lines skipped: " << diagnostics.malformedCount() << "\n";
        }
        std::cout << "time: " << Seconds(SecondsSince(start)) << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, args)) {
        return 0;
    }
    try {
        return Run(args);
    } catch (const ConversionError& e) {
        std::cerr << "corvane-navdata: error: " << e.what() << "\n";
    } catch (const NavDataError& e) {
        std::cerr << "corvane-navdata: error: " << e.what() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "corvane-navdata: error: " << e.what() << "\n";
    }
    return 1;
}
