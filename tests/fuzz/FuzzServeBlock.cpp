// SPDX-License-Identifier: MIT
// The IPC module's walk of a request block over an area of any contents and
// size, against the simulator's variable space. The area is exactly as long as
// the input, so the sanitizer sees any byte touched outside it or the space.
#include <cstring>
#include <vector>

#include "sim/inprocess/VariableSpaceAccess.h"
#include "sim/ipcmodule/ServeBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static corvane::sim::VariableSpace space;
    corvane::sim::VariableSpaceAccess access(space);
    std::vector<std::uint8_t> area(data, data + size);
    (void)corvane::ipc::ServeBlock(area.data(), area.size(), access);
    return 0;
}
