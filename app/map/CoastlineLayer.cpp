// SPDX-License-Identifier: MIT
#include "app/map/CoastlineLayer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/map/MapProjection.h"

namespace corvane::map {

int CoastPointStep(double lonmin, double lonmax, std::int16_t width) {
    const double pixelsPerDegree = width / (lonmax - lonmin);
    return pixelsPerDegree < 50 ? 5 : 1;
}

void DrawCoastlines(forms::Canvas& canvas, const navdata::CoastlineData& coast, double latmin,
                    double lonmin, double latmax, double lonmax, float heading, double halflat,
                    double halflon, std::int16_t width, std::int16_t height,
                    const MapScreen& screen, const LetEventsRun& letEventsRun) {
    const forms::Rgb savedColour = canvas.ForeColor();
    canvas.SetForeColor(kCoastlineColour);

    const int step = CoastPointStep(lonmin, lonmax, width);
    Projection projection;
    projection.centreLat = (latmax + latmin) / 2;
    projection.centreLon = (lonmax + lonmin) / 2;
    projection.xc = std::nearbyint(width / 2.0);
    projection.yc = std::nearbyint(height / 2.0);
    projection.turn = MapScaleAndTurn(screen, heading, halflat, halflon);

    const std::vector<float>& lats = coast.CoastLatitude;
    const std::vector<float>& lons = coast.CoastLongitude;
    const int pointEntries = static_cast<int>(std::min(lats.size(), lons.size()));
    auto inside = [&](int k) {
        const double lat = lats[static_cast<std::size_t>(k)];
        const double lon = lons[static_cast<std::size_t>(k)];
        return latmin <= lat && lat <= latmax && lonmin <= lon && lon <= lonmax;
    };
    struct Pixel {
        int x = 0;
        int y = 0;
    };
    auto project = [&](int k) {
        const CanvasPoint point = ProjectToCanvas(projection, lats[static_cast<std::size_t>(k)],
                                                  lons[static_cast<std::size_t>(k)]);
        return Pixel{RoundToPixel(point.x), RoundToPixel(point.y)};
    };

    long drawn = 0;
    const int blockCount =
        std::min<int>(coast.CoastBlockCount, static_cast<int>(coast.CoastBlocks.size()) - 1);
    for (int j = 1; j <= blockCount; ++j) {
        const navdata::CoastBlock& block = coast.CoastBlocks[static_cast<std::size_t>(j)];
        if (block.maxLatitude < latmin)
            continue;
        if (block.minLatitude > latmax)
            break;
        if (block.maxLongitude < lonmin || block.minLongitude > lonmax)
            continue;
        int k = block.firstPoint;
        if (k < 1 || k >= pointEntries)
            continue;

        Pixel previous = project(k);
        canvas.MoveTo(previous.x, previous.y);
        bool wasInside = inside(k);
        long n = 0;
        while (k < pointEntries &&
               lats[static_cast<std::size_t>(k)] + lons[static_cast<std::size_t>(k)] <
                   navdata::CoastBreak) {
            bool curInside = true;
            bool projected = false;
            Pixel q;
            if (n % step == 0) {
                q = project(k);
                projected = true;
                if (!inside(k)) {
                    curInside = false;
                } else {
                    if (!wasInside)
                        canvas.MoveTo(previous.x, previous.y);
                    canvas.LineTo(q.x, q.y);
                    if (++drawn % 200 == 0 && letEventsRun)
                        letEventsRun();
                }
            }
            if (!wasInside) {
                if (!projected)
                    q = project(k);
                projected = true;
                canvas.LineTo(q.x, q.y);
            }
            // The previous point is needed again only after an outside point,
            // which is always projected.
            if (projected)
                previous = q;
            wasInside = curInside;
            ++n;
            ++k;
        }
    }
    canvas.SetForeColor(savedColour);
}

}  // namespace corvane::map
