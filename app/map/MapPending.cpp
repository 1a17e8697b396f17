// SPDX-License-Identifier: MIT
// Placeholders until the map is built: they do nothing.
#include "app/map/AirportPlan.h"
#include "app/map/MapCommands.h"

namespace corvane::map {
void MapCycle(Program&) {}
void copy(Program&) {}
void restore(Program&) {}
void drawcircles(Program&, forms::Picture&) {}
void drawcrosswires(Program&, forms::Picture&) {}
void drawscale(Program&, double&, forms::Picture&) {}
int NearestDot(const Program&, float, float) { return 0; }
void RangeMenu_Click(Program&, int) {}
void mnuairportdots_Click(Program&) {}
void mnundbdots_Click(Program&) {}
void mnuvordots_Click(Program&) {}
void mnucrosswire_Click(Program&) {}
void mnuhide_Click(Program&) {}
void showmapall(Program&, int) {}
}  // namespace corvane::map
