// SPDX-License-Identifier: MIT
#include "sim/fltsim98/FlightWindow.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 20003500.0 / 180.0;
constexpr double kFeetPerMetre = 1.0 / 0.3048;

const QColor kBackground(24, 26, 30);
const QColor kPanel(38, 42, 48);
const QColor kText(225, 228, 232);
const QColor kDim(130, 136, 144);
const QColor kLampOn(70, 200, 90);
const QColor kWarn(235, 170, 40);
const QColor kAlarm(230, 60, 50);
const QColor kSky(70, 130, 200);
const QColor kGround(140, 95, 55);

void Panel(QPainter& p, const QRect& r, const QString& title) {
    p.setPen(Qt::NoPen);
    p.setBrush(kPanel);
    p.drawRoundedRect(r, 6, 6);
    p.setPen(kDim);
    p.setFont(QFont("Sans", 9, QFont::Bold));
    p.drawText(r.adjusted(10, 6, -10, 0), Qt::AlignLeft | Qt::AlignTop, title);
}

// A label and its value on one line of a panel.
void Row(QPainter& p, int x, int y, int width, const QString& label, const QString& value,
         const QColor& colour = kText) {
    p.setFont(QFont("Sans", 10));
    p.setPen(kDim);
    p.drawText(QRect(x, y, width / 2, 20), Qt::AlignLeft | Qt::AlignVCenter, label);
    p.setFont(QFont("Monospace", 11, QFont::Bold));
    p.setPen(colour);
    p.drawText(QRect(x + width / 2, y, width / 2, 20), Qt::AlignRight | Qt::AlignVCenter, value);
}

void Lamp(QPainter& p, const QRect& r, const QString& text, bool on, const QColor& onColour) {
    p.setPen(QPen(on ? onColour : kDim, 1));
    p.setBrush(on ? onColour.darker(250) : kBackground);
    p.drawRoundedRect(r, 4, 4);
    p.setFont(QFont("Sans", 9, QFont::Bold));
    p.setPen(on ? onColour.lighter(130) : kDim);
    p.drawText(r, Qt::AlignCenter, text);
}

// A horizontal bar for a 0..1 (or -1..1 when signed) position.
void Bar(QPainter& p, const QRect& r, double value, bool isSigned, const QString& label,
         const QString& text) {
    p.setFont(QFont("Sans", 10));
    p.setPen(kDim);
    p.drawText(QRect(r.x(), r.y(), 90, r.height()), Qt::AlignLeft | Qt::AlignVCenter, label);
    const QRect track(r.x() + 90, r.y() + 4, r.width() - 170, r.height() - 8);
    p.setPen(QPen(kDim, 1));
    p.setBrush(kBackground);
    p.drawRect(track);
    const double v = std::clamp(value, isSigned ? -1.0 : 0.0, 1.0);
    const int zero = isSigned ? track.x() + track.width() / 5 : track.x();
    const int span = isSigned ? track.width() * 4 / 5 : track.width();
    const int end = zero + static_cast<int>(std::lround(v * (v < 0 ? span / 4.0 : span)));
    p.setPen(Qt::NoPen);
    p.setBrush(v < 0 ? kWarn : kLampOn);
    p.drawRect(QRect(QPoint(std::min(zero, end), track.y() + 1),
                     QPoint(std::max(zero, end), track.bottom() - 1)));
    p.setFont(QFont("Monospace", 10, QFont::Bold));
    p.setPen(kText);
    p.drawText(QRect(track.right() + 8, r.y(), 72, r.height()), Qt::AlignRight | Qt::AlignVCenter,
               text);
}

QString Percent(double fraction) {
    return QString::asprintf("%3.0f %%", fraction * 100.0);
}

