// SPDX-License-Identifier: MIT
#include "platform/posix/Desktop.h"

#include "platform/posix/DesktopState.h"
#include "platform/posix/DesktopTrust.h"
#include "platform/posix/DesktopWire.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <vector>

namespace corvane::desktop {

namespace detail {

std::int64_t MonotonicNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

DesktopState& State() {
    static DesktopState state;
    return state;
}

}  // namespace detail

namespace {

using detail::DesktopState;
using detail::InProcessWindow;
using detail::kFirstRegisteredId;
using detail::kInProcessPrefix;
using detail::MonotonicNs;
using detail::State;

using wire::kMaxTextLength;

bool ProcessAlive(std::int64_t pid) {
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

WindowHandle HandleForEndpoint(DesktopState& s, const std::string& endpoint) {
    auto it = s.endpointHandles.find(endpoint);
    if (it != s.endpointHandles.end())
        return it->second;
    s.handleEndpoints.push_back(endpoint);
    auto handle = static_cast<WindowHandle>(s.handleEndpoints.size());
    s.endpointHandles[endpoint] = handle;
    return handle;
}

std::optional<WindowEntry> ParseWindowFile(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return wire::ParseWindowText(text.str());
}

// Warns once per directory that its windows are not looked at.
void WarnDistrust(const std::string& problem) {
    static std::mutex mutex;
    static std::string lastWarned;
    std::lock_guard lock(mutex);
    if (problem == lastWarned)
        return;
    lastWarned = problem;
    std::fprintf(stderr, "corvane desktop: no window is looked for: %s\n", problem.c_str());
}

// The live published windows of the desktop, in a stable order (by file name).
std::vector<WindowEntry> ScanDesktop() {
    std::vector<WindowEntry> result;
    const std::string dir = DesktopDirectory();
    // A window published where others can write may be anyone's.
    if (std::string problem = DesktopDirectoryProblem(); !problem.empty()) {
        WarnDistrust(problem);
        return result;
    }
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return result;
    std::vector<std::string> names;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".win") == 0)
            names.push_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        auto entry = ParseWindowFile(dir + "/" + name);
        if (!entry)
            continue;
        if (!ProcessAlive(entry->pid))
            continue;  // an entry left behind by a process that died
        struct stat st {};
        if (::stat(entry->endpoint.c_str(), &st) != 0)
            continue;
        result.push_back(*entry);
    }
    return result;
}

template <typename Match>
WindowHandle FindWindow(Match match) {
    auto& s = State();
    {
        std::lock_guard lock(s.mutex);
        for (auto& [id, w] : s.inProcessWindows) {
            if (match(w.entry))
                return HandleForEndpoint(s, w.entry.endpoint);
        }
    }
    for (const auto& entry : ScanDesktop()) {
        if (!match(entry))
            continue;
        std::lock_guard lock(s.mutex);
        s.knownEntries[entry.endpoint] = entry;
        return HandleForEndpoint(s, entry.endpoint);
    }
    return 0;
}

// The tables' lookups, for a caller that holds the mutex: the window's
// endpoint (empty for an unknown handle), a registered message's name and an
// atom's text (empty for unknown ones).
const std::string& EndpointLocked(const DesktopState& s, WindowHandle window) {
    static const std::string kNone;
    if (window == 0 || window > s.handleEndpoints.size())
        return kNone;
    return s.handleEndpoints[window - 1];
}

std::string MessageNameLocked(const DesktopState& s, std::uint32_t messageId) {
    if (messageId < kFirstRegisteredId)
        return {};
    const std::size_t i = messageId - kFirstRegisteredId;
    return i < s.messageNames.size() ? s.messageNames[i] : std::string{};
}

std::string AtomTextLocked(const DesktopState& s, std::uint16_t atom) {
    const auto it = s.atoms.find(atom);
    return it == s.atoms.end() ? std::string{} : it->second;
}

std::string EndpointOf(WindowHandle window) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return EndpointLocked(s, window);
}

