// SPDX-License-Identifier: MIT
//
// The moving map's entry points: the map cycle, the stored background, the
// overlays and the map's menu commands.
#pragma once

#include "app/forms/Canvas.h"
#include "app/forms/Controls.h"

namespace corvane {
struct Program;
}

namespace corvane::map {

// One map cycle (Form1's Timer3, every 300 ms).
void MapCycle(Program& p);
// Saves Picture1 into picstore (after the overlay is drawn), and puts it back
// onto Picture2 at the start of each frame.
void copy(Program& p);
void restore(Program& p);
// Overlays, drawn in the target picture's own units and fore colour.
void drawcircles(Program& p, forms::Picture& acontrol);
void drawcrosswires(Program& p, forms::Picture& acontrol);
void drawscale(Program& p, double& span, forms::Picture& acontrol);
// The nearest collected dot to a position inside Picture1 (twips), chosen as
// the hover label chooses; 0 when no dot lies within the catch distance.
int NearestDot(const Program& p, float xTwips, float yTwips);
// Menu commands (each ends like every menu action).
void RangeMenu_Click(Program& p, int rangeMiles);  // Mnu5miles ... Mnu250miles
void mnuairportdots_Click(Program& p);
void mnundbdots_Click(Program& p);
void mnuvordots_Click(Program& p);
void mnucrosswire_Click(Program& p);
void mnuhide_Click(Program& p);

}  // namespace corvane::map
