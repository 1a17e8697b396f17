// SPDX-License-Identifier: MIT
#include "tools/harness/ProgramScript.h"

#include "app/forms/Mouse.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"

namespace corvane::harness {

namespace {
constexpr double kMenuDelayS = 0.25;
}

void ProgramScript::MouseDown(double time, int button, float x, float y) {
    host_.At(time, "mouse down on the map",
             [this, button, x, y] { startup::Picture1_MouseDown(p_, button, 0, x, y); });
}

void ProgramScript::MouseMove(double time, int button, float x, float y) {
    host_.At(time, "mouse move on the map",
             [this, button, x, y] { startup::Picture1_MouseMove(p_, button, 0, x, y); });
}

void ProgramScript::MouseUp(double time, int button, float x, float y) {
    host_.At(time, "mouse up on the map",
             [this, button, x, y] { startup::Picture1_MouseUp(p_, button, 0, x, y); });
}

void ProgramScript::Click(double time, int button, float x, float y) {
    MouseDown(time, button, x, y);
    MouseUp(time, button, x, y);
}

void ProgramScript::MenuChoice(double time, const std::string& itemName) {
    const forms::Picture& map = p_.forms.Form1.Picture1;
    Click(time, forms::kRightButton, float(map.width / 2), float(map.height / 2));
    host_.At(time + kMenuDelayS, "menu: " + itemName, [this, itemName] {
        if (!p_.forms.Form1.menu.popupRequested)
            return;  // the menu did not open
        startup::MenuClick(p_, itemName);
    });
}

void ProgramScript::ListClick(double time, int index) {
    host_.At(time, "list line " + std::to_string(index), [this, index] {
        forms::ListBox& list = p_.forms.Form2.foundlist;
        if (!p_.forms.Form2.visible || index < 0 || index >= int(list.items.size()))
            return;
        list.listIndex = index;
        startup::foundlist_Click(p_, index);
    });
}

void ProgramScript::TypeText(double time, const std::string& text, bool enter) {
    host_.At(time, "typed: " + text, [this, text, enter] {
        if (!p_.forms.Form3.visible)
            return;
        p_.forms.Form3.TxtAirport.text = text;
        if (enter)
            startup::cmdOK_Click(p_);
    });
}

void ProgramScript::ButtonClick(double time, const std::string& buttonName) {
    host_.At(time, "button " + buttonName, [this, buttonName] {
        if (buttonName == "cmdOK" && p_.forms.Form3.visible) {
            startup::cmdOK_Click(p_);
        } else if (p_.forms.Form2.visible) {
            if (buttonName == "cmdDetails")
                startup::cmdDetails_Click(p_);
            if (buttonName == "cmdflyme")
                startup::cmdflyme_Click(p_);
            if (buttonName == "cmdclose")
                startup::cmdclose_Click(p_);
        }
    });
}

}  // namespace corvane::harness
