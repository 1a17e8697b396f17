// SPDX-License-Identifier: MIT
//
// The Qt host: the real program's platform. Timers are QTimers, letting events
// run is QCoreApplication::processEvents, message boxes are QMessageBoxes and
// programs start with QProcess. Windows of other processes come from the POSIX
// desktop stand-in; where one has a native X11 window, its rectangle is read
// from the X server and the program's windows can be placed inside it.
//
// The program's own windows and controls are registered by the widgets that
// show them and get window ids of their own (above 2^32, apart from the
// desktop's handles of other processes' windows).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ports/Host.h"

namespace corvane::qtui {

class QtTimer;

class QtHost final : public QObject, public host::Host {
  public:
    // Needs a QApplication.
    QtHost();
    ~QtHost() override;

    // ---- The program's own windows --------------------------------------------------
    host::WindowId RegisterWidget(QWidget* widget);
    QWidget* WidgetOf(host::WindowId id) const;
    // The native window id of another process's window (0 when it has none or
    // the platform has no native windows).
    std::uint64_t NativeIdOf(host::WindowId window) const;
    // Makes our top-level widget a child window of another process's window.
    // False when that cannot be done here (no native id, not on X11); the
    // widget then stays a top-level window.
    bool Embed(QWidget* widget, host::WindowId parent);
    // Runs after every timer tick and, at most every 15 ms, when events are let
    // run: the widgets catch up with the models there.
    void SetSyncHook(std::function<void()> hook) { syncHook_ = std::move(hook); }
    // Runs once when the program ends (the widgets hide).
    void SetEndHook(std::function<void()> hook) { endHook_ = std::move(hook); }
    // Called by the widgets after an event handler: the models changed.
    void Sync();

    int ExitStatus() const { return exitStatus_; }
    // Message boxes cannot be answered on the offscreen platform: they are
    // written to the error output and answered with Ok, Cancel or No.
    bool AnswersMessageBoxes() const;
    // Ends the program when the process gets SIGINT or SIGTERM.
    void InstallSignalHandlers();

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
    char PathSeparator() override { return '/'; }
    host::MessageBoxResult ShowMessageBox(const std::string& text, const std::string& title,
                                          host::MessageBoxIcon icon,
                                          host::MessageBoxButtons buttons) override;
    void EndProgram(int exitStatus) override;
    bool Ended() const override { return ended_; }

  private:
    friend class QtTimer;
    void AfterTick();
    void CheckSignals();

    std::map<host::WindowId, QPointer<QWidget>> widgets_;
    host::WindowId nextWidgetId_ = (host::WindowId(1) << 32) + 1;
    std::map<std::uint64_t, QWindow*> foreignWindows_;  // by native id, owned by this host
    std::vector<QtTimer*> timers_;
    std::function<void()> syncHook_;
    std::function<void()> endHook_;
    QElapsedTimer sinceSync_;
    QElapsedTimer sinceDoEvents_;
    bool syncing_ = false;
    bool ended_ = false;
    int exitStatus_ = 0;
};

}  // namespace corvane::qtui
