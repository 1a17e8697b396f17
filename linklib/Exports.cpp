// SPDX-License-Identifier: MIT
//
// The thirteen exported functions of CVcoms, over the process's one connection.
#define CVCOMS_BUILDING 1
#include "linklib/cvcoms.h"

#include "linklib/Connection.h"

namespace {

// Constructed when the library is loaded; its destructor closes the connection
// when the library is unloaded (or the process ends).
corvane::link::Connection& TheConnection() {
    static corvane::link::Connection connection(corvane::link::SystemLinkPlatform());
    return connection;
}

// Make sure the connection exists from load time on, not from the first call.
[[maybe_unused]] const bool kConstructedAtLoad = (TheConnection(), true);

}  // namespace

extern "C" {

int32_t CVCOMS_CALL fsworking(void) { return TheConnection().fsworking(); }
int32_t CVCOMS_CALL startit(void) { return TheConnection().startit(); }
int32_t CVCOMS_CALL stopit(void) { return TheConnection().stopit(); }
int32_t CVCOMS_CALL readDWORD(int32_t offset, void* destination) {
    return TheConnection().readDWORD(offset, destination);
}
int32_t CVCOMS_CALL writeDWORD(int32_t offset, const void* source) {
    return TheConnection().writeDWORD(offset, source);
}
int32_t CVCOMS_CALL readxbytes(int32_t size, int32_t offset, void* destination) {
    return TheConnection().readxbytes(size, offset, destination);
}
int32_t CVCOMS_CALL writexbytes(int32_t size, int32_t offset, const void* source) {
    return TheConnection().writexbytes(size, offset, source);
}
int32_t CVCOMS_CALL startmessage(void) { return TheConnection().startmessage(); }
int32_t CVCOMS_CALL sendmessage(void) { return TheConnection().sendmessage(); }
int32_t CVCOMS_CALL rawreadxbytes(int32_t size, int32_t offset, void* destination) {
    return TheConnection().rawreadxbytes(size, offset, destination);
}
int32_t CVCOMS_CALL rawwritexbytes(int32_t size, int32_t offset, const void* source) {
    return TheConnection().rawwritexbytes(size, offset, source);
}
int32_t CVCOMS_CALL rawreadDWORD(int32_t offset, void* destination) {
    return TheConnection().rawreadDWORD(offset, destination);
}
int32_t CVCOMS_CALL rawwriteDWORD(int32_t offset, const void* source) {
    return TheConnection().rawwriteDWORD(offset, source);
}

}  // extern "C"
