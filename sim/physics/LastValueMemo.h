// SPDX-License-Identifier: MIT
//
// A value worked out from one number (a power of the height or of the air's
// density), kept for the number it was last worked out for. Most steps of a
// flight ask again at the same height or density, and get the value back
// without working it out again. The first question always works it out (the
// key starts as NaN, which equals nothing). One memo serves one thread.
#pragma once

#include <limits>

namespace corvane::sim {

template <class Value>
class LastValueMemo {
  public:
    template <class Compute>
    const Value& Get(double key, Compute compute) {
        if (!(key == key_)) {
            key_ = key;
            value_ = compute(key);
        }
        return value_;
    }

  private:
    double key_ = std::numeric_limits<double>::quiet_NaN();
    Value value_{};
};

}  // namespace corvane::sim
