// SPDX-License-Identifier: MIT
#include "app/airports/AirportChoice.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "app/airports/AirportSearch.h"

namespace corvane::airports {

int LastAirportNumber(const navdata::AirportDatabase& db) {
    return std::min<int>(db.AirportCount, static_cast<int>(db.Airports.size()) - 1);
}

int WholeNumber(const std::string& text) {
    const std::string trimmed = TrimBlanks(text);
    int value = 0;
    std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    return value;
}

int AirportOfResultLine(const navdata::AirportDatabase& db, const std::string& line,
                        std::int32_t itemData) {
    const std::string name = TrimBlanks(std::string_view(line).substr(0, line.find('{')));
    const auto& airports = db.Airports;
    const int last = LastAirportNumber(db);
    if (itemData >= 1 && itemData <= last &&
        TrimBlanks(airports[std::size_t(itemData)].name) == name)
        return itemData;
    for (int i = 1; i <= last; ++i) {
        if (TrimBlanks(airports[std::size_t(i)].name) == name)
            return i;
    }
    return db.AirportCount + 1;
}

}  // namespace corvane::airports
