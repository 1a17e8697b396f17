// SPDX-License-Identifier: MIT
#include "sim/flightgear/Launch.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "sim/flightgear/Protocol.h"
#include "sim/physics/Units.h"

namespace corvane::sim::flightgear {

namespace {

std::string Number(double v) {
    char text[48];
    std::snprintf(text, sizeof text, "%.6g", std::isfinite(v) ? v : 0.0);
    return text;
}

std::string Precise(double v) {
    char text[48];
    std::snprintf(text, sizeof text, "%.8f", std::isfinite(v) ? v : 0.0);
    return text;
}

}  // namespace

std::string RunwayIdent(const std::string& designator) {
    std::string d = designator;
    while (!d.empty() && d.front() == ' ')
        d.erase(d.begin());
    while (!d.empty() && d.back() == ' ')
        d.pop_back();
    if (d.size() == 1 || (d.size() >= 2 && std::isdigit(static_cast<unsigned char>(d[0])) &&
                          !std::isdigit(static_cast<unsigned char>(d[1]))))
        d.insert(d.begin(), '0');
    return d;
}

std::vector<std::string> GenericOptions(const LaunchPlan& plan) {
    const std::string name(kProtocolName);
    const std::string hz = std::to_string(plan.rateHz);
    return {"--generic=socket,out," + hz + ",127.0.0.1," + std::to_string(plan.readingsPort) +
                ",udp," + name,
            "--generic=socket,in," + hz + ",127.0.0.1," + std::to_string(plan.commandsPort) +
                ",udp," + name};
}

std::vector<std::string> AttachOptions(const LaunchPlan& plan) {
    std::vector<std::string> a;
    if (!plan.dataFolder.empty())
        a.push_back("--data=" + plan.dataFolder);
    a.push_back("--aircraft=" + plan.aircraft);
    a.push_back("--disable-auto-coordination");
    for (std::string& g : GenericOptions(plan))
        a.push_back(std::move(g));
    return a;
}

std::vector<std::string> FgfsArguments(const LaunchPlan& plan) {
    std::vector<std::string> a = {plan.fgfs};
    if (!plan.dataFolder.empty())
        a.push_back("--data=" + plan.dataFolder);
    a.push_back("--aircraft=" + plan.aircraft);
    switch (plan.start) {
        case LaunchPlan::Start::OnRunway:
        case LaunchPlan::Start::OnFinal:
            a.push_back("--airport=" + plan.airport);
            if (!plan.runway.empty())
                a.push_back("--runway=" + RunwayIdent(plan.runway));
            if (plan.start == LaunchPlan::Start::OnFinal) {
                a.push_back("--offset-distance=" + Number(plan.finalNm));
                a.push_back("--glideslope=" + Number(plan.glidePathDeg));
                a.push_back("--vc=" + Number(plan.speedKt));
                a.push_back("--in-air");
            }
            break;
        case LaunchPlan::Start::InAir:
            a.push_back("--lat=" + Precise(plan.latitudeDeg));
            a.push_back("--lon=" + Precise(plan.longitudeDeg));
            a.push_back("--altitude=" + Number(plan.altitudeFt));
            a.push_back("--heading=" + Number(plan.headingTrueDeg));
            a.push_back("--vc=" + Number(plan.speedKt));
            a.push_back("--in-air");
            break;
        case LaunchPlan::Start::OnGround:
            a.push_back("--lat=" + Precise(plan.latitudeDeg));
            a.push_back("--lon=" + Precise(plan.longitudeDeg));
            a.push_back("--heading=" + Number(plan.headingTrueDeg));
            break;
    }
    for (const std::string& folder : plan.sceneryFolders)
        a.push_back("--fg-scenery=" + folder);
    a.push_back("--wind=" + Number(plan.windFromDeg) + "@" + Number(plan.windSpeedKt));
    a.push_back("--turbulence=" + Number(plan.turbulence));
    a.push_back("--timeofday=noon");
    a.push_back("--disable-sound");
    a.push_back("--disable-terrasync");
    a.push_back("--disable-splash-screen");
    a.push_back("--disable-ai-models");
    a.push_back("--disable-random-objects");
    a.push_back("--disable-real-weather-fetch");
    a.push_back("--disable-auto-coordination");
    if (plan.paused)
        a.push_back("--enable-freeze");
    if (!plan.ownWindow) {
        a.push_back("--geometry=160x120");
        a.push_back("--fog-fastest");
        a.push_back("--disable-clouds");
        a.push_back("--prop:/sim/rendering/shaders/quality-level=0");
        for (const char* mask : {"terrain", "models", "aircraft", "clouds"})
            a.push_back(std::string("--prop:/sim/rendering/draw-mask/") + mask + "=false");
    }
    for (std::string& g : GenericOptions(plan))
        a.push_back(std::move(g));
    a.insert(a.end(), plan.extraOptions.begin(), plan.extraOptions.end());
    return a;
}

std::vector<std::string> LaunchCommand(const LaunchPlan& plan) {
    std::vector<std::string> fgfs = FgfsArguments(plan);
    if (plan.ownWindow) {
        if (plan.sessionBus)
            return fgfs;
        std::vector<std::string> a = {"dbus-run-session", "--"};
        a.insert(a.end(), fgfs.begin(), fgfs.end());
        return a;
    }
    std::vector<std::string> a = {"dbus-run-session", "--", "xvfb-run", "-a"};
    if (plan.virtualScreen > 0)
        a.insert(a.end(), {"-n", std::to_string(plan.virtualScreen)});
    a.insert(a.end(), {"-s", "-screen 0 320x240x24"});
    a.insert(a.end(), fgfs.begin(), fgfs.end());
    return a;
}

void PointOnSphere(double latDeg, double lonDeg, double bearingDeg, double distanceM,
                   double* outLatDeg, double* outLonDeg) {
    const double d = distanceM / units::kEarthRadiusM;
    const double b = bearingDeg * units::kDegToRad;
    const double lat1 = latDeg * units::kDegToRad;
    const double lat2 =
        std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(b));
    const double dLon = std::atan2(std::sin(b) * std::sin(d) * std::cos(lat1),
                                   std::cos(d) - std::sin(lat1) * std::sin(lat2));
    double lon = lonDeg + dLon * units::kRadToDeg;
    while (lon >= 180.0)
        lon -= 360.0;
    while (lon < -180.0)
        lon += 360.0;
    *outLatDeg = lat2 * units::kRadToDeg;
    *outLonDeg = lon;
}

