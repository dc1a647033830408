#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QUuid>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "ui/map_geometry.h"

class QLabel;

namespace morvane {

class AstronomyModel;
class MapArea;

/// A saved place as drawn on the map.
struct MapPin {
    QUuid id;
    QString name;
    QPointF at;  ///< in the map area's coordinates
};

/// The "Location" tab: the Venarive map, zoomable and pannable, with the latitude and longitude
/// under the pointer; a click makes the clicked point the model's manual location, or selects
/// the saved place whose pin it hits. The keyboard pans, zooms and picks the area's centre.
class MapLocationPickerView : public QWidget {
    Q_OBJECT

  public:
    explicit MapLocationPickerView(AstronomyModel* model, QWidget* parent = nullptr);
    ~MapLocationPickerView() override;

    double zoom() const { return zoom_; }
    /// Shift of the map from its centred place, in points.
    QPointF pan() const { return pan_; }
    /// 1 unless a pinch is in progress.
    double pinchDelta() const { return pinchDelta_; }
    /// (0, 0) unless a drag is in progress.
    QPointF dragDelta() const { return dragDelta_; }
    /// The map position under the pointer, when the pointer is over a valid point.
    std::optional<GeoPoint> hover() const { return hover_; }
    /// The pointer's last position over the map area, in the area's coordinates.
    std::optional<QPointF> lastHoverLocation() const { return lastHoverLocation_; }
    QSizeF lastViewSize() const { return lastViewSize_; }
    /// Whether the application-wide scroll-wheel monitor is installed.
    bool hasScrollMonitor() const { return scrollMonitor_ != nullptr; }
    /// Where the map is drawn now, including a drag or pinch in progress.
    MapLayout currentLayout() const;
    /// The widget that shows the map and takes the pointer.
    QWidget* mapArea() const;

    /// Where the pin of the model's current place is drawn; nothing when the map lacks it.
    std::optional<QPointF> currentPlacePin() const;
    /// The saved places the map covers (the manual entry is not one), in the model's order.
    std::vector<MapPin> savedPlacePins() const;
    /// The saved place whose pin is nearest to a point of the area, when one is within reach.
    std::optional<MapPin> savedPinAt(QPointF location) const;

  public slots:
    void zoomIn();
    void zoomOut();
    void resetZoom();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    friend class MapArea;

    void buildControls();
    void installScrollMonitor();
    void removeScrollMonitor();
    /// The scroll-wheel monitor's handler: whether the event is swallowed.
    bool handleWheel(QWheelEvent* event);

    // Called by the map area.
    void setLastViewSize(QSizeF size);
    void pointerMoved(QPointF location);
    void pointerLeft();
    void dragMoved(QPointF translation);
    void dragEnded(QPointF translation);
    void clicked(QPointF location);
    void pinchChanged(double magnification);
    void pinchEnded(double magnification);
    /// Moves the map by a fraction of the area's size (positive: right and down).
    void panByFraction(double dx, double dy);
    void zoomAroundCentre(double factor);
    void pickCentre();
    void focusChanged();

    void zoomBy(double factor);
    void setZoomState(MapZoomState state);
    void modelPlacesChanged();
    void updateHover();
    void updateCursor();
    void updatePercent();

    AstronomyModel* model_;
    double zoom_ = kMapMinZoom;
    QPointF pan_;
    double pinchDelta_ = 1.0;
    QPointF dragDelta_;
    std::optional<GeoPoint> hover_;
    std::optional<QPointF> lastHoverLocation_;
    QSizeF lastViewSize_;
    std::unique_ptr<QObject> scrollMonitor_;

    MapArea* mapArea_ = nullptr;
    QLabel* hoverLabel_ = nullptr;
    QLabel* percentLabel_ = nullptr;
};

}  // namespace morvane
