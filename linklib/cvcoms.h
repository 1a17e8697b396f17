/* SPDX-License-Identifier: MIT
 *
 * CVcoms: the client side of the FS6IPC protocol, the link between Corvane and
 * the flight simulator.
 *
 * Call order: fsworking() until it reports a simulator window, then startit().
 * Then either single exchanges (readDWORD, writeDWORD, readxbytes, writexbytes:
 * each lays one request and sends it) or batches: startmessage(), any number of
 * rawreadxbytes / rawwritexbytes / rawreadDWORD / rawwriteDWORD, sendmessage().
 * stopit() at the end; unloading the library also closes the connection.
 *
 * Every argument is a 32-bit integer or the address of the caller's own
 * buffer. Values read are copied into the caller's buffers when the batch is
 * answered; the bytes to write are copied out of the caller's buffer when the
 * request is laid. Every result is a 32-bit integer: 1 for success, 0 for any
 * failure (fsworking returns the simulator kind, stopit always 0).
 *
 * Simulator kinds returned by fsworking: 1 no simulator window, 2 "FS98MAIN",
 * 3 "FS6MAIN", 4 "MSCFSMAIN".
 *
 * The byte-count functions take the size first and the offset second.
 */
#ifndef CVCOMS_H
#define CVCOMS_H

#include <stdint.h>

#if defined(_WIN32)
#define CVCOMS_CALL __stdcall
#if defined(CVCOMS_BUILDING)
#define CVCOMS_API __declspec(dllexport)
#else
#define CVCOMS_API __declspec(dllimport)
#endif
#else
#define CVCOMS_CALL
#define CVCOMS_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

CVCOMS_API int32_t CVCOMS_CALL fsworking(void);
CVCOMS_API int32_t CVCOMS_CALL startit(void);
CVCOMS_API int32_t CVCOMS_CALL stopit(void);
CVCOMS_API int32_t CVCOMS_CALL readDWORD(int32_t offset, void* destination);
CVCOMS_API int32_t CVCOMS_CALL writeDWORD(int32_t offset, const void* source);
CVCOMS_API int32_t CVCOMS_CALL readxbytes(int32_t size, int32_t offset, void* destination);
CVCOMS_API int32_t CVCOMS_CALL writexbytes(int32_t size, int32_t offset, const void* source);
CVCOMS_API int32_t CVCOMS_CALL startmessage(void);
CVCOMS_API int32_t CVCOMS_CALL sendmessage(void);
CVCOMS_API int32_t CVCOMS_CALL rawreadxbytes(int32_t size, int32_t offset, void* destination);
CVCOMS_API int32_t CVCOMS_CALL rawwritexbytes(int32_t size, int32_t offset, const void* source);
CVCOMS_API int32_t CVCOMS_CALL rawreadDWORD(int32_t offset, void* destination);
CVCOMS_API int32_t CVCOMS_CALL rawwriteDWORD(int32_t offset, const void* source);

#ifdef __cplusplus
}
#endif

#endif /* CVCOMS_H */
