#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <tuple>
#include <variant>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/vec3d.h"
#include "model/event_list.h"
#include "model/light_settings.h"
#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/day_night_layer.h"
#include "ui/map_geometry.h"
#include "ui/map_location_picker.h"
#include "ui/readability.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// The middle of the image in projection space, and how the read-out names it.
const QPointF kImageCentre(2158.0, 1633.0);
const char* const kCentreReadOut = "29.933° N   8.618° E";

// ---- Geometry without widgets ----

TEST(MapGeometry, WestOfTheMeridianPicksAsWestAndPicksRoundHalvesAwayFromZero) {
    // West of the meridian the longitude is stored positive with the west flag.
    const auto point = inverseMapProjection({1000.0, 2000.0});
    ASSERT_TRUE(point);
    EXPECT_EQ(mapHoverText(*point), "22.895° N   15.964° W");
    const PickedLocation west = pickedLocation(*point);
    EXPECT_DOUBLE_EQ(west.latDeg, 22.895);
    EXPECT_DOUBLE_EQ(west.longDeg, 15.964);
    EXPECT_TRUE(west.latNorth);
    EXPECT_TRUE(west.longWest);

    // 1.0625 is exact in binary: a tie that banker's rounding would send down.
    EXPECT_EQ(roundedThousandths(1.0625), 1.063);
    EXPECT_EQ(roundedThousandths(-1.0625), 1.063);
    EXPECT_EQ(roundedThousandths(1.0624), 1.062);
}

TEST(MapGeometry, TheRegionZoomLimitsAndScrollSteps) {
    // Row 65 is the 60th parallel and row 3194 the equator; both belong to the map. The
    // meridians converge: the far west near the top is outside, as is the far east.
    const std::pair<QPointF, bool> points[] = {{{2158.0, 65.0}, true},    {{2158.0, 64.9}, false},
                                               {{2158.0, 3194.0}, true},  {{2158.0, 3194.1}, false},
                                               {{4000.0, 1633.0}, false}, {{50.0, 200.0}, false},
                                               {{3300.0, 1000.0}, true}};
    for (const auto& [p, inside] : points) {
        const auto place = inverseMapProjection(p);
        EXPECT_EQ(place.has_value(), inside) << p.x() << "," << p.y();
        if (place) {
            EXPECT_LT(QLineF(forwardMapProjection(*place), p).length(), 1e-9);
        }
    }

    // Zoom and pinch multiply; pan and drag add after centring.
    const MapLayout moved = mapLayout({1079.0, 816.5}, 2.0, 1.5, {10.0, -4.0}, {1.0, 2.0});
    EXPECT_DOUBLE_EQ(moved.displaySize.width(), 1079.0 * 3.0);
    EXPECT_DOUBLE_EQ(moved.origin.x(), -1079.0 + 11.0);
    EXPECT_DOUBLE_EQ(moved.origin.y(), -816.5 - 2.0);

    // Held at the top limit nothing changes, the pan included; a pinch stops there too.
    const MapZoomState top{12.0, {50.0, 60.0}};
    EXPECT_EQ(zoomAround(top, 1.4, QPointF(10.0, 10.0), {800.0, 500.0}).pan, top.pan);
    EXPECT_EQ(endPinch({10.0, {5.0, 5.0}}, 1.5).zoom, 12.0);
    // Before the area has a size nothing can be anchored.
    EXPECT_EQ(zoomAround({2.0, {5.0, 5.0}}, 1.4, std::nullopt, {0.0, 300.0}).zoom, 2.0);
    EXPECT_EQ(scrollZoomFactor(100.0), 2.0);
    EXPECT_EQ(scrollZoomFactor(-100.0), 0.5);
    // A touchpad's pixels win over the notches.
    EXPECT_EQ(wheelScrollDelta({0, -7}, {0, -120}), -7.0);
}

// ---- Day and night without widgets ----

constexpr double kDegree = kPi / 180.0;

/// The first moment from `from`, in quarter hours, when Nolomar stands overhead within 2° of
/// `longitude` and at a latitude between the two given.
double sunOverhead(double from, double longitude, double minLatitude, double maxLatitude) {
    for (double t = from; t < from + 400.0; t += 1.0 / 96.0) {
        const GroundPoint sun = subSolarPoint(t);
        if (sun.latitude >= minLatitude && sun.latitude <= maxLatitude &&
            std::fabs(wrapPi(sun.longitude - longitude)) < 2.0 * kDegree) {
            return t;
        }
    }
    ADD_FAILURE() << "Nolomar never stood there";
    return from;
}

