// SPDX-License-Identifier: MIT
// A whole approach flown the way the program flies it: the test sets the
// simulator's autopilot, throttles, flaps, spoilers, gear and brakes through
// the variable space every 150 ms with the program's descent and power laws,
// from 5 nm final to a stop, and checks where the aircraft touched down and
// stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "SimTestSupport.h"
#include "sim/model/Simulator.h"
#include "sim/physics/AirportTerrain.h"

namespace corvane::sim {
namespace {

using test::Command;
using test::GetSigned;
using test::Put;
using test::Reading;

constexpr double kMetresPerDegree = 20003500.0 / 180.0;
constexpr double kPi = 3.14159265358979;

struct Runway {
    double thresholdLat;
    double thresholdLon;
    double farLat;
    double farLon;
    double elevationM;
    double lengthM;
    double headingDeg;
};

Runway MakeRunway(double lat, double lon, double headingDeg, double lengthM, double elevationM) {
    Runway r;
    r.thresholdLat = lat;
    r.thresholdLon = lon;
    r.headingDeg = headingDeg;
    r.lengthM = lengthM;
    r.elevationM = elevationM;
    const double h = headingDeg * kPi / 180.0;
    r.farLat = lat + lengthM * std::cos(h) / kMetresPerDegree;
    r.farLon = lon + lengthM * std::sin(h) / (kMetresPerDegree * std::cos(lat * kPi / 180.0));
    return r;
}

// Position relative to the runway: metres along the centre line from the
// threshold (positive towards the far end) and to the right of it.
void RunwayFrame(const Runway& r, double lat, double lon, double& alongM, double& rightM) {
    const double north = (lat - r.thresholdLat) * kMetresPerDegree;
    const double east =
        (lon - r.thresholdLon) * kMetresPerDegree * std::cos(r.thresholdLat * kPi / 180.0);
    const double h = r.headingDeg * kPi / 180.0;
    alongM = north * std::cos(h) + east * std::sin(h);
    rightM = -north * std::sin(h) + east * std::cos(h);
}

double BearingDeg(double lat1, double lon1, double lat2, double lon2) {
    const double dy = lat2 - lat1;
    const double dx = (lon2 - lon1) * std::cos(0.5 * (lat1 + lat2) * kPi / 180.0);
    double b = std::atan2(dx, dy) * 180.0 / kPi;
    return b < 0 ? b + 360 : b;
}

double DistanceM(double lat1, double lon1, double lat2, double lon2) {
    const double dy = (lat2 - lat1) * kMetresPerDegree;
    const double dx =
        (lon2 - lon1) * kMetresPerDegree * std::cos(0.5 * (lat1 + lat2) * kPi / 180.0);
    return std::hypot(dx, dy);
}

// The program's intercept heading: turn beyond the bearing by a share of the
// angle between course and bearing, at most 70 degrees.
double InterceptHeading(double c, double b, double k) {
    if (std::abs(c - b) > 180) {
        (c < b ? c : b) += 360;
    }
    double h =
        std::abs(c - b) * k / 100 < 70 ? b - (c - b) * k / 100 : (c - b < 0 ? b + 70 : b - 70);
    if (h <= 0) {
        h += 360;
    }
    if (h > 360) {
        h -= 360;
    }
    return h;
}

struct Outcome {
    int touchdowns = 0;
    int crashes = 0;
    double touchdownAlongM = 0;
    double touchdownRightM = 0;
    double touchdownSinkFpm = 0;
    double touchdownIasKt = 0;
    double stopAlongM = 0;
    double stopRightM = 0;
    double minStallFactor = 32767;
    double approachIasKt = 0;
    bool stopped = false;
};

// Flies the program's descent stages from the first tick, then touchdown,
// braking and rollout.
Outcome FlyApproach(Simulator& sim, const Runway& rw, bool crossTrackSteering) {
    Outcome out;
    const double elevFt = std::nearbyint(rw.elevationM) * 3.2808;
    int stage = 2;
    int lastVs = 0;
    double stopTimer = 0;
    bool steering = true;
    for (int tick = 0; tick < 4000; ++tick) {
        const double lat = Reading::LatitudeDeg(sim);
        const double lon = Reading::LongitudeDeg(sim);
        const double altFt = std::floor(sim.State().altitudeM) * 3.2808;
        const double tas = Reading::TrueAirspeedKt(sim);
        const double thresholdFt =
            std::nearbyint(DistanceM(lat, lon, rw.thresholdLat, rw.thresholdLon) * 3.2808);
        const int stall = Reading::StallFactor(sim);

        // Lateral guidance: onto the centre line, until 0.2 nm before the threshold.
        const double dNm = thresholdFt / 3.2808 / 1852.0;
        if (steering && stage <= 6) {
            double tLat = rw.thresholdLat;
            double tLon = rw.thresholdLon;
            if (dNm < 1.2) {
                tLat = rw.farLat + 2 * (rw.farLat - rw.thresholdLat);
                tLon = rw.farLon + 2 * (rw.farLon - rw.thresholdLon);
            }
            const double brg = BearingDeg(lat, lon, tLat, tLon);
            const double dt = DistanceM(lat, lon, tLat, tLon) / 1852.0;
            const double k = dt < 2 ? 150 : dt < 3 ? 200 : dt < 5 ? 350 : 500;
            double hd = InterceptHeading(rw.headingDeg, brg, k);
            if (crossTrackSteering) {
                // Track the centre line with the crab measured from the ground track.
                double along = 0;
                double right = 0;
                RunwayFrame(rw, lat, lon, along, right);
                const AircraftState& st = sim.State();
                const double track =
                    std::atan2(st.velocityEastMps, st.velocityNorthMps) * 180.0 / kPi;
                const double crab = std::remainder(st.headingTrueDeg - track, 360.0);
                hd = rw.headingDeg - std::clamp(0.1 * right, -20.0, 20.0) + crab;
            }
            Command::ApHeading(sim, hd - Reading::MagneticVariationDeg(sim));
            if (dNm < 0.2) {
                steering = false;
            }
        }

        const double ps = tas;
        const double s = ps * 101.252;
        const double finalLength = s * 0.6;
        const double finalStart = finalLength * 0.75 / 100 + elevFt + 6;
        const double approachLength = s * 0.4 + finalLength;
        const double midStart = (approachLength - finalLength) * 5.0 / 100 + finalStart;
        auto law = [&](double p, double h, double g, bool limitClimb) {
            const int r = static_cast<int>(std::nearbyint(-(p * s / 100)));
            if (g == 0) {
                return lastVs;
            }
            int q = static_cast<int>(std::nearbyint(-(h / (g / s))));
            if (q < -4000 || (limitClimb && q > 0)) {
                q = -4000;
            }
            lastVs = 2 * q - r;
            return lastVs;
        };
        if (stage == 2 || stage == 3) {
            Command::Gear(sim, 16383);
            Command::Flaps(sim, 16000);
            Command::ArmSpoilers(sim, true);
            Command::Spoilers(sim, 16000);
            const double h = altFt - (stage == 2 ? midStart : finalStart);
            const double g = thresholdFt - (stage == 2 ? approachLength : finalLength);
            const int v = law(stage == 2 ? 10.0 : 5.0, h, g, true);
            Command::ApVerticalSpeed(sim, v);
            std::int64_t x = std::lround(0.75 * (32767 - stall) + 8192);
            if (x > 16384 || (stage == 2 && x < 0)) {
                x = 16383;
            }
            Command::Throttles(sim, x);
            if (-v / 6.0 > h) {
                ++stage;
            }
        } else if (stage == 4) {
            out.approachIasKt = Reading::IndicatedAirspeedKt(sim);
            if (s > 0) {
                Command::Flaps(sim, 16000);
                int v = law(0.75, altFt - elevFt - 6.0, thresholdFt, false);
                std::int64_t x = (32767 - stall) + 8192;
                if (x > 16384) {
                    x = 16383;
                }
                if (thresholdFt < 300) {
                    x = 0;
                    v = -150;
                }
                Command::ApVerticalSpeed(sim, v);
                Command::Throttles(sim, x);
                if (Reading::OnGround(sim)) {
                    stage = 5;
                    steering = false;
                    Command::ApVerticalSpeed(sim, -150);
                }
            }
        } else if (stage == 5) {
            Command::Brakes(sim, 8000);
            Command::Spoilers(sim, 16383);
            Put(sim, test::o::kBrakeIndicator, -14136, 2);
            Put(sim, test::o::kParkingBrake, static_cast<std::int64_t>(0x96880000u), 2);
            Command::Elevator(sim, -8000);
            Command::Throttles(sim, std::lround(Reading::EngineType(sim) / 2.0));
            if (tas < 15) {
                Command::Throttles(sim, 0);
                stage = 6;
            }
        } else if (stage == 6) {
            // Ground speed, not true airspeed: with wind the air never stops moving.
            stopTimer = sim.State().groundSpeedMps * 1.94384 >= 3 ? 0 : stopTimer + 0.15;
            if (stopTimer > 3) {
                out.stopped = true;
                break;
            }
        }
        if (stage <= 4) {
            out.minStallFactor = std::min<double>(out.minStallFactor, stall);
        }
        sim.Advance(0.15);
        if (sim.State().crashed) {
            break;
        }
    }
    for (const SimEvent& e : sim.Events()) {
        if (e.kind == SimEventKind::Touchdown && out.touchdowns++ == 0) {
            RunwayFrame(rw, e.latitudeDeg, e.longitudeDeg, out.touchdownAlongM,
                        out.touchdownRightM);
            out.touchdownSinkFpm = e.sinkRateFpm;
            out.touchdownIasKt = e.iasKt;
        }
        if (e.kind == SimEventKind::Crash) {
            ++out.crashes;
        }
    }
    RunwayFrame(rw, sim.State().latitudeDeg, sim.State().longitudeDeg, out.stopAlongM,
                out.stopRightM);
    return out;
}

struct ApproachCase {
    const char* name;
    double elevationM;
    double headingDeg;
    double windFromDeg;
    double windKt;
    // The program's intercept law leaves the aircraft well off the centre line
    // in a crosswind (about 120 m at the threshold in 10 kt); that case steers
    // on the cross-track error with the measured crab instead.
    bool crossTrackSteering;
};

class ScriptedApproach : public ::testing::TestWithParam<ApproachCase> {};

TEST_P(ScriptedApproach, LandsFromFiveMilesAndStopsOnTheRunway) {
    const ApproachCase& c = GetParam();
    const Runway rw = MakeRunway(47.0, 8.0, c.headingDeg, 2500, c.elevationM);
    const std::vector<TerrainAirport> airports = {{47.003, 8.01, c.elevationM}};
    const std::vector<TerrainRunway> runways = {
        {0, rw.thresholdLat, rw.thresholdLon, c.elevationM, rw.farLat, rw.farLon, c.elevationM}};
    const AirportTerrain terrain(airports, runways);
    SimulatorOptions options;
    options.windFromDeg = c.windFromDeg;
    options.windSpeedKt = c.windKt;
    Simulator sim(options, &terrain);
    FinalStart start;
    start.runway = {rw.thresholdLat, rw.thresholdLon, rw.farLat, rw.farLon};
    start.distanceNm = 5.0;
    start.glidePathDeg = 3.0;
    start.iasKt = 150;
    start.flaps = 3000.0 / 16383.0;
    start.gearDown = false;
    sim.StartOnFinal(start);
    Command::CrashDetection(sim, true);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 0);

