// SPDX-License-Identifier: MIT
//
// The program's windows on screen: a widget for every form model (the map
// window Form1 with its picture, knob and throttle; the airport window Form2;
// the search window Form3; the readout window Form4; the start-up picture
// Form6). The widgets show the models, hand the user's actions to the program's
// handlers, and catch up with the models after every handler, every timer tick
// and while events are let run. The pop-up menu is shown when the program asks
// for it, built from the menu model.
#pragma once

#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/ui/ControlSync.h"
#include "app/ui/FormWindow.h"
#include "app/ui/KnobView.h"
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

    FormWindow& Form1Window() { return *form1_; }
    FormWindow& Form2Window() { return *form2_; }
    FormWindow& Form3Window() { return *form3_; }
    FormWindow& Form4Window() { return *form4_; }
    FormWindow& Form6Window() { return *form6_; }
    PictureView& MapView() { return *picture1_; }
    // The pop-up menu while it is open, else null.
    QMenu* OpenMenu() const { return openMenu_.data(); }

  private:
    void MakeCanvases();
    void BuildForm1();
    void BuildForm2();
    void BuildForm3();
    void BuildForm4();
    void BuildForm6();
    void SyncForm1();
    void SyncForm2();
    void SyncForm3();
    void SyncForm4();
    void SyncForm6();
    void ShowPopupMenu();
    void HideAll();

    Program& p_;
    qtui::QtHost& host_;
    Scale scale_;
    std::unique_ptr<FormWindow> form1_, form2_, form3_, form4_, form6_;
    PictureView* picture1_ = nullptr;
    KnobView* image1_ = nullptr;
    QScrollBar* vscroll1_ = nullptr;
    QListWidget* foundlist_ = nullptr;
    PictureView* picmap_ = nullptr;
    PictureView* surface_ = nullptr;
    QTableWidget* rungrid_ = nullptr;
    QPushButton* cmdDetails_ = nullptr;
    QPushButton* cmdflyme_ = nullptr;
    QPushButton* cmdclose_ = nullptr;
    QLabel* searchLabel_ = nullptr;
    QLineEdit* txtAirport_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QLabel* readouts_[7] = {};
    PictureView* splash_ = nullptr;
    QLabel* splashStatus_ = nullptr;
    QPointer<QMenu> openMenu_;
    bool listRowJustChanged_ = false;
    bool syncing_ = false;
};

}  // namespace corvane::ui
