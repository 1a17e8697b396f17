// SPDX-License-Identifier: MIT
//
// Loads the simulator's IPC module from its modules/ folder. Without the
// module the simulator does not serve the link's message (it answers 0).
#pragma once

#include <cstdint>
#include <string>

#include "platform/posix/Desktop.h"
#include "sim/ipcmodule/IpcModule.h"

namespace corvane::sim {

class ModuleLoader {
  public:
    // Loads <folder>/modules/FS6IPC.dll; IsLoaded() tells whether it worked.
    explicit ModuleLoader(const std::string& simulatorFolder);
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    bool IsLoaded() const { return handleMessage_ != nullptr; }
    const std::string& ModulePath() const { return path_; }
    const std::string& Error() const { return error_; }

    // Passes one window message to the module; 0 without a module.
    std::uint32_t Handle(const desktop::Message& message, ipc::VariableAccess& variables) const;

  private:
    std::string path_;
    std::string error_;
    void* library_ = nullptr;
    Fs6ipcHandleMessageFunction handleMessage_ = nullptr;
};

}  // namespace corvane::sim
