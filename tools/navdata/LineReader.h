// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace corvane::navdata::convert {

/// Reads a text file line by line, plain or gzip-compressed (told apart by its first bytes),
/// counting lines from 1. Line ends (LF, CRLF or CR) are removed. Damaged gzip data or a read
/// error raises ConversionError naming the file and the line reached.
class LineReader {
  public:
    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    /// Reads the next line into line; false at the end of the file.
    bool Next(std::string& line);

    long lineNumber() const { return lineNumber_; }
    /// The file's size on disk, and how much of it has been read (compressed bytes for a
    /// gzip file), for progress.
    long long sizeOnDisk() const { return size_; }
    long long bytesRead() const;
    /// Called with bytesRead() after each block read from the file.
    void OnRead(std::function<void(long long)> onRead) { onRead_ = std::move(onRead); }
    const std::string& path() const { return path_; }
    /// "path:line", the prefix of a diagnostic about the current line.
    std::string Where() const;

  private:
    bool Fill();

    struct Stream;
    std::unique_ptr<Stream> stream_;
    std::string path_;
    std::string buffer_;
    std::size_t position_ = 0;
    bool endOfFile_ = false;
    long lineNumber_ = 0;
    long long size_ = 0;
    std::function<void(long long)> onRead_;
};

/// Reads a whole file, plain or gzip-compressed, into memory (for JSON input).
std::string ReadWholeTextFile(const std::string& path);

}  // namespace corvane::navdata::convert
