// SPDX-License-Identifier: MIT
//
// The desktop stand-in: what the link and the program need of a window system
// across processes, on POSIX.
//
// A process that owns a top-level window publishes it in the desktop directory
// ($CORVANE_DESKTOP, else $XDG_RUNTIME_DIR/corvane-desktop, else
// /tmp/corvane-desktop-<uid>) as two files: "<pid>.<n>.win", a text file with
// the window's class, title, pid and native window id, and "<pid>.<n>.sock", a
// Unix-domain socket on which the window receives its messages. Finding a window
// scans the directory and ignores entries whose process is gone.
//
// Window handles are process-local 32-bit numbers (0 means none) that name an
// entry of the desktop; they stay valid while the entry exists.
//
// A message sent to a window carries the registered message's name, the two
// 32-bit parameters and, when the first parameter is an atom of this process,
// the atom's text, so that the receiver can act on names rather than on numbers
// that only mean something in the sender. A send waits for the receiver's 32-bit
// answer up to a time-out; a dead or hung receiver is a failed send, never a
// hang. A message carries its sender's deadline, and a receiver never handles a
// message whose deadline has passed: once the sender has stopped waiting, the
// message is dropped unhandled.
//
// In-process windows (for the headless harness, where the simulator runs in the
// program's own process) are found like published ones; a message sent to one
// calls its handler directly on the caller's thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::desktop {

using WindowHandle = std::uint32_t;

struct WindowEntry {
    std::string className;
    std::string title;
    std::int64_t pid = 0;
    std::uint64_t nativeId = 0;  // the window system's id of the window, 0 when there is none
    std::string endpoint;        // socket path, or "inproc:<n>" for an in-process window
};

struct Message {
    std::string name;  // the registered message's name, e.g. "FsasmLib:IPC"
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    std::string atomText;     // the text of the atom in wParam, when wParam is one
    std::uint32_t token = 0;  // transport token: lets the receiver claim the sender's batch
};

using MessageHandler = std::function<std::uint32_t(const Message&)>;
using CloseHandler = std::function<void()>;

// Makes the process's desktop tables exist now. A static object whose
// destructor still uses the desktop (the link's connection gives its atom back
// when the library is unloaded) calls this before it is built: statics are
// destroyed in the reverse order of their making, so the tables outlive it.
void InitialiseDesktop();

// The folder in which windows are published.
std::string DesktopDirectory();

// Top-level window lookups; 0 when there is none.
WindowHandle FindWindowByClass(std::string_view className);
WindowHandle FindWindowByTitle(std::string_view title);
std::optional<WindowEntry> DescribeWindow(WindowHandle window);
// Whether DescribeWindow would find the window, without copying its entry.
bool WindowExists(WindowHandle window);

// Registered window messages: the same name gives the same number within a
// process (0xC000 and up); an empty name cannot be registered (0).
std::uint32_t RegisterWindowMessage(std::string_view name);
std::string RegisteredMessageName(std::uint32_t messageId);

// Global atoms of this process (0xC000 and up); 0 on failure.
std::uint16_t AddAtom(std::string_view text);
bool DeleteAtom(std::uint16_t atom);
std::string AtomText(std::uint16_t atom);

enum class SendStatus { Answered, NoWindow, TimedOut, Failed };

// Sends a registered message and waits up to timeoutMs for the answer.
SendStatus SendMessageTimeout(WindowHandle window, std::uint32_t messageId, std::uint32_t wParam,
                              std::uint32_t lParam, std::uint32_t timeoutMs, std::uint32_t* answer,
                              std::uint32_t token = 0);

// Asks the window to close (the window-close message); does not wait.
bool PostCloseRequest(WindowHandle window);

// A top-level window of this process, published on the desktop (or, with
// inProcess, visible only inside this process). Its messages are handled when
// the owner calls ProcessPending, on the owner's thread.
class PublishedWindow {
  public:
    PublishedWindow(std::string className, std::string title, std::uint64_t nativeId,
                    MessageHandler onMessage, CloseHandler onClose, bool inProcess = false);
    ~PublishedWindow();
    PublishedWindow(const PublishedWindow&) = delete;
    PublishedWindow& operator=(const PublishedWindow&) = delete;

    // False when the window could not be published (the reason is in Error()).
    bool IsPublished() const;
    const std::string& Error() const;

    // A descriptor that becomes readable when messages are waiting (for event
    // loops); -1 for an in-process window.
    int WaitDescriptor() const;

    // Handles the waiting messages, waiting up to timeoutMs for the first one.
    // Returns the number of messages handled.
    int ProcessPending(int timeoutMs);

    // Re-publishes the native window id (once the window system has given one).
    void SetNativeId(std::uint64_t nativeId);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane::desktop
