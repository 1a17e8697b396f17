// SPDX-License-Identifier: MIT
// Placeholder until the airport plan is built: it does nothing.
#include "app/map/AirportPlan.h"

namespace corvane::map {
}  // namespace corvane::map
