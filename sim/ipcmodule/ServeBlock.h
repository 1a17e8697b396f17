// SPDX-License-Identifier: MIT
//
// The simulator's side of the request block: walk the block in the shared area
// and serve each record from the variable space.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::ipc {

// Access to the simulator's variable space. Each call returns false when the
// range runs past the space.
class VariableAccess {
public:
    virtual ~VariableAccess() = default;
    virtual bool Read(std::uint32_t offset, std::uint32_t size, void* destination) = 0;
    virtual bool Write(std::uint32_t offset, std::uint32_t size, const void* source) = 0;
};

// Walks the block from the start of the area: fills the data bytes of every
// read record from the variable space and applies every write record. The walk
// never reads or writes outside the area or the variable space: a record that
// runs past either, or a record of unknown kind, stops it. Returns true when
// the walk reached the end word (the simulator answers 1), false otherwise.
bool ServeBlock(std::uint8_t* area, std::size_t areaSize, VariableAccess& variables);

}  // namespace corvane::ipc
