// SPDX-License-Identifier: MIT
#include "sim/variables/VariableSpace.h"

#include <cstring>

namespace corvane::sim {

bool VariableSpace::Read(std::uint32_t offset, std::uint32_t size, void* destination) const {
    if (!InRange(offset, size) || (destination == nullptr && size != 0)) {
        return false;
    }
    if (size != 0) {
        std::memcpy(destination, bytes_.data() + offset, size);
    }
    return true;
}

bool VariableSpace::Write(std::uint32_t offset, std::uint32_t size, const void* source) {
    if (!InRange(offset, size) || (source == nullptr && size != 0)) {
        return false;
    }
    if (size != 0) {
        std::memcpy(bytes_.data() + offset, source, size);
    }
    ++writeCount_;
    return true;
}

std::uint8_t VariableSpace::U8(std::uint32_t offset) const {
    return InRange(offset, 1) ? bytes_[offset] : 0;
}

std::uint16_t VariableSpace::U16(std::uint32_t offset) const {
    if (!InRange(offset, 2)) {
        return 0;
    }
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

std::uint32_t VariableSpace::U32(std::uint32_t offset) const {
    if (!InRange(offset, 4)) {
        return 0;
    }
    return static_cast<std::uint32_t>(bytes_[offset]) |
           (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
}

void VariableSpace::SetU8(std::uint32_t offset, std::uint8_t value) {
    if (InRange(offset, 1)) {
        bytes_[offset] = value;
    }
}

void VariableSpace::SetU16(std::uint32_t offset, std::uint16_t value) {
    if (InRange(offset, 2)) {
        bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
}

void VariableSpace::SetU32(std::uint32_t offset, std::uint32_t value) {
    if (InRange(offset, 4)) {
        for (int i = 0; i < 4; ++i) {
            bytes_[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
        }
    }
}

}  // namespace corvane::sim
