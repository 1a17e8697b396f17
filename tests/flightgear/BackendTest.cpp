// SPDX-License-Identifier: MIT
//
// FlightGear behind the variable space, without FlightGear: the protocol
// lines, the mapping of readings and levers, and the backend fed by a
// scripted channel (a toy aircraft where the autopilot must close its loops).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "sim/flightgear/Cessna172p.h"
#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/Launch.h"
#include "sim/flightgear/Mapping.h"
#include "sim/flightgear/Protocol.h"
#include "sim/physics/Units.h"
#include "sim/variables/Encoding.h"
#include "sim/variables/ImageBinding.h"
#include "sim/variables/Offsets.h"

namespace corvane::sim::flightgear {
namespace {

namespace o = offsets;

// Counts the occurrences of a text.
int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(FlightGearProtocol, FileAndLinesAgreeAndSurviveTheRoundTrip) {
    // The protocol file has one chunk per value of each line.
    const std::string file = ProtocolFileText();
    const std::string output = file.substr(0, file.find("<input>"));
    const std::string input = file.substr(file.find("<input>"));
    EXPECT_EQ(Count(output, "<chunk>"), Count(FormatReadings(Readings{}), ",") + 1);
    EXPECT_EQ(Count(input, "<chunk>"), Count(FormatCommands(Commands{}), ",") + 1);
    EXPECT_EQ(Count(file, "<node>/controls/flight/elevator</node>"), 1);

    std::mt19937 random(7);
    std::uniform_real_distribution<double> any(-1000.0, 1000.0);
    for (int i = 0; i < 200; ++i) {
        Readings r;
        r.latitudeDeg = any(random) / 12.0;
        r.longitudeDeg = any(random) / 6.0;
        r.altitudeFt = any(random) * 20.0;
        r.downFps = any(random) / 50.0;
        r.rightWheelOnGround = i % 2 == 0;
        r.viewNumber = i % 7;
        const auto back = ParseReadings(FormatReadings(r));
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->latitudeDeg, r.latitudeDeg, 1e-8);
        EXPECT_NEAR(back->longitudeDeg, r.longitudeDeg, 1e-8);
        EXPECT_NEAR(back->altitudeFt, r.altitudeFt, 1e-3);
        EXPECT_NEAR(back->downFps, r.downFps, 1e-4);
        EXPECT_EQ(back->rightWheelOnGround, r.rightWheelOnGround);
        EXPECT_EQ(back->viewNumber, r.viewNumber);

        Commands c;
        c.elevator = any(random) / 1000.0;
        c.frozen = i % 3 == 0;
        c.towerLatitudeDeg = r.latitudeDeg;
        const auto cb = ParseCommands(FormatCommands(c));
        ASSERT_TRUE(cb);
        EXPECT_NEAR(cb->elevator, c.elevator, 1e-5);
        EXPECT_EQ(cb->frozen, c.frozen);
        EXPECT_NEAR(cb->towerLatitudeDeg, c.towerLatitudeDeg, 1e-8);
    }

    // Values at the ends of the double's range are written whole, not cut
    // to another number: the tower altitude FlightGear reported goes back
    // to it as read.
    for (const double huge : {1e70, -1.5e200, 1.7976931348623157e308}) {
        Readings r;
        r.towerAltitudeFt = huge;
        r.eastFps = -huge;
        const auto back = ParseReadings(FormatReadings(r));
        ASSERT_TRUE(back) << huge;
        EXPECT_EQ(back->towerAltitudeFt, huge);
        EXPECT_EQ(back->eastFps, -huge);
        Commands c;
        c.towerAltitudeFt = huge;
        const auto cb = ParseCommands(FormatCommands(c));
        ASSERT_TRUE(cb) << huge;
        EXPECT_EQ(cb->towerAltitudeFt, huge);
    }

