// SPDX-License-Identifier: MIT
#include "sim/trace/CommandTrace.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace corvane::sim {

namespace {

// Column order of a line after the time.
constexpr int kColumns = 25;

std::vector<double> Numbers(const std::string& line, std::size_t from, bool* ok) {
    std::vector<double> out;
    std::size_t i = from;
    *ok = true;
    while (i <= line.size()) {
        const std::size_t comma = line.find(',', i);
        const std::string cell =
            line.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
        char* end = nullptr;
        const double v = std::strtod(cell.c_str(), &end);
        if (cell.empty() || end != cell.c_str() + cell.size() || !std::isfinite(v)) {
            *ok = false;
            return out;
        }
        out.push_back(v);
        if (comma == std::string::npos)
            break;
        i = comma + 1;
    }
    return out;
}

}  // namespace

const ControlInputs& CommandTrace::At(double timeS) const {
    static const ControlInputs kNone;
    if (steps.empty())
        return kNone;
    std::size_t lo = 0;
    std::size_t hi = steps.size();
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        if (steps[mid].timeS <= timeS)
            lo = mid;
        else
            hi = mid;
    }
    return steps[lo].inputs;
}

std::string CommandTraceStartLine(const CommandStart& s) {
    char text[256];
    std::snprintf(text, sizeof text, "# start %.8f,%.8f,%.2f,%.3f,%.2f,%.1f,%.4f", s.latitudeDeg,
                  s.longitudeDeg, s.altitudeFt, s.headingTrueDeg, s.iasKt, s.climbFpm, s.flaps);
    return text;
}

std::string CommandTraceAircraftLine(const std::string& aircraftId) {
    return "# aircraft " + aircraftId;
}

const char* CommandTraceHeader() {
    return "time_s,throttle1,throttle2,throttle3,throttle4,flaps_lever,spoilers_lever,"
           "spoilers_armed,gear_down,brake_left,brake_right,parking_brake,elevator,aileron,"
           "rudder,auto_coordinator,ap_master,ap_wing_leveller,ap_heading_hold,"
           "ap_altitude_hold,ap_heading_mag_deg,ap_altitude_m,ap_vs_fpm,paused,crash_detection";
}

std::string CommandTraceLine(double timeS, const ControlInputs& in) {
    char text[512];
    const AutopilotSettings& ap = in.autopilot;
    std::snprintf(text, sizeof text,
                  "%.3f,%.5f,%.5f,%.5f,%.5f,%.5f,%.5f,%d,%d,%.5f,%.5f,%d,%.5f,%.5f,%.5f,%d,%d,%d,"
                  "%d,%d,%.4f,%.3f,%d,%d,%d",
                  timeS, in.throttle[0], in.throttle[1], in.throttle[2], in.throttle[3],
                  in.flapsLever, in.spoilersLever, in.spoilersArmed ? 1 : 0, in.gearDown ? 1 : 0,
                  in.leftBrake, in.rightBrake, in.parkingBrake ? 1 : 0, in.elevator, in.aileron,
                  in.rudder, in.autoCoordinator ? 1 : 0, ap.master ? 1 : 0, ap.wingLeveller ? 1 : 0,
                  ap.headingHold ? 1 : 0, ap.altitudeHold ? 1 : 0, ap.headingMagneticDeg,
                  ap.altitudeTargetM, static_cast<int>(ap.verticalSpeedFpm), in.paused ? 1 : 0,
                  in.crashDetection ? 1 : 0);
    return text;
}

bool CommandsDiffer(const ControlInputs& a, const ControlInputs& b) {
    // Equal lines mean equal commands as the text keeps them.
    return CommandTraceLine(0.0, a) != CommandTraceLine(0.0, b);
}

CommandTrace ParseCommandTrace(const std::string& text, const std::string& name) {
    CommandTrace trace;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool haveStart = false;
    bool haveHeader = false;
    auto fail = [&](const std::string& why) {
        throw CommandTraceError(name + ":" + std::to_string(number) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (!haveStart) {
            if (line.rfind("# start ", 0) != 0)
                fail("the first line must be \"# start\" and the start's figures");
            bool ok = false;
            const std::vector<double> v = Numbers(line, 8, &ok);
            if (!ok || v.size() != 7)
                fail("the start needs 7 numbers");
            trace.start = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
            haveStart = true;
            continue;
        }
        if (!haveHeader && line.rfind("# aircraft ", 0) == 0) {
            trace.aircraftId = line.substr(11);
            continue;
        }
        if (!haveHeader) {
            if (line != CommandTraceHeader())
                fail("the column line is not the one this program writes");
            haveHeader = true;
            continue;
        }
        bool ok = false;
        const std::vector<double> v = Numbers(line, 0, &ok);
        if (!ok || v.size() != kColumns)
            fail("a command line needs " + std::to_string(kColumns) + " numbers");
        TimedCommands t;
        t.timeS = v[0];
        if (!trace.steps.empty() && t.timeS < trace.steps.back().timeS)
            fail("the time goes back");
        ControlInputs& c = t.inputs;
        c.throttle = {v[1], v[2], v[3], v[4]};
        c.flapsLever = v[5];
        c.spoilersLever = v[6];
        c.spoilersArmed = v[7] != 0;
        c.gearDown = v[8] != 0;
        c.leftBrake = v[9];
        c.rightBrake = v[10];
        c.parkingBrake = v[11] != 0;
        c.elevator = v[12];
        c.aileron = v[13];
        c.rudder = v[14];
        c.autoCoordinator = v[15] != 0;
        c.autopilot.master = v[16] != 0;
        c.autopilot.wingLeveller = v[17] != 0;
        c.autopilot.headingHold = v[18] != 0;
        c.autopilot.altitudeHold = v[19] != 0;
        c.autopilot.headingMagneticDeg = v[20];
        c.autopilot.altitudeTargetM = v[21];
        if (v[22] < -32768 || v[22] > 32767)
            fail("the vertical speed is outside a 16-bit value");
        c.autopilot.verticalSpeedFpm = static_cast<std::int16_t>(v[22]);
        c.paused = v[23] != 0;
        c.crashDetection = v[24] != 0;
        trace.steps.push_back(t);
    }
    if (!haveHeader)
        fail("the trace has no column line");
    return trace;
}

}  // namespace corvane::sim
