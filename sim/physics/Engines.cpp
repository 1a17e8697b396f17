// SPDX-License-Identifier: MIT
#include "sim/physics/Engines.h"

#include <algorithm>
#include <cmath>

namespace corvane::sim {

Engines::Engines(const AircraftConfig& config) : config_(config) {}

void Engines::Reset(double lever) {
    for (int i = 0; i < kMaxEngines; ++i) {
        setting_[i] = i < config_.engineCount ? std::clamp(lever, -1.0, 1.0) : 0.0;
    }
}

double Engines::Lapse(double densityRatio) const {
    // Every engine of a step, and the full-thrust question of the same step,
    // ask at the same density: the power is worked out once for it.
    return lapseMemo_.Get(densityRatio, [this](double ratio) {
        return std::pow(std::max(ratio, 0.01), config_.powerLapseExponent);
    });
}

double Engines::EngineThrustN(double setting, double tasMps, double densityRatio) const {
    const double lapse = Lapse(densityRatio);
    if (setting >= 0.0) {
        const double powerLimitedN = config_.thrustPowerPerEngineW / std::max(tasMps, 1.0);
        return setting * lapse * std::min(config_.staticThrustPerEngineN, powerLimitedN);
    }
    return setting * lapse * config_.reverseThrustFraction * config_.staticThrustPerEngineN;
}

double Engines::MaxThrustN(double tasMps, double densityRatio) const {
    return config_.engineCount * EngineThrustN(1.0, tasMps, densityRatio);
}

void Engines::Update(const Inputs& in, double dtS) {
    const double blend = 1.0 - std::exp(-dtS / std::max(config_.engineTimeConstantS, 1e-3));
    totalThrustN_ = 0.0;
    for (int i = 0; i < kMaxEngines; ++i) {
        if (i >= config_.engineCount) {
            setting_[i] = 0.0;
            thrustN_[i] = 0.0;
            continue;
        }
        const double target = std::clamp(in.lever[i], -1.0, 1.0);
        setting_[i] += (target - setting_[i]) * blend;
        thrustN_[i] = EngineThrustN(setting_[i], in.tasMps, in.densityRatio);
        totalThrustN_ += thrustN_[i];
    }
}

}  // namespace corvane::sim
