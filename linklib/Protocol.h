// SPDX-License-Identifier: MIT
//
// The FS6IPC request block, as laid by the client and served by the
// simulator's IPC module. All words are 32-bit little-endian; records follow
// each other with no padding, from the start of the shared area:
//
//   read request   1, offset, size, destination, then `size` bytes the simulator fills
//   write request  2, offset, size, then `size` bytes of data to write
//   end of block   0
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace corvane::link {

constexpr std::size_t kAreaSize = 65536;
constexpr std::uint32_t kKindEnd = 0;
constexpr std::uint32_t kKindRead = 1;
constexpr std::uint32_t kKindWrite = 2;
constexpr std::size_t kReadHeaderSize = 16;
constexpr std::size_t kWriteHeaderSize = 12;
constexpr std::size_t kEndWordSize = 4;
constexpr std::uint32_t kTimeoutMs = 2000;
constexpr const char* kMessageName = "FsasmLib:IPC";

inline std::uint32_t LoadWord(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline void StoreWord(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

// On POSIX the shared area carries a small trailer after its 65536 protocol
// bytes, through which client and simulator agree on who owns the block: the
// client posts a batch before sending its message; the simulator claims it
// before touching the block and marks it done afterwards; a client that stops
// waiting cancels a batch that was not claimed yet. So a simulator that wakes
// up late never touches the area while the client lays its next batch. The
// state word holds (sequence << 2) | phase.
struct SyncTrailer {
    std::uint32_t magic;
    std::uint32_t state;
};
constexpr std::uint32_t kSyncMagic = 0x59535643;  // "CVSY"
constexpr std::size_t kSyncTrailerSize = 64;
constexpr std::uint32_t kPhaseIdle = 0;
constexpr std::uint32_t kPhasePosted = 1;
constexpr std::uint32_t kPhaseClaimed = 2;
constexpr std::uint32_t kPhaseDone = 3;

inline std::uint32_t SyncWord(std::uint32_t sequence, std::uint32_t phase) {
    return ((sequence & 0x3FFFFFFFu) << 2) | phase;
}

inline std::atomic_ref<std::uint32_t> SyncState(void* area) {
    auto* trailer = reinterpret_cast<SyncTrailer*>(static_cast<std::uint8_t*>(area) + kAreaSize);
    return std::atomic_ref<std::uint32_t>(trailer->state);
}

inline bool HasSyncTrailer(const void* area, std::size_t mappedSize) {
    if (mappedSize < kAreaSize + sizeof(SyncTrailer)) return false;
    std::uint32_t magic;
    std::memcpy(&magic, static_cast<const std::uint8_t*>(area) + kAreaSize, sizeof magic);
    return magic == kSyncMagic;
}

}  // namespace corvane::link
