// SPDX-License-Identifier: MIT
#include "sim/flightgear/Protocol.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace corvane::sim::flightgear {
namespace {

// One value of a line: its property, how FlightGear writes it, and where it
// lives in the struct (a double, a bool or an int member).
template <typename Record>
struct Field {
    const char* name;
    const char* node;
    const char* format;  // printf format for the output side; the type follows from it
    double Record::*number = nullptr;
    bool Record::*flag = nullptr;
    int Record::*whole = nullptr;
};

using R = Readings;
using C = Commands;

const std::vector<Field<R>>& ReadingFields() {
    static const std::vector<Field<R>> fields = {
        {"fdm-initialized", "/sim/fdm-initialized", "%d", nullptr, &R::fdmInitialized},
        {"time", "/sim/time/elapsed-sec", "%.4f", &R::timeS},
        {"latitude", "/position/latitude-deg", "%.9f", &R::latitudeDeg},
        {"longitude", "/position/longitude-deg", "%.9f", &R::longitudeDeg},
        {"altitude", "/position/altitude-ft", "%.3f", &R::altitudeFt},
        {"ground", "/position/ground-elev-ft", "%.3f", &R::groundElevationFt},
        {"heading", "/orientation/heading-deg", "%.4f", &R::headingTrueDeg},
        {"pitch", "/orientation/pitch-deg", "%.4f", &R::pitchDeg},
        {"roll", "/orientation/roll-deg", "%.4f", &R::rollDeg},
        {"pitch-rate", "/orientation/pitch-rate-degps", "%.4f", &R::pitchRateDegS},
        {"roll-rate", "/orientation/roll-rate-degps", "%.4f", &R::rollRateDegS},
        {"ias", "/instrumentation/airspeed-indicator/indicated-speed-kt", "%.3f", &R::iasKt},
        {"tas", "/fdm/jsbsim/velocities/vtrue-kts", "%.3f", &R::tasKt},
        {"ground-speed", "/velocities/groundspeed-kt", "%.3f", &R::groundSpeedKt},
        {"north", "/velocities/speed-north-fps", "%.4f", &R::northFps},
        {"east", "/velocities/speed-east-fps", "%.4f", &R::eastFps},
        {"down", "/velocities/speed-down-fps", "%.4f", &R::downFps},
        {"alpha", "/orientation/alpha-deg", "%.4f", &R::alphaDeg},
        {"sideslip", "/orientation/side-slip-deg", "%.4f", &R::sideslipDeg},
        {"variation", "/environment/magnetic-variation-deg", "%.4f", &R::magneticVariationDeg},
        {"wow-nose", "/gear/gear[0]/wow", "%d", nullptr, &R::noseWheelOnGround},
        {"wow-left", "/gear/gear[1]/wow", "%d", nullptr, &R::leftWheelOnGround},
        {"wow-right", "/gear/gear[2]/wow", "%d", nullptr, &R::rightWheelOnGround},
        // JSBSim's Nz: every force but weight (the gear's too) along the body's
        // normal axis over the weight. Not /accelerations/nlf, which is the lift
        // alone over the weight: it reads 0 standing and misses the touchdown.
        {"load", "/fdm/jsbsim/accelerations/Nz", "%.4f", &R::normalLoadG},
        {"weight", "/fdm/jsbsim/inertia/weight-lbs", "%.1f", &R::weightLbs},
        {"frozen", "/sim/freeze/master", "%d", nullptr, &R::frozen},
        {"throttle", "/controls/engines/current-engine/throttle", "%.4f", &R::throttle},
        {"flaps", "/surface-positions/flap-pos-norm", "%.4f", &R::flapsNorm},
        {"rpm", "/engines/engine[0]/rpm", "%.1f", &R::engineRpm},
        {"thrust", "/fdm/jsbsim/propulsion/engine/thrust-lbs", "%.2f", &R::thrustLbs},
        {"elevator", "/surface-positions/elevator-pos-norm", "%.4f", &R::elevatorNorm},
        {"aileron", "/surface-positions/right-aileron-pos-norm", "%.4f", &R::aileronNorm},
        {"rudder", "/surface-positions/rudder-pos-norm", "%.4f", &R::rudderNorm},
        {"speed-up", "/sim/speed-up", "%.3f", &R::speedUp},
        {"engine-crashed", "/engines/active-engine/crash-engine", "%d", nullptr, &R::engineCrashed},
        {"left-wing-damage", "/fdm/jsbsim/wing-damage/left-wing", "%.3f", &R::leftWingDamage},
        {"right-wing-damage", "/fdm/jsbsim/wing-damage/right-wing", "%.3f", &R::rightWingDamage},
        {"view", "/sim/current-view/view-number", "%d", nullptr, nullptr, &R::viewNumber},
        {"tower-latitude", "/sim/tower/latitude-deg", "%.9f", &R::towerLatitudeDeg},
        {"tower-longitude", "/sim/tower/longitude-deg", "%.9f", &R::towerLongitudeDeg},
        {"tower-altitude", "/sim/tower/altitude-ft", "%.2f", &R::towerAltitudeFt},
    };
    return fields;
}

const std::vector<Field<C>>& CommandFields() {
    static const std::vector<Field<C>> fields = {
        // The Cessna's engine system copies this lever to engine[0] each frame.
        {"throttle", "/controls/engines/current-engine/throttle", "%.4f", &C::throttle},
        {"mixture", "/controls/engines/engine[0]/mixture", "%.4f", &C::mixture},
        {"flaps", "/controls/flight/flaps", "%.4f", &C::flaps},
        {"brake-left", "/controls/gear/brake-left", "%.4f", &C::leftBrake},
        {"brake-right", "/controls/gear/brake-right", "%.4f", &C::rightBrake},
        // The Cessna drives /controls/gear/brake-parking from its own lever.
        {"brake-parking", "/sim/model/c172p/brake-parking", "%.1f", &C::parkingBrake},
        {"elevator", "/controls/flight/elevator", "%.5f", &C::elevator},
        {"aileron", "/controls/flight/aileron", "%.5f", &C::aileron},
        {"rudder", "/controls/flight/rudder", "%.5f", &C::rudder},
        {"elevator-trim", "/controls/flight/elevator-trim", "%.5f", &C::elevatorTrim},
        {"freeze", "/sim/freeze/master", "%d", nullptr, &C::frozen},
        // The master switch alone does not hold the flight model; the clock does.
        {"freeze-clock", "/sim/freeze/clock", "%d", nullptr, &C::frozen},
        {"speed-up", "/sim/speed-up", "%.3f", &C::speedUp},
        {"damage", "/fdm/jsbsim/settings/damage", "%d", nullptr, &C::damage},
        {"view", "/sim/current-view/view-number", "%d", nullptr, nullptr, &C::viewNumber},
        {"tower-auto", "/sim/tower/auto-position", "%d", nullptr, &C::towerAutoPosition},
        {"tower-latitude", "/sim/tower/latitude-deg", "%.9f", &C::towerLatitudeDeg},
        {"tower-longitude", "/sim/tower/longitude-deg", "%.9f", &C::towerLongitudeDeg},
        {"tower-altitude", "/sim/tower/altitude-ft", "%.2f", &C::towerAltitudeFt},
    };
    return fields;
}

template <typename Record>
const char* TypeOf(const Field<Record>& f) {
    if (f.flag)
        return "bool";
    if (f.whole)
        return "int";
    return "double";
}

template <typename Record>
void AppendChunks(std::string& out, const std::vector<Field<Record>>& fields, bool withFormat) {
    for (const Field<Record>& f : fields) {
        out += "   <chunk>\n    <name>";
        out += f.name;
        out += "</name>\n    <type>";
        out += TypeOf(f);
        out += "</type>\n";
        if (withFormat) {
            out += "    <format>";
            out += f.format;
            out += "</format>\n";
        }
        out += "    <node>";
        out += f.node;
        out += "</node>\n   </chunk>\n";
    }
}

template <typename Record>
std::string Format(const Record& record, const std::vector<Field<Record>>& fields) {
    std::string line;
    // Room for any double in the fields' formats (the largest takes 309
    // digits before the point), so that no value is cut to another number.
    char text[400];
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const Field<Record>& f = fields[i];
        if (i > 0)
            line += ',';
        if (f.flag) {
            std::snprintf(text, sizeof text, "%d", record.*f.flag ? 1 : 0);
        } else if (f.whole) {
            std::snprintf(text, sizeof text, "%d", record.*f.whole);
        } else {
            const double v = record.*f.number;
            std::snprintf(text, sizeof text, f.format, std::isfinite(v) ? v : 0.0);
        }
        line += text;
    }
    line += '\n';
    return line;
}

