// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "sim/fltsim98/CommandLine.h"
#include "sim/fltsim98/SimulatorSetup.h"

namespace corvane::sim {
namespace {

CommandLine Parsed(std::vector<std::string> args) {
    CommandLine c;
    const ParseResult r = ParseCommandLine(args, &c);
    EXPECT_TRUE(r.run) << r.message;
    return c;
}

TEST(CommandLineTest, StartsAndOptionsAreRead) {
    const CommandLine air = Parsed({"--lat", "47.5", "--lon=-122.3", "--alt", "5000", "--heading",
                                    "-90", "--speed", "180", "--wind", "250/12", "--rate", "8"});
    EXPECT_EQ(air.start, StartKind::InAir);
    EXPECT_DOUBLE_EQ(air.latitudeDeg, 47.5);
    EXPECT_DOUBLE_EQ(air.longitudeDeg, -122.3);
    EXPECT_DOUBLE_EQ(air.headingTrueDeg, 270.0);
    EXPECT_DOUBLE_EQ(air.windFromDeg, 250.0);
    EXPECT_DOUBLE_EQ(air.windSpeedKt, 12.0);
    EXPECT_DOUBLE_EQ(air.rate, 8.0);
    EXPECT_FALSE(air.windGradient);
    EXPECT_EQ(air.turbulence, TurbulenceLevel::None);

    const CommandLine gusty = Parsed(
        {"--wind", "180/20", "--wind-gradient", "--turbulence", "moderate", "--turbulence-seed=7"});
    EXPECT_TRUE(gusty.windGradient);
    EXPECT_EQ(gusty.aircraft, "twin") << "the default";
    EXPECT_EQ(Parsed({"--aircraft", "single"}).aircraft, "single");
    EXPECT_EQ(gusty.turbulence, TurbulenceLevel::Moderate);
    EXPECT_EQ(gusty.turbulenceSeed, 7u);

    const CommandLine ground = Parsed({"--airport", "KDEN", "--runway", "16R", "--headless"});
    EXPECT_EQ(ground.start, StartKind::OnRunway);
    EXPECT_EQ(ground.airportIcao, "KDEN");
    EXPECT_EQ(ground.runway, "16R");
    EXPECT_TRUE(ground.headless);

    const CommandLine final = Parsed({"--airport=EGLL", "--final", "5"});
    EXPECT_EQ(final.start, StartKind::OnFinal);
    EXPECT_DOUBLE_EQ(final.finalNm, 5.0);
    EXPECT_TRUE(final.runway.empty());
}

TEST(CommandLineTest, CloseAnswers) {
    const struct {
        std::vector<std::string> args;
        CloseAnswer answer;
    } cases[] = {
        {{}, CloseAnswer::Close},
        {{"--ask-before-close"}, CloseAnswer::Ask},
        {{"--ask-before-close=ask"}, CloseAnswer::Ask},
        {{"--ask-before-close=accept"}, CloseAnswer::Accept},
        {{"--ask-before-close=refuse"}, CloseAnswer::Refuse},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(c.args).closeAnswer, c.answer);
}

TEST(CommandLineTest, MistakesAreRefusedWithTheOptionNamed) {
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"--lat"}, "--lat"},
        {{"--lat", "north"}, "--lat"},
        {{"--lat", "91"}, "--lat"},
        {{"--lon", "-180.5"}, "--lon"},
        {{"--speed", "20"}, "--speed"},
        {{"--rate", "0"}, "--rate"},
        {{"--rate", "nan"}, "--rate"},
        {{"--wind", "250"}, "--wind"},
        {{"--wind", "400/10"}, "--wind"},
        {{"--runway", "27L"}, "--airport"},
        {{"--final", "5"}, "--airport"},
        {{"--airport", "KDEN", "--lat", "40"}, "--airport"},
        {{"--airport", "KDEN", "--final", "0"}, "--final"},
        {{"--ask-before-close=maybe"}, "--ask-before-close"},
        {{"--headless=yes"}, "--headless"},
        {{"--log"}, "--log"},
        {{"--turbulence", "severe"}, "--turbulence"},
        {{"--turbulence-seed", "-3"}, "--turbulence-seed"},
        {{"--wind-gradient=yes"}, "--wind-gradient"},
        {{"--headless", "--screenshot", "a.png"}, "--screenshot"},
        {{"--backend", "xplane"}, "--backend"},
        {{"--aircraft", "jet"}, "--aircraft"},
        {{"--aircraft", "single", "--backend", "flightgear"}, "--aircraft"},
        {{"--fg-window"}, "--backend flightgear"},
        {{"--backend", "flightgear", "--fg-attach", "5500"}, "--fg-attach"},
        {{"--backend", "flightgear", "--fg-attach", "5500:70000"}, "--fg-attach"},
        {{"--backend", "flightgear", "--fg-attach", "5500.5:5501"}, "--fg-attach"},
    };
    for (const auto& c : cases) {
        CommandLine out;
        const ParseResult r = ParseCommandLine(c.args, &out);
        EXPECT_FALSE(r.run) << c.args[0];
        EXPECT_EQ(r.exitCode, 2) << c.args[0];
        EXPECT_NE(r.message.find(c.named), std::string::npos) << r.message;
    }
}

