// SPDX-License-Identifier: MIT
//
// The link's connection and its request block, byte for byte, against a
// simulator in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "linklib/Connection.h"
#include "linklib/Protocol.h"
#include "tests/link/FakeLinkPlatform.h"

namespace corvane::link {
namespace {

using testing::FakeLinkPlatform;

std::vector<std::uint8_t> Words(std::initializer_list<std::uint32_t> words) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t w : words) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(std::uint8_t(w >> (8 * i)));
    }
    return bytes;
}

class ConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override { platform.windows["FS98MAIN"] = 7; }
    void Open() {
        ASSERT_EQ(link.fsworking(), 2);
        ASSERT_EQ(link.startit(), 1);
    }
    std::vector<std::uint8_t> AreaBytes(std::size_t count) const {
        return {platform.area.begin(), platform.area.begin() + long(count)};
    }
    FakeLinkPlatform platform;
    Connection link{platform};
};

TEST(ConnectionNames, AreaNameIsUpperCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(Connection::MakeAreaName(420, 0), "FsasmLib:IPC:1A4:0");
    EXPECT_EQ(Connection::MakeAreaName(0x0ABC, 0x1F), "FsasmLib:IPC:ABC:1F");
}

TEST_F(ConnectionTest, FsworkingPrefersSimulatorSixThenNinetyEightThenCfs) {
    platform.windows = {{"MSCFSMAIN", 3}, {"FS98MAIN", 2}};
    EXPECT_EQ(link.fsworking(), 2);
    EXPECT_EQ(link.LastWindow(), 2u);
    platform.windows["FS6MAIN"] = 1;
    EXPECT_EQ(link.fsworking(), 3);
    platform.windows = {{"MSCFSMAIN", 3}};
    EXPECT_EQ(link.fsworking(), 4);
    platform.windows.clear();
    EXPECT_EQ(link.fsworking(), 1);
    EXPECT_EQ(link.LastWindow(), 0u);
}

TEST_F(ConnectionTest, BatchIsLaidByteForByte) {
    Open();
    std::uint32_t heading = 0;
    std::uint8_t status[3] = {};
    const std::uint16_t throttle = 0x1234;
    const std::int32_t altitude = -2;
    ASSERT_EQ(link.startmessage(), 1);
    ASSERT_EQ(link.rawreadDWORD(0x0580, &heading), 1);
    ASSERT_EQ(link.rawwritexbytes(2, 0x088C, &throttle), 1);
    ASSERT_EQ(link.rawreadxbytes(3, 0x0364, status), 1);
    ASSERT_EQ(link.rawwriteDWORD(0x07D4, &altitude), 1);
    EXPECT_EQ(link.CursorOffset(), 20u + 14u + 19u + 16u);

    std::vector<std::uint8_t> seen;
    platform.simulator = [&](std::uint8_t* area) {
        seen.assign(area, area + 20 + 14 + 19 + 16 + 4);
        std::memcpy(area + 16, "\x78\x56\x34\x12", 4);   // heading read
        std::memcpy(area + 34 + 16, "\x01\x02\x03", 3);  // status read
        return 1u;
    };
    ASSERT_EQ(link.sendmessage(), 1);

    std::vector<std::uint8_t> expected;
    auto append = [&](const std::vector<std::uint8_t>& b) {
        expected.insert(expected.end(), b.begin(), b.end());
    };
    append(Words({1, 0x0580, 4, 0}));  // destination word: index 0 of the batch's table
    append({0xEE, 0xEE, 0xEE, 0xEE});  // data bytes of a read are not cleared
    append(Words({2, 0x088C, 2}));
    append({0x34, 0x12});
    append(Words({1, 0x0364, 3, 1}));
    append({0xEE, 0xEE, 0xEE});
    append(Words({2, 0x07D4, 4}));
    append({0xFE, 0xFF, 0xFF, 0xFF});
    append(Words({0}));
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(heading, 0x12345678u);
    EXPECT_EQ(status[2], 3);
    EXPECT_EQ(link.CursorOffset(), 0u) << "a successful send resets the cursor";
    EXPECT_EQ(platform.lastSendWindow, 7u);
    EXPECT_EQ(platform.lastSendParam, 0xC001u) << "the atom is the first parameter";
}

TEST_F(ConnectionTest, RequestsThatDoNotFitWithTheEndWordAreRefused) {
    Open();
    static std::uint8_t big[kAreaSize];
    // A read of 65516 bytes takes 65532 + end word 4 = 65536: fits exactly.
    EXPECT_EQ(link.rawreadxbytes(int(kAreaSize - 16 - 4), 0, big), 1);
    EXPECT_EQ(link.rawreadxbytes(0, 0, big), 0) << "no room left for another record";
    EXPECT_EQ(link.CursorOffset(), kAreaSize - 4);
    ASSERT_EQ(link.startmessage(), 1);
    EXPECT_EQ(link.rawwritexbytes(int(kAreaSize - 12 - 3), 0, big), 0);
    EXPECT_EQ(link.rawwritexbytes(-1, 0, big), 0);
    EXPECT_EQ(link.rawreadxbytes(-5, 0, big), 0);
    EXPECT_EQ(link.CursorOffset(), 0u) << "a refused request lays nothing";
}

