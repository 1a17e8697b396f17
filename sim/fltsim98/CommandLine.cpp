// SPDX-License-Identifier: MIT
#include "sim/fltsim98/CommandLine.h"

#include "sim/flightgear/Launch.h"
#include "sim/physics/Aircraft.h"

#include <cmath>
#include <cstdlib>
#include <functional>

namespace corvane::sim {
namespace {

bool ParseNumber(const std::string& text, double* value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

ParseResult Fail(const std::string& message) {
    return ParseResult{false, 2, "fltsim98.exe: " + message + " (see --help)"};
}

// "READINGS:COMMANDS", two UDP ports.
bool ParsePorts(const std::string& text, int* readings, int* commands) {
    const std::size_t at = text.find(':');
    double r = 0.0;
    double c = 0.0;
    if (at == std::string::npos || !ParseNumber(text.substr(0, at), &r) ||
        !ParseNumber(text.substr(at + 1), &c) || r < 1 || r > 65535 || c < 1 || c > 65535 ||
        r != std::floor(r) || c != std::floor(c) || r == c)
        return false;
    *readings = static_cast<int>(r);
    *commands = static_cast<int>(c);
    return true;
}

}  // namespace

std::string HelpText() {
    return "Usage: fltsim98.exe [options]\n"
           "The stand-in flight simulator: an aircraft that flies, behind the window\n"
           "\"Microsoft Flight Simulator 98\" (class FS98MAIN) on the desktop, serving the\n"
           "FS6IPC link through modules/FS6IPC.dll beside this program.\n"
           "\n"
           "Where the aircraft starts (default: in the air at the position below):\n"
           "  --airport ICAO     on the ground at a runway threshold of this airport\n"
           "  --runway NAME      that runway direction, e.g. 27L or 9 (default: the longest,\n"
           "                     into the wind)\n"
           "  --final NM         on final instead, NM nautical miles out on a 3 degree path,\n"
           "                     130 kt, gear down, half flaps (0.5 to 30)\n"
           "  --lat DEG          latitude, degrees north (default 51.4775)\n"
           "  --lon DEG          longitude, degrees east (default -0.4614)\n"
           "  --alt FT           altitude above sea level, feet (default 3000)\n"
           "  --heading DEG      true heading, degrees (default 90)\n"
           "  --speed KT         true airspeed, knots, 60 to 400 (default 200)\n"
           "\n"
           "Simulation:\n"
           "  --aircraft ID      the stand-in's aircraft: twin (a twin turboprop, the\n"
           "                     default) or single (a light single with a fixed gear)\n"
           "  --wind DIR/KT      wind from DIR degrees true at KT knots at the surface,\n"
           "                     e.g. 250/12; the same at every height unless\n"
           "  --wind-gradient    the wind grows with the height above the ground (1/7\n"
           "                     power law from 10 m to 2000 ft, there 1.8 times the\n"
           "                     surface wind; constant above)\n"
           "  --turbulence LEVEL none, light or moderate (Dryden-type gusts; default none)\n"
           "  --turbulence-seed N  the gusts' seed, a whole number from 0 (default 1): the\n"
           "                     same seed gives the same gusts\n"
           "  --rate N           simulated seconds per second, above 0 and up to 1000\n"
           "                     (default 1)\n"
           "  --paused           start paused (the link's pause variable releases it)\n"
           "  --no-crash-detection  start with crash detection off\n"
           "  --data PATH        the airport database airdata.tri (or its folder) for the\n"
           "                     terrain and --airport; default: beside this program, then\n"
           "                     ../bin/ (the build's layout), then share/corvane/ above\n"
           "                     (installed); without it the ground is at sea level\n"
           "  --log FILE         write a CSV trace: one line per step, with stage events\n"
           "                     such as touchdown and crash\n"
           "\n"
           "FlightGear (the aircraft flown by FlightGear instead of the stand-in's model):\n"
           "  --backend NAME     stand-in (default) or flightgear: starts FlightGear with\n"
           "                     the Cessna 172P where the options above place it (an\n"
           "                     air start, a runway, or --final on a 3 degree path) and\n"
           "                     keeps the variables in step with it 30 times a second\n"
           "  --fgfs PATH        FlightGear's program (default: fgfs on the PATH)\n"
           "  --fg-window        FlightGear shows its own window (default: it runs on a\n"
           "                     virtual screen, drawing nothing it need not)\n"
           "  --fg-attach R:C    use a FlightGear that already runs (started from its\n"
           "                     launcher with the options --fg-options prints), sending\n"
           "                     its readings to port R and reading controls on port C;\n"
           "                     waits up to 10 minutes for its first readings, taken\n"
           "                     only from a program named fgfs of this user\n"
           "  --fg-options[=R:C] print the options to paste into FlightGear's launcher\n"
           "                     (Settings, Additional Settings) for --fg-attach R:C\n"
           "                     (default 5500:5501), write the protocol file they name\n"
           "                     (corvane.xml, in ~/.local/share/corvane/flightgear/\n"
           "                     Protocol) and end\n"
           "  --fg-log FILE      FlightGear's output (default: fgfs.log in\n"
           "                     ~/.cache/corvane/flightgear)\n"
           "  --fg-option OPT    pass OPT to fgfs, e.g. --fg-option=--geometry=800x600\n"
           "                     (may be repeated)\n"
           "\n"
           "Process:\n"
           "  --headless         no window on the screen (the window is still published on\n"
           "                     the desktop, so the link works)\n"
           "  --ask-before-close[=ask|accept|refuse]\n"
           "                     answer a close request by asking first; accept and refuse\n"
           "                     script the answer (without a window, plain ask refuses)\n"
           "  --install          register this program as the flight simulator (registry\n"
           "                     entry \"Software\\CLASSES\\flight simulator\", value\n"
           "                     \"defaulticon\" = this program's path followed by \",1\"),\n"
           "                     then run\n"
           "  --screenshot FILE  with a window: save it as a PNG image after a second\n"
           "  --help             show this text\n"
           "\n"
           "The desktop directory is $CORVANE_DESKTOP, else $XDG_RUNTIME_DIR/corvane-desktop;\n"
           "the registry file is $CORVANE_REGISTRY, else ~/.config/corvane/registry.ini.\n"
           "Ctrl+C or a close request of the window ends the simulator.\n";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args, CommandLine* out) {
    CommandLine c;
    bool airGiven = false;
    bool runwayGiven = false;
    bool aircraftGiven = false;
    bool finalGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        // Takes the option's value from "--name=value" or the next argument.
        auto take = [&](std::string* text) {
            if (hasValue) {
                *text = value;
            } else if (i + 1 < args.size()) {
                *text = args[++i];
            } else {
                return false;
            }
            return !text->empty();
        };
        auto number = [&](double* target, double low, double high, const char* what) {
            std::string text;
            double v = 0.0;
            if (!take(&text) || !ParseNumber(text, &v)) {
                return Fail(name + " needs " + what);
            }
            if (v < low || v > high)
                return Fail(name + " " + text + " is out of range");
            *target = v;
            return ParseResult{true, 0, ""};
        };
        auto flag = [&]() {
            return hasValue ? Fail(name + " takes no value") : ParseResult{true, 0, ""};
        };

        ParseResult r{true, 0, ""};
        if (name == "--help" || name == "-h") {
            return ParseResult{false, 0, HelpText()};
        } else if (name == "--headless") {
            r = flag();
            c.headless = true;
        } else if (name == "--install") {
            r = flag();
            c.install = true;
        } else if (name == "--paused") {
            r = flag();
            c.paused = true;
        } else if (name == "--no-crash-detection") {
            r = flag();
            c.crashDetection = false;
        } else if (name == "--lat") {
            r = number(&c.latitudeDeg, -90.0, 90.0, "degrees north");
            airGiven = true;
        } else if (name == "--lon") {
            r = number(&c.longitudeDeg, -180.0, 180.0, "degrees east");
            airGiven = true;
        } else if (name == "--alt") {
            r = number(&c.altitudeFt, -1000.0, 60000.0, "feet");
            airGiven = true;
        } else if (name == "--heading") {
            r = number(&c.headingTrueDeg, -360.0, 720.0, "degrees");
            c.headingTrueDeg = std::fmod(std::fmod(c.headingTrueDeg, 360.0) + 360.0, 360.0);
            airGiven = true;
        } else if (name == "--speed") {
            r = number(&c.speedKt, 60.0, 400.0, "knots");
            airGiven = true;
        } else if (name == "--airport") {
            if (!take(&c.airportIcao))
                return Fail("--airport needs an ICAO code");
        } else if (name == "--runway") {
            if (!take(&c.runway))
                return Fail("--runway needs a runway, e.g. 27L");
            runwayGiven = true;
        } else if (name == "--final") {
            r = number(&c.finalNm, 0.5, 30.0, "nautical miles");
            finalGiven = true;
        } else if (name == "--aircraft") {
            if (!take(&c.aircraft))
                return Fail("--aircraft needs twin or single");
            if (!StandInAircraft(c.aircraft))
                return Fail("--aircraft takes twin or single, not " + c.aircraft);
            aircraftGiven = true;
        } else if (name == "--rate") {
            r = number(&c.rate, 1e-3, 1000.0, "a factor");
            if (r.run && !(c.rate > 0.0))
                return Fail("--rate must be above 0");
        } else if (name == "--wind") {
            std::string text;
            if (!take(&text))
                return Fail("--wind needs DIR/KT, e.g. 250/12");
            const std::size_t slash = text.find('/');
            double dir = 0.0;
            double kt = 0.0;
            if (slash == std::string::npos || !ParseNumber(text.substr(0, slash), &dir) ||
                !ParseNumber(text.substr(slash + 1), &kt)) {
                return Fail("--wind needs DIR/KT, e.g. 250/12, not " + text);
            }
            if (dir < 0.0 || dir > 360.0 || kt < 0.0 || kt > 150.0) {
                return Fail("--wind " + text + " is out of range (0-360 degrees, 0-150 kt)");
            }
            c.windFromDeg = dir;
            c.windSpeedKt = kt;
        } else if (name == "--wind-gradient") {
            r = flag();
            c.windGradient = true;
        } else if (name == "--turbulence") {
            std::string text;
            if (!take(&text) || !ParseTurbulenceLevel(text.c_str(), c.turbulence))
                return Fail("--turbulence needs none, light or moderate");
        } else if (name == "--turbulence-seed") {
            std::string text;
            if (!take(&text) || text.find_first_not_of("0123456789") != std::string::npos ||
                text.size() > 19)
                return Fail("--turbulence-seed needs a whole number from 0");
            c.turbulenceSeed = std::stoull(text);
        } else if (name == "--backend") {
            std::string text;
            if (!take(&text))
                return Fail("--backend needs stand-in or flightgear");
            if (text == "stand-in" || text == "standin") {
                c.backend = Backend::StandIn;
            } else if (text == "flightgear") {
                c.backend = Backend::FlightGear;
            } else {
                return Fail("--backend takes stand-in or flightgear, not " + text);
            }
        } else if (name == "--fgfs") {
            if (!take(&c.fgfsPath))
                return Fail("--fgfs needs FlightGear's program");
        } else if (name == "--fg-window") {
            r = flag();
            c.fgWindow = true;
        } else if (name == "--fg-option") {
            std::string text;
            if (!take(&text))
                return Fail("--fg-option needs an option for fgfs");
            c.fgOptions.push_back(text);
        } else if (name == "--fg-log") {
            if (!take(&c.fgLogPath))
                return Fail("--fg-log needs a file name");
        } else if (name == "--fg-attach") {
            std::string text;
            if (!take(&text))
                return Fail("--fg-attach needs READINGS:COMMANDS ports, e.g. 5500:5501");
            if (!ParsePorts(text, &c.fgAttachReadingsPort, &c.fgAttachCommandsPort)) {
                return Fail(
                    "--fg-attach needs two different READINGS:COMMANDS ports from 1 to 65535, "
                    "not " +
                    text);
            }
        } else if (name == "--fg-options") {
            c.printFgOptions = true;
            c.fgOptionsReadingsPort = flightgear::kDefaultReadingsPort;
            c.fgOptionsCommandsPort = flightgear::kDefaultCommandsPort;
            if (hasValue &&
                !ParsePorts(value, &c.fgOptionsReadingsPort, &c.fgOptionsCommandsPort)) {
                return Fail(
                    "--fg-options takes two different READINGS:COMMANDS ports from 1 to 65535, "
                    "not " +
                    value);
            }
        } else if (name == "--log") {
            if (!take(&c.logPath))
                return Fail("--log needs a file name");
        } else if (name == "--data") {
            if (!take(&c.dataPath))
                return Fail("--data needs the path of airdata.tri");
        } else if (name == "--screenshot") {
            if (!take(&c.screenshotPath))
                return Fail("--screenshot needs a file name");
        } else if (name == "--ask-before-close") {
            if (!hasValue || value == "ask") {
                c.closeAnswer = CloseAnswer::Ask;
            } else if (value == "accept" || value == "yes") {
                c.closeAnswer = CloseAnswer::Accept;
            } else if (value == "refuse" || value == "no") {
                c.closeAnswer = CloseAnswer::Refuse;
            } else {
                return Fail("--ask-before-close takes ask, accept or refuse, not " + value);
            }
        } else {
            return Fail("unknown option " + args[i]);
        }
        if (!r.run)
            return r;
    }