InProcessWindow* FindInProcess(DesktopState& s, const std::string& endpoint) {
    if (endpoint.rfind(kInProcessPrefix, 0) != 0)
        return nullptr;
    int id = std::atoi(endpoint.c_str() + std::strlen(kInProcessPrefix));
    auto it = s.inProcessWindows.find(id);
    return it == s.inProcessWindows.end() ? nullptr : &it->second;
}

int ConnectTo(const std::string& socketPath) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(addr.sun_path))
        return -1;
    std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // A socket of another user is not one of the user's windows, whatever the
    // window file said.
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
        !PeerIsSameUser(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void DropConnection(DesktopState& s, const std::string& endpoint) {
    auto it = s.connections.find(endpoint);
    if (it == s.connections.end())
        return;
    ::close(it->second);
    s.connections.erase(it);
}

std::vector<char> BuildRequest(wire::RequestKind kind, std::uint32_t sequence, const Message& m,
                               std::int64_t deadlineNs) {
    return wire::EncodeRequest(wire::Request{kind, sequence, deadlineNs, m});
}

// Sends one request over the cached connection to endpoint, reconnecting once
// when the cached connection turns out to be broken. Returns the socket or -1.
int SendRequest(DesktopState& s, const std::string& endpoint, const std::vector<char>& request) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto it = s.connections.find(endpoint);
        int fd = -1;
        if (it != s.connections.end()) {
            fd = it->second;
        } else {
            fd = ConnectTo(endpoint);
            if (fd < 0)
                return -1;
            s.connections[endpoint] = fd;
        }
        ssize_t sent = ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        if (sent == static_cast<ssize_t>(request.size()))
            return fd;
        DropConnection(s, endpoint);
    }
    return -1;
}

}  // namespace

void InitialiseDesktop() {
    State();
}

std::string DesktopDirectory() {
    if (const char* d = std::getenv("CORVANE_DESKTOP"); d && *d)
        return d;
    if (const char* r = std::getenv("XDG_RUNTIME_DIR"); r && *r) {
        return std::string(r) + "/corvane-desktop";
    }
    return "/tmp/corvane-desktop-" + std::to_string(::getuid());
}

WindowHandle FindWindowByClass(std::string_view className) {
    return FindWindow([&](const WindowEntry& e) { return e.className == className; });
}

WindowHandle FindWindowByTitle(std::string_view title) {
    return FindWindow([&](const WindowEntry& e) { return e.title == title; });
}

std::optional<WindowEntry> DescribeWindow(WindowHandle window) {
    const std::string endpoint = EndpointOf(window);
    if (endpoint.empty())
        return std::nullopt;
    auto& s = State();
    {
        std::lock_guard lock(s.mutex);
        if (auto* w = FindInProcess(s, endpoint))
            return w->entry;
        if (endpoint.rfind(kInProcessPrefix, 0) == 0)
            return std::nullopt;
    }
    for (const auto& entry : ScanDesktop()) {
        if (entry.endpoint == endpoint)
            return entry;
    }
    return std::nullopt;
}

bool WindowExists(WindowHandle window) {
    {
        auto& s = State();
        std::lock_guard lock(s.mutex);
        const std::string& endpoint = EndpointLocked(s, window);
        if (endpoint.empty())
            return false;
        if (endpoint.rfind(kInProcessPrefix, 0) == 0)
            return FindInProcess(s, endpoint) != nullptr;
    }
    return DescribeWindow(window).has_value();
}

std::uint32_t RegisterWindowMessage(std::string_view name) {
    if (name.empty())
        return 0;
    auto& s = State();
    std::lock_guard lock(s.mutex);
    for (std::size_t i = 0; i < s.messageNames.size(); ++i) {
        if (s.messageNames[i] == name)
            return kFirstRegisteredId + static_cast<std::uint32_t>(i);
    }
    if (s.messageNames.size() >= 0x3FFF)
        return 0;
    s.messageNames.emplace_back(name);
    return kFirstRegisteredId + static_cast<std::uint32_t>(s.messageNames.size() - 1);
}

std::string RegisteredMessageName(std::uint32_t messageId) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return MessageNameLocked(s, messageId);
}

