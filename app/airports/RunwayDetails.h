// SPDX-License-Identifier: MIT
//
// The runway details of the airport window: the landing directions of an
// airport sorted by runway number, and the thirteen-column grid of their
// runway and ILS data. Pure; also used by the airport plan's runway list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/forms/Controls.h"
#include "navdata/AirportDatabase.h"

namespace corvane::airports {

enum class RunwayEnd { A, B };

// One landing direction: the designator text of its touchdown end, the runway
// record it belongs to and which end that is.
struct LandingDirection {
    std::string designator;  // RunwayDesignatorText of codeA or codeB, e.g. " 27R"
    std::int32_t runway = 0;
    RunwayEnd end = RunwayEnd::A;
};

// The landing directions of an airport in runway record order: end A, then
// end B of each runway whose airportNumber is the airport.
std::vector<LandingDirection> LandingDirectionsOf(const navdata::AirportDatabase& db,
                                                  int airportNumber);

// The runway number at the start of a designator text, as a number reads from
// the front of a text: blanks skipped, then the digits. " 27R" -> 27; 0 when
// the text does not start with a number.
int LeadingRunwayNumber(std::string_view designator);

// Sorts entries by the runway number at the start of their designator,
// ascending, with the exchange sort the program's lists have always shown:
// for each place i, every later entry j with a smaller number is exchanged
// into place i. Equal numbers are never exchanged, but an exchange can move
// an entry past its equals, so this is not a stable sort.
template <typename Entry>
void SortByRunwayNumber(std::vector<Entry>& entries) {
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            if (LeadingRunwayNumber(entries[j].designator) <
                LeadingRunwayNumber(entries[i].designator)) {
                std::swap(entries[i], entries[j]);
            }
        }
    }
}

// The name of a runway surface code: 0 and 3 "Grass", 1 "Concrete",
// 2 "Asphalt", 4 "Dirt"; empty for any other code.
std::string SurfaceName(int surface);

// A number as plain text: the shortest decimal form, no leading blank, a zero
// before the point of a value below 1, and the given decimal separator.
// Examples: 110.3 -> "110.3"; 0.5 -> "0.5"; 10 -> "10"; 110.3 with ',' -> "110,3".
std::string PlainNumberText(double x, char decimalSeparator = '.');

// Column layout of the details grid: header texts and widths in twips.
inline constexpr int kRunwayGridColumns = 13;
struct RunwayGridColumn {
    const char* header;
    int widthTwips;
};
extern const RunwayGridColumn kRunwayGridLayout[kRunwayGridColumns];

// Fills the details grid for an airport: header row 0 (centred texts, column
// widths, fixed first row and column), then one row per landing direction in
// runway number order. ILS columns (5 to 12) are filled only for a direction
// that has an ILS; a reference beyond the ILS list counts as none.
void FillRunwayGrid(forms::Grid& grid, const navdata::AirportDatabase& db, int airportNumber,
                    char decimalSeparator = '.');

}  // namespace corvane::airports
