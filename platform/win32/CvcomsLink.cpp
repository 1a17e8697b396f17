// SPDX-License-Identifier: MIT
#include "platform/win32/CvcomsLink.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <memory>

namespace corvane::win32 {
namespace {

class LoadLibraryLoader final : public link::LibraryLoader {
  public:
    explicit LoadLibraryLoader(std::string programFolder)
        : path_(std::move(programFolder) + "CVcoms.dll") {}

    void* Open() override {
        HMODULE module = ::LoadLibraryA(path_.c_str());
        if (!module) {
            throw link::LinkLibraryError("Can't load the link library " + path_ +
                                         " (Windows error " + std::to_string(::GetLastError()) +
                                         "). Please re-install Corvane.");
        }
        return module;
    }
    void* Find(void* library, const char* name) override {
        return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
    }
    void Close(void* library) override { ::FreeLibrary(static_cast<HMODULE>(library)); }
    std::string MissingExports(const std::string& names) override {
        return "The link library " + path_ + " lacks " + names + ". Please re-install Corvane.";
    }

  private:
    std::string path_;
};

}  // namespace

CvcomsLink::CvcomsLink(std::string programFolder)
    : LinkLibrary(std::make_unique<LoadLibraryLoader>(std::move(programFolder))) {}

}  // namespace corvane::win32
