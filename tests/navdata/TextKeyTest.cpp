// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "navdata/TextKey.h"

namespace corvane::navdata {
namespace {

// The key table is part of the file format (docs/navdata-formats.md): a change here makes
// every existing airdata.tri unreadable.
TEST(TextKeyTable, DocumentedValues) {
    constexpr TextKeyTable table = BuildTextKeyTable();
    const std::uint8_t expected[27] = {0,    0x6B, 0x1D, 0x88, 0xA5, 0x2D, 0xD2, 0xFF, 0xD1,
                                       0xD0, 0xA1, 0x71, 0x12, 0x83, 0x95, 0x18, 0xAD, 0xC5,
                                       0x72, 0x37, 0xA9, 0xE0, 0x89, 0x69, 0xF2, 0x5B, 0x4D};
    for (int i = 1; i <= 26; ++i) {
        EXPECT_EQ(table.key[i], expected[i]) << "entry " << i;
        if (i >= 3) {
            EXPECT_EQ(table.key[i], static_cast<std::uint8_t>(table.key[i - 1] + table.key[i - 2]));
        }
    }
    EXPECT_EQ(table.startIndex, 26);
}

TEST(UnscrambleText, KeyIndexRunsDownAndWrapsToTheStart) {
    constexpr TextKeyTable table = BuildTextKeyTable();
    const std::string zeros(60, '\0');
    const std::string key = UnscrambleText(zeros);  // 0 xor key = key
    ASSERT_EQ(key.size(), zeros.size());
    for (std::size_t i = 0; i < key.size(); ++i) {
        const int index = 26 - static_cast<int>(i % 26);
        EXPECT_EQ(static_cast<std::uint8_t>(key[i]), table.key[index]) << "character " << i;
    }
    EXPECT_EQ(UnscrambleText("A"), std::string(1, static_cast<char>(0x41 ^ 0x4D)));
}

TEST(UnscrambleText, IsItsOwnInverse) {
    EXPECT_EQ(UnscrambleText(""), "");
    std::mt19937 random(3);
    for (int length = 0; length < 200; ++length) {
        std::string text(static_cast<std::size_t>(length), '\0');
        for (char& c : text) {
            c = static_cast<char>(random() & 0xFF);
        }
        const std::string scrambled = UnscrambleText(text);
        EXPECT_EQ(scrambled.size(), text.size());
        EXPECT_EQ(UnscrambleText(scrambled), text);
        if (length > 0) {
            EXPECT_NE(scrambled, text);  // no key byte is 0
        }
    }
}

}  // namespace
}  // namespace corvane::navdata
