// SPDX-License-Identifier: MIT
//
// The airport search window Form3: opening the search and running it.
#include "app/airports/AirportCommands.h"
#include "app/airports/AirportSearch.h"
#include "app/airports/AirportWindow.h"
#include "app/startup/Program.h"

namespace corvane::airports {

namespace {

void SetMainTimers(Program& p, bool enabled) {
    if (p.Form1Timer1)
        p.Form1Timer1->SetEnabled(enabled);
    if (p.Form1Timer3)
        p.Form1Timer3->SetEnabled(enabled);
}

}  // namespace

void mnushowplace_Click(Program& p) {
    if (p.flightState.simulatorkind == flightstate::kFs98) {
        p.SavedPauseState = p.flightState.paused;
        p.search.SearchText.clear();
        forms::Form3Model& search = p.forms.Form3;
        search.left = p.forms.Form1.left;
        search.top = p.forms.Form1.top;
        search.TxtAirport.text.clear();
        search.visible = true;
        search.focusControl = search.TxtAirport.name;
        p.plane.paused(1);
        p.forms.Form1.visible = false;
        SetMainTimers(p, false);
    }
    // The command ends the pop-up menu; unlike other commands it leaves the
    // simulator paused until the airport window closes.
    p.forms.Form1.menu.mnuview.visible = false;
    p.forms.Form1.menu.popupRequested = false;
}

void cmdOK_Click(Program& p) {
    p.search.SearchText = p.forms.Form3.TxtAirport.text;
    p.forms.Form3.visible = false;

    forms::Form2Model& window = p.forms.Form2;
    window.visible = true;
    window.caption = "Airport Selection";
    window.foundlist.visible = true;
    window.foundlist.Clear();
    window.foundlist.tag = "airports";
    // No airport is shown yet, so there are no details to show.
    window.cmdDetails.visible = false;

    const SearchResults results = FindAirports(p.airports, p.search.SearchText);
    for (std::size_t k = 0; k < results.lines.size(); ++k) {
        // The item data keeps the line's airport, so that of two airports of
        // the same name the one chosen is shown.
        window.foundlist.AddItem(results.lines[k], results.airports[k]);
    }

    if (results.airports.size() == 1 && p.flightState.simulatorkind == flightstate::kFs98) {
        p.SavedPauseState = p.flightState.paused;
        p.plane.paused(1);
        window.left = 0;
        window.top = 450.0 / p.host.TwipsPerPixelY();
        p.forms.Form1.visible = false;
        ShowAirportMap(p, results.airports.front());
    }
}

void Form3_QueryUnload(Program& p) {
    p.forms.Form3.visible = false;
    ResumeMainWindow(p);
}

}  // namespace corvane::airports
