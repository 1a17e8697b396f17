// SPDX-License-Identifier: MIT
//
// The desktop stand-in's process-wide tables, shared by its two sides: the
// sender's (finding windows, registered messages, atoms, sending) in
// Desktop.cpp and the owner's (publishing a window and serving its messages)
// in PublishedWindow.cpp. Not for use outside platform/posix.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/posix/Desktop.h"

namespace corvane::desktop::detail {

// Registered message ids and atoms both start here, as on Windows.
inline constexpr std::uint32_t kFirstRegisteredId = 0xC000;
// The endpoint of a window published inside this process: the prefix and its number.
inline constexpr const char* kInProcessPrefix = "inproc:";

// The monotonic clock in nanoseconds (the deadlines of sent messages).
std::int64_t MonotonicNs();

struct InProcessWindow {
    WindowEntry entry;
    MessageHandler onMessage;
    CloseHandler onClose;
};

// Process-wide tables of the stand-in. The program is single-threaded; the
// mutex only keeps the tables sound if a tool uses them from several threads.
struct DesktopState {
    std::mutex mutex;
    std::vector<std::string> handleEndpoints;  // handle h names entry h - 1
    std::map<std::string, WindowHandle> endpointHandles;
    std::map<std::string, WindowEntry> knownEntries;  // last description seen per endpoint
    std::vector<std::string> messageNames;            // id 0xC000 + i
    std::map<std::uint16_t, std::string> atoms;
    std::uint16_t nextAtom = kFirstRegisteredId;
    std::map<std::string, int> connections;  // endpoint -> connected socket
    std::map<int, InProcessWindow> inProcessWindows;
    int nextInProcessId = 1;
    std::uint32_t nextSequence = 1;
    int nextPublishedNumber = 0;
};

DesktopState& State();

}  // namespace corvane::desktop::detail