void StartByPosition(LaunchPlan& plan, double thresholdLatDeg, double thresholdLonDeg,
                     double headingTrueDeg, double thresholdElevationFt) {
    if (plan.start != LaunchPlan::Start::OnFinal && plan.start != LaunchPlan::Start::OnRunway)
        return;
    plan.headingTrueDeg = headingTrueDeg;
    if (plan.start == LaunchPlan::Start::OnRunway) {
        plan.start = LaunchPlan::Start::OnGround;
        plan.latitudeDeg = thresholdLatDeg;
        plan.longitudeDeg = thresholdLonDeg;
        return;
    }
    // Back along the centre line, from the threshold.
    const double distanceM = std::max(plan.finalNm, 0.0) * units::kMetresPerNm;
    double lat = 0.0;
    double lon = 0.0;
    PointOnSphere(thresholdLatDeg, thresholdLonDeg, headingTrueDeg + 180.0, distanceM, &lat, &lon);
    plan.start = LaunchPlan::Start::InAir;
    plan.latitudeDeg = lat;
    plan.longitudeDeg = lon;
    plan.altitudeFt = thresholdElevationFt +
                      distanceM *
                          std::tan(std::clamp(plan.glidePathDeg, 0.0, 10.0) * units::kDegToRad) *
                          units::kFeetPerMetre;
}

double TurbulenceStrength(const std::string& level) {
    if (level == "light")
        return 0.2;
    if (level == "moderate")
        return 0.5;
    return 0.0;
}

}  // namespace corvane::sim::flightgear
