// SPDX-License-Identifier: MIT
//
// The landing gear: the main wheels and the nose wheel as two contact points
// under the centre of gravity (the reference point), each on a strut with a
// spring and a damper, the damper stiffer on the rebound, as JSBSim models its
// gear. Standing still the struts hold the reference point at the aircraft's
// gear height with the fuselage level; at a touchdown the strut that meets
// the ground first takes the load, pitches the aircraft about the centre of
// gravity and lets it go again once it has stretched out. The load, the
// attitude on the ground and a bounce all come out of these forces.
#pragma once

#include "sim/physics/AircraftConfig.h"

namespace corvane::sim {

class Gear {
  public:
    struct Inputs {
        double heightM = 0.0;   // reference point above the ground under it
        double climbMps = 0.0;  // vertical speed relative to the ground, up positive
        double pitchRad = 0.0;
        double pitchRateRadS = 0.0;  // nose up positive
    };

    struct Strut {
        bool contact = false;
        double compressionM = 0.0;
        double forceN = 0.0;  // up, on the aircraft
        double armM = 0.0;    // of the contact point ahead of the centre of gravity
    };

    struct Outputs {
        Strut main;
        Strut nose;
        double verticalForceN = 0.0;
        double pitchMomentNm = 0.0;  // of the struts' forces, nose up positive
    };

    explicit Gear(const AircraftConfig& config);

    Outputs Compute(const Inputs& in) const;

    // Height of a wheel above the ground (negative: its strut is compressed)
    // for the main wheels (nose = false) or the nose wheel.
    double WheelHeightM(const Inputs& in, bool nose) const;
    // Static loads standing level: the weight shared by the wheels' places.
    double StaticMainForceN() const { return staticMainN_; }
    double StaticNoseForceN() const { return staticNoseN_; }

  private:
    Strut ComputeStrut(const Inputs& in, bool nose) const;

    const AircraftConfig& config_;
    double mainX_;  // ahead of the centre of gravity (negative: behind it)
    double noseX_;
    double mainZ_;  // wheel below the centre of gravity with the strut stretched out
    double noseZ_;
    double staticMainN_;
    double staticNoseN_;
};

}  // namespace corvane::sim
