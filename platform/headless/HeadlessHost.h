// SPDX-License-Identifier: MIT
//
// The headless host: the program without a window system, in virtual time.
// Tests and the harness use it to run start-up, the cycles and whole flights
// deterministically and much faster than real time.
//
// Virtual clock. Time stands still unless the host moves it:
// - RunUntil / RunFor play the part of the program's message loop: they jump
//   straight to the next due timer tick or scripted action, fire it, and go on.
// - DoEvents ("let pending events run", called by the program inside its
//   handlers and waits) moves the clock on to the next due event, but by at most
//   one quantum (10 ms unless set), then fires what is due. A wait loop of the
//   program ("until the time of day differs by 5 s, let events run") thus takes
//   5 s of virtual time; a handler that lets events run takes a quantum, during
//   which other timers may tick and re-enter the program as on a real desktop.
// Timer ticks and scripted actions fire in order of due time (equal times in
// the order they were scheduled). A timer's next tick is due one interval after
// the tick was due, or one interval after now when the program fell behind.
//
// Simulated desktop: windows of other processes (title, class, rectangle,
// alive), a close request answered by a behaviour of the test's choosing, the
// registry, files, program starts and message boxes answered by script and
// recorded. Optionally the registry is the stand-in registry file and the
// windows those of the POSIX desktop stand-in (for runs against a stand-in
// simulator in the same process).
//
// After EndProgram nothing fires any more; DoEvents still moves the clock by a
// quantum, so that a wait loop of the program comes to its end.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "ports/Host.h"

namespace corvane::headless {

class HeadlessTimer;

struct SimulatedWindow {
    host::WindowId id = 0;
    std::string title;
    std::string className;
    host::Rect rect;
    bool alive = true;
    // Runs when the window is asked to close; empty: the window closes at once.
    std::function<void()> onCloseRequest;
};

struct RecordedMessageBox {
    double time = 0;
    std::string text;
    std::string title;
    host::MessageBoxIcon icon = host::MessageBoxIcon::None;
    host::MessageBoxButtons buttons = host::MessageBoxButtons::Ok;
    host::MessageBoxResult answer = host::MessageBoxResult::Ok;
};

struct StartedProgram {
    double time = 0;
    std::string path;
    std::vector<std::string> arguments;
    bool started = false;
};

// One line of the host's log: what the program asked of the platform, when.
struct HostEvent {
    double time = 0;
    std::string what;
};

class HeadlessHost final : public host::Host {
  public:
    // The virtual clock starts at startTimeOfDay seconds after midnight.
    explicit HeadlessHost(double startTimeOfDay = 12 * 3600.0);
    ~HeadlessHost() override;
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    // ---- Virtual time -------------------------------------------------------------
    // Seconds since the start of day 0 (TimeOfDay wraps at midnight; this does not).
    double Now() const { return now_; }
    void SetQuantum(double seconds) { quantum_ = seconds; }
    double Quantum() const { return quantum_; }
    // Plays the message loop until the virtual time reaches timeOfDay (unwrapped
    // seconds, as Now()) or the program ends.
    void RunUntil(double time);
    void RunFor(double seconds) { RunUntil(now_ + seconds); }
    // Plays until the program ends, at most maxSeconds; true when it ended.
    bool RunUntilEnded(double maxSeconds);

    // ---- Scripted input ------------------------------------------------------------
    // Runs action at the given virtual time (from the message loop or DoEvents).
    void At(double time, std::string description, std::function<void()> action);
    void After(double seconds, std::string description, std::function<void()> action) {
        At(now_ + seconds, std::move(description), std::move(action));
    }
    std::size_t PendingActions() const { return actions_.size(); }

    // ---- Simulated desktop ---------------------------------------------------------------
    host::WindowId AddWindow(std::string title, std::string className, host::Rect rect);
    // The window disappears (as when its process ends).
    void RemoveWindow(host::WindowId id);
    SimulatedWindow* Window(host::WindowId id);
    const std::vector<host::WindowId>& CloseRequests() const { return closeRequests_; }
    // Finds windows on the POSIX desktop stand-in instead (and sends close
    // requests there); their rectangle is the whole screen.
    void UsePosixDesktop(bool use) { posixDesktop_ = use; }

    // ---- Keyboard focus ---------------------------------------------------------------
    // The user puts the focus on a window.
    void SetUserFocus(host::WindowId id) { focus_ = id; }
    const std::vector<host::WindowId>& FocusGiven() const { return focusGiven_; }
    const std::vector<host::WindowId>& Repainted() const { return repainted_; }

    // ---- Screen and mouse -----------------------------------------------------------------
    void SetScreenPixels(int width, int height) {
        screenWidthPx_ = width;
        screenHeightPx_ = height;
    }
    void SetTwipsPerPixel(int x, int y) {
        twipsPerPixelX_ = x;
        twipsPerPixelY_ = y;
    }
    void SetCursor(host::Point p) { cursor_ = p; }

