// SPDX-License-Identifier: MIT
//
// The airport window Form2: choosing a search result or a landing direction,
// the runway details, closing; and opening an airport from the map.
#include "app/airports/AirportWindow.h"

#include <charconv>

#include "app/airports/AirportCommands.h"
#include "app/airports/AirportSearch.h"
#include "app/airports/RunwayDetails.h"
#include "app/autopilot/FlyThereCommands.h"
#include "app/map/AirportPlan.h"
#include "app/startup/Program.h"

namespace corvane::airports {

namespace {

int LastAirport(const Program& p) {
    return std::min<int>(p.airports.AirportCount, static_cast<int>(p.airports.Airports.size()) - 1);
}

// A whole number written as text (the window's tag); 0 when it is none.
int WholeNumber(const std::string& text) {
    const std::string trimmed = TrimBlanks(text);
    int value = 0;
    std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    return value;
}

void ResetGrid(forms::Grid& grid) {
    grid.visible = false;
    grid.Clear();
    grid.SetRows(2);
}

// The airport of a search result line: the line's own airport when its item
// data names one whose name the line shows, else the first airport of that
// name; AirportCount + 1 (the empty record) when no airport has it.
int AirportOfResultLine(const Program& p, const std::string& line, std::int32_t itemData) {
    const std::string name = TrimBlanks(std::string_view(line).substr(0, line.find('{')));
    const auto& airports = p.airports.Airports;
    if (itemData >= 1 && itemData <= LastAirport(p) &&
        TrimBlanks(airports[std::size_t(itemData)].name) == name) {
        return itemData;
    }
    for (int i = 1; i <= LastAirport(p); ++i) {
        if (TrimBlanks(airports[std::size_t(i)].name) == name)
            return i;
    }
    return p.airports.AirportCount + 1;
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
    map::showmapall(p, airportNumber);
}

void ResumeMainWindow(Program& p) {
    p.plane.paused(static_cast<std::uint8_t>(p.SavedPauseState & 0xFF));
    p.forms.Form1.visible = true;
    if (p.Form1Timer1)
        p.Form1Timer1->SetEnabled(true);
    if (p.Form1Timer3)
        p.Form1Timer3->SetEnabled(true);
    if (p.SimulatorWindowHandle != 0) {
        p.host.SetFocus(p.SimulatorWindowHandle);
        p.host.UpdateWindow(p.SimulatorWindowHandle);
    }
}

void foundlist_Click(Program& p, int index) {
    forms::ListBox& list = p.forms.Form2.foundlist;
    if (index < 0 || index >= static_cast<int>(list.items.size()))
        return;
    const std::int32_t itemData =
        index < static_cast<int>(list.itemData.size()) ? list.itemData[std::size_t(index)] : 0;
    if (list.tag == "airports") {
        ShowAirportMap(p, AirportOfResultLine(p, list.items[std::size_t(index)], itemData));
    } else {
        // A landing direction: the flight's start closes this window itself.
        autopilot::StartFlight(p, itemData);
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
    FillRunwayGrid(window.rungrid, p.airports, WholeNumber(window.tag), p.search.DecimalSeparator);
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
    if (airportNumber < 1 || airportNumber > LastAirport(p))
        return;
    forms::Form2Model& window = p.forms.Form2;
    window.left = 0;
    window.top = 450.0 / p.host.TwipsPerPixelY();
    p.forms.Form1.visible = false;
    ShowAirportMap(p, airportNumber);
}

}  // namespace corvane::airports
