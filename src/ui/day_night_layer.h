#pragma once

// Day and night over the Venarive map: night and the three twilights shaded, the line where
// Nolomar's centre crosses the horizon, and the places where Nolomar and Yael stand overhead.
// The shading is worked out per pixel of the area through the same projection the picker reads
// the pointer with, so its edges fall where the hover read-out says the light changes.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <string>

#include "events/light.h"
#include "ui/map_geometry.h"

class QPainter;

namespace morvane {

/// One moment's light over the map. The shading, the markers and the hover read-out all take
/// it from one of these, so they never disagree about the moment or the thresholds.
struct MapLight {
    MapLight(double t, const MoonlightThresholds& thresholds);

    LightField field;
    GroundPoint sun;   ///< where Nolomar stands at the zenith
    GroundPoint moon;  ///< where Yael stands at the zenith
};

/// The translucent shade a stage lays over the map, premultiplied; transparent for day.
QRgb stageShade(TwilightStage stage);
/// The colour of the day/night line, premultiplied.
QRgb dayNightLineColour();

/// The shading for an area of `pixels` device pixels, `pixelRatio` of them to a point, with the
/// map drawn at `layout` (in points). Pixels off the drawn map stay transparent; the line is
/// about one point wide. Usable from any thread.
QImage dayNightImage(const MapLight& light, const MapLayout& layout, QSize pixels,
                     double pixelRatio);

/// Where a shading computed for the layout `was`, covering `covered` points from the area's
/// corner, is drawn under the layout `now`, so that it stays on the places it was computed for
/// while one for the new layout is on its way.
QRectF stretchedOverlayRect(const MapLayout& was, QSizeF covered, const MapLayout& now);

/// Where a marker for a place overhead goes: on the place when `visible` (the part of the map
/// in view) shows it, otherwise on the edge of `visible` towards it.
struct MarkerPlacement {
    QPointF at;
    bool onMap = false;
};
MarkerPlacement markerPlacement(GroundPoint point, const MapLayout& layout, QRectF visible);

/// The part of the drawn map inside an area of `area` points, shrunk by `margin` on each side.
QRectF visibleMapRect(const MapLayout& layout, QSizeF area, double margin);

/// Nolomar's and Yael's markers, each on its place or, when that is out of view, at the edge
/// with a label naming the body and where it stands.
void paintSkyMarkers(QPainter& painter, const MapLight& light, const MapLayout& layout,
                     QSizeF area);

/// "bright (day)", "dim (civil twilight)", "dim (night, moonlit)", "dark (nautical twilight)".
std::string lightLevelText(const LightSample& sample);

/// The read-out under the pointer with the light there, e.g.
/// "29.933° N   8.618° E   dim (civil twilight)" (UTF-8).
std::string mapHoverText(GeoPoint point, const LightField& light);

/// "12° S 121° E": a place overhead in whole degrees, for an edge label.
std::string overheadText(GroundPoint point);

}  // namespace morvane
