// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::navdata {

/// The text key table: 26 key bytes at indexes 1 to 26 (index 0 unused) and the start index.
struct TextKeyTable {
    std::array<std::uint8_t, 27> key{};
    int startIndex = 0;
};

/// Builds the project's key table: key[1] = 0x6B, key[2] = 0x1D and each later entry the sum of
/// the two before it modulo 256 (key[3] = 0x88, ..., key[26] = 0x4D); the start index is 26.
/// The table decides which files the program can read; docs/navdata-formats.md lists it.
constexpr TextKeyTable BuildTextKeyTable() {
    TextKeyTable table;
    table.key[1] = 0x6B;
    table.key[2] = 0x1D;
    for (int i = 3; i <= 26; ++i) {
        table.key[i] = static_cast<std::uint8_t>(table.key[i - 1] + table.key[i - 2]);
    }
    table.startIndex = 26;
    return table;
}

/// Combines every byte of the text by exclusive-or with one key byte: the key index starts at
/// the start index for the first byte, goes down by one per byte and after index 1 begins again
/// at the start index. Scrambles plain text and unscrambles scrambled text alike.
std::string UnscrambleText(std::string_view text);

/// UnscrambleText in place, for the loader and the writer.
void UnscrambleTextInPlace(std::string& text);

}  // namespace corvane::navdata
