// SPDX-License-Identifier: MIT
#include "tools/harness/SetPictures.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>

namespace corvane::harness {

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 520;
constexpr int kLeft = 70;
constexpr int kRight = 30;
constexpr int kTop = 50;
constexpr int kBottom = 60;

// A linear mapping of a value range onto a pixel range.
struct Axis {
    double lo;
    double hi;
    double p0;
    double p1;
    double operator()(double v) const { return p0 + (v - lo) / (hi - lo) * (p1 - p0); }
};

QImage Blank() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void Title(QPainter& p, const QString& title, const QString& xLabel) {
    QFont f = p.font();
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 8, kWidth, 30), Qt::AlignHCenter, title);
    f.setPixelSize(12);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRectF(0, kHeight - 26, kWidth, 20), Qt::AlignHCenter, xLabel);
}

bool Save(const QImage& image, const std::string& path, std::vector<std::string>& written,
          std::string* error) {
    // Charts of a few flat colours: zlib's first level packs them a fifth
    // larger than its default, in a fraction of the time.
    constexpr int kFastestCompression = 80;  // Qt: level 9 - 9 * quality / 100, here 1
    if (!image.save(QString::fromStdString(path), "PNG", kFastestCompression)) {
        *error = path + ": cannot write the picture";
        return false;
    }
    written.push_back(path);
    return true;
}

// Bars of counts over [lo, hi) in bins of `step`; values outside fall in the
// first or last bar (marked as such). `limits` are drawn as red lines.
QImage Histogram(const std::vector<double>& values, double lo, double hi, double step,
                 const QString& title, const QString& xLabel, const std::vector<double>& limits) {
    const int bins = static_cast<int>(std::round((hi - lo) / step));
    std::vector<int> count(std::size_t(bins), 0);
    for (double v : values) {
        const int b = std::clamp(static_cast<int>(std::floor((v - lo) / step)), 0, bins - 1);
        ++count[std::size_t(b)];
    }
    const int most = std::max(1, *std::max_element(count.begin(), count.end()));
    QImage image = Blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Title(p, title, xLabel);
    const Axis x{lo, hi, double(kLeft), double(kWidth - kRight)};
    const Axis y{0.0, most * 1.1, double(kHeight - kBottom), double(kTop)};
    p.setPen(QColor(200, 200, 200));
    const int yStep = std::max(1, static_cast<int>(std::pow(10, std::floor(std::log10(most)))));
    for (int c = 0; c <= most * 1.1; c += yStep) {
        p.drawLine(QPointF(kLeft, y(c)), QPointF(kWidth - kRight, y(c)));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y(c) - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(c));
        p.setPen(QColor(200, 200, 200));
    }
    p.setPen(QColor(40, 70, 140));
    p.setBrush(QColor(90, 130, 200));
    for (int b = 0; b < bins; ++b) {
        const double x0 = x(lo + b * step);
        const double x1 = x(lo + (b + 1) * step);
        p.drawRect(QRectF(x0, y(count[std::size_t(b)]), x1 - x0, y(0) - y(count[std::size_t(b)])));
    }
    p.setPen(QPen(Qt::red, 2, Qt::DashLine));
    for (double limit : limits)
        p.drawLine(QPointF(x(limit), kTop), QPointF(x(limit), y(0)));
    p.setPen(Qt::black);
    p.drawLine(QPointF(kLeft, y(0)), QPointF(kWidth - kRight, y(0)));
    const int labelEvery = std::max(1, bins / 10);
    for (int b = 0; b <= bins; b += labelEvery) {
        const double v = lo + b * step;
        QString text = QString::number(v);
        if (b == 0)
            text = "<=" + text;
        p.drawText(QRectF(x(v) - 40, y(0) + 4, 80, 16), Qt::AlignHCenter, text);
    }
    p.drawText(QRectF(x(hi) - 60, y(0) + 4, 60, 16), Qt::AlignRight, "and over");
    p.drawText(QRectF(kLeft, kTop - 18, 400, 16), Qt::AlignLeft,
               QString("%1 touchdowns").arg(values.size()));
    return image;
}

