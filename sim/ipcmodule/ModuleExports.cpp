// SPDX-License-Identifier: MIT
//
// The exported entry of FS6IPC.dll.
#include "sim/ipcmodule/IpcModule.h"

namespace {

class ForeignVariables final : public corvane::ipc::VariableAccess {
  public:
    explicit ForeignVariables(const Fs6ipcVariables& v) : v_(v) {}
    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) override {
        return v_.read && v_.read(v_.context, offset, size, destination) != 0;
    }
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source) override {
        return v_.write && v_.write(v_.context, offset, size, source) != 0;
    }

  private:
    const Fs6ipcVariables& v_;
};

}  // namespace

#ifdef _WIN32
#define CORVANE_MODULE_EXPORT __declspec(dllexport)
#else
#define CORVANE_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" CORVANE_MODULE_EXPORT std::uint32_t Fs6ipcHandleMessage(
    const char* messageName, const char* atomText, std::uint32_t token,
    const Fs6ipcVariables* variables) {
    if (!variables)
        return 0;
    ForeignVariables access(*variables);
    return corvane::ipc::HandleIpcMessage(messageName, atomText, token, access);
}