TEST(CommandLineTest, FlightGearBackendAndItsStart) {
    CommandLine c;
    ASSERT_TRUE(
        ParseCommandLine({"--backend", "flightgear", "--fg-attach", "5500:5501", "--airport",
                          "PHNL", "--runway", "8L", "--final", "12", "--rate", "2"},
                         &c)
            .run);
    EXPECT_EQ(c.backend, Backend::FlightGear);
    EXPECT_EQ(c.fgAttachReadingsPort, 5500);
    EXPECT_EQ(c.fgAttachCommandsPort, 5501);
    const flightgear::LaunchPlan plan = SimulatorSetup::FlightGearPlan(c);
    EXPECT_EQ(plan.start, flightgear::LaunchPlan::Start::OnFinal);
    EXPECT_EQ(plan.finalNm, 12.0);
    EXPECT_EQ(plan.speedUp, 2.0);
    EXPECT_EQ(plan.readingsPort, 5500);
    // An air start faster than the Cessna flies is slowed.
    ASSERT_TRUE(ParseCommandLine({"--backend", "flightgear", "--speed", "250"}, &c).run);
    EXPECT_EQ(SimulatorSetup::FlightGearPlan(c).speedKt, SimulatorSetup::kFlightGearTopSpeedKt);
}

TEST(CommandLineTest, FlightGearFinalsGoByTheRunwaysPosition) {
    // Keflavik 11, which FlightGear's own scenery calls 10: placed by our
    // database's threshold, so FlightGear needs no name for it.
    CommandLine c;
    ASSERT_TRUE(ParseCommandLine({"--backend", "flightgear", "--airport", "BIKF", "--runway", "11",
                                  "--final", "10", "--data", CORVANE_TEST_APP_DIR},
                                 &c)
                    .run);
    SimulatorSetup setup;
    std::string error;
    ASSERT_TRUE(setup.LoadData(c, CORVANE_TEST_APP_DIR, &error)) << error;
    flightgear::LaunchPlan plan = SimulatorSetup::FlightGearPlan(c);
    ASSERT_TRUE(setup.PlaceFlightGear(plan, c, &error)) << error;
    EXPECT_EQ(plan.start, flightgear::LaunchPlan::Start::InAir);
    EXPECT_NEAR(plan.latitudeDeg, 63.985, 0.01);
    EXPECT_NEAR(plan.longitudeDeg, -23.03, 0.02);  // 10 nm west of the threshold
    EXPECT_NEAR(plan.headingTrueDeg, 90.0, 0.5);
    // A runway the database does not know is refused at once, its runways named.
    ASSERT_TRUE(ParseCommandLine({"--backend", "flightgear", "--airport", "BIKF", "--runway", "10",
                                  "--data", CORVANE_TEST_APP_DIR},
                                 &c)
                    .run);
    plan = SimulatorSetup::FlightGearPlan(c);
    EXPECT_FALSE(setup.PlaceFlightGear(plan, c, &error));
    EXPECT_NE(error.find("no runway 10 at"), std::string::npos) << error;
    EXPECT_NE(error.find("11"), std::string::npos) << error;
}

TEST(CommandLineTest, HelpExitsWithZeroAndNamesEveryOption) {
    CommandLine out;
    const ParseResult r = ParseCommandLine({"--lat", "10", "--help"}, &out);
    EXPECT_FALSE(r.run);
    EXPECT_EQ(r.exitCode, 0);
    for (const char* option : {"--airport",   "--runway",
                               "--final",     "--lat",
                               "--lon",       "--alt",
                               "--heading",   "--speed",
                               "--wind",      "--rate",
                               "--log",       "--data",
                               "--headless",  "--ask-before-close",
                               "--install",   "--backend",
                               "--fgfs",      "--fg-window",
                               "--fg-attach", "--fg-log"}) {
        EXPECT_NE(r.message.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace corvane::sim
