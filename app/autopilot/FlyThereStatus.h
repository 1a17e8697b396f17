// SPDX-License-Identifier: MIT
//
// The fly-there status display: the second row of the readout window Form4
// (Label5 the destination, Label6 the stage, Label7 the distance) and the two
// menu entries that exist only while a flight runs.
#pragma once

#include <string>

namespace corvane {
struct Program;
}

namespace corvane::autopilot {

// Shows Form4 with its status row under the readouts: Form4 as high as Label1
// plus Label4, Label5 := destination, Label6 := stage.
void ShowFlyThereStatus(Program& p, const std::string& destination, const std::string& stage);

// The end of a flight's display: hides mnuFlythereOff and mnuFlyHeight, gives
// the simulator its crash setting back, and shrinks Form4 to its readout row
// (hides it when the readouts are off).
void EndFlyThereDisplay(Program& p);

}  // namespace corvane::autopilot
