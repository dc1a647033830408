#include "ui/map_location_picker.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QThreadPool>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <utility>

#include "model/astronomy_model.h"
#include "model/city_preset.h"
#include "model/event_list.h"
#include "model/light_settings.h"
#include "ui/resources.h"
#include "ui/widgets.h"

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

// A keyboard pan moves the map by this share of the area.
constexpr double kKeyPanFraction = 0.1;
// Pins are drawn over the map image, not over the window, so their colours do not follow the
// palette: a dark or light theme leaves the map itself unchanged.
const QColor kCurrentPinColour(206, 32, 57);
const QColor kSavedPinColour(30, 45, 80);
const QColor kPinRingColour(255, 255, 255);
// The current place gets a drop pin: its tip on the place, its head above it, clear of the
// name the map prints to the right of a town.
constexpr double kCurrentPinHeadRadius = 6.0;
constexpr double kCurrentPinHeadLift = 14.0;
constexpr double kSavedPinRadius = 3.5;
// A pointer this close to a saved pin's centre hits it; a little more than the drawn pin, so
// that a quick click does not turn into a pick beside it.
constexpr double kPinReach = 8.0;
// Long names would stretch the read-out across the map.
constexpr int kMaxPinNameWidth = 320;
constexpr double kReticleGap = 3.0;
constexpr double kReticleArm = 10.0;

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

/// What a key does to the map; `none` for keys it leaves to the window.
enum class MapKey { none, panLeft, panRight, panUp, panDown, zoomIn, zoomOut, reset, pick };

MapKey mapKeyOf(const QKeyEvent* event) {
    // Shift belongs to "+" on many layouts; the keypad sends its own modifier.
    const Qt::KeyboardModifiers other =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (other != Qt::NoModifier) return MapKey::none;
    switch (event->key()) {
        case Qt::Key_Left:
            return MapKey::panLeft;
        case Qt::Key_Right:
            return MapKey::panRight;
        case Qt::Key_Up:
            return MapKey::panUp;
        case Qt::Key_Down:
            return MapKey::panDown;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return MapKey::zoomIn;
        case Qt::Key_Minus:
            return MapKey::zoomOut;
        case Qt::Key_0:
            return MapKey::reset;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return MapKey::pick;
        default:
            return MapKey::none;
    }
}

void drawSavedPin(QPainter& painter, QPointF at) {
    // Small enough to leave the town's name printed beside it readable.
    painter.setPen(QPen(kPinRingColour, 1.5));
    painter.setBrush(kSavedPinColour);
    painter.drawEllipse(at, kSavedPinRadius, kSavedPinRadius);
}

void drawCurrentPin(QPainter& painter, QPointF tip) {
    const double r = kCurrentPinHeadRadius;
    const QPointF head = tip - QPointF(0.0, kCurrentPinHeadLift);
    // The tail meets the head where the lines from the tip touch the circle.
    const double sine = r / kCurrentPinHeadLift;
    const double cosine = std::sqrt(1.0 - sine * sine);
    QPainterPath headPath;
    headPath.addEllipse(head, r, r);
    QPainterPath tailPath;
    tailPath.addPolygon(QPolygonF(
        {tip, head + QPointF(-r * cosine, r * sine), head + QPointF(r * cosine, r * sine), tip}));
    painter.setPen(QPen(kPinRingColour, 1.5));
    painter.setBrush(kCurrentPinColour);
    painter.drawPath(headPath.united(tailPath));
}

bool sameLayout(const MapLayout& a, const MapLayout& b) {
    // Exact: QPointF's own comparison is fuzzy, and a shading a fraction of a pixel off would
    // be kept.
    return a.origin.x() == b.origin.x() && a.origin.y() == b.origin.y() &&
           a.displaySize.width() == b.displaySize.width() &&
           a.displaySize.height() == b.displaySize.height();
}

bool sameTarget(const DayNightOverlay& a, const DayNightOverlay& b) {
    return a.t == b.t && a.pixels == b.pixels && a.pixelRatio == b.pixelRatio &&
           sameLayout(a.layout, b.layout);
}

}  // namespace

