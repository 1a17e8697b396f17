// SPDX-License-Identifier: MIT
#include "tools/navdata/LineReader.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/navdata/ConversionError.h"

namespace corvane::navdata::convert {

struct LineReader::Stream {
    gzFile file = nullptr;
    ~Stream() {
        if (file != nullptr) {
            gzclose(file);
        }
    }
};

namespace {
std::string GzReason(gzFile file) {
    int code = 0;
    const char* message = gzerror(file, &code);
    if (code == Z_ERRNO) {
        return std::strerror(errno);
    }
    return message != nullptr ? message : "unknown error";
}
}  // namespace

LineReader::LineReader(const std::string& path) : stream_(std::make_unique<Stream>()), path_(path) {
    errno = 0;
    // gzopen reads plain files unchanged and gzip files decompressed.
    stream_->file = gzopen(path.c_str(), "rb");
    if (stream_->file == nullptr) {
        throw ConversionError(path + ": cannot open the file: " +
                              (errno != 0 ? std::strerror(errno) : "out of memory"));
    }
    gzbuffer(stream_->file, 1 << 17);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    size_ = ec ? 0 : static_cast<long long>(size);
}

long long LineReader::bytesRead() const {
    const long long offset = gzoffset(stream_->file);
    return offset < 0 ? 0 : std::min(offset, size_);
}

LineReader::~LineReader() = default;

std::string LineReader::Where() const {
    return path_ + ":" + std::to_string(lineNumber_);
}

bool LineReader::Fill() {
    if (endOfFile_) {
        return false;
    }
    if (position_ > 0) {
        buffer_.erase(0, position_);
        position_ = 0;
    }
    char chunk[1 << 16];
    const int n = gzread(stream_->file, chunk, sizeof chunk);
    int code = Z_OK;
    gzerror(stream_->file, &code);
    if (n < 0 || (n == 0 && code != Z_OK)) {
        const std::string where = path_ + ":" + std::to_string(lineNumber_ + 1) + ": ";
        if (code == Z_BUF_ERROR) {
            // The gzip stream ends before its end mark: the file was cut short.
            throw ConversionError(where + "the compressed file is cut short");
        }
        throw ConversionError(where + "cannot read the file: " + GzReason(stream_->file));
    }
    if (n == 0) {
        endOfFile_ = true;
        return false;
    }
    buffer_.append(chunk, static_cast<std::size_t>(n));
    if (onRead_) {
        onRead_(bytesRead());
    }
    return true;
}

bool LineReader::Next(std::string& line) {
    for (;;) {
        for (std::size_t i = position_; i < buffer_.size(); ++i) {
            const char c = buffer_[i];
            if (c == '\n' || c == '\r') {
                // A CR at the very end of the buffer may be followed by LF in the next chunk.
                if (c == '\r' && i + 1 == buffer_.size() && !endOfFile_) {
                    break;
                }
                line.assign(buffer_, position_, i - position_);
                position_ = i + 1;
                if (c == '\r' && position_ < buffer_.size() && buffer_[position_] == '\n') {
                    ++position_;
                }
                ++lineNumber_;
                return true;
            }
        }
        if (!Fill()) {
            if (position_ < buffer_.size()) {
                line.assign(buffer_, position_, std::string::npos);
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                position_ = buffer_.size();
                ++lineNumber_;
                return true;
            }
            return false;
        }
    }
}

std::string ReadWholeTextFile(const std::string& path) {
    LineReader reader(path);
    std::string text;
    std::string line;
    while (reader.Next(line)) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace corvane::navdata::convert
