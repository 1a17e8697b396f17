// SPDX-License-Identifier: MIT
//
// The engines: each follows its throttle lever with a first-order lag; thrust
// is flat up to the speed where the engine's power runs out and falls as 1/V
// above it, and it lapses with air density. A negative lever is reverse thrust.
#pragma once

#include <array>

#include "sim/physics/AircraftConfig.h"
#include "sim/physics/LastValueMemo.h"

namespace corvane::sim {

class Engines {
  public:
    static constexpr int kMaxEngines = 4;

    struct Inputs {
        // Lever per engine: 0..1 forward, -1..0 reverse (full reverse at -1).
        std::array<double, kMaxEngines> lever{};
        double densityRatio = 1.0;
        double tasMps = 0.0;
    };

    explicit Engines(const AircraftConfig& config);

    // Sets every engine's power setting at once (no lag), for a start.
    void Reset(double lever);

    void Update(const Inputs& in, double dtS);

    double TotalThrustN() const { return totalThrustN_; }
    double ThrustN(int engine) const { return thrustN_[engine]; }
    double PowerSetting(int engine) const { return setting_[engine]; }

    // Full forward thrust of all engines at a speed and density ratio.
    double MaxThrustN(double tasMps, double densityRatio) const;

  private:
    double EngineThrustN(double setting, double tasMps, double densityRatio) const;
    // Thrust lapse with density, kept for the density last asked about.
    double Lapse(double densityRatio) const;

    const AircraftConfig& config_;
    std::array<double, kMaxEngines> setting_{};
    std::array<double, kMaxEngines> thrustN_{};
    double totalThrustN_ = 0.0;
    mutable LastValueMemo<double> lapseMemo_;  // one set of engines serves one thread
};

}  // namespace corvane::sim
