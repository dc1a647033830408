#include "ui/map_location_picker.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <functional>
#include <utility>

#include "model/astronomy_model.h"
#include "model/city_preset.h"
#include "ui/resources.h"


namespace morvane {

namespace {

constexpr double kDragThreshold = 5.0;
// Smaller pinch steps are jitter of the fingers, not a change the map should follow.
constexpr double kPinchThreshold = 0.01;
constexpr int kHoverInset = 10;
constexpr double kHoverCornerRadius = 8.0;
constexpr int kPercentMinWidth = 56;
// Relative to the body text: the read-out a little smaller, the hint smaller still.
constexpr double kCalloutScale = 12.0 / 13.0;
constexpr double kCaptionScale = 10.0 / 13.0;

QFont scaledFont(QFont font, double scale, double basePointSize) {
    if (basePointSize > 0.0) font.setPointSizeF(basePointSize * scale);
    return font;
}

QFont fixedFont(double scale) {
    return scaledFont(QFontDatabase::systemFont(QFontDatabase::FixedFont), scale,
                      QApplication::font().pointSizeF());
}

QPixmap loadMap() {
    ensureResources();
    return QPixmap(QStringLiteral(":/Venarive.png"));
}

/// A magnifying glass with a minus or plus, for desktops whose icon theme has no zoom icons.
QIcon drawnMagnifierIcon(bool plus, const QColor& colour) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QRectF(4.0, 4.0, 18.0, 18.0));
    painter.drawLine(QPointF(20.0, 20.0), QPointF(28.0, 28.0));
    painter.drawLine(QPointF(8.5, 13.0), QPointF(17.5, 13.0));
    if (plus) painter.drawLine(QPointF(13.0, 8.5), QPointF(13.0, 17.5));
    return QIcon(pixmap);
}

/// Forwards every wheel event of the application to a handler that may swallow it.
class ScrollMonitor final : public QObject {
public:
    explicit ScrollMonitor(std::function<bool(QWheelEvent*)> handler)
        : handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        return event->type() == QEvent::Wheel && handler_(static_cast<QWheelEvent*>(event));
    }

private:
    std::function<bool(QWheelEvent*)> handler_;
};

/// The coordinate read-out: rounded translucent plate, clicks pass through to the map.
class HoverLabel final : public QLabel {
public:
    explicit HoverLabel(QWidget* parent) : QLabel(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setContentsMargins(10, 6, 10, 6);
        setFont(fixedFont(kCalloutScale));
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        {
            QPainter painter(this);
            painter.setRenderHint(QPainter::Antialiasing);
            QColor plate = palette().color(QPalette::Window);
            plate.setAlphaF(0.85);
            painter.setPen(Qt::NoPen);
            painter.setBrush(plate);
            painter.drawRoundedRect(QRectF(rect()), kHoverCornerRadius, kHoverCornerRadius);
        }
        QLabel::paintEvent(event);
    }
};

}  // namespace

/// Draws the map and turns the pointer's hover, clicks, drags and pinches into the picker's
/// operations.
class MapArea final : public QWidget {
public:
    explicit MapArea(MapLocationPickerView* picker)
        : QWidget(picker), picker_(picker), map_(loadMap()) {
        setMouseTracking(true);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        hoverLabel = new HoverLabel(this);
        hoverLabel->setObjectName(QStringLiteral("hoverLabel"));
        hoverLabel->move(kHoverInset, kHoverInset);
        hoverLabel->hide();
    }

    QLabel* hoverLabel = nullptr;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setClipRect(rect());
        painter.fillRect(rect(), QColor::fromRgbF(0.0, 0.0, 0.0, 0.04));
        if (map_.isNull()) return;
        const MapLayout layout = picker_->currentLayout();
        const QRectF target(layout.origin, layout.displaySize);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPixmap& pixmap = mapFor(layout.displaySize);
        painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
    }

    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        picker_->setLastViewSize(size());
    }

    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        picker_->setLastViewSize(size());
    }

    void enterEvent(QEnterEvent* event) override { picker_->pointerMoved(event->position()); }
    void leaveEvent(QEvent* /*event*/) override { picker_->pointerLeft(); }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
        pressedAt_ = event->position();
        dragging_ = false;
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (pressedAt_ && (event->buttons() & Qt::LeftButton)) {
            const QPointF translation = event->position() - *pressedAt_;
            if (!dragging_ && std::hypot(translation.x(), translation.y()) >= kDragThreshold) {
                dragging_ = true;
                setCursor(Qt::ClosedHandCursor);
            }
            if (dragging_) picker_->dragMoved(translation);
        }
        picker_->pointerMoved(event->position());
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !pressedAt_) {
            return QWidget::mouseReleaseEvent(event);
        }
        const QPointF pressedAt = *std::exchange(pressedAt_, std::nullopt);
        if (std::exchange(dragging_, false)) {
            unsetCursor();
            picker_->dragEnded(event->position() - pressedAt);
        } else {
            picker_->clicked(pressedAt);
        }
    }

    bool event(QEvent* event) override {
        if (event->type() != QEvent::NativeGesture) return QWidget::event(event);
        const auto* gesture = static_cast<QNativeGestureEvent*>(event);
        switch (gesture->gestureType()) {
            case Qt::BeginNativeGesture:
                magnification_ = 1.0;
                pinching_ = false;
                break;
            case Qt::ZoomNativeGesture:
                // Each event carries the change since the previous one.
                magnification_ += gesture->value();
                if (std::fabs(magnification_ - picker_->pinchDelta()) >= kPinchThreshold) {
                    pinching_ = true;
                    picker_->pinchChanged(magnification_);
                }
                break;
            case Qt::EndNativeGesture:
                if (std::exchange(pinching_, false)) picker_->pinchEnded(magnification_);
                magnification_ = 1.0;
                break;
            default:
                return QWidget::event(event);
        }
        event->accept();
        return true;
    }