QImage Dispersion(const std::vector<LandingReport>& reports) {
    const double alongLo = -500.0;
    const double alongHi = 4500.0;
    const double crossHi = 40.0;
    QImage image = Blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    int touchdowns = 0;
    int good = 0;
    int goodOnRunway = 0;
    int outside = 0;
    for (const LandingReport& r : reports) {
        if (!r.touchdown)
            continue;
        ++touchdowns;
        good += r.good ? 1 : 0;
        goodOnRunway += r.goodOnRunway ? 1 : 0;
        const bool in = r.touchdown->alongFt >= alongLo && r.touchdown->alongFt <= alongHi &&
                        std::abs(r.touchdown->crossM) <= crossHi;
        outside += in ? 0 : 1;
    }
    Title(p,
          QString("Touchdown points: %1 touchdowns, %2 good by every limit, %3 by the runway "
                  "limits, %4 outside the plot")
              .arg(touchdowns)
              .arg(good)
              .arg(goodOnRunway)
              .arg(outside),
          "feet past the threshold (the landing direction to the right); metres from the centre "
          "line (right of the landing direction up)");
    const Axis x{alongLo, alongHi, double(kLeft), double(kWidth - kRight)};
    const Axis y{-crossHi, crossHi, double(kHeight - kBottom), double(kTop)};
    // A 45 m runway, its centre line, the touchdown zone and the centre-line limit.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 110, 110));
    p.drawRect(QRectF(QPointF(x(0), y(22.5)), QPointF(x(alongHi), y(-22.5))));
    p.setBrush(QColor(160, 200, 160, 120));
    p.drawRect(QRectF(QPointF(x(200), y(22.5)), QPointF(x(2700), y(-22.5))));
    p.setPen(QPen(Qt::white, 1.5, Qt::DashLine));
    p.drawLine(QPointF(x(0), y(0)), QPointF(x(alongHi), y(0)));
    p.setPen(QPen(QColor(255, 200, 0), 1.5, Qt::DotLine));
    for (double side : {-17.5, 17.5})
        p.drawLine(QPointF(x(alongLo), y(side)), QPointF(x(alongHi), y(side)));
    p.setPen(Qt::black);
    for (double a = 0; a <= alongHi; a += 500)
        p.drawText(QRectF(x(a) - 30, y(-crossHi) + 4, 60, 16), Qt::AlignHCenter,
                   QString::number(a));
    for (double c = -crossHi; c <= crossHi; c += 10)
        p.drawText(QRectF(0, y(c) - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(c));
    p.drawText(QRectF(x(200), kTop - 18, 600, 16), Qt::AlignLeft,
               "green band: touchdown zone 200-2,700 ft; dotted: centre-line limit of a 45 m "
               "runway; dots: green good, orange good by the runway limits only, red not");
    for (const LandingReport& r : reports) {
        if (!r.touchdown)
            continue;
        const double a = std::clamp(r.touchdown->alongFt, alongLo, alongHi);
        const double c = std::clamp(r.touchdown->crossM, -crossHi, crossHi);
        p.setPen(Qt::NoPen);
        p.setBrush(r.good           ? QColor(0, 170, 0)
                   : r.goodOnRunway ? QColor(240, 150, 0)
                                    : QColor(220, 0, 0));
        p.drawEllipse(QPointF(x(a), y(c)), 3.0, 3.0);
    }
    return image;
}

}  // namespace

std::vector<std::string> WriteSetPictures(const std::vector<LandingReport>& reports,
                                          const std::string& folder, std::string* error) {
    std::vector<double> sink;
    std::vector<double> cross;
    std::vector<double> overReference;
    std::vector<double> bounces;
    // The touchdown speed's limits against the reference: 0 above, and below
    // 1.05 times the stall speed, which is 0.25 stall speeds under the
    // reference (one line for each aircraft of the set).
    std::vector<double> speedLimits = {0.0};
    for (const LandingReport& r : reports) {
        if (!r.touchdown)
            continue;
        sink.push_back(r.touchdown->sinkFpm);
        cross.push_back(r.touchdown->crossM);
        bounces.push_back(r.bounces);
        if (r.aircraft.referenceKias > 0.0) {
            overReference.push_back(r.touchdown->iasKt - r.aircraft.referenceKias);
            const double low = 1.05 * r.aircraft.stallLandingKias - r.aircraft.referenceKias;
            if (std::none_of(speedLimits.begin(), speedLimits.end(),
                             [&](double v) { return std::abs(v - low) < 0.05; }))
                speedLimits.push_back(low);
        }
    }
    std::vector<std::string> written;
    if (!Save(Dispersion(reports), folder + "/touchdown-dispersion.png", written, error) ||
        !Save(Histogram(sink, 0.0, 1200.0, 50.0, "Sink rate at touchdown",
                        "ft/min (dashed: the limits 360 and 600)", {360.0, 600.0}),
              folder + "/sink-rate.png", written, error) ||
        !Save(Histogram(overReference, -40.0, 60.0, 2.0,
                        "Indicated airspeed at touchdown against the aircraft's reference speed",
                        "knots above the reference speed (dashed: the reference, and 1.05 times "
                        "the stall speed of each aircraft)",
                        speedLimits),
              folder + "/touchdown-speed.png", written, error) ||
        !Save(Histogram(bounces, 0.0, 15.0, 1.0, "Bounces: lift-offs after the first touchdown",
                        "bounces per landing (a good landing has none)", {}),
              folder + "/bounces.png", written, error) ||
        !Save(Histogram(cross, -40.0, 40.0, 2.0, "Distance from the centre line at touchdown",
                        "metres, right of the landing direction positive (dashed: the limit of a "
                        "45 m runway)",
                        {-17.5, 17.5}),
              folder + "/centre-line.png", written, error))
        return {};
    return written;
}

}  // namespace corvane::harness
