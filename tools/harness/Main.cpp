// SPDX-License-Identifier: MIT
//
// corvane-harness: flies scenarios with the whole program against the
// in-process stand-in simulator and measures every landing.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "navdata/NavDataError.h"
#include "platform/posix/ProgramFolder.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/physics/Aircraft.h"
#include "sim/trace/CommandTrace.h"
#include "tools/harness/Campaign.h"
#include "tools/harness/CommandLine.h"
#include "tools/harness/CommandReplay.h"
#include "tools/harness/Destination.h"
#include "tools/harness/FlightGearFlights.h"
#include "tools/harness/ParallelRun.h"
#include "tools/harness/RandomFlights.h"
#include "tools/harness/ReportJson.h"
#include "tools/harness/ScenarioRunner.h"
#include "tools/harness/SetSummary.h"
#include "tools/progress/ProgressBar.h"

#ifdef CORVANE_HARNESS_WITH_QT
#include <QGuiApplication>

#include "platform/headless/Snapshot.h"
#include "platform/qt/ImageCanvas.h"
#include "tools/harness/SetPictures.h"
#endif

namespace {

using namespace corvane;
using namespace corvane::harness;

constexpr int kExitBelowRate = 1;
constexpr int kExitBadInput = 2;

// A desktop folder of this process's own: the in-process simulator's window
// is found there and no other process's simulator window can be.
class PrivateDesktop {
  public:
    PrivateDesktop() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvane-harness-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a desktop folder in " + pattern);
        path_ = pattern;
        ::setenv("CORVANE_DESKTOP", path_.c_str(), 1);
    }
    ~PrivateDesktop() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

std::vector<Scenario> LoadScenarios(const CommandLine& c) {
    std::vector<std::string> files;
    for (const std::string& input : c.inputs) {
        if (std::filesystem::is_directory(input)) {
            const std::vector<std::string> found = ScenarioFilesIn(input);
            if (found.empty())
                throw ScenarioError(input + ": no *.json scenario in the folder");
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.push_back(input);
        }
    }
    std::vector<Scenario> scenarios;
    for (const std::string& file : files) {
        Scenario s = LoadScenario(file);
        bool wanted = c.tags.empty();
        for (const std::string& tag : c.tags) {
            for (const std::string& t : s.tags)
                wanted = wanted || t == tag;
        }
        if (!wanted)
            continue;
        for (const Scenario& other : scenarios) {
            if (other.name == s.name)
                throw ScenarioError(file + ": the name \"" + s.name + "\" is also that of " +
                                    other.file);
        }
        if (!c.aircraft.empty())
            s.aircraft = c.aircraft;
        scenarios.push_back(std::move(s));
    }
    if (scenarios.empty())
        throw ScenarioError("no scenario to fly (check --tag)");
    return scenarios;
}

void ListAirport(const ScenarioRunner& runner, const std::string& icao) {
    const navdata::AirportDatabase& db = runner.Database();
    const int airport = sim::FindAirportByIcao(db, icao);
    if (airport == 0)
        throw ScenarioError(icao + ": no such airport in the database");
    const navdata::AirportRecord& a = db.Airports[std::size_t(airport)];
    std::printf("%s: record %d, %.4f %.4f, elevation %d m (%.0f ft)\n", a.name.c_str(), airport,
                a.latitude, a.longitude, a.elevation, a.elevation / 0.3048);
    for (const sim::RunwayDirection& d : sim::RunwayDirections(db, airport)) {
        const navdata::RunwayRecord& r = db.Runways[std::size_t(d.runwayRecord)];
        std::printf("  %-4s heading %5.1f true, %5.0f ft x %3d ft, threshold elevation %.0f m\n",
                    d.designator.c_str(), d.headingTrueDeg, d.lengthFt, r.widthFeet, d.elevationM);
    }
}

#ifdef CORVANE_HARNESS_WITH_QT
// The image canvases measure text with Qt's fonts, and the set's pictures are
// painted with Qt; the offscreen platform needs no display.
std::unique_ptr<QGuiApplication> MakeQtApplication(const std::string& desktopFolder) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); !runtime || !*runtime)
        ::setenv("XDG_RUNTIME_DIR", desktopFolder.c_str(), 1);
    static int qtArgc = 1;
    static char qtName[] = "corvane-harness";
    static char* qtArgv[] = {qtName, nullptr};
    return std::make_unique<QGuiApplication>(qtArgc, qtArgv);
}
#endif

