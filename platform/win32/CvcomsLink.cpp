// SPDX-License-Identifier: MIT
#include "platform/win32/CvcomsLink.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <type_traits>

namespace corvane::win32 {

// The exports use the stdcall convention (the callee pops its arguments).
struct CvcomsLink::Functions {
    using NoArgs = std::int32_t(__stdcall*)();
    using ReadDword = std::int32_t(__stdcall*)(std::int32_t, void*);
    using WriteDword = std::int32_t(__stdcall*)(std::int32_t, const void*);
    using ReadBytes = std::int32_t(__stdcall*)(std::int32_t, std::int32_t, void*);
    using WriteBytes = std::int32_t(__stdcall*)(std::int32_t, std::int32_t, const void*);
    NoArgs fsworking, startit, stopit, startmessage, sendmessage;
    ReadDword readDWORD, rawreadDWORD;
    WriteDword writeDWORD, rawwriteDWORD;
    ReadBytes readxbytes, rawreadxbytes;
    WriteBytes writexbytes, rawwritexbytes;
};

CvcomsLink::CvcomsLink(std::string programFolder) : programFolder_(std::move(programFolder)) {}

CvcomsLink::~CvcomsLink() {
    delete functions_;
    if (module_)
        ::FreeLibrary(static_cast<HMODULE>(module_));
}

void CvcomsLink::Load() {
    if (functions_)
        return;
    const std::string path = programFolder_ + "CVcoms.dll";
    HMODULE module = ::LoadLibraryA(path.c_str());
    if (!module) {
        throw LinkLibraryError("Can't load the link library " + path + " (Windows error " +
                               std::to_string(::GetLastError()) + "). Please re-install Corvane.");
    }
    std::string missing;
    auto resolve = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(::GetProcAddress(module, name)));
        if (!function)
            missing += std::string(missing.empty() ? "" : ", ") + name;
    };
    auto* f = new Functions{};
    resolve(f->fsworking, "fsworking");
    resolve(f->startit, "startit");
    resolve(f->stopit, "stopit");
    resolve(f->readDWORD, "readDWORD");
    resolve(f->writeDWORD, "writeDWORD");
    resolve(f->readxbytes, "readxbytes");
    resolve(f->writexbytes, "writexbytes");
    resolve(f->startmessage, "startmessage");
    resolve(f->sendmessage, "sendmessage");
    resolve(f->rawreadxbytes, "rawreadxbytes");
    resolve(f->rawwritexbytes, "rawwritexbytes");
    resolve(f->rawreadDWORD, "rawreadDWORD");
    resolve(f->rawwriteDWORD, "rawwriteDWORD");
    if (!missing.empty()) {
        delete f;
        ::FreeLibrary(module);
        throw LinkLibraryError("The link library " + path + " lacks " + missing +
                               ". Please re-install Corvane.");
    }
    module_ = module;
    functions_ = f;
}

std::int32_t CvcomsLink::fsworking() {
    Load();
    return functions_->fsworking();
}
std::int32_t CvcomsLink::startit() {
    Load();
    return functions_->startit();
}
std::int32_t CvcomsLink::stopit() {
    Load();
    return functions_->stopit();
}
std::int32_t CvcomsLink::readDWORD(std::int32_t offset, void* destination) {
    Load();
    return functions_->readDWORD(offset, destination);
}
std::int32_t CvcomsLink::writeDWORD(std::int32_t offset, const void* source) {
    Load();
    return functions_->writeDWORD(offset, source);
}
std::int32_t CvcomsLink::readxbytes(std::int32_t size, std::int32_t offset, void* destination) {
    Load();
    return functions_->readxbytes(size, offset, destination);
}
std::int32_t CvcomsLink::writexbytes(std::int32_t size, std::int32_t offset, const void* source) {
    Load();
    return functions_->writexbytes(size, offset, source);
}
std::int32_t CvcomsLink::startmessage() {
    Load();
    return functions_->startmessage();
}
std::int32_t CvcomsLink::sendmessage() {
    Load();
    return functions_->sendmessage();
}
std::int32_t CvcomsLink::rawreadxbytes(std::int32_t size, std::int32_t offset, void* destination) {
    Load();
    return functions_->rawreadxbytes(size, offset, destination);
}
std::int32_t CvcomsLink::rawwritexbytes(std::int32_t size, std::int32_t offset,
                                        const void* source) {
    Load();
    return functions_->rawwritexbytes(size, offset, source);
}
std::int32_t CvcomsLink::rawreadDWORD(std::int32_t offset, void* destination) {
    Load();
    return functions_->rawreadDWORD(offset, destination);
}
std::int32_t CvcomsLink::rawwriteDWORD(std::int32_t offset, const void* source) {
    Load();
    return functions_->rawwriteDWORD(offset, source);
}

}  // namespace corvane::win32
