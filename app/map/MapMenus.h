// SPDX-License-Identifier: MIT
//
// The map's menu items as models: the range menu with its check marks, the
// three dot toggles, the overlay switch and the readouts switch, and their
// captions. The menu commands (MapCommands.h) apply these and end like every
// menu action.
#pragma once

#include <string>

#include "app/forms/Forms.h"
#include "app/map/MapState.h"

namespace corvane::map {

// The six map ranges of the range menu, in nautical miles.
inline constexpr int kMapRanges[] = {5, 10, 25, 50, 100, 250};

// The range menu's caption after a choice. Example: 25 -> "Range (25)".
std::string RangeCaption(int rangeMiles);

// The menu item of a range (Mnu5miles ... Mnu250miles), or nullptr.
forms::MenuItem* RangeItem(forms::MainMenu& menu, int rangeMiles);

// Sets MapRange, checks the chosen item, clears the other five and sets the
// caption of MnuRange. A range that is not on the menu changes nothing and
// gives false.
bool SelectRange(forms::MainMenu& menu, MapState& state, int rangeMiles);

// Flip a dot layer; the item's caption then offers the opposite:
// "Hide airport dots" while shown, "Show airport dots" while hidden (likewise
// "... NDB dots", "... VOR dots").
void ToggleAirportDots(forms::MainMenu& menu, MapState& state);
void ToggleNdbDots(forms::MainMenu& menu, MapState& state);
void ToggleVorDots(forms::MainMenu& menu, MapState& state);

enum class MapOverlay { Circles, Crosswires };

// The overlay switch: its caption names the overlay it switches to. Returns
// the overlay to draw now and sets the caption to the other one
// ("Crosswires" -> crosswires, caption "Circles"; anything else -> circles,
// caption "Crosswires").
MapOverlay SwitchOverlay(forms::MenuItem& mnucrosswire);

// Flip ReadoutsShown; caption "Hide readouts" while shown, "Show readouts"
// while hidden.
void ToggleReadouts(forms::MenuItem& mnuhide, MapState& state);

}  // namespace corvane::map