std::uint16_t AddAtom(std::string_view text) {
    if (text.empty() || text.size() > kMaxTextLength)
        return 0;
    auto& s = State();
    std::lock_guard lock(s.mutex);
    for (int tries = 0; tries < 0x4000; ++tries) {
        std::uint16_t atom = s.nextAtom;
        s.nextAtom = (s.nextAtom == 0xFFFF) ? kFirstRegisteredId : s.nextAtom + 1;
        if (!s.atoms.count(atom)) {
            s.atoms[atom] = std::string(text);
            return atom;
        }
    }
    return 0;
}

bool DeleteAtom(std::uint16_t atom) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return s.atoms.erase(atom) > 0;
}

std::string AtomText(std::uint16_t atom) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return AtomTextLocked(s, atom);
}

SendStatus SendMessageTimeout(WindowHandle window, std::uint32_t messageId, std::uint32_t wParam,
                              std::uint32_t lParam, std::uint32_t timeoutMs, std::uint32_t* answer,
                              std::uint32_t token) {
    auto& s = State();
    std::unique_lock lock(s.mutex);
    // The window, the message's name and the atom's text in one look at the
    // tables: a link exchange sends one message a main cycle.
    const std::string endpoint = EndpointLocked(s, window);
    if (endpoint.empty())
        return SendStatus::NoWindow;
    Message message;
    message.name = MessageNameLocked(s, messageId);
    message.wParam = wParam;
    message.lParam = lParam;
    if (wParam <= 0xFFFF)
        message.atomText = AtomTextLocked(s, static_cast<std::uint16_t>(wParam));
    message.token = token;
    if (message.name.empty())
        return SendStatus::Failed;

    if (endpoint.rfind(kInProcessPrefix, 0) == 0) {
        InProcessWindow* w = FindInProcess(s, endpoint);
        if (!w)
            return SendStatus::NoWindow;
        MessageHandler handler = w->onMessage;  // the handler may publish or remove windows
        lock.unlock();
        std::uint32_t result = handler ? handler(message) : 0;
        if (answer)
            *answer = result;
        return SendStatus::Answered;
    }

    const std::int64_t deadline = MonotonicNs() + static_cast<std::int64_t>(timeoutMs) * 1000000LL;
    const std::uint32_t sequence = s.nextSequence++;
    int fd = SendRequest(s, endpoint,
                         BuildRequest(wire::RequestKind::Send, sequence, message, deadline));
    if (fd < 0)
        return SendStatus::Failed;
    for (;;) {
        std::int64_t remainingNs = deadline - MonotonicNs();
        if (remainingNs <= 0)
            return SendStatus::TimedOut;
        timespec wait{static_cast<time_t>(remainingNs / 1000000000LL),
                      static_cast<long>(remainingNs % 1000000000LL)};
        pollfd p{fd, POLLIN, 0};
        int ready = ::ppoll(&p, 1, &wait, nullptr);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return SendStatus::TimedOut;
        char bytes[wire::kReplySize];
        ssize_t got = ready > 0 ? ::recv(fd, bytes, sizeof bytes, 0) : -1;
        auto reply = got > 0 ? wire::DecodeReply(bytes, std::size_t(got)) : std::nullopt;
        if (!reply) {
            DropConnection(s, endpoint);  // the receiver went away
            return SendStatus::Failed;
        }
        if (reply->sequence != sequence)
            continue;  // a late answer to an earlier message
        if (answer)
            *answer = reply->answer;
        return SendStatus::Answered;
    }
}

bool PostCloseRequest(WindowHandle window) {
    const std::string endpoint = EndpointOf(window);
    if (endpoint.empty())
        return false;
    auto& s = State();
    std::unique_lock lock(s.mutex);
    if (endpoint.rfind(kInProcessPrefix, 0) == 0) {
        InProcessWindow* w = FindInProcess(s, endpoint);
        if (!w)
            return false;
        CloseHandler handler = w->onClose;
        lock.unlock();
        if (handler)
            handler();
        return true;
    }
    Message message;
    message.name = "WM_CLOSE";
    const std::int64_t noDeadline = INT64_MAX;
    return SendRequest(
               s, endpoint,
               BuildRequest(wire::RequestKind::Close, s.nextSequence++, message, noDeadline)) >= 0;
}

}  // namespace corvane::desktop
