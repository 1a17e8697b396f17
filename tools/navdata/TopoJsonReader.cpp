// SPDX-License-Identifier: MIT
#include "tools/navdata/TopoJsonReader.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "tools/navdata/ConversionError.h"
#include "tools/navdata/LineReader.h"

namespace corvane::navdata::convert {

namespace {

using nlohmann::json;

class TopologyReader {
  public:
    TopologyReader(const json& topology, const std::string& fileName) : fileName_(fileName) {
        if (!topology.is_object() || TypeOf(topology) != "Topology") {
            Fail("", "not a TopoJSON topology (\"type\": \"Topology\" is missing)");
        }
        ReadTransform(topology);
        ReadArcs(topology);
    }

    void ReadObjects(const json& topology, std::vector<Ring>& rings) {
        const json* objects = Member(topology, "objects", "");
        if (!objects->is_object()) {
            Fail("objects", "is not an object");
        }
        if (objects->contains("land")) {
            ReadGeometry((*objects)["land"], "objects.land", rings);
            return;
        }
        for (const auto& [name, geometry] : objects->items()) {
            ReadGeometry(geometry, "objects." + name, rings);
        }
    }

  private:
    [[noreturn]] void Fail(const std::string& where, const std::string& message) const {
        throw ConversionError(fileName_ + ": " + (where.empty() ? "" : where + ": ") + message);
    }

    const json* Member(const json& object, const char* name, const std::string& where) const {
        const auto it = object.find(name);
        if (it == object.end()) {
            Fail(where, std::string("\"") + name + "\" is missing");
        }
        return &*it;
    }

    // An object's "type" member when it is a string, else "" (an unknown type).
    static std::string TypeOf(const json& object) {
        const auto it = object.find("type");
        return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
    }

    double Number(const json& value, const std::string& where) const {
        if (!value.is_number()) {
            Fail(where, "is not a number");
        }
        const double v = value.get<double>();
        if (!std::isfinite(v)) {
            Fail(where, "is not a finite number");
        }
        return v;
    }

    void ReadTransform(const json& topology) {
        const auto it = topology.find("transform");
        if (it == topology.end()) {
            return;
        }
        const json& scale = *Member(*it, "scale", "transform");
        const json& translate = *Member(*it, "translate", "transform");
        if (!scale.is_array() || scale.size() != 2 || !translate.is_array() ||
            translate.size() != 2) {
            Fail("transform", "scale and translate must be pairs of numbers");
        }
        quantized_ = true;
        scaleX_ = Number(scale[0], "transform.scale[0]");
        scaleY_ = Number(scale[1], "transform.scale[1]");
        translateX_ = Number(translate[0], "transform.translate[0]");
        translateY_ = Number(translate[1], "transform.translate[1]");
    }

    void ReadArcs(const json& topology) {
        const json& arcs = *Member(topology, "arcs", "");
        if (!arcs.is_array()) {
            Fail("arcs", "is not an array");
        }
        arcs_.reserve(arcs.size());
        for (std::size_t i = 0; i < arcs.size(); ++i) {
            const std::string where = "arcs[" + std::to_string(i) + "]";
            if (!arcs[i].is_array()) {
                Fail(where, "is not an array of positions");
            }
            std::vector<GeoPoint> points;
            points.reserve(arcs[i].size());
            double x = 0.0, y = 0.0;
            for (std::size_t j = 0; j < arcs[i].size(); ++j) {
                const json& position = arcs[i][j];
                if (!position.is_array() || position.size() < 2) {
                    Fail(where + "[" + std::to_string(j) + "]", "is not a position");
                }
                const double px = Number(position[0], where);
                const double py = Number(position[1], where);
                GeoPoint point;
                if (quantized_) {
                    x += px;
                    y += py;
                    point = GeoPoint{y * scaleY_ + translateY_, x * scaleX_ + translateX_};
                } else {
                    point = GeoPoint{py, px};
                }
                if (std::fabs(point.latitude) > 90.0 + 1e-6 ||
                    std::fabs(point.longitude) > 180.0 + 1e-6) {
                    Fail(where + "[" + std::to_string(j) + "]", "lies outside +-90, +-180 degrees");
                }
                point.latitude = std::clamp(point.latitude, -90.0, 90.0);
                point.longitude = std::clamp(point.longitude, -180.0, 180.0);
                points.push_back(point);
            }
            arcs_.push_back(std::move(points));
        }
    }

