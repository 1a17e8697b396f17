// SPDX-License-Identifier: MIT
#include "tools/harness/CommandLine.h"

#include <cmath>
#include <stdexcept>

#include "sim/physics/Aircraft.h"
#include "tools/harness/LandingReport.h"

namespace corvane::harness {

const char* const kUsage =
    R"(Usage: corvane-harness [options] SCENARIO.json|FOLDER...
       corvane-harness [options] --random N [--seed S] [--shard K/M]
       corvane-harness [options] --merge DIR... [--reports OUT]

Flies each scenario with the whole Corvane program on a headless host against
the stand-in simulator in the same process and virtual time, as a pilot would
use it (search, airport, "Fly there", landing direction, cruise height), and
measures the landing. Folders are searched for *.json scenarios. Prints a
table of the landings and a summary with the success rate and its 95 % lower
confidence bound; writes a JSON report per scenario, every landing that is not
good as a scenario file that flies it again (failed/), and pictures of the
set (touchdown dispersion, sink-rate and centre-line histograms, PNG).

Options:
  --random N              fly N flights drawn from the world database: any
                          airport with a paved runway of 6,500 ft or more,
                          either direction, 10-80 nm out, 3,000-15,000 ft
                          above the airport, surface wind up to 25 kt (15 kt
                          across, 10 kt behind) growing with height,
                          turbulence none to moderate
  --seed S                the random flights' seed, a whole number (default
                          1): the same seed draws the same flights
  --shard K/M             fly only the flights K, K+M, K+2M, ... of the
                          campaign --random N --seed S flies (the same names
                          and draws); its reports folder says which campaign
                          and shard they are (campaign.json)
  --merge DIR...          fly nothing: read the reports of the runs in the
                          folders (the shards of one campaign, or any runs of
                          scenario files) and write the summary, table.txt,
                          the failed flights' scenarios and the pictures into
                          --reports as one run of them all would; refuses
                          shards of different campaigns, flights or shards
                          missing and flights flown twice
  --aircraft ID           the stand-in's aircraft that flies: twin or single;
                          random flights are then drawn for it alone (the
                          same flights it draws among both), scenario files
                          are flown by it whatever they name (default: random
                          flights draw both, half each; a scenario names its
                          own, else the twin)
  -j J, --jobs J          fly J flights at once in separate processes
                          (default 1)
  --data DIR              the program's folder with airdata.tri and COAST2.int
                          (default: the folder corvane-harness lies in, or
                          /usr/share/corvane when installed)
  --reports DIR           folder for the reports <scenario>.json and
                          summary.json (default: harness-reports)
  --json                  also print each report's JSON on standard output
  --frames DIR            save the map (Picture1) as PNG every --frame-every
                          seconds into DIR/<scenario>/
  --frame-every SECONDS   virtual seconds between frames (default 10)
  --no-draw               run the map cycle on canvases that paint no pixels
                          (about three times as fast; the same flights).
                          Builds without Qt never paint.
  --trace DIR             write each flight's trace as DIR/<scenario>.csv
  --trace-every STEPS     simulator steps between trace lines (default 10);
                          steps with events are always written. A step is
                          20 ms, and 150 ms more than 500 ft above the
                          ground
  --fine-steps            the stand-in steps 20 ms at every height (about
                          70 % more CPU; the same flights within the
                          integration's error, not bit for bit)
  --commands DIR          write the program's commands of each flight as
                          DIR/<scenario>.csv (every input of the variable
                          space, a line at each change)
  --replay DIR            instead of the program, fly the commands of
                          DIR/<scenario>.csv on the stand-in from the state
                          they were recorded at (FlightGear's Cessna's flights
                          by the light single), and measure the landing
  --tag TAG               only scenarios carrying TAG (may be repeated)
  --min-success-rate R    exit with status 1 when the share of landings good
                          by every limit is below R (0 to 1)
  --min-runway-rate R     the same for landings good by the six runway limits
  --min-pass [AIRCRAFT:]LIMIT=R
                          exit with status 1 when the share of scenarios (of
                          AIRCRAFT's, when given: twin, single, c172p) that
                          meet LIMIT is below R (may be repeated); limits:
                          touchdownZone, centreLine, sinkRate, noCrash,
                          stoppedOnRunway, handedBack (the runway limits),
                          noBounce, mainWheelsFirst, touchdownSpeed,
                          flapSpeeds, touchdownLoad, gentleSink, stabilised
  --repeat-for MINUTES    fly the scenario set again and again in this one
                          process until MINUTES of wall time have passed
                          (soak runs); the reports and table are those of
                          the last pass
  --simulator NAME        stand-in (default) or flightgear: FlightGear (the
                          Cessna 172P, started on a virtual screen) flies
                          instead, in real time times --speed-up; with -j,
                          one FlightGear per process. Its --random flights
                          go only to runways whose terrain is installed
                          (paved, 3,000 ft or more) and start 6-15 nm out
                          on the final's 3 degree path at 85-100 kt, the
                          wind as above
  --speed-up N            FlightGear's simulated seconds per second, 1 to 4
                          (default 1); 2 and 4 do not fly the flights 1
                          does (docs/flightgear.md)
  --fg-window             FlightGear shows its own window
  --fg-scenery DIR        a scenery folder FlightGear reads besides
                          $FG_SCENERY, ~/.fgfs/TerraSync and its own (may
                          be repeated)
  --airport ICAO          list the airport's landing directions and stop
  --quiet                 no progress lines on standard error
  --help                  this text

Exit status: 0 done; 1 a rate is below its --min-success-rate,
--min-runway-rate or --min-pass; 2 bad
command line, unreadable scenario or data file.
)";

namespace {

double NumberArg(const std::string& option, const std::string& text, double lo, double hi) {
    std::size_t used = 0;
    double value = 0.0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !std::isfinite(value) || value < lo || value > hi) {
        throw std::invalid_argument(option + " needs a number from " + std::to_string(lo) + " to " +
                                    std::to_string(hi) + ", not \"" + text + "\"");
    }
    return value;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    bool seedGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            c.help = true;
        } else if (a == "--data") {
            c.dataFolder = value();
        } else if (a == "--reports") {
            c.reportsFolder = value();
        } else if (a == "--json") {
            c.json = true;
        } else if (a == "--frames") {
            c.framesFolder = value();
        } else if (a == "--frame-every") {
            c.frameEveryS = NumberArg(a, value(), 0.1, 3600.0);
        } else if (a == "--no-draw") {
            c.draw = false;
        } else if (a == "--fine-steps") {
            c.fineSteps = true;
        } else if (a == "--trace") {
            c.traceFolder = value();
        } else if (a == "--trace-every") {
            c.traceEverySteps = static_cast<int>(NumberArg(a, value(), 1, 100000));
        } else if (a == "--commands") {
            c.commandsFolder = value();
        } else if (a == "--replay") {
            c.replayFolder = value();
        } else if (a == "--tag") {
            c.tags.push_back(value());
        } else if (a == "--min-success-rate") {
            c.minSuccessRate = NumberArg(a, value(), 0.0, 1.0);
        } else if (a == "--aircraft") {
            c.aircraft = value();
            if (!sim::StandInAircraft(c.aircraft))
                throw std::invalid_argument("--aircraft takes twin or single, not \"" + c.aircraft +
                                            "\"");
        } else if (a == "--min-runway-rate") {
            c.minRunwayRate = NumberArg(a, value(), 0.0, 1.0);
        } else if (a == "--min-pass") {
            const std::string& v = value();
            const std::size_t eq = v.find('=');
            if (eq == std::string::npos || eq == 0)
                throw std::invalid_argument("--min-pass needs [AIRCRAFT:]LIMIT=RATE, not \"" + v +
                                            "\"");
            CommandLine::PassGate gate;
            std::string limit = v.substr(0, eq);
            if (const std::size_t colon = limit.find(':'); colon != std::string::npos) {
                gate.aircraft = limit.substr(0, colon);
                limit = limit.substr(colon + 1);
                if (gate.aircraft.empty())
                    throw std::invalid_argument("--min-pass: an empty aircraft in \"" + v + "\"");
            }
            if (!LimitNamed(limit))
                throw std::invalid_argument("--min-pass: no limit is called \"" + limit + "\"");
            gate.limit = limit;
            gate.rate = NumberArg("--min-pass", v.substr(eq + 1), 0.0, 1.0);
            c.minPass.push_back(gate);
        } else if (a == "--repeat-for") {
            c.repeatForMinutes = NumberArg(a, value(), 0.0, 7.0 * 24 * 60);
        } else if (a == "--airport") {
            c.airportInfo = value();
        } else if (a == "--shard") {
            c.shard = ParseShard(value());
        } else if (a == "--merge") {
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                c.mergeFolders.push_back(args[++i]);
            if (c.mergeFolders.empty())
                throw std::invalid_argument("--merge needs the reports folders to merge");
        } else if (a == "--random") {
            c.randomFlights = static_cast<int>(NumberArg(a, value(), 1, 1000000));
            if (c.randomFlights != std::stod(args[i]))
                throw std::invalid_argument("--random needs a whole number of flights");
        } else if (a == "--seed") {
            const std::string& v = value();
            if (v.empty() || v.size() > 19 ||
                v.find_first_not_of("0123456789") != std::string::npos)
                throw std::invalid_argument("--seed needs a whole number from 0, not \"" + v +
                                            "\"");
            c.seed = std::stoull(v);
            seedGiven = true;
        } else if (a == "-j" || a == "--jobs" ||
                   (a.rfind("-j", 0) == 0 && a.size() > 2 &&
                    a.find_first_not_of("0123456789", 2) == std::string::npos)) {
            const std::string v = a.size() > 2 && a[1] == 'j' ? a.substr(2) : value();
            c.jobs = static_cast<int>(NumberArg("-j", v, 1, 64));
            if (c.jobs != std::stod(v))
                throw std::invalid_argument("-j needs a whole number of processes");
        } else if (a == "--simulator") {
            const std::string& v = value();
            if (v == "flightgear")
                c.flightGear = true;
            else if (v != "stand-in" && v != "standin")
                throw std::invalid_argument("--simulator takes stand-in or flightgear, not \"" + v +
                                            "\"");
        } else if (a == "--speed-up") {
            c.speedUp = NumberArg(a, value(), 1.0, 4.0);
        } else if (a == "--fg-window") {
            c.flightGearWindow = true;
        } else if (a == "--fg-scenery") {
            c.flightGearScenery.push_back(value());
        } else if (a == "--quiet") {
            c.quiet = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw std::invalid_argument("unknown option " + a + " (see --help)");
        } else {
            c.inputs.push_back(a);
        }
    }
    if (c.randomFlights > 0 && !c.inputs.empty())
        throw std::invalid_argument("--random draws its own flights: leave out the scenarios");
    if (seedGiven && c.randomFlights == 0)
        throw std::invalid_argument("--seed needs --random");
    if (!c.flightGear && (c.speedUp != 1.0 || c.flightGearWindow || !c.flightGearScenery.empty()))
        throw std::invalid_argument(
            "--speed-up, --fg-window and --fg-scenery need --simulator flightgear");
    if (c.flightGear && !c.aircraft.empty())
        throw std::invalid_argument(
            "--aircraft chooses the stand-in's aircraft; FlightGear flies its Cessna 172P");
    if (!c.replayFolder.empty() && (c.flightGear || c.randomFlights > 0 || c.jobs > 1))
        throw std::invalid_argument(
            "--replay flies scenario files' recorded commands on the stand-in, one at a time");
    if (c.shard.count > 1 && c.randomFlights == 0)
        throw std::invalid_argument("--shard splits a campaign of --random flights");
    if (!c.mergeFolders.empty() && (c.randomFlights > 0 || !c.inputs.empty()))
        throw std::invalid_argument("--merge flies nothing: no scenarios or --random with it");
    if (c.randomFlights > 0 && !c.tags.empty())
        throw std::invalid_argument("--tag chooses among scenario files, not random flights");
    if (!c.help && c.airportInfo.empty() && c.inputs.empty() && c.randomFlights == 0 &&
        c.mergeFolders.empty())
        throw std::invalid_argument("no scenario given (see --help)");
    return c;
}

}  // namespace corvane::harness
