// SPDX-License-Identifier: MIT
#include "app/win32ui/Views.h"

#include <windowsx.h>

#include <algorithm>

#include "app/forms/Mouse.h"
#include "app/startup/MainWindowHandlers.h"
#include "platform/win32/GdiCanvas.h"

namespace corvane::win32ui {

namespace {

constexpr const char* kFormClass = "CorvaneForm";
constexpr const char* kPictureClass = "CorvanePicture";
constexpr const char* kKnobClass = "CorvaneKnob";
constexpr const char* kGridClass = "CorvaneGrid";

HWND HandleOf(std::uint64_t id) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

// The cursor of a pointer number.
HCURSOR CursorOf(int pointer) {
    return ::LoadCursor(nullptr, pointer == forms::kMovePointer ? IDC_SIZEALL : IDC_ARROW);
}

// Reports a mouse message to a handler, in twips inside the window.
bool ReportMouse(const MouseHandler& down, const MouseHandler& move, const MouseHandler& up,
                 HWND window, UINT message, WPARAM wParam, LPARAM lParam, forms::Scale scale) {
    const MouseHandler* handler = nullptr;
    int button = 0;
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            handler = &down;
            button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
            ::SetCapture(window);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            handler = &up;
            button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
            if ((ButtonsOf(wParam) & ~button) == 0)
                ::ReleaseCapture();
            break;
        case WM_MOUSEMOVE:
            handler = &move;
            button = ButtonsOf(wParam);
            break;
        default:
            return false;
    }
    if (*handler) {
        (*handler)(button, ShiftOf(wParam), float(GET_X_LPARAM(lParam) * scale.x),
                   float(GET_Y_LPARAM(lParam) * scale.y));
    }
    return true;
}

}  // namespace

bool ForeignChildWindowsShown() {
    // Wine (up to its version 8 at least) draws a child window only into its
    // own process's top-level window, so a child of another program's window
    // stays invisible there. Wine is known by the function its ntdll adds.
    static const bool shown = [] {
        HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
        return !(ntdll && ::GetProcAddress(ntdll, "wine_get_version"));
    }();
    return shown;
}

int ButtonsOf(WPARAM keys) {
    return (keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) | (keys & MK_MBUTTON ? 4 : 0);
}

int ShiftOf(WPARAM keys) {
    return (keys & MK_SHIFT ? 1 : 0) | (keys & MK_CONTROL ? 2 : 0) |
           (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

LRESULT CALLBACK ViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        view->hwnd_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<View*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!view)
        return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        view->hwnd_ = nullptr;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return view->OnMessage(message, wParam, lParam);
}

void RegisterWindowClasses() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    for (const char* name : {kFormClass, kPictureClass, kKnobClass, kGridClass}) {
        WNDCLASSA c{};
        c.style = name == kFormClass ? 0 : CS_DBLCLKS;
        c.lpfnWndProc = ViewProcedure;
        c.hInstance = ::GetModuleHandleA(nullptr);
        c.hCursor = nullptr;  // each view sets its own
        c.hbrBackground = name == kFormClass ? HBRUSH(COLOR_BTNFACE + 1) : nullptr;
        c.lpszClassName = name;
        ::RegisterClassA(&c);
    }
}

View::~View() {
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void View::Create(const char* windowClass, DWORD exStyle, DWORD style, HWND parent, int id) {
    ::CreateWindowExA(exStyle, windowClass, "", style, 0, 0, 1, 1, parent,
                      parent ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
                      ::GetModuleHandleA(nullptr), this);
}

LRESULT View::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

// ---- Forms -----------------------------------------------------------------------------------

FormView::FormView(forms::Form& model, bool frame, bool topMost) : model_(model) {
    RegisterWindowClasses();
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN | (frame ? WS_CAPTION | WS_SYSMENU : 0);
    const DWORD exStyle = (frame ? 0 : WS_EX_TOOLWINDOW) | (topMost ? WS_EX_TOPMOST : 0);
    Create(kFormClass, exStyle, style, nullptr, 0);
    model_.windowHandle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd_));
}

LRESULT FormView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // The window stays until its model hides it.
            if (onClose)
                onClose();
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (lParam == 0 && id >= kMenuIdBase) {
                if (onMenuCommand)
                    onMenuCommand(id);
                return 0;
            }
            if (auto it = commands_.find(id); it != commands_.end()) {
                const auto handler = it->second;  // the handler may rebuild the table
                handler(HIWORD(wParam));
            }
            return 0;
        }
        case WM_VSCROLL:
            if (onVerticalScroll)
                onVerticalScroll(LOWORD(wParam), short(HIWORD(wParam)));
            return 0;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, textColor);
            ::SetBkColor(dc, textBack);
            if (!backBrush_)
                backBrush_ = ::CreateSolidBrush(textBack);
            return reinterpret_cast<LRESULT>(backBrush_);
        }
        case WM_SETCURSOR:
            // The standard controls over the form choose their own cursors.
            if (reinterpret_cast<HWND>(wParam) != hwnd_)
                return FALSE;
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            return TRUE;
        case WM_DESTROY:
            if (backBrush_)
                ::DeleteObject(backBrush_);
            backBrush_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

