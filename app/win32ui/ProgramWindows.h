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

#include "app/win32ui/Views.h"

namespace corvane {
struct Program;
}
namespace corvane::win32 {
class Win32Host;
}

namespace corvane::win32ui {

// Control ids of the windows' children.
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

    HWND Form1Window() const { return form1_->Handle(); }

  private:
    void MakeCanvases();
    void BuildForm1();
    void BuildForm2();
    void BuildForm3();
    void BuildForm4();
    void BuildForm6();
    void ShowPopupMenu();
    void MenuCommand(int id);
    void Throttle(int request, int thumb);
    void HideAll();

    Program& p_;
    win32::Win32Host& host_;
    forms::Scale scale_;
    std::unique_ptr<FormView> form1_, form2_, form3_, form4_, form6_;
    std::unique_ptr<PictureView> picture1_, picmap_, surface_, splash_;
    std::unique_ptr<KnobView> image1_;
    std::unique_ptr<GridView> rungrid_;
    HWND vscroll1_ = nullptr;
    HWND foundlist_ = nullptr;
    HWND cmdDetails_ = nullptr, cmdflyme_ = nullptr, cmdclose_ = nullptr;
    HWND searchLabel_ = nullptr, txtAirport_ = nullptr, cmdOK_ = nullptr;
    HWND readouts_[7] = {};
    HWND splashStatus_ = nullptr;
    bool menuOpen_ = false;
    bool syncing_ = false;
};

}  // namespace corvane::win32ui
