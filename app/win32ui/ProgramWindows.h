// SPDX-License-Identifier: MIT
//
// The program's windows on Windows: a window for every form model (the map
// window Form1 with its picture, knob and throttle; the airport window Form2;
// the search window Form3; the readout window Form4; the start-up picture
// Form6), with canvases on memory bitmaps for the picture boxes. The windows
// show the models, hand the user's actions to the program's handlers, and
// catch up with the models after every handler, every timer tick and while
// events are let run. The pop-up menu is built from the menu model when the
// program asks for it (TrackPopupMenu); a menu command sent to the main
// window as WM_COMMAND runs as if chosen there.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/startup/WindowTable.h"
#include "app/win32ui/Views.h"

namespace corvane {
struct Program;
}
namespace corvane::win32 {
class Win32Host;
}

namespace corvane::win32ui {

// The numbers of the window table's controls: the child windows' ids.
enum ControlId : int {
    kPicture1Id = 101,
    kImage1Id,
    kVScroll1Id,
    kFoundlistId = 201,
    kPicmapId,
    kRungridId,
    kCmdDetailsId,
    kCmdflymeId,
    kCmdcloseId,
    kSurfaceId,
    kLabel1Id = 301,
    kTxtAirportId,
    kCmdOKId,
    kReadoutId = 401,  // Label1 to Label7 of Form4: 401 to 407
    kSplashId = 601,
    kStatusId,
};

class ProgramWindows {
  public:
    ProgramWindows(Program& p, win32::Win32Host& host);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    void Sync();
    // Runs a handler of the program for a user action, then catches up (and
    // shows the pop-up menu when the handler asked for it).
    void Run(const std::function<void()>& handler);

    HWND Form1Window() const { return forms_.front().window->Handle(); }

  private:
    struct Shown {
        const startup::FormEntry* entry = nullptr;
        std::unique_ptr<FormView> window;
        std::vector<HWND> windows;                 // one for each of the entry's controls
        std::vector<std::unique_ptr<View>> views;  // the controls drawn by views of their own
    };

    void Build(const startup::FormEntry& entry);
    HWND Make(Shown& form, const startup::ControlEntry& control);
    // Hands a user event to the control's handler.
    void Report(const Shown& form, const startup::ControlEntry& control, startup::UserEvent event,
                startup::UserInput in);
    // A scroll request of the scroll bar, as the value it moves the bar to.
    void Scroll(const Shown& form, const startup::ControlEntry& control, HWND bar, int request,
                int thumb);
    void SyncForm(Shown& form);
    HWND WindowNamed(const Shown& form, const char* name) const;
    void ShowPopupMenu();
    void MenuCommand(int id);
    void HideAll();

    Program& p_;
    win32::Win32Host& host_;
    forms::Scale scale_;
    std::vector<Shown> forms_;
    bool menuOpen_ = false;
    bool syncing_ = false;
};

}  // namespace corvane::win32ui