void FormView::SyncWindow(forms::Scale scale) {
    if (model_.parentWindow != parentTried_) {
        // Inside another program's window: a child window of it, placed in
        // its client area. Where child windows of another process are not
        // shown (Wine), the window is owned by it instead: it stays above it
        // and is placed over its client area.
        parentTried_ = model_.parentWindow;
        HWND parent = HandleOf(parentTried_);
        embedded_ = false;
        if (parentTried_ != 0 && ::IsWindow(parent) && model_.childStyle) {
            if (ForeignChildWindowsShown()) {
                const LONG_PTR style = ::GetWindowLongPtrA(hwnd_, GWL_STYLE);
                ::SetWindowLongPtrA(hwnd_, GWL_STYLE, (style & ~LONG_PTR(WS_POPUP)) | WS_CHILD);
                embedded_ = ::SetParent(hwnd_, parent) != nullptr;
                if (!embedded_)
                    ::SetWindowLongPtrA(hwnd_, GWL_STYLE, style);
            }
            if (!embedded_)
                ::SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parent));
        }
    }
    std::string title = model_.caption;
    char shown[256] = {};
    ::GetWindowTextA(hwnd_, shown, sizeof shown);
    if (title != shown)
        ::SetWindowTextA(hwnd_, title.c_str());

    // Places are relative to the window we live in: its client area when we
    // are its child, else its top left corner on the screen.
    POINT origin{0, 0};
    if (model_.parentWindow != 0 && !embedded_) {
        HWND parent = HandleOf(model_.parentWindow);
        if (model_.childStyle) {
            ::ClientToScreen(parent, &origin);
        } else {
            RECT r;
            if (::GetWindowRect(parent, &r))
                origin = {r.left, r.top};
        }
    }
    const forms::PixelRect px = forms::PixelsOf(model_, scale);
    RECT now;
    ::GetWindowRect(hwnd_, &now);
    if (embedded_) {
        ::MapWindowPoints(nullptr, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&now), 2);
    }
    if (now.left != origin.x + px.left || now.top != origin.y + px.top ||
        now.right - now.left != px.width || now.bottom - now.top != px.height) {
        ::SetWindowPos(hwnd_, nullptr, origin.x + px.left, origin.y + px.top, px.width, px.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }

    if ((::IsWindowVisible(hwnd_) != FALSE) != model_.visible) {
        ::ShowWindow(hwnd_, model_.visible ? SW_SHOWNOACTIVATE : SW_HIDE);
        // The outline is given again to a window that has just been shown:
        // Wine shapes a window's X window only while it is shown.
        regionShown_ = false;
    }
    if (!regionShown_ || shownRegion_ != model_.region) {
        HRGN region = nullptr;
        for (const forms::RegionShape& s : model_.region) {
            HRGN part = s.kind == forms::RegionShape::Kind::Ellipse
                            ? ::CreateEllipticRgn(s.left, s.top, s.right, s.bottom)
                            : ::CreateRectRgn(s.left, s.top, s.right, s.bottom);
            if (!region) {
                region = part;
            } else {
                ::CombineRgn(region, region, part, RGN_OR);
                ::DeleteObject(part);
            }
        }
        // The window owns the region from here on.
        ::SetWindowRgn(hwnd_, region, TRUE);
        shownRegion_ = model_.region;
        regionShown_ = true;
    }

    if (model_.visible && !embedded_ && model_.parentWindow != 0 && model_.childStyle)
        KeepAbove(HandleOf(model_.parentWindow));

    if (!model_.focusControl.empty()) {
        if (auto it = controls_.find(model_.focusControl); it != controls_.end() && model_.visible)
            ::SetFocus(it->second);
        model_.focusControl.clear();
    }
}

void FormView::KeepAbove(HWND owner) {
    // An owned window of another process's window is not always raised with
    // it: when the owner has come above the window, the window goes back on top.
    for (HWND above = ::GetWindow(hwnd_, GW_HWNDPREV); above;
         above = ::GetWindow(above, GW_HWNDPREV)) {
        if (above == owner) {
            ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return;
        }
    }
}

// ---- Pictures ----------------------------------------------------------------------------------

