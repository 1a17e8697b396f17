// SPDX-License-Identifier: MIT
#include "linklib/Connection.h"

#include <cstdio>
#include <cstring>

#include "linklib/Protocol.h"

namespace corvane::link {

Connection::Connection(LinkPlatform& platform) : platform_(platform) {}

Connection::~Connection() {
    Close();
}

std::string Connection::MakeAreaName(std::uint32_t processId, std::uint32_t instanceId) {
    char name[64];
    std::snprintf(name, sizeof name, "FsasmLib:IPC:%X:%X", processId, instanceId);
    return name;
}

std::int32_t Connection::fsworking() {
    // The order of the classes matters: a simulator 6 window wins over a 98 one.
    struct Kind {
        const char* className;
        std::int32_t kind;
    };
    static constexpr Kind kKinds[] = {{"FS6MAIN", 3}, {"FS98MAIN", 2}, {"MSCFSMAIN", 4}};
    for (const auto& k : kKinds) {
        if (WindowRef w = platform_.FindWindowByClass(k.className)) {
            lastwindow_ = w;
            return k.kind;
        }
    }
    lastwindow_ = 0;
    return 1;
}

std::int32_t Connection::startit() {
    if (view_ != nullptr)
        return 0;
    targetwindow_ = lastwindow_;
    timeoutms_ = kTimeoutMs;
    instanceid_ = instancecounter_;
    instancecounter_ += 1;
    messageid_ = platform_.RegisterMessage(kMessageName);
    if (messageid_ == 0)
        return 0;
    areaName_ = MakeAreaName(platform_.CurrentProcessId(), instanceid_);
    atom_ = platform_.AddAtom(areaName_);
    if (atom_ == 0) {
        Close();
        return 0;
    }
    bool alreadyExisted = false;
    mapping_ = platform_.CreateMapping(areaName_, kAreaSize, &alreadyExisted);
    if (mapping_ == 0 || alreadyExisted) {
        Close();
        return 0;
    }
    view_ = static_cast<std::uint8_t*>(platform_.MapView(mapping_, kAreaSize));
    if (view_ == nullptr) {
        Close();
        return 0;
    }
    cursor_ = view_;
    reads_.clear();
    return 1;
}

std::int32_t Connection::stopit() {
    Close();
    return 0;
}

void Connection::Close() {
    targetwindow_ = 0;
    messageid_ = 0;
    cursor_ = nullptr;
    if (atom_ != 0) {
        platform_.DeleteAtom(atom_);
        atom_ = 0;
    }
    if (view_ != nullptr) {
        platform_.UnmapView(view_, kAreaSize);
        view_ = nullptr;
    }
    if (mapping_ != 0) {
        platform_.CloseMapping(mapping_);
        mapping_ = 0;
    }
    reads_.clear();
}

bool Connection::Fits(std::size_t recordLength) const {
    // A request must leave room for the end word behind it.
    std::size_t used = std::size_t(cursor_ - view_);
    return recordLength <= kAreaSize && used + recordLength + kEndWordSize <= kAreaSize;
}

std::uint32_t Connection::DestinationWord(void* destination) {
    if constexpr (sizeof(void*) <= sizeof(std::uint32_t)) {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(destination));
    } else {
        return static_cast<std::uint32_t>(reads_.size());
    }
}

std::int32_t Connection::startmessage() {
    if (view_ == nullptr)
        return 0;
    cursor_ = view_;
    reads_.clear();
    return 1;
}

std::int32_t Connection::rawreadxbytes(std::int32_t size, std::int32_t offset, void* destination) {
    if (view_ == nullptr || size < 0)
        return 0;
    const std::size_t length = kReadHeaderSize + std::size_t(size);
    if (!Fits(length))
        return 0;
    StoreWord(cursor_, kKindRead);
    StoreWord(cursor_ + 4, std::uint32_t(offset));
    StoreWord(cursor_ + 8, std::uint32_t(size));
    StoreWord(cursor_ + 12, DestinationWord(destination));
    reads_.push_back({std::size_t(cursor_ - view_), std::size_t(size), destination});
    cursor_ += length;  // the data bytes are left as they are; the simulator fills them
    return 1;
}

std::int32_t Connection::rawwritexbytes(std::int32_t size, std::int32_t offset,
                                        const void* source) {
    if (view_ == nullptr || size < 0)
        return 0;
    const std::size_t length = kWriteHeaderSize + std::size_t(size);
    if (!Fits(length))
        return 0;
    StoreWord(cursor_, kKindWrite);
    StoreWord(cursor_ + 4, std::uint32_t(offset));
    StoreWord(cursor_ + 8, std::uint32_t(size));
    if (size > 0)
        std::memcpy(cursor_ + kWriteHeaderSize, source, std::size_t(size));
    cursor_ += length;
    return 1;
}

std::int32_t Connection::rawreadDWORD(std::int32_t offset, void* destination) {
    return rawreadxbytes(4, offset, destination);
}

std::int32_t Connection::rawwriteDWORD(std::int32_t offset, const void* source) {
    return rawwritexbytes(4, offset, source);
}

std::int32_t Connection::sendmessage() {
    if (view_ == nullptr)
        return 0;
    StoreWord(cursor_, kKindEnd);
    std::uint32_t answer = 0;
    if (!platform_.SendWithTimeout(targetwindow_, messageid_, atom_, 0, timeoutms_, view_,
                                   &answer)) {
        return 0;
    }
    // Copy what was read to the callers' buffers. A record that runs past the
    // area, an unknown kind, or a read record that is not where and as long as
    // the link laid it ends the walk as a failure.
    std::size_t nextRead = 0;
    const std::uint8_t* p = view_;
    const std::uint8_t* end = view_ + kAreaSize;
    for (;;) {
        if (end - p < 4)
            break;
        std::uint32_t kind = LoadWord(p);
        if (kind == kKindEnd) {
            cursor_ = view_;
            reads_.clear();
            return answer == 1 ? 1 : 0;
        }
        std::size_t header = kind == kKindRead ? kReadHeaderSize : kWriteHeaderSize;
        if ((kind != kKindRead && kind != kKindWrite) || std::size_t(end - p) < header)
            break;
        std::size_t size = LoadWord(p + 8);
        if (size > std::size_t(end - p) - header)
            break;
        if (kind == kKindRead) {
            if (nextRead >= reads_.size())
                break;
            const LaidRead& laid = reads_[nextRead++];
            if (laid.at != std::size_t(p - view_) || laid.size != size)
                break;
            if (laid.destination && size > 0) {
                std::memcpy(laid.destination, p + kReadHeaderSize, size);
            }
        }
        p += header + size;
    }
    cursor_ = view_;
    reads_.clear();
    return 0;
}

std::int32_t Connection::readDWORD(std::int32_t offset, void* destination) {
    return readxbytes(4, offset, destination);
}

std::int32_t Connection::writeDWORD(std::int32_t offset, const void* source) {
    return writexbytes(4, offset, source);
}

std::int32_t Connection::readxbytes(std::int32_t size, std::int32_t offset, void* destination) {
    if (startmessage() == 0 || rawreadxbytes(size, offset, destination) == 0)
        return 0;
    return sendmessage();
}

std::int32_t Connection::writexbytes(std::int32_t size, std::int32_t offset, const void* source) {
    if (startmessage() == 0 || rawwritexbytes(size, offset, source) == 0)
        return 0;
    return sendmessage();
}

}  // namespace corvane::link
