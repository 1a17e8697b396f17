// SPDX-License-Identifier: MIT
//
// The variable space of the Win32 test server, as its test client sees it.
// Most of the 64 KiB hold a fixed pattern; a scratch range takes writes; the
// top holds what the server reports and the words that steer it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::win32test {

constexpr std::size_t kVariableSpaceSize = 65536;

// [0, kScratchOffset): the pattern, never written by the tests.
constexpr std::uint32_t kScratchOffset = 0xF000;
constexpr std::uint32_t kScratchEnd = 0xFE00;

// The area name (atom text) of the message being served, NUL-padded.
constexpr std::uint32_t kAreaNameOffset = 0xFE00;
constexpr std::size_t kAreaNameSize = 64;
// The first bytes of the previous block as the client laid them.
constexpr std::uint32_t kLastBlockOffset = 0xFE40;
constexpr std::size_t kLastBlockSize = 64;
// Messages served so far, counted before the walk.
constexpr std::uint32_t kServedCountOffset = 0xFE80;

// Steering words, acted on after the walk and then cleared.
// After answering, look at no message for this many milliseconds.
constexpr std::uint32_t kHoldNextMsOffset = 0xFF00;
// Give record n (from 1) of this block an unknown kind in the answer.
constexpr std::uint32_t kCorruptRecordOffset = 0xFF04;
constexpr std::uint32_t kUnknownKind = 0x7F;

// The pattern byte at an offset of the variable space.
constexpr std::uint8_t PatternByte(std::uint32_t offset) {
    return std::uint8_t((offset * 2654435761u) >> 24);
}

}  // namespace corvane::win32test