/// The shading's hand-over between the user-interface thread and one worker. Requests and
/// results cross only under this mutex (the pool's own locks are invisible to
/// ThreadSanitizer). A request made while one is computed replaces any still waiting, so a held
/// key never queues a backlog and the newest moment always wins.
struct OverlayWork {
    struct Request {
        MapLight light;
        DayNightOverlay target;  ///< everything but the image
    };

    std::mutex mutex;
    MapLocationPickerView* receiver = nullptr;
    std::optional<Request> waiting;
    bool running = false;
    std::optional<DayNightOverlay> done;

    static void run(const std::shared_ptr<OverlayWork>& work) {
        for (;;) {
            std::optional<Request> request;
            {
                const std::lock_guard lock(work->mutex);
                if (!work->waiting || work->receiver == nullptr) {
                    work->running = false;
                    return;
                }
                request = std::exchange(work->waiting, std::nullopt);
            }
            DayNightOverlay overlay = std::move(request->target);
            overlay.image =
                dayNightImage(request->light, overlay.layout, overlay.pixels, overlay.pixelRatio);
            const std::lock_guard lock(work->mutex);
            if (work->receiver == nullptr) continue;  // the view is gone: dropped
            work->done = std::move(overlay);
            // Posting holds the lock, so the view cannot be destroyed half-way; a call still
            // queued when it is goes with it.
            MapLocationPickerView* receiver = work->receiver;
            QMetaObject::invokeMethod(
                receiver, [receiver] { receiver->takeOverlay(); }, Qt::QueuedConnection);
        }
    }
};

/// Draws the map and turns the pointer's hover, clicks, drags and pinches, and the keys pressed
/// while it has the focus, into the picker's operations.
class MapArea final : public QWidget {
  public:
    explicit MapArea(MapLocationPickerView* picker)
        : QWidget(picker), picker_(picker), map_(loadMap()) {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        hoverLabel = new HoverLabel(this);
        hoverLabel->setObjectName(QStringLiteral("hoverLabel"));
        hoverLabel->move(kHoverInset, kHoverInset);
        hoverLabel->hide();
    }

    QLabel* hoverLabel = nullptr;

