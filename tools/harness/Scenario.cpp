// SPDX-License-Identifier: MIT
#include "tools/harness/Scenario.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "sim/physics/Aircraft.h"

namespace corvane::harness {

namespace {

using nlohmann::json;

// Reads the members of one JSON object, checking each one's type, and
// refuses members it does not know (a misspelt key would otherwise be
// silently ignored and the scenario flown with a default).
class ObjectReader {
  public:
    ObjectReader(const json& object, std::string file, std::string path)
        : object_(object), file_(std::move(file)), path_(std::move(path)) {
        if (!object_.is_object())
            Fail(path_.empty() ? "the file must hold a JSON object" : "must be an object");
    }

    bool Has(const char* key) {
        known_.insert(key);
        return object_.contains(key) && !object_.at(key).is_null();
    }
    const json& At(const char* key) {
        known_.insert(key);
        return object_.at(key);
    }

    std::string String(const char* key, const std::string& fallback = {}) {
        if (!Has(key))
            return fallback;
        const json& v = At(key);
        if (!v.is_string())
            Fail(key, "must be a text");
        return v.get<std::string>();
    }
    std::string RequiredString(const char* key) {
        if (!Has(key))
            Fail(key, "is missing");
        return String(key);
    }
    std::optional<double> OptionalNumber(const char* key, double lo, double hi) {
        if (!Has(key))
            return std::nullopt;
        const json& v = At(key);
        if (!v.is_number())
            Fail(key, "must be a number");
        const double x = v.get<double>();
        if (!std::isfinite(x) || x < lo || x > hi) {
            std::ostringstream range;
            range << "must lie between " << lo << " and " << hi;
            Fail(key, range.str());
        }
        return x;
    }
    double Number(const char* key, double fallback, double lo, double hi) {
        return OptionalNumber(key, lo, hi).value_or(fallback);
    }
    double RequiredNumber(const char* key, double lo, double hi) {
        if (!Has(key))
            Fail(key, "is missing");
        return *OptionalNumber(key, lo, hi);
    }
    bool Bool(const char* key, bool fallback) {
        if (!Has(key))
            return fallback;
        const json& v = At(key);
        if (!v.is_boolean())
            Fail(key, "must be true or false");
        return v.get<bool>();
    }
    // A whole number from 0 that a JSON number holds exactly.
    std::uint64_t Seed(const char* key, std::uint64_t fallback) {
        if (!Has(key))
            return fallback;
        const json& v = At(key);
        if (!v.is_number_unsigned() || v.get<std::uint64_t>() > (std::uint64_t{1} << 53))
            Fail(key, "must be a whole number from 0 to 2^53");
        return v.get<std::uint64_t>();
    }
    // A list line: a whole number (its position from 0) or a text.
    ListChoice Choice(const char* key, bool required) {
        ListChoice choice;
        if (!Has(key)) {
            if (required)
                Fail(key, "is missing");
            return choice;
        }
        const json& v = At(key);
        if (v.is_number_integer() && v.get<long long>() >= 0 && v.get<long long>() < 100000) {
            choice.index = static_cast<int>(v.get<long long>());
        } else if (v.is_string() && !v.get<std::string>().empty()) {
            choice.text = v.get<std::string>();
        } else {
            Fail(key, "must be a line number from 0 or a non-empty text");
        }
        return choice;
    }
    std::vector<std::string> StringList(const char* key) {
        std::vector<std::string> out;
        if (!Has(key))
            return out;
        const json& v = At(key);
        if (!v.is_array())
            Fail(key, "must be a list of texts");
        for (const json& item : v) {
            if (!item.is_string())
                Fail(key, "must be a list of texts");
            out.push_back(item.get<std::string>());
        }
        return out;
    }
    ObjectReader Child(const char* key) {
        if (!Has(key))
            Fail(key, "is missing");
        return ObjectReader(At(key), file_, Join(key));
    }
    // Every member must have been asked for.
    void CheckNoOthers() const {
        for (auto it = object_.begin(); it != object_.end(); ++it) {
            if (!known_.count(it.key()))
                Fail(it.key().c_str(), "is not a scenario field (misspelt?)");
        }
    }

    [[noreturn]] void Fail(const char* key, const std::string& what) const {
        throw ScenarioError(file_ + ": " + Join(key) + " " + what);
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw ScenarioError(file_ + ": " + (path_.empty() ? "" : path_ + " ") + what);
    }