    void ReadGeometry(const json& geometry, const std::string& where, std::vector<Ring>& rings) {
        if (!geometry.is_object()) {
            Fail(where, "is not a geometry object");
        }
        if (geometry.contains("type") && !geometry["type"].is_string()) {
            Fail(where + ".type", "is not a string");
        }
        const std::string type = TypeOf(geometry);
        if (type == "GeometryCollection") {
            const json& list = *Member(geometry, "geometries", where);
            if (!list.is_array()) {
                Fail(where + ".geometries", "is not an array");
            }
            for (std::size_t i = 0; i < list.size(); ++i) {
                ReadGeometry(list[i], where + ".geometries[" + std::to_string(i) + "]", rings);
            }
        } else if (type == "Polygon") {
            ReadPolygon(*Member(geometry, "arcs", where), where + ".arcs", rings);
        } else if (type == "MultiPolygon") {
            const json& polygons = *Member(geometry, "arcs", where);
            if (!polygons.is_array()) {
                Fail(where + ".arcs", "is not an array");
            }
            for (std::size_t i = 0; i < polygons.size(); ++i) {
                ReadPolygon(polygons[i], where + ".arcs[" + std::to_string(i) + "]", rings);
            }
        }
        // Points and lines carry no land outline.
    }

    void ReadPolygon(const json& polygon, const std::string& where, std::vector<Ring>& rings) {
        if (!polygon.is_array()) {
            Fail(where, "is not an array of rings");
        }
        for (std::size_t r = 0; r < polygon.size(); ++r) {
            const std::string ringWhere = where + "[" + std::to_string(r) + "]";
            const json& arcIndexes = polygon[r];
            if (!arcIndexes.is_array()) {
                Fail(ringWhere, "is not an array of arc indexes");
            }
            Ring ring;
            for (std::size_t k = 0; k < arcIndexes.size(); ++k) {
                const std::string arcWhere = ringWhere + "[" + std::to_string(k) + "]";
                if (!arcIndexes[k].is_number_integer()) {
                    Fail(arcWhere, "is not an arc index");
                }
                const long long index = arcIndexes[k].get<long long>();
                const long long arc = index >= 0 ? index : ~index;  // ~i: arc i reversed
                if (arc >= static_cast<long long>(arcs_.size())) {
                    Fail(arcWhere, "arc " + std::to_string(arc) + " does not exist");
                }
                const std::vector<GeoPoint>& points = arcs_[static_cast<std::size_t>(arc)];
                const std::size_t start = ring.empty() ? 0 : 1;  // arcs share their end points
                if (index >= 0) {
                    for (std::size_t i = start; i < points.size(); ++i) {
                        ring.push_back(points[i]);
                    }
                } else {
                    for (std::size_t i = start; i < points.size(); ++i) {
                        ring.push_back(points[points.size() - 1 - i]);
                    }
                }
            }
            if (ring.size() >= 4) {
                rings.push_back(std::move(ring));
            }
        }
    }

    std::string fileName_;
    bool quantized_ = false;
    double scaleX_ = 1.0, scaleY_ = 1.0, translateX_ = 0.0, translateY_ = 0.0;
    std::vector<std::vector<GeoPoint>> arcs_;
};

}  // namespace

std::vector<Ring> ReadTopoJsonRings(const std::string& text, const std::string& fileName) {
    json topology;
    try {
        topology = json::parse(text);
    } catch (const json::parse_error& e) {
        const std::size_t at = std::min<std::size_t>(e.byte, text.size());
        const long line = 1 + static_cast<long>(std::count(
                                  text.begin(), text.begin() + static_cast<long>(at), '\n'));
        throw ConversionError(fileName + ":" + std::to_string(line) + ": not valid JSON (" +
                              e.what() + ")");
    } catch (const json::exception& e) {  // a number too large for a double
        throw ConversionError(fileName + ": not valid JSON (" + e.what() + ")");
    }
    TopologyReader reader(topology, fileName);
    std::vector<Ring> rings;
    reader.ReadObjects(topology, rings);
    return rings;
}

std::vector<Ring> ReadTopoJsonFile(const std::string& path) {
    return ReadTopoJsonRings(ReadWholeTextFile(path), path);
}

}  // namespace corvane::navdata::convert