    bool dragging() const { return dragging_; }
    /// Whether the keyboard drives the map: the centre is then what Enter picks and what the
    /// read-out names, and a reticle marks it.
    bool keyboardDriven() const { return keyboardDriven_ && hasFocus(); }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setClipRect(rect());
        painter.fillRect(rect(), QColor::fromRgbF(0.0, 0.0, 0.0, 0.04));
        const MapLayout layout = picker_->currentLayout();
        paintMap(painter, layout);
        picker_->paintDayNight(painter, layout);
        paintPins(painter);
        if (hasFocus()) paintFocus(painter);
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

    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        const Qt::FocusReason reason = event->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason) {
            keyboardDriven_ = true;
        }
        picker_->focusChanged();
    }

    void focusOutEvent(QFocusEvent* event) override {
        QWidget::focusOutEvent(event);
        // Losing the focus to another window keeps the way the map was being used.
        if (event->reason() != Qt::ActiveWindowFocusReason) keyboardDriven_ = false;
        picker_->focusChanged();
    }

    void keyPressEvent(QKeyEvent* event) override {
        const MapKey key = mapKeyOf(event);
        if (key == MapKey::none) return QWidget::keyPressEvent(event);
        if (!std::exchange(keyboardDriven_, true)) picker_->focusChanged();
        switch (key) {
            // The map moves against the key, as the view travels the key's way.
            case MapKey::panLeft:
                picker_->panByFraction(kKeyPanFraction, 0.0);
                break;
            case MapKey::panRight:
                picker_->panByFraction(-kKeyPanFraction, 0.0);
                break;
            case MapKey::panUp:
                picker_->panByFraction(0.0, kKeyPanFraction);
                break;
            case MapKey::panDown:
                picker_->panByFraction(0.0, -kKeyPanFraction);
                break;
            case MapKey::zoomIn:
                picker_->zoomAroundCentre(kMapZoomStep);
                break;
            case MapKey::zoomOut:
                picker_->zoomAroundCentre(1.0 / kMapZoomStep);
                break;
            case MapKey::reset:
                picker_->resetZoom();
                break;
            case MapKey::pick:
                picker_->pickCentre();
                break;
            case MapKey::none:
                break;
        }
        event->accept();
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (std::exchange(keyboardDriven_, false)) picker_->focusChanged();
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
            picker_->dragEnded(event->position() - pressedAt);
        } else {
            picker_->clicked(pressedAt);
        }
    }

    bool event(QEvent* event) override {
        // The map's own keys win over window shortcuts on the same keys (Enter, for one).
        if (event->type() == QEvent::ShortcutOverride &&
            mapKeyOf(static_cast<QKeyEvent*>(event)) != MapKey::none) {
            event->accept();
            return true;
        }
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
    void paintMap(QPainter& painter, const MapLayout& layout) {
        if (map_.isNull()) return;
        const QRectF target(layout.origin, layout.displaySize);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPixmap& pixmap = mapFor(layout.displaySize);
        painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
    }

    /// Saved places as dots, the current place on top of them.
    void paintPins(QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        for (const MapPin& pin : picker_->savedPlacePins()) drawSavedPin(painter, pin.at);
        if (const auto current = picker_->currentPlacePin()) drawCurrentPin(painter, *current);
    }

    void paintFocus(QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2.0));
        painter.drawRect(QRectF(rect()).adjusted(1.0, 1.0, -1.0, -1.0));
        if (!keyboardDriven()) return;
        // A light halo under a dark cross: visible on sea and land alike.
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre(width() * 0.5, height() * 0.5);
        for (const QPen& pen : {QPen(kPinRingColour, 3.5), QPen(kSavedPinColour, 1.5)}) {
            painter.setPen(pen);
            for (const QPointF direction :
                 {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)}) {
                painter.drawLine(centre + direction * kReticleGap,
                                 centre + direction * kReticleArm);
            }
        }
    }

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
    bool keyboardDriven_ = false;
    double magnification_ = 1.0;
    bool pinching_ = false;
};

