// SPDX-License-Identifier: MIT
#include "sim/physics/Autopilot.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim {

namespace {
constexpr double kMaxIntegratorCorrectionMps = 1.0;
// How fast the reference rate moves to a new command: about what the pitch
// channel can follow within its load-factor limits, so the integrated
// reference altitude does not run away from the aircraft at a rate change.
constexpr double kReferenceRateAccelMps2 = 1.5;
// The reference altitude follows the aircraft until it flies the new rate
// within this margin; from then on the rate is held on the integrated altitude.
constexpr double kSettledRateMps = 0.5;
}  // namespace

void Autopilot::Reset() {
    mode_ = VerticalMode::Off;
    referenceAltitudeM_ = 0.0;
    referenceRateMps_ = 0.0;
    lastVerticalSpeedFpm_ = 0;
}

void Autopilot::EnterVerticalSpeed(const AutopilotSettings& settings, const Sense& sense) {
    // A new rate while already flying one continues from the rate being
    // flown; entering the mode starts from the aircraft's own climb.
    if (mode_ != VerticalMode::VerticalSpeed) {
        referenceRateMps_ = sense.onGround ? 0.0 : sense.climbMps;
    }
    mode_ = VerticalMode::VerticalSpeed;
    referenceAltitudeM_ = sense.altitudeM;
    rateSettled_ = false;
    lastVerticalSpeedFpm_ = settings.verticalSpeedFpm;
}

Autopilot::Command Autopilot::Update(const AutopilotSettings& settings, const Sense& sense,
                                     double dtS) {
    Command command;
    if (!settings.master) {
        mode_ = VerticalMode::Off;
        return command;
    }

    // Vertical channel.
    if (!settings.altitudeHold) {
        mode_ = VerticalMode::Off;
    } else {
        if (mode_ == VerticalMode::Off || settings.verticalSpeedFpm != lastVerticalSpeedFpm_) {
            EnterVerticalSpeed(settings, sense);
        }
        const double commandedMps = settings.verticalSpeedFpm * units::kMpsPerFpm;
        const double errorM = settings.altitudeTargetM - sense.altitudeM;
        const double captureRateMps =
            std::max(std::abs(commandedMps), config_.apMinCaptureRateFpm * units::kMpsPerFpm);
        if (mode_ == VerticalMode::VerticalSpeed) {
            const bool towards =
                (commandedMps > 0.0 && errorM > 0.0) || (commandedMps < 0.0 && errorM < 0.0);
            if (towards &&
                config_.apAltitudeGainPerS * std::abs(errorM) <= std::abs(commandedMps)) {
                mode_ = VerticalMode::AltitudeHold;
            }
        }
        command.holdsPitch = true;
        if (mode_ == VerticalMode::AltitudeHold) {
            referenceAltitudeM_ = settings.altitudeTargetM;
            command.climbTargetMps =
                std::clamp(config_.apAltitudeGainPerS * errorM, -captureRateMps, captureRateMps);
        } else {
            const double maxChange = kReferenceRateAccelMps2 * dtS;
            referenceRateMps_ +=
                std::clamp(commandedMps - referenceRateMps_, -maxChange, maxChange);
            if (!rateSettled_ && referenceRateMps_ == commandedMps &&
                std::abs(sense.climbMps - commandedMps) < kSettledRateMps) {
                rateSettled_ = true;
            }
            if (sense.onGround) {
                // On the wheels the rate is flown as commanded, without the
                // altitude integral (a climb rotates, a descent lowers the nose).
                referenceAltitudeM_ = sense.altitudeM;
                rateSettled_ = false;
            } else if (!rateSettled_) {
                referenceAltitudeM_ = sense.altitudeM;
            } else {
                referenceAltitudeM_ += referenceRateMps_ * dtS;
            }
            const double correction =
                std::clamp(config_.apVsIntegratorGainPerS * (referenceAltitudeM_ - sense.altitudeM),
                           -kMaxIntegratorCorrectionMps, kMaxIntegratorCorrectionMps);
            command.climbTargetMps = referenceRateMps_ + correction;
        }
    }

    // Lateral channel.
    if (settings.headingHold) {
        const double targetTrueDeg = settings.headingMagneticDeg + sense.magneticVariationDeg;
        const double errorDeg = units::Wrap180(targetTrueDeg - sense.headingTrueDeg);
        const double standardRateBankDeg =
            std::atan(std::max(sense.tasMps, 0.0) * config_.apStandardRateDegPerS *
                      units::kDegToRad / units::kGravityMps2) *
            units::kRadToDeg;
        const double limitDeg = std::min(config_.apBankLimitDeg, standardRateBankDeg);
        command.holdsRoll = true;
        command.bankTargetDeg =
            std::clamp(config_.apBankPerHeadingError * errorDeg, -limitDeg, limitDeg);
    } else if (settings.wingLeveller) {
        command.holdsRoll = true;
        command.bankTargetDeg = 0.0;
    }
    return command;
}

}  // namespace corvane::sim
