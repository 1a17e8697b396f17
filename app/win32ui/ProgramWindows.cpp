// SPDX-License-Identifier: MIT
#include "app/win32ui/ProgramWindows.h"

#include <algorithm>
#include <string>

#include "app/forms/Mouse.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/ControlsHandlers.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/MainCycle.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Host.h"

namespace corvane::win32ui {

namespace {

// Adds the shown entries under a menu entry to a Win32 menu; an entry's
// command id is kMenuIdBase plus its place in the menu's list of all entries.
void AddItems(HMENU menu, const forms::MenuItem& parent, const std::vector<forms::MenuItem*>& all) {
    for (const forms::MenuItem* item : forms::ShownChildren(parent)) {
        UINT flags = MF_STRING | (item->enabled ? MF_ENABLED : MF_GRAYED) |
                     (item->checked ? MF_CHECKED : MF_UNCHECKED);
        if (!item->children.empty()) {
            HMENU sub = ::CreatePopupMenu();
            AddItems(sub, *item, all);
            ::AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                          item->caption.c_str());
            continue;
        }
        const auto at = std::find(all.begin(), all.end(), item);
        ::AppendMenuA(menu, flags, UINT_PTR(kMenuIdBase + (at - all.begin())),
                      item->caption.c_str());
    }
}

}  // namespace

ProgramWindows::ProgramWindows(Program& p, win32::Win32Host& host)
    : p_(p), host_(host), scale_{host.TwipsPerPixelX(), host.TwipsPerPixelY()} {
    MakeCanvases();
    BuildForm1();
    BuildForm2();
    BuildForm3();
    BuildForm4();
    BuildForm6();
    host_.SetSyncHook([this] { Sync(); });
    host_.SetEndHook([this] { HideAll(); });
}

ProgramWindows::~ProgramWindows() {
    host_.SetSyncHook({});
    host_.SetEndHook({});
}

void ProgramWindows::MakeCanvases() {
    forms::MakeCanvases(p_.forms, scale_, [this](int width, int height) {
        return std::make_unique<win32::GdiCanvas>(width, height, scale_.x, scale_.y);
    });
}

// ---- Building ----------------------------------------------------------------------------

void ProgramWindows::BuildForm1() {
    forms::Form1Model& f = p_.forms.Form1;
    form1_ = std::make_unique<FormView>(f, false, false);
    form1_->onClose = [this] { Run([this] { startup::Form1_Unload(p_); }); };
    form1_->onMenuCommand = [this](int id) { MenuCommand(id); };
    form1_->onVerticalScroll = [this](int request, int thumb) { Throttle(request, thumb); };

    picture1_ = std::make_unique<PictureView>(f.Picture1, *form1_, kPicture1Id, scale_);
    picture1_->pointer = [this] { return p_.forms.Form1.mousePointer; };
    picture1_->onMouseDown = [this](int b, int s, float x, float y) {
        Run([&] { startup::Picture1_MouseDown(p_, b, s, x, y); });
    };
    picture1_->onMouseMove = [this](int b, int s, float x, float y) {
        Run([&] { startup::Picture1_MouseMove(p_, b, s, x, y); });
    };
    picture1_->onMouseUp = [this](int b, int s, float x, float y) {
        Run([&] { startup::Picture1_MouseUp(p_, b, s, x, y); });
    };

    image1_ = std::make_unique<KnobView>(*form1_, kImage1Id, scale_);
    image1_->pointer = [this] { return p_.forms.Form1.Image1.mousePointer; };
    image1_->onMouseDown = [this](int b, int s, float x, float y) {
        Run([&] { startup::Image1_MouseDown(p_, b, s, x, y); });
    };
    image1_->onMouseMove = [this](int b, int s, float x, float y) {
        Run([&] { startup::Image1_MouseMove(p_, b, s, x, y); });
    };
    image1_->onMouseUp = [this](int b, int s, float x, float y) {
        Run([&] { startup::Image1_MouseUp(p_, b, s, x, y); });
    };

    vscroll1_ = MakeControl(*form1_, "SCROLLBAR", SBS_VERT, kVScroll1Id);
    f.VScroll1.windowHandle = std::uint64_t(reinterpret_cast<std::uintptr_t>(vscroll1_));
    form1_->AddControl("Picture1", picture1_->Handle());
    form1_->AddControl("VScroll1", vscroll1_);
}

