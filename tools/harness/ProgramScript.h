// SPDX-License-Identifier: MIT
//
// Scripted input for the program on the headless host: what a pilot does with
// the mouse and keyboard, as actions at given virtual times that call the same
// handlers the widgets call. Each action is logged by the host under its name.
#pragma once

#include <string>

#include "platform/headless/HeadlessHost.h"

namespace corvane {
struct Program;
}

namespace corvane::harness {

class ProgramScript {
  public:
    ProgramScript(headless::HeadlessHost& host, Program& program) : host_(host), p_(program) {}

    // Mouse events on the map (Picture1), x and y in twips inside it; button 1
    // left, 2 right.
    void MouseDown(double time, int button, float x, float y);
    void MouseMove(double time, int button, float x, float y);
    void MouseUp(double time, int button, float x, float y);
    // A click: press and release at once.
    void Click(double time, int button, float x, float y);
    // A right click in the middle of the map, then the menu item (by its name)
    // a quarter of a second later.
    void MenuChoice(double time, const std::string& itemName);
    // A click on a line of the airport window's list (from 0).
    void ListClick(double time, int index);
    // Text typed into the search window's text box; with enter, Enter runs
    // the search.
    void TypeText(double time, const std::string& text, bool enter);
    // A click on a button of the airport or search window: cmdOK, cmdDetails,
    // cmdflyme or cmdclose (its close box too).
    void ButtonClick(double time, const std::string& buttonName);

  private:
    headless::HeadlessHost& host_;
    Program& p_;
};

}  // namespace corvane::harness
