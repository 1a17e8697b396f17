// SPDX-License-Identifier: MIT
// Placeholders until the fly-there autopilot is built: they do nothing.
#include "app/autopilot/FlyThereCommands.h"

namespace corvane::autopilot {
void RouteTick(Program&) {}
void LandingTick(Program&) {}
void cmdflyme_Click(Program&) {}
void StartFlight(Program&, std::int32_t) {}
void CruiseHeight_Click(Program&, const std::string&) {}
void mnuFlythereOff_Click(Program&) {}
void mnuFlyPast_Click(Program&) {}
void Timer4_Timer(Program&) {}
}  // namespace corvane::autopilot
