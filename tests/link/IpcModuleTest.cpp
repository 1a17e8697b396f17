// SPDX-License-Identifier: MIT
//
// The IPC module keeps the areas it has mapped between messages: each message
// must still be served from the area its name names now, whatever the clients
// did in between (closed the area, made a new one of the same name, closed it
// for good), with more names in play than the module keeps.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "linklib/Protocol.h"
#include "platform/posix/SharedMemory.h"
#include "sim/ipcmodule/IpcModule.h"

namespace corvane::ipc {
namespace {

class Space final : public VariableAccess {
  public:
    std::uint8_t byte = 0;
    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) override {
        if (offset != 0 || size != 1)
            return false;
        std::memcpy(destination, &byte, 1);
        return true;
    }
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source) override {
        if (offset != 0 || size != 1)
            return false;
        std::memcpy(&byte, source, 1);
        return true;
    }
};

// A client's area whose block writes its own mark into the variable space.
struct ClientArea {
    std::string name;
    int mapping = -1;
    std::uint8_t* view = nullptr;
    std::uint8_t mark = 0;

    bool Open(const std::string& areaName, std::uint8_t areaMark) {
        name = areaName;
        mark = areaMark;
        bool existed = false;
        mapping = desktop::CreateSharedArea(name, link::kAreaSize, &existed);
        if (mapping < 0)
            return false;
        view = static_cast<std::uint8_t*>(desktop::MapSharedArea(mapping, link::kAreaSize));
        if (!view)
            return false;
        std::memset(view, 0, link::kAreaSize);
        link::StoreWord(view, 2);  // write record: offset 0, one byte, the mark
        link::StoreWord(view + 4, 0);
        link::StoreWord(view + 8, 1);
        view[12] = mark;
        return true;
    }
    void Close() {
        desktop::UnmapSharedArea(view, link::kAreaSize);
        desktop::CloseSharedArea(mapping, name);
        view = nullptr;
        mapping = -1;
    }
    bool IsOpen() const { return view != nullptr; }
};

TEST(IpcModule, ServesTheAreaEachNameNamesNowThroughReplacementsAndClosings) {
    constexpr int kNames = 11;  // more than the module keeps mapped
    std::vector<ClientArea> areas(kNames);
    std::vector<std::string> names;
    for (int i = 0; i < kNames; ++i) {
        // Names of this process's own (as the in-process harness's link makes
        // them) and names of another running process (process 1).
        char process[16];
        std::snprintf(process, sizeof process, "%X", i % 2 == 0 ? unsigned(::getpid()) : 1u);
        names.push_back(std::string(link::kMessageName) + ":" + process + ":ModuleTest" +
                        std::to_string(i));
        desktop::CloseSharedArea(-1, names.back());  // a leftover of an aborted run
    }
    std::mt19937 random(26);
    std::uint8_t nextMark = 1;
    for (int round = 0; round < 4000; ++round) {
        const int i = static_cast<int>(random() % kNames);
        ClientArea& area = areas[static_cast<std::size_t>(i)];
        const unsigned action = random() % 10;
        if (action == 0 && area.IsOpen()) {
            area.Close();  // closed for good (until a later round makes it again)
        } else if ((action == 1 && area.IsOpen()) || !area.IsOpen()) {
            // The client closes its area and makes a new one of the same name.
            if (area.IsOpen())
                area.Close();
            nextMark = static_cast<std::uint8_t>(nextMark % 250 + 1);
            ASSERT_TRUE(area.Open(names[static_cast<std::size_t>(i)], nextMark));
            if (random() % 3 == 0) {
                area.Close();  // gone before its first message
            }
        }
        Space space;
        const std::uint32_t answer = HandleIpcMessage(
            link::kMessageName, names[static_cast<std::size_t>(i)].c_str(), 0, space);
        if (area.IsOpen()) {
            ASSERT_EQ(answer, 1u) << "round " << round;
            ASSERT_EQ(space.byte, area.mark) << "round " << round << ": another area was served";
        } else {
            ASSERT_EQ(answer, 0u) << "round " << round << ": a closed area was served";
            ASSERT_EQ(space.byte, 0) << "round " << round;
        }
    }
    for (auto& area : areas) {
        if (area.IsOpen())
            area.Close();
    }
}

}  // namespace
}  // namespace corvane::ipc
