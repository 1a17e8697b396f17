// SPDX-License-Identifier: MIT
//
// The pilot of a harness flight: the clicks a user makes to choose the
// airport, the runway and the cruise height, and to start the flight, each
// at its time on the host's clock.
#include "tools/harness/FlightRun.h"

namespace corvane::harness {

namespace units = sim::units;

void FlightRun::RightClickOnMap() {
    const forms::Picture& map = p_.forms.Form1.Picture1;
    const float x = static_cast<float>(map.width / 2);
    const float y = static_cast<float>(map.height / 2);
    startup::Picture1_MouseDown(p_, forms::kRightButton, 0, x, y);
    startup::Picture1_MouseUp(p_, forms::kRightButton, 0, x, y);
}

void FlightRun::SchedulePilot(double t0) {
    double t = t0 + kFirstClickAfterStartS;
    host_.At(t, "right click on the map", [this] { RightClickOnMap(); });
    t += kClickGapS / 2;
    host_.At(t, "Show selected map", [this] {
        if (!startup::MenuClick(p_, "mnushowplace"))
            return Fail("the pop-up menu has no \"mnushowplace\" entry");
        if (!p_.forms.Form3.visible)
            Fail("\"Show selected map\" did not open the search window");
    });
    t += kClickGapS;
    host_.At(t, "search typed, OK", [this] {
        p_.forms.Form3.TxtAirport.text = sc_.searchText;
        startup::cmdOK_Click(p_);
        // A single match shows its airport at once, without a list.
        const forms::ListBox& list = p_.forms.Form2.foundlist;
        const bool listed = list.tag == "airports" && !list.items.empty();
        if (!p_.forms.Form2.visible || (!listed && p_.search.SelectedAirport == 0))
            Fail("the search \"" + sc_.searchText + "\" listed no airports");
    });
    t += kClickGapS;
    host_.At(t, "airport line", [this] { ChooseAirport(); });
    t += kClickGapS;
    host_.At(t, "Fly there", [this] {
        startup::cmdflyme_Click(p_);
        if (p_.forms.Form2.foundlist.tag != "runways")
            Fail("\"Fly there\" did not list the landing directions");
    });
    t += kClickGapS;
    host_.At(t, "landing direction line", [this] { ChooseRunway(); });
}

void FlightRun::ChooseAirport() {
    if (!failure_.empty())
        return;
    const std::vector<std::string>& lines = p_.forms.Form2.foundlist.items;
    if (lines.empty()) {
        // The search found one airport and shows it already.
        if (p_.search.SelectedAirport != dest_.airport)
            Fail("the search showed airport " + std::to_string(p_.search.SelectedAirport) +
                 " instead of " + dest_.airportLine);
        return;
    }
    int line = 0;
    if (sc_.airportLine.index || !sc_.airportLine.text.empty()) {
        std::string why;
        line = ChooseAirportLine(lines, sc_.airportLine, &why);
        if (line < 0)
            return Fail("the program's airport list: " + why);
    }
    if (lines[std::size_t(line)] != dest_.airportLine)
        return Fail("the program lists \"" + lines[std::size_t(line)] +
                    "\" where the database has \"" + dest_.airportLine + "\"");
    startup::foundlist_Click(p_, line);
    if (p_.search.SelectedAirport != dest_.airport)
        Fail("the airport line did not select " + dest_.airportLine);
}

void FlightRun::ChooseRunway() {
    if (!failure_.empty())
        return;
    const forms::ListBox& list = p_.forms.Form2.foundlist;
    std::string why;
    const int line = ChooseRunwayLine(list.items, sc_.runwayLine, &why);
    if (line < 0)
        return Fail("the program's runway list: " + why);
    if (list.itemData[std::size_t(line)] != dest_.runwayChoice)
        return Fail("the program's line \"" + list.items[std::size_t(line)] + "\" names runway " +
                    std::to_string(list.itemData[std::size_t(line)]) + ", the database " +
                    std::to_string(dest_.runwayChoice));
    r_.runwayLine = list.items[std::size_t(line)];

    // The flight starts with this click: measuring starts here.
    recorder_->BeginFlight(runway_);
    flightStartSimS_ = SimNow();
    flightStartVirtual_ = host_.Now();
    const sim::AircraftState& s = sim_->Backend().State();
    const RunwayPoint at = runway_.Locate(s.latitudeDeg, s.longitudeDeg);
    r_.startDistanceNm =
        std::hypot(at.alongFt * units::kMetresPerFoot, at.crossM) / units::kMetresPerNm;
    Watch();

    startup::foundlist_Click(p_, line);
    if (host_.Ended())
        return;
    if (options_.flightGear) {
        // The pilot paused FlightGear before setting up (it starts untrimmed)
        // and lets it go now; the program keeps the pause it found.
        flightGearBackend_->Variables().SetU16(sim::offsets::kPause, 0);
        r_.stages.push_back({FlightTime(), "FlightGear let go by the pilot"});
    }
    if (p_.plan.RouteStage < 1 && p_.plan.LandingStage < 1)
        return Fail("choosing the landing direction did not start the flight");
    if (!sc_.cruiseEntry.empty()) {
        host_.After(kClickGapS, "right click on the map", [this] { RightClickOnMap(); });
        host_.After(kClickGapS * 1.5, "cruise height", [this] { ChooseCruiseHeight(); });
    }
}

void FlightRun::ChooseCruiseHeight() {
    if (!startup::MenuClick(p_, sc_.cruiseEntry))
        return Fail("the pop-up menu has no entry \"" + sc_.cruiseEntry + "\"");
    const forms::MainMenu& m = p_.forms.Form1.menu;
    for (const forms::MenuItem* item :
         {&m.mnuAbs3000, &m.mnuAbs6000, &m.mnuAbs15000, &m.mnuAbs30000, &m.mnuground2000,
          &m.mnuground4000, &m.mnuground8000, &m.mnuground16000}) {
        if (item->name == sc_.cruiseEntry && item->checked)
            return;
    }
    Fail("\"" + sc_.cruiseEntry + "\" is not a cruise height the menu checks");
}

}  // namespace corvane::harness
