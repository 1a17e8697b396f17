// SPDX-License-Identifier: MIT
#include "app/map/MapMenus.h"

namespace corvane::map {
namespace {

void ToggleDots(forms::MenuItem& item, bool& shown, const char* what) {
    shown = !shown;
    item.caption = std::string(shown ? "Hide " : "Show ") + what;
}

}  // namespace

std::string RangeCaption(int rangeMiles) {
    return "Range (" + std::to_string(rangeMiles) + ")";
}

forms::MenuItem* RangeItem(forms::MainMenu& menu, int rangeMiles) {
    switch (rangeMiles) {
        case 5:
            return &menu.Mnu5miles;
        case 10:
            return &menu.Mnu10miles;
        case 25:
            return &menu.Mnu25miles;
        case 50:
            return &menu.Mnu50miles;
        case 100:
            return &menu.Mnu100miles;
        case 250:
            return &menu.Mnu250miles;
        default:
            return nullptr;
    }
}

bool SelectRange(forms::MainMenu& menu, MapState& state, int rangeMiles) {
    forms::MenuItem* chosen = RangeItem(menu, rangeMiles);
    if (chosen == nullptr)
        return false;
    state.MapRange = static_cast<float>(rangeMiles);
    for (int range : kMapRanges) {
        forms::MenuItem* item = RangeItem(menu, range);
        item->checked = item == chosen;
    }
    menu.MnuRange.caption = RangeCaption(rangeMiles);
    return true;
}

void ToggleAirportDots(forms::MainMenu& menu, MapState& state) {
    ToggleDots(menu.mnuairportdots, state.ShowAirportDots, "airport dots");
}

void ToggleNdbDots(forms::MainMenu& menu, MapState& state) {
    ToggleDots(menu.mnundbdots, state.ShowNDBDots, "NDB dots");
}

void ToggleVorDots(forms::MainMenu& menu, MapState& state) {
    ToggleDots(menu.mnuvordots, state.ShowVORDots, "VOR dots");
}

MapOverlay SwitchOverlay(forms::MenuItem& mnucrosswire) {
    if (mnucrosswire.caption == "Crosswires") {
        mnucrosswire.caption = "Circles";
        return MapOverlay::Crosswires;
    }
    mnucrosswire.caption = "Crosswires";
    return MapOverlay::Circles;
}

void ToggleReadouts(forms::MenuItem& mnuhide, MapState& state) {
    state.ReadoutsShown = !state.ReadoutsShown;
    mnuhide.caption = state.ReadoutsShown ? "Hide readouts" : "Show readouts";
}

}  // namespace corvane::map