std::vector<Scenario> DrawRandomFlights(const CommandLine& c, const ScenarioRunner& runner) {
    const navdata::AirportDatabase& db = runner.Database();
    std::vector<Scenario> scenarios;
    scenarios.reserve(std::size_t(c.randomFlights));
    if (c.flightGear) {
        // FlightGear: the Cessna's ranges, and only runways with terrain.
        const RandomFlightPool pool = OnInstalledTerrain(
            MakeRandomFlightPool(db, FlightGearRandomRanges()), runner.FlightGearTerrain());
        if (pool.airports.empty())
            throw ScenarioError(
                "FlightGear's scenery folders hold the terrain of no runway for "
                "random flights (" +
                std::to_string(runner.FlightGearTerrain().TileCount()) + " tiles installed)");
        if (!c.quiet)
            std::fprintf(
                stderr, "random flights of seed %llu: %d landing directions at %zu airports\n",
                static_cast<unsigned long long>(c.seed), pool.directions, pool.airports.size());
        for (int i : ShardFlights(c.randomFlights, c.shard))
            scenarios.push_back(DrawFlightGearFlight(db, pool, runner.Terrain(), c.seed, i));
        return scenarios;
    }
    RandomFleet fleet = StandInFleet(db);
    if (!c.aircraft.empty()) {
        // One aircraft alone: its members' flights keep their draws.
        std::erase_if(fleet.members, [&](const RandomFleet::Member& m) {
            return m.ranges.aircraft != c.aircraft;
        });
    }
    if (!c.quiet) {
        std::fprintf(stderr,
                     "random flights of seed %llu:", static_cast<unsigned long long>(c.seed));
        for (const RandomFleet::Member& m : fleet.members)
            std::fprintf(stderr, " %s %d landing directions at %zu airports;",
                         m.ranges.aircraft.c_str(), m.pool.directions, m.pool.airports.size());
        std::fprintf(stderr, "\n");
    }
    for (int i : ShardFlights(c.randomFlights, c.shard))
        scenarios.push_back(DrawFleetFlight(db, fleet, runner.Terrain(), c.seed, i));
    return scenarios;
}

// A flight whose process ended before it reported: an error naming how.
LandingReport LostFlight(const Scenario& s, const std::string& how) {
    LandingReport r;
    r.scenario = s.name;
    r.file = s.file;
    r.outcome = Outcome::Error;
    r.error = how;
    r.outcomeDetail = how;
    r.aircraft.id = AircraftOf(s, false);
    r.windFromDeg = s.windFromDeg;
    r.windSpeedKt = s.windSpeedKt;
    r.windGradient = s.windGradient;
    r.turbulence = sim::TurbulenceLevelName(s.turbulence);
    r.turbulenceSeed = s.turbulenceSeed;
    JudgeLanding(r);
    return r;
}

// --replay: a scenario's recorded commands flown on the stand-in, by the
// aircraft --aircraft names, else the scenario's stand-in aircraft, else the
// light single (FlightGear's Cessna's counterpart).
LandingReport Replay(const CommandLine& c, const ScenarioRunner& runner, const Scenario& s) {
    const std::string path = c.replayFolder + "/" + s.name + ".csv";
    sim::CommandTrace trace;
    try {
        trace = sim::ParseCommandTrace(ReadTextFile(path), path);
    } catch (const std::exception& e) {
        LandingReport r = LostFlight(s, e.what());
        r.aircraft.id = ReplayAircraftId(c.aircraft, trace, s);
        return r;
    }
    const std::string id = ReplayAircraftId(c.aircraft, trace, s);
    std::FILE* traceFile = nullptr;
    if (!c.traceFolder.empty()) {
        const std::string tracePath = c.traceFolder + "/" + s.name + ".csv";
        traceFile = std::fopen(tracePath.c_str(), "w");
        if (!traceFile)
            return LostFlight(s, tracePath + ": cannot be written");
    }
    LandingReport r = ReplayCommands(runner.Database(), runner.Terrain(), s, trace,
                                     *sim::StandInAircraft(id), traceFile, c.traceEverySteps);
    if (traceFile)
        std::fclose(traceFile);
    return r;
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw ScenarioError(path + ": cannot be written");
}

