// SPDX-License-Identifier: MIT
//
// The program's windows as data: every form, the controls the windows show on
// it, and the handler each user event of a control runs. The Qt windows and
// the Win32 windows both walk this table to make their widgets, hand the
// user's actions to the handlers and catch up with the models; each shell
// only says how its widgets look and report.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/forms/Forms.h"
#include "app/forms/ViewLayout.h"

namespace corvane {
struct Program;
}

namespace corvane::startup {

enum class FormStyle {
    Plain,   // no frame, no caption (the map, the readouts)
    Framed,  // caption and close box (the airport and search windows)
    Splash,  // no frame, above the other windows (the start-up picture)
};

enum class ControlKind { Picture, Knob, ScrollBar, ListBox, Grid, Button, Label, TextBox };

enum class UserEvent {
    MouseDown,     // a mouse button pressed (Picture, Knob)
    MouseMove,     // the mouse moved (Picture, Knob)
    MouseUp,       // a mouse button let go (Picture, Knob)
    ValueChanged,  // the scroll bar moved by the user to UserInput::value
    LineChosen,    // a line of the list chosen, or chosen again: UserInput::value
    Clicked,       // a button clicked
    TextEdited,    // the text box's text changed by the user: UserInput::text
    EnterPressed,  // Enter in the text box
};

// Where a control lies among its form's controls.
enum class Stacking { Normal, Top, Bottom };
// Whose mouse pointer a control shows.
enum class Pointer { Default, Form, Own };

// What a user event brings.
struct UserInput {
    int button = 0;  // 1 left, 2 right, 4 middle
    int shift = 0;   // 1 Shift, 2 Ctrl, 4 Alt
    float x = 0;     // twips inside the control
    float y = 0;
    int value = 0;
    std::string text;
};

using EventHandler = void (*)(Program& p, const UserInput& in);

// Hooks the three mouse events of a view of a Picture or a Knob (its
// onMouseDown, onMouseMove and onMouseUp, called with the button, the shift
// keys and the position in twips) to report(event, input).
template <typename View, typename Report>
void HookMouse(View& view, const Report& report) {
    auto hook = [&report](UserEvent event) {
        return [report, event](int button, int shift, float x, float y) {
            UserInput in;
            in.button = button;
            in.shift = shift;
            in.x = x;
            in.y = y;
            report(event, std::move(in));
        };
    };
    view.onMouseDown = hook(UserEvent::MouseDown);
    view.onMouseMove = hook(UserEvent::MouseMove);
    view.onMouseUp = hook(UserEvent::MouseUp);
}

struct EventBinding {
    UserEvent event;
    EventHandler handler;
    // Handed on without the windows catching up after it (the text box's edits,
    // which only keep its model's text).
    bool quiet = false;
};

struct ControlEntry {
    const char* name;
    ControlKind kind;
    int number;  // unique among the program's controls (the Win32 child window's id)
    // The control has a window the model learns (its windowHandle) and the form
    // finds by name (for the model's focus requests).
    bool ownWindow;
    // The control's model, of the type its kind names (forms::Picture for a
    // Picture, forms::Image for a Knob, ...).
    forms::Control& (*model)(forms::Forms& forms);
    Stacking stacking = Stacking::Normal;
    Pointer pointer = Pointer::Default;
    // What the control shows, where it is not its model as it stands (the
    // airport window's surface, the status line over the start-up picture).
    forms::Label (*shown)(const forms::Forms& forms) = nullptr;
    // The events carry the text of this text box of the form.
    const char* textFrom = nullptr;
    std::vector<EventBinding> events;

    const EventBinding* Binding(UserEvent event) const;
};

struct FormEntry {
    const char* name;
    FormStyle style;
    forms::Form& (*model)(forms::Forms& forms);
    EventHandler onClose;  // the close box; nullptr where it has none
    std::vector<ControlEntry> controls;
};

// Hands a control's event to the handler bound to it (nothing where none
// is): with the text of the control's textFrom box, as readText(name) reads it
// off the shell's widget, in the input; through run(handler), which lets the
// windows catch up after it, unless the binding is quiet.
template <typename ReadText, typename RunHandler>
void Dispatch(Program& p, const ControlEntry& control, UserEvent event, UserInput in,
              const ReadText& readText, const RunHandler& run) {
    const EventBinding* binding = control.Binding(event);
    if (!binding)
        return;
    if (control.textFrom) {
        if (std::optional<std::string> text = readText(control.textFrom))
            in.text = std::move(*text);
    }
    if (binding->quiet) {
        binding->handler(p, in);
        return;
    }
    run([&] { binding->handler(p, in); });
}

// The program's windows in the order they are made: Form1 (the map), Form2
// (the airport window), Form3 (the search), Form4 (the readouts), Form6 (the
// start-up picture).
const std::vector<FormEntry>& WindowTable();

// The index of the entry's control of that name, or -1. A shell keeps one
// widget for each control, in the entry's order: this finds the control's.
int ControlIndex(const FormEntry& entry, const char* name);

// What both shells do when they make their windows: the canvases of the
// picture boxes, of the shell's own canvas type; a window for every form of
// the table, in its order, built by build(entry) into `shown` (reserved first,
// because the handlers keep their form); then the host's hooks, sync to catch
// up after every handler and hideAll for when the program ends.
// ClearShellHooks takes the hooks off again when the windows go.
template <typename CanvasType, typename Host, typename Shown, typename Build, typename Sync,
          typename HideAll>
void OpenShellWindows(forms::Forms& forms, Host& host, forms::Scale scale,
                      std::vector<Shown>& shown, const Build& build, Sync sync, HideAll hideAll) {
    forms::MakeCanvases(forms, scale, [scale](int width, int height) {
        return std::make_unique<CanvasType>(width, height, scale.x, scale.y);
    });
    shown.reserve(WindowTable().size());
    for (const FormEntry& entry : WindowTable())
        build(entry);
    host.SetSyncHook(std::move(sync));
    host.SetEndHook(std::move(hideAll));
}

template <typename Host>
void ClearShellHooks(Host& host) {
    host.SetSyncHook({});
    host.SetEndHook({});
}

// The order in which the windows catch up with their models: the start-up
// picture first, then Form1 to Form4.
const std::vector<const FormEntry*>& SyncOrder();

// While the pop-up menu is open the map and main cycles wait, so that the
// simulator stays paused until a command is chosen or the menu closes.
struct HeldCycles {
    bool mainWasOn = false;
    bool mapWasOn = false;
};
HeldCycles HoldCyclesForMenu(Program& p);
void ReleaseCycles(Program& p, const HeldCycles& held);

}  // namespace corvane::startup
