// SPDX-License-Identifier: MIT
#include "platform/link/LinkLibrary.h"

#include <type_traits>

namespace corvane::link {

struct LinkLibrary::Functions {
    using NoArgs = std::int32_t(CORVANE_LINK_CALL*)();
    using ReadDword = std::int32_t(CORVANE_LINK_CALL*)(std::int32_t, void*);
    using WriteDword = std::int32_t(CORVANE_LINK_CALL*)(std::int32_t, const void*);
    using ReadBytes = std::int32_t(CORVANE_LINK_CALL*)(std::int32_t, std::int32_t, void*);
    using WriteBytes = std::int32_t(CORVANE_LINK_CALL*)(std::int32_t, std::int32_t, const void*);
    NoArgs fsworking, startit, stopit, startmessage, sendmessage;
    ReadDword readDWORD, rawreadDWORD;
    WriteDword writeDWORD, rawwriteDWORD;
    ReadBytes readxbytes, rawreadxbytes;
    WriteBytes writexbytes, rawwritexbytes;
};

LinkLibrary::LinkLibrary(std::unique_ptr<LibraryLoader> loader) : loader_(std::move(loader)) {}

LinkLibrary::~LinkLibrary() {
    functions_.reset();
    if (library_)
        loader_->Close(library_);
}

void LinkLibrary::Load() {
    if (functions_)
        return;
    void* library = loader_->Open();
    auto f = std::make_unique<Functions>();
    std::string missing;
    auto find = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            loader_->Find(library, name));
        if (!function)
            missing += std::string(missing.empty() ? "" : ", ") + name;
    };
    find(f->fsworking, "fsworking");
    find(f->startit, "startit");
    find(f->stopit, "stopit");
    find(f->readDWORD, "readDWORD");
    find(f->writeDWORD, "writeDWORD");
    find(f->readxbytes, "readxbytes");
    find(f->writexbytes, "writexbytes");
    find(f->startmessage, "startmessage");
    find(f->sendmessage, "sendmessage");
    find(f->rawreadxbytes, "rawreadxbytes");
    find(f->rawwritexbytes, "rawwritexbytes");
    find(f->rawreadDWORD, "rawreadDWORD");
    find(f->rawwriteDWORD, "rawwriteDWORD");
    if (!missing.empty()) {
        loader_->Close(library);
        throw LinkLibraryError(loader_->MissingExports(missing));
    }
    library_ = library;
    functions_ = std::move(f);
}

const LinkLibrary::Functions& LinkLibrary::Loaded() {
    Load();
    return *functions_;
}

std::int32_t LinkLibrary::fsworking() {
    return Loaded().fsworking();
}
std::int32_t LinkLibrary::startit() {
    return Loaded().startit();
}
std::int32_t LinkLibrary::stopit() {
    return Loaded().stopit();
}
std::int32_t LinkLibrary::readDWORD(std::int32_t offset, void* destination) {
    return Loaded().readDWORD(offset, destination);
}
std::int32_t LinkLibrary::writeDWORD(std::int32_t offset, const void* source) {
    return Loaded().writeDWORD(offset, source);
}
std::int32_t LinkLibrary::readxbytes(std::int32_t size, std::int32_t offset, void* destination) {
    return Loaded().readxbytes(size, offset, destination);
}
std::int32_t LinkLibrary::writexbytes(std::int32_t size, std::int32_t offset, const void* source) {
    return Loaded().writexbytes(size, offset, source);
}
std::int32_t LinkLibrary::startmessage() {
    return Loaded().startmessage();
}
std::int32_t LinkLibrary::sendmessage() {
    return Loaded().sendmessage();
}
std::int32_t LinkLibrary::rawreadxbytes(std::int32_t size, std::int32_t offset, void* destination) {
    return Loaded().rawreadxbytes(size, offset, destination);
}
std::int32_t LinkLibrary::rawwritexbytes(std::int32_t size, std::int32_t offset,
                                         const void* source) {
    return Loaded().rawwritexbytes(size, offset, source);
}
std::int32_t LinkLibrary::rawreadDWORD(std::int32_t offset, void* destination) {
    return Loaded().rawreadDWORD(offset, destination);
}
std::int32_t LinkLibrary::rawwriteDWORD(std::int32_t offset, const void* source) {
    return Loaded().rawwriteDWORD(offset, source);
}

}  // namespace corvane::link