// The set's results from its reports: the summary, the table, the worst
// cases and the pictures, then the gates' verdict (the exit status).
int Conclude(const CommandLine& c, const std::vector<LandingReport>& reports, int failedWritten,
             const std::string& failedFolder, const std::string& desktopFolder) {
    const SetSummary summary = SummariseSet(reports);
    const std::vector<SetSummary> byAircraft = SummariseByAircraft(reports);
    std::string error;
    if (!WriteJsonFile(SummaryToJson(summary, byAircraft), c.reportsFolder + "/summary.json",
                       &error))
        throw ScenarioError(error);
    const std::string table = FormatTable(reports);
    WriteTextFile(c.reportsFolder + "/table.txt", table);
    constexpr std::size_t kLongSet = 100;
    if (reports.size() <= kLongSet)
        std::cout << table << "\n";
    else
        std::cout << "(the table of the " << reports.size() << " flights is in " << c.reportsFolder
                  << "/table.txt)\n\n";
    std::cout << FormatSummary(summary, byAircraft);
    if (reports.size() <= kLongSet) {
        const std::string failures = FormatFailures(reports);
        if (!failures.empty())
            std::cout << "\nLandings that are not good:\n" << failures;
    } else if (summary.good < summary.scenarios) {
        std::cout << "\nThe worst landings (of " << summary.scenarios - summary.good
                  << " not good):\n"
                  << FormatWorstCases(reports, 15);
    }
    if (failedWritten > 0)
        std::cout << "\n"
                  << failedWritten << " scenario files that fly them again: " << failedFolder
                  << "/\n";
#ifdef CORVANE_HARNESS_WITH_QT
    // The pictures are painted in this process (flights flown in processes
    // of their own made their own application).
    std::unique_ptr<QGuiApplication> qt;
    if (!QGuiApplication::instance())
        qt = MakeQtApplication(desktopFolder);
    const std::vector<std::string> pictures = WriteSetPictures(reports, c.reportsFolder, &error);
    if (pictures.empty())
        throw ScenarioError(error);
    std::cout << "pictures: " << c.reportsFolder
              << "/touchdown-dispersion.png, sink-rate.png, centre-line.png, touchdown-speed.png, "
                 "bounces.png\n";
#endif

#ifndef CORVANE_HARNESS_WITH_QT
    (void)desktopFolder;
#endif
    int status = 0;
    if (c.minSuccessRate && summary.successRate + 1e-12 < *c.minSuccessRate) {
        std::printf("\nFAILED: success rate %.1f %% is below the required %.1f %%\n",
                    100.0 * summary.successRate, 100.0 * *c.minSuccessRate);
        status = kExitBelowRate;
    }
    if (c.minRunwayRate && summary.runwaySuccessRate + 1e-12 < *c.minRunwayRate) {
        std::printf("\nFAILED: good by the runway limits %.1f %%, below the required %.1f %%\n",
                    100.0 * summary.runwaySuccessRate, 100.0 * *c.minRunwayRate);
        status = kExitBelowRate;
    }
    for (const CommandLine::PassGate& gate : c.minPass) {
        const SetSummary* of = &summary;
        if (!gate.aircraft.empty()) {
            of = nullptr;
            for (const SetSummary& a : byAircraft) {
                if (a.aircraftId == gate.aircraft)
                    of = &a;
            }
            if (of == nullptr) {
                std::printf("\nFAILED: %s:%s: no flight of the aircraft \"%s\" in the set\n",
                            gate.aircraft.c_str(), gate.limit.c_str(), gate.aircraft.c_str());
                status = kExitBelowRate;
                continue;
            }
        }
        const double met = PassRate(*of, *LimitNamed(gate.limit));
        if (met + 1e-12 < gate.rate) {
            const std::string name =
                gate.aircraft.empty() ? gate.limit : gate.aircraft + ":" + gate.limit;
            std::printf(
                "\nFAILED: %s met by %.1f %% of the scenarios, below the required %.1f %%\n",
                name.c_str(), 100.0 * met, 100.0 * gate.rate);
            status = kExitBelowRate;
        }
    }
    return status;
}

