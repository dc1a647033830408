#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <variant>

#include "model/model_fixture.h"
#include "support/qt_wait.h"
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

    testing::ModelFixture fixture;
    std::unique_ptr<AstronomyModel> model = fixture.makeModel();
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

}  // namespace
}  // namespace morvane
