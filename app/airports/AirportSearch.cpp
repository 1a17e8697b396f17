// SPDX-License-Identifier: MIT
#include "app/airports/AirportSearch.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "navdata/PositionText.h"

namespace corvane::airports {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr unsigned char UpperAnsiOf(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 'a' + 'A');
    // Latin-1 block of the code page: à..þ -> À..Þ, except the division sign.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
        case 0x9A:
            return 0x8A;  // š
        case 0x9C:
            return 0x8C;  // œ
        case 0x9E:
            return 0x8E;  // ž
        case 0xFF:
            return 0x9F;  // ÿ
        default:
            return c;
    }
}

// The same as a table: the search tests every character of every airport name.
constexpr std::array<unsigned char, 256> kUpperAnsi = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = UpperAnsiOf(static_cast<unsigned char>(c));
    return table;
}();

unsigned char UpperAnsi(unsigned char c) {
    return kUpperAnsi[c];
}

// Whether texts, upper-cased as UpperCaseAnsi does, hold an upper-case key:
// the search's test of every airport name, without a copy of the name. The
// key is looked for from its last character back, and a window that fails
// moves on by as far as the text's character under the key's last place
// allows (Horspool's rule), counted on the upper-cased characters: for a
// four-letter code most windows look at one character.
class UpperCasedKey {
  public:
    explicit UpperCasedKey(std::string_view key) : key_(key) {
        const std::size_t m = key_.size();
        shift_.fill(m);
        for (int c = 0; c < 256 && m > 0; ++c) {
            const unsigned char upper = UpperAnsi(static_cast<unsigned char>(c));
            for (std::size_t i = 0; i + 1 < m; ++i)
                if (static_cast<unsigned char>(key_[i]) == upper)
                    shift_[static_cast<std::size_t>(c)] = m - 1 - i;
        }
    }

    bool HeldBy(std::string_view text) const { return FirstIn(text, 0) != std::string_view::npos; }

    // Where the key first stands in the text at or after from; npos if
    // nowhere.
    std::size_t FirstIn(std::string_view text, std::size_t from) const {
        const std::size_t m = key_.size();
        if (m == 0)
            return from <= text.size() ? from : std::string_view::npos;
        for (std::size_t at = from; at + m <= text.size();) {
            std::size_t j = m - 1;
            while (UpperAnsi(static_cast<unsigned char>(text[at + j])) ==
                   static_cast<unsigned char>(key_[j])) {
                if (j == 0)
                    return at;
                --j;
            }
            at += shift_[static_cast<unsigned char>(text[at + m - 1])];
        }
        return std::string_view::npos;
    }

    std::size_t size() const { return key_.size(); }

  private:
    std::string_view key_;
    std::array<std::size_t, 256> shift_{};
};

}  // namespace

std::string TrimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string UpperCaseAnsi(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(UpperAnsi(static_cast<unsigned char>(c)));
    return upper;
}

std::string SearchResultLine(const navdata::AirportRecord& airport) {
    const double latitude = airport.latitude;
    const double longitude = airport.longitude;
    std::string line = TrimBlanks(airport.name);
    line += " {";
    line += latitude < 0 ? "S" : "N";
    line += navdata::NumberText(std::floor(std::fabs(latitude)));
    line += "  ";
    line += longitude < 0 ? "W" : "E";
    double a = std::fabs(longitude);
    if (a > 360)
        a -= 360;
    line += navdata::NumberText(std::fmod(std::floor(a), 360.0));
    line += "}";
    return line;
}

namespace {

// The records searched: those the file counts and the table holds.
int SearchedAirports(const navdata::AirportDatabase& db) {
    return std::min<int>(db.AirportCount, static_cast<int>(db.Airports.size()) - 1);
}

// Record i as a result, when it stands at a real position.
void AddResult(const navdata::AirportDatabase& db, int i, SearchResults& results) {
    const navdata::AirportRecord& airport = db.Airports[std::size_t(i)];
    if (airport.latitude == 0 || airport.longitude == 0)
        return;
    results.airports.push_back(i);
    results.lines.push_back(SearchResultLine(airport));
}

// Every record i of 1..count whose name (as nameOf gives it) holds the key,
// at a real position.
template <typename NameOf>
SearchResults FindByName(const navdata::AirportDatabase& db, int count, std::string_view searchText,
                         NameOf nameOf) {
    const std::string key = UpperCaseAnsi(TrimBlanks(searchText));
    const UpperCasedKey upperKey(key);
    SearchResults results;
    for (int i = 1; i <= count; ++i) {
        if (upperKey.HeldBy(nameOf(i)))
            AddResult(db, i, results);
    }
    return results;
}

}  // namespace

SearchResults FindAirports(const navdata::AirportDatabase& db, std::string_view searchText) {
    return FindByName(db, SearchedAirports(db), searchText, [&db](int i) -> std::string_view {
        return db.Airports[std::size_t(i)].name;
    });
}

AirportSearchIndex::AirportSearchIndex(const navdata::AirportDatabase& db) {
    const int count = SearchedAirports(db);
    ends_.assign(1, 0);
    for (int i = 1; i <= count; ++i) {
        // Upper case twice is upper case once: the key's test reads these
        // names as it reads the records' own.
        names_ += UpperCaseAnsi(db.Airports[std::size_t(i)].name);
        ends_.push_back(names_.size());
    }
}

SearchResults AirportSearchIndex::Find(const navdata::AirportDatabase& db,
                                       std::string_view searchText) const {
    const int count = std::min(SearchedAirports(db), static_cast<int>(ends_.size()) - 1);
    const std::string key = UpperCaseAnsi(TrimBlanks(searchText));
    SearchResults results;
    if (count < 1)
        return results;
    if (key.empty()) {  // every name holds the empty key
        for (int i = 1; i <= count; ++i)
            AddResult(db, i, results);
        return results;
    }
    // One scan along the names side by side: a place where the key stands is
    // the name's whose text holds that place, if the key ends inside it too;
    // one that runs on into the next name is looked past by a character.
    const UpperCasedKey upperKey(key);
    const std::string_view text(names_.data(), ends_[std::size_t(count)]);
    const auto ends = ends_.begin();
    std::size_t i = 1;
    for (std::size_t from = 0;;) {
        const std::size_t at = upperKey.FirstIn(text, from);
        if (at == std::string_view::npos)
            break;
        i = std::size_t(std::upper_bound(ends + std::ptrdiff_t(i), ends + count + 1, at) - ends);
        if (at + upperKey.size() <= ends_[i]) {
            AddResult(db, static_cast<int>(i), results);
            from = ends_[i];
            ++i;
        } else {
            from = at + 1;
        }
    }
    return results;
}

}  // namespace corvane::airports