TEST_F(ConnectionTest, EmptyBatchSendsOnlyTheEndWord) {
    Open();
    std::vector<std::uint8_t> seen;
    platform.simulator = [&](std::uint8_t* area) {
        seen.assign(area, area + 8);
        return 1u;
    };
    ASSERT_EQ(link.startmessage(), 1);
    EXPECT_EQ(link.sendmessage(), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(seen.begin(), seen.begin() + 4), Words({0}));
    platform.simulator = [](std::uint8_t*) { return 0u; };
    EXPECT_EQ(link.sendmessage(), 0) << "an answer other than 1 is a failure";
}

TEST_F(ConnectionTest, ZeroSizeReadTakesSixteenBytesAndCopiesNothing) {
    Open();
    std::uint32_t untouched = 0xCAFEBABE;
    std::uint32_t after = 0;
    link.startmessage();
    link.rawreadxbytes(0, 0x0100, &untouched);
    EXPECT_EQ(link.CursorOffset(), 16u);
    link.rawreadDWORD(0x0200, &after);
    platform.simulator = [](std::uint8_t* area) {
        std::memcpy(area + 16 + 16, "\x01\x00\x00\x00", 4);
        return 1u;
    };
    ASSERT_EQ(link.sendmessage(), 1);
    EXPECT_EQ(untouched, 0xCAFEBABEu);
    EXPECT_EQ(after, 1u);
}

TEST_F(ConnectionTest, UnknownKindInTheAnswerCopiesOnlyTheReadsBeforeIt) {
    Open();
    std::uint32_t first = 0, second = 0;
    link.startmessage();
    link.rawreadDWORD(0x10, &first);
    link.rawreadDWORD(0x20, &second);
    platform.simulator = [](std::uint8_t* area) {
        std::memcpy(area + 16, "\x11\x00\x00\x00", 4);
        StoreWord(area + 20, 9);  // the second record's kind is damaged
        std::memcpy(area + 36, "\x22\x00\x00\x00", 4);
        return 1u;
    };
    EXPECT_EQ(link.sendmessage(), 0);
    EXPECT_EQ(first, 0x11u);
    EXPECT_EQ(second, 0u);
    EXPECT_EQ(link.CursorOffset(), 0u);
}

// A simulator may rewrite the whole area. The answer is copied by the batch
// the link laid: a read record whose size or place changed ends the copying,
// and a destination word never chooses where the bytes go.
TEST_F(ConnectionTest, AnswerIsCopiedOnlyIntoTheBuffersAsTheLinkLaidThem) {
    struct Case {
        const char* what;
        std::function<void(std::uint8_t*)> rewrite;
        std::uint32_t first, second;  // what the two destinations hold afterwards
        std::int32_t result;
    };
    const Case cases[] = {
        {"untouched headers", [](std::uint8_t*) {}, 0x11, 0x22, 1},
        {"first size enlarged", [](std::uint8_t* a) { StoreWord(a + 8, 4000); }, 0, 0, 0},
        {"second size shrunk", [](std::uint8_t* a) { StoreWord(a + 28, 2); }, 0x11, 0, 0},
        {"destinations swapped",
         [](std::uint8_t* a) {
             StoreWord(a + 12, 1);
             StoreWord(a + 32, 0);
         },
         0x11, 0x22, 1},
        {"a third read slipped in before the end",
         [](std::uint8_t* a) {
             StoreWord(a + 40, kKindRead);
             StoreWord(a + 48, 4);
             StoreWord(a + 52, 0);
             StoreWord(a + 60, kKindEnd);
         },
         0x11, 0x22, 0},
    };
    Open();
    for (const auto& c : cases) {
        std::uint32_t first = 0, second = 0;
        link.startmessage();
        link.rawreadDWORD(0x10, &first);
        link.rawreadDWORD(0x20, &second);
        platform.simulator = [&](std::uint8_t* area) {
            StoreWord(area + 16, 0x11);
            StoreWord(area + 36, 0x22);
            c.rewrite(area);
            return 1u;
        };
        EXPECT_EQ(link.sendmessage(), c.result) << c.what;
        EXPECT_EQ(first, c.first) << c.what;
        EXPECT_EQ(second, c.second) << c.what;
    }
}

TEST_F(ConnectionTest, ReadsAreCopiedEvenWhenTheAnswerIsNotOne) {
    Open();
    std::uint32_t value = 0;
    link.startmessage();
    link.rawreadDWORD(0x10, &value);
    platform.simulator = [](std::uint8_t* area) {
        std::memcpy(area + 16, "\x05\x00\x00\x00", 4);
        return 0u;
    };
    EXPECT_EQ(link.sendmessage(), 0);
    EXPECT_EQ(value, 5u);
}