// Splits at commas; FlightGear may end the line with "\n" or "\r\n".
template <typename Record>
std::optional<Record> Parse(std::string_view line, const std::vector<Field<Record>>& fields) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    Record record{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t comma = line.find(',', start);
        const bool last = i + 1 == fields.size();
        if (last != (comma == std::string_view::npos))
            return std::nullopt;  // too few or too many values
        std::string_view text = line.substr(start, last ? std::string_view::npos : comma - start);
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        double v = 0.0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
            return std::nullopt;
        const Field<Record>& f = fields[i];
        if (f.flag) {
            record.*f.flag = v != 0.0;
        } else if (f.whole) {
            if (std::fabs(v) > 1e9)
                return std::nullopt;
            record.*f.whole = static_cast<int>(v);
        } else {
            record.*f.number = v;
        }
        start = comma + 1;
    }
    return record;
}

}  // namespace

std::string ProtocolFileText() {
    std::string out =
        "<?xml version=\"1.0\"?>\n"
        "<!-- The stand-in simulator's link to FlightGear: FlightGear sends the\n"
        "     output line once a frame and reads the input line the stand-in sends\n"
        "     back. Written by fltsim98.exe; changes are overwritten. -->\n"
        "<PropertyList>\n <generic>\n  <output>\n"
        "   <line_separator>newline</line_separator>\n"
        "   <var_separator>,</var_separator>\n";
    AppendChunks(out, ReadingFields(), true);
    out +=
        "  </output>\n  <input>\n"
        "   <line_separator>newline</line_separator>\n"
        "   <var_separator>,</var_separator>\n";
    AppendChunks(out, CommandFields(), false);
    out += "  </input>\n </generic>\n</PropertyList>\n";
    return out;
}

std::optional<Readings> ParseReadings(std::string_view line) {
    return Parse<Readings>(line, ReadingFields());
}

std::string FormatCommands(const Commands& commands) {
    return Format(commands, CommandFields());
}

std::string FormatReadings(const Readings& readings) {
    return Format(readings, ReadingFields());
}

std::optional<Commands> ParseCommands(std::string_view line) {
    return Parse<Commands>(line, CommandFields());
}

}  // namespace corvane::sim::flightgear
