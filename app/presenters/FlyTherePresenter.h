// SPDX-License-Identifier: MIT
//
// The fly-there status as the pilot sees it: the second row of the readout
// window Form4 (Label5 the destination, Label6 the stage, Label7 the
// distance) and the two menu entries that exist only while a flight runs.
// The autopilot's steps report what to show; this writes it into the forms.
#pragma once

#include <string>

#include "app/autopilot/FlyThereStep.h"
#include "app/forms/Forms.h"

namespace corvane::presenters {

// The status shown, as the steps last reported it.
struct FlyThereStatus {
    std::string destination;
    std::string stage;
    std::string distance;
};

// A flight starts: Form4 shows its status row under the readouts (Form4 as
// high as Label1 plus Label4), the destination and the stage, and the menu
// offers the stop command and the cruise heights.
void ShowFlightStart(forms::Form4Model& form4, forms::MainMenu& menu, FlyThereStatus& status,
                     const std::string& destination, const std::string& stage);

// A step's report: its stage and distance texts; at the end of the flight's
// display the two menu entries go and Form4 shrinks to its readout row (or
// hides when the readouts are off). The alert is the caller's to show.
void ShowFlyThereReport(forms::Form4Model& form4, forms::MainMenu& menu, bool readoutsShown,
                        FlyThereStatus& status, const autopilot::FlyThereReport& report);

}  // namespace corvane::presenters
