// SPDX-License-Identifier: MIT
#include "sim/ipcmodule/ServeBlock.h"

#include "linklib/Protocol.h"

namespace corvane::ipc {

bool ServeBlock(std::uint8_t* area, std::size_t areaSize, VariableAccess& variables) {
    using namespace corvane::link;
    std::size_t at = 0;
    for (;;) {
        if (areaSize - at < 4) return false;
        const std::uint32_t kind = LoadWord(area + at);
        if (kind == kKindEnd) return true;
        if (kind != kKindRead && kind != kKindWrite) return false;
        const std::size_t header = kind == kKindRead ? kReadHeaderSize : kWriteHeaderSize;
        if (areaSize - at < header) return false;
        const std::uint32_t offset = LoadWord(area + at + 4);
        const std::uint32_t size = LoadWord(area + at + 8);
        if (size > areaSize - at - header) return false;
        std::uint8_t* data = area + at + header;
        const bool served = kind == kKindRead ? variables.Read(offset, size, data)
                                              : variables.Write(offset, size, data);
        if (!served) return false;
        at += header + size;
    }
}

}  // namespace corvane::ipc
