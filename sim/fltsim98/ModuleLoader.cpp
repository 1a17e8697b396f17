// SPDX-License-Identifier: MIT
#include "sim/fltsim98/ModuleLoader.h"

#include <dlfcn.h>
#include <unistd.h>

namespace corvane::sim {
namespace {

int ReadVariables(void* context, std::uint32_t offset, std::uint32_t size, void* destination) {
    return static_cast<ipc::VariableAccess*>(context)->Read(offset, size, destination) ? 1 : 0;
}

int WriteVariables(void* context, std::uint32_t offset, std::uint32_t size, const void* source) {
    return static_cast<ipc::VariableAccess*>(context)->Write(offset, size, source) ? 1 : 0;
}

}  // namespace

ModuleLoader::ModuleLoader(const std::string& simulatorFolder) {
    path_ = simulatorFolder + "modules/FS6IPC.dll";
    if (::access(path_.c_str(), R_OK) != 0) {
        error_ = "no IPC module at " + path_;
        return;
    }
    library_ = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) {
        const char* reason = ::dlerror();
        error_ = "cannot load " + path_ + ": " + (reason ? reason : "unknown error");
        return;
    }
    handleMessage_ =
        reinterpret_cast<Fs6ipcHandleMessageFunction>(::dlsym(library_, ipc::kHandleMessageSymbol));
    if (!handleMessage_)
        error_ = path_ + " is not an IPC module (no entry point)";
}

ModuleLoader::~ModuleLoader() {
    if (library_)
        ::dlclose(library_);
}

std::uint32_t ModuleLoader::Handle(const desktop::Message& message,
                                   ipc::VariableAccess& variables) const {
    if (!handleMessage_)
        return 0;
    Fs6ipcVariables access{&variables, &ReadVariables, &WriteVariables};
    return handleMessage_(message.name.c_str(), message.atomText.c_str(), message.token, &access);
}

}  // namespace corvane::sim
