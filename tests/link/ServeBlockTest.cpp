// SPDX-License-Identifier: MIT
//
// The simulator's side of the block: every record served from the variable
// space, and nothing read or written outside the area or the space.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "linklib/Protocol.h"
#include "sim/ipcmodule/ServeBlock.h"

namespace corvane::ipc {
namespace {

using link::StoreWord;

class SmallSpace final : public VariableAccess {
public:
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(256, 0);
    int calls = 0;
    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) override {
        ++calls;
        if (std::uint64_t(offset) + size > bytes.size()) return false;
        std::memcpy(destination, bytes.data() + offset, size);
        return true;
    }
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source) override {
        ++calls;
        if (std::uint64_t(offset) + size > bytes.size()) return false;
        std::memcpy(bytes.data() + offset, source, size);
        return true;
    }
};

struct Block {
    std::vector<std::uint8_t> area = std::vector<std::uint8_t>(link::kAreaSize, 0);
    std::size_t at = 0;
    void Read(std::uint32_t offset, std::uint32_t size) {
        StoreWord(&area[at], 1);
        StoreWord(&area[at + 4], offset);
        StoreWord(&area[at + 8], size);
        at += 16 + size;
    }
    void Write(std::uint32_t offset, std::vector<std::uint8_t> data) {
        StoreWord(&area[at], 2);
        StoreWord(&area[at + 4], offset);
        StoreWord(&area[at + 8], std::uint32_t(data.size()));
        std::memcpy(&area[at + 12], data.data(), data.size());
        at += 12 + data.size();
    }
};

TEST(ServeBlock, FillsReadsAndAppliesWritesInOrder) {
    SmallSpace space;
    space.bytes[0x10] = 0xAB;
    Block block;
    block.Read(0x10, 1);
    block.Write(0x10, {0xCD});
    block.Read(0x10, 1);
    EXPECT_TRUE(ServeBlock(block.area.data(), block.area.size(), space));
    EXPECT_EQ(block.area[16], 0xAB);
    EXPECT_EQ(block.area[17 + 13 + 16], 0xCD) << "a read after a write sees the written value";
    EXPECT_EQ(space.bytes[0x10], 0xCD);
}

TEST(ServeBlock, StopsAtARecordOutsideTheVariableSpace) {
    SmallSpace space;
    Block block;
    block.Write(0x00, {1});
    block.Read(250, 8);  // runs past the 256-byte space
    block.Write(0x01, {2});
    EXPECT_FALSE(ServeBlock(block.area.data(), block.area.size(), space));
    EXPECT_EQ(space.bytes[0], 1);
    EXPECT_EQ(space.bytes[1], 0) << "nothing after the bad record is applied";
}

TEST(ServeBlock, StopsAtARecordRunningPastTheArea) {
    SmallSpace space;
    Block block;
    StoreWord(&block.area[0], 2);
    StoreWord(&block.area[4], 0);
    StoreWord(&block.area[8], 0xFFFFFFF0u);  // a size far beyond the area
    EXPECT_FALSE(ServeBlock(block.area.data(), block.area.size(), space));
    EXPECT_EQ(space.calls, 0);

    // A last record whose header does not fit before the end of the area.
    Block tail;
    tail.Write(0, std::vector<std::uint8_t>(link::kAreaSize - 8 - 12, 0));
    ASSERT_EQ(tail.at, link::kAreaSize - 8);
    StoreWord(&tail.area[tail.at], 1);  // 8 bytes left: a read header needs 16
    EXPECT_FALSE(ServeBlock(tail.area.data(), tail.area.size(), space));
}

TEST(ServeBlock, UnknownKindAndMissingEndWordFail) {
    SmallSpace space;
    Block block;
    StoreWord(&block.area[0], 3);
    EXPECT_FALSE(ServeBlock(block.area.data(), block.area.size(), space));
    std::vector<std::uint8_t> noEnd(link::kAreaSize, 0);
    for (std::size_t i = 0; i + 12 <= noEnd.size(); i += 12) StoreWord(&noEnd[i], 2);
    StoreWord(&noEnd[noEnd.size() - 4], 2);  // the last word starts a record that cannot fit
    EXPECT_FALSE(ServeBlock(noEnd.data(), noEnd.size(), space));
}

TEST(ServeBlock, EmptyBlockIsServed) {
    SmallSpace space;
    Block block;
    EXPECT_TRUE(ServeBlock(block.area.data(), block.area.size(), space));
    EXPECT_EQ(space.calls, 0);
}

}  // namespace
}  // namespace corvane::ipc