    const Outcome out = FlyApproach(sim, rw, c.crossTrackSteering);
    EXPECT_EQ(out.crashes, 0);
    EXPECT_EQ(out.touchdowns, 1);
    // (The main wheels hang a strut's static stroke lower in the air than
    // standing: on this shallow final they meet the ground some 25 m earlier.)
    EXPECT_GT(out.touchdownAlongM, -45.0);
    EXPECT_LT(out.touchdownAlongM, 700.0);
    EXPECT_LT(std::abs(out.touchdownRightM), 15.0);
    EXPECT_LT(out.touchdownSinkFpm, 400.0);
    EXPECT_GT(out.approachIasKt, 100.0);
    EXPECT_LT(out.approachIasKt, 140.0);
    EXPECT_GT(out.minStallFactor, 3000.0);
    EXPECT_LT(out.stopAlongM, rw.lengthM);
    EXPECT_LT(std::abs(out.stopRightM), 22.0);
    EXPECT_LT(sim.State().groundSpeedMps, 1.0);
    EXPECT_TRUE(out.stopped);
    RecordProperty("touchdown_m", std::to_string(out.touchdownAlongM));
    RecordProperty("stop_m", std::to_string(out.stopAlongM));
    std::printf(
        "[ figures  ] %s: touchdown %.0f m along, %.1f m right, %.0f ft/min, %.0f kt; "
        "stop %.0f m along, %.1f m right; approach %.0f kt\n",
        c.name, out.touchdownAlongM, out.touchdownRightM, out.touchdownSinkFpm, out.touchdownIasKt,
        out.stopAlongM, out.stopRightM, out.approachIasKt);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptedApproach,
                         ::testing::Values(ApproachCase{"Calm", 420.0, 70.0, 0, 0, false},
                                           ApproachCase{"Headwind", 420.0, 70.0, 70, 10, false},
                                           ApproachCase{"Crosswind", 420.0, 250.0, 340, 10, true},
                                           ApproachCase{"HighField", 1655.0, 350.0, 0, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::sim
