// SPDX-License-Identifier: MIT
//
// The map's pictures: the stored background (picstore) that each frame starts
// from, the overlays drawn on a picture in its own units and fore colour, and
// the dot a press on the map picks.
#pragma once

#include "app/forms/Forms.h"
#include "app/map/MapState.h"

namespace corvane::map {

// Saves Picture1 into picstore (after the overlay is drawn), and puts it back
// onto Picture2 at the start of each frame.
void copy(forms::Form1Model& form1);
void restore(forms::Form1Model& form1);
// Overlays, drawn in the target picture's own units and fore colour (nothing
// on a picture without a canvas).
void drawcircles(forms::Picture& acontrol);
void drawcrosswires(forms::Picture& acontrol);
void drawscale(double& span, forms::Picture& acontrol);
// The nearest collected dot to a position inside Picture1 (twips), chosen as
// the hover label chooses (catchBox is Picyellow); 0 when no dot lies within
// the catch distance.
int NearestDot(const MapState& state, const forms::Picture& catchBox, int twipsPerPixelX,
               int twipsPerPixelY, float xTwips, float yTwips);

}  // namespace corvane::map
