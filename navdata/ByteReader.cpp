// SPDX-License-Identifier: MIT
#include "navdata/ByteReader.h"

#include <cstring>
#include <utility>

#include "navdata/NavDataError.h"

namespace corvane::navdata {

ByteReader::ByteReader(std::span<const std::uint8_t> bytes, std::string fileName)
    : bytes_(bytes), fileName_(std::move(fileName)) {}

void ByteReader::Bytes(std::uint8_t* destination, std::size_t count) {
    Need(count);
    if (count > 0) {
        std::memcpy(destination, bytes_.data() + offset_, count);
    }
    offset_ += count;
}

void ByteReader::Fail(const std::string& message) const {
    throw NavDataError(fileName_, section_, record_, message);
}

void ByteReader::FailEndOfFile(std::size_t count) const {
    Fail("the file ends early (" + std::to_string(count) + " bytes needed at offset " +
         std::to_string(offset_) + ", " + std::to_string(bytes_.size() - offset_) + " left)");
}

}  // namespace corvane::navdata