void DrawAttitude(QPainter& p, const QRect& r, const AircraftState& s) {
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(r, 10, 10);
    p.setClipPath(clip);
    const double pixelsPerDeg = 8.0;
    p.translate(r.center());
    p.rotate(-s.bankDeg);
    const double horizonY = s.pitchDeg * pixelsPerDeg;
    const int big = 2000;
    p.setPen(Qt::NoPen);
    p.setBrush(kSky);
    p.drawRect(QRectF(-big, -big + horizonY, 2 * big, big));
    p.setBrush(kGround);
    p.drawRect(QRectF(-big, horizonY, 2 * big, big));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(-big, horizonY), QPointF(big, horizonY));
    p.setFont(QFont("Sans", 9));
    for (int deg = -30; deg <= 30; deg += 5) {
        if (deg == 0)
            continue;
        const double y = horizonY - deg * pixelsPerDeg;
        const double half = deg % 10 == 0 ? 60.0 : 30.0;
        p.setPen(QPen(Qt::white, deg % 10 == 0 ? 2 : 1));
        p.drawLine(QPointF(-half, y), QPointF(half, y));
        if (deg % 10 == 0) {
            p.drawText(QRectF(half + 6, y - 8, 40, 16), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::number(std::abs(deg)));
            p.drawText(QRectF(-half - 46, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(std::abs(deg)));
        }
    }
    p.restore();

    // Fixed parts: the aircraft symbol and the bank scale with its pointer.
    p.save();
    p.translate(r.center());
    const double radius = std::min(r.width(), r.height()) * 0.42;
    p.setPen(QPen(Qt::white, 2));
    for (int deg : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
        const double a = (deg - 90) * kPi / 180.0;
        const double inner = radius - (deg % 30 == 0 ? 16 : 9);
        p.drawLine(QPointF(inner * std::cos(a), inner * std::sin(a)),
                   QPointF(radius * std::cos(a), radius * std::sin(a)));
    }
    p.rotate(-s.bankDeg);
    QPolygonF pointer;
    pointer << QPointF(0, -radius + 2) << QPointF(-8, -radius + 16) << QPointF(8, -radius + 16);
    p.setBrush(QColor(255, 220, 60));
    p.setPen(Qt::NoPen);
    p.drawPolygon(pointer);
    p.restore();

    p.save();
    p.translate(r.center());
    p.setPen(QPen(QColor(255, 220, 60), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-110, 0), QPointF(-40, 0));
    p.drawLine(QPointF(-40, 0), QPointF(-20, 14));
    p.drawLine(QPointF(110, 0), QPointF(40, 0));
    p.drawLine(QPointF(40, 0), QPointF(20, 14));
    p.drawPoint(QPointF(0, 0));
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawRoundedRect(QRect(r.x() + 6, r.y() + 6, 350, 24), 4, 4);
    p.setPen(kText);
    p.setFont(QFont("Monospace", 10, QFont::Bold));
    p.drawText(QRect(r.x() + 12, r.y() + 6, 340, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QString::asprintf("pitch %+5.1f\xC2\xB0  bank %+5.1f\xC2\xB0  alpha %4.1f\xC2\xB0",
                                 s.pitchDeg, s.bankDeg, s.alphaBodyDeg));
}

void DrawHeading(QPainter& p, const QRect& r, const TraceRecord& t) {
    Panel(p, r, "");
    p.save();
    p.setClipRect(r.adjusted(2, 2, -2, -2));
    const double pixelsPerDeg = 12.0;
    const double centre = r.center().x();
    const double heading = t.headingMagneticDeg;
    p.setFont(QFont("Sans", 9));
    for (int deg = static_cast<int>(std::floor(heading)) - 30;
         deg <= static_cast<int>(heading) + 30; ++deg) {
        if (deg % 5 != 0)
            continue;
        const double x = centre + units::Wrap180(deg - heading) * pixelsPerDeg;
        const bool major = deg % 10 == 0;
        p.setPen(QPen(kText, 1));
        p.drawLine(QPointF(x, r.bottom() - (major ? 18 : 10)), QPointF(x, r.bottom() - 2));
        if (major) {
            const int shown = static_cast<int>(units::Wrap360(deg));
            p.drawText(QRectF(x - 20, r.y() + 22, 40, 16), Qt::AlignCenter,
                       QString::asprintf("%03d", shown));
        }
    }
    // The autopilot's heading bug.
    const double bugX =
        centre +
        std::clamp(units::Wrap180(t.apHeadingMagneticDeg - heading), -32.0, 32.0) * pixelsPerDeg;
    p.setPen(Qt::NoPen);
    p.setBrush(t.apHeadingHold && t.apMaster ? kLampOn : kDim);
    p.drawRect(QRectF(bugX - 7, r.bottom() - 8, 14, 6));
    p.restore();
    p.setPen(QColor(255, 220, 60));
    p.setFont(QFont("Monospace", 11, QFont::Bold));
    p.drawText(QRect(r.x() + 10, r.y() + 4, r.width() - 20, 18), Qt::AlignLeft,
               QString::asprintf("HDG %05.1f\xC2\xB0 M", heading));
    p.setPen(kDim);
    p.drawText(QRect(r.x() + 10, r.y() + 4, r.width() - 20, 18), Qt::AlignRight,
               QString::asprintf("%05.1f\xC2\xB0 true", t.headingTrueDeg));
    p.setPen(QPen(QColor(255, 220, 60), 2));
    p.drawLine(QPointF(centre, r.y() + 40), QPointF(centre, r.bottom()));
}

void DrawFlightData(QPainter& p, const QRect& r, const SimulatorBackend& sim) {
    const TraceRecord& t = sim.LastTrace();
    Panel(p, r, "FLIGHT DATA");
    const int x = r.x() + 12;
    const int w = r.width() - 24;
    int y = r.y() + 28;
    const int step = 22;
    Row(p, x, y, w, "Altitude", QString::asprintf("%.0f ft", t.altitudeFt));
    Row(p, x, y += step, w, "Above ground", QString::asprintf("%.0f ft", t.heightAboveGroundFt));
    Row(p, x, y += step, w, "Ground elevation", QString::asprintf("%.0f ft", t.groundElevationFt));
    Row(p, x, y += step, w, "Indicated airspeed", QString::asprintf("%.0f kt", t.iasKt));
    Row(p, x, y += step, w, "True airspeed", QString::asprintf("%.0f kt", t.tasKt));
    Row(p, x, y += step, w, "Ground speed", QString::asprintf("%.0f kt", t.groundSpeedKt));
    Row(p, x, y += step, w, "Vertical speed",
        QString::asprintf("%+.0f ft/min", std::round(t.verticalSpeedFpm) + 0.0),
        std::fabs(t.verticalSpeedFpm) > 1000.0 && t.heightAboveGroundFt < 500.0 ? kWarn : kText);
    const double margin = t.stallFactor / 32767.0;
    Row(p, x, y += step, w, "Stall margin", QString::asprintf("%5d", t.stallFactor),
        margin < 0.15 ? kAlarm : (margin < 0.3 ? kWarn : kText));
    Row(p, x, y += step, w, "Position",
        QString::asprintf("%.5f %.5f", t.latitudeDeg, t.longitudeDeg));
}

void DrawAutopilot(QPainter& p, const QRect& r, const TraceRecord& t) {
    Panel(p, r, "AUTOPILOT");
    const int x = r.x() + 12;
    const int y = r.y() + 28;
    const int w = (r.width() - 24 - 3 * 8) / 4;
    Lamp(p, QRect(x, y, w, 26), "MASTER", t.apMaster, kLampOn);
    Lamp(p, QRect(x + (w + 8), y, w, 26), "WING LVL", t.apMaster && t.apWingLeveller, kLampOn);
    Lamp(p, QRect(x + 2 * (w + 8), y, w, 26), "HDG", t.apMaster && t.apHeadingHold, kLampOn);
    Lamp(p, QRect(x + 3 * (w + 8), y, w, 26), "ALT", t.apMaster && t.apAltitudeHold, kLampOn);
    const int rw = r.width() - 24;
    int ry = y + 36;
    Row(p, x, ry, rw, "Heading target",
        QString::asprintf("%05.1f\xC2\xB0 M", t.apHeadingMagneticDeg));
    Row(p, x, ry += 22, rw, "Altitude target", QString::asprintf("%.0f ft", t.apAltitudeFt));
    Row(p, x, ry += 22, rw, "Vertical speed",
        QString::asprintf("%+d ft/min", t.apVerticalSpeedFpm));
    static const char* const kModes[] = {"off", "vertical speed", "altitude hold"};
    Row(p, x, ry += 22, rw, "Vertical mode", kModes[std::clamp(t.apVerticalMode, 0, 2)],
        t.apVerticalMode ? kLampOn : kDim);
}

void DrawConfiguration(QPainter& p, const QRect& r, const TraceRecord& t) {
    Panel(p, r, "CONTROLS AND CONFIGURATION");
    const int x = r.x() + 12;
    const int w = r.width() - 24;
    int y = r.y() + 26;
    const int step = 24;
    const QString gear = t.gear >= 0.999 ? "DOWN" : (t.gear <= 0.001 ? "UP" : "moving");
    Bar(p, QRect(x, y, w, 20), t.gear, false, "Gear", gear);
    Bar(p, QRect(x, y += step, w, 20), t.flaps, false, "Flaps", Percent(t.flaps));
    Bar(p, QRect(x, y += step, w, 20), t.spoilers, false, "Spoilers", Percent(t.spoilers));
    Bar(p, QRect(x, y += step, w, 20), t.throttle1, true, "Throttle 1", Percent(t.throttle1));
    Bar(p, QRect(x, y += step, w, 20), t.throttle2, true, "Throttle 2", Percent(t.throttle2));
    Bar(p, QRect(x, y += step, w, 20), std::max(t.leftBrake, t.rightBrake), false, "Brakes",
        QString::asprintf("%3.0f/%-3.0f", t.leftBrake * 100.0, t.rightBrake * 100.0));
    y += step + 4;
    const int lw = (w - 3 * 8) / 4;
    Lamp(p, QRect(x, y, lw, 24), "PARK BRAKE", t.parkingBrake, kWarn);
    Lamp(p, QRect(x + (lw + 8), y, lw, 24), "ON GROUND", t.onGround, kLampOn);
    Lamp(p, QRect(x + 2 * (lw + 8), y, lw, 24), "CRASH DET", t.crashDetection, kLampOn);
    Lamp(p, QRect(x + 3 * (lw + 8), y, lw, 24), "PAUSED", t.paused, kWarn);
}

void DrawTowerView(QPainter& p, const QRect& r, const AircraftState& s,
                   const TowerViewpoint& tower) {
    Panel(p, r, "TOWER VIEW");
    // Local plan, north up, metres east and north of the aircraft.
    const double cosLat = std::cos(s.latitudeDeg * kPi / 180.0);
    const double east =
        units::Wrap180(tower.longitudeDeg - s.longitudeDeg) * kMetresPerDegree * cosLat;
    const double north = (tower.latitudeDeg - s.latitudeDeg) * kMetresPerDegree;
    const double distanceM = std::hypot(east, north);
    const double distanceNm = distanceM / 1852.0;
    const double bearingToTower = units::Wrap360(std::atan2(east, north) * 180.0 / kPi);
    const double aboveTowerFt = s.altitudeM * kFeetPerMetre - tower.altitudeFt;
    const double elevationDeg =
        std::atan2(aboveTowerFt / kFeetPerMetre, std::max(distanceM, 1.0)) * 180.0 / kPi;

    const int side = std::min(r.height() - 40, 170);
    const QRect plan(r.x() + 12, r.y() + 28, side, side);
    p.setPen(QPen(kDim, 1));
    p.setBrush(kBackground);
    p.drawRect(plan);
    // Range: a round number of miles that holds the tower with a margin.
    const double ranges[] = {0.25, 0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 5000};
    double rangeNm = ranges[std::size(ranges) - 1];
    for (double candidate : ranges) {
        if (distanceNm * 1.15 <= candidate) {
            rangeNm = candidate;
            break;
        }
    }
    const double pixelsPerM = plan.width() / 2.0 / (rangeNm * 1852.0);
    const QPointF centre = plan.center();
    p.drawEllipse(centre, plan.width() / 2.0 - 1, plan.height() / 2.0 - 1);
    p.setFont(QFont("Sans", 8));
    p.drawText(plan.adjusted(4, 2, -4, -2), Qt::AlignRight | Qt::AlignTop,
               QString::asprintf("%g nm", rangeNm));
    p.drawText(plan.adjusted(4, 2, -4, -2), Qt::AlignHCenter | Qt::AlignTop, "N");

    const QPointF towerAt(
        centre.x() + std::clamp(east * pixelsPerM, -plan.width() / 2.0, plan.width() / 2.0),
        centre.y() - std::clamp(north * pixelsPerM, -plan.height() / 2.0, plan.height() / 2.0));
    p.setPen(QPen(kDim, 1, Qt::DashLine));
    p.drawLine(centre, towerAt);
    p.setPen(Qt::NoPen);
    p.setBrush(kWarn);
    p.drawRect(QRectF(towerAt.x() - 5, towerAt.y() - 5, 10, 10));

    p.save();
    p.translate(centre);
    p.rotate(s.headingTrueDeg);
    QPolygonF aircraft;
    aircraft << QPointF(0, -10) << QPointF(7, 8) << QPointF(0, 4) << QPointF(-7, 8);
    p.setBrush(QColor(255, 220, 60));
    p.drawPolygon(aircraft);
    p.restore();

    const int tx = plan.right() + 14;
    const int tw = r.right() - 12 - tx;
    int y = plan.y();
    Row(p, tx, y, tw, "Distance", QString::asprintf("%.2f nm", distanceNm));
    Row(p, tx, y += 22, tw, "Bearing", QString::asprintf("%03.0f\xC2\xB0", bearingToTower));
    Row(p, tx, y += 22, tw, "Tower alt", QString::asprintf("%.0f ft", tower.altitudeFt));
    Row(p, tx, y += 22, tw, "Above it", QString::asprintf("%+.0f ft", aboveTowerFt));
    Row(p, tx, y += 22, tw, "Seen at", QString::asprintf("%+.1f\xC2\xB0", elevationDeg));
    p.setFont(QFont("Sans", 9));
    p.setPen(kDim);
    p.drawText(QRect(r.x() + 12, plan.bottom() + 8, r.width() - 24, 40),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QString::asprintf("Viewpoint at %.5f %.5f. Bearing: from the aircraft to the "
                                 "tower; seen at: the aircraft's elevation from the tower.",
                                 tower.latitudeDeg, tower.longitudeDeg));
}

void DrawStatus(QPainter& p, const QRect& r, const SimulatorBackend& sim) {
    Panel(p, r, "SIMULATOR");
    const TraceRecord& t = sim.LastTrace();
    const int x = r.x() + 12;
    const int w = r.width() - 24;
    int y = r.y() + 28;
    const long seconds = static_cast<long>(sim.TimeS());
    Row(p, x, y, w, "Simulated time",
        QString::asprintf("%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60));
    Row(p, x, y += 22, w, "Rate", QString::asprintf("x %g", sim.Rate()));
    Row(p, x, y += 22, w, "Magnetic variation",
        QString::asprintf("%+.1f\xC2\xB0", sim.State().magneticVariationDeg));
    Row(p, x, y += 22, w, "Touchdowns", QString::number(sim.TouchdownCount()));
    Row(p, x, y += 22, w, "Crashes", QString::number(sim.CrashCount()),
        sim.CrashCount() ? kAlarm : kText);
    Row(p, x, y += 22, w, "Thrust", QString::asprintf("%.1f kN", t.thrustN / 1000.0));
    p.setFont(QFont("Sans", 9));
    p.setPen(kDim);
    p.drawText(QRect(x, r.bottom() - 44, w, 40), Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
               "The tower view appears here once the program sets the viewpoint.");
}

}  // namespace

FlightWindow::FlightWindow(const SimulatorBackend& simulator, QWidget* parent)
    : QWidget(parent), simulator_(simulator) {
    setWindowTitle("Microsoft Flight Simulator 98");
    resize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FlightWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), kBackground);
    const TraceRecord& t = simulator_.LastTrace();
    const AircraftState& s = simulator_.State();

    // Scale the 1024 x 768 layout to the window.
    p.scale(width() / double(kWidth), height() / double(kHeight));

    p.setPen(kText);
    p.setFont(QFont("Sans", 12, QFont::Bold));
    p.drawText(QRect(16, 8, 600, 28), Qt::AlignLeft | Qt::AlignVCenter,
               "Stand-in flight simulator");
    QString state =
        t.crashed ? "CRASHED" : (t.paused ? "PAUSED" : (t.onGround ? "ON GROUND" : "FLYING"));
    p.setPen(t.crashed ? kAlarm : (t.paused ? kWarn : kLampOn));
    p.drawText(QRect(632, 8, 376, 28), Qt::AlignRight | Qt::AlignVCenter, state);

    DrawAttitude(p, QRect(16, 44, 600, 416), s);
    DrawHeading(p, QRect(16, 468, 600, 64), t);
    DrawConfiguration(p, QRect(16, 540, 600, 212), t);
    DrawFlightData(p, QRect(632, 44, 376, 232), simulator_);
    DrawAutopilot(p, QRect(632, 284, 376, 160), t);
    if (const std::optional<TowerViewpoint> tower = simulator_.Tower()) {
        DrawTowerView(p, QRect(632, 452, 376, 300), s, *tower);
    } else {
        DrawStatus(p, QRect(632, 452, 376, 300), simulator_);
    }
}

void FlightWindow::closeEvent(QCloseEvent* event) {
    if (closeBox_ && !closeBox_()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace corvane::sim
