// SPDX-License-Identifier: MIT
#include "app/airports/RunwayDetails.h"

#include <algorithm>
#include <cmath>

#include "navdata/NavigationConstants.h"
#include "navdata/PositionText.h"

namespace corvane::airports {

namespace {

// The ILS record a runway end refers to, or nullptr for none (0) and for a
// reference beyond the list.
const navdata::IlsRecord* IlsOf(const navdata::AirportDatabase& db, int reference) {
    if (reference < 1 || reference > db.IlsCount ||
        reference >= static_cast<int>(db.IlsStations.size())) {
        return nullptr;
    }
    return &db.IlsStations[std::size_t(reference)];
}

// NumberText of a whole number of feet from metres, cut down.
std::string FeetText(double metres) {
    return navdata::NumberText(std::floor(metres * navdata::FeetPerMetre)) + " ft";
}

}  // namespace

const RunwayGridColumn kRunwayGridLayout[kRunwayGridColumns] = {
    {"Rwy", 500},      {"Length", 800},    {"Width", 600},      {"Altit.", 600},
    {"Surface", 800},  {"ILS ID", 600},    {"ILS Name", 1200},  {"ILS Freq", 750},
    {"ILS app.", 800}, {"ILS range", 800}, {"GS latit.", 1200}, {"GS long.", 1200},
    {"GS Alt", 600},
};

std::vector<LandingDirection> LandingDirectionsOf(const navdata::AirportDatabase& db,
                                                  int airportNumber) {
    std::vector<LandingDirection> directions;
    const int count = std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
    for (int r = 1; r <= count; ++r) {
        const navdata::RunwayRecord& runway = db.Runways[std::size_t(r)];
        if (runway.airportNumber != airportNumber)
            continue;
        directions.push_back({navdata::RunwayDesignatorText(runway.codeA), r, RunwayEnd::A});
        directions.push_back({navdata::RunwayDesignatorText(runway.codeB), r, RunwayEnd::B});
    }
    return directions;
}

int LeadingRunwayNumber(std::string_view designator) {
    std::size_t i = 0;
    while (i < designator.size() && (designator[i] == ' ' || designator[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < designator.size() && (designator[i] == '-' || designator[i] == '+')) {
        negative = designator[i] == '-';
        ++i;
    }
    int number = 0;
    for (int digits = 0;
         i < designator.size() && designator[i] >= '0' && designator[i] <= '9' && digits < 9;
         ++i, ++digits) {
        number = number * 10 + (designator[i] - '0');
    }
    return negative ? -number : number;
}

std::string SurfaceName(int surface) {
    switch (surface) {
        case 0:
            return "Grass";
        case 1:
            return "Concrete";
        case 2:
            return "Asphalt";
        case 3:
            return "Grass";
        case 4:
            return "Dirt";
        default:
            return "";
    }
}

std::string PlainNumberText(double x, char decimalSeparator) {
    std::string text = navdata::NumberText(x);
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    const std::size_t digitsStart = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() > digitsStart && text[digitsStart] == '.')
        text.insert(digitsStart, 1, '0');
    for (char& c : text) {
        if (c == '.')
            c = decimalSeparator;
    }
    return text;
}

void FillRunwayGrid(forms::Grid& grid, const navdata::AirportDatabase& db, int airportNumber,
                    char decimalSeparator) {
    std::vector<LandingDirection> directions = LandingDirectionsOf(db, airportNumber);
    SortByRunwayNumber(directions);

    grid.Clear();
    grid.SetCols(kRunwayGridColumns);
    grid.SetRows(2);
    grid.fixedRows = 1;
    grid.fixedCols = 1;
    for (int col = 0; col < kRunwayGridColumns; ++col) {
        grid.headerAlignment[std::size_t(col)] = forms::GridAlignment::Centre;
        grid.colWidths[std::size_t(col)] = kRunwayGridLayout[col].widthTwips;
        grid.SetText(0, col, kRunwayGridLayout[col].header);
    }

    int row = 0;
    for (const LandingDirection& direction : directions) {
        ++row;
        grid.SetRows(row + 1);
        const navdata::RunwayRecord& runway = db.Runways[std::size_t(direction.runway)];
        const bool endA = direction.end == RunwayEnd::A;
        grid.SetText(row, 0, direction.designator);
        grid.SetText(row, 1, navdata::NumberText(runway.lengthFeet) + " ft");
        grid.SetText(row, 2, navdata::NumberText(runway.widthFeet) + " ft");
        grid.SetText(row, 3, FeetText(endA ? runway.elevationA : runway.elevationB));
        grid.SetText(row, 4, SurfaceName(runway.surface));

        const navdata::IlsRecord* ils = IlsOf(db, endA ? runway.ilsA : runway.ilsB);
        if (ils == nullptr)
            continue;
        grid.SetText(row, 5, ils->ident);
        grid.SetText(row, 6, ils->name);
        grid.SetText(row, 7, PlainNumberText(ils->frequency, decimalSeparator));
        grid.SetText(row, 8, navdata::NumberText(ils->approachHeading) + " deg");
        grid.SetText(row, 9, PlainNumberText(std::floor(ils->rangeKm / 1.852), decimalSeparator));
        grid.SetText(row, 10, navdata::LatitudeText(ils->glideSlopeLatitude));
        grid.SetText(row, 11, navdata::LongitudeText(ils->glideSlopeLongitude));
        grid.SetText(row, 12, FeetText(ils->glideSlopeAltitude));
    }
}

}  // namespace corvane::airports
