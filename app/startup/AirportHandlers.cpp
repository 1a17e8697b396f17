// SPDX-License-Identifier: MIT
#include "app/startup/AirportHandlers.h"

#include "app/airports/AirportChoice.h"
#include "app/airports/AirportSearch.h"
#include "app/airports/RunwayDetails.h"
#include "app/map/AirportPlan.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/Program.h"

namespace corvane::startup {
namespace {

void ResetGrid(forms::Grid& grid) {
    grid.visible = false;
    grid.Clear();
    grid.SetRows(2);
}

void SetMainTimers(Program& p, bool enabled) {
    if (p.Form1Timer1)
        p.Form1Timer1->SetEnabled(enabled);
    if (p.Form1Timer3)
        p.Form1Timer3->SetEnabled(enabled);
}

}  // namespace

void ShowAirportMap(Program& p, int airportNumber) {
    forms::Form2Model& window = p.forms.Form2;
    window.foundlist.visible = false;
    window.foundlist.Clear();
    ResetGrid(window.rungrid);
    window.cmdDetails.caption = "Show details";
    window.cmdDetails.visible = true;
    p.search.SelectedAirport = airportNumber;
    map::showmapall(*p.airports, window, airportNumber);
}

void ResumeMainWindow(Program& p) {
    p.plane.paused(static_cast<std::uint8_t>(p.SavedPauseState & 0xFF));
    p.forms.Form1.visible = true;
    SetMainTimers(p, true);
    if (p.SimulatorWindowHandle != 0) {
        p.host.SetFocus(p.SimulatorWindowHandle);
        p.host.UpdateWindow(p.SimulatorWindowHandle);
    }
}

void mnushowplace_Click(Program& p) {
    if (p.flightState.simulatorkind == flightstate::kFs98) {
        p.SavedPauseState = p.flightState.readings.paused;
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

    const std::shared_ptr<const airports::AirportSearchIndex> index =
        p.airportSearchIndexOf ? p.airportSearchIndexOf(*p.airports) : nullptr;
    const airports::SearchResults results =
        index ? index->Find(*p.airports, p.search.SearchText)
              : airports::FindAirports(*p.airports, p.search.SearchText);
    for (std::size_t k = 0; k < results.lines.size(); ++k) {
        // The item data keeps the line's airport, so that of two airports of
        // the same name the one chosen is shown.
        window.foundlist.AddItem(results.lines[k], results.airports[k]);
    }

    if (results.airports.size() == 1 && p.flightState.simulatorkind == flightstate::kFs98) {
        p.SavedPauseState = p.flightState.readings.paused;
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

void foundlist_Click(Program& p, int index) {
    forms::ListBox& list = p.forms.Form2.foundlist;
    if (index < 0 || index >= static_cast<int>(list.items.size()))
        return;
    const std::int32_t itemData =
        index < static_cast<int>(list.itemData.size()) ? list.itemData[std::size_t(index)] : 0;
    if (list.tag == "airports") {
        ShowAirportMap(p, airports::AirportOfResultLine(*p.airports, list.items[std::size_t(index)],
                                                        itemData));
    } else {
        // A landing direction: the flight's start closes this window itself.
        StartFlight(p, itemData);
    }
}

void cmdDetails_Click(Program& p) {
    forms::Form2Model& window = p.forms.Form2;
    if (window.cmdDetails.caption == "Hide details") {
        window.rungrid.visible = false;
        window.cmdDetails.caption = "Show details";
        return;
    }
    window.rungrid.visible = true;
    window.cmdDetails.caption = "Hide details";
    airports::FillRunwayGrid(window.rungrid, *p.airports, airports::WholeNumber(window.tag),
                             p.search.DecimalSeparator);
}

void cmdclose_Click(Program& p) {
    forms::Form2Model& window = p.forms.Form2;
    ResetGrid(window.rungrid);
    if (window.picmap.canvas)
        window.picmap.canvas->Cls();
    if (window.surface.canvas)
        window.surface.canvas->Cls();
    window.foundlist.Clear();
    window.cmdDetails.caption = "Show details";
    window.cmdDetails.visible = false;
    window.visible = false;
    ResumeMainWindow(p);
}

void OpenAirportFromMap(Program& p, int airportNumber) {
    if (airportNumber < 1 || airportNumber > airports::LastAirportNumber(*p.airports))
        return;
    forms::Form2Model& window = p.forms.Form2;
    window.left = 0;
    window.top = 450.0 / p.host.TwipsPerPixelY();
    p.forms.Form1.visible = false;
    ShowAirportMap(p, airportNumber);
}

}  // namespace corvane::startup