// --merge: the reports of several runs as the results of one.
int Merge(const CommandLine& c, const std::string& desktopFolder) {
    const MergedRuns merged = MergeRuns(c.mergeFolders);
    const std::string failedFolder = c.reportsFolder + "/failed";
    std::error_code error;
    std::filesystem::create_directories(c.reportsFolder, error);
    if (error)
        throw ScenarioError(c.reportsFolder + ": cannot make the folder: " + error.message());
    std::filesystem::remove_all(failedFolder, error);
    for (const LandingReport& r : merged.reports) {
        std::string written;
        if (!WriteJsonFile(ReportToJson(r), c.reportsFolder + "/" + r.scenario + ".json", &written))
            throw ScenarioError(written);
    }
    for (const std::string& file : merged.failedScenarioFiles) {
        std::filesystem::create_directories(failedFolder, error);
        std::filesystem::copy_file(
            file, failedFolder + "/" + std::filesystem::path(file).filename().string(),
            std::filesystem::copy_options::overwrite_existing, error);
        if (error)
            throw ScenarioError(file + ": cannot be copied to " + failedFolder + ": " +
                                error.message());
    }
    if (!c.quiet)
        std::fprintf(stderr, "merged %zu flights of %zu runs%s\n", merged.reports.size(),
                     c.mergeFolders.size(), merged.campaign ? " (the shards of one campaign)" : "");
    return Conclude(c, merged.reports, int(merged.failedScenarioFiles.size()), failedFolder,
                    desktopFolder);
}

