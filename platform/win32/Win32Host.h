// SPDX-License-Identifier: MIT
//
// The Win32 host: the program's platform on Windows, with Windows calls only.
// Timers are thread timers (SetTimer) delivered by the message pump; letting
// events run pumps the thread's messages; windows of other processes are found
// with FindWindow, measured with GetWindowRect and asked to close with
// PostMessage(WM_CLOSE); the registry is the Windows registry; programs start
// with CreateProcess (documents such as the help file are opened through the
// shell, ShellExecute); message boxes are MessageBox.
//
// A window id is the window's handle (HWND) as an integer.
//
// Message boxes can be answered without showing them (for tests under Wine):
// with CORVANE_MESSAGE_BOXES=answer in the environment the text is written to
// the error output and the box answered Ok, Cancel or No.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "ports/Host.h"

// The host's CopyFile is its own, not the ANSI alias that <windows.h> defines.
#ifdef CopyFile
#undef CopyFile
#endif

namespace corvane::win32 {

class Win32Timer;

class Win32Host final : public host::Host {
  public:
    Win32Host();
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    // Runs after every timer tick and, at most every 15 ms, while events are
    // let run: the windows catch up with the models there.
    void SetSyncHook(std::function<void()> hook) { syncHook_ = std::move(hook); }
    // Runs once when the program ends (the windows hide).
    void SetEndHook(std::function<void()> hook) { endHook_ = std::move(hook); }
    void Sync();
    // Pumps messages until the program ends; returns its exit status.
    int RunMessageLoop();
    int ExitStatus() const { return exitStatus_; }
    bool AnswersMessageBoxes() const { return answerMessageBoxes_; }

    // ---- host::Host ---------------------------------------------------------------------
    double TimeOfDay() override;
    std::unique_ptr<host::Timer> CreateTimer(int intervalMs, std::function<void()> onTick) override;
    void DoEvents() override;
    host::WindowId FindWindowByTitle(std::string_view title) override;
    host::WindowId FindWindowByClass(std::string_view className) override;
    bool GetWindowRect(host::WindowId window, host::Rect* rect) override;
    bool RequestClose(host::WindowId window) override;
    host::WindowId FocusWindow() override;
    void SetFocus(host::WindowId window) override;
    void UpdateWindow(host::WindowId window) override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    int TwipsPerPixelX() override;
    int TwipsPerPixelY() override;
    host::Point CursorPosition() override;
    std::optional<host::RegistryValue> ReadRegistryValue(host::RegistryRoot root,
                                                         std::string_view key,
                                                         std::string_view valueName) override;
    bool StartProgram(const std::string& path, const std::vector<std::string>& arguments) override;
    bool FileExists(const std::string& path) override;
    bool CopyFile(const std::string& from, const std::string& to) override;
    char PathSeparator() override { return '\\'; }
    host::MessageBoxResult ShowMessageBox(const std::string& text, const std::string& title,
                                          host::MessageBoxIcon icon,
                                          host::MessageBoxButtons buttons) override;
    void EndProgram(int exitStatus) override;
    bool Ended() const override { return ended_; }

  private:
    friend class Win32Timer;
    void AfterTick();

    std::function<void()> syncHook_;
    std::function<void()> endHook_;
    unsigned long lastSyncMs_ = 0;
    unsigned long lastDoEventsMs_ = 0;
    bool syncing_ = false;
    bool ended_ = false;
    bool answerMessageBoxes_ = false;
    int exitStatus_ = 0;
};

// True for a file CreateProcess starts (.exe, .com, or no extension); any
// other file is a document, which StartProgram opens through the shell.
bool IsProgramFile(const std::string& path);

// The command line CreateProcess gets: every part quoted where it holds a
// blank or a quote, with the quotes and the backslashes before them escaped
// as the C run-time's parser reads them back.
std::string CommandLineOf(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace corvane::win32
