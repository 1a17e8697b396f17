// SPDX-License-Identifier: MIT
#include "app/map/AirportPlan.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "app/airports/AirportSearch.h"
#include "app/airports/RunwayDetails.h"
#include "app/map/MapPictures.h"
#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"
#include "navdata/PositionText.h"

namespace corvane::map {

namespace {

// The plan's own value of pi, used for its angles.
constexpr double kPlanPi = 3.14159;
// The plan's origin lies this many picture units above the picture's middle.
constexpr double kPlanOriginAbove = 300;
// The runways fill this share of half the picture's height.
constexpr double kPlanFill = 0.85;

constexpr forms::Rgb kBlack{0, 0, 0};
constexpr forms::Rgb kWhite{255, 255, 255};
// Runway outlines are drawn in this colour first: the fill stops at it.
constexpr forms::Rgb kFillBoundary{0, 0, 255};

// A strip narrower or shorter than this (pixels) is covered by its outline
// alone; a flood fill seeded in it could land outside the outline.
constexpr double kMinFillPixels = 2.0;

const navdata::AirportRecord& AirportAt(const navdata::AirportDatabase& db, int number) {
    static const navdata::AirportRecord empty;
    if (number < 0 || number >= static_cast<int>(db.Airports.size()))
        return empty;
    return db.Airports[std::size_t(number)];
}

const navdata::AtisRecord* AtisOf(const navdata::AirportDatabase& db, int reference) {
    if (reference < 1 || reference > db.AtisCount ||
        reference >= static_cast<int>(db.AtisStations.size())) {
        return nullptr;
    }
    return &db.AtisStations[std::size_t(reference)];
}

const navdata::IlsRecord* IlsOf(const navdata::AirportDatabase& db, int reference) {
    if (reference < 1 || reference > db.IlsCount ||
        reference >= static_cast<int>(db.IlsStations.size())) {
        return nullptr;
    }
    return &db.IlsStations[std::size_t(reference)];
}

int RunwayListEnd(const navdata::AirportDatabase& db) {
    return std::min<int>(db.RunwayCount, static_cast<int>(db.Runways.size()) - 1);
}

PlanPoint Project(const PlanProjection& plan, const forms::Picture& picture, double lat,
                  double lon) {
    return ProjectPlanPoint(plan, picture.width, picture.height, lat, lon);
}

PlanPoint Middle(PlanPoint a, PlanPoint b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

struct LatLon {
    double lat = 0;
    double lon = 0;
};

// Writes a runway end's designator beside that end, outside the strip: when
// the end lies left of the other end, the label ends at the end's leftmost
// corner; otherwise it starts at the end's rightmost corner. Its top is level
// with that corner.
void WriteEndLabel(forms::Canvas& canvas, const std::string& text, PlanPoint corner1,
                   PlanPoint corner2, PlanPoint otherEnd) {
    const PlanPoint end = Middle(corner1, corner2);
    const bool leftOfOther = end.x <= otherEnd.x;
    const PlanPoint corner = (corner1.x <= corner2.x) == leftOfOther ? corner1 : corner2;
    canvas.SetForeColor(kBlack);
    canvas.SetCurrentX(leftOfOther ? corner.x - canvas.TextWidth(text) : corner.x);
    canvas.SetCurrentY(corner.y);
    canvas.Print(text);
}

// A box lettered in white bold, centred on a projected position. Markers that
// lie wholly off the picture are not drawn.
void DrawMarker(forms::Picture& picture, PlanPoint at, const char* letter) {
    forms::Canvas& canvas = *picture.canvas;
    const double w = canvas.TextWidth(letter);
    const double h = canvas.TextHeight(letter);
    if (!std::isfinite(at.x) || !std::isfinite(at.y) || at.x + w < 0 || at.x - w > picture.width ||
        at.y + h < 0 || at.y - h > picture.height) {
        return;
    }
    const forms::Rgb savedFill = canvas.FillColor();
    const bool savedSolid = canvas.FillSolid();
    const forms::Rgb savedFore = canvas.ForeColor();
    const bool savedBold = canvas.FontBold();

    canvas.SetFillColor(kBlack);
    canvas.SetFillSolid(true);
    canvas.Box(at.x - w, at.y - h / 1.5, at.x + w, at.y + h / 1.5);
    canvas.SetCurrentX(at.x - w / 1.5);
    canvas.SetCurrentY(at.y - h / 1.5);
    canvas.SetFontBold(true);
    canvas.SetForeColor(kWhite);
    canvas.Print(letter);

    canvas.SetFillColor(savedFill);
    canvas.SetFillSolid(savedSolid);
    canvas.SetForeColor(savedFore);
    canvas.SetFontBold(savedBold);
}

// The airport's name in a larger font, then each line with its label at the
// left margin and its value at a column just past the widest label.
void WriteTextBlock(forms::Canvas& canvas, const std::string& name,
                    const std::vector<PlanTextLine>& lines) {
    const double fontSize = canvas.FontSize();
    canvas.SetCurrentX(0);
    canvas.SetCurrentY(400);
    canvas.SetFontSize(fontSize + 5);
    canvas.Print(name);
    canvas.NewLine();
    canvas.SetFontSize(fontSize);
    const double valueColumn = canvas.TextWidth("ATIS Freq. ") + 20;
    for (const PlanTextLine& line : lines) {
        if (!line.label.empty())
            canvas.Print(line.label);
        if (!line.value.empty()) {
            canvas.SetCurrentX(valueColumn);
            canvas.Print(line.value);
        }
        canvas.NewLine();
    }
}

}  // namespace

PlanFit FitPlan(const navdata::AirportDatabase& db, int airportNumber, double pictureHeight) {
    double south = 180, north = -180, west = 500, east = -500;
    PlanFit fit;
    // Runway ends across the 180 degree meridian from the airport are taken on
    // the airport's side of it, so that the box holds the airport's ground and
    // not the rest of the world.
    const double airportLon = AirportAt(db, airportNumber).longitude;
    for (int r = 1; r <= RunwayListEnd(db); ++r) {
        const navdata::RunwayRecord& runway = db.Runways[std::size_t(r)];
        if (runway.airportNumber != airportNumber)
            continue;
        fit.hasRunways = true;
        for (auto [lat, storedLon] : {std::pair{runway.latitudeA, runway.longitudeA},
                                      std::pair{runway.latitudeB, runway.longitudeB}}) {
            const double lon = navdata::NearestLongitude(storedLon, airportLon);
            south = std::min(south, lat);
            north = std::max(north, lat);
            west = std::min(west, lon);
            east = std::max(east, lon);
        }
    }
    PlanProjection& plan = fit.projection;
    plan.cLat = (south + north) / 2;
    plan.cLon = (west + east) / 2;
    fit.R = std::max(navdata::GreatCircleDistance(plan.cLat, plan.cLon, south, plan.cLon),
                     navdata::GreatCircleDistance(plan.cLat, plan.cLon, plan.cLat, west));
    plan.s = fit.R > 0 ? (pictureHeight / 2) * kPlanFill / fit.R : 0;
    return fit;
}

PlanPoint ProjectPlanPoint(const PlanProjection& plan, double pictureWidth, double pictureHeight,
                           double lat, double lon) {
    // A point across the 180 degree meridian from the centre is measured on the
    // centre's side of it.
    lon = navdata::NearestLongitude(lon, plan.cLon);
    const double d = navdata::GreatCircleDistance(plan.cLat, plan.cLon, lat, lon);
    const double b = navdata::InitialBearing(plan.cLat, plan.cLon, lat, lon);
    const double a = b * kPlanPi / 180;
    return {pictureWidth / 2 + std::sin(a) * d * plan.s,
            pictureHeight / 2 - std::cos(a) * d * plan.s - kPlanOriginAbove};
}

bool SurfaceFillColour(int surface, forms::Rgb* colour) {
    switch (surface) {
        case 0:  // grass
        case 3:  // grass
            *colour = {0, 192, 0};
            return true;
        case 1:  // concrete
            *colour = {255, 255, 192};
            return true;
        case 2:  // asphalt
            *colour = {192, 192, 192};
            return true;
        case 4:  // dirt
            *colour = {255, 192, 128};
            return true;
        default:
            return false;
    }
}

void moveto(double lat, double lon, const PlanProjection& plan, forms::Picture& picture) {
    const PlanPoint at = Project(plan, picture, lat, lon);
    picture.canvas->SetCurrentX(at.x);
    picture.canvas->SetCurrentY(at.y);
}

void drawline(double lat1, double lon1, double lat2, double lon2, const PlanProjection& plan,
              forms::Picture& picture) {
    const PlanPoint from = Project(plan, picture, lat1, lon1);
    const PlanPoint to = Project(plan, picture, lat2, lon2);
    picture.canvas->Line(from.x, from.y, to.x, to.y);
}

void showrunway(const navdata::AirportDatabase& db, int runwayNumber, const PlanProjection& plan,
                int /*airportNumber*/, forms::Picture& picture) {
    if (picture.canvas == nullptr || runwayNumber < 1 || runwayNumber > RunwayListEnd(db)) {
        return;
    }
    const navdata::RunwayRecord& runway = db.Runways[std::size_t(runwayNumber)];
    forms::Canvas& canvas = *picture.canvas;

    // The strip's corners: each end shifted by half the width to either side
    // of the centre line, perpendicular to the runway's bearing H. Going
    // round: end A right, end B right, end B left, end A left (right and left
    // as seen landing in direction A).
    // End B of a runway across the 180 degree meridian is taken on end A's side.
    const double longitudeB = navdata::NearestLongitude(runway.longitudeB, runway.longitudeA);
    const double h =
        navdata::InitialBearing(runway.latitudeA, runway.longitudeA, runway.latitudeB, longitudeB) *
        kPlanPi / 180;
    const double halfWidthFt = runway.widthFeet / 2.0;
    const double northOffset = halfWidthFt * std::sin(h) / navdata::FeetPerDegreeLatitude;
    const double feetPerLonDeg = navdata::InterpolatedFeetPerLongitudeDegree(
        std::fabs((runway.latitudeA + runway.latitudeB) / 2));
    const double eastOffset = feetPerLonDeg > 0 ? halfWidthFt * std::cos(h) / feetPerLonDeg : 0;
    const LatLon corners[4] = {
        {runway.latitudeA - northOffset, runway.longitudeA + eastOffset},
        {runway.latitudeB - northOffset, longitudeB + eastOffset},
        {runway.latitudeB + northOffset, longitudeB - eastOffset},
        {runway.latitudeA + northOffset, runway.longitudeA - eastOffset},
    };
    auto outline = [&] {
        for (int i = 0; i < 4; ++i) {
            const LatLon& from = corners[i];
            const LatLon& to = corners[(i + 1) % 4];
            drawline(from.lat, from.lon, to.lat, to.lon, plan, picture);
        }
    };
    PlanPoint projected[4];
    for (int i = 0; i < 4; ++i)
        projected[i] = Project(plan, picture, corners[i].lat, corners[i].lon);

    // The boundary of the fill.
    canvas.SetForeColor(kFillBoundary);
    outline();

    // Fill from the strip's centre, in pixels, up to the blue outline.
    forms::Rgb fill;
    const double tppX = canvas.TwipsPerPixelX();
    const double tppY = canvas.TwipsPerPixelY();
    auto pixels = [&](PlanPoint a, PlanPoint b) {
        return std::hypot((a.x - b.x) / tppX, (a.y - b.y) / tppY);
    };
    const PlanPoint centre = Middle(projected[0], projected[2]);
    const double seedX = std::nearbyint(centre.x / tppX);
    const double seedY = std::nearbyint(centre.y / tppY);
    if (SurfaceFillColour(runway.surface, &fill) &&
        pixels(projected[0], projected[3]) >= kMinFillPixels &&
        pixels(projected[0], projected[1]) >= kMinFillPixels && seedX >= 0 &&
        seedX < canvas.PixelWidth() && seedY >= 0 && seedY < canvas.PixelHeight()) {
        canvas.SetScaleMode(forms::ScaleMode::Pixels);
        canvas.SetFillColor(fill);
        canvas.SetFillSolid(true);
        canvas.FloodFill(static_cast<int>(seedX), static_cast<int>(seedY), kFillBoundary);
        canvas.SetScaleMode(forms::ScaleMode::Twips);
        canvas.SetFillSolid(false);
    }

    // The outline again in black, all four edges.
    canvas.SetForeColor(kBlack);
    outline();

    // Labels last, so that no text can break the fill's boundary.
    const PlanPoint endA = Middle(projected[0], projected[3]);
    const PlanPoint endB = Middle(projected[1], projected[2]);
    WriteEndLabel(canvas, navdata::RunwayDesignatorText(runway.codeA), projected[0], projected[3],
                  endB);
    WriteEndLabel(canvas, navdata::RunwayDesignatorText(runway.codeB), projected[1], projected[2],
                  endA);
}

void Drawatis(const navdata::AirportDatabase& db, int airportNumber, const PlanProjection& plan,
              forms::Picture& picture) {
    const navdata::AtisRecord* atis = AtisOf(db, AirportAt(db, airportNumber).atisNumber);
    if (atis == nullptr || picture.canvas == nullptr)
        return;
    DrawMarker(picture, Project(plan, picture, atis->latitude, atis->longitude), "A");
}

void Drawfuel(const navdata::AirportDatabase& db, int airportNumber, const PlanProjection& plan,
              forms::Picture& picture) {
    const navdata::AirportRecord& airport = AirportAt(db, airportNumber);
    if (picture.canvas == nullptr)
        return;
    DrawMarker(picture, Project(plan, picture, airport.fuelLatitude, airport.fuelLongitude), "F");
}

std::vector<PlanTextLine> PlanTextLines(const navdata::AirportDatabase& db, int airportNumber) {
    const navdata::AirportRecord& airport = AirportAt(db, airportNumber);
    std::vector<PlanTextLine> lines;
    lines.push_back({"Lat. ", navdata::LatitudeText(airport.latitude)});
    lines.push_back({"Long. ", navdata::LongitudeText(airport.longitude)});
    lines.push_back({"Alt.", airports::TrimBlanks(navdata::NumberText(
                                 std::floor(airport.elevation * navdata::FeetPerMetre))) +
                                 " ft"});
    if (airport.FuelAvailable()) {
        lines.push_back({"Fuel lat. ", navdata::LatitudeText(airport.fuelLatitude)});
        lines.push_back({"Fuel long. ", navdata::LongitudeText(airport.fuelLongitude)});
    } else {
        lines.push_back({"Fuel not available", ""});
    }
    if (const navdata::AtisRecord* atis = AtisOf(db, airport.atisNumber)) {
        lines.push_back({"ATIS lat. ", navdata::LatitudeText(atis->latitude)});
        lines.push_back({"ATIS long. ", navdata::LongitudeText(atis->longitude)});
        lines.push_back(
            {"ATIS Freq. ", airports::TrimBlanks(navdata::NumberText(atis->frequency))});
    } else {
        lines.push_back({"No ATIS", ""});
    }

    struct RunwayLine {
        std::string designator;
        std::string ils;
    };
    std::vector<RunwayLine> runways;
    for (int r = 1; r <= RunwayListEnd(db); ++r) {
        const navdata::RunwayRecord& runway = db.Runways[std::size_t(r)];
        if (runway.airportNumber != airportNumber)
            continue;
        for (auto [code, reference] : {std::pair<int, int>{runway.codeA, runway.ilsA},
                                       std::pair<int, int>{runway.codeB, runway.ilsB}}) {
            const navdata::IlsRecord* ils = IlsOf(db, reference);
            runways.push_back(
                {navdata::RunwayDesignatorText(code),
                 ils == nullptr ? std::string()
                                : ils->ident + " (" + navdata::NumberText(ils->frequency) + ")"});
        }
    }
    airports::SortByRunwayNumber(runways);

    lines.push_back({"", ""});
    lines.push_back({"Runway", "ILS details"});
    for (const RunwayLine& runway : runways)
        lines.push_back({runway.designator, runway.ils});
    return lines;
}

void showmapall(const navdata::AirportDatabase& db, forms::Form2Model& form, int airportNumber) {
    const navdata::AirportRecord& airport = AirportAt(db, airportNumber);
    form.visible = true;
    form.tag = std::to_string(airportNumber);
    form.caption = airport.name;
    if (form.surface.canvas)
        form.surface.canvas->Cls();
    if (form.picmap.canvas)
        form.picmap.canvas->Cls();

    const PlanFit fit = FitPlan(db, airportNumber, form.picmap.height);
    // The plan needs runways that span some ground; otherwise the text block
    // alone describes the airport.
    if (form.picmap.canvas && fit.hasRunways && fit.R > 0 && std::isfinite(fit.projection.s)) {
        for (int r = 1; r <= RunwayListEnd(db); ++r) {
            if (db.Runways[std::size_t(r)].airportNumber != airportNumber)
                continue;
            showrunway(db, r, fit.projection, airportNumber, form.picmap);
        }
        if (airport.FuelAvailable())
            Drawfuel(db, airportNumber, fit.projection, form.picmap);
        if (airport.atisNumber != 0)
            Drawatis(db, airportNumber, fit.projection, form.picmap);
        double span = fit.R;
        drawscale(span, form.picmap);
    }
    if (form.surface.canvas)
        WriteTextBlock(*form.surface.canvas, airport.name, PlanTextLines(db, airportNumber));
}

}  // namespace corvane::map
