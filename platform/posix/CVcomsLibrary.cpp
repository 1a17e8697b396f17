// SPDX-License-Identifier: MIT
#include "platform/posix/CVcomsLibrary.h"

#include <dlfcn.h>

namespace corvane::desktop {

struct CVcomsLibrary::Functions {
    using NoArgs = std::int32_t (*)();
    using OffsetIn = std::int32_t (*)(std::int32_t, void*);
    using OffsetOut = std::int32_t (*)(std::int32_t, const void*);
    using SizeIn = std::int32_t (*)(std::int32_t, std::int32_t, void*);
    using SizeOut = std::int32_t (*)(std::int32_t, std::int32_t, const void*);
    NoArgs fsworking, startit, stopit, startmessage, sendmessage;
    OffsetIn readDWORD, rawreadDWORD;
    OffsetOut writeDWORD, rawwriteDWORD;
    SizeIn readxbytes, rawreadxbytes;
    SizeOut writexbytes, rawwritexbytes;
};

namespace {
constexpr const char* kLibraryName = "libCVcoms.so";
}

CVcomsLibrary::CVcomsLibrary(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

CVcomsLibrary::~CVcomsLibrary() {
    delete functions_;
    if (handle_) ::dlclose(handle_);
}

void CVcomsLibrary::Load() {
    if (functions_) return;
    std::string tried;
    std::string reasons;
    std::string folder = programFolder_;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    for (const std::string& candidate : {folder + kLibraryName, std::string(kLibraryName)}) {
        tried += (tried.empty() ? "" : ", ") + candidate;
        handle_ = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_) break;
        if (const char* e = ::dlerror()) reasons += std::string("\n  ") + e;
    }
    if (!handle_) {
        throw LinkLibraryError("The link library " + std::string(kLibraryName) +
                               " could not be loaded (looked for " + tried +
                               " and in the system's library path)." + reasons);
    }
    auto* f = new Functions{};
    bool complete = true;
    auto bind = [&](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(::dlsym(handle_, name));
        if (!slot) complete = false;
    };
    bind(f->fsworking, "fsworking");
    bind(f->startit, "startit");
    bind(f->stopit, "stopit");
    bind(f->startmessage, "startmessage");
    bind(f->sendmessage, "sendmessage");
    bind(f->readDWORD, "readDWORD");
    bind(f->rawreadDWORD, "rawreadDWORD");
    bind(f->writeDWORD, "writeDWORD");
    bind(f->rawwriteDWORD, "rawwriteDWORD");
    bind(f->readxbytes, "readxbytes");
    bind(f->rawreadxbytes, "rawreadxbytes");
    bind(f->writexbytes, "writexbytes");
    bind(f->rawwritexbytes, "rawwritexbytes");
    if (!complete) {
        delete f;
        ::dlclose(handle_);
        handle_ = nullptr;
        throw LinkLibraryError("The link library " + tried +
                               " does not export the thirteen link functions.");
    }
    functions_ = f;
}

std::int32_t CVcomsLibrary::fsworking() { Load(); return functions_->fsworking(); }
std::int32_t CVcomsLibrary::startit() { Load(); return functions_->startit(); }
std::int32_t CVcomsLibrary::stopit() { Load(); return functions_->stopit(); }
std::int32_t CVcomsLibrary::readDWORD(std::int32_t offset, void* destination) {
    Load();
    return functions_->readDWORD(offset, destination);
}
std::int32_t CVcomsLibrary::writeDWORD(std::int32_t offset, const void* source) {
    Load();
    return functions_->writeDWORD(offset, source);
}
std::int32_t CVcomsLibrary::readxbytes(std::int32_t size, std::int32_t offset, void* destination) {
    Load();
    return functions_->readxbytes(size, offset, destination);
}
std::int32_t CVcomsLibrary::writexbytes(std::int32_t size, std::int32_t offset,
                                        const void* source) {
    Load();
    return functions_->writexbytes(size, offset, source);
}
std::int32_t CVcomsLibrary::startmessage() { Load(); return functions_->startmessage(); }
std::int32_t CVcomsLibrary::sendmessage() { Load(); return functions_->sendmessage(); }
std::int32_t CVcomsLibrary::rawreadxbytes(std::int32_t size, std::int32_t offset,
                                          void* destination) {
    Load();
    return functions_->rawreadxbytes(size, offset, destination);
}
std::int32_t CVcomsLibrary::rawwritexbytes(std::int32_t size, std::int32_t offset,
                                           const void* source) {
    Load();
    return functions_->rawwritexbytes(size, offset, source);
}
std::int32_t CVcomsLibrary::rawreadDWORD(std::int32_t offset, void* destination) {
    Load();
    return functions_->rawreadDWORD(offset, destination);
}
std::int32_t CVcomsLibrary::rawwriteDWORD(std::int32_t offset, const void* source) {
    Load();
    return functions_->rawwriteDWORD(offset, source);
}

}  // namespace corvane::desktop