TEST_F(ConnectionTest, FailedSendKeepsTheCursor) {
    Open();
    std::uint32_t value = 0;
    link.startmessage();
    link.rawreadDWORD(0x10, &value);
    platform.failSend = true;
    EXPECT_EQ(link.sendmessage(), 0);
    EXPECT_EQ(link.CursorOffset(), 20u);
}

TEST_F(ConnectionTest, SecondStartitKeepsTheFirstConnection) {
    Open();
    const std::string name = link.AreaName();
    const std::uint8_t* view = link.View();
    EXPECT_EQ(link.startit(), 0);
    EXPECT_EQ(link.AreaName(), name);
    EXPECT_EQ(link.View(), view);
    EXPECT_EQ(link.InstanceCounter(), 1u);
}

TEST_F(ConnectionTest, EachOpenAttemptTakesTheNextInstanceNumber) {
    platform.failAtom = true;
    EXPECT_EQ(link.startit(), 0);
    platform.failAtom = false;
    platform.mappingExists = true;
    EXPECT_EQ(link.startit(), 0);
    platform.mappingExists = false;
    platform.failMap = true;
    EXPECT_EQ(link.startit(), 0);
    platform.failMap = false;
    EXPECT_EQ(link.startit(), 1);
    EXPECT_EQ(platform.atomTexts,
              (std::vector<std::string>{"FsasmLib:IPC:1A4:0", "FsasmLib:IPC:1A4:1",
                                        "FsasmLib:IPC:1A4:2", "FsasmLib:IPC:1A4:3"}));
    EXPECT_EQ(platform.liveAtoms, 1) << "failed opens give their atoms back";
    EXPECT_EQ(platform.liveMappings, 1);
    EXPECT_EQ(platform.liveViews, 1);
}

TEST_F(ConnectionTest, UnregisteredMessageFailsTheOpenButUsesAnInstance) {
    platform.failRegister = true;
    EXPECT_EQ(link.startit(), 0);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.InstanceCounter(), 1u);
}

TEST_F(ConnectionTest, NoWindowFoundOpensTheAreaButEverySendFails) {
    platform.windows.clear();
    EXPECT_EQ(link.fsworking(), 1);
    EXPECT_EQ(link.startit(), 1);
    std::uint32_t value = 0;
    EXPECT_EQ(link.readDWORD(0x10, &value), 0);
}

TEST_F(ConnectionTest, EverythingFailsOnAClosedConnection) {
    std::uint32_t value = 0;
    auto expectAllZero = [&] {
        EXPECT_EQ(link.startmessage(), 0);
        EXPECT_EQ(link.rawreadxbytes(4, 0, &value), 0);
        EXPECT_EQ(link.rawwritexbytes(4, 0, &value), 0);
        EXPECT_EQ(link.rawreadDWORD(0, &value), 0);
        EXPECT_EQ(link.rawwriteDWORD(0, &value), 0);
        EXPECT_EQ(link.sendmessage(), 0);
        EXPECT_EQ(link.readDWORD(0, &value), 0);
        EXPECT_EQ(link.writeDWORD(0, &value), 0);
        EXPECT_EQ(link.readxbytes(4, 0, &value), 0);
        EXPECT_EQ(link.writexbytes(4, 0, &value), 0);
    };
    expectAllZero();
    EXPECT_EQ(platform.sends, 0);
    Open();
    EXPECT_EQ(link.stopit(), 0);
    EXPECT_EQ(link.stopit(), 0) << "closing again is harmless";
    expectAllZero();
    EXPECT_EQ(platform.sends, 0);
    EXPECT_EQ(platform.liveAtoms, 0);
    EXPECT_EQ(platform.liveViews, 0);
    EXPECT_EQ(platform.liveMappings, 0);
    EXPECT_EQ(link.TimeoutMs(), 2000u);
    EXPECT_EQ(link.startit(), 1) << "a new start after stopit opens instance 1";
    EXPECT_EQ(link.AreaName(), "FsasmLib:IPC:1A4:1");
}

TEST_F(ConnectionTest, SingleExchangeDiscardsAHalfBuiltBatch) {
    Open();
    std::uint32_t ignored = 0, value = 0;
    link.startmessage();
    link.rawreadDWORD(0x10, &ignored);
    std::vector<std::uint8_t> seen;
    platform.simulator = [&](std::uint8_t* area) {
        seen.assign(area, area + 24);
        std::memcpy(area + 16, "\x07\x00\x00\x00", 4);
        return 1u;
    };
    EXPECT_EQ(link.readDWORD(0x20, &value), 1);
    EXPECT_EQ(LoadWord(seen.data() + 4), 0x20u);
    EXPECT_EQ(LoadWord(seen.data() + 20), 0u) << "only the single request, then the end";
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(ignored, 0u);
}

TEST_F(ConnectionTest, WriteDataIsTakenWhenTheRequestIsLaid) {
    Open();
    std::uint32_t value = 1;
    link.startmessage();
    link.rawwriteDWORD(0x30, &value);
    value = 2;
    EXPECT_EQ(LoadWord(platform.area.data() + 12), 1u);
}

}  // namespace
}  // namespace corvane::link
