// SPDX-License-Identifier: MIT
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::navdata {

/// Appends little-endian numbers and length-prefixed texts to a byte buffer. A text longer than
/// 65535 bytes raises NavDataError naming the output file, section and record.
class ByteWriter {
  public:
    explicit ByteWriter(std::string fileName);

    void SetSection(const char* section) {
        section_ = section;
        record_ = 0;
    }
    void SetRecord(long record) { record_ = record; }

    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void I16(std::int16_t v) {
        const auto u = static_cast<std::uint16_t>(v);
        bytes_.push_back(static_cast<std::uint8_t>(u));
        bytes_.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    void I32(std::int32_t v) { PutU32(static_cast<std::uint32_t>(v)); }
    void F64(double v) {
        const auto u = std::bit_cast<std::uint64_t>(v);
        PutU32(static_cast<std::uint32_t>(u));
        PutU32(static_cast<std::uint32_t>(u >> 32));
    }
    void Text(const std::string& text);
    void Bytes(const std::uint8_t* source, std::size_t count) {
        bytes_.insert(bytes_.end(), source, source + count);
    }

    [[noreturn]] void Fail(const std::string& message) const;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }

  private:
    void PutU32(std::uint32_t u) {
        bytes_.push_back(static_cast<std::uint8_t>(u));
        bytes_.push_back(static_cast<std::uint8_t>(u >> 8));
        bytes_.push_back(static_cast<std::uint8_t>(u >> 16));
        bytes_.push_back(static_cast<std::uint8_t>(u >> 24));
    }

    std::vector<std::uint8_t> bytes_;
    std::string fileName_;
    const char* section_ = "";
    long record_ = 0;
};

}  // namespace corvane::navdata
