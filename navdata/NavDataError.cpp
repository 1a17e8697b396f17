// SPDX-License-Identifier: MIT
#include "navdata/NavDataError.h"

#include <utility>

namespace corvane::navdata {

namespace {
std::string Describe(const std::string& file, const std::string& section, long record,
                     const std::string& message) {
    std::string text = file;
    if (!section.empty()) {
        text += ": " + section;
        if (record > 0) {
            text += ", record " + std::to_string(record);
        }
    }
    text += ": " + message;
    return text;
}
}  // namespace

NavDataError::NavDataError(std::string file, std::string section, long record, std::string message)
    : std::runtime_error(Describe(file, section, record, message)),
      file_(std::move(file)),
      section_(std::move(section)),
      record_(record),
      message_(std::move(message)) {}

}  // namespace corvane::navdata
