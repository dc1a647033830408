#include "ui/day_night_layer.h"

#include <fmt/format.h>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/constants.h"
#include "engine/map_projection.h"

namespace morvane {

namespace {

// Stage codes in the per-pixel buffer: the TwilightStage values, and one for pixels off the map.
constexpr std::uint8_t kOffMap = 0xff;

// One deep blue at rising opacity: the map stays readable under night, and the twilights read
// as steps of the same dusk rather than as separate colours.
constexpr int kShadeRed = 8;
constexpr int kShadeGreen = 14;
constexpr int kShadeBlue = 46;
constexpr std::array<double, 5> kStageOpacity = {0.0, 0.2, 0.33, 0.45, 0.56};

const QColor kSunFill(255, 206, 48);
const QColor kMoonFill(236, 236, 226);
const QColor kMarkerOutline(40, 34, 20);
const QColor kLabelPlate(255, 255, 255, 215);
constexpr double kMarkerRadius = 6.0;
constexpr double kRayInner = 8.0;
constexpr double kRayOuter = 11.5;
constexpr double kEdgeMarkerScale = 0.9;
constexpr double kEdgeArrowLength = 7.0;
constexpr double kEdgeLabelGap = 16.0;
constexpr double kEdgeMargin = 14.0;

QRgb premultiplied(int red, int green, int blue, double opacity) {
    return qPremultiply(qRgba(red, green, blue, static_cast<int>(std::lround(opacity * 255.0))));
}

/// The sun: a disc with eight rays.
void drawSun(QPainter& painter, QPointF at, double scale) {
    painter.setPen(QPen(kMarkerOutline, 1.5 * scale, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double angle = i * kPi / 4.0;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(at + direction * (kRayInner * scale),
                         at + direction * (kRayOuter * scale));
    }
    painter.setBrush(kSunFill);
    painter.drawEllipse(at, kMarkerRadius * scale, kMarkerRadius * scale);
}

/// The moon: a crescent, lit side to the right.
void drawMoon(QPainter& painter, QPointF at, double scale) {
    const double r = kMarkerRadius * scale;
    QPainterPath disc;
    disc.addEllipse(at, r, r);
    QPainterPath shadow;
    shadow.addEllipse(at - QPointF(r * 0.55, r * 0.15), r * 0.85, r * 0.85);
    painter.setPen(QPen(kMarkerOutline, 1.5 * scale));
    painter.setBrush(kMoonFill);
    painter.drawPath(disc.subtracted(shadow));
}

using MarkerSymbol = void (*)(QPainter&, QPointF, double);

/// Paints one body's marker; returns the label plate it drew (empty when none), so the next
/// marker's label can keep clear of it.
QRectF paintMarker(QPainter& painter, GroundPoint point, MarkerSymbol symbol, const char* name,
                   const MapLayout& layout, QSizeF area, const QRectF& keepClear = {}) {
    const QRectF visible = visibleMapRect(layout, area, kEdgeMargin);
    if (visible.isEmpty()) return {};
    const MarkerPlacement placement = markerPlacement(point, layout, visible);
    if (placement.onMap) {
        symbol(painter, placement.at, 1.0);
        return {};
    }
    // Off the view: a smaller symbol on the edge, an arrowhead pointing the way, and a label
    // inside saying where the body stands.
    const QPointF target =
        projectionToView(forwardMapProjection({point.latitude, point.longitude}), layout);
    QPointF direction = target - placement.at;
    const double length = std::hypot(direction.x(), direction.y());
    if (length > 0.0) direction /= length;
    const QPointF normal(-direction.y(), direction.x());
    const QPointF tip = placement.at + direction * (kRayOuter * kEdgeMarkerScale + 4.0);
    const QPointF base = tip - direction * kEdgeArrowLength;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMarkerOutline);
    painter.drawPolygon(QPolygonF(
        {tip, base + normal * (kEdgeArrowLength * 0.5), base - normal * (kEdgeArrowLength * 0.5)}));
    symbol(painter, placement.at, kEdgeMarkerScale);

    const QString label = QString::fromStdString(fmt::format("{} {}", name, overheadText(point)));
    const QFontMetricsF metrics(painter.font());
    QRectF box = metrics.boundingRect(label).adjusted(-4.0, -2.0, 4.0, 2.0);
    // Inside the view, level with the marker on the side away from the edge it sits on, so
    // each label stays beside its own symbol.
    const bool onSideEdge = std::fabs(placement.at.x() - visible.left()) < 0.5 ||
                            std::fabs(placement.at.x() - visible.right()) < 0.5;
    if (onSideEdge) {
        const double away = placement.at.x() < visible.center().x() ? 1.0 : -1.0;
        box.moveCenter(placement.at +
                       QPointF(away * (kEdgeLabelGap + box.width() * 0.5 + kMarkerRadius), 0.0));
    } else {
        const double away = placement.at.y() < visible.center().y() ? 1.0 : -1.0;
        box.moveCenter(placement.at +
                       QPointF(0.0, away * (kEdgeLabelGap + box.height() * 0.5 + kMarkerRadius)));
    }
    box.moveLeft(std::clamp(box.left(), visible.left(),
                            std::max(visible.left(), visible.right() - box.width())));
    box.moveTop(std::clamp(box.top(), visible.top(),
                           std::max(visible.top(), visible.bottom() - box.height())));
    // Both bodies off the same edge (near new moon) would stack their labels: step this one
    // above the other, or below when there is no room above.
    if (box.intersects(keepClear)) {
        const double gap = 2.0;
        if (keepClear.top() - box.height() - gap >= visible.top())
            box.moveBottom(keepClear.top() - gap);
        else
            box.moveTop(keepClear.bottom() + gap);
    }
    painter.setBrush(kLabelPlate);
    painter.drawRoundedRect(box, 3.0, 3.0);
    painter.setPen(kMarkerOutline);
    painter.drawText(box, Qt::AlignCenter, label);
    return box;
}

}  // namespace

MapLight::MapLight(double t, const MoonlightThresholds& thresholds)
    : field(t, thresholds), sun(subSolarPoint(t)), moon(subLunarPoint(t)) {}

QRgb stageShade(TwilightStage stage) {
    return premultiplied(kShadeRed, kShadeGreen, kShadeBlue,
                         kStageOpacity.at(static_cast<std::size_t>(stage)));
}

QRgb dayNightLineColour() { return premultiplied(255, 190, 60, 0.9); }

QImage dayNightImage(const MapLight& light, const MapLayout& layout, QSize pixels,
                     double pixelRatio) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(pixelRatio);
    if (layout.displaySize.isEmpty() || !(pixelRatio > 0.0)) return image;