MapLocationPickerView::MapLocationPickerView(AstronomyModel* model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      lightSettings_(LightSettings::of(*model)),
      work_(std::make_shared<OverlayWork>()),
      pool_(std::make_unique<QThreadPool>()) {
    work_->receiver = this;
    pool_->setMaxThreadCount(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    mapArea_ = new MapArea(this);
    mapArea_->setObjectName(QStringLiteral("mapArea"));
    mapArea_->setAccessibleName(QStringLiteral("World map of Venarive"));
    mapArea_->setAccessibleDescription(QStringLiteral(
        "Enter makes the place at the centre of the map the manual location, as a click does "
        "for the place under the pointer; on a saved place's pin either selects that place. "
        "Arrow keys move the map, plus and minus zoom, 0 shows the whole map."));
    hoverLabel_ = mapArea_->hoverLabel;
    column->addWidget(mapArea_, 1);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);
    column->addWidget(divider);

    buildControls();
    updatePercent();

    for (const auto signal :
         {&AstronomyModel::citiesChanged, &AstronomyModel::selectedCityIDChanged,
          &AstronomyModel::manualLatDegChanged, &AstronomyModel::manualLongDegChanged,
          &AstronomyModel::latNorthChanged, &AstronomyModel::longWestChanged}) {
        connect(model_, signal, this, &MapLocationPickerView::modelPlacesChanged);
    }
    // The moment the other outputs show: the one calculated last, stepping through time
    // included.
    connect(&EventList::of(*model_), &EventList::changed, this,
            &MapLocationPickerView::momentChanged);
    connect(&lightSettings_, &LightSettings::thresholdsChanged, this, [this] {
        light_.reset();
        momentChanged();
    });
    connect(&lightSettings_, &LightSettings::showsDayNightChanged, this,
            &MapLocationPickerView::dayNightToggled);
    momentChanged();
}

MapLocationPickerView::~MapLocationPickerView() {
    {
        const std::lock_guard lock(work_->mutex);
        work_->receiver = nullptr;
    }
    removeScrollMonitor();
    // The map area tells this view when it loses the focus. Destroyed by QWidget's destructor
    // it would do so after this object is gone; destroyed here it no longer can.
    delete mapArea_;
    mapArea_ = nullptr;
}

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
    zoomOutButton->setAccessibleName(QStringLiteral("Zoom out"));
    zoomOutButton->setAccessibleDescription(QStringLiteral("Shows more of the map, smaller"));
    zoomOutButton->setAutoRaise(true);
    connect(zoomOutButton, &QToolButton::clicked, this, &MapLocationPickerView::zoomOut);
    controls->addWidget(zoomOutButton);

    // Muted like a caption, yet readable in light and dark palettes.
    percentLabel_ = new SecondaryLabel(QString(), row);
    percentLabel_->setObjectName(QStringLiteral("zoomPercentLabel"));
    percentLabel_->setFont(fixedFont(1.0));
    percentLabel_->setAlignment(Qt::AlignCenter);
    percentLabel_->setMinimumWidth(kPercentMinWidth);
    percentLabel_->setAccessibleName(QStringLiteral("Zoom level"));
    controls->addWidget(percentLabel_);

    auto* zoomInButton = new QToolButton(row);
    zoomInButton->setObjectName(QStringLiteral("zoomInButton"));
    zoomInButton->setIcon(
        QIcon::fromTheme(QStringLiteral("zoom-in"), drawnMagnifierIcon(true, iconColour)));
    zoomInButton->setToolTip(QStringLiteral("Zoom in (Ctrl++)"));
    zoomInButton->setAccessibleName(QStringLiteral("Zoom in"));
    zoomInButton->setAccessibleDescription(QStringLiteral("Shows less of the map, larger"));
    zoomInButton->setAutoRaise(true);
    connect(zoomInButton, &QToolButton::clicked, this, &MapLocationPickerView::zoomIn);
    controls->addWidget(zoomInButton);

    auto* resetButton = new QPushButton(QStringLiteral("Reset"), row);
    resetButton->setObjectName(QStringLiteral("resetButton"));
    resetButton->setToolTip(QStringLiteral("Show the whole map (Ctrl+0)"));
    resetButton->setAccessibleName(QStringLiteral("Reset zoom"));
    resetButton->setAccessibleDescription(QStringLiteral("Shows the whole map at 100%"));
    connect(resetButton, &QPushButton::clicked, this, &MapLocationPickerView::resetZoom);
    controls->addWidget(resetButton);

    dayNightButton_ = new QToolButton(row);
    dayNightButton_->setObjectName(QStringLiteral("dayNightButton"));
    dayNightButton_->setText(QStringLiteral("Day and &night"));
    dayNightButton_->setCheckable(true);
    dayNightButton_->setChecked(lightSettings_.showsDayNight());
    dayNightButton_->setToolTip(QStringLiteral(
        "Shade night and twilight for the calculated moment and mark where Nolomar and Yael "
        "stand overhead (Alt+N)"));
    dayNightButton_->setAccessibleName(QStringLiteral("Day and night"));
    dayNightButton_->setAccessibleDescription(QStringLiteral(
        "Shades night and the three twilights on the map for the calculated moment; the "
        "read-out then names the light under the pointer"));
    connect(dayNightButton_, &QToolButton::toggled, &lightSettings_,
            &LightSettings::setShowsDayNight);
    controls->addWidget(dayNightButton_);

    controls->addStretch(1);

    auto* hint = new SecondaryLabel(
        QStringLiteral("Click to pick · Ctrl-scroll to zoom · drag to pan"), row);
    hint->setObjectName(QStringLiteral("mapHint"));
    hint->setToolTip(QStringLiteral(
        "Alt-scroll zooms too. With the map focused (Tab): arrow keys move it, + and − zoom, "
        "0 shows the whole map, Enter picks the centre."));
    hint->setFont(scaledFont(hint->font(), kCaptionScale, hint->font().pointSizeF()));
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

std::optional<QPointF> MapLocationPickerView::currentPlacePin() const {
    return viewPointOf({model_->latitude(), model_->longitude()}, currentLayout());
}

std::vector<MapPin> MapLocationPickerView::savedPlacePins() const {
    const MapLayout layout = currentLayout();
    std::vector<MapPin> pins;
    for (const CityPreset& city : model_->cities()) {
        if (city.id == manualCityID()) continue;
        if (const auto at = viewPointOf({city.latitude, city.longitude}, layout)) {
            pins.push_back({city.id, city.name, *at});
        }
    }
    return pins;
}

std::optional<MapPin> MapLocationPickerView::savedPinAt(QPointF location) const {
    std::optional<MapPin> nearest;
    double nearestDistance = kPinReach;
    for (MapPin& pin : savedPlacePins()) {
        const QPointF d = pin.at - location;
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= nearestDistance) {
            nearestDistance = distance;
            nearest = std::move(pin);
        }
    }
    return nearest;
}

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
    // Ctrl-scroll zooms as everywhere else on a Linux desktop; Alt-scroll too, where the window
    // manager lets it through. A plain scroll belongs to whatever is under the pointer.
    if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) return false;
    // Swallowed even when nothing can change, so that the scroll does not reach another view.
    if (lastViewSize_.width() > 0.0 && lastViewSize_.height() > 0.0) {
        zoomBy(scrollZoomFactor(wheelScrollDelta(event->pixelDelta(), event->angleDelta())));
    }
    return true;
}