PictureView::PictureView(forms::Picture& picture, FormView& form, int id, forms::Scale scale)
    : picture_(picture), scale_(scale) {
    Create(kPictureClass, 0, WS_CHILD | WS_CLIPSIBLINGS, form.Handle(), id);
    picture_.windowHandle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd_));
}

LRESULT PictureView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (ReportMouse(onMouseDown, onMouseMove, onMouseUp, hwnd_, message, wParam, lParam, scale_))
        return 0;
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            RECT client;
            ::GetClientRect(hwnd_, &client);
            int width = 0, height = 0;
            if (const auto* canvas = dynamic_cast<const win32::GdiCanvas*>(picture_.canvas.get())) {
                width = canvas->PixelWidth();
                height = canvas->PixelHeight();
                ::BitBlt(dc, 0, 0, width, height, canvas->DeviceContext(), 0, 0, SRCCOPY);
            }
            HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
            if (width < client.right) {
                RECT r{width, 0, client.right, client.bottom};
                ::FillRect(dc, &r, black);
            }
            if (height < client.bottom) {
                RECT r{0, height, std::min<LONG>(width, client.right), client.bottom};
                ::FillRect(dc, &r, black);
            }
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            ::SetCursor(CursorOf(pointer ? pointer() : 0));
            return TRUE;
        default:
            return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

KnobView::KnobView(FormView& form, int id, forms::Scale scale) : scale_(scale) {
    Create(kKnobClass, 0, WS_CHILD | WS_CLIPSIBLINGS, form.Handle(), id);
}

LRESULT KnobView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (ReportMouse(onMouseDown, onMouseMove, onMouseUp, hwnd_, message, wParam, lParam, scale_))
        return 0;
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            RECT r;
            ::GetClientRect(hwnd_, &r);
            HBRUSH face = ::CreateSolidBrush(RGB(160, 160, 160));
            HGDIOBJ oldBrush = ::SelectObject(dc, face);
            ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
            const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
            const int dx = (r.right - r.left) / 5, dy = (r.bottom - r.top) / 5;
            ::MoveToEx(dc, cx - dx, cy, nullptr);
            ::LineTo(dc, cx + dx, cy);
            ::MoveToEx(dc, cx, cy - dy, nullptr);
            ::LineTo(dc, cx, cy + dy);
            ::SelectObject(dc, oldBrush);
            ::DeleteObject(face);
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_SETCURSOR:
            ::SetCursor(CursorOf(pointer ? pointer() : 0));
            return TRUE;
        default:
            return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

// ---- The details grid ------------------------------------------------------------------------

GridView::GridView(const forms::Grid& grid, FormView& form, int id, forms::Scale scale)
    : grid_(grid), scale_(scale) {
    Create(kGridClass, WS_EX_CLIENTEDGE, WS_CHILD | WS_CLIPSIBLINGS, form.Handle(), id);
}