    if (c.printFgOptions && args.size() != 1)
        return Fail("--fg-options prints FlightGear's options and ends: give it alone");
    const bool fgOptions =
        c.fgWindow || c.fgAttachReadingsPort != 0 || !c.fgLogPath.empty() || !c.fgOptions.empty();
    if (fgOptions && c.backend != Backend::FlightGear) {
        return Fail("--fg-window, --fg-attach, --fg-log and --fg-option need --backend flightgear");
    }
    if (aircraftGiven && c.backend == Backend::FlightGear) {
        return Fail("--aircraft chooses the stand-in's aircraft; FlightGear flies its Cessna 172P");
    }
    if (c.headless && !c.screenshotPath.empty()) {
        return Fail("--screenshot needs the window; leave out --headless");
    }
    if (!c.airportIcao.empty()) {
        if (airGiven) {
            return Fail(
                "--airport places the aircraft itself; leave out --lat, --lon, --alt, "
                "--heading and --speed");
        }
        c.start = finalGiven ? StartKind::OnFinal : StartKind::OnRunway;
    } else if (runwayGiven || finalGiven) {
        return Fail(std::string(runwayGiven ? "--runway" : "--final") + " needs --airport");
    }
    *out = c;
    return ParseResult{true, 0, ""};
}

}  // namespace corvane::sim
