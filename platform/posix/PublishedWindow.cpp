// SPDX-License-Identifier: MIT
//
// The owner's side of the desktop stand-in: a window published in the desktop
// directory (its description file and the socket its messages come in on), or
// inside this process only, and the serving of the messages sent to it.
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/posix/Desktop.h"
#include "platform/posix/DesktopState.h"
#include "platform/posix/DesktopTrust.h"
#include "platform/posix/DesktopWire.h"

namespace corvane::desktop {

using detail::kInProcessPrefix;
using detail::MonotonicNs;
using detail::State;

struct PublishedWindow::Impl {
    WindowEntry entry;
    MessageHandler onMessage;
    CloseHandler onClose;
    bool inProcess = false;
    int inProcessId = 0;
    int listenFd = -1;
    int epollFd = -1;
    std::string windowFile;
    std::string error;
    bool published = false;

    bool WriteWindowFile() {
        const std::string temp = windowFile + ".tmp";
        {
            std::ofstream out(temp, std::ios::trunc);
            if (!out)
                return false;
            out << wire::FormatWindowText(entry);
            if (!out.flush())
                return false;
        }
        return ::rename(temp.c_str(), windowFile.c_str()) == 0;
    }

    bool Publish() {
        const std::string dir = DesktopDirectory();
        if (!PrepareDesktopDirectory(&error))
            return false;
        int number;
        {
            auto& s = State();
            std::lock_guard lock(s.mutex);
            number = s.nextPublishedNumber++;
        }
        const std::string base =
            dir + "/" + std::to_string(entry.pid) + "." + std::to_string(number);
        entry.endpoint = base + ".sock";
        windowFile = base + ".win";
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (entry.endpoint.size() >= sizeof(addr.sun_path)) {
            error = "the desktop directory's path is too long for a socket: " + entry.endpoint;
            return false;
        }
        std::memcpy(addr.sun_path, entry.endpoint.c_str(), entry.endpoint.size() + 1);
        ::unlink(entry.endpoint.c_str());
        listenFd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (listenFd < 0 ||
            ::bind(listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(listenFd, 16) != 0) {
            error = "cannot listen on " + entry.endpoint + ": " + std::strerror(errno);
            return false;
        }
        epollFd = ::epoll_create1(EPOLL_CLOEXEC);
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.fd = listenFd;
        if (epollFd < 0 || ::epoll_ctl(epollFd, EPOLL_CTL_ADD, listenFd, &ev) != 0) {
            error = std::string("cannot watch the window's socket: ") + std::strerror(errno);
            return false;
        }
        if (!WriteWindowFile()) {
            error = "cannot write " + windowFile + ": " + std::strerror(errno);
            return false;
        }
        return true;
    }

    // Accepts every waiting connection and handles what has already arrived on it.
    int AcceptAll() {
        int handled = 0;
        for (;;) {
            int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0)
                return handled;
            if (!PeerIsSameUser(fd)) {  // only the user's own processes may send messages
                ::close(fd);
                continue;
            }
            epoll_event ev{};
            ev.events = EPOLLIN;
            ev.data.fd = fd;
            if (::epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &ev) != 0) {
                ::close(fd);
                continue;
            }
            handled += ServeClient(fd);
        }
    }

    void CloseClient(int fd) {
        ::epoll_ctl(epollFd, EPOLL_CTL_DEL, fd, nullptr);
        ::close(fd);
    }

    // Handles the next message waiting on one client connection (the watch is
    // level-triggered: a further message wakes the owner again). Returns 1 when
    // a message was handled.
    int ServeClient(int fd) {
        std::vector<char> buffer(wire::MaxRequestSize());
        ssize_t got = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return 0;
        if (got <= 0) {
            CloseClient(fd);
            return 0;
        }
        auto request = wire::DecodeRequest(buffer.data(), std::size_t(got));
        if (!request)
            return 0;  // not a message of this desktop: ignored
        if (request->kind == wire::RequestKind::Close) {
            if (onClose)
                onClose();
            return 1;
        }
        // The sender stops waiting at its deadline; a message that comes up
        // after it is dropped unhandled.
        if (MonotonicNs() > request->deadlineNs)
            return 0;
        char reply[wire::kReplySize];
        wire::EncodeReply({request->sequence, onMessage ? onMessage(request->message) : 0u}, reply);
        ::send(fd, reply, sizeof reply, MSG_NOSIGNAL | MSG_DONTWAIT);
        return 1;
    }
};
PublishedWindow::PublishedWindow(std::string className, std::string title, std::uint64_t nativeId,
                                 MessageHandler onMessage, CloseHandler onClose, bool inProcess)
    : impl_(std::make_unique<Impl>()) {
    impl_->entry.className = std::move(className);
    impl_->entry.title = std::move(title);
    impl_->entry.pid = ::getpid();
    impl_->entry.nativeId = nativeId;
    impl_->onMessage = std::move(onMessage);
    impl_->onClose = std::move(onClose);
    impl_->inProcess = inProcess;
    if (inProcess) {
        auto& s = State();
        std::lock_guard lock(s.mutex);
        impl_->inProcessId = s.nextInProcessId++;
        impl_->entry.endpoint = kInProcessPrefix + std::to_string(impl_->inProcessId);
        s.inProcessWindows[impl_->inProcessId] = {impl_->entry, impl_->onMessage, impl_->onClose};
        impl_->published = true;
        return;
    }
    impl_->published = impl_->Publish();
}

PublishedWindow::~PublishedWindow() {
    if (impl_->inProcess) {
        auto& s = State();
        std::lock_guard lock(s.mutex);
        s.inProcessWindows.erase(impl_->inProcessId);
        return;
    }
    if (!impl_->windowFile.empty())
        ::unlink(impl_->windowFile.c_str());
    if (impl_->listenFd >= 0) {
        ::close(impl_->listenFd);
        ::unlink(impl_->entry.endpoint.c_str());
    }
    if (impl_->epollFd >= 0)
        ::close(impl_->epollFd);
}

bool PublishedWindow::IsPublished() const {
    return impl_->published;
}
const std::string& PublishedWindow::Error() const {
    return impl_->error;
}
int PublishedWindow::WaitDescriptor() const {
    return impl_->inProcess ? -1 : impl_->epollFd;
}

int PublishedWindow::ProcessPending(int timeoutMs) {
    if (impl_->inProcess || !impl_->published)
        return 0;
    epoll_event events[16];
    int n = ::epoll_wait(impl_->epollFd, events, 16, timeoutMs);
    int handled = 0;
    for (int i = 0; i < n; ++i) {
        if (events[i].data.fd == impl_->listenFd) {
            handled += impl_->AcceptAll();
        } else {
            handled += impl_->ServeClient(events[i].data.fd);
        }
    }
    return handled;
}

void PublishedWindow::SetNativeId(std::uint64_t nativeId) {
    impl_->entry.nativeId = nativeId;
    if (impl_->inProcess) {
        auto& s = State();
        std::lock_guard lock(s.mutex);
        s.inProcessWindows[impl_->inProcessId].entry.nativeId = nativeId;
    } else if (impl_->published) {
        impl_->WriteWindowFile();
    }
}

}  // namespace corvane::desktop
