// SPDX-License-Identifier: MIT
//
// The Win32 windows that show the form models: a form's own window (place,
// size, caption, outline, visibility, the simulator's window it lives in), a
// picture box (its canvas's memory bitmap blitted to the window, the mouse
// reported in twips), the joystick knob, the runway details grid, and the
// standard controls (static text, buttons, text box, list box, scroll bar)
// brought in line with their models. Every window object lives as long as its
// window and is found from the window's handle.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The host's CopyFile (ports/Host.h) is its own, not the ANSI alias.
#undef CopyFile

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/forms/Forms.h"
#include "app/forms/ViewLayout.h"

namespace corvane::win32ui {

// A mouse event as the program's handlers take it.
using MouseHandler = std::function<void(int button, int shift, float xTwips, float yTwips)>;

// The program's button (1 left, 2 right, 4 middle) and shift (1 Shift,
// 2 Ctrl, 4 Alt) numbers of a Win32 mouse message.
int ButtonsOf(WPARAM keys);
int ShiftOf(WPARAM keys);

// False where child windows of another process's window are not shown (under
// Wine): the windows are then owned by the simulator's window, not its children.
bool ForeignChildWindowsShown();

// Registers the window classes (once).
void RegisterWindowClasses();

// A window with an object behind it.
class View {
  public:
    virtual ~View();
    HWND Handle() const { return hwnd_; }

  protected:
    friend LRESULT CALLBACK ViewProcedure(HWND, UINT, WPARAM, LPARAM);
    // Makes the window; the object receives its messages from WM_NCCREATE on.
    void Create(const char* windowClass, DWORD exStyle, DWORD style, HWND parent, int id);
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A form's window.
class FormView final : public View {
  public:
    // frame: a caption and a close box (the search and airport windows).
    FormView(forms::Form& model, bool frame, bool topMost);
    forms::Form& model() { return model_; }

    // The window's controls by their names (for the model's focus requests).
    void AddControl(const std::string& name, HWND control) { controls_[name] = control; }
    // A control's notification (WM_COMMAND) by the control's id.
    void OnCommand(int id, std::function<void(int code)> handler) { commands_[id] = handler; }

    std::function<void()> onClose;
    std::function<void(int command)> onMenuCommand;  // WM_COMMAND from a menu (id >= kMenuIdBase)
    std::function<void(int request, int thumb)> onVerticalScroll;
    // The colours of the window's static texts (the readout and status lines).
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF textBack = GetSysColor(COLOR_BTNFACE);

    // Brings the window in line with its model.
    void SyncWindow(forms::Scale scale);
    bool Embedded() const { return embedded_; }

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void KeepAbove(HWND owner);

    forms::Form& model_;
    std::map<std::string, HWND> controls_;
    std::map<int, std::function<void(int)>> commands_;
    std::uint64_t parentTried_ = 0;
    bool embedded_ = false;
    bool regionShown_ = false;
    std::vector<forms::RegionShape> shownRegion_;
    HBRUSH backBrush_ = nullptr;
};

constexpr int kMenuIdBase = 1000;

// A picture box showing a canvas (a GdiCanvas) of its model.
class PictureView final : public View {
  public:
    PictureView(forms::Picture& picture, FormView& form, int id, forms::Scale scale);
    forms::Picture& picture() { return picture_; }
    MouseHandler onMouseDown, onMouseMove, onMouseUp;
    // The mouse pointer over the picture (0 arrow, 5 four-way move arrow).
    std::function<int()> pointer;

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    forms::Picture& picture_;
    forms::Scale scale_;
};

// The joystick knob.
class KnobView final : public View {
  public:
    KnobView(FormView& form, int id, forms::Scale scale);
    MouseHandler onMouseDown, onMouseMove, onMouseUp;
    std::function<int()> pointer;

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    forms::Scale scale_;
};

// The runway details grid: fixed rows and columns shaded, columns as wide as
// the layout makes them and wider where a text needs more.
class GridView final : public View {
  public:
    GridView(const forms::Grid& grid, FormView& form, int id, forms::Scale scale);

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    const forms::Grid& grid_;
    forms::Scale scale_;
};

// A standard control made as a child of its form (class "STATIC", "BUTTON",
// "EDIT", "LISTBOX" or "SCROLLBAR").
HWND MakeControl(FormView& form, const char* windowClass, DWORD style, int id);

// Enter in a text box sends its form the command IDOK (as a dialog's default
// button has it), instead of a beep.
void SendEnterToForm(HWND textBox);

// Brings a control's window in line with its model: place and size,
// enabled, visible; the setters leave alone what already shows the model.
void SyncControl(HWND window, const forms::Control& control, forms::Scale scale);
void SyncText(HWND window, const std::string& text);
void SyncListBox(HWND window, const forms::ListBox& list, forms::Scale scale);
void SyncScrollBar(HWND window, const forms::ScrollBar& bar, forms::Scale scale);

}  // namespace corvane::win32ui
