// SPDX-License-Identifier: MIT
#include "app/win32ui/ProgramWindows.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Host.h"

namespace corvane::win32ui {

namespace {

using startup::ControlEntry;
using startup::ControlKind;
using startup::UserEvent;
using startup::UserInput;

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

std::uint64_t HandleOf(HWND window) {
    return std::uint64_t(reinterpret_cast<std::uintptr_t>(window));
}

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(std::size_t(length) + 1, '\0');
    ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(std::size_t(length));
    return text;
}

template <typename Model>
Model& ModelOf(const ControlEntry& control, forms::Forms& forms) {
    return static_cast<Model&>(control.model(forms));
}

}  // namespace

ProgramWindows::ProgramWindows(Program& p, win32::Win32Host& host)
    : p_(p), host_(host), scale_{host.TwipsPerPixelX(), host.TwipsPerPixelY()} {
    startup::OpenShellWindows<win32::GdiCanvas>(
        p_.forms, host_, scale_, forms_, [this](const startup::FormEntry& entry) { Build(entry); },
        [this] { Sync(); }, [this] { HideAll(); });
}

ProgramWindows::~ProgramWindows() {
    startup::ClearShellHooks(host_);
}

HWND ProgramWindows::WindowNamed(const Shown& form, const char* name) const {
    const int index = startup::ControlIndex(*form.entry, name);
    return index < 0 ? nullptr : form.windows[std::size_t(index)];
}

// ---- Building ----------------------------------------------------------------------------

void ProgramWindows::Build(const startup::FormEntry& entry) {
    forms_.push_back({&entry, nullptr, {}, {}});
    Shown& form = forms_.back();
    const bool framed = entry.style == startup::FormStyle::Framed;
    const bool splash = entry.style == startup::FormStyle::Splash;
    form.window = std::make_unique<FormView>(entry.model(p_.forms), framed, splash);
    if (splash) {
        form.window->textColor = RGB(255, 255, 255);
        form.window->textBack = RGB(0, 64, 0);
    }
    if (entry.onClose)
        form.window->onClose = [this, &entry] { Run([&] { entry.onClose(p_, {}); }); };
    if (&entry == &startup::WindowTable().front())
        form.window->onMenuCommand = [this](int id) { MenuCommand(id); };
    for (const ControlEntry& control : entry.controls) {
        HWND window = Make(form, control);
        if (control.ownWindow) {
            control.model(p_.forms).windowHandle = HandleOf(window);
            form.window->AddControl(control.name, window);
        }
        form.windows.push_back(window);
    }
}

