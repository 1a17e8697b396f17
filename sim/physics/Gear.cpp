// SPDX-License-Identifier: MIT
#include "sim/physics/Gear.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim {

Gear::Gear(const AircraftConfig& config) : config_(config) {
    mainX_ = -config.mainGearAftOfCgM;
    noseX_ = config.wheelbaseM - config.mainGearAftOfCgM;
    const double weightN = config.massKg * units::kGravityMps2;
    staticMainN_ = weightN * noseX_ / config.wheelbaseM;
    staticNoseN_ = weightN * -mainX_ / config.wheelbaseM;
    // Standing level at the gear height, each strut compressed by its static load.
    mainZ_ = config.gearHeightM + staticMainN_ / config.mainStrutStiffnessNPerM;
    noseZ_ = config.gearHeightM + staticNoseN_ / config.noseStrutStiffnessNPerM;
}

double Gear::WheelHeightM(const Inputs& in, bool nose) const {
    const double x = nose ? noseX_ : mainX_;
    const double z = nose ? noseZ_ : mainZ_;
    return in.heightM + x * std::sin(in.pitchRad) - z * std::cos(in.pitchRad);
}

Gear::Strut Gear::ComputeStrut(const Inputs& in, bool nose) const {
    Strut s;
    const double x = nose ? noseX_ : mainX_;
    const double z = nose ? noseZ_ : mainZ_;
    const double sinT = std::sin(in.pitchRad);
    const double cosT = std::cos(in.pitchRad);
    s.armM = x * cosT + z * sinT;
    const double height = in.heightM + x * sinT - z * cosT;
    if (!(height < 0.0))
        return s;
    s.contact = true;
    s.compressionM = -height;
    // The wheel's downward speed is the strut's compression rate.
    const double rate = -(in.climbMps + (x * cosT + z * sinT) * in.pitchRateRadS);
    const double stiffness =
        nose ? config_.noseStrutStiffnessNPerM : config_.mainStrutStiffnessNPerM;
    double damping;
    if (rate >= 0.0)
        damping = nose ? config_.noseStrutDampingNsPerM : config_.mainStrutDampingNsPerM;
    else
        damping =
            nose ? config_.noseStrutReboundDampingNsPerM : config_.mainStrutReboundDampingNsPerM;
    s.forceN = std::max(0.0, stiffness * s.compressionM + damping * rate);
    return s;
}

Gear::Outputs Gear::Compute(const Inputs& in) const {
    Outputs out;
    out.main = ComputeStrut(in, false);
    out.nose = ComputeStrut(in, true);
    out.verticalForceN = out.main.forceN + out.nose.forceN;
    out.pitchMomentNm = out.main.forceN * out.main.armM + out.nose.forceN * out.nose.armM;
    return out;
}

}  // namespace corvane::sim