void MapLocationPickerView::setLastViewSize(QSizeF size) {
    lastViewSize_ = size;
    // A smaller or differently shaped area may not hold the old pan.
    pan_ = clampedPan(pan_, zoom_, lastViewSize_);
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
    // The map stops at its limit while the pointer goes on; it follows again on the way back.
    dragDelta_ = clampedPan(pan_ + translation, zoom_, lastViewSize_) - pan_;
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::dragEnded(QPointF translation) {
    pan_ = clampedPan(pan_ + translation, zoom_, lastViewSize_);
    dragDelta_ = QPointF(0.0, 0.0);
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::clicked(QPointF location) {
    if (const auto pin = savedPinAt(location)) {
        model_->setSelectedCityID(pin->id);
        return;
    }
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

void MapLocationPickerView::panByFraction(double dx, double dy) {
    const QPointF step(dx * lastViewSize_.width(), dy * lastViewSize_.height());
    pan_ = clampedPan(pan_ + step, zoom_, lastViewSize_);
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::zoomAroundCentre(double factor) {
    setZoomState(zoomAround({zoom_, pan_}, factor, std::nullopt, lastViewSize_));
}

void MapLocationPickerView::pickCentre() {
    clicked(QPointF(lastViewSize_.width() * 0.5, lastViewSize_.height() * 0.5));
}

void MapLocationPickerView::focusChanged() {
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::zoomBy(double factor) {
    setZoomState(zoomAround({zoom_, pan_}, factor, lastHoverLocation_, lastViewSize_));
}

void MapLocationPickerView::setZoomState(MapZoomState state) {
    zoom_ = state.zoom;
    // Zooming out near an edge, or around a point beside the map, can uncover the area.
    pan_ = clampedPan(state.pan, state.zoom, lastViewSize_);
    updatePercent();
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::modelPlacesChanged() {
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::updateHover() {
    // Recomputed after zooms, drags and model changes too, so the read-out names what is under
    // the pointer now.
    const MapLayout layout = currentLayout();
    hover_ = lastHoverLocation_ ? geoPointAt(*lastHoverLocation_, layout) : std::nullopt;
    updateCursor();

    // While the keyboard drives the map, the read-out names the centre, which Enter picks.
    std::optional<QPointF> readAt = lastHoverLocation_;
    std::optional<GeoPoint> point = hover_;
    if (mapArea_->keyboardDriven()) {
        readAt = QPointF(lastViewSize_.width() * 0.5, lastViewSize_.height() * 0.5);
        point = geoPointAt(*readAt, layout);
    }
    QStringList lines;
    if (const auto pin = readAt ? savedPinAt(*readAt) : std::nullopt) {
        lines << hoverLabel_->fontMetrics().elidedText(pin->name, Qt::ElideRight, kMaxPinNameWidth);
    }
    if (point) {
        lines << QString::fromStdString(
            showsDayNight() && light_ ? mapHoverText(*point, light_->field) : mapHoverText(*point));
    }
    if (lines.isEmpty()) {
        hoverLabel_->hide();
        return;
    }
    hoverLabel_->setText(lines.join(QLatin1Char('\n')));
    hoverLabel_->adjustSize();
    hoverLabel_->show();
}

bool MapLocationPickerView::showsDayNight() const { return lightSettings_.showsDayNight(); }

void MapLocationPickerView::momentChanged() {
    const std::optional<double> t = EventList::of(*model_).query().t;
    if (!t) {
        light_.reset();
    } else if (!light_ || light_->field.t() != *t) {
        light_.emplace(*t, lightSettings_.thresholds());
    }
    requestOverlay();
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::dayNightToggled(bool shows) {
    dayNightButton_->setChecked(shows);
    // Dropped while hidden: a stale shading must not flash up when it is shown again.
    if (!shows) {
        overlay_.reset();
        requested_.reset();
    }
    requestOverlay();
    mapArea_->update();
    updateHover();
}

void MapLocationPickerView::requestOverlay() {
    if (!showsDayNight() || !light_) return;
    const qreal ratio = mapArea_->devicePixelRatioF();
    DayNightOverlay target;
    target.layout = currentLayout();
    target.pixels = QSize(static_cast<int>(std::ceil(mapArea_->width() * ratio)),
                          static_cast<int>(std::ceil(mapArea_->height() * ratio)));
    target.t = light_->field.t();
    target.pixelRatio = ratio;
    if (target.pixels.isEmpty()) return;
    if (requested_ && sameTarget(*requested_, target)) return;
    requested_ = target;
    const std::lock_guard lock(work_->mutex);
    work_->waiting = OverlayWork::Request{*light_, std::move(target)};
    if (!std::exchange(work_->running, true)) {
        pool_->start([work = work_] { OverlayWork::run(work); });
    }
}

void MapLocationPickerView::takeOverlay() {
    std::optional<DayNightOverlay> done;
    {
        const std::lock_guard lock(work_->mutex);
        done = std::exchange(work_->done, std::nullopt);
    }
    // One switched off meanwhile, or overtaken by a newer one already taken.
    if (!done || !showsDayNight()) return;
    overlay_ = std::move(done);
    mapArea_->update();
}

void MapLocationPickerView::paintDayNight(QPainter& painter, const MapLayout& layout) {
    if (!showsDayNight()) return;
    // Painting is where every change of the layout ends up: a drag, a pinch, a resize.
    requestOverlay();
    if (overlay_) {
        const MapLayout& was = overlay_->layout;
        if (sameLayout(was, layout)) {
            painter.drawImage(QPointF(0.0, 0.0), overlay_->image);
        } else if (!was.displaySize.isEmpty()) {
            // Until the new one arrives, the old shading is stretched with the map, so it
            // stays on the places it was computed for.
            const QRectF target =
                stretchedOverlayRect(was, overlay_->image.deviceIndependentSize(), layout);
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, overlay_->image);
            painter.restore();
        }
    }
    if (light_) paintSkyMarkers(painter, *light_, layout, QSizeF(mapArea_->size()));
}

void MapLocationPickerView::updateCursor() {
    if (mapArea_->dragging()) return;  // the closed hand until the drag ends
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (lastHoverLocation_ && savedPinAt(*lastHoverLocation_)) {
        shape = Qt::PointingHandCursor;
    } else if (hover_) {
        shape = Qt::CrossCursor;
    }
    mapArea_->setCursor(shape);
}

void MapLocationPickerView::updatePercent() {
    const QString text = QString::fromStdString(zoomPercentText(zoom_));
    percentLabel_->setText(text);
    // The name says what the number is; the number itself is read as the description.
    percentLabel_->setAccessibleDescription(text);
}

}  // namespace morvane
