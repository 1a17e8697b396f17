// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/model/Simulator.h"
#include "sim/physics/Units.h"
#include "sim/physics/Wind.h"

namespace corvane::sim {
namespace {

constexpr double kFt = units::kMetresPerFoot;

TEST(WindTest, GradientGrowsFromTheSurfaceWindToTheWindAloft) {
    WindSettings settings{270.0, 10.0, true, TurbulenceLevel::None, 1};
    const WindField field(settings);
    const double aloft = std::pow(2000.0 * kFt / 10.0, 1.0 / 7.0);  // 1.80
    const struct {
        double heightM;
        double factor;
    } table[] = {
        {-5.0, 1.0},
        {0.0, 1.0},
        {10.0, 1.0},
        {20.0, std::pow(2.0, 1.0 / 7.0)},
        {100.0, std::pow(10.0, 1.0 / 7.0)},
        {2000.0 * kFt, aloft},
        {3000.0, aloft},
        {1e5, aloft},
    };
    double previous = 0.0;
    for (const auto& row : table) {
        SCOPED_TRACE(row.heightM);
        EXPECT_NEAR(field.ProfileFactor(row.heightM), row.factor, 1e-9);
        EXPECT_GE(field.ProfileFactor(row.heightM), previous);
        previous = field.ProfileFactor(row.heightM);
        // From the west: the air moves east, the direction the same at every height.
        const WindVector w = field.MeanAt(row.heightM);
        EXPECT_NEAR(w.eastMps, 10.0 * units::kMpsPerKnot * row.factor, 1e-9);
        EXPECT_NEAR(w.northMps, 0.0, 1e-9);
    }
    EXPECT_NEAR(aloft, 1.80, 0.01);

    // Without the gradient the wind is the same everywhere.
    settings.gradient = false;
    EXPECT_DOUBLE_EQ(WindField(settings).ProfileFactor(3000.0), 1.0);
}

// A long seeded series at a fixed height and airspeed: each component's RMS
// is its Dryden intensity, its correlation at a lag is exp(-V lag / L), and the
// three components are uncorrelated.
TEST(WindTest, TurbulenceHasTheDrydenIntensitiesAndCorrelation) {
    const double speedMps = 65.0;
    const double dt = 0.02;
    const int n = 400000;  // 8,000 s: about 1,000 to 2,000 correlation times
    for (const auto& [level, heightM] :
         {std::pair{TurbulenceLevel::Light, 50.0}, std::pair{TurbulenceLevel::Moderate, 150.0},
          std::pair{TurbulenceLevel::Moderate, 1000.0}}) {
        SCOPED_TRACE(std::string(TurbulenceLevelName(level)) + " at " + std::to_string(heightM));
        WindField field(WindSettings{90.0, 10.0, false, level, 42});
        const WindVector mean = field.MeanAt(heightM);
        GustScale scales[3];
        WindField::GustScales(level, heightM, scales);
        std::vector<double> series[3];
        for (auto& s : series)
            s.reserve(n);
        for (int i = 0; i < n; ++i) {
            const WindVector w = field.Advance(heightM, speedMps, dt);
            // From the east: along the mean wind is west, across it (right) north.
            series[0].push_back(-(w.eastMps - mean.eastMps));
            series[1].push_back(w.northMps - mean.northMps);
            series[2].push_back(w.upMps);
        }
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE(c);
            double sum = 0.0;
            double sumSq = 0.0;
            for (double x : series[c]) {
                sum += x;
                sumSq += x * x;
            }
            const double rms = std::sqrt(sumSq / n);
            EXPECT_NEAR(rms / scales[c].sigmaMps, 1.0, 0.06);
            EXPECT_LT(std::abs(sum / n), 0.1 * scales[c].sigmaMps);
            const int lag = std::max(1, int(scales[c].lengthM / speedMps / dt));  // one L
            double corr = 0.0;
            for (int i = lag; i < n; ++i)
                corr += series[c][i] * series[c][i - lag];
            corr /= (n - lag) * rms * rms;
            EXPECT_NEAR(corr, std::exp(-speedMps * lag * dt / scales[c].lengthM), 0.06);
        }
        for (int c = 0; c < 3; ++c) {
            double cross = 0.0;
            for (int i = 0; i < n; ++i)
                cross += series[c][i] * series[(c + 1) % 3][i];
            EXPECT_LT(std::abs(cross / n / (scales[c].sigmaMps * scales[(c + 1) % 3].sigmaMps)),
                      0.06);
        }
    }
    // Dryden: horizontal gusts stronger and longer than vertical near the ground,
    // moderate twice light, isotropic from 2,000 ft.
    GustScale low[3], light[3], high[3];
    WindField::GustScales(TurbulenceLevel::Moderate, 20.0, low);
    WindField::GustScales(TurbulenceLevel::Light, 20.0, light);
    WindField::GustScales(TurbulenceLevel::Moderate, 3000.0, high);
    EXPECT_GT(low[0].sigmaMps, 1.5 * low[2].sigmaMps);
    EXPECT_GT(low[0].lengthM, 3.0 * low[2].lengthM);
    EXPECT_NEAR(low[0].sigmaMps, 2.0 * light[0].sigmaMps, 1e-9);
    EXPECT_NEAR(high[0].lengthM, high[2].lengthM, 1e-9);
    EXPECT_NEAR(high[2].lengthM, 1750.0 * kFt, 1e-6);
    EXPECT_NEAR(high[2].sigmaMps, 3.0 * units::kMpsPerKnot, 1e-9);
}

// The gusts a flight meets are given by the seed alone: the same seed flies
// the same flight, to the bit, after any earlier flight; another seed does not.
TEST(WindTest, SeededTurbulenceGivesTheSameFlight) {
    auto fly = [](std::uint64_t seed, bool flyBefore) {
        SimulatorOptions options;
        options.windFromDeg = 200.0;
        options.windSpeedKt = 12.0;
        options.windGradient = true;
        options.turbulence = TurbulenceLevel::Moderate;
        options.turbulenceSeed = seed;
        Simulator sim(options);
        FinalStart final;
        final.runway = RunwayStart{40.0, -105.0, 40.03, -105.0};
        if (flyBefore) {
            sim.StartOnFinal(final);
            sim.Advance(7.0);
        }
        sim.StartOnFinal(final);
        sim.Advance(20.0);
        return sim.State();
    };
    const AircraftState a = fly(7, false);
    const AircraftState b = fly(7, true);
    const AircraftState c = fly(8, false);
    EXPECT_EQ(a.latitudeDeg, b.latitudeDeg);
    EXPECT_EQ(a.longitudeDeg, b.longitudeDeg);
    EXPECT_EQ(a.altitudeM, b.altitudeM);
    EXPECT_NE(a.altitudeM, c.altitudeM);
    EXPECT_FALSE(a.crashed);
}

}  // namespace
}  // namespace corvane::sim