  private:
    std::string Join(const char* key) const { return path_.empty() ? key : path_ + "." + key; }

    const json& object_;
    std::string file_;
    std::string path_;
    std::set<std::string> known_;
};

StartState ReadStart(ObjectReader r) {
    StartState s;
    const std::string type = r.RequiredString("type");
    if (type == "air") {
        s.kind = StartState::Kind::Air;
        s.latitudeDeg = r.OptionalNumber("latitude", -89.0, 89.0);
        s.longitudeDeg = r.OptionalNumber("longitude", -180.0, 180.0);
        if (s.latitudeDeg.has_value() != s.longitudeDeg.has_value())
            r.Fail("needs both latitude and longitude, or neither");
        if (!s.latitudeDeg) {
            s.fromAirport = r.String("fromAirport");
            s.bearingDeg = r.RequiredNumber("bearingDeg", 0.0, 360.0);
            s.distanceNm = r.RequiredNumber("distanceNm", 0.0, 2000.0);
        }
        s.altitudeFt = r.RequiredNumber("altitudeFt", 100.0, 45000.0);
        s.headingDeg = r.RequiredNumber("headingDeg", 0.0, 360.0);
        s.iasKt = r.Number("iasKt", 200.0, 50.0, 300.0);
        s.flaps = r.Number("flaps", 0.0, 0.0, 1.0);
        s.gearDown = r.Bool("gearDown", false);
    } else if (type == "final") {
        s.kind = StartState::Kind::Final;
        s.airport = r.String("airport");
        s.runway = r.String("runway");
        s.distanceNm = r.RequiredNumber("distanceNm", 0.5, 100.0);
        s.glidePathDeg = r.Number("glidePathDeg", 3.0, 0.0, 10.0);
        s.iasKt = r.Number("iasKt", 130.0, 50.0, 300.0);
        s.flaps = r.Number("flaps", 0.5, 0.0, 1.0);
        s.gearDown = r.Bool("gearDown", true);
    } else if (type == "runway") {
        s.kind = StartState::Kind::Runway;
        s.airport = r.String("airport");
        s.runway = r.String("runway");
    } else {
        r.Fail("type", "must be \"air\", \"final\" or \"runway\"");
    }
    r.CheckNoOthers();
    return s;
}

std::string FileStem(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

}  // namespace

std::string NormalisedDesignator(const std::string& designator) {
    std::string out;
    for (char c : designator) {
        if (c == ' ' || c == '\t')
            continue;
        if (c == '0' && out.empty())
            continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string AircraftOf(const Scenario& scenario, bool flightGear) {
    if (!scenario.aircraft.empty())
        return scenario.aircraft;
    return flightGear ? "c172p" : "twin";
}

Scenario ParseScenario(const std::string& jsonText, const std::string& fileName) {
    json document;
    try {
        document = json::parse(jsonText);
    } catch (const json::exception& e) {
        // Also a number too large for a double (out_of_range), not only bad syntax.
        throw ScenarioError(fileName + ": not valid JSON: " + e.what());
    }
    ObjectReader r(document, fileName, "");
    Scenario s;
    s.file = fileName;
    s.name = r.String("name", FileStem(fileName));
    if (s.name.empty())
        r.Fail("name", "must not be empty");
    s.description = r.String("description");
    s.tags = r.StringList("tags");

    {
        ObjectReader d = r.Child("destination");
        s.searchText = d.RequiredString("search");
        s.airportLine = d.Choice("line", false);
        s.runwayLine = d.Choice("runway", true);
        s.cruiseEntry = d.String("cruise");
        d.CheckNoOthers();
    }
    s.aircraft = r.String("aircraft");
    if (!s.aircraft.empty() && s.aircraft != "c172p" && !sim::StandInAircraft(s.aircraft))
        r.Fail("aircraft", "must be \"twin\", \"single\" or \"c172p\"");
    s.start = ReadStart(r.Child("start"));
    if (r.Has("wind")) {
        ObjectReader w = r.Child("wind");
        s.windFromDeg = w.RequiredNumber("fromDeg", 0.0, 360.0);
        s.windSpeedKt = w.RequiredNumber("speedKt", 0.0, 100.0);
        s.windGradient = w.Bool("gradient", false);
        const std::string turbulence = w.String("turbulence", "none");
        if (!sim::ParseTurbulenceLevel(turbulence.c_str(), s.turbulence))
            w.Fail("turbulence", "must be \"none\", \"light\" or \"moderate\"");
        s.turbulenceSeed = w.Seed("seed", s.turbulenceSeed);
        w.CheckNoOthers();
    }
    s.crashDetection = r.Bool("crashDetection", true);
    if (r.Has("disturbance")) {
        ObjectReader d = r.Child("disturbance");
        Scenario::Disturbance push;
        push.belowHeightFt = d.RequiredNumber("belowHeightFt", 50.0, 20000.0);
        push.sidewaysM = d.RequiredNumber("sidewaysM", -5000.0, 5000.0);
        d.CheckNoOthers();
        s.disturbance = push;
    }
    if (r.Has("limits")) {
        ObjectReader l = r.Child("limits");
        s.simTimeLimitS = l.Number("simTimeS", s.simTimeLimitS, 10.0, 86400.0);
        s.handBackWaitS = l.Number("handBackWaitS", s.handBackWaitS, 5.0, 3600.0);
        l.CheckNoOthers();
    }
    r.CheckNoOthers();
    return s;
}

std::string ScenarioToJsonText(const Scenario& s) {
    nlohmann::ordered_json j;
    j["name"] = s.name;
    if (!s.description.empty())
        j["description"] = s.description;
    if (!s.tags.empty())
        j["tags"] = s.tags;
    auto choice = [](const ListChoice& c) {
        return c.index ? nlohmann::ordered_json(*c.index) : nlohmann::ordered_json(c.text);
    };
    nlohmann::ordered_json d;
    d["search"] = s.searchText;
    if (s.airportLine.index || !s.airportLine.text.empty())
        d["line"] = choice(s.airportLine);
    d["runway"] = choice(s.runwayLine);
    if (!s.cruiseEntry.empty())
        d["cruise"] = s.cruiseEntry;
    j["destination"] = d;

    if (!s.aircraft.empty())
        j["aircraft"] = s.aircraft;
    const StartState& st = s.start;
    nlohmann::ordered_json start;
    switch (st.kind) {
        case StartState::Kind::Air:
            start["type"] = "air";
            if (st.latitudeDeg) {
                start["latitude"] = *st.latitudeDeg;
                start["longitude"] = *st.longitudeDeg;
            } else {
                if (!st.fromAirport.empty())
                    start["fromAirport"] = st.fromAirport;
                start["bearingDeg"] = st.bearingDeg;
                start["distanceNm"] = st.distanceNm;
            }
            start["altitudeFt"] = st.altitudeFt;
            start["headingDeg"] = st.headingDeg;
            start["iasKt"] = st.iasKt;
            start["flaps"] = st.flaps;
            start["gearDown"] = st.gearDown;
            break;
        case StartState::Kind::Final:
            start["type"] = "final";
            if (!st.airport.empty())
                start["airport"] = st.airport;
            if (!st.runway.empty())
                start["runway"] = st.runway;
            start["distanceNm"] = st.distanceNm;
            start["glidePathDeg"] = st.glidePathDeg;
            start["iasKt"] = st.iasKt;
            start["flaps"] = st.flaps;
            start["gearDown"] = st.gearDown;
            break;
        case StartState::Kind::Runway:
            start["type"] = "runway";
            if (!st.airport.empty())
                start["airport"] = st.airport;
            if (!st.runway.empty())
                start["runway"] = st.runway;
            break;
    }
    j["start"] = start;
    j["wind"] = {{"fromDeg", s.windFromDeg},
                 {"speedKt", s.windSpeedKt},
                 {"gradient", s.windGradient},
                 {"turbulence", sim::TurbulenceLevelName(s.turbulence)},
                 {"seed", s.turbulenceSeed}};
    j["crashDetection"] = s.crashDetection;
    j["limits"] = {{"simTimeS", s.simTimeLimitS}, {"handBackWaitS", s.handBackWaitS}};
    return j.dump(2) + "\n";
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ScenarioError(path + ": cannot be opened");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw ScenarioError(path + ": cannot be read");
    return text.str();
}

Scenario LoadScenario(const std::string& path) {
    return ParseScenario(ReadTextFile(path), path);
}

std::vector<std::string> ScenarioFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        throw ScenarioError(folder + ": cannot list the folder: " + error.message());
    for (const auto& entry : it) {
        if (entry.is_regular_file() && entry.path().extension() == ".json")
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace corvane::harness