HWND ProgramWindows::Make(Shown& form, const ControlEntry& control) {
    FormView& window = *form.window;
    const int id = control.number;
    auto report = [this, &form, &control](UserEvent event, UserInput in) {
        Report(form, control, event, std::move(in));
    };
    switch (control.kind) {
        case ControlKind::Picture: {
            auto view = std::make_unique<PictureView>(ModelOf<forms::Picture>(control, p_.forms),
                                                      window, id, scale_);
            if (control.pointer == startup::Pointer::Form)
                view->pointer = [this, &form] { return form.entry->model(p_.forms).mousePointer; };
            startup::HookMouse(*view, report);
            HWND hwnd = view->Handle();
            form.views.push_back(std::move(view));
            return hwnd;
        }
        case ControlKind::Knob: {
            auto view = std::make_unique<KnobView>(window, id, scale_);
            view->pointer = [this, &control] {
                return ModelOf<forms::Image>(control, p_.forms).mousePointer;
            };
            startup::HookMouse(*view, report);
            HWND hwnd = view->Handle();
            form.views.push_back(std::move(view));
            return hwnd;
        }
        case ControlKind::Grid: {
            auto view = std::make_unique<GridView>(ModelOf<forms::Grid>(control, p_.forms), window,
                                                   id, scale_);
            HWND hwnd = view->Handle();
            form.views.push_back(std::move(view));
            return hwnd;
        }
        case ControlKind::ScrollBar: {
            HWND bar = MakeControl(window, "SCROLLBAR", SBS_VERT, id);
            window.onVerticalScroll = [this, &form, &control, bar](int request, int thumb) {
                Scroll(form, control, bar, request, thumb);
            };
            return bar;
        }
        case ControlKind::ListBox: {
            HWND list = MakeControl(window, "LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, id);
            // A line chosen with the keyboard or the mouse (a click on the chosen
            // line chooses it again).
            window.OnCommand(id, [this, &form, &control, list](int code) {
                if (code != LBN_SELCHANGE && code != LBN_DBLCLK)
                    return;
                const int row = int(::SendMessageA(list, LB_GETCURSEL, 0, 0));
                if (row < 0)
                    return;
                UserInput in;
                in.value = row;
                Report(form, control, UserEvent::LineChosen, in);
            });
            return list;
        }
        case ControlKind::Button: {
            // The button that runs on Enter: the one that reads the form's text box.
            const DWORD style = control.textFrom ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            HWND button = MakeControl(window, "BUTTON", style | WS_TABSTOP, id);
            window.OnCommand(id, [this, &form, &control](int code) {
                if (code == BN_CLICKED)
                    Report(form, control, UserEvent::Clicked, {});
            });
            return button;
        }
        case ControlKind::Label: {
            const DWORD align =
                form.entry->style == startup::FormStyle::Splash ? SS_CENTER : SS_LEFT;
            return MakeControl(window, "STATIC", align | SS_NOPREFIX, id);
        }
        case ControlKind::TextBox: {
            HWND box = MakeControl(window, "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, id);
            SendEnterToForm(box);
            window.OnCommand(id, [this, &form, &control, box](int code) {
                if (code != EN_CHANGE || syncing_)
                    return;
                UserInput in;
                in.text = WindowText(box);
                Report(form, control, UserEvent::TextEdited, in);
            });
            // Enter in the text box: the form's command IDOK.
            window.OnCommand(IDOK, [this, &form, &control](int code) {
                if (code == BN_CLICKED)
                    Report(form, control, UserEvent::EnterPressed, {});
            });
            return box;
        }
    }
    return nullptr;
}

void ProgramWindows::Report(const Shown& form, const ControlEntry& control, UserEvent event,
                            UserInput in) {
    auto readText = [this, &form](const char* name) -> std::optional<std::string> {
        if (HWND box = WindowNamed(form, name))
            return WindowText(box);
        return std::nullopt;
    };
    startup::Dispatch(p_, control, event, std::move(in), readText,
                      [this](const std::function<void()>& handler) { Run(handler); });
}

void ProgramWindows::Scroll(const Shown& form, const ControlEntry& control, HWND window,
                            int request, int thumb) {
    const forms::ScrollBar& bar = ModelOf<forms::ScrollBar>(control, p_.forms);
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
            value = ::GetScrollInfo(window, SB_CTL, &info) ? info.nTrackPos : thumb;
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
    UserInput in;
    in.value = value;
    Report(form, control, UserEvent::ValueChanged, in);
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
    for (const startup::FormEntry* entry : startup::SyncOrder()) {
        for (Shown& form : forms_) {
            if (form.entry == entry)
                SyncForm(form);
        }
    }
    syncing_ = false;
}

void ProgramWindows::SyncForm(Shown& form) {
    const std::vector<ControlEntry>& controls = form.entry->controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlEntry& control = controls[i];
        HWND window = form.windows[i];
        forms::Control& model = control.model(p_.forms);
        const forms::Label shown = control.shown ? control.shown(p_.forms) : forms::Label{};
        const forms::Control& place =
            control.shown ? static_cast<const forms::Control&>(shown) : model;
        switch (control.kind) {
            case ControlKind::Picture:
            case ControlKind::Knob:
            case ControlKind::Grid:
                SyncControl(window, place, scale_);
                break;
            case ControlKind::ScrollBar:
                SyncScrollBar(window, static_cast<forms::ScrollBar&>(model), scale_);
                break;
            case ControlKind::ListBox:
                SyncListBox(window, static_cast<forms::ListBox&>(model), scale_);
                break;
            case ControlKind::Button:
                SyncControl(window, model, scale_);
                SyncText(window, static_cast<forms::Button&>(model).caption);
                break;
            case ControlKind::Label:
                SyncControl(window, place, scale_);
                SyncText(window,
                         control.shown ? shown.caption : static_cast<forms::Label&>(model).caption);
                break;
            case ControlKind::TextBox:
                SyncControl(window, model, scale_);
                SyncText(window, static_cast<forms::TextBox&>(model).text);
                break;
        }
        if (control.stacking != startup::Stacking::Normal) {
            ::SetWindowPos(window,
                           control.stacking == startup::Stacking::Top ? HWND_TOP : HWND_BOTTOM, 0,
                           0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    form.window->SyncWindow(scale_);
    if (!form.entry->model(p_.forms).visible)
        return;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind == ControlKind::Picture || controls[i].kind == ControlKind::Grid)
            ::InvalidateRect(form.windows[i], nullptr, FALSE);
    }
}

void ProgramWindows::HideAll() {
    for (Shown& form : forms_) {
        if (form.window && form.window->Handle())
            ::ShowWindow(form.window->Handle(), SW_HIDE);
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
    const startup::HeldCycles held = startup::HoldCyclesForMenu(p_);
    menuOpen_ = true;
    const int chosen = int(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                            menu.popupX, menu.popupY, 0, Form1Window(), nullptr));
    menuOpen_ = false;
    ::DestroyMenu(popup);
    if (host_.Ended())
        return;
    startup::ReleaseCycles(p_, held);
    if (chosen == 0) {
        host_.Sync();
        return;
    }
    MenuCommand(chosen);
}

}  // namespace corvane::win32ui