LRESULT GridView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    RECT client;
    ::GetClientRect(hwnd_, &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics;
    ::GetTextMetricsA(dc, &metrics);
    const int rowHeight = metrics.tmHeight + 6;
    const int padding = metrics.tmAveCharWidth + 4;
    const int rows = std::max(grid_.rows, 0), cols = std::max(grid_.cols, 0);
    HBRUSH fixedBack = ::CreateSolidBrush(RGB(212, 208, 200));
    HPEN line = ::CreatePen(PS_SOLID, 1, RGB(160, 160, 160));
    HGDIOBJ oldPen = ::SelectObject(dc, line);
    ::SetBkMode(dc, TRANSPARENT);
    int x = 0;
    for (int c = 0; c < cols; ++c) {
        const double twips =
            std::size_t(c) < grid_.colWidths.size() ? grid_.colWidths[std::size_t(c)] : 1000.0;
        int width = std::max(forms::Px(twips, scale_.x), 1);
        for (int r = 0; r < rows; ++r) {
            const std::string& text = grid_.Text(r, c);
            SIZE extent{};
            if (!text.empty() &&
                ::GetTextExtentPoint32A(dc, text.data(), int(text.size()), &extent))
                width = std::max(width, int(extent.cx) + padding);
        }
        for (int r = 0; r < rows; ++r) {
            RECT cell{x, r * rowHeight, x + width, (r + 1) * rowHeight};
            if (r < grid_.fixedRows || c < grid_.fixedCols)
                ::FillRect(dc, &cell, fixedBack);
            UINT align = DT_LEFT;
            if (r < grid_.fixedRows && std::size_t(c) < grid_.headerAlignment.size()) {
                if (grid_.headerAlignment[std::size_t(c)] == forms::GridAlignment::Centre)
                    align = DT_CENTER;
                if (grid_.headerAlignment[std::size_t(c)] == forms::GridAlignment::Right)
                    align = DT_RIGHT;
            }
            RECT text = cell;
            ::InflateRect(&text, -2, 0);
            const std::string& s = grid_.Text(r, c);
            ::DrawTextA(dc, s.data(), int(s.size()), &text,
                        align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            ::MoveToEx(dc, cell.left, cell.bottom - 1, nullptr);
            ::LineTo(dc, cell.right - 1, cell.bottom - 1);
            ::LineTo(dc, cell.right - 1, cell.top - 1);
        }
        x += width;
    }
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(line);
    ::DeleteObject(fixedBack);
    ::EndPaint(hwnd_, &ps);
    return 0;
}

// ---- Standard controls -------------------------------------------------------------------------

HWND MakeControl(FormView& form, const char* windowClass, DWORD style, int id) {
    HWND window = ::CreateWindowExA(
        std::string(windowClass) == "EDIT" || std::string(windowClass) == "LISTBOX"
            ? WS_EX_CLIENTEDGE
            : 0,
        windowClass, "", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 1, 1, form.Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(window, WM_SETFONT, WPARAM(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return window;
}

namespace {

// The text box's own window procedure, kept while Enter is watched.
constexpr const char* kOriginalProcedure = "CorvaneOriginalProcedure";

LRESULT CALLBACK EnterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(
        reinterpret_cast<INT_PTR>(::GetPropA(window, kOriginalProcedure)));
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        ::PostMessageA(::GetParent(window), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    if (message == WM_CHAR && wParam == '\r')
        return 0;  // no beep for the Enter the form has taken
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::RemovePropA(window, kOriginalProcedure);
    }
    return ::CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace

void SendEnterToForm(HWND textBox) {
    const LONG_PTR original = ::GetWindowLongPtrA(textBox, GWLP_WNDPROC);
    ::SetPropA(textBox, kOriginalProcedure, reinterpret_cast<HANDLE>(original));
    ::SetWindowLongPtrA(textBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EnterProcedure));
}

void SyncControl(HWND window, const forms::Control& control, forms::Scale scale) {
    const forms::PixelRect px = forms::PixelsOf(control, scale);
    RECT now;
    ::GetWindowRect(window, &now);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != px.left || now.top != px.top || now.right - now.left != px.width ||
        now.bottom - now.top != px.height) {
        ::SetWindowPos(window, nullptr, px.left, px.top, px.width, px.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((::IsWindowEnabled(window) != FALSE) != control.enabled)
        ::EnableWindow(window, control.enabled);
    const bool shown = (::GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != control.visible)
        ::ShowWindow(window, control.visible ? SW_SHOWNA : SW_HIDE);
}

void SyncText(HWND window, const std::string& text) {
    const int length = ::GetWindowTextLengthA(window);
    std::string shown(std::size_t(length) + 1, '\0');
    ::GetWindowTextA(window, shown.data(), length + 1);
    shown.resize(std::size_t(length));
    if (shown != text)
        ::SetWindowTextA(window, text.c_str());
}

void SyncListBox(HWND window, const forms::ListBox& list, forms::Scale scale) {
    SyncControl(window, list, scale);
    const int count = int(::SendMessageA(window, LB_GETCOUNT, 0, 0));
    bool same = count == int(list.items.size());
    for (int i = 0; same && i < count; ++i) {
        const int length = int(::SendMessageA(window, LB_GETTEXTLEN, WPARAM(i), 0));
        std::string text(std::size_t(std::max(length, 0)) + 1, '\0');
        ::SendMessageA(window, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::size_t(std::max(length, 0)));
        same = text == list.items[std::size_t(i)];
    }
    if (!same) {
        ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
        ::SendMessageA(window, LB_RESETCONTENT, 0, 0);
        for (const std::string& item : list.items)
            ::SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(window, nullptr, TRUE);
    }
    const int index = list.listIndex < int(list.items.size()) ? list.listIndex : -1;
    if (int(::SendMessageA(window, LB_GETCURSEL, 0, 0)) != index)
        ::SendMessageA(window, LB_SETCURSEL, WPARAM(index), 0);
}

void SyncScrollBar(HWND window, const forms::ScrollBar& bar, forms::Scale scale) {
    SyncControl(window, bar, scale);
    const forms::ScrollRange range = forms::RangeOf(bar);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS;
    ::GetScrollInfo(window, SB_CTL, &info);
    if (info.nMin != range.low || info.nMax != range.high || info.nPos != bar.value) {
        info.fMask = SIF_RANGE | SIF_POS;
        info.nMin = range.low;
        info.nMax = range.high;
        info.nPos = bar.value;
        ::SetScrollInfo(window, SB_CTL, &info, TRUE);
    }
}

}  // namespace corvane::win32ui