private:
    /// The image at the drawn size. Shrinking is done once per size with proper filtering (a
    /// painter's bilinear sampling would alias the coastlines); enlarging is left to the painter,
    /// since a cached copy at twelve-fold zoom would take hundreds of megabytes.
    const QPixmap& mapFor(QSizeF displaySize) {
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = (displaySize * ratio).toSize();
        if (pixels.width() >= map_.width() || pixels.isEmpty()) return map_;
        if (scaled_.size() != pixels) {
            scaled_ = map_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        return scaled_;
    }

    MapLocationPickerView* picker_;
    QPixmap map_;
    QPixmap scaled_;
    std::optional<QPointF> pressedAt_;
    bool dragging_ = false;
    double magnification_ = 1.0;
    bool pinching_ = false;
};

MapLocationPickerView::MapLocationPickerView(AstronomyModel* model, QWidget* parent)
    : QWidget(parent), model_(model) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    mapArea_ = new MapArea(this);
    mapArea_->setObjectName(QStringLiteral("mapArea"));
    hoverLabel_ = mapArea_->hoverLabel;
    column->addWidget(mapArea_, 1);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);
    column->addWidget(divider);

    buildControls();
    updatePercent();
}

MapLocationPickerView::~MapLocationPickerView() { removeScrollMonitor(); }

void MapLocationPickerView::buildControls() {
    auto* row = new QWidget(this);
    auto* controls = new QHBoxLayout(row);
    layout()->addWidget(row);

    const QColor iconColour = palette().color(QPalette::ButtonText);
    auto* zoomOutButton = new QToolButton(row);
    zoomOutButton->setObjectName(QStringLiteral("zoomOutButton"));
    zoomOutButton->setIcon(
        QIcon::fromTheme(QStringLiteral("zoom-out"), drawnMagnifierIcon(false, iconColour)));
    zoomOutButton->setToolTip(QStringLiteral("Zoom out (Ctrl+−)"));
    zoomOutButton->setAutoRaise(true);
    connect(zoomOutButton, &QToolButton::clicked, this, &MapLocationPickerView::zoomOut);
    controls->addWidget(zoomOutButton);

    percentLabel_ = new QLabel(row);
    percentLabel_->setObjectName(QStringLiteral("zoomPercentLabel"));
    percentLabel_->setFont(fixedFont(1.0));
    percentLabel_->setForegroundRole(QPalette::PlaceholderText);
    percentLabel_->setAlignment(Qt::AlignCenter);
    percentLabel_->setMinimumWidth(kPercentMinWidth);
    controls->addWidget(percentLabel_);

    auto* zoomInButton = new QToolButton(row);
    zoomInButton->setObjectName(QStringLiteral("zoomInButton"));
    zoomInButton->setIcon(
        QIcon::fromTheme(QStringLiteral("zoom-in"), drawnMagnifierIcon(true, iconColour)));
    zoomInButton->setToolTip(QStringLiteral("Zoom in (Ctrl+=)"));
    zoomInButton->setAutoRaise(true);
    connect(zoomInButton, &QToolButton::clicked, this, &MapLocationPickerView::zoomIn);
    controls->addWidget(zoomInButton);

    auto* resetButton = new QPushButton(QStringLiteral("Reset"), row);
    resetButton->setObjectName(QStringLiteral("resetButton"));
    connect(resetButton, &QPushButton::clicked, this, &MapLocationPickerView::resetZoom);
    controls->addWidget(resetButton);

    controls->addStretch(1);

    auto* hint = new QLabel(QStringLiteral("Click to pick · Alt-scroll to zoom · drag to pan"), row);
    hint->setObjectName(QStringLiteral("mapHint"));
    hint->setFont(scaledFont(hint->font(), kCaptionScale, hint->font().pointSizeF()));
    hint->setForegroundRole(QPalette::PlaceholderText);
    controls->addWidget(hint);

    // The window's shortcuts for as long as the picker is visible in it, wherever the focus is.
    const auto addShortcut = [this](QKeyCombination keys, void (MapLocationPickerView::*slot)()) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    addShortcut(Qt::CTRL | Qt::Key_Minus, &MapLocationPickerView::zoomOut);
    addShortcut(Qt::CTRL | Qt::Key_Equal, &MapLocationPickerView::zoomIn);
    addShortcut(Qt::CTRL | Qt::Key_Plus, &MapLocationPickerView::zoomIn);
    addShortcut(Qt::CTRL | Qt::Key_0, &MapLocationPickerView::resetZoom);
}

