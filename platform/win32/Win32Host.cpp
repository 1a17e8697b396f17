// SPDX-License-Identifier: MIT
#include "platform/win32/Win32Host.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>
// The host's CopyFile is its own, not the ANSI alias of the Windows call.
#undef CopyFile

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace corvane::win32 {

namespace {

// How often the windows catch up while events are let run.
constexpr DWORD kSyncIntervalMs = 15;
// A wait loop that lets events run again at once sleeps this long between rounds.
constexpr DWORD kIdleSleepMs = 1;

HWND HandleOf(host::WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

host::WindowId IdOf(HWND window) {
    return static_cast<host::WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

host::MessageBoxResult DefaultAnswer(host::MessageBoxButtons buttons) {
    switch (buttons) {
        case host::MessageBoxButtons::Ok:
            return host::MessageBoxResult::Ok;
        case host::MessageBoxButtons::OkCancel:
        case host::MessageBoxButtons::RetryCancel:
            return host::MessageBoxResult::Cancel;
        case host::MessageBoxButtons::YesNo:
            return host::MessageBoxResult::No;
    }
    return host::MessageBoxResult::Ok;
}

// The timers by their thread-timer ids (the program has one thread).
std::map<UINT_PTR, Win32Timer*>& TimersById() {
    static std::map<UINT_PTR, Win32Timer*> timers;
    return timers;
}

void CALLBACK TimerProcedure(HWND, UINT, UINT_PTR id, DWORD);

}  // namespace

class Win32Timer final : public host::Timer {
  public:
    Win32Timer(Win32Host& host, int intervalMs, std::function<void()> onTick)
        : host_(host), intervalMs_(intervalMs), onTick_(std::move(onTick)) {}
    ~Win32Timer() override { Stop(); }

    void SetEnabled(bool enabled) override {
        if (enabled == enabled_)
            return;
        enabled_ = enabled;
        if (enabled_ && !host_.Ended()) {
            Start();
        } else {
            Stop();
        }
    }
    bool Enabled() const override { return enabled_; }
    void SetInterval(int intervalMs) override {
        intervalMs_ = intervalMs;
        if (enabled_) {
            Stop();
            Start();
        }
    }
    int Interval() const override { return intervalMs_; }

    void Tick() {
        // A tick handler that lets events run does not meet its own next tick.
        if (ticking_ || !enabled_ || host_.Ended())
            return;
        ticking_ = true;
        if (onTick_)
            onTick_();
        ticking_ = false;
        host_.AfterTick();
    }

    void Stop() {
        if (id_ == 0)
            return;
        ::KillTimer(nullptr, id_);
        TimersById().erase(id_);
        id_ = 0;
    }

  private:
    void Start() {
        // An interval of 0 switches a window timer off.
        if (intervalMs_ <= 0)
            return;
        id_ = ::SetTimer(nullptr, 0, UINT(intervalMs_), TimerProcedure);
        if (id_ != 0)
            TimersById()[id_] = this;
    }

    Win32Host& host_;
    int intervalMs_;
    std::function<void()> onTick_;
    UINT_PTR id_ = 0;
    bool enabled_ = false;
    bool ticking_ = false;
};

namespace {

void CALLBACK TimerProcedure(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = TimersById().find(id);
    if (it != TimersById().end())
        it->second->Tick();
}

}  // namespace

Win32Host::Win32Host() {
    const char* answer = std::getenv("CORVANE_MESSAGE_BOXES");
    answerMessageBoxes_ = answer && std::strcmp(answer, "answer") == 0;
    lastSyncMs_ = ::GetTickCount();
    lastDoEventsMs_ = lastSyncMs_;
}

Win32Host::~Win32Host() {
    for (auto& [id, timer] : TimersById())
        ::KillTimer(nullptr, id);
    TimersById().clear();
}

void Win32Host::Sync() {
    if (syncing_ || !syncHook_)
        return;
    syncing_ = true;
    syncHook_();
    syncing_ = false;
    lastSyncMs_ = ::GetTickCount();
}

void Win32Host::AfterTick() {
    if (!ended_)
        Sync();
}

int Win32Host::RunMessageLoop() {
    MSG message;
    while (!ended_) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0)
            break;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return exitStatus_;
}

// ---- Time ------------------------------------------------------------------------------------

double Win32Host::TimeOfDay() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

std::unique_ptr<host::Timer> Win32Host::CreateTimer(int intervalMs, std::function<void()> onTick) {
    return std::make_unique<Win32Timer>(*this, intervalMs, std::move(onTick));
}

void Win32Host::DoEvents() {
    const DWORD now = ::GetTickCount();
    if (now - lastDoEventsMs_ < 2)
        ::Sleep(kIdleSleepMs);
    if (!ended_ && now - lastSyncMs_ >= kSyncIntervalMs)
        Sync();
    MSG message;
    while (!ended_ && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit belongs to the outer loop: put it back for it.
            ::PostQuitMessage(int(message.wParam));
            break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    lastDoEventsMs_ = ::GetTickCount();
}

// ---- Windows of other processes ----------------------------------------------------------------

host::WindowId Win32Host::FindWindowByTitle(std::string_view title) {
    return IdOf(::FindWindowA(nullptr, std::string(title).c_str()));
}

host::WindowId Win32Host::FindWindowByClass(std::string_view className) {
    return IdOf(::FindWindowA(std::string(className).c_str(), nullptr));
}

bool Win32Host::GetWindowRect(host::WindowId window, host::Rect* rect) {
    RECT r;
    if (window == 0 || !::IsWindow(HandleOf(window)) || !::GetWindowRect(HandleOf(window), &r))
        return false;
    *rect = host::Rect{r.left, r.top, r.right, r.bottom};
    return true;
}

bool Win32Host::RequestClose(host::WindowId window) {
    return window != 0 && ::PostMessageA(HandleOf(window), WM_CLOSE, 0, 0) != 0;
}

// ---- Keyboard focus
// ------------------------------------------------------------------------------

host::WindowId Win32Host::FocusWindow() {
    // The window with the keyboard focus in whichever program has it.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (::GetGUIThreadInfo(0, &info) && info.hwndFocus)
        return IdOf(info.hwndFocus);
    return IdOf(::GetForegroundWindow());
}

void Win32Host::SetFocus(host::WindowId window) {
    HWND target = HandleOf(window);
    if (window == 0 || !::IsWindow(target))
        return;
    if (::GetWindowThreadProcessId(target, nullptr) == ::GetCurrentThreadId()) {
        ::SetFocus(target);
    } else {
        ::SetForegroundWindow(target);
    }
}

void Win32Host::UpdateWindow(host::WindowId window) {
    Sync();
    if (window != 0)
        ::RedrawWindow(HandleOf(window), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---- Screen and mouse
// ------------------------------------------------------------------------------

int Win32Host::TwipsPerPixelX() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440 / dpi : 15;
}

int Win32Host::TwipsPerPixelY() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440 / dpi : 15;
}

int Win32Host::ScreenWidthTwips() {
    return ::GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX();
}

int Win32Host::ScreenHeightTwips() {
    return ::GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY();
}

host::Point Win32Host::CursorPosition() {
    POINT p{};
    ::GetCursorPos(&p);
    return {p.x, p.y};
}

// ---- Registry, programs, files
// ------------------------------------------------------------------------

std::optional<host::RegistryValue> Win32Host::ReadRegistryValue(host::RegistryRoot root,
                                                                std::string_view key,
                                                                std::string_view valueName) {
    HKEY rootKey =
        root == host::RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(rootKey, std::string(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const std::string name(valueName);
    DWORD type = 0;
    DWORD size = 0;
    std::optional<host::RegistryValue> result;
    if (::RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        if (::RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(bytes.data()), &size) == ERROR_SUCCESS) {
            bytes.resize(size);
            result = host::RegistryValue{type == REG_SZ || type == REG_EXPAND_SZ, bytes};
        }
    }
    ::RegCloseKey(opened);
    return result;
}

bool IsProgramFile(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return true;  // no extension: CreateProcess finds the program
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == "exe" || extension == "com";
}

std::string CommandLineOf(const std::string& program, const std::vector<std::string>& arguments) {
    auto quoted = [](const std::string& part) {
        if (!part.empty() && part.find_first_of(" \t\"") == std::string::npos)
            return part;
        std::string out = "\"";
        std::size_t backslashes = 0;
        for (char c : part) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            // Backslashes before a quote are doubled, and the quote escaped.
            out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            out += c;
        }
        // Backslashes before the closing quote are doubled.
        out.append(backslashes * 2, '\\');
        out += '"';
        return out;
    };
    std::string line = quoted(program);
    for (const std::string& a : arguments)
        line += ' ' + quoted(a);
    return line;
}

bool Win32Host::StartProgram(const std::string& path, const std::vector<std::string>& arguments) {
    // A document (the help file) is opened by the program the shell has for it.
    if (!IsProgramFile(path)) {
        std::string parameters;
        for (const std::string& a : arguments) {
            if (!parameters.empty())
                parameters += ' ';
            parameters += CommandLineOf(a, {});
        }
        const auto opened = reinterpret_cast<INT_PTR>(::ShellExecuteA(
            nullptr, "open", path.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
            nullptr, SW_SHOWNORMAL));
        return opened > 32;
    }
    std::string line = CommandLineOf(path, arguments);
    // A program given with its folder starts in that folder.
    std::string folder;
    if (const std::size_t at = path.find_last_of("\\/"); at != std::string::npos)
        folder = path.substr(0, at);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool Win32Host::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Host::CopyFile(const std::string& from, const std::string& to) {
    return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

// ---- Messages and the end
// ------------------------------------------------------------------------

host::MessageBoxResult Win32Host::ShowMessageBox(const std::string& text, const std::string& title,
                                                 host::MessageBoxIcon icon,
                                                 host::MessageBoxButtons buttons) {
    std::fprintf(stderr, "corvane: %s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (answerMessageBoxes_)
        return DefaultAnswer(buttons);
    UINT style = MB_SETFOREGROUND;
    switch (icon) {
        case host::MessageBoxIcon::None:
            break;
        case host::MessageBoxIcon::Critical:
            style |= MB_ICONERROR;
            break;
        case host::MessageBoxIcon::Question:
            style |= MB_ICONQUESTION;
            break;
        case host::MessageBoxIcon::Exclamation:
            style |= MB_ICONEXCLAMATION;
            break;
        case host::MessageBoxIcon::Information:
            style |= MB_ICONINFORMATION;
            break;
    }
    switch (buttons) {
        case host::MessageBoxButtons::Ok:
            style |= MB_OK;
            break;
        case host::MessageBoxButtons::OkCancel:
            style |= MB_OKCANCEL;
            break;
        case host::MessageBoxButtons::RetryCancel:
            style |= MB_RETRYCANCEL;
            break;
        case host::MessageBoxButtons::YesNo:
            style |= MB_YESNO;
            break;
    }
    switch (::MessageBoxA(nullptr, text.c_str(), title.c_str(), style)) {
        case IDOK:
            return host::MessageBoxResult::Ok;
        case IDRETRY:
            return host::MessageBoxResult::Retry;
        case IDYES:
            return host::MessageBoxResult::Yes;
        case IDNO:
            return host::MessageBoxResult::No;
        case IDCANCEL:
            return host::MessageBoxResult::Cancel;
        default:
            return DefaultAnswer(buttons);
    }
}

void Win32Host::EndProgram(int exitStatus) {
    if (ended_)
        return;
    ended_ = true;
    exitStatus_ = exitStatus;
    for (auto& [id, timer] : TimersById())
        ::KillTimer(nullptr, id);
    if (endHook_)
        endHook_();
    ::PostQuitMessage(exitStatus);
}

}  // namespace corvane::win32
