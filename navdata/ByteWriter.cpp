// SPDX-License-Identifier: MIT
#include "navdata/ByteWriter.h"

#include <utility>

#include "navdata/NavDataError.h"

namespace corvane::navdata {

ByteWriter::ByteWriter(std::string fileName) : fileName_(std::move(fileName)) {}

void ByteWriter::Text(const std::string& text) {
    if (text.size() > 0xFFFF) {
        Fail("a text of " + std::to_string(text.size()) + " bytes is longer than 65535");
    }
    const auto length = static_cast<std::uint16_t>(text.size());
    bytes_.push_back(static_cast<std::uint8_t>(length));
    bytes_.push_back(static_cast<std::uint8_t>(length >> 8));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void ByteWriter::Fail(const std::string& message) const {
    throw NavDataError(fileName_, section_, record_, message);
}

}  // namespace corvane::navdata