/// The stage the hover read-out's path finds under a point of the area, through the picture's
/// projection (also beyond the charted region); nothing off the drawn map.
std::optional<TwilightStage> stageUnder(QPointF viewPoint, const MapLayout& layout,
                                        const LightField& light) {
    const auto projected = viewToProjection(viewPoint, layout);
    if (!projected) return std::nullopt;
    const double lat = venarive::latitudeAt(projected->y());
    return light.at(lat, venarive::longitudeAt(projected->x(), lat)).stage;
}

TEST(DayNightLayer, EveryPixelHasItsPlacesStageAndTheLineRunsWhereNolomarCrossesTheHorizon) {
    // Nolomar overhead at 90° E: the line runs down the middle of the map, the twilights west
    // of it; zoomed and panned, with a band of the area beside the map, at two pixel ratios.
    // Then midnight in the northern summer, Nolomar at 160° E: the day and the twilights
    // along the top of the picture are reached only the short way round the globe.
    const double base = dayCount(720, 0, 0, 12.0);
    const double across = sunOverhead(base, kPi / 2.0, -0.4, 0.4);
    const double midnight = sunOverhead(base, 160.0 * kDegree, 18.0 * kDegree, 0.4);
    const struct {
        double t, ratio, zoom;
        QPointF pan;
    } cases[] = {
        {across, 1.0, 1.6, {40.0, 8.0}}, {across, 2.0, 1.6, {40.0, 8.0}}, {midnight, 1.0, 1.0, {}}};
    for (const auto& c : cases) {
        const double ratio = c.ratio;
        const MapLight light(c.t, {});
        const QSizeF area(180.0, 120.0);
        const MapLayout layout = mapLayout(area, c.zoom, 1.0, c.pan, {});
        const QSize pixels((area * ratio).toSize());
        const QImage image = dayNightImage(light, layout, pixels, ratio);
        ASSERT_EQ(image.size(), pixels);
        EXPECT_EQ(image.devicePixelRatio(), ratio);
        const auto dayAt = [&](int px, int py) -> std::optional<bool> {
            if (px < 0 || py < 0) return std::nullopt;
            const auto stage =
                stageUnder({(px + 0.5) / ratio, (py + 0.5) / ratio}, layout, light.field);
            return stage ? std::optional(*stage == TwilightStage::day) : std::nullopt;
        };
        std::set<TwilightStage> seen;
        int lines = 0;
        int offMap = 0;
        for (int py = 0; py < pixels.height(); ++py) {
            for (int px = 0; px < pixels.width(); ++px) {
                const auto stage =
                    stageUnder({(px + 0.5) / ratio, (py + 0.5) / ratio}, layout, light.field);
                const QRgb colour = image.pixel(px, py);
                if (!stage) {
                    ++offMap;
                    ASSERT_EQ(qAlpha(colour), 0) << px << "," << py;
                    continue;
                }
                // About a point wide: a neighbour that far to the left or above lies on the
                // other side.
                bool crossing = false;
                for (int k = 1; k <= int(ratio); ++k) {
                    for (const auto& other : {dayAt(px - k, py), dayAt(px, py - k)})
                        crossing |= other && *other != (*stage == TwilightStage::day);
                }
                seen.insert(*stage);
                lines += crossing;
                ASSERT_EQ(colour, crossing ? dayNightLineColour() : stageShade(*stage))
                    << px << "," << py << " ratio " << ratio;
            }
        }
        EXPECT_GT(offMap, 0);
        EXPECT_GT(lines, 0);
        EXPECT_EQ(seen.size(), 5u);  // day, the three twilights and night
    }
    // Night darkest, day clear.
    for (int i = 0; i < 4; ++i) {
        EXPECT_LT(qAlpha(stageShade(TwilightStage(i))), qAlpha(stageShade(TwilightStage(i + 1))));
    }
    EXPECT_EQ(qAlpha(stageShade(TwilightStage::day)), 0);

    // A loose bound only: the figure that matters is measured in a release-like build.
    QElapsedTimer timer;
    timer.start();
    const QImage large = dayNightImage(
        MapLight(across, {}), mapLayout({1000.0, 750.0}, 1.0, 1.0, {}, {}), QSize(1000, 750), 1.0);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_FALSE(large.isNull());
}

