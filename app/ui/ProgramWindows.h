// SPDX-License-Identifier: MIT
//
// The program's windows on screen: a widget for every form and control of the
// program's window table (the map window Form1 with its picture, knob and
// throttle; the airport window Form2; the search window Form3; the readout
// window Form4; the start-up picture Form6). The widgets show the models, hand
// the user's actions to the table's handlers, and catch up with the models
// after every handler, every timer tick and while events are let run. The
// pop-up menu is shown when the program asks for it, built from the menu model.
#pragma once

#include <QMenu>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/startup/WindowTable.h"
#include "app/ui/ControlSync.h"
#include "app/ui/FormWindow.h"
#include "app/ui/PictureView.h"

namespace corvane {
struct Program;
}
namespace corvane::qtui {
class QtHost;
}

namespace corvane::ui {

class ProgramWindows {
  public:
    // Makes the canvases of the program's picture boxes and the widgets of all
    // forms, and gives the models the widgets' window ids.
    ProgramWindows(Program& p, qtui::QtHost& host);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The widgets catch up with the models.
    void Sync();
    // Runs a handler of the program for a user action, then catches up (and
    // shows the pop-up menu when the handler asked for it).
    void Run(const std::function<void()>& handler);

    FormWindow& Form1Window() { return *Window("Form1").window; }
    FormWindow& Form2Window() { return *Window("Form2").window; }
    FormWindow& Form3Window() { return *Window("Form3").window; }
    FormWindow& Form4Window() { return *Window("Form4").window; }
    FormWindow& Form6Window() { return *Window("Form6").window; }
    PictureView& MapView();
    // The pop-up menu while it is open, else null.
    QMenu* OpenMenu() const { return openMenu_.data(); }

  private:
    struct Shown {
        const startup::FormEntry* entry = nullptr;
        std::unique_ptr<FormWindow> window;
        std::vector<QWidget*> widgets;  // one for each of the entry's controls
    };

    void Build(const startup::FormEntry& entry);
    QWidget* Make(Shown& form, const startup::ControlEntry& control);
    void Bind(Shown& form, const startup::ControlEntry& control, QWidget* widget);
    // Hands a user event to the control's handler.
    void Report(const Shown& form, const startup::ControlEntry& control, startup::UserEvent event,
                startup::UserInput in);
    void SyncForm(Shown& form);
    void SyncWidget(const startup::ControlEntry& control, QWidget* widget, const Shown& form);
    // The airport's text block is written on the surface from its left edge; a
    // list shown over it would leave the first letters of each line showing at
    // its left, cut. The surface is not painted beside and under the list.
    void MaskSurfaceUnderList(Shown& form);
    QWidget* WidgetNamed(const Shown& form, const char* name) const;
    Shown& Window(const char* name);
    void ShowPopupMenu();
    void HideAll();

    Program& p_;
    qtui::QtHost& host_;
    Scale scale_;
    std::vector<Shown> forms_;
    QPointer<QMenu> openMenu_;
    bool listRowJustChanged_ = false;
    bool syncing_ = false;
};

}  // namespace corvane::ui