MapLayout MapLocationPickerView::currentLayout() const {
    return mapLayout(QSizeF(mapArea_->size()), zoom_, pinchDelta_, pan_, dragDelta_);
}

QWidget* MapLocationPickerView::mapArea() const { return mapArea_; }

void MapLocationPickerView::zoomIn() { zoomBy(kMapZoomStep); }

void MapLocationPickerView::zoomOut() { zoomBy(1.0 / kMapZoomStep); }

void MapLocationPickerView::resetZoom() { setZoomState({kMapMinZoom, QPointF(0.0, 0.0)}); }

void MapLocationPickerView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    installScrollMonitor();
}

void MapLocationPickerView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    removeScrollMonitor();
}

void MapLocationPickerView::installScrollMonitor() {
    if (scrollMonitor_ || !QCoreApplication::instance()) return;
    scrollMonitor_ =
        std::make_unique<ScrollMonitor>([this](QWheelEvent* event) { return handleWheel(event); });
    QCoreApplication::instance()->installEventFilter(scrollMonitor_.get());
}

void MapLocationPickerView::removeScrollMonitor() {
    if (!scrollMonitor_) return;
    if (auto* app = QCoreApplication::instance()) app->removeEventFilter(scrollMonitor_.get());
    scrollMonitor_.reset();
}

bool MapLocationPickerView::handleWheel(QWheelEvent* event) {
    // Alt-scroll is the map's zoom; Ctrl-scroll is what zooms everywhere else on a Linux
    // desktop. A plain scroll belongs to whatever is under the pointer.
    if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) return false;
    // Swallowed even when nothing can change, so that the scroll does not reach another view.
    if (lastViewSize_.width() > 0.0 && lastViewSize_.height() > 0.0) {
        zoomBy(scrollZoomFactor(wheelScrollDelta(event->pixelDelta(), event->angleDelta())));
    }
    return true;
}

void MapLocationPickerView::setLastViewSize(QSizeF size) {
    lastViewSize_ = size;
    updateHover();
}

void MapLocationPickerView::pointerMoved(QPointF location) {
    lastHoverLocation_ = location;
    updateHover();
}

void MapLocationPickerView::pointerLeft() {
    lastHoverLocation_.reset();
    updateHover();
}

void MapLocationPickerView::dragMoved(QPointF translation) {
    dragDelta_ = translation;
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::dragEnded(QPointF translation) {
    pan_ += translation;
    dragDelta_ = QPointF(0.0, 0.0);
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::clicked(QPointF location) {
    const auto point = geoPointAt(location, currentLayout());
    if (!point) return;
    const PickedLocation picked = pickedLocation(*point);
    model_->setManualLatDeg(picked.latDeg);
    model_->setManualLongDeg(picked.longDeg);
    model_->setLatNorth(picked.latNorth);
    model_->setLongWest(picked.longWest);
    // The sidebar then shows the manual fields with the picked values.
    model_->setSelectedCityID(manualCityID());
}

void MapLocationPickerView::pinchChanged(double magnification) {
    pinchDelta_ = magnification;
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::pinchEnded(double magnification) {
    pinchDelta_ = 1.0;
    setZoomState(endPinch({zoom_, pan_}, magnification));
}

void MapLocationPickerView::zoomBy(double factor) {
    setZoomState(zoomAround({zoom_, pan_}, factor, lastHoverLocation_, lastViewSize_));
}

void MapLocationPickerView::setZoomState(MapZoomState state) {
    zoom_ = state.zoom;
    pan_ = state.pan;
    updatePercent();
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::updateHover() {
    // Recomputed after zooms and drags too, so the read-out names what is under the pointer now.
    hover_ = lastHoverLocation_ ? geoPointAt(*lastHoverLocation_, currentLayout()) : std::nullopt;
    if (!hover_) {
        hoverLabel_->hide();
        return;
    }
    hoverLabel_->setText(QString::fromStdString(mapHoverText(*hover_)));
    hoverLabel_->adjustSize();
    hoverLabel_->show();
}

void MapLocationPickerView::updatePercent() {
    percentLabel_->setText(QString::fromStdString(zoomPercentText(zoom_)));
}

}  // namespace morvane
