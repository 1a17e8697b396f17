// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace corvane::navdata {

/// The one error of the navigation-data files: names the file, the section of the file, the
/// record (0 when the fault is not in a record) and what is wrong.
/// Example what(): "/opt/corvane/airdata.tri: runways, record 12: the file ends early (51 bytes
/// needed at offset 4711, 20 left)".
class NavDataError : public std::runtime_error {
  public:
    NavDataError(std::string file, std::string section, long record, std::string message);

    const std::string& file() const { return file_; }
    const std::string& section() const { return section_; }
    long record() const { return record_; }
    const std::string& message() const { return message_; }

  private:
    std::string file_;
    std::string section_;
    long record_;
    std::string message_;
};

}  // namespace corvane::navdata
