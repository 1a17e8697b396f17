// SPDX-License-Identifier: MIT
//
// Helpers of the fuzz targets: a scratch file for readers that take a path,
// and a check that stops the run (a finding) when a property does not hold.
#pragma once

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace corvane::fuzz {

// A file of this process's own, rewritten with each input and removed at exit.
inline const std::string& ScratchFile(const char* suffix) {
    struct Scratch {
        std::string path;
        ~Scratch() { ::unlink(path.c_str()); }
    };
    static const Scratch scratch{"/tmp/corvane-fuzz-" + std::to_string(::getpid()) +
                                 std::string(suffix)};
    return scratch.path;
}

inline void WriteScratch(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
}

// A property of the reader that must hold for every input.
inline void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

}  // namespace corvane::fuzz