    // A line that is not one whole frame is refused.
    std::string good = FormatReadings(Readings{});
    good.pop_back();
    for (const std::string& bad :
         {std::string(), std::string("\n"), good.substr(0, good.rfind(',')), good + ",1",
          "x" + good, good.substr(0, good.size() - 1) + "nan", good + " junk",
          std::string(4000, ',')}) {
        EXPECT_FALSE(ParseReadings(bad)) << bad;
    }
    EXPECT_TRUE(ParseReadings(good + "\r\n"));
}

TEST(FlightGearMapping, StallFactorGivesBackTheStallSpeedInSteadyFlight) {
    // The landing laws learn a flap setting's stall speed as
    // IAS x sqrt(1 - margin). In steady 1 g flight at any angle of attack
    // that must be sqrt(2 W / (rho S CLmax)) of the flap setting. The lift
    // here is c172p.xml's own: CLwbh (stall-hyst-norm 0) at its rows and
    // half-way between them, CLDf at flap-pos-deg 0, 10, 15, 20 and 30; the
    // weight 1700 lb (what FlightGear loads, weight-lbs in flight: empty
    // 1467 lb, pilot 180 lb, the fuel of a quarter of each tank), the wing
    // 174 ft2, sea level.
    const AircraftFacts c172;
    constexpr double kWeightLb = 1700.0, kWingFt2 = 174.0, kRho = 0.0023769;
    constexpr double kClMaxClean = 1.47;
    auto speedKt = [&](double cl) {
        return std::sqrt(2.0 * kWeightLb / (kRho * kWingFt2 * cl)) * 0.5924838;
    };
    struct Lift {
        double alphaRad, cl;
    };
    struct Flap {
        double position, deltaCl;
    };
    const Lift lifts[] = {{-0.04, 0.25 - 0.04 / 0.09 * 0.47},
                          {0.00, 0.25},
                          {0.045, 0.49},
                          {0.09, 0.73},
                          {0.11, 0.875},
                          {0.15, 1.05},
                          {0.18, 1.16},
                          {0.225, 1.30},
                          {0.25, 1.395},
                          {0.27, 1.455},
                          {0.2799, 1.47 - 0.0001 / 0.02 * 0.03}};
    const Flap flaps[] = {
        {0.0, 0.0}, {1.0 / 3.0, 0.20}, {0.5, 0.25}, {2.0 / 3.0, 0.30}, {1.0, 0.35}};
    for (const Flap& f : flaps) {
        const double stallKt = speedKt(kClMaxClean + f.deltaCl);
        EXPECT_NEAR(MaxLiftCoefficient(f.position, c172), kClMaxClean + f.deltaCl, 1e-9);
        for (const Lift& l : lifts) {
            const double alphaDeg = l.alphaRad * units::kRadToDeg;
            const double iasKt = speedKt(l.cl + f.deltaCl);
            const double margin = StallFactor(alphaDeg, f.position, c172) / 32767.0;
            EXPECT_NEAR(iasKt * std::sqrt(1.0 - margin) / stallKt, 1.0, 0.0025)
                << "alpha " << l.alphaRad << " rad, flaps " << f.position << ", " << iasKt << " kt";
        }
    }
    // The handbook figures the harness judges by are the same speeds: about
    // 44 kt clean and 40 kt with landing flaps.
    const AircraftData d = Cessna172pData();
    EXPECT_NEAR(d.stallCleanKias.value / speedKt(kClMaxClean), 1.0, 0.0025);
    EXPECT_NEAR(d.stallLandingKias.value / speedKt(kClMaxClean + 0.35), 1.0, 0.0025);

    struct Edge {
        double alphaDeg, flaps;
        int factor;
    };
    for (const Edge& e : {
             Edge{-2.8, 0.0, 32767},  // below zero lift (-2.74 degrees clean)
             Edge{-30.0, 0.0, 32767},
             // Below the table's first row (-0.09 rad) JSBSim holds its lift,
             // -0.22, so full flaps still lift 0.13 of their 1.82.
             Edge{-10.0, 1.0, 30427},
             Edge{16.05, 0.0, 0},  // just past the most lift, 0.28 rad
             Edge{17.19, 1.0, 0},  // 0.30 rad
             Edge{60.0, 0.5, 0},
             Edge{NAN, 0.0, 0},
             Edge{INFINITY, 1.0, 0},
             Edge{-INFINITY, 0.0, 0},
         }) {
        EXPECT_EQ(StallFactor(e.alphaDeg, e.flaps, c172), e.factor) << e.alphaDeg << " " << e.flaps;
    }

    // A table that runs on past the most lift, as the file's does (its lift
    // falls again to 1.15 at 0.36 rad), leaves no margin there either: the
    // wing is stalling, and CLmax stays 1.47.
    AircraftFacts onPastTheStall = c172;
    onPastTheStall.liftByAlphaRad.insert(onPastTheStall.liftByAlphaRad.end(),
                                         {{0.30, 1.43}, {0.32, 1.38}, {0.34, 1.30}, {0.36, 1.15}});
    for (const double alphaRad : {0.29, 0.30, 0.33, 0.36, 0.5})
        EXPECT_EQ(StallFactor(alphaRad * units::kRadToDeg, 0.0, onPastTheStall), 0) << alphaRad;
    EXPECT_EQ(StallFactor(10.0, 0.5, onPastTheStall), StallFactor(10.0, 0.5, c172));
}

TEST(FlightGearMapping, FlapDetentsAndLaunchCommand) {
    const AircraftFacts c172;
    struct Detent {
        double lever, detent;
    };
    for (const Detent& d : {Detent{0.0, 0.0}, Detent{3000.0 / 16383, 1.0 / 3}, Detent{0.5, 2.0 / 3},
                            Detent{16000.0 / 16383, 1.0}, Detent{-1.0, 0.0}, Detent{NAN, 0.0}}) {
        EXPECT_DOUBLE_EQ(FlapDetent(d.lever, c172), d.detent) << d.lever;
    }

    LaunchPlan plan;
    plan.start = LaunchPlan::Start::OnFinal;
    plan.airport = "KSFO";
    plan.runway = "28R";
    plan.readingsPort = 5500;
    plan.commandsPort = 5501;
    const std::vector<std::string> headless = LaunchCommand(plan);
    ASSERT_GE(headless.size(), 6u);
    EXPECT_EQ(headless[0], "dbus-run-session");
    auto has = [](const std::vector<std::string>& args, const std::string& a) {
        return std::find(args.begin(), args.end(), a) != args.end();
    };
    EXPECT_TRUE(has(headless, "--runway=28R"));
    EXPECT_TRUE(has(headless, "--offset-distance=10"));
    // Both streams on the loopback interface only.
    EXPECT_TRUE(has(headless, "--generic=socket,out,30,127.0.0.1,5500,udp,corvane"));
    EXPECT_TRUE(has(headless, "--generic=socket,in,30,127.0.0.1,5501,udp,corvane"));
    for (const auto& [designator, ident] : std::vector<std::pair<std::string, std::string>>{
             {"8L", "08L"}, {" 9", "09"}, {"28R", "28R"}, {"04", "04"}, {"36", "36"}}) {
        EXPECT_EQ(RunwayIdent(designator), ident);
    }
    plan.ownWindow = true;
    const std::vector<std::string> windowed = LaunchCommand(plan);
    EXPECT_EQ(windowed[0], "fgfs");
    plan.sessionBus = false;  // a display without a session bus
    EXPECT_EQ(LaunchCommand(plan)[0], "dbus-run-session");
    EXPECT_FALSE(has(windowed, "--prop:/sim/rendering/draw-mask/terrain=false"));
}

TEST(FlightGearCessna, HandbookFiguresFromTheInstalledFiles) {
    const AircraftData d = Cessna172pData();
    // sqrt(2 W / (rho0 S CL)) at 1700 lb and 174 ft2: 44.3 kt clean (CL 1.47),
    // 39.8 kt with 30 degrees of flaps (CL 1.82).
    EXPECT_NEAR(d.stallCleanKias.value, 44.3, 0.1);
    EXPECT_NEAR(d.stallLandingKias.value, 39.8, 0.1);
    EXPECT_NEAR(d.ReferenceKias(), 51.8, 0.1);
    // The checklist's flap limits: 10 degrees below 110 KIAS, more below 85.
    EXPECT_EQ(d.FlapLimitKias(1.0 / 3.0), 110.0);
    EXPECT_EQ(d.FlapLimitKias(0.5), 85.0);
    EXPECT_EQ(d.FlapLimitKias(1.0), 85.0);
    EXPECT_TRUE(d.LandingFlapsSet(1.0));
    EXPECT_FALSE(d.LandingFlapsSet(2.0 / 3.0));
    // The gear about the centre of gravity (39.0 in): mains 19.2 in behind,
    // the nose wheel 45.8 in ahead, 86 in between the mains.
    EXPECT_NEAR(d.gear.mainAftOfCgM.value, 0.487, 0.005);
    EXPECT_NEAR(d.gear.noseForwardOfCgM.value, 1.164, 0.005);
    EXPECT_NEAR(d.gear.mainTrackM.value, 2.184, 0.001);
    for (const SourcedFigure* f : {&d.stallCleanKias, &d.stallLandingKias, &d.gear.mainAftOfCgM,
                                   &d.gear.noseForwardOfCgM, &d.gear.referenceHeightM})
        EXPECT_FALSE(f->source.empty());
}

TEST(FlightGearLaunch, RunwayStartsGoByPositionScreensAndSceneryAsAsked) {
    auto has = [](const std::vector<std::string>& args, const std::string& a) {
        return std::find(args.begin(), args.end(), a) != args.end();
    };
    auto starting = [](const std::vector<std::string>& args, const std::string& prefix) {
        for (const std::string& a : args) {
            if (a.rfind(prefix, 0) == 0)
                return a;
        }
        return std::string();
    };
    // Keflavik 11, which FlightGear's scenery calls 10: 10 nm out on a 3
    // degree path, by position, so that no runway name is needed.
    LaunchPlan plan;
    plan.start = LaunchPlan::Start::OnFinal;
    plan.airport = "BIKF";
    plan.runway = "11";
    plan.finalNm = 10.0;
    StartByPosition(plan, 63.98504094, -22.65499831, 89.97, 171.0);
    EXPECT_EQ(plan.start, LaunchPlan::Start::InAir);
    EXPECT_NEAR(plan.latitudeDeg, 63.985, 0.002);  // due west of the threshold
    EXPECT_NEAR((plan.longitudeDeg + 22.65499831) * std::cos(63.985 * M_PI / 180) * 60.0, -10.0,
                0.05);
    EXPECT_NEAR(plan.altitudeFt, 171.0 + 10.0 * 6076.1 * std::tan(3.0 * M_PI / 180), 5.0);
    EXPECT_NEAR(plan.headingTrueDeg, 89.97, 1e-9);
    std::vector<std::string> args = FgfsArguments(plan);
    EXPECT_TRUE(has(args, "--in-air"));
    EXPECT_EQ(starting(args, "--runway"), "");
    EXPECT_EQ(starting(args, "--airport"), "");
    EXPECT_EQ(starting(args, "--offset-distance"), "");

    // A runway start stands on the ground at the threshold, heading down it.
    LaunchPlan ground;
    ground.start = LaunchPlan::Start::OnRunway;
    StartByPosition(ground, 21.3187, -157.9225, 69.0, 13.0);
    EXPECT_EQ(ground.start, LaunchPlan::Start::OnGround);
    args = FgfsArguments(ground);
    EXPECT_TRUE(has(args, "--lat=21.31870000"));
    EXPECT_TRUE(has(args, "--heading=69"));
    EXPECT_FALSE(has(args, "--in-air"));
    EXPECT_EQ(starting(args, "--altitude"), "");
    // An air start stays as it is.
    LaunchPlan air;
    air.start = LaunchPlan::Start::InAir;
    air.latitudeDeg = 1.0;
    StartByPosition(air, 21.3187, -157.9225, 69.0, 13.0);
    EXPECT_DOUBLE_EQ(air.latitudeDeg, 1.0);

    // Two FlightGears at once try different virtual screens; scenery folders
    // besides FlightGear's own are named to it.
    ground.virtualScreen = 110;
    ground.sceneryFolders = {"/scenery/a"};
    const std::vector<std::string> command = LaunchCommand(ground);
    const auto n = std::find(command.begin(), command.end(), "-n");
    ASSERT_NE(n, command.end());
    EXPECT_EQ(*(n + 1), "110");
    EXPECT_TRUE(has(command, "--fg-scenery=/scenery/a"));
    EXPECT_FALSE(has(LaunchCommand(plan), "-n"));
}

// A channel the test writes FlightGear's lines into and reads the controls from.
class ScriptedChannel final : public Channel {
  public:
    void Receive(std::vector<std::string>& lines) override {
        lines.insert(lines.end(), pending.begin(), pending.end());
        pending.clear();
    }
    bool Send(std::string_view line) override {
        sent.emplace_back(line);
        return true;
    }
    std::string ProcessFailure() override { return failure; }

