// SPDX-License-Identifier: MIT
#include "tools/harness/LoadChannel.h"

#include <algorithm>

namespace corvane::harness {

double LoadChannel::Add(double timeS, double loadG) {
    if (!samples_.empty() && !(timeS > samples_.back().timeS))
        samples_.clear();  // time went back or stood still: a new run of samples
    samples_.push_back({timeS, loadG});
    const double from = timeS - kWindowS;
    // Keep one sample at or before the window's start: it bounds the span of
    // the first sample inside.
    while (samples_.size() > 1 && samples_[1].timeS <= from)
        samples_.pop_front();
    if (samples_.size() == 1)
        return loadG;
    double sum = 0.0;
    double span = 0.0;
    for (std::size_t i = 1; i < samples_.size(); ++i) {
        const double begin = std::max(samples_[i - 1].timeS, from);
        const double covered = samples_[i].timeS - begin;
        sum += samples_[i].loadG * covered;
        span += covered;
    }
    return span > 0.0 ? sum / span : loadG;
}

}  // namespace corvane::harness