    // ---- Registry --------------------------------------------------------------------------
    void SetRegistryValue(host::RegistryRoot root, const std::string& key, const std::string& name,
                          host::RegistryValue value);
    // A plain string, stored with its terminating zero.
    void SetRegistryString(host::RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& text);
    // Reads the stand-in registry file at path instead of the simulated registry.
    void UseRegistryFile(std::string path) { registryFile_ = std::move(path); }

    // ---- Programs and files --------------------------------------------------------------
    // Decides what a program start does; without one every start fails.
    using ProgramStarter =
        std::function<bool(const std::string& path, const std::vector<std::string>& arguments)>;
    void SetProgramStarter(ProgramStarter starter) { starter_ = std::move(starter); }
    const std::vector<StartedProgram>& StartedPrograms() const { return started_; }
    // Files and folders of the simulated file system (a file's folders exist
    // with it). A copy needs its source and the destination's folder.
    void AddFile(const std::string& path);
    void AddFolder(const std::string& path);
    void RemoveFile(const std::string& path) { files_.erase(path); }
    bool HasFile(const std::string& path) const { return files_.count(path) > 0; }
    void SetCopyFails(bool fails) { copyFails_ = fails; }
    const std::vector<std::pair<std::string, std::string>>& Copies() const { return copies_; }
    // Tests and copies real files instead.
    void UseRealFiles(bool use) { realFiles_ = use; }

    // ---- Message boxes -------------------------------------------------------------------
    // The answer to the next message box; unanswered boxes get Ok, Cancel or No
    // (whichever the buttons offer), so that nothing waits for ever.
    void AnswerNextMessageBox(host::MessageBoxResult answer) { answers_.push_back(answer); }
    const std::vector<RecordedMessageBox>& MessageBoxes() const { return messageBoxes_; }

    // ---- The end ---------------------------------------------------------------------------
    int ExitStatus() const { return exitStatus_; }
    double EndTime() const { return endTime_; }

    // ---- Log -------------------------------------------------------------------------------
    const std::vector<HostEvent>& Log() const { return log_; }
    void Note(std::string what) { log_.push_back({now_, std::move(what)}); }
    // Runs each time the program lets events run (after the clock moved).
    void SetEventHook(std::function<void()> hook) { eventHook_ = std::move(hook); }

    // ---- host::Host -------------------------------------------------------------------------
    double TimeOfDay() override;
    std::unique_ptr<host::Timer> CreateTimer(int intervalMs, std::function<void()> onTick) override;
    void DoEvents() override;
    host::WindowId FindWindowByTitle(std::string_view title) override;
    host::WindowId FindWindowByClass(std::string_view className) override;
    bool GetWindowRect(host::WindowId window, host::Rect* rect) override;
    bool RequestClose(host::WindowId window) override;
    host::WindowId FocusWindow() override { return focus_; }
    void SetFocus(host::WindowId window) override;
    void UpdateWindow(host::WindowId window) override;
    int ScreenWidthTwips() override { return screenWidthPx_ * twipsPerPixelX_; }
    int ScreenHeightTwips() override { return screenHeightPx_ * twipsPerPixelY_; }
    int TwipsPerPixelX() override { return twipsPerPixelX_; }
    int TwipsPerPixelY() override { return twipsPerPixelY_; }
    host::Point CursorPosition() override { return cursor_; }
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
    friend class HeadlessTimer;
    struct Action {
        std::string description;
        std::function<void()> run;
    };
    using ActionKey = std::pair<double, std::uint64_t>;

    void Forget(HeadlessTimer* timer);
    void Schedule(HeadlessTimer* timer);
    // The earliest time a timer or an action is due (kept until a timer or
    // an action changes).
    double NextDueTime() const;
    void ForgetNextDue() { nextDueKnown_ = false; }
    // Fires everything due by now, in order.
    void RunDue();

    double now_;
    double quantum_ = 0.010;
    std::uint64_t sequence_ = 0;
    std::vector<HeadlessTimer*> timers_;
    std::map<ActionKey, Action> actions_;
    mutable bool nextDueKnown_ = false;
    mutable double nextDue_ = 0;

    std::vector<SimulatedWindow> windows_;
    std::vector<host::WindowId> closeRequests_;
    bool posixDesktop_ = false;

    host::WindowId focus_ = 0;
    std::vector<host::WindowId> focusGiven_;
    std::vector<host::WindowId> repainted_;

    int screenWidthPx_ = 1024;
    int screenHeightPx_ = 768;
    int twipsPerPixelX_ = 15;
    int twipsPerPixelY_ = 15;
    host::Point cursor_;

    std::map<std::tuple<int, std::string, std::string>, host::RegistryValue> registry_;
    std::string registryFile_;

    ProgramStarter starter_;
    std::vector<StartedProgram> started_;
    std::set<std::string> files_;
    std::set<std::string> folders_;
    bool copyFails_ = false;
    bool realFiles_ = false;
    std::vector<std::pair<std::string, std::string>> copies_;

    std::vector<host::MessageBoxResult> answers_;
    std::vector<RecordedMessageBox> messageBoxes_;

    bool ended_ = false;
    int exitStatus_ = 0;
    double endTime_ = 0;

    std::vector<HostEvent> log_;
    std::function<void()> eventHook_;
};

}  // namespace corvane::headless
