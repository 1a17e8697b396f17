// SPDX-License-Identifier: MIT
//
// The simulator's variable space as the IPC module sees it: the module walks a
// request block and reads or writes the space through this adapter.
#pragma once

#include <cstdint>

#include "sim/ipcmodule/ServeBlock.h"
#include "sim/variables/VariableSpace.h"

namespace corvane::sim {

class VariableSpaceAccess final : public ipc::VariableAccess {
  public:
    explicit VariableSpaceAccess(VariableSpace& space) : space_(space) {}

    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) override {
        return space_.Read(offset, size, destination);
    }
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source) override {
        return space_.Write(offset, size, source);
    }

  private:
    VariableSpace& space_;
};

}  // namespace corvane::sim