TEST(DayNightLayer, MarkersSitOnTheirPlaceOrOnTheEdgeTowardsItAndTheLevelIsSaid) {
    const MapLayout layout = mapLayout({800.0, 600.0}, 1.0, 1.0, {}, {});
    const QRectF visible = visibleMapRect(layout, {800.0, 600.0}, 10.0);
    const GroundPoint onMap{30.0 * kDegree, 5.0 * kDegree};
    const MarkerPlacement at = markerPlacement(onMap, layout, visible);
    EXPECT_TRUE(at.onMap);
    EXPECT_LT(QLineF(at.at, *viewPointOf({onMap.latitude, onMap.longitude}, layout)).length(),
              1e-9);
    // Far east, and south of the equator below the middle: on the right and bottom edges.
    const MarkerPlacement east =
        markerPlacement({20.0 * kDegree, 150.0 * kDegree}, layout, visible);
    EXPECT_FALSE(east.onMap);
    EXPECT_DOUBLE_EQ(east.at.x(), visible.right());
    const MarkerPlacement south =
        markerPlacement({-40.0 * kDegree, 10.0 * kDegree}, layout, visible);
    EXPECT_DOUBLE_EQ(south.at.y(), visible.bottom());
    EXPECT_GT(south.at.x(), visible.center().x());
    EXPECT_EQ(overheadText({-12.4 * kDegree, -120.6 * kDegree}), "12° S 121° W");

    // A shading of an earlier layout, stretched to the new one, keeps its places.
    const MapLayout zoomed = mapLayout({800.0, 600.0}, 2.3, 1.0, {-50.0, 30.0}, {});
    const QRectF stretched = stretchedOverlayRect(layout, {800.0, 600.0}, zoomed);
    for (const QPointF p : {QPointF(100.0, 80.0), QPointF(700.0, 500.0)}) {
        const QPointF drawn = stretched.topLeft() + QPointF(p.x() * stretched.width() / 800.0,
                                                            p.y() * stretched.height() / 600.0);
        EXPECT_LT(QLineF(drawn, projectionToView(*viewToProjection(p, layout), zoomed)).length(),
                  1e-9);
    }

    // Dim beyond civil twilight is Yael's light, and says so.
    LightSample sample;
    sample.stage = TwilightStage::night;
    sample.level = LightLevel::dim;
    EXPECT_EQ(lightLevelText(sample), "dim (night, moonlit)");
    sample.stage = TwilightStage::civil;
    EXPECT_EQ(lightLevelText(sample), "dim (civil twilight)");
    sample.stage = TwilightStage::astronomical;
    sample.level = LightLevel::dark;
    EXPECT_EQ(lightLevelText(sample), "dark (astronomical twilight)");
}

// ---- The widget, offscreen ----

/// Records whether a wheel event got past the application's filters to the widget.
class WheelProbe final : public QObject {
  public:
    int seen = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Wheel) ++seen;
        return false;
    }
};

class MapPicker : public ::testing::Test {
  protected:
    void SetUp() override {
        // The light settings and the event list on stores of their own, never the user's.
        auto owned = std::make_unique<testing::RecordingStore>();
        lightStore = owned.get();
        LightSettings::attach(*model, std::move(owned));
        EventList::attach(*model, std::make_unique<testing::RecordingStore>());
        picker = std::make_unique<MapLocationPickerView>(model.get());
        picker->resize(900, 700);
        picker->show();
        QApplication::processEvents();
        // Start with the pointer away, whatever the platform made of the cursor at show().
        leave();
        area()->installEventFilter(&probe);
        // Something other than the manual entry, so that a pick has to change it.
        model->setSelectedCityID(model->cities().at(1).id);
        fixture.store->writes.clear();
    }

    QWidget* area() const { return picker->mapArea(); }
    QLabel* hoverLabel() const { return area()->findChild<QLabel*>("hoverLabel"); }
    QString percent() const { return picker->findChild<QLabel*>("zoomPercentLabel")->text(); }
    bool atHome() const { return picker->zoom() == 1.0 && picker->pan() == QPointF(0.0, 0.0); }