int Run(const CommandLine& c, const std::string& desktopFolder) {
    if (!c.mergeFolders.empty())
        return Merge(c, desktopFolder);
    HarnessOptions options;
    options.dataFolder =
        c.dataFolder.empty() ? desktop::DataFolder(desktop::ProgramFolder()) : c.dataFolder;
    options.framesFolder = c.framesFolder;
    options.frameEveryS = c.frameEveryS;
    options.traceFolder = c.traceFolder;
    options.traceEverySteps = c.traceEverySteps;
    options.commandsFolder = c.commandsFolder;
    options.fineSteps = c.fineSteps;
    options.flightGear = c.flightGear;
    options.flightGearSpeedUp = c.speedUp;
    options.flightGearWindow = c.flightGearWindow;
    options.flightGearLogFolder = c.flightGear ? c.reportsFolder : std::string();
    options.flightGearScenery = c.flightGearScenery;

#ifdef CORVANE_HARNESS_WITH_QT
    std::unique_ptr<QGuiApplication> qt;
    const bool paint = c.draw || !c.framesFolder.empty();
    if (paint) {
        options.makeCanvas = [](int w, int h, int tx, int ty) -> std::unique_ptr<forms::Canvas> {
            return std::make_unique<qtui::ImageCanvas>(w, h, tx, ty);
        };
        options.writeFrame = [](const forms::Canvas& canvas, const std::string& path) {
            return headless::SaveCanvasPng(canvas, path);
        };
        // Parallel flights make their own in each process (Qt's application
        // object must not cross a fork).
        if (c.jobs == 1)
            qt = MakeQtApplication(desktopFolder);
    }
#else
    (void)desktopFolder;
    if (!c.framesFolder.empty())
        throw std::invalid_argument("--frames needs a build with Qt (CORVANE_BUILD_UI)");
#endif

    const std::string failedFolder = c.reportsFolder + "/failed";
    for (const std::string* folder :
         {&c.framesFolder, &c.traceFolder, &c.commandsFolder, &c.reportsFolder}) {
        std::error_code error;
        if (!folder->empty() && !std::filesystem::create_directories(*folder, error) && error)
            throw ScenarioError(*folder + ": cannot make the folder: " + error.message());
    }

    ScenarioRunner runner(options);
    if (!c.airportInfo.empty()) {
        ListAirport(runner, c.airportInfo);
        return 0;
    }
    const std::vector<Scenario> scenarios =
        c.randomFlights > 0 ? DrawRandomFlights(c, runner) : LoadScenarios(c);
    if (c.randomFlights > 0) {
        // Which campaign these flights are of, for --merge.
        CampaignRecord campaign;
        campaign.simulator = c.flightGear  ? "flightgear"
                             : c.fineSteps ? "stand-in, fine steps"
                                           : "stand-in";
        campaign.aircraft = c.aircraft;
        campaign.seed = c.seed;
        campaign.flights = c.randomFlights;
        campaign.shard = c.shard;
        const std::vector<int> flown = ShardFlights(c.randomFlights, c.shard);
        for (std::size_t i = 0; i < scenarios.size(); ++i)
            campaign.flown.push_back({flown[i], scenarios[i].name});
        WriteTextFile(c.reportsFolder + "/" + kCampaignFileName, CampaignToJsonText(campaign));
    }
    if (c.flightGear && c.speedUp != 1.0 && !c.quiet)
        std::fprintf(stderr,
                     "corvane-harness: warning: FlightGear at --speed-up %g does not fly the "
                     "flights it flies in real time (its engine, started in the air, runs late "
                     "or not at all, and the loops lose the aircraft): see docs/flightgear.md\n",
                     c.speedUp);

    std::vector<LandingReport> reports(scenarios.size());
    // --repeat-for flies the set again and again (a soak run); each pass
    // replaces the last one's reports.
    const auto started = std::chrono::steady_clock::now();
    const auto repeatUntil =
        started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                      std::chrono::duration<double, std::ratio<60>>(c.repeatForMinutes));
    for (int pass = 1;; ++pass) {
        if (c.repeatForMinutes > 0 && !c.quiet)
            std::fprintf(stderr, "pass %d\n", pass);
        // Earlier runs' failed flights are not this run's.
        {
            std::error_code ignored;
            std::filesystem::remove_all(failedFolder, ignored);
        }

        int finished = 0;
        progress::ProgressBar bar(stderr, long(scenarios.size()), !c.quiet);
        // Every report passes through its JSON form, as the parallel run's do, so
        // the summary is the same however many processes flew the set.
        auto take = [&](int i, const std::string& jsonText, const std::string& lost) {
            const Scenario& s = scenarios[std::size_t(i)];
            LandingReport report = lost.empty() ? ReportFromJson(nlohmann::json::parse(jsonText))
                                                : LostFlight(s, lost);
            ++finished;
            char line[512];
            std::snprintf(line, sizeof line, "[%d/%zu] %s: %s%s, %.0f s flown, %s left", finished,
                          scenarios.size(), s.name.c_str(), OutcomeName(report.outcome),
                          report.good ? " (good)" : "", report.flightTimeS,
                          bar.TimeLeft(long(finished)).c_str());
            bar.Print(line);
            if (bar.IsTerminal())
                bar.Update(long(finished), s.name);
            const nlohmann::ordered_json json = ReportToJson(report);
            std::string error;
            if (!WriteJsonFile(json, c.reportsFolder + "/" + s.name + ".json", &error))
                throw ScenarioError(error);
            if (c.json)
                std::cout << json.dump(2) << "\n";
            reports[std::size_t(i)] = std::move(report);
        };
        auto fly = [&](int i) {
            const Scenario& s = scenarios[std::size_t(i)];
            if (c.replayFolder.empty())
                return ReportToJson(runner.Run(s)).dump();
            return ReportToJson(Replay(c, runner, s)).dump();
        };

        if (c.jobs <= 1 || scenarios.size() < 2) {
            for (std::size_t i = 0; i < scenarios.size(); ++i)
                take(static_cast<int>(i), fly(static_cast<int>(i)), std::string());
        } else {
            std::unique_ptr<PrivateDesktop> childDesktop;
#ifdef CORVANE_HARNESS_WITH_QT
            std::unique_ptr<QGuiApplication> childQt;
#endif
            ParallelRunHooks hooks;
            hooks.setUpChild = [&] {
                // A desktop folder of the process's own: no other process's
                // simulator window can answer its program.
                childDesktop = std::make_unique<PrivateDesktop>();
#ifdef CORVANE_HARNESS_WITH_QT
                if (paint)
                    childQt = MakeQtApplication(childDesktop->Path());
#endif
            };
            hooks.tearDownChild = [&] {
#ifdef CORVANE_HARNESS_WITH_QT
                childQt.reset();
#endif
                childDesktop.reset();
            };
            hooks.fly = fly;
            hooks.done = take;
            RunInProcesses(static_cast<int>(scenarios.size()), c.jobs, hooks);
        }

        bar.Finish();
        if (std::chrono::steady_clock::now() >= repeatUntil) {
            if (c.repeatForMinutes > 0)
                std::printf("passes flown: %d of %zu flights each\n", pass, scenarios.size());
            break;
        }
    }

    // Every landing that is not good, as a scenario that flies it again.
    int failedWritten = 0;
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        if (reports[i].good)
            continue;
        std::error_code error;
        std::filesystem::create_directories(failedFolder, error);
        WriteTextFile(failedFolder + "/" + scenarios[i].name + ".json",
                      ScenarioToJsonText(scenarios[i]));
        ++failedWritten;
    }

    return Conclude(c, reports, failedWritten, failedFolder, desktopFolder);
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine c;
    try {
        c = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "corvane-harness: %s\n", e.what());
        return kExitBadInput;
    }
    if (c.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        PrivateDesktop desktop;
        return Run(c, desktop.Path());
    } catch (const navdata::NavDataError& e) {
        std::fprintf(stderr, "corvane-harness: %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "corvane-harness: %s\n", e.what());
    }
    return kExitBadInput;
}
