// SPDX-License-Identifier: MIT
//
// What the moving map shows outside its picture: the readout window's four
// lines (the aircraft's readouts or the hover label) and the frame line of
// Text1.
#pragma once

#include <string>

#include "app/forms/Forms.h"
#include "app/map/MapReadouts.h"

namespace corvane::presenters {

// Writes the readout window's four lines and shows it, or hides it when the
// lines are not shown (the labels then keep their last texts).
void ShowReadouts(forms::Form4Model& form4, map::ReadoutLines lines);

// Text1 after a frame (see map::FrameText).
void ShowFrameLine(forms::Form1Model& form1, std::string text);

}  // namespace corvane::presenters
