// SPDX-License-Identifier: MIT
#include "sim/ipcmodule/IpcModule.h"

#include <sys/stat.h>
#include <cstring>
#include <string>
#include <string_view>

#include "linklib/Protocol.h"
#include "platform/posix/SharedMemory.h"

namespace corvane::ipc {
namespace {

// The areas the module has mapped, kept between messages so that a batch costs
// no mapping work. An entry is valid while its name still names the same
// object: the client may have closed it and another process may reuse the
// name. The entry keeps the area's descriptor open to tell that with one look
// at it; an open descriptor does not keep the name, so a client that closes
// its area can remove the name and a new area of that name can be made.
struct MappedArea {
    std::string name;
    bool ownName = false;  // named by this process's own number (the in-process harness)
    unsigned version = 0;  // desktop::AreaNamesVersion() when last found named
    int mapping = -1;
    std::uint8_t* view = nullptr;
    std::size_t size = 0;
    unsigned lastUse = 0;
};

class AreaCache {
  public:
    ~AreaCache() {
        for (auto& a : areas_)
            Release(a);
    }

    MappedArea* Open(std::string_view name) {
        ++clock_;
        for (auto& a : areas_) {
            if (!a.view || a.name != name)
                continue;
            // A name of this process's own that this process has neither made
            // nor removed anything since still names the kept area.
            if (a.ownName && a.version == desktop::AreaNamesVersion()) {
                a.lastUse = clock_;
                return &a;
            }
            // The name is removed before it can name another area: while the
            // kept area has it, the name still names the kept area.
            if (desktop::SharedAreaStillNamed(a.mapping)) {
                a.version = desktop::AreaNamesVersion();
                a.lastUse = clock_;
                return &a;
            }
            Release(a);  // closed by its client: the name, if taken again, is another area
        }
        // A name not kept (or kept no longer) is made a string only now.
        const std::string nameText(name);
        int fd = desktop::OpenSharedArea(nameText);
        if (fd < 0)
            return nullptr;
        struct stat st {};
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
            if (a.lastUse < slot->lastUse)
                slot = &a;
        }
        Release(*slot);
        const auto size = static_cast<std::size_t>(st.st_size);
        void* view = desktop::MapSharedArea(fd, size);
        if (!view) {
            desktop::CloseSharedArea(fd);
            return nullptr;
        }
        *slot = MappedArea{nameText,
                           desktop::IsOwnAreaName(nameText, std::string(link::kMessageName) + ":"),
                           desktop::AreaNamesVersion(),
                           fd,
                           static_cast<std::uint8_t*>(view),
                           size,
                           clock_};
        return slot;
    }

  private:
    static void Release(MappedArea& a) {
        if (a.view)
            desktop::UnmapSharedArea(a.view, a.size);
        if (a.mapping >= 0)
            desktop::CloseSharedArea(a.mapping);
        a = MappedArea{};
    }

    MappedArea areas_[8];
    unsigned clock_ = 0;
};

AreaCache& Areas() {
    static AreaCache cache;
    return cache;
}

}  // namespace

std::uint32_t HandleIpcMessage(const char* messageName, const char* atomText, std::uint32_t token,
                               VariableAccess& variables) {
    if (!messageName || std::strcmp(messageName, link::kMessageName) != 0)
        return 0;
    if (!atomText || !*atomText)
        return 0;
    MappedArea* area = Areas().Open(atomText);
    if (!area)
        return 0;
    const bool synchronised = link::HasSyncTrailer(area->view, area->size);
    if (synchronised) {
        // Only a batch that its client is still waiting for is served.
        std::uint32_t expected = link::SyncWord(token, link::kPhasePosted);
        if (!link::SyncState(area->view)
                 .compare_exchange_strong(expected, link::SyncWord(token, link::kPhaseClaimed),
                                          std::memory_order_acq_rel)) {
            return 0;
        }
    }
    const bool served = ServeBlock(area->view, link::kAreaSize, variables);
    if (synchronised) {
        link::SyncState(area->view)
            .store(link::SyncWord(token, link::kPhaseDone), std::memory_order_release);
    }
    return served ? 1 : 0;
}

}  // namespace corvane::ipc
