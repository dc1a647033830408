#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QUuid>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "ui/day_night_layer.h"
#include "ui/map_geometry.h"

class QLabel;
class QThreadPool;
class QToolButton;

namespace morvane {

class AstronomyModel;
class LightSettings;
class MapArea;
struct OverlayWork;

/// A saved place as drawn on the map.
struct MapPin {
    QUuid id;
    QString name;
    QPointF at;  ///< in the map area's coordinates
};

/// The day and night shading as computed, with what it was computed for.
struct DayNightOverlay {
    QImage image;  ///< covers the map area
    MapLayout layout;
    QSize pixels;
    double pixelRatio = 1.0;
    double t = 0.0;
};

/// The "Location" tab: the Venarive map, zoomable and pannable, with the latitude and longitude
/// under the pointer; a click makes the clicked point the model's manual location, or selects
/// the saved place whose pin it hits. The keyboard pans, zooms and picks the area's centre.
/// A remembered toggle shades night and twilight for the calculated moment and marks the
/// places where Nolomar and Yael stand overhead; the read-out then names the light too. The
/// shading is computed off the user-interface thread, the newest request winning, so neither
/// the read-out nor a pick ever waits for it.
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

    /// Whether day and night are shown (the remembered toggle).
    bool showsDayNight() const;
    /// The light of the moment calculated last; nothing before the first calculation.
    const MapLight* mapLight() const { return light_ ? &*light_ : nullptr; }
    /// The shading that arrived last while day and night are shown. It may still be of an
    /// earlier moment or layout for the moment it takes to compute the new one; it is then
    /// drawn stretched to the new layout.
    const DayNightOverlay* dayNightOverlay() const { return overlay_ ? &*overlay_ : nullptr; }

  public slots:
    void zoomIn();
    void zoomOut();
    void resetZoom();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    friend class MapArea;
    friend struct OverlayWork;

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

    void momentChanged();
    void dayNightToggled(bool shows);
    /// Starts computing the shading for the current moment and layout unless that is what the
    /// overlay shows or what is being computed already.
    void requestOverlay();
    /// Takes the shading a worker has finished; woken on the user-interface thread.
    void takeOverlay();
    void paintDayNight(QPainter& painter, const MapLayout& layout);

    AstronomyModel* model_;
    LightSettings& lightSettings_;
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
    QToolButton* dayNightButton_ = nullptr;

    std::optional<MapLight> light_;
    std::optional<DayNightOverlay> overlay_;
    /// What was last handed to the worker: moment, layout and pixels.
    std::optional<DayNightOverlay> requested_;
    std::shared_ptr<OverlayWork> work_;
    /// Declared last, so destroyed first: it waits for a computation still running.
    std::unique_ptr<QThreadPool> pool_;
};

}  // namespace morvane
