// SPDX-License-Identifier: MIT
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace corvane::navdata {

/// Reads little-endian numbers and length-prefixed texts from a byte buffer. Running past the
/// end raises NavDataError naming the file, the current section and record.
class ByteReader {
  public:
    ByteReader(std::span<const std::uint8_t> bytes, std::string fileName);

    void SetSection(const char* section) {
        section_ = section;
        record_ = 0;
    }
    void SetRecord(long record) { record_ = record; }
    const char* section() const { return section_; }
    long record() const { return record_; }
    const std::string& fileName() const { return fileName_; }
    std::size_t offset() const { return offset_; }

    std::uint8_t U8() {
        Need(1);
        return bytes_[offset_++];
    }
    std::int16_t I16() {
        Need(2);
        const std::uint16_t v =
            static_cast<std::uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return static_cast<std::int16_t>(v);
    }
    std::uint16_t U16() { return static_cast<std::uint16_t>(I16()); }
    std::int32_t I32() {
        Need(4);
        const std::uint32_t v = LoadU32(offset_);
        offset_ += 4;
        return static_cast<std::int32_t>(v);
    }
    double F64() {
        Need(8);
        const std::uint64_t v = static_cast<std::uint64_t>(LoadU32(offset_)) |
                                (static_cast<std::uint64_t>(LoadU32(offset_ + 4)) << 32);
        offset_ += 8;
        return std::bit_cast<double>(v);
    }
    /// A text: u16 length, then that many bytes.
    void Text(std::string& text) {
        const std::size_t length = U16();
        Need(length);
        text.assign(reinterpret_cast<const char*>(bytes_.data() + offset_), length);
        offset_ += length;
    }
    void Bytes(std::uint8_t* destination, std::size_t count);

    /// Raises NavDataError for the current section and record.
    [[noreturn]] void Fail(const std::string& message) const;

  private:
    void Need(std::size_t count) const {
        if (bytes_.size() - offset_ < count) {
            FailEndOfFile(count);
        }
    }
    [[noreturn]] void FailEndOfFile(std::size_t count) const;
    std::uint32_t LoadU32(std::size_t at) const {
        return static_cast<std::uint32_t>(bytes_[at]) |
               (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }

    std::span<const std::uint8_t> bytes_;
    std::string fileName_;
    std::size_t offset_ = 0;
    const char* section_ = "";
    long record_ = 0;
};

}  // namespace corvane::navdata
