// SPDX-License-Identifier: MIT
#include "app/startup/WindowTable.h"

#include <cstring>

#include "app/forms/ViewLayout.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/ControlsHandlers.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/MainCycle.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"

namespace corvane::startup {
namespace {

using E = UserEvent;
using K = ControlKind;
using In = const UserInput&;

forms::Label AsShown(const forms::Control& control) {
    forms::Label label;
    static_cast<forms::Control&>(label) = control;
    return label;
}

// The search runs on the text as the text box holds it.
void Search(Program& p, In in) {
    p.forms.Form3.TxtAirport.text = in.text;
    cmdOK_Click(p);
}

std::vector<ControlEntry> Form1Controls() {
    return {
        {"Picture1",
         K::Picture,
         101,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form1.Picture1; },
         Stacking::Normal,
         Pointer::Form,
         nullptr,
         nullptr,
         {{E::MouseDown,
           [](Program& p, In in) { Picture1_MouseDown(p, in.button, in.shift, in.x, in.y); }},
          {E::MouseMove,
           [](Program& p, In in) { Picture1_MouseMove(p, in.button, in.shift, in.x, in.y); }},
          {E::MouseUp,
           [](Program& p, In in) { Picture1_MouseUp(p, in.button, in.shift, in.x, in.y); }}}},
        {"Image1",
         K::Knob,
         102,
         false,
         [](forms::Forms& f) -> forms::Control& { return f.Form1.Image1; },
         Stacking::Top,
         Pointer::Own,
         nullptr,
         nullptr,
         {{E::MouseDown,
           [](Program& p, In in) { Image1_MouseDown(p, in.button, in.shift, in.x, in.y); }},
          {E::MouseMove,
           [](Program& p, In in) { Image1_MouseMove(p, in.button, in.shift, in.x, in.y); }},
          {E::MouseUp,
           [](Program& p, In in) { Image1_MouseUp(p, in.button, in.shift, in.x, in.y); }}}},
        {"VScroll1",
         K::ScrollBar,
         103,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form1.VScroll1; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {{E::ValueChanged,
           [](Program& p, In in) {
               p.forms.Form1.VScroll1.value = in.value;
               VScroll1_Change(p);
           }}}},
    };
}

std::vector<ControlEntry> Form2Controls() {
    return {
        {"surface",
         K::Picture,
         207,
         false,
         [](forms::Forms& f) -> forms::Control& { return f.Form2.surface; },
         Stacking::Bottom,
         Pointer::Default,
         [](const forms::Forms& f) { return AsShown(forms::Form2Surface(f.Form2)); },
         nullptr,
         {}},
        {"foundlist",
         K::ListBox,
         201,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form2.foundlist; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {{E::LineChosen,
           [](Program& p, In in) {
               p.forms.Form2.foundlist.listIndex = in.value;
               foundlist_Click(p, in.value);
           }}}},
        {"picmap",
         K::Picture,
         202,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form2.picmap; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {}},
        {"rungrid",
         K::Grid,
         203,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form2.rungrid; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {}},
        {"cmdDetails",
         K::Button,
         204,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form2.cmdDetails; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {{E::Clicked, [](Program& p, In) { cmdDetails_Click(p); }}}},
        {"cmdflyme",
         K::Button,
         205,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form2.cmdflyme; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {{E::Clicked, [](Program& p, In) { cmdflyme_Click(p); }}}},
        {"cmdclose",
         K::Button,
         206,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form2.cmdclose; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {{E::Clicked, [](Program& p, In) { cmdclose_Click(p); }}}},
    };
}

std::vector<ControlEntry> Form3Controls() {
    return {
        {"Label1",
         K::Label,
         301,
         false,
         [](forms::Forms& f) -> forms::Control& { return f.Form3.Label1; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {}},
        {"TxtAirport",
         K::TextBox,
         302,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form3.TxtAirport; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         "TxtAirport",
         {{E::TextEdited, [](Program& p, In in) { p.forms.Form3.TxtAirport.text = in.text; }, true},
          {E::EnterPressed, Search}}},
        {"cmdOK",
         K::Button,
         303,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form3.cmdOK; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         "TxtAirport",
         {{E::Clicked, Search}}},
    };
}

std::vector<ControlEntry> Form4Controls() {
    // Label1 to Label4: the readouts; Label5 to Label7: the fly-there status.
    std::vector<ControlEntry> labels;
    const char* names[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"};
    forms::Control& (*models[])(forms::Forms&) = {
        [](forms::Forms& f) -> forms::Control& { return f.Form4.Label1; },
        [](forms::Forms& f) -> forms::Control& { return f.Form4.Label2; },
        [](forms::Forms& f) -> forms::Control& { return f.Form4.Label3; },
        [](forms::Forms& f) -> forms::Control& { return f.Form4.Label4; },
        [](forms::Forms& f) -> forms::Control& { return f.Form4.Label5; },
        [](forms::Forms& f) -> forms::Control& { return f.Form4.Label6; },
        [](forms::Forms& f) -> forms::Control& { return f.Form4.Label7; },
    };
    for (int i = 0; i < 7; ++i) {
        labels.push_back({names[i],
                          K::Label,
                          401 + i,
                          false,
                          models[i],
                          Stacking::Normal,
                          Pointer::Default,
                          nullptr,
                          nullptr,
                          {}});
    }
    return labels;
}

std::vector<ControlEntry> Form6Controls() {
    return {
        {"Picture1",
         K::Picture,
         601,
         true,
         [](forms::Forms& f) -> forms::Control& { return f.Form6.Picture1; },
         Stacking::Normal,
         Pointer::Default,
         nullptr,
         nullptr,
         {}},
        {"lblStatus",
         K::Label,
         602,
         false,
         [](forms::Forms& f) -> forms::Control& { return f.Form6.lblStatus; },
         Stacking::Top,
         Pointer::Default,
         [](const forms::Forms& f) { return forms::Form6Status(f.Form6); },
         nullptr,
         {}},
    };
}

}  // namespace

const EventBinding* ControlEntry::Binding(UserEvent event) const {
    for (const EventBinding& binding : events) {
        if (binding.event == event)
            return &binding;
    }
    return nullptr;
}

int ControlIndex(const FormEntry& entry, const char* name) {
    for (std::size_t i = 0; i < entry.controls.size(); ++i) {
        if (std::strcmp(entry.controls[i].name, name) == 0)
            return int(i);
    }
    return -1;
}

const std::vector<FormEntry>& WindowTable() {
    static const std::vector<FormEntry> table = {
        {"Form1", FormStyle::Plain, [](forms::Forms& f) -> forms::Form& { return f.Form1; },
         [](Program& p, In) { Form1_Unload(p); }, Form1Controls()},
        {"Form2", FormStyle::Framed, [](forms::Forms& f) -> forms::Form& { return f.Form2; },
         [](Program& p, In) { cmdclose_Click(p); }, Form2Controls()},
        // Closing the search window gives back what opening it took away.
        {"Form3", FormStyle::Framed, [](forms::Forms& f) -> forms::Form& { return f.Form3; },
         [](Program& p, In) { Form3_QueryUnload(p); }, Form3Controls()},
        {"Form4", FormStyle::Plain, [](forms::Forms& f) -> forms::Form& { return f.Form4; },
         nullptr, Form4Controls()},
        {"Form6", FormStyle::Splash, [](forms::Forms& f) -> forms::Form& { return f.Form6; },
         nullptr, Form6Controls()},
    };
    return table;
}

const std::vector<const FormEntry*>& SyncOrder() {
    static const std::vector<const FormEntry*> order = [] {
        const std::vector<FormEntry>& t = WindowTable();
        return std::vector<const FormEntry*>{&t[4], &t[0], &t[1], &t[2], &t[3]};
    }();
    return order;
}

HeldCycles HoldCyclesForMenu(Program& p) {
    HeldCycles held;
    if (p.Form1Timer1) {
        held.mainWasOn = p.Form1Timer1->Enabled();
        p.Form1Timer1->SetEnabled(false);
    }
    if (p.Form1Timer3) {
        held.mapWasOn = p.Form1Timer3->Enabled();
        p.Form1Timer3->SetEnabled(false);
    }
    return held;
}

void ReleaseCycles(Program& p, const HeldCycles& held) {
    if (p.Form1Timer1 && held.mainWasOn)
        p.Form1Timer1->SetEnabled(true);
    if (p.Form1Timer3 && held.mapWasOn)
        p.Form1Timer3->SetEnabled(true);
}

}  // namespace corvane::startup
