// SPDX-License-Identifier: MIT
//
// Ground at one elevation everywhere (sea level by default): the terrain of
// tests and of a simulator started without an airport database.
#pragma once

#include "sim/physics/Terrain.h"

namespace corvane::sim {

class FlatTerrain : public Terrain {
  public:
    explicit FlatTerrain(double elevationM = 0.0) : elevationM_(elevationM) {}
    double ElevationM(double, double) const override { return elevationM_; }

  private:
    double elevationM_;
};

}  // namespace corvane::sim
