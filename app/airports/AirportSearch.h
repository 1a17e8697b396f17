// SPDX-License-Identifier: MIT
//
// The airport search by name: which airports match a search text and how each
// is shown in the airport window's list. Pure; the search window's handlers
// (SearchWindow.cpp) put the results into the forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "navdata/AirportDatabase.h"

namespace corvane::airports {

// The text without leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(std::string_view text);

// Upper case of a text in the Windows ANSI code page (Western): the ASCII
// letters and the accented Latin letters; every other byte as it is.
// Example: "Zürich" (ANSI bytes) -> "ZÜRICH".
std::string UpperCaseAnsi(std::string_view text);

// One line of the search results: the trimmed name, " {", "N" or "S" and the
// whole degrees of the latitude, two blanks, "E" or "W" and the whole degrees
// of the longitude (a longitude beyond 360 taken once round), "}". Each number
// by the program's number text, so it carries a blank before it.
// Example: LONDON HEATHROW at 51.47 N, 0.46 W -> "LONDON HEATHROW {N 51  W 0}".
std::string SearchResultLine(const navdata::AirportRecord& airport);

struct SearchResults {
    std::vector<std::int32_t> airports;  // record numbers, in record order
    std::vector<std::string> lines;      // SearchResultLine of each
};

// Every airport whose name contains the key, ignoring case and the key's own
// leading and trailing blanks (an empty key matches every name). Airports at
// latitude or longitude exactly 0 are left out: they have no real position.
SearchResults FindAirports(const navdata::AirportDatabase& db, std::string_view searchText);

// The database's airport names upper-cased once and side by side, for a
// caller that searches one database many times: Find gives what FindAirports
// gives, without reading every record of the database for each search. The
// database must be the one the index was made from, unchanged.
class AirportSearchIndex {
  public:
    explicit AirportSearchIndex(const navdata::AirportDatabase& db);
    SearchResults Find(const navdata::AirportDatabase& db, std::string_view searchText) const;

  private:
    std::string names_;
    std::vector<std::size_t> ends_;  // record i's name ends at ends_[i], starts at ends_[i - 1]
};

}  // namespace corvane::airports