void ProgramWindows::Throttle(int request, int thumb) {
    forms::ScrollBar& bar = p_.forms.Form1.VScroll1;
    const forms::ScrollRange range = forms::RangeOf(bar);
    int value = bar.value;
    switch (request) {
        case SB_LINEUP:
            value -= bar.smallChange;
            break;
        case SB_LINEDOWN:
            value += bar.smallChange;
            break;
        case SB_PAGEUP:
            value -= bar.largeChange;
            break;
        case SB_PAGEDOWN:
            value += bar.largeChange;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 16-bit position of the message falls short of long ranges.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            value = ::GetScrollInfo(vscroll1_, SB_CTL, &info) ? info.nTrackPos : thumb;
            break;
        }
        case SB_TOP:
            value = range.low;
            break;
        case SB_BOTTOM:
            value = range.high;
            break;
        default:
            return;
    }
    value = std::clamp(value, range.low, range.high);
    if (value == bar.value)
        return;
    Run([&] {
        p_.forms.Form1.VScroll1.value = value;
        startup::VScroll1_Change(p_);
    });
}

void ProgramWindows::BuildForm2() {
    forms::Form2Model& f = p_.forms.Form2;
    form2_ = std::make_unique<FormView>(f, true, false);
    form2_->onClose = [this] { Run([this] { startup::cmdclose_Click(p_); }); };

    surface_ = std::make_unique<PictureView>(f.surface, *form2_, kSurfaceId, scale_);
    foundlist_ =
        MakeControl(*form2_, "LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, kFoundlistId);
    picmap_ = std::make_unique<PictureView>(f.picmap, *form2_, kPicmapId, scale_);
    rungrid_ = std::make_unique<GridView>(f.rungrid, *form2_, kRungridId, scale_);
    cmdDetails_ = MakeControl(*form2_, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kCmdDetailsId);
    cmdflyme_ = MakeControl(*form2_, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kCmdflymeId);
    cmdclose_ = MakeControl(*form2_, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kCmdcloseId);
    struct Named {
        forms::Control& control;
        HWND window;
    };
    for (const Named& n : {Named{f.foundlist, foundlist_}, Named{f.picmap, picmap_->Handle()},
                           Named{f.rungrid, rungrid_->Handle()}, Named{f.cmdDetails, cmdDetails_},
                           Named{f.cmdflyme, cmdflyme_}, Named{f.cmdclose, cmdclose_}}) {
        n.control.windowHandle = std::uint64_t(reinterpret_cast<std::uintptr_t>(n.window));
        form2_->AddControl(n.control.name, n.window);
    }
    // A line chosen with the keyboard or the mouse (a click on the chosen
    // line chooses it again).
    auto chosen = [this](int code) {
        if (code != LBN_SELCHANGE && code != LBN_DBLCLK)
            return;
        const int row = int(::SendMessageA(foundlist_, LB_GETCURSEL, 0, 0));
        if (row < 0)
            return;
        Run([&] {
            p_.forms.Form2.foundlist.listIndex = row;
            startup::foundlist_Click(p_, row);
        });
    };
    form2_->OnCommand(kFoundlistId, chosen);
    auto clicked = [this](void (*handler)(Program&)) {
        return [this, handler](int code) {
            if (code == BN_CLICKED)
                Run([&] { handler(p_); });
        };
    };
    form2_->OnCommand(kCmdDetailsId, clicked(startup::cmdDetails_Click));
    form2_->OnCommand(kCmdflymeId, clicked(startup::cmdflyme_Click));
    form2_->OnCommand(kCmdcloseId, clicked(startup::cmdclose_Click));
}

void ProgramWindows::BuildForm3() {
    forms::Form3Model& f = p_.forms.Form3;
    form3_ = std::make_unique<FormView>(f, true, false);
    form3_->onClose = [this] { Run([this] { startup::Form3_QueryUnload(p_); }); };
    searchLabel_ = MakeControl(*form3_, "STATIC", SS_LEFT | SS_NOPREFIX, kLabel1Id);
    txtAirport_ = MakeControl(*form3_, "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, kTxtAirportId);
    cmdOK_ = MakeControl(*form3_, "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, kCmdOKId);
    SendEnterToForm(txtAirport_);
    f.TxtAirport.windowHandle = std::uint64_t(reinterpret_cast<std::uintptr_t>(txtAirport_));
    f.cmdOK.windowHandle = std::uint64_t(reinterpret_cast<std::uintptr_t>(cmdOK_));
    form3_->AddControl("TxtAirport", txtAirport_);
    form3_->AddControl("cmdOK", cmdOK_);
    form3_->OnCommand(kTxtAirportId, [this](int code) {
        if (code != EN_CHANGE || syncing_)
            return;
        const int length = ::GetWindowTextLengthA(txtAirport_);
        std::string text(std::size_t(length) + 1, '\0');
        ::GetWindowTextA(txtAirport_, text.data(), length + 1);
        text.resize(std::size_t(length));
        p_.forms.Form3.TxtAirport.text = text;
    });
    // The OK button, and Enter in the text box (the default button's id).
    auto search = [this](int code) {
        if (code == BN_CLICKED)
            Run([this] { startup::cmdOK_Click(p_); });
    };
    form3_->OnCommand(kCmdOKId, search);
    form3_->OnCommand(IDOK, search);
}

void ProgramWindows::BuildForm4() {
    forms::Form4Model& f = p_.forms.Form4;
    form4_ = std::make_unique<FormView>(f, false, false);
    for (int i = 0; i < 7; ++i)
        readouts_[i] = MakeControl(*form4_, "STATIC", SS_LEFT | SS_NOPREFIX, kReadoutId + i);
}

void ProgramWindows::BuildForm6() {
    forms::Form6Model& f = p_.forms.Form6;
    form6_ = std::make_unique<FormView>(f, false, true);
    splash_ = std::make_unique<PictureView>(f.Picture1, *form6_, kSplashId, scale_);
    splashStatus_ = MakeControl(*form6_, "STATIC", SS_CENTER | SS_NOPREFIX, kStatusId);
    form6_->textColor = RGB(255, 255, 255);
    form6_->textBack = RGB(0, 64, 0);
}

// ---- Catching up with the models -------------------------------------------------------------

void ProgramWindows::Sync() {
    if (syncing_)
        return;
    syncing_ = true;
    if (host_.Ended()) {
        HideAll();
        syncing_ = false;
        return;
    }
    {
        forms::Form6Model& f = p_.forms.Form6;
        SyncControl(splash_->Handle(), f.Picture1, scale_);
        const forms::Label status = forms::Form6Status(f);
        SyncControl(splashStatus_, status, scale_);
        SyncText(splashStatus_, status.caption);
        ::SetWindowPos(splashStatus_, HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        form6_->SyncWindow(scale_);
        if (f.visible)
            ::InvalidateRect(splash_->Handle(), nullptr, FALSE);
    }
    {
        forms::Form1Model& f = p_.forms.Form1;
        SyncControl(picture1_->Handle(), f.Picture1, scale_);
        SyncControl(image1_->Handle(), f.Image1, scale_);
        ::SetWindowPos(image1_->Handle(), HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SyncScrollBar(vscroll1_, f.VScroll1, scale_);
        form1_->SyncWindow(scale_);
        if (f.visible)
            ::InvalidateRect(picture1_->Handle(), nullptr, FALSE);
    }
    {
        forms::Form2Model& f = p_.forms.Form2;
        SyncControl(surface_->Handle(), forms::Form2Surface(f), scale_);
        ::SetWindowPos(surface_->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SyncListBox(foundlist_, f.foundlist, scale_);
        SyncControl(picmap_->Handle(), f.picmap, scale_);
        SyncControl(rungrid_->Handle(), f.rungrid, scale_);
        const forms::Button* buttons[] = {&f.cmdDetails, &f.cmdflyme, &f.cmdclose};
        HWND windows[] = {cmdDetails_, cmdflyme_, cmdclose_};
        for (int i = 0; i < 3; ++i) {
            SyncControl(windows[i], *buttons[i], scale_);
            SyncText(windows[i], buttons[i]->caption);
        }
        form2_->SyncWindow(scale_);
        if (f.visible) {
            ::InvalidateRect(picmap_->Handle(), nullptr, FALSE);
            ::InvalidateRect(surface_->Handle(), nullptr, FALSE);
            ::InvalidateRect(rungrid_->Handle(), nullptr, FALSE);
        }
    }
    {
        forms::Form3Model& f = p_.forms.Form3;
        SyncControl(searchLabel_, f.Label1, scale_);
        SyncText(searchLabel_, f.Label1.caption);
        SyncControl(txtAirport_, f.TxtAirport, scale_);
        SyncText(txtAirport_, f.TxtAirport.text);
        SyncControl(cmdOK_, f.cmdOK, scale_);
        SyncText(cmdOK_, f.cmdOK.caption);
        form3_->SyncWindow(scale_);
    }
    {
        forms::Form4Model& f = p_.forms.Form4;
        const forms::Label* labels[7] = {&f.Label1, &f.Label2, &f.Label3, &f.Label4,
                                         &f.Label5, &f.Label6, &f.Label7};
        for (int i = 0; i < 7; ++i) {
            SyncControl(readouts_[i], *labels[i], scale_);
            SyncText(readouts_[i], labels[i]->caption);
        }
        form4_->SyncWindow(scale_);
    }
    syncing_ = false;
}

void ProgramWindows::HideAll() {
    for (FormView* w : {form1_.get(), form2_.get(), form3_.get(), form4_.get(), form6_.get()}) {
        if (w && w->Handle())
            ::ShowWindow(w->Handle(), SW_HIDE);
    }
    if (menuOpen_)
        ::EndMenu();
}

// ---- User actions ----------------------------------------------------------------------------

void ProgramWindows::Run(const std::function<void()>& handler) {
    if (host_.Ended())
        return;
    handler();
    host_.Sync();
    if (!host_.Ended() && p_.forms.Form1.menu.popupRequested && !menuOpen_)
        ShowPopupMenu();
}

void ProgramWindows::MenuCommand(int id) {
    std::vector<forms::MenuItem*> all = p_.forms.Form1.menu.All();
    const int index = id - kMenuIdBase;
    if (index < 0 || index >= int(all.size()))
        return;
    const forms::MenuItem* item = all[std::size_t(index)];
    // A command comes from an entry that is shown and enabled, as in the menu
    // (the top item is never shown itself: it only holds the menu).
    for (const forms::MenuItem* shown = item; shown && shown->level > 0;) {
        if (!shown->visible || !shown->enabled)
            return;
        const forms::MenuItem* parent = nullptr;
        for (const forms::MenuItem* candidate : all) {
            if (std::find(candidate->children.begin(), candidate->children.end(), shown) !=
                candidate->children.end())
                parent = candidate;
        }
        shown = parent;
    }
    if (!item->children.empty())
        return;
    const std::string name = item->name;
    Run([&] { startup::MenuClick(p_, name); });
}

void ProgramWindows::ShowPopupMenu() {
    forms::MainMenu& menu = p_.forms.Form1.menu;
    menu.popupRequested = false;
    const std::vector<forms::MenuItem*> all = menu.All();
    HMENU popup = ::CreatePopupMenu();
    AddItems(popup, menu.mnuview, all);
    // The menu is modal: the map and main cycles wait while it is open, so the
    // simulator stays paused until a command is chosen or the menu closes.
    host::Timer* waiting[] = {p_.Form1Timer1.get(), p_.Form1Timer3.get()};
    bool wasOn[2] = {false, false};
    for (int i = 0; i < 2; ++i) {
        if (!waiting[i])
            continue;
        wasOn[i] = waiting[i]->Enabled();
        waiting[i]->SetEnabled(false);
    }
    menuOpen_ = true;
    const int chosen =
        int(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, menu.popupX,
                             menu.popupY, 0, form1_->Handle(), nullptr));
    menuOpen_ = false;
    ::DestroyMenu(popup);
    if (host_.Ended())
        return;
    for (int i = 0; i < 2; ++i) {
        if (waiting[i] && wasOn[i])
            waiting[i]->SetEnabled(true);
    }
    if (chosen == 0) {
        host_.Sync();
        return;
    }
    MenuCommand(chosen);
}

}  // namespace corvane::win32ui
