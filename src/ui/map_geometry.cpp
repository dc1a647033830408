#include "ui/map_geometry.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/constants.h"

namespace morvane {

namespace {

constexpr double kScrollZoomPerUnit = 0.04;
constexpr double kMinScrollFactor = 0.5;
constexpr double kMaxScrollFactor = 2.0;
constexpr double kAngleUnitsPerNotch = 120.0;
constexpr double kLinesPerNotch = 3.0;

double clampedZoom(double zoom) { return std::max(std::min(zoom, kMapMaxZoom), kMapMinZoom); }

}  // namespace

bool insideMapRegion(GeoPoint point) { return venarive::insideRegion(point.lat, point.lon); }

std::optional<GeoPoint> inverseMapProjection(QPointF projectionPoint) {
    const double lat = venarive::latitudeAt(projectionPoint.y());
    if (lat < 0.0 || lat > venarive::kMaxLatitude) return std::nullopt;
    const double lon = venarive::longitudeAt(projectionPoint.x(), lat);
    if (lon > venarive::kMaxLongitude || lon < -venarive::kMaxLongitude) return std::nullopt;
    return GeoPoint{lat, lon};
}

QPointF forwardMapProjection(GeoPoint point) {
    return {venarive::projectionX(point.lat, point.lon), venarive::projectionY(point.lat)};
}

QSizeF mapBaseSize(QSizeF area) {
    const double w = area.width();
    const double h = area.height();
    if (w / h < kMapAspectRatio) return {w, w * venarive::kImageHeight / venarive::kImageWidth};
    return {h * venarive::kImageWidth / venarive::kImageHeight, h};
}

MapLayout mapLayout(QSizeF area, double zoom, double pinchDelta, QPointF pan, QPointF dragDelta) {
    const QSizeF base = mapBaseSize(area);
    const double z = zoom * pinchDelta;
    const QSizeF display(base.width() * z, base.height() * z);
    const QPointF p = pan + dragDelta;
    const QPointF origin((area.width() - display.width()) * 0.5 + p.x(),
                         (area.height() - display.height()) * 0.5 + p.y());
    return {origin, display};
}

std::optional<QPointF> viewToProjection(QPointF viewPoint, const MapLayout& layout) {
    const double dx = viewPoint.x() - layout.origin.x();
    if (dx < 0.0 || dx > layout.displaySize.width()) return std::nullopt;
    const double dy = viewPoint.y() - layout.origin.y();
    if (dy < 0.0 || dy > layout.displaySize.height()) return std::nullopt;
    return QPointF(dx * kMapProjectionWidth / layout.displaySize.width(),
                   dy * kMapProjectionHeight / layout.displaySize.height());
}

QPointF projectionToView(QPointF projectionPoint, const MapLayout& layout) {
    return layout.origin +
           QPointF(projectionPoint.x() * layout.displaySize.width() / kMapProjectionWidth,
                   projectionPoint.y() * layout.displaySize.height() / kMapProjectionHeight);
}

std::optional<GeoPoint> geoPointAt(QPointF viewPoint, const MapLayout& layout) {
    const auto projected = viewToProjection(viewPoint, layout);
    if (!projected) return std::nullopt;
    return inverseMapProjection(*projected);
}

std::optional<QPointF> viewPointOf(GeoPoint point, const MapLayout& layout) {
    if (!insideMapRegion(point)) return std::nullopt;
    return projectionToView(forwardMapProjection(point), layout);
}

MapZoomState zoomAround(MapZoomState state, double factor, std::optional<QPointF> anchor,
                        QSizeF area) {
    const double oldZoom = state.zoom;
    const double newZoom = clampedZoom(oldZoom * factor);
    const double w = area.width();
    const double h = area.height();
    if (newZoom == oldZoom || w <= 0.0 || h <= 0.0) return state;
    if (newZoom == kMapMinZoom) return {newZoom, QPointF(0.0, 0.0)};

    const QPointF a = anchor.value_or(QPointF(w * 0.5, h * 0.5));
    const QSizeF base = mapBaseSize(area);
    const double ratio = newZoom / oldZoom;
    // Per axis: the anchor's distance to the map's corner grows by the ratio; the centring
    // term of the new size is taken back out, since the layout adds it again.
    const auto axis = [ratio, oldZoom, newZoom](double anchorAt, double pan, double extent,
                                                double baseExtent) {
        const double oldOrigin = pan + (extent - oldZoom * baseExtent) * 0.5;
        return anchorAt - ratio * (anchorAt - oldOrigin) - (extent - newZoom * baseExtent) * 0.5;
    };
    return {newZoom, QPointF(axis(a.x(), state.pan.x(), w, base.width()),
                             axis(a.y(), state.pan.y(), h, base.height()))};
}

MapZoomState endPinch(MapZoomState state, double magnification) {
    const double zoom = clampedZoom(state.zoom * magnification);
    if (zoom == kMapMinZoom) return {zoom, QPointF(0.0, 0.0)};
    return {zoom, state.pan};
}

QPointF clampedPan(QPointF pan, double zoom, QSizeF area) {
    if (area.width() <= 0.0 || area.height() <= 0.0) return pan;
    // Per axis the map's edge may move inwards by as much as it grew beyond its size at zoom
    // 1, halved since the growth is shared by both edges: the band beside it then never gets
    // wider than at zoom 1.
    const QSizeF base = mapBaseSize(area);
    const double grown = std::max(zoom - kMapMinZoom, 0.0) * 0.5;
    const double limitX = base.width() * grown;
    const double limitY = base.height() * grown;
    return {std::clamp(pan.x(), -limitX, limitX), std::clamp(pan.y(), -limitY, limitY)};
}

double scrollZoomFactor(double delta) {
    return std::clamp(1.0 + delta * kScrollZoomPerUnit, kMinScrollFactor, kMaxScrollFactor);
}

double wheelScrollDelta(QPoint pixelDelta, QPoint angleDelta) {
    const auto dominant = [](QPoint d) {
        return std::abs(d.x()) > std::abs(d.y()) ? d.x() : d.y();
    };
    if (!pixelDelta.isNull()) return dominant(pixelDelta);
    return dominant(angleDelta) / kAngleUnitsPerNotch * kLinesPerNotch;
}

double roundedThousandths(double value) { return std::round(std::fabs(value) * 1000.0) / 1000.0; }

PickedLocation pickedLocation(GeoPoint point) {
    const double latDeg = radiansToDegrees(point.lat);
    const double lonDeg = radiansToDegrees(point.lon);
    return {roundedThousandths(latDeg), roundedThousandths(lonDeg), latDeg >= 0.0, lonDeg < 0.0};
}

std::string mapHoverText(GeoPoint point) {
    const double latDeg = radiansToDegrees(point.lat);
    const double lonDeg = radiansToDegrees(point.lon);
    return fmt::format("{:.3f}° {}   {:.3f}° {}", std::fabs(latDeg), point.lat >= 0.0 ? "N" : "S",
                       std::fabs(lonDeg), point.lon >= 0.0 ? "E" : "W");
}

std::string zoomPercentText(double zoom) {
    return fmt::format("{}%", static_cast<long long>(std::trunc(zoom * 100.0)));
}

}  // namespace morvane
