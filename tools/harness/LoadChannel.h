// SPDX-License-Identifier: MIT
#pragma once

#include <deque>

namespace corvane::harness {

// The normal load as a flight data recorder's accelerometer channel reads it:
// the mean over the last eighth of a second (the channel's eight samples a
// second), whatever the rate at which the simulator gives its samples. Each
// sample holds from the one before it to its own time, as a step of the
// simulator covers that span. A single sample's peak depends on the sample
// rate (the gear's spring meeting the ground reads for one sample); the mean
// over a fixed span does not.
class LoadChannel {
  public:
    static constexpr double kWindowS = 0.125;

    // Takes the sample at timeS (later than the one before) and gives the
    // mean over the window that ends there; over less than a window while
    // the samples do not reach that far back, and the sample itself for the
    // first.
    double Add(double timeS, double loadG);
    // Forgets the samples (a new start: the span before it is not flown).
    void Reset() { samples_.clear(); }

  private:
    struct Sample {
        double timeS;
        double loadG;
    };
    std::deque<Sample> samples_;
};

}  // namespace corvane::harness
