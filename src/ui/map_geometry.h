#pragma once

#include <QPoint>
#include <QPointF>
#include <QSizeF>
#include <optional>
#include <string>

#include "engine/map_projection.h"

namespace morvane {

/// The map image's width over its height.
inline constexpr double kMapAspectRatio =
    static_cast<double>(venarive::kImageWidth) / venarive::kImageHeight;
/// The projection space of the map: twice the image's pixel grid, y downwards.
inline constexpr double kMapProjectionWidth = 2.0 * venarive::kImageWidth;
inline constexpr double kMapProjectionHeight = 2.0 * venarive::kImageHeight;

inline constexpr double kMapMinZoom = 1.0;
inline constexpr double kMapMaxZoom = 12.0;
/// One press of a zoom button or shortcut.
inline constexpr double kMapZoomStep = 1.4;

/// A place on the map in radians: latitude north positive, longitude east positive.
struct GeoPoint {
    double lat = 0.0;
    double lon = 0.0;
};

/// Whether a place lies in the region the map covers: 0 to 60 degrees north, 45 degrees either
/// side of longitude 0 (the edges included).
bool insideMapRegion(GeoPoint point);

/// The map's projection-space point to its latitude and longitude, or nothing outside the
/// region the map covers.
std::optional<GeoPoint> inverseMapProjection(QPointF projectionPoint);

/// A place to the map's projection space; also defined outside the region the map covers.
QPointF forwardMapProjection(GeoPoint point);

/// Where the map is drawn inside its area, in the area's own coordinates.
struct MapLayout {
    QPointF origin;      ///< top-left corner of the drawn map
    QSizeF displaySize;  ///< size of the drawn map
};

/// The map fitted whole into an area at zoom 1, keeping its aspect ratio.
QSizeF mapBaseSize(QSizeF area);

/// The layout for an area: `zoom` times the pinch in progress, centred, then shifted by the pan
/// and the drag in progress (both in area units).
MapLayout mapLayout(QSizeF area, double zoom, double pinchDelta, QPointF pan, QPointF dragDelta);

/// A point of the area to projection space; nothing when it lies outside the drawn map.
std::optional<QPointF> viewToProjection(QPointF viewPoint, const MapLayout& layout);

/// A projection-space point to the area, wherever it falls (inside the area or not).
QPointF projectionToView(QPointF projectionPoint, const MapLayout& layout);

/// The latitude and longitude under a point of the area, if any.
std::optional<GeoPoint> geoPointAt(QPointF viewPoint, const MapLayout& layout);

/// Where a place is drawn in the area; nothing when the map does not cover it.
std::optional<QPointF> viewPointOf(GeoPoint point, const MapLayout& layout);

/// The zoom and pan of the view: everything the zoom arithmetic changes.
struct MapZoomState {
    double zoom = kMapMinZoom;
    QPointF pan;
};

/// Zooms by `factor` (limited to the zoom range) keeping the map point under `anchor` in place;
/// the anchor defaults to the centre of the area. Unchanged when the limited zoom equals the
/// current one or the area is empty; back at the smallest zoom the map is re-centred.
MapZoomState zoomAround(MapZoomState state, double factor, std::optional<QPointF> anchor,
                        QSizeF area);

/// The state after a pinch of the given total magnification ends (the pan is kept).
MapZoomState endPinch(MapZoomState state, double magnification);

/// The pan limited so that the map never uncovers more of the area than at zoom 1: a band beside
/// the map is at most as wide as the one an area of another shape shows around the whole map.
/// At zoom 1 that leaves no pan at all. An empty area limits nothing.
QPointF clampedPan(QPointF pan, double zoom, QSizeF area);

/// The zoom factor of a scroll delta (in lines or points, positive away from the user).
double scrollZoomFactor(double delta);

/// The scroll delta of a wheel event for scrollZoomFactor. A touchpad's pixel delta counts as
/// points; a notched wheel (120 angle units a notch) counts three lines a notch, as a desktop
/// scrolls text. The larger axis wins, since the window system turns an Alt-scroll sideways.
double wheelScrollDelta(QPoint pixelDelta, QPoint angleDelta);

/// |value| rounded to three decimals, halves away from zero.
double roundedThousandths(double value);

/// What a click on the map writes into the manual location.
struct PickedLocation {
    double latDeg = 0.0;   ///< absolute, three decimals
    double longDeg = 0.0;  ///< absolute, three decimals
    bool latNorth = true;
    bool longWest = false;
};

PickedLocation pickedLocation(GeoPoint point);

/// The read-out under the pointer, e.g. "29.933° N   8.618° E" (UTF-8).
std::string mapHoverText(GeoPoint point);

/// The zoom as a whole percentage, truncated: 1.96 just below reads "195%".
std::string zoomPercentText(double zoom);

}  // namespace morvane
