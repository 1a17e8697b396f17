/* SPDX-License-Identifier: MIT
 *
 * A plain C program that loads CVcoms by its file name and drives one batch
 * against a running simulator. Arguments: the library's path and the true
 * airspeed (knots x 128) that the simulator was started with. Exit status 0
 * when everything matched. */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

typedef int32_t (*NoArgs)(void);
typedef int32_t (*SizeIn)(int32_t, int32_t, void*);
typedef int32_t (*OffsetIn)(int32_t, void*);
typedef int32_t (*OffsetOut)(int32_t, const void*);

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIBRARY EXPECTED_TAS\n", argv[0]);
        return 2;
    }
    void* lib = dlopen(argv[1], RTLD_NOW);
    if (!lib) {
        fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    NoArgs fsworking = (NoArgs)dlsym(lib, "fsworking");
    NoArgs startit = (NoArgs)dlsym(lib, "startit");
    NoArgs stopit = (NoArgs)dlsym(lib, "stopit");
    NoArgs startmessage = (NoArgs)dlsym(lib, "startmessage");
    NoArgs sendmessage = (NoArgs)dlsym(lib, "sendmessage");
    SizeIn rawreadxbytes = (SizeIn)dlsym(lib, "rawreadxbytes");
    OffsetIn rawreadDWORD = (OffsetIn)dlsym(lib, "rawreadDWORD");
    OffsetOut rawwriteDWORD = (OffsetOut)dlsym(lib, "rawwriteDWORD");
    if (!fsworking || !startit || !stopit || !startmessage || !sendmessage || !rawreadxbytes ||
        !rawreadDWORD || !rawwriteDWORD) {
        fprintf(stderr, "missing export\n");
        return 1;
    }
    if (fsworking() != 2 || startit() != 1) {
        fprintf(stderr, "no simulator or the link did not open\n");
        return 1;
    }
    unsigned char position[36];
    int32_t tas = 0;
    uint32_t written = 0x12345678u, readBack = 0;
    int ok = startmessage() == 1 && rawreadxbytes(36, 0x0560, position) == 1 &&
             rawreadDWORD(0x02B8, &tas) == 1 && rawwriteDWORD(0x3008, &written) == 1 &&
             rawreadDWORD(0x3008, &readBack) == 1 && sendmessage() == 1;
    stopit();
    if (!ok || tas != atoi(argv[2]) || readBack != written) {
        fprintf(stderr, "batch failed: ok %d tas %d readBack %x\n", ok, (int)tas, (unsigned)readBack);
        return 1;
    }
    printf("true airspeed %.1f kt\n", tas / 128.0);
    return 0;
}
