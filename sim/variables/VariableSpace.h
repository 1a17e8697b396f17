// SPDX-License-Identifier: MIT
//
// The simulator's variable space: a byte-addressed image of 65536 bytes that
// the IPC module serves. Multi-byte values are little-endian whatever the
// host. The space knows nothing about what the bytes mean; the encodings live
// in Encoding.h and the link to the flight model in ImageBinding.h.
#pragma once

#include <array>
#include <cstdint>

namespace corvane::sim {

class VariableSpace {
  public:
    static constexpr std::uint32_t kSize = 65536;

    VariableSpace() { bytes_.fill(0); }

    // Copies size bytes from offset into destination. Returns false, copying
    // nothing, when offset + size runs past the end of the space or when
    // destination is null and size is not 0.
    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) const;

    // Copies size bytes from source to offset. Returns false, changing
    // nothing, when offset + size runs past the end or source is null and
    // size is not 0.
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source);

    // Typed little-endian access. An access that runs past the end reads 0
    // and writes nothing (the offsets used by the simulator are constants
    // well inside the space). Defined here: the simulator reads its inputs
    // and writes its outputs through them at every step.
    std::uint8_t U8(std::uint32_t offset) const { return InRange(offset, 1) ? bytes_[offset] : 0; }
    std::uint16_t U16(std::uint32_t offset) const {
        if (!InRange(offset, 2))
            return 0;
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::int16_t I16(std::uint32_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
    std::uint32_t U32(std::uint32_t offset) const {
        if (!InRange(offset, 4))
            return 0;
        return static_cast<std::uint32_t>(bytes_[offset]) |
               (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
    }
    std::int32_t I32(std::uint32_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

    void SetU8(std::uint32_t offset, std::uint8_t value) {
        if (InRange(offset, 1)) {
            bytes_[offset] = value;
            ++changeCount_;
        }
    }
    void SetU16(std::uint32_t offset, std::uint16_t value) {
        if (InRange(offset, 2)) {
            bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
            bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
            ++changeCount_;
        }
    }
    void SetI16(std::uint32_t offset, std::int16_t value) {
        SetU16(offset, static_cast<std::uint16_t>(value));
    }
    void SetU32(std::uint32_t offset, std::uint32_t value) {
        if (InRange(offset, 4)) {
            for (int i = 0; i < 4; ++i)
                bytes_[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
            ++changeCount_;
        }
    }
    void SetI32(std::uint32_t offset, std::int32_t value) {
        SetU32(offset, static_cast<std::uint32_t>(value));
    }

    // Number of successful Write calls so far; lets a caller notice that the
    // program wrote something between two steps.
    std::uint64_t WriteCount() const { return writeCount_; }
    // Number of changes of any kind so far (Write calls and typed sets, by
    // the program or by the simulator itself): what was read from the space
    // still stands while this count has not moved.
    std::uint64_t ChangeCount() const { return changeCount_; }

  private:
    static bool InRange(std::uint32_t offset, std::uint32_t size) {
        return static_cast<std::uint64_t>(offset) + size <= kSize;
    }

    std::array<std::uint8_t, kSize> bytes_;
    std::uint64_t writeCount_ = 0;
    std::uint64_t changeCount_ = 0;
};

}  // namespace corvane::sim
