// SPDX-License-Identifier: MIT
#include "navdata/DataFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "navdata/NavDataError.h"

namespace corvane::navdata {

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string SystemReason() {
    return std::strerror(errno);
}
}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw NavDataError(path, "", 0, "cannot open the file: " + SystemReason());
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) {
            break;
        }
    }
    if (std::ferror(file.get())) {
        throw NavDataError(path, "", 0, "cannot read the file: " + SystemReason());
    }
    return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string temporary = path + ".part";
    {
        errno = 0;
        FilePtr file(std::fopen(temporary.c_str(), "wb"));
        if (!file) {
            throw NavDataError(path, "", 0, "cannot create " + temporary + ": " + SystemReason());
        }
        if (!bytes.empty() &&
            std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
            const std::string reason = SystemReason();
            file.reset();
            std::remove(temporary.c_str());
            throw NavDataError(path, "", 0, "cannot write " + temporary + ": " + reason);
        }
        if (std::fclose(file.release()) != 0) {
            const std::string reason = SystemReason();
            std::remove(temporary.c_str());
            throw NavDataError(path, "", 0, "cannot write " + temporary + ": " + reason);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        throw NavDataError(path, "", 0, "cannot replace the file: " + error.message());
    }
}

}  // namespace corvane::navdata
