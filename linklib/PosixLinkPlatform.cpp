// SPDX-License-Identifier: MIT
//
// The link's operations on the POSIX desktop stand-in.
#include <unistd.h>
#include <ctime>
#include <map>

#include "linklib/LinkPlatform.h"
#include "linklib/Protocol.h"
#include "platform/posix/Desktop.h"
#include "platform/posix/SharedMemory.h"

namespace corvane::link {
namespace {

// How long a client that stopped waiting gives a simulator that had already
// claimed the batch to finish it (the walk itself takes microseconds).
constexpr long kClaimedGraceMs = 1000;

class PosixLinkPlatform final : public LinkPlatform {
  public:
    // The connection is built on this platform and closes through it at
    // unload, so the desktop's tables must be made first and go last.
    PosixLinkPlatform() { desktop::InitialiseDesktop(); }

    WindowRef FindWindowByClass(const char* className) override {
        return desktop::FindWindowByClass(className);
    }

    std::uint32_t RegisterMessage(const char* name) override {
        return desktop::RegisterWindowMessage(name);
    }

    std::uint16_t AddAtom(const std::string& text) override { return desktop::AddAtom(text); }

    void DeleteAtom(std::uint16_t atom) override { desktop::DeleteAtom(atom); }

    MappingRef CreateMapping(const std::string& name, std::size_t size,
                             bool* alreadyExisted) override {
        // Each process killed with its link open left its area behind; the
        // areas of processes that no longer run go before a new one is made.
        desktop::RemoveAreasOfDeadProcesses(std::string(kMessageName) + ":");
        int fd = desktop::CreateSharedArea(name, size + kSyncTrailerSize, alreadyExisted);
        if (fd < 0)
            return 0;
        names_[fd] = name;
        // Descriptors are never 0 here (0 is standard input), but keep the
        // "0 means none" rule safe by offsetting.
        return MappingRef(fd) + 1;
    }

    void* MapView(MappingRef mapping, std::size_t size) override {
        void* view = desktop::MapSharedArea(int(mapping - 1), size + kSyncTrailerSize);
        if (view) {
            auto* trailer = reinterpret_cast<SyncTrailer*>(static_cast<std::uint8_t*>(view) + size);
            trailer->magic = kSyncMagic;
            SyncState(view).store(SyncWord(0, kPhaseIdle));
        }
        return view;
    }

    void UnmapView(void* view, std::size_t size) override {
        desktop::UnmapSharedArea(view, size + kSyncTrailerSize);
    }

    void CloseMapping(MappingRef mapping) override {
        int fd = int(mapping - 1);
        auto it = names_.find(fd);
        std::string name = it == names_.end() ? std::string{} : it->second;
        if (it != names_.end())
            names_.erase(it);
        desktop::CloseSharedArea(fd, name);
    }

    std::uint32_t CurrentProcessId() override { return std::uint32_t(::getpid()); }

    bool SendWithTimeout(WindowRef window, std::uint32_t messageId, std::uint32_t wParam,
                         std::uint32_t lParam, std::uint32_t timeoutMs, void* area,
                         std::uint32_t* answer) override {
        const std::uint32_t sequence = ++sequence_;
        auto state = SyncState(area);
        const std::uint32_t posted = SyncWord(sequence, kPhasePosted);
        state.store(posted, std::memory_order_release);
        auto status = desktop::SendMessageTimeout(desktop::WindowHandle(window), messageId, wParam,
                                                  lParam, timeoutMs, answer, sequence);
        if (status == desktop::SendStatus::Answered)
            return true;
        // Nobody answered in time. Withdraw the batch; if the simulator has
        // already claimed it, let it finish before the area is used again.
        std::uint32_t expected = posted;
        if (state.compare_exchange_strong(expected, SyncWord(sequence, kPhaseIdle),
                                          std::memory_order_acq_rel)) {
            return false;
        }
        for (long waitedMs = 0; waitedMs < kClaimedGraceMs; ++waitedMs) {
            if ((state.load(std::memory_order_acquire) & 3u) != kPhaseClaimed)
                break;
            timespec pause{0, 1000000};
            ::nanosleep(&pause, nullptr);
        }
        return false;
    }

  private:
    std::uint32_t sequence_ = 0;
    std::map<int, std::string> names_;
};

}  // namespace

LinkPlatform& SystemLinkPlatform() {
    static PosixLinkPlatform platform;
    return platform;
}

}  // namespace corvane::link