    QPointF viewPointOf(QPointF projection) const {
        const MapLayout layout = picker->currentLayout();
        return layout.origin + QPointF(projection.x() * layout.displaySize.width() / 4316.0,
                                       projection.y() * layout.displaySize.height() / 3266.0);
    }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons = Qt::NoButton) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, area()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(area(), &event);
    }
    void click(QPointF at) { drag(at, at); }
    void drag(QPointF from, QPointF to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        if (to != from) mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to);
    }
    void leave() {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(area(), &event);
    }
    /// Whether the wheel event reached the map area (was passed on by the scroll monitor).
    bool wheelPassedOn(Qt::KeyboardModifiers modifiers, QPoint angleDelta) {
        const int before = probe.seen;
        const QPointF at(100.0, 100.0);
        QWheelEvent event(at, area()->mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area(), &event);
        return probe.seen > before;
    }
    void activate() {
        QApplication::setActiveWindow(picker.get());
        ASSERT_TRUE(testing::waitUntil([this] { return picker->isActiveWindow(); }));
    }
    /// A key pressed as the user does: to whatever has the focus.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : picker.get(), key, modifiers);
    }
    void tabIntoMap() {
        for (int i = 0; i < 6 && QApplication::focusWidget() != area(); ++i) key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), area());
    }
    /// The colour of the pixel that contains a point.
    QColor pixelAt(QPointF at) const {
        return area()->grab().toImage().pixelColor(int(std::floor(at.x())),
                                                   int(std::floor(at.y())));
    }
    void pinch(Qt::NativeGestureType type, double value) {
        QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2,
                                  QPointF(50, 50), QPointF(50, 50), QPointF(50, 50), value,
                                  QPointF());
        QApplication::sendEvent(area(), &event);
    }
    /// The middle of the image became the manual location.
    void expectPickedTheImageCentre() const {
        EXPECT_EQ(std::tuple(model->manualLatDeg(), model->latNorth(), model->manualLongDeg(),
                             model->longWest(), model->selectedCityID() == manualCityID()),
                  std::tuple(29.933, true, 8.618, false, true));
    }

    void TearDown() override {
        picker.reset();
        // A calculation's pool thread ends before the test does.
        QThreadPool::globalInstance()->waitForDone();
    }

    /// The shading, once it has caught up with the calculated moment and the current layout.
    const DayNightOverlay& settledOverlay() {
        const auto settled = [this] {
            const DayNightOverlay* overlay = picker->dayNightOverlay();
            const MapLayout now = picker->currentLayout();
            return overlay && picker->mapLight() && overlay->t == picker->mapLight()->field.t() &&
                   overlay->layout.origin == now.origin &&
                   overlay->layout.displaySize == now.displaySize;
        };
        EXPECT_TRUE(testing::waitUntil(settled));
        return *picker->dayNightOverlay();
    }
    /// The shade the overlay lays on the pixel containing a point of the area.
    QRgb shadeAt(QPointF at) {
        const DayNightOverlay& overlay = settledOverlay();
        return overlay.image.pixel(int(std::floor(at.x() * overlay.pixelRatio)),
                                   int(std::floor(at.y() * overlay.pixelRatio)));
    }
    /// Calculates a moment and waits for the picker to take it.
    void calculateAt(double t) {
        ASSERT_TRUE(model->goToMoment(t));
        ASSERT_TRUE(testing::waitUntil([&] {
            return picker->mapLight() && std::fabs(picker->mapLight()->field.t() - t) < 1e-3;
        }));
    }
    void step(qint64 minutes) {
        const double before = picker->mapLight()->field.t();
        ASSERT_TRUE(model->stepMinutes(minutes));
        ASSERT_TRUE(testing::waitUntil([&] {
            return std::fabs(picker->mapLight()->field.t() - before - minutes / 1440.0) < 1e-6;
        }));
    }

    testing::ModelFixture fixture;
    std::unique_ptr<AstronomyModel> model = fixture.makeModel();
    testing::RecordingStore* lightStore = nullptr;
    WheelProbe probe;
    std::unique_ptr<MapLocationPickerView> picker;
};

TEST_F(MapPicker, DrawsTheImageCentredAndAClickAtTheCentreOfAFullMapPicksIt) {
    // The image comes from the resources linked into a static library; if they were dropped
    // the whole area would show the backdrop alone.
    const QPointF middle = viewPointOf(kImageCentre);
    const QColor band = pixelAt({2.0, middle.y()});
    EXPECT_NE(pixelAt(middle), band);
    EXPECT_EQ(pixelAt({area()->width() - 3.0, middle.y()}), band);

    // Make the map area exactly 2158 by 1633: the map fills it at zoom 1.
    picker->resize(2158, 1633 + picker->height() - area()->height());
    QApplication::processEvents();
    ASSERT_EQ(area()->size(), QSize(2158, 1633));
    click({1079.0, 816.5});
    expectPickedTheImageCentre();
}

