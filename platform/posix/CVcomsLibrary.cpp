// SPDX-License-Identifier: MIT
#include "platform/posix/CVcomsLibrary.h"

#include <dlfcn.h>

#include <memory>

namespace corvane::desktop {
namespace {

constexpr const char* kLibraryName = "libCVcoms.so";

class DlopenLoader final : public link::LibraryLoader {
  public:
    explicit DlopenLoader(std::string programFolder) : folder_(std::move(programFolder)) {
        if (!folder_.empty() && folder_.back() != '/')
            folder_ += '/';
    }

    void* Open() override {
        tried_.clear();
        std::string reasons;
        for (const std::string& candidate : {folder_ + kLibraryName, std::string(kLibraryName)}) {
            tried_ += (tried_.empty() ? "" : ", ") + candidate;
            if (void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
                return handle;
            if (const char* e = ::dlerror())
                reasons += std::string("\n  ") + e;
        }
        throw link::LinkLibraryError("The link library " + std::string(kLibraryName) +
                                     " could not be loaded (looked for " + tried_ +
                                     " and in the system's library path)." + reasons);
    }
    void* Find(void* library, const char* name) override { return ::dlsym(library, name); }
    void Close(void* library) override { ::dlclose(library); }
    std::string MissingExports(const std::string&) override {
        return "The link library " + tried_ + " does not export the thirteen link functions.";
    }

  private:
    std::string folder_;
    std::string tried_;  // where the last Open looked, in order
};

}  // namespace

CVcomsLibrary::CVcomsLibrary(std::string programFolder)
    : LinkLibrary(std::make_unique<DlopenLoader>(std::move(programFolder))) {}

}  // namespace corvane::desktop