    const int width = pixels.width();
    const int height = pixels.height();
    // Nolomar's altitude h at a place follows from the place overhead (δ, λ☉):
    // sin h = sin φ sin δ + cos φ cos δ cos(λ − λ☉). Along a row of the picture φ is constant,
    // so h passes a stage's limit h_k where |λ − λ☉| (folded into [0, π]) passes
    // arccos((sin h_k − sin φ sin δ) / (cos φ cos δ)): four angles per row, and a pixel costs
    // one division and four comparisons.
    const double sinDeclination = std::sin(light.sun.latitude);
    const double cosDeclination = std::cos(light.sun.latitude);
    const std::array<double, 4> limits = {0.0, std::sin(kCivilTwilightAltitude),
                                          std::sin(kNauticalTwilightAltitude),
                                          std::sin(kAstronomicalTwilightAltitude)};
    std::vector<std::uint8_t> stages(static_cast<std::size_t>(width) * height, kOffMap);
    // viewToProjection and venarive::latitudeAt/longitudeAt written out with the same
    // operations in the same order, so every pixel lands on the place the hover read-out names
    // for its centre.
    const double originX = layout.origin.x();
    const double originY = layout.origin.y();
    const double displayWidth = layout.displaySize.width();
    const double displayHeight = layout.displaySize.height();
    for (int py = 0; py < height; ++py) {
        const double dy = (py + 0.5) / pixelRatio - originY;
        if (dy < 0.0 || dy > displayHeight) continue;
        const double latitude = venarive::latitudeAt(dy * kMapProjectionHeight / displayHeight);
        const double cosLatitude = std::cos(latitude);
        const double a = std::sin(latitude) * sinDeclination;
        const double b = cosLatitude * cosDeclination;
        const double longitudeScale = cosLatitude * venarive::kUnitsPerRadianLongitude;
        // Beyond stage k where the distance from Nolomar's longitude exceeds reach[k]; a limit
        // the row never rises to gives 0, one it never sinks below gives π.
        std::array<double, 4> reach{};
        for (std::size_t k = 0; k < limits.size(); ++k)
            reach[k] = std::acos(std::clamp((limits[k] - a) / b, -1.0, 1.0));
        std::uint8_t* row = stages.data() + static_cast<std::size_t>(py) * width;
        for (int px = 0; px < width; ++px) {
            const double dx = (px + 0.5) / pixelRatio - originX;
            if (dx < 0.0 || dx > displayWidth) continue;
            const double longitude =
                (dx * kMapProjectionWidth / displayWidth - venarive::kPrimeMeridianColumn) /
                longitudeScale;
            double fromNoon = std::fabs(longitude - light.sun.longitude);
            if (fromNoon > kPi) fromNoon = 2.0 * kPi - fromNoon;
            std::uint8_t stage = 0;
            while (stage < reach.size() && fromNoon > reach[stage]) ++stage;
            row[px] = stage;
        }
    }

