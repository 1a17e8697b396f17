// SPDX-License-Identifier: MIT
//
// The table both shells walk: each entry reaches the model it names, the
// child window ids are unique, each control's events are those its kind can
// report, and the bindings reach the handlers with what the events bring.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "app/startup/WindowTable.h"
#include "tests/startup/ProgramFixture.h"

namespace corvane::testing {
namespace {

using startup::ControlEntry;
using startup::ControlKind;
using startup::FormEntry;
using startup::UserEvent;

bool KindReports(ControlKind kind, UserEvent event) {
    switch (kind) {
        case ControlKind::Picture:
        case ControlKind::Knob:
            return event == UserEvent::MouseDown || event == UserEvent::MouseMove ||
                   event == UserEvent::MouseUp;
        case ControlKind::ScrollBar:
            return event == UserEvent::ValueChanged;
        case ControlKind::ListBox:
            return event == UserEvent::LineChosen;
        case ControlKind::Button:
            return event == UserEvent::Clicked;
        case ControlKind::TextBox:
            return event == UserEvent::TextEdited || event == UserEvent::EnterPressed;
        case ControlKind::Grid:
        case ControlKind::Label:
            return false;
    }
    return false;
}

const ControlEntry* Find(const FormEntry& form, const std::string& name) {
    for (const ControlEntry& control : form.controls) {
        if (name == control.name)
            return &control;
    }
    return nullptr;
}

const FormEntry& FormNamed(const std::string& name) {
    for (const FormEntry& form : startup::WindowTable()) {
        if (name == form.name)
            return form;
    }
    throw std::runtime_error("no form " + name + " in the window table");
}

TEST(WindowTable, EveryEntryReachesTheModelItNamesWithEventsItsKindReports) {
    forms::Forms models;
    std::set<int> numbers;
    std::set<const forms::Control*> reached;
    for (const FormEntry& form : startup::WindowTable()) {
        SCOPED_TRACE(form.name);
        EXPECT_EQ(form.model(models).name, form.name);
        for (const ControlEntry& control : form.controls) {
            SCOPED_TRACE(control.name);
            const forms::Control& model = control.model(models);
            EXPECT_EQ(model.name, control.name);
            EXPECT_TRUE(reached.insert(&model).second) << "two entries share one model";
            EXPECT_TRUE(numbers.insert(control.number).second) << "id " << control.number;
            std::set<UserEvent> events;
            for (const startup::EventBinding& binding : control.events) {
                EXPECT_TRUE(KindReports(control.kind, binding.event));
                EXPECT_NE(binding.handler, nullptr);
                EXPECT_TRUE(events.insert(binding.event).second) << "an event bound twice";
            }
            if (control.textFrom) {
                const ControlEntry* box = Find(form, control.textFrom);
                ASSERT_NE(box, nullptr) << control.textFrom;
                EXPECT_EQ(box->kind, ControlKind::TextBox);
            }
        }
    }
}

TEST(WindowTable, EveryFormCatchesUpOnceTheStartUpPictureFirst) {
    const auto& order = startup::SyncOrder();
    ASSERT_EQ(order.size(), startup::WindowTable().size());
    EXPECT_STREQ(order.front()->name, "Form6");
    std::set<const FormEntry*> seen(order.begin(), order.end());
    EXPECT_EQ(seen.size(), order.size());
    for (const FormEntry& form : startup::WindowTable())
        EXPECT_EQ(seen.count(&form), 1u) << form.name;
}

// The bindings hand the handlers what the shells read off their widgets.
TEST_F(ProgramTest, TableBindingsCarryTheEventsInputsToTheHandlers) {
    SimulatorRuns();
    Load();
    ASSERT_TRUE(Running());

    const FormEntry& form3 = FormNamed("Form3");
    const ControlEntry* box = Find(form3, "TxtAirport");
    const ControlEntry* ok = Find(form3, "cmdOK");
    ASSERT_TRUE(box && ok);
    startup::UserInput typed;
    typed.text = "gatwi";
    box->Binding(UserEvent::TextEdited)->handler(p, typed);
    EXPECT_EQ(p.forms.Form3.TxtAirport.text, "gatwi");

    // The search runs on the text the event carries, as the box holds it now.
    typed.text = "gatwick";
    ok->Binding(UserEvent::Clicked)->handler(p, typed);
    EXPECT_EQ(p.forms.Form3.TxtAirport.text, "gatwick");
    EXPECT_EQ(p.search.SearchText, "gatwick");
    EXPECT_TRUE(p.forms.Form2.visible);
    EXPECT_EQ(p.forms.Form2.foundlist.tag, "airports");

    const ControlEntry* bar = Find(FormNamed("Form1"), "VScroll1");
    ASSERT_NE(bar, nullptr);
    startup::UserInput moved;
    moved.value = p.forms.Form1.VScroll1.min;
    bar->Binding(UserEvent::ValueChanged)->handler(p, moved);
    EXPECT_EQ(p.forms.Form1.VScroll1.value, moved.value);
}

}  // namespace
}  // namespace corvane::testing