    Commands LastSent() const {
        const auto c = ParseCommands(sent.back());
        EXPECT_TRUE(c);
        return c.value_or(Commands{});
    }

    std::vector<std::string> pending;
    std::vector<std::string> sent;
    std::string failure;
};

Readings Flying() {
    Readings r;
    r.fdmInitialized = true;
    r.timeS = 1.0;
    r.latitudeDeg = 37.55;
    r.longitudeDeg = -122.2;
    r.altitudeFt = 3000.0;
    r.groundElevationFt = 10.0;
    r.headingTrueDeg = 298.0;
    r.iasKt = 90.0;
    r.tasKt = 94.0;
    r.groundSpeedKt = 94.0;
    r.northFps = 75.0;
    r.eastFps = -140.0;
    r.alphaDeg = 3.0;
    r.magneticVariationDeg = 13.0;
    r.flapsNorm = 1.0 / 3.0;
    return r;
}

struct Fixture {
    ScriptedChannel channel;
    BackendOptions options;
    FlightGearSimulator sim{channel, options};

    void Feed(const Readings& r, double hostS = 1.0 / 30) {
        channel.pending.push_back(FormatReadings(r));
        sim.Advance(hostS);
    }
    ControlInputs Inputs() { return ImageBinding::ReadInputs(sim.Variables()); }
    void Set(const ControlInputs& in) { ImageBinding::WriteInputs(in, sim.Variables()); }
};

TEST(FlightGearBackend, PublishesTheReadingsAndSendsTheLevers) {
    Fixture f;
    Readings r = Flying();
    r.downFps = 500.0 / 60.0;
    f.Feed(r);
    const VariableSpace& v = f.sim.Variables();
    EXPECT_NEAR(encoding::DecodeLatitude({v.U32(o::kLatitudeLo), v.I32(o::kLatitudeHi)}), 37.55,
                1e-7);
    EXPECT_NEAR(encoding::DecodeAltitude({v.U32(o::kAltitudeFraction), v.I32(o::kAltitudeMetres)}),
                3000.0 * 0.3048, 1e-3);
    EXPECT_NEAR(encoding::DecodeAngle32(v.U32(o::kHeading)), 298.0, 1e-3);
    EXPECT_NEAR(encoding::DecodeKnots128(v.I32(o::kIndicatedAirspeed)), 90.0, 0.01);
    EXPECT_NEAR(encoding::DecodeVerticalSpeedMps(v.I16(o::kVerticalSpeed)) * 196.85, -500.0, 5.0);
    EXPECT_NEAR(encoding::DecodeMagneticVariation(v.U16(o::kMagneticVariation)), 13.0, 0.01);
    EXPECT_EQ(v.U16(o::kOnGround), 0);
    EXPECT_EQ(v.U32(o::kGearPosition), 16383u);  // fixed gear: down
    EXPECT_EQ(v.I16(o::kEngineType), 0);         // piston
    // The margin of the angle and flaps as the line carries them (four decimals).
    const Readings sent = *ParseReadings(FormatReadings(r));
    EXPECT_EQ(v.U16(o::kStallFactor), StallFactor(sent.alphaDeg, sent.flapsNorm, AircraftFacts{}));

    ControlInputs in = f.Inputs();
    in.throttle = {0.75, -0.5, 0.0, 0.0};
    in.flapsLever = 3000.0 / 16383;
    in.spoilersLever = 1.0;  // the Cessna has none: ignored
    in.gearDown = false;     // fixed gear: ignored
    in.leftBrake = 0.25;
    in.rightBrake = 0.5;
    in.parkingBrake = true;
    in.elevator = -0.3;
    in.aileron = 0.2;
    in.rudder = -0.1;
    in.paused = true;
    f.Set(in);
    f.Feed(r);
    Commands c = f.channel.LastSent();
    EXPECT_NEAR(c.throttle, 0.75, 1e-4);
    EXPECT_NEAR(c.flaps, 1.0 / 3.0, 1e-4);
    EXPECT_NEAR(c.leftBrake, 0.25, 1e-3);
    EXPECT_NEAR(c.rightBrake, 0.5, 1e-3);
    EXPECT_EQ(c.parkingBrake, 1.0);
    EXPECT_NEAR(c.elevator, -0.3, 1e-3);  // the autopilot is off: the program's controls
    EXPECT_NEAR(c.aileron, 0.2, 1e-3);
    EXPECT_NEAR(c.rudder, -0.1, 1e-3);
    EXPECT_TRUE(c.frozen);
    EXPECT_EQ(v.U32(o::kGearPosition), 16383u);
    EXPECT_TRUE(c.towerAutoPosition);

    // The tower viewpoint the program sets switches FlightGear to its tower view.
    const auto lat = encoding::EncodeTowerLatitude(37.62);
    f.sim.Variables().SetU32(o::kTowerLatitudeLo, lat.lower);
    f.sim.Variables().SetI16(o::kTowerLatitudeHi, lat.upper);
    const auto lon = encoding::EncodeTowerLongitude(-122.38);
    f.sim.Variables().SetU32(o::kTowerLongitudeFraction, lon.fraction);
    f.sim.Variables().SetU16(o::kTowerLongitudeWhole, lon.whole);
    f.sim.Variables().SetI32(o::kTowerAltitude, encoding::EncodeTowerAltitude(150.0));
    f.Feed(r);
    c = f.channel.LastSent();
    EXPECT_EQ(c.viewNumber, f.options.towerViewNumber);
    EXPECT_FALSE(c.towerAutoPosition);
    EXPECT_NEAR(c.towerLatitudeDeg, 37.62, 1e-4);
    EXPECT_NEAR(c.towerLongitudeDeg, -122.38, 1e-4);
    EXPECT_NEAR(c.towerAltitudeFt, 150.0, 0.5);
}

// A toy aircraft that answers the controls as a light aircraft does: the
// elevator pitches, the aileron rolls, the flight path follows the pitch
// less the angle of attack and the heading turns with the bank.
TEST(FlightGearLoops, TheClimbGivesWayToTheAngleOfAttackAndTheSpeed) {
    // Level at 3 degrees of angle of attack, asked to climb.
    struct Case {
        const char* name;
        double iasKt;
        double liftShare;
        double climbTargetMps;
        double maxTargetDeg;
        double minTargetDeg;
    };
    const Case cases[] = {
        // 2.5 m/s at 90 kt: path 3.1 + alpha 3 + 1.2 x 2.5 = 9.1 degrees.
        {"a climb it can fly", 90.0, 0.4, 2.5, 9.2, 9.0},
        // 1,500 ft/min would want 10.9 + 3 + 9.1 = 23 degrees: held to the
        // path now (level) plus 10 degrees of angle of attack.
        {"a go-around's climb", 90.0, 0.4, 7.62, 10.0, 9.9},
        // At 1.25 times the stall speed (a share of 0.64): above the lowest
        // speed, 1.1 times it.
        {"an approach's speed", 60.0, 0.64, 7.62, 10.0, 9.9},
        // At 50 kt at the stalling lift: the stall speed is 50 kt, the lowest
        // speed 55 kt, 5 degrees less.
        {"too slow for it", 50.0, 1.0, 7.62, 5.0, 4.9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ControlLoops loops;
        Autopilot::Command command;
        command.holdsPitch = true;
        command.climbTargetMps = c.climbTargetMps;
        LoopSense sense;
        sense.alphaDeg = 3.0;
        sense.iasKt = c.iasKt;
        sense.liftShare = c.liftShare;
        sense.tasMps = c.iasKt * 0.514444;
        loops.Update(command, sense, 0.0, 0.0, 0.0, false, 1.0 / 30);
        EXPECT_LE(loops.PitchTargetDeg(), c.maxTargetDeg);
        EXPECT_GE(loops.PitchTargetDeg(), c.minTargetDeg);
    }
}

// A steady rolling moment (engine torque, the rudder's trim) that takes 0.1
// of aileron to hold: the loop's trim finds it and the bank comes to its
// target; without a trim it would stay 2.5 degrees off.
TEST(FlightGearLoops, TheAileronTrimHoldsTheBankAgainstASteadyRoll) {
    for (double targetDeg : {0.0, 15.0, -20.0}) {
        SCOPED_TRACE(targetDeg);
        ControlLoops loops;
        Autopilot::Command command;
        command.holdsRoll = true;
        command.bankTargetDeg = targetDeg;
        LoopSense sense;
        sense.tasMps = 50;
        const double dt = 1.0 / 30;
        for (int i = 0; i < 30 * 120; ++i) {
            const LoopOutput out = loops.Update(command, sense, 0.0, 0.0, 0.0, false, dt);
            // Roll acceleration from the aileron less the steady moment, and
            // the roll rate's own damping.
            const double rollAccelDegS2 = 400.0 * (out.aileron - 0.1) - 4.0 * sense.rollRateDegS;
            sense.rollRateDegS += rollAccelDegS2 * dt;
            sense.bankDeg += sense.rollRateDegS * dt;
        }
        EXPECT_NEAR(sense.bankDeg, targetDeg, 0.3);
    }
}

TEST(FlightGearBackend, AutopilotFliesTheControlsToItsTargets) {
    Fixture f;
    Readings r = Flying();
    f.Feed(r);
    ControlInputs in = f.Inputs();
    in.autopilot.master = true;
    in.autopilot.headingHold = true;
    in.autopilot.altitudeHold = true;
    in.autopilot.headingMagneticDeg = 325.0;  // 40 degrees to the right (variation 13 east)
    in.autopilot.altitudeTargetM = 5000.0 * 0.3048;
    in.autopilot.verticalSpeedFpm = 500;
    f.Set(in);

    const double dt = 1.0 / 30;
    const double tas = r.tasKt * 0.5144;
    double maxBank = 0.0;
    for (int i = 0; i < 30 * 90; ++i) {
        const Commands c = f.channel.sent.empty() ? Commands{} : f.channel.LastSent();
        r.pitchRateDegS = -25.0 * (c.elevator + 0.05);  // a little nose-down out of trim
        r.rollRateDegS = 40.0 * c.aileron;
        // The engine's slipstream yaws the nose left; the rudder answers it.
        r.sideslipDeg += (2.0 - 10.0 * c.rudder - r.sideslipDeg) * dt;
        r.pitchDeg += r.pitchRateDegS * dt;
        r.rollDeg += r.rollRateDegS * dt;
        const double climb = tas * std::sin((r.pitchDeg - r.alphaDeg) * M_PI / 180);
        r.downFps = -climb / 0.3048;
        r.altitudeFt += climb / 0.3048 * dt;
        r.headingTrueDeg += 9.81 * std::tan(r.rollDeg * M_PI / 180) / tas * 180 / M_PI * dt;
        r.timeS += dt;
        maxBank = std::max(maxBank, std::fabs(r.rollDeg));
        f.Feed(r, dt);
        if (i == 30 * 60) {
            // After a minute: climbing at the rate asked, heading reached.
            EXPECT_NEAR(-r.downFps * 60, 500.0, 100.0);
            EXPECT_NEAR(units::Wrap180(r.headingTrueDeg - 338.0), 0.0, 3.0);
        }
    }
    EXPECT_NEAR(r.sideslipDeg, 0.0, 0.2);  // the auto-coordinator centred the ball
    EXPECT_LE(maxBank, 27.0);
    EXPECT_GT(maxBank, 10.0);
    EXPECT_NEAR(r.rollDeg, 0.0, 2.0);
}

TEST(FlightGearBackend, TouchdownStopAndCrashAreEvents) {
    struct Case {
        double sinkFpm;
        double bankDeg;
        bool crashDetection;
        bool crash;
    };
    for (const Case& k : {Case{300, 0, true, false}, Case{1200, 0, true, true},
                          Case{1200, 0, false, false}, Case{300, 30, true, true}}) {
        Fixture f;
        ControlInputs in = f.Inputs();
        in.crashDetection = k.crashDetection;
        f.Set(in);
        Readings r = Flying();
        r.downFps = k.sinkFpm / 60.0;
        r.rollDeg = k.bankDeg;
        f.Feed(r);
        r.downFps = 1.0;  // the strut has taken most of it
        r.leftWheelOnGround = r.rightWheelOnGround = true;
        r.timeS += 0.05;
        f.Feed(r);
        const auto& events = f.sim.Events();
        ASSERT_GE(events.size(), 1u);
        EXPECT_EQ(events[0].kind, SimEventKind::Touchdown);
        EXPECT_NEAR(events[0].sinkRateFpm, k.sinkFpm, 1.0);
        EXPECT_EQ(f.sim.CrashCount(), k.crash ? 1 : 0) << k.sinkFpm << " " << k.bankDeg;
        EXPECT_EQ(f.channel.LastSent().frozen, k.crash);
        EXPECT_EQ(f.sim.Variables().U16(o::kCrashed), k.crash ? 1 : 0);
        EXPECT_EQ(f.sim.Variables().U16(o::kOnGround), 1);
        if (k.crash)
            continue;
        // Contact flicker of a tenth of a second is no lift-off; half a second
        // off the ground is a bounce.
        auto offFor = [&](double seconds) {
            Readings off = r;
            off.leftWheelOnGround = off.rightWheelOnGround = false;
            for (double t = 0.0; t < seconds; t += 0.05) {
                off.timeS = r.timeS += 0.05;
                f.Feed(off);
                EXPECT_EQ(f.sim.Variables().U16(o::kOnGround), t + 0.05 < 0.25 ? 1 : 0) << t;
            }
            r.timeS += 0.05;
            f.Feed(r);
        };
        offFor(0.1);
        EXPECT_EQ(f.sim.TouchdownCount(), 1);
        offFor(0.5);
        EXPECT_EQ(f.sim.TouchdownCount(), 2);
        EXPECT_EQ(f.sim.Events()[f.sim.Events().size() - 2].kind, SimEventKind::Liftoff);
        // Rolling out to a stop.
        for (double gs : {30.0, 10.0, 2.0, 0.2}) {
            r.northFps = gs;
            r.eastFps = 0.0;
            r.timeS += 1.0;
            f.Feed(r);
        }
        EXPECT_EQ(f.sim.Events().back().kind, SimEventKind::Stop);
    }
}

TEST(FlightGearBackend, TheWheelsAndTheLoadAreTheFlightModelsOwn) {
    // The load is JSBSim's Nz (the gear's force in it), not FlightGear's
    // nlf (the lift alone: 0 standing); gear[0] is the Cessna's nose wheel.
    const std::string file = ProtocolFileText();
    EXPECT_NE(file.find("<node>/fdm/jsbsim/accelerations/Nz</node>"), std::string::npos);
    EXPECT_EQ(file.find("/accelerations/nlf"), std::string::npos);
    EXPECT_NE(file.find("<name>wow-nose</name>\n    <type>bool</type>\n    <format>%d</format>\n"
                        "    <node>/gear/gear[0]/wow</node>"),
              std::string::npos);

    Fixture f;
    Readings r = Flying();
    r.normalLoadG = 1.0;
    f.Feed(r);
    // The nose wheel touches first, with the struts' load in the reading.
    r.timeS += 0.05;
    r.noseWheelOnGround = true;
    r.normalLoadG = 2.4;
    f.Feed(r);
    EXPECT_TRUE(f.sim.State().noseWheelOnGround);
    EXPECT_FALSE(f.sim.State().mainWheelsOnGround);
    EXPECT_TRUE(f.sim.LastTrace().noseWheelOnGround);
    EXPECT_DOUBLE_EQ(f.sim.LastTrace().normalLoadG, 2.4);
    ASSERT_FALSE(f.sim.Events().empty());
    EXPECT_EQ(f.sim.Events().back().kind, SimEventKind::Touchdown);
    r.timeS += 0.05;
    r.leftWheelOnGround = true;
    r.normalLoadG = 1.0;  // standing: the gear carries the weight
    f.Feed(r);
    EXPECT_TRUE(f.sim.State().mainWheelsOnGround);
    EXPECT_DOUBLE_EQ(f.sim.State().normalLoadG, 1.0);
}

TEST(FlightGearBackend, LyingStillOffItsWheelsIsACrash) {
    // A spin into the ground at a speed-up that FlightGear's damage model did
    // not call a crash: on its back, half a metre up, still, no wheel on the
    // ground.
    Fixture f;
    Readings r = Flying();
    f.Feed(r);
    r.altitudeFt = r.groundElevationFt + 1.6;
    r.rollDeg = 178.0;
    r.northFps = r.eastFps = r.downFps = 0.0;
    r.iasKt = r.tasKt = r.groundSpeedKt = 0.0;
    for (int i = 0; i < 30; ++i) {
        r.timeS += 0.05;
        f.Feed(r);
    }
    EXPECT_EQ(f.sim.CrashCount(), 0);  // 1.5 s: not yet
    for (int i = 0; i < 12; ++i) {
        r.timeS += 0.05;
        f.Feed(r);
    }
    EXPECT_EQ(f.sim.CrashCount(), 1);
    EXPECT_EQ(f.sim.Events().back().kind, SimEventKind::Crash);
    EXPECT_TRUE(f.channel.LastSent().frozen);

    // Hovering still high above the ground (a strong headwind) is no crash.
    Fixture high;
    Readings h = Flying();
    h.northFps = h.eastFps = 0.0;
    for (int i = 0; i < 100; ++i) {
        h.timeS += 0.05;
        high.Feed(h);
    }
    EXPECT_EQ(high.sim.CrashCount(), 0);
}

TEST(FlightGearBackend, FailsWhenFlightGearDoesNotStartFallsSilentOrEnds) {
    {
        ScriptedChannel channel;  // nothing ever arrives
        BackendOptions options;
        options.logPath = "/tmp/fgfs.log";
        FlightGearSimulator sim(channel, options);
        sim.Advance(options.startLimitS - 1.0);
        EXPECT_EQ(sim.Failure(), "");
        sim.Advance(2.0);
        EXPECT_EQ(sim.Failure(),
                  "FlightGear sent nothing within 300 s of its start; its log is /tmp/fgfs.log");
    }
    {
        // Lines before the flight model runs are no steps, and FlightGear may
        // fall silent while it loads: only the start limit counts then.
        Fixture f;
        Readings loading = Flying();
        loading.fdmInitialized = false;
        f.Feed(loading, 1.0);
        f.sim.Advance(f.options.silenceLimitS * 3);
        for (int i = 0; i < 20; ++i)
            f.Feed(loading, 1.0);
        EXPECT_FALSE(f.sim.Started());
        EXPECT_EQ(f.sim.Failure(), "");
        EXPECT_EQ(f.sim.Variables().U32(o::kLatitudeHi), 0u);
        f.Feed(Flying());
        EXPECT_TRUE(f.sim.Started());
    }
    {
        Fixture f;
        f.Feed(Flying());
        f.channel.pending.push_back("not a frame\n");
        f.sim.Advance(f.options.silenceLimitS - 1.0);
        EXPECT_EQ(f.sim.Failure(), "");
        EXPECT_EQ(f.sim.LinesRejected(), 1u);
        f.sim.Advance(2.0);
        EXPECT_NE(f.sim.Failure().find("stopped answering"), std::string::npos) << f.sim.Failure();
        // A failed backend no longer moves.
        f.channel.pending.push_back(FormatReadings(Flying()));
        EXPECT_EQ(f.sim.Advance(1.0), 0);
    }
    {
        // FlightGear's damage model broke the aircraft: a crash, and frozen.
        Fixture f;
        Readings r = Flying();
        f.Feed(r);
        r.engineCrashed = true;
        r.timeS += 0.1;
        f.Feed(r);
        ASSERT_EQ(f.sim.CrashCount(), 1);
        EXPECT_EQ(f.sim.Events().back().crashReason, CrashReason::Impact);
        EXPECT_TRUE(f.channel.LastSent().frozen);
    }
    {
        Fixture f;
        f.Feed(Flying());
        f.channel.failure = "FlightGear ended with status 1; its log is /tmp/fgfs.log";
        f.sim.Advance(0.1);
        EXPECT_EQ(f.sim.Failure(), f.channel.failure);
    }
}

// The stand-in says what it waits for: FlightGear silent, FlightGear
// answering while its flight model loads, and the flight model running; and
// a FlightGear that answers but never flies is not said to have sent nothing.
TEST(FlightGearBackend, TheWaitForFlightGearIsToldAsItGoes) {
    ScriptedChannel channel;
    BackendOptions options;
    options.startLimitS = 100.0;
    options.noticeEveryS = 30.0;
    std::vector<std::string> notices;
    options.notice = [&](const std::string& text) { notices.push_back(text); };
    FlightGearSimulator sim(channel, options);
    for (int i = 0; i < 40; ++i)
        sim.Advance(1.0);  // 40 s of silence: one notice, at 30 s
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0],
              "still waiting for FlightGear: 30 s of 100 s (nothing received from it yet)");
    Readings loading = Flying();
    loading.fdmInitialized = false;
    channel.pending.push_back(FormatReadings(loading));
    sim.Advance(25.0);  // 65 s: it answers, then the 60 s notice is due
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[1], "FlightGear answers; waiting for its flight model to start");
    EXPECT_EQ(notices[2],
              "still waiting for FlightGear: 65 s of 100 s (it answers; its flight model is "
              "loading)");
    sim.Advance(40.0);  // past the limit: no notice, a failure that says what it waited for
    EXPECT_EQ(notices.size(), 3u);
    EXPECT_EQ(sim.Failure(), "FlightGear's flight model did not start within 100 s of its start");

    Fixture f;
    std::vector<std::string> told;
    f.options.notice = [&](const std::string& text) { told.push_back(text); };
    FlightGearSimulator flying(f.channel, f.options);
    f.channel.pending.push_back(FormatReadings(Flying()));
    flying.Advance(0.1);
    Readings later = Flying();
    later.timeS += 1.0;
    f.channel.pending.push_back(FormatReadings(later));
    flying.Advance(40.0);
    EXPECT_EQ(told, std::vector<std::string>{"FlightGear's flight model runs"});
}

}  // namespace
}  // namespace corvane::sim::flightgear