    // The line: pixels whose side of the horizon differs from a neighbour's up to one point
    // to the left or above.
    const int reach = std::max(1, static_cast<int>(std::lround(pixelRatio)));
    const auto day = [](std::uint8_t stage) { return stage == 0; };
    const QRgb line = dayNightLineColour();
    std::array<QRgb, 5> shades{};
    for (std::size_t i = 0; i < shades.size(); ++i)
        shades.at(i) = stageShade(static_cast<TwilightStage>(i));
    for (int py = 0; py < height; ++py) {
        const std::uint8_t* row = stages.data() + static_cast<std::size_t>(py) * width;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < width; ++px) {
            const std::uint8_t stage = row[px];
            if (stage == kOffMap) continue;
            bool onLine = false;
            for (int k = 1; k <= reach && !onLine; ++k) {
                const std::uint8_t left = px >= k ? row[px - k] : kOffMap;
                const std::uint8_t up =
                    py >= k ? row[px - static_cast<std::ptrdiff_t>(k) * width] : kOffMap;
                onLine = (left != kOffMap && day(left) != day(stage)) ||
                         (up != kOffMap && day(up) != day(stage));
            }
            out[px] = onLine ? line : shades[stage];
        }
    }
    return image;
}

QRectF stretchedOverlayRect(const MapLayout& was, QSizeF covered, const MapLayout& now) {
    const double sx = now.displaySize.width() / was.displaySize.width();
    const double sy = now.displaySize.height() / was.displaySize.height();
    return {now.origin - QPointF(was.origin.x() * sx, was.origin.y() * sy),
            QSizeF(covered.width() * sx, covered.height() * sy)};
}

QRectF visibleMapRect(const MapLayout& layout, QSizeF area, double margin) {
    const QRectF shown =
        QRectF(layout.origin, layout.displaySize).intersected(QRectF(QPointF(0.0, 0.0), area));
    if (shown.width() <= 2.0 * margin || shown.height() <= 2.0 * margin) return {};
    return shown.adjusted(margin, margin, -margin, -margin);
}

MarkerPlacement markerPlacement(GroundPoint point, const MapLayout& layout, QRectF visible) {
    const QPointF at =
        projectionToView(forwardMapProjection({point.latitude, point.longitude}), layout);
    if (visible.contains(at)) return {at, true};
    const QPointF centre = visible.center();
    const QPointF d = at - centre;
    // The first of the four edges the way from the centre crosses.
    double scale = 1.0;
    if (d.x() != 0.0) scale = std::min(scale, visible.width() * 0.5 / std::fabs(d.x()));
    if (d.y() != 0.0) scale = std::min(scale, visible.height() * 0.5 / std::fabs(d.y()));
    return {centre + d * scale, false};
}

void paintSkyMarkers(QPainter& painter, const MapLight& light, const MapLayout& layout,
                     QSizeF area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Yael first: when both stand in one place (an eclipse) Nolomar's rays stay visible.
    const QRectF moonLabel = paintMarker(painter, light.moon, drawMoon, "Yael", layout, area);
    paintMarker(painter, light.sun, drawSun, "Nolomar", layout, area, moonLabel);
    painter.restore();
}

std::string lightLevelText(const LightSample& sample) {
    const std::string_view stage = stageWords(sample.stage);
    // Dim beyond civil twilight can only be Yael's doing.
    const bool moonlit = sample.level == LightLevel::dim && sample.stage > TwilightStage::civil;
    return fmt::format("{} ({}{})", levelName(sample.level), stage, moonlit ? ", moonlit" : "");
}

std::string mapHoverText(GeoPoint point, const LightField& light) {
    return fmt::format("{}   {}", mapHoverText(point),
                       lightLevelText(light.at(point.lat, point.lon)));
}

std::string overheadText(GroundPoint point) {
    const long lat = std::lround(radiansToDegrees(point.latitude));
    const long lon = std::lround(radiansToDegrees(point.longitude));
    return fmt::format("{}° {} {}° {}", std::abs(lat), lat < 0 ? "S" : "N", std::abs(lon),
                       lon < 0 ? "W" : "E");
}

}  // namespace morvane
