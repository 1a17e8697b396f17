// SPDX-License-Identifier: MIT
#include "sim/ipcmodule/IpcModule.h"

#include <cstring>
#include <string>
#include <sys/stat.h>

#include "linklib/Protocol.h"
#include "platform/posix/SharedMemory.h"

namespace corvane::ipc {
namespace {

// The areas the module has mapped, kept between messages so that a batch costs
// no mapping work. An entry is valid while its name still names the same
// object (the client may have closed it and another process may reuse the
// name).
struct MappedArea {
    std::string name;
    dev_t device = 0;
    ino_t inode = 0;
    std::uint8_t* view = nullptr;
    std::size_t size = 0;
    unsigned lastUse = 0;
};

class AreaCache {
public:
    ~AreaCache() {
        for (auto& a : areas_) desktop::UnmapSharedArea(a.view, a.size);
    }

    MappedArea* Open(const std::string& name) {
        ++clock_;
        // A mapped area whose name still names the same object is used as it
        // is; one look at the object's identity costs far less than opening it.
        struct stat st {};
        if (desktop::StatSharedArea(name, &st)) {
            for (auto& a : areas_) {
                if (a.view && a.name == name && a.device == st.st_dev && a.inode == st.st_ino) {
                    a.lastUse = clock_;
                    return &a;
                }
            }
        }
        int fd = desktop::OpenSharedArea(name);
        if (fd < 0) return nullptr;
        if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(link::kAreaSize)) {
            desktop::CloseSharedArea(fd);
            return nullptr;
        }
        MappedArea* slot = &areas_[0];
        for (auto& a : areas_) {
            if (!a.view) {
                slot = &a;
                break;
            }
            if (a.lastUse < slot->lastUse) slot = &a;
        }
        if (slot->view) desktop::UnmapSharedArea(slot->view, slot->size);
        *slot = MappedArea{};
        const auto size = static_cast<std::size_t>(st.st_size);
        void* view = desktop::MapSharedArea(fd, size);
        desktop::CloseSharedArea(fd);
        if (!view) return nullptr;
        *slot = MappedArea{name, st.st_dev, st.st_ino, static_cast<std::uint8_t*>(view), size, clock_};
        return slot;
    }

private:
    MappedArea areas_[8];
    unsigned clock_ = 0;
};

AreaCache& Areas() {
    static AreaCache cache;
    return cache;
}

}  // namespace

std::uint32_t HandleIpcMessage(const char* messageName, const char* atomText,
                               std::uint32_t token, VariableAccess& variables) {
    if (!messageName || std::strcmp(messageName, link::kMessageName) != 0) return 0;
    if (!atomText || !*atomText) return 0;
    MappedArea* area = Areas().Open(atomText);
    if (!area) return 0;
    const bool synchronised = link::HasSyncTrailer(area->view, area->size);
    if (synchronised) {
        // Only a batch that its client is still waiting for is served.
        std::uint32_t expected = link::SyncWord(token, link::kPhasePosted);
        if (!link::SyncState(area->view).compare_exchange_strong(
                expected, link::SyncWord(token, link::kPhaseClaimed), std::memory_order_acq_rel)) {
            return 0;
        }
    }
    const bool served = ServeBlock(area->view, link::kAreaSize, variables);
    if (synchronised) {
        link::SyncState(area->view).store(link::SyncWord(token, link::kPhaseDone),
                                          std::memory_order_release);
    }
    return served ? 1 : 0;
}

}  // namespace corvane::ipc
