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
    ++changeCount_;
    return true;
}

}  // namespace corvane::sim
