// SPDX-License-Identifier: MIT
//
// The IPC module's work for one message on Windows: the atom's text names the
// client's file mapping; the module opens it, walks the block against the
// variable space and closes it again. The mapping is opened for each message:
// a handle kept open would keep the name alive after the client closed its
// area, and a later client of the same name could not create it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>

#include "linklib/Protocol.h"
#include "sim/ipcmodule/IpcModule.h"

namespace corvane::ipc {

std::uint32_t HandleIpcMessage(const char* messageName, const char* atomText, std::uint32_t,
                               VariableAccess& variables) {
    if (!messageName || std::strcmp(messageName, link::kMessageName) != 0)
        return 0;
    if (!atomText || !*atomText)
        return 0;
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, atomText);
    if (mapping == nullptr)
        return 0;
    auto* area = static_cast<std::uint8_t*>(
        ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, link::kAreaSize));
    bool served = false;
    if (area != nullptr) {
        served = ServeBlock(area, link::kAreaSize, variables);
        ::UnmapViewOfFile(area);
    }
    ::CloseHandle(mapping);
    return served ? 1 : 0;
}

}  // namespace corvane::ipc
