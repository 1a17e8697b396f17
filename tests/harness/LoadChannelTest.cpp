// SPDX-License-Identifier: MIT
#include "tools/harness/LoadChannel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace corvane::harness {
namespace {

// The largest reading of the channel and the largest sample over two seconds
// of a load sampled every stepS (each sample the load at the end of its step).
struct Readings {
    double channelPeak = 0.0;
    double samplePeak = 0.0;
};

Readings Sampled(double stepS, const std::function<double(double timeS, double stepS)>& load) {
    LoadChannel channel;
    Readings r;
    const int steps = static_cast<int>(std::lround(2.0 / stepS));
    for (int i = 1; i <= steps; ++i) {
        const double t = i * stepS;
        const double n = load(t, stepS);
        r.channelPeak = std::max(r.channelPeak, channel.Add(t, n));
        r.samplePeak = std::max(r.samplePeak, n);
    }
    return r;
}

constexpr double kSteps[] = {0.001, 0.005, 0.01, 0.02, 1.0 / 30.0, 0.05};

// What the simulators give: the stand-in every 20 ms (its gear every 5 ms),
// FlightGear about every 33 ms. A landing must read the same at any of them.
TEST(LoadChannel, ReadsALandingAlikeAtEverySampleRate) {
    for (double step : kSteps) {
        SCOPED_TRACE(step);
        // In level flight: 1 g whatever the rate.
        EXPECT_NEAR(Sampled(step, [](double, double) { return 1.0; }).channelPeak, 1.0, 1e-12);
        // The gear's spring meeting the ground within one sample: the same
        // push (0.05 g s) reads as a peak that grows as the samples shrink,
        // and as the same mean over the channel's span at every rate.
        const Readings impulse = Sampled(step, [](double t, double dt) {
            return 1.0 + (t > 1.0 - 1e-9 && t < 1.0 + dt - 1e-9 ? 0.05 / dt : 0.0);
        });
        EXPECT_NEAR(impulse.samplePeak, 1.0 + 0.05 / step, 1e-6);
        EXPECT_NEAR(impulse.channelPeak, 1.0 + 0.05 / LoadChannel::kWindowS, 1e-6);
        // A strut's stroke of a fifth of a second to 1.8 g.
        const Readings stroke = Sampled(step, [](double t, double) {
            return 1.0 + (t > 1.0 && t < 1.2 ? 0.8 * std::sin((t - 1.0) / 0.2 * M_PI) : 0.0);
        });
        const Readings fine = Sampled(0.0005, [](double t, double) {
            return 1.0 + (t > 1.0 && t < 1.2 ? 0.8 * std::sin((t - 1.0) / 0.2 * M_PI) : 0.0);
        });
        EXPECT_NEAR(stroke.channelPeak, fine.channelPeak, 0.02);
        EXPECT_LT(stroke.channelPeak, 1.8);
        EXPECT_GT(stroke.channelPeak, 1.6);
    }
}

TEST(LoadChannel, StartsAgainWhenTimeGoesBack) {
    LoadChannel channel;
    EXPECT_DOUBLE_EQ(channel.Add(10.0, 3.0), 3.0) << "the first sample reads itself";
    EXPECT_DOUBLE_EQ(channel.Add(10.1, 1.0), 1.0) << "the first sample only bounds the span";
    EXPECT_NEAR(channel.Add(10.2, 2.0), (1.0 * 0.025 + 2.0 * 0.1) / 0.125, 1e-12);
    // A new flight's clock (or a repeated time) does not mix with the last one.
    EXPECT_DOUBLE_EQ(channel.Add(0.5, 1.2), 1.2);
    EXPECT_DOUBLE_EQ(channel.Add(0.5, 1.7), 1.7);
    channel.Reset();
    EXPECT_DOUBLE_EQ(channel.Add(0.6, 0.9), 0.9);
}

// The recorder feeds the channel only near the ground: after a gap in the
// samples, the readings are those of a channel fed throughout once the new
// samples fill a window again, bit for bit.
TEST(LoadChannel, AfterAGapReadsAsIfFedThroughoutOnceTheWindowIsFull) {
    LoadChannel always;
    LoadChannel gapped;
    for (int i = 0; i <= 2000; ++i) {
        const double t = 0.02 * i;
        const double load = 1.0 + 0.3 * std::sin(7.3 * t) + (i % 7 == 0 ? 0.4 : 0.0);
        const double continuous = always.Add(t, load);
        const bool fed = i < 300 || i >= 900;
        if (!fed)
            continue;
        const double reading = gapped.Add(t, load);
        if (i >= 900 + 7) {  // seven samples of 20 ms cover the window again
            ASSERT_EQ(reading, continuous) << "at " << t << " s";
        } else if (i == 900) {
            EXPECT_EQ(reading, load) << "the first sample after the gap fills the window";
        }
    }
}

}  // namespace
}  // namespace corvane::harness
