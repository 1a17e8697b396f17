// SPDX-License-Identifier: MIT
//
// The IPC module of the simulator (FS6IPC.dll): answers the registered message
// "FsasmLib:IPC" by opening the shared area named by the atom's text and
// serving its request block from the variable space.
//
// The module is a shared library that the simulator loads from its modules/
// folder; the simulator passes each message to the exported C function
// Fs6ipcHandleMessage. The same code is linked into the in-process simulator
// of the headless harness.
#pragma once

#include <cstdint>

#include "sim/ipcmodule/ServeBlock.h"

extern "C" {

// What the simulator hands the module for one message: read and write the
// variable space (each returns 0 when the range runs past the space).
struct Fs6ipcVariables {
    void* context;
    int (*read)(void* context, std::uint32_t offset, std::uint32_t size, void* destination);
    int (*write)(void* context, std::uint32_t offset, std::uint32_t size, const void* source);
};

// Handles one window message; returns the answer (1 when the block was served).
using Fs6ipcHandleMessageFunction = std::uint32_t (*)(const char* messageName,
                                                      const char* atomText, std::uint32_t token,
                                                      const Fs6ipcVariables* variables);
}

namespace corvane::ipc {

constexpr const char* kHandleMessageSymbol = "Fs6ipcHandleMessage";

// The module's work for one message (also used in-process).
std::uint32_t HandleIpcMessage(const char* messageName, const char* atomText,
                               std::uint32_t token, VariableAccess& variables);

}  // namespace corvane::ipc
