// SPDX-License-Identifier: MIT
#include "sim/physics/AircraftData.h"

namespace corvane::sim {

const FlapSetting* AircraftData::FlapSettingAt(double position) const {
    if (!(position > kFlapPositionTolerance))
        return nullptr;
    for (const FlapSetting& setting : flaps) {
        if (position <= setting.position + kFlapPositionTolerance)
            return &setting;
    }
    return flaps.empty() ? nullptr : &flaps.back();
}

double AircraftData::FlapLimitKias(double position) const {
    const FlapSetting* setting = FlapSettingAt(position);
    return setting != nullptr ? setting->limitKias.value : 0.0;
}

bool AircraftData::LandingFlapsSet(double position) const {
    return position >= landingFlapsPosition - kFlapPositionTolerance;
}

}  // namespace corvane::sim