TEST_F(MapPicker, HoverReadsOutValidPointsTillThePointerLeavesAndClicksOutsideDoNothing) {
    const QPointF centre = viewPointOf(kImageCentre);
    const QPointF outside[] = {
        viewPointOf({2158.0, 40.0}),  // north of the 60th parallel
        viewPointOf({50.0, 200.0}),   // west of 45° W
        {2.0, centre.y()},            // in the band beside the image
    };
    for (const QPointF& at : outside) {
        mouse(QEvent::MouseMove, centre);
        mouse(QEvent::MouseMove, at);
        EXPECT_FALSE(hoverLabel()->isVisible()) << at.x() << "," << at.y();
        click(at);
    }
    EXPECT_TRUE(fixture.store->writes.empty());
    EXPECT_NE(model->selectedCityID(), manualCityID());

    mouse(QEvent::MouseMove, centre);
    EXPECT_EQ(hoverLabel()->text(), kCentreReadOut);
    leave();
    EXPECT_FALSE(hoverLabel()->isVisible());
}

TEST_F(MapPicker, ZoomButtonsAndShortcutsStepToTheLimitAroundThePointerAndBack) {
    auto* zoomIn = picker->findChild<QToolButton*>("zoomInButton");
    QStringList readings;
    for (int i = 0; i < 8; ++i) {
        QTest::mouseClick(zoomIn, Qt::LeftButton);
        readings << percent();
    }
    EXPECT_EQ(readings.join(' '), "140% 195% 274% 384% 537% 752% 1054% 1200%");
    for (int i = 0; i < 8; ++i)
        QTest::mouseClick(picker->findChild<QToolButton*>("zoomOutButton"), Qt::LeftButton);
    EXPECT_TRUE(atHome() && percent() == "100%") << percent().toStdString();  // centred

    // The shortcuts keep the point under the pointer where it is.
    activate();
    mouse(QEvent::MouseMove, viewPointOf({1000.0, 2000.0}));
    const GeoPoint before = *picker->hover();
    for (const Qt::Key k : {Qt::Key_Equal, Qt::Key_Plus, Qt::Key_Minus}) {
        QTest::keyClick(picker.get(), k, Qt::ControlModifier);
        ASSERT_TRUE(picker->hover());
        EXPECT_NEAR(picker->hover()->lat, before.lat, 1e-12);
        EXPECT_NEAR(picker->hover()->lon, before.lon, 1e-12);
    }
    EXPECT_EQ(percent(), "140%");  // up, up, down
    QTest::keyClick(picker.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(atHome());
    picker->zoomIn();
    QTest::mouseClick(picker->findChild<QPushButton*>("resetButton"), Qt::LeftButton);
    EXPECT_TRUE(atHome());
}

TEST_F(MapPicker, ModifiedWheelZoomsAndIsSwallowedWhileShownPlainWheelPassesOn) {
    // Qt turns an Alt-scroll sideways; the monitor must still see a notch up.
    EXPECT_FALSE(wheelPassedOn(Qt::AltModifier, {120, 0}));
    EXPECT_DOUBLE_EQ(picker->zoom(), 1.12);
    EXPECT_FALSE(wheelPassedOn(Qt::ControlModifier, {0, 120}));
    EXPECT_DOUBLE_EQ(picker->zoom(), 1.12 * 1.12);
    EXPECT_TRUE(wheelPassedOn(Qt::NoModifier, {0, 120}));
    EXPECT_DOUBLE_EQ(picker->zoom(), 1.12 * 1.12);

    // Swallowed at the limits too, so nothing behind the map scrolls instead.
    for (int i = 0; i < 8; ++i) picker->zoomIn();
    ASSERT_EQ(picker->zoom(), 12.0);
    EXPECT_FALSE(wheelPassedOn(Qt::AltModifier, {0, 120}));

    // The monitor is installed only while the picker is shown.
    picker->hide();
    EXPECT_TRUE(wheelPassedOn(Qt::AltModifier, {0, -120}));
    EXPECT_EQ(picker->zoom(), 12.0);
    picker->show();
    QApplication::processEvents();
    EXPECT_FALSE(wheelPassedOn(Qt::AltModifier, {0, -120}));
    EXPECT_LT(picker->zoom(), 12.0);
}

TEST_F(MapPicker, DragPansWithoutPickingStopsBeforeTheMapLeavesTheViewShortMovesClick) {
    const QPointF centre(area()->width() * 0.5, area()->height() * 0.5);
    picker->zoomIn();
    const QPointF panned = picker->pan();
    mouse(QEvent::MouseButtonPress, centre, Qt::LeftButton);
    mouse(QEvent::MouseMove, centre + QPointF(30.0, 20.0), Qt::LeftButton);
    EXPECT_EQ(picker->dragDelta(), QPointF(30.0, 20.0));
    EXPECT_EQ(picker->pan(), panned);
    mouse(QEvent::MouseButtonRelease, centre + QPointF(40.0, 25.0));
    EXPECT_EQ(picker->pan(), panned + QPointF(40.0, 25.0));
    EXPECT_TRUE(fixture.store->writes.empty());
    drag(centre, centre + QPointF(3.0, 3.0));  // under the 5-point threshold: a click
    EXPECT_EQ(model->selectedCityID(), manualCityID());

    // Zoomed in, no band beside the map grows wider than the one at zoom 1.
    const MapLayout zoomOne = mapLayout(QSizeF(area()->size()), 1.0, 1.0, {}, {});
    const QRectF whole(zoomOne.origin, zoomOne.displaySize);
    const auto coversView = [&] {
        const MapLayout now = picker->currentLayout();
        return QRectF(now.origin, now.displaySize)
            .adjusted(-1e-9, -1e-9, 1e-9, 1e-9)
            .contains(whole);
    };
    picker->zoomIn();
    for (const QPointF by : {QPointF(5000.0, 4000.0), QPointF(-9000.0, -7000.0)}) {
        mouse(QEvent::MouseButtonPress, centre, Qt::LeftButton);
        mouse(QEvent::MouseMove, centre + by, Qt::LeftButton);
        EXPECT_TRUE(coversView());  // held back while the drag goes on, not only at its end
        mouse(QEvent::MouseButtonRelease, centre + by);
        EXPECT_TRUE(coversView());
    }
    // Zooming out around the pointer, which the drag left far outside, is held back too.
    picker->zoomOut();
    EXPECT_TRUE(coversView());
}

TEST_F(MapPicker, PinsMarkTheCurrentPlaceAndEverySavedOneAndFollowTheView) {
    // Pins are opaque: a saved place's dot has its colour at the place, the current place's
    // drop pin in its head, which stands 14 points above the place.
    const QColor current(206, 32, 57), saved(30, 45, 80);
    const auto head = [](QPointF place) { return place - QPointF(0.0, 14.0); };
    const auto pinAt = [this](const QUuid& id) {
        const auto pins = picker->savedPlacePins();
        const auto pin = std::ranges::find(pins, id, &MapPin::id);
        return pin == pins.end() ? (ADD_FAILURE() << "no pin", QPointF()) : pin->at;
    };
    const QUuid first = model->selectedCityID();
    // Every built-in place lies on the map; the manual entry has no pin of its own.
    EXPECT_EQ(picker->savedPlacePins().size(), size_t(model->cities().size() - 1));
    EXPECT_EQ(pixelAt(head(pinAt(first))), current);
    const QUuid other = model->cities().at(5).id;
    const QPointF otherAt = pinAt(other);
    EXPECT_EQ(pixelAt(otherAt), saved);
    model->setSelectedCityID(other);
    EXPECT_EQ(pixelAt(head(otherAt)), current);

    // Zoomed and dragged, the pins stay on their places of the map.
    picker->zoomIn();
    drag({300.0, 300.0}, {340.0, 320.0});
    const QPointF moved = pinAt(other);
    EXPECT_NEAR(viewToProjection(moved, picker->currentLayout())->x(),
                forwardMapProjection({model->latitude(), model->longitude()}).x(), 1e-9);
    EXPECT_EQ(pixelAt(head(moved)), current);

    // The manual fields move the current pin; a place south of the equator has none.
    model->setSelectedCityID(manualCityID());
    model->setManualLatDeg(29.933);
    model->setManualLongDeg(8.618);
    model->setLongWest(false);
    const QPointF centre = viewPointOf(kImageCentre);
    EXPECT_NEAR(picker->currentPlacePin()->x(), centre.x(), 0.01);
    model->setLatNorth(false);
    EXPECT_FALSE(picker->currentPlacePin());

    // A newly saved place gets a pin at once, named under a resting pointer; one beyond the
    // map's region gets none.
    const size_t before = picker->savedPlacePins().size();
    model->setLatNorth(true);
    mouse(QEvent::MouseMove, centre);
    ASSERT_TRUE(std::holds_alternative<QUuid>(model->saveLocation(QStringLiteral("Centre"))));
    EXPECT_EQ(hoverLabel()->text(), QStringLiteral("Centre\n") + kCentreReadOut);
    model->setManualLatDeg(75.0);
    ASSERT_TRUE(std::holds_alternative<QUuid>(model->saveLocation(QStringLiteral("Far north"))));
    EXPECT_EQ(picker->savedPlacePins().size(), before + 1);
}

TEST_F(MapPicker, ClickOnASavedPinSelectsItsPlaceAndTheCursorShowsWhatAClickDoes) {
    const MapPin pin = picker->savedPlacePins().at(3);
    const QPointF near = pin.at + QPointF(3.0, -2.0);
    mouse(QEvent::MouseMove, near);
    EXPECT_EQ(area()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_THAT(hoverLabel()->text().toStdString(), StartsWith((pin.name + "\n").toStdString()));
    const double latBefore = model->manualLatDeg();
    click(near);
    EXPECT_EQ(model->selectedCityID(), pin.id);
    EXPECT_EQ(model->manualLatDeg(), latBefore);

    // Beyond the pin's reach a click picks a point as anywhere else.
    const QPointF beyond = pin.at + QPointF(15.0, 0.0);
    mouse(QEvent::MouseMove, beyond);
    EXPECT_EQ(area()->cursor().shape(), Qt::CrossCursor);
    EXPECT_THAT(hoverLabel()->text().toStdString(), Not(HasSubstr(pin.name.toStdString())));
    click(beyond);
    EXPECT_EQ(model->selectedCityID(), manualCityID());
}

TEST_F(MapPicker, KeyboardPansZoomsAndPicksTheCentre) {
    activate();
    tabIntoMap();
    for (const Qt::Key k : {Qt::Key_Plus, Qt::Key_Equal, Qt::Key_Minus}) key(k);
    EXPECT_EQ(percent(), "140%");  // up, up, down, around the centre: the map stays centred
    EXPECT_NEAR(picker->pan().manhattanLength(), 0.0, 1e-9);

    key(Qt::Key_Left);
    EXPECT_NEAR(picker->pan().x(), area()->width() * 0.1, 1e-9);
    key(Qt::Key_Up);
    EXPECT_NEAR(picker->pan().y(), area()->height() * 0.1, 1e-9);
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    // Arrows with Alt or Ctrl are the window's.
    key(Qt::Key_Left, Qt::AltModifier);
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_NEAR(picker->pan().manhattanLength(), 0.0, 1e-9);
    key(Qt::Key_0);
    EXPECT_TRUE(atHome());
    EXPECT_TRUE(fixture.store->writes.empty());

    // The read-out names the centre, which Enter picks as a click there would. A window's
    // own Enter shortcut does not take the key from the map.
    int windowEnter = 0;
    QShortcut shortcut(QKeySequence(Qt::Key_Return), picker.get());
    QObject::connect(&shortcut, &QShortcut::activated, [&windowEnter] { ++windowEnter; });
    EXPECT_EQ(hoverLabel()->text(), kCentreReadOut);
    key(Qt::Key_Return);
    EXPECT_EQ(windowEnter, 0);
    expectPickedTheImageCentre();
}

TEST_F(MapPicker, ControlsAreNamedAndTheHintAndFocusFrameShowHowToUseTheMap) {
    // Scrolling without Ctrl scrolls the page, so the hint has to say so.
    EXPECT_THAT(picker->findChild<QLabel*>("mapHint")->text().toStdString(),
                HasSubstr("Ctrl-scroll to zoom"));
    testing::expectControlsNamed(*picker);
    EXPECT_THAT(testing::accessibleText(area(), QAccessible::Description).toStdString(),
                HasSubstr("Enter"));
    picker->zoomIn();  // the zoom level reads its value
    EXPECT_EQ(testing::accessibleText(picker->findChild<QLabel*>("zoomPercentLabel"),
                                      QAccessible::Description),
              "140%");

    // Tab reaches the map, which then shows its focus frame in the highlight colour.
    activate();
    picker->findChild<QPushButton*>("resetButton")->setFocus(Qt::OtherFocusReason);
    tabIntoMap();
    EXPECT_EQ(pixelAt({1.0, area()->height() / 2.0}), area()->palette().color(QPalette::Highlight));
}

TEST_F(MapPicker, PinchScalesLiveAndSetsTheZoomWhenItEnds) {
    pinch(Qt::BeginNativeGesture, 0.0);
    pinch(Qt::ZoomNativeGesture, 0.005);
    EXPECT_EQ(picker->pinchDelta(), 1.0);  // below the smallest change a pinch reports
    pinch(Qt::ZoomNativeGesture, 0.5);
    EXPECT_DOUBLE_EQ(picker->pinchDelta(), 1.505);
    pinch(Qt::EndNativeGesture, 0.0);
    EXPECT_DOUBLE_EQ(picker->zoom(), 1.505);
    EXPECT_EQ(picker->pinchDelta(), 1.0);

    pinch(Qt::BeginNativeGesture, 0.0);
    pinch(Qt::ZoomNativeGesture, -0.9);
    pinch(Qt::EndNativeGesture, 0.0);
    EXPECT_EQ(picker->zoom(), 1.0);
}

TEST_F(MapPicker, DayAndNightFollowTheMomentTheToggleIsRememberedAndTheReadOutNamesTheLight) {
    auto* toggle = picker->findChild<QToolButton*>("dayNightButton");
    ASSERT_FALSE(toggle->isChecked());
    // Nolomar overhead in the middle of the map.
    const double noon = sunOverhead(dayCount(720, 0, 0, 12.0), 0.0, 10.0 * kDegree, 25.0 * kDegree);
    calculateAt(noon);
    EXPECT_EQ(picker->dayNightOverlay(), nullptr);  // off: nothing computed
    const QPointF centre = viewPointOf(kImageCentre);
    const QColor plain = pixelAt(centre);

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(lightStore->values.at("Light/mapDayNight"), QVariant(true));
    const MapLight light = *picker->mapLight();
    const QPointF overhead =
        *morvane::viewPointOf({light.sun.latitude, light.sun.longitude}, picker->currentLayout());
    EXPECT_EQ(qAlpha(shadeAt(overhead)), 0);
    // The read-out names the light under the pointer from the same moment.
    mouse(QEvent::MouseMove, centre);
    const GeoPoint under = *picker->hover();
    EXPECT_EQ(hoverLabel()->text().toStdString(),
              std::string(kCentreReadOut) + "   " +
                  lightLevelText(lightAt(light.field.t(), under.lat, under.lon)));

    // Stepping through time: half a day on, the place Nolomar stood over lies in night, and
    // the map is drawn darker there.
    step(720);
    const LightSample night =
        lightAt(picker->mapLight()->field.t(), light.sun.latitude, light.sun.longitude);
    ASSERT_EQ(night.stage, TwilightStage::night);
    EXPECT_EQ(shadeAt(overhead), stageShade(TwilightStage::night));
    EXPECT_LT(pixelAt(centre).lightness(), plain.lightness());
    // The moonlight thresholds decide whether Yael makes that night dim.
    LightSettings::of(*model).setThresholds({kPi / 2.0, 1.0});
    EXPECT_THAT(hoverLabel()->text().toStdString(), HasSubstr("dark (night)"));
    LightSettings::of(*model).setThresholds({-kPi / 2.0, 0.0});
    EXPECT_THAT(hoverLabel()->text().toStdString(), HasSubstr("dim (night, moonlit)"));

    // Six hours back the line crosses the map. Zoomed and dragged, each pixel still carries
    // the stage of the place the read-out finds under it.
    step(-360);
    picker->zoomIn();
    drag({300.0, 300.0}, {260.0, 340.0});
    const DayNightOverlay& overlay = settledOverlay();
    const LightField& now = picker->mapLight()->field;
    std::set<TwilightStage> seen;
    for (int y = 5; y < area()->height(); y += 23) {
        for (int x = 5; x < area()->width(); x += 19) {
            const QPointF at(x + 0.5, y + 0.5);
            const auto place = geoPointAt(at, overlay.layout);
            if (!place) continue;
            const TwilightStage stage =
                twilightStage(lightAt(now.t(), place->lat, place->lon).sunAltitude);
            const QRgb shade = shadeAt(at);
            if (shade == dayNightLineColour()) continue;
            seen.insert(stage);
            EXPECT_EQ(shade, stageShade(stage)) << x << "," << y;
        }
    }
    EXPECT_GE(seen.size(), 3u);

    // Off again: no shading, the plain read-out; remembered by a model made afresh.
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(picker->dayNightOverlay(), nullptr);
    mouse(QEvent::MouseMove, viewPointOf(kImageCentre));
    EXPECT_EQ(hoverLabel()->text(), kCentreReadOut);
    // A shading that arrives after the toggle went off is dropped.
    LightSettings::of(*model).setShowsDayNight(true);
    LightSettings::of(*model).setShowsDayNight(false);
    QTest::qWait(100);
    EXPECT_EQ(picker->dayNightOverlay(), nullptr);
    activate();
    key(Qt::Key_N, Qt::AltModifier);  // the mnemonic clicks, animated
    EXPECT_TRUE(testing::waitUntil([toggle] { return toggle->isChecked(); }));
    testing::ModelFixture other;
    const std::unique_ptr<AstronomyModel> next = other.makeModel();
    auto copy = std::make_unique<testing::RecordingStore>();
    copy->values = lightStore->values;
    LightSettings::attach(*next, std::move(copy));
    EventList::attach(*next, std::make_unique<testing::RecordingStore>());
    const MapLocationPickerView reopened(next.get());
    EXPECT_TRUE(reopened.findChild<QToolButton*>("dayNightButton")->isChecked());
}

}  // namespace
}  // namespace morvane
