// SPDX-License-Identifier: MIT
//
// corvane-harness: flies scenarios with the whole program against the
// in-process stand-in simulator and measures every landing.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/navdata/NavDataError.h"
#include "platform/posix/ProgramFolder.h"
#include "sim/inprocess/AirportLookup.h"
#include "tools/harness/CommandLine.h"
#include "tools/harness/ReportJson.h"
#include "tools/harness/ScenarioRunner.h"
#include "tools/harness/SetSummary.h"
#include "tools/progress/ProgressBar.h"

#ifdef CORVANE_HARNESS_WITH_QT
#include <QGuiApplication>

#include "platform/headless/Snapshot.h"
#include "platform/qt/ImageCanvas.h"
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

int Run(const CommandLine& c, const std::string& desktopFolder) {
    HarnessOptions options;
    options.dataFolder =
        c.dataFolder.empty() ? desktop::DataFolder(desktop::ProgramFolder()) : c.dataFolder;
    options.framesFolder = c.framesFolder;
    options.frameEveryS = c.frameEveryS;
    options.traceFolder = c.traceFolder;
    options.traceEverySteps = c.traceEverySteps;

#ifdef CORVANE_HARNESS_WITH_QT
    std::unique_ptr<QGuiApplication> qt;
    if (c.draw || !c.framesFolder.empty()) {
        // The image canvases measure text with Qt's fonts; the offscreen
        // platform needs no display.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); !runtime || !*runtime)
            ::setenv("XDG_RUNTIME_DIR", desktopFolder.c_str(), 1);
        static int qtArgc = 1;
        static char qtName[] = "corvane-harness";
        static char* qtArgv[] = {qtName, nullptr};
        qt = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
        options.makeCanvas = [](int w, int h, int tx, int ty) -> std::unique_ptr<forms::Canvas> {
            return std::make_unique<qtui::ImageCanvas>(w, h, tx, ty);
        };
        options.writeFrame = [](const forms::Canvas& canvas, const std::string& path) {
            return headless::SaveCanvasPng(canvas, path);
        };
    }
#else
    (void)desktopFolder;
    if (!c.framesFolder.empty())
        throw std::invalid_argument("--frames needs a build with Qt (CORVANE_BUILD_UI)");
#endif

    for (const std::string* folder : {&c.framesFolder, &c.traceFolder, &c.reportsFolder}) {
        std::error_code error;
        if (!folder->empty() && !std::filesystem::create_directories(*folder, error) && error)
            throw ScenarioError(*folder + ": cannot make the folder: " + error.message());
    }

    ScenarioRunner runner(options);
    if (!c.airportInfo.empty()) {
        ListAirport(runner, c.airportInfo);
        return 0;
    }
    const std::vector<Scenario> scenarios = LoadScenarios(c);

    std::vector<LandingReport> reports;
    progress::ProgressBar bar(stderr, long(scenarios.size()), !c.quiet);
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        const Scenario& s = scenarios[i];
        if (bar.IsTerminal())
            bar.Update(long(i), s.name);
        LandingReport report = runner.Run(s);
        char line[512];
        std::snprintf(line, sizeof line, "[%zu/%zu] %s: %s%s, %.0f s flown in %.1f s, %s left",
                      i + 1, scenarios.size(), s.name.c_str(), OutcomeName(report.outcome),
                      report.good ? " (good)" : "", report.flightTimeS, report.wallTimeS,
                      bar.TimeLeft(long(i + 1)).c_str());
        bar.Print(line);
        const nlohmann::ordered_json json = ReportToJson(report);
        std::string error;
        if (!WriteJsonFile(json, c.reportsFolder + "/" + s.name + ".json", &error))
            throw ScenarioError(error);
        if (c.json)
            std::cout << json.dump(2) << "\n";
        reports.push_back(std::move(report));
    }

    bar.Finish();
    const SetSummary summary = SummariseSet(reports);
    std::string error;
    if (!WriteJsonFile(SummaryToJson(summary), c.reportsFolder + "/summary.json", &error))
        throw ScenarioError(error);
    std::cout << FormatTable(reports) << "\n" << FormatSummary(summary);
    const std::string failures = FormatFailures(reports);
    if (!failures.empty())
        std::cout << "\nLandings that are not good:\n" << failures;
    int status = 0;
    if (c.minSuccessRate && summary.successRate + 1e-12 < *c.minSuccessRate) {
        std::printf("\nFAILED: success rate %.1f %% is below the required %.1f %%\n",
                    100.0 * summary.successRate, 100.0 * *c.minSuccessRate);
        status = kExitBelowRate;
    }
    for (const auto& [name, rate] : c.minPass) {
        const double met = PassRate(summary, *LimitNamed(name));
        if (met + 1e-12 < rate) {
            std::printf(
                "\nFAILED: %s met by %.1f %% of the scenarios, below the required %.1f %%\n",
                name.c_str(), 100.0 * met, 100.0 * rate);
            status = kExitBelowRate;
        }
    }
    return status;
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
