// SPDX-License-Identifier: MIT
//
// The ground under the aircraft: elevation above sea level in metres at a
// position. Implementations must be cheap (the model asks once per step) and
// must not allocate when asked.
#pragma once

namespace corvane::sim {

class Terrain {
  public:
    virtual ~Terrain() = default;
    virtual double ElevationM(double latitudeDeg, double longitudeDeg) const = 0;
};

}  // namespace corvane::sim
