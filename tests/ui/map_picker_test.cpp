#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <memory>

#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/map_geometry.h"
#include "ui/map_location_picker.h"

namespace morvane {
namespace {

// The middle of the image in projection space: about 29.93° N, 8.62° E.
const QPointF kImageCentre(2158.0, 1633.0);

// ---- Geometry without widgets ----

TEST(MapGeometry, KnownPointsReadAndPickAsNorthAndEastOrWest) {
    const auto centre = inverseMapProjection(kImageCentre);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(centre->lat, 0.52243, 1e-5);
    EXPECT_NEAR(centre->lon, 0.15041, 1e-5);
    EXPECT_EQ(mapHoverText(*centre), "29.933° N   8.618° E");
    const PickedLocation east = pickedLocation(*centre);
    EXPECT_DOUBLE_EQ(east.latDeg, 29.933);
    EXPECT_DOUBLE_EQ(east.longDeg, 8.618);
    EXPECT_TRUE(east.latNorth);
    EXPECT_FALSE(east.longWest);

    // West of the meridian the longitude is stored positive with the west flag.
    const auto point = inverseMapProjection({1000.0, 2000.0});
    ASSERT_TRUE(point);
    EXPECT_EQ(mapHoverText(*point), "22.895° N   15.964° W");
    const PickedLocation west = pickedLocation(*point);
    EXPECT_DOUBLE_EQ(west.longDeg, 15.964);
    EXPECT_TRUE(west.longWest);
}

TEST(MapGeometry, ValidRegionIsBoundedByTheSixtiethParallelTheEquatorAndFortyFiveDegrees) {
    // Row 65 is the 60th parallel and row 3194 the equator; both belong to the map.
    EXPECT_TRUE(inverseMapProjection({2158.0, 65.0}));
    EXPECT_FALSE(inverseMapProjection({2158.0, 64.9}));
    ASSERT_TRUE(inverseMapProjection({2158.0, 3194.0}));
    EXPECT_EQ(inverseMapProjection({2158.0, 3194.0})->lat, 0.0);
    EXPECT_FALSE(inverseMapProjection({2158.0, 3194.1}));
    // Far east at mid latitudes, far west near the top (the meridians converge).
    EXPECT_FALSE(inverseMapProjection({4000.0, 1633.0}));
    EXPECT_FALSE(inverseMapProjection({50.0, 200.0}));
    EXPECT_TRUE(inverseMapProjection({3300.0, 1000.0}));  // 39.5° E still inside
}

TEST(MapGeometry, PickRoundsHalvesAwayFromZero) {
    // 1.0625 is exact in binary: a tie that banker's rounding would send down.
    EXPECT_EQ(roundedThousandths(1.0625), 1.063);
    EXPECT_EQ(roundedThousandths(-1.0625), 1.063);
    EXPECT_EQ(roundedThousandths(1.0624), 1.062);
}

TEST(MapGeometry, LayoutFillsAnAreaOfTheImageAspectAndCentresInOthers) {
    const MapLayout exact = mapLayout({1079.0, 816.5}, 1.0, 1.0, {}, {});
    EXPECT_EQ(exact.origin, QPointF(0.0, 0.0));
    EXPECT_DOUBLE_EQ(exact.displaySize.width(), 1079.0);
    EXPECT_DOUBLE_EQ(exact.displaySize.height(), 816.5);

    // Too wide: full height, equal bands left and right. Too tall: full width.
    const MapLayout wide = mapLayout({1000.0, 400.0}, 1.0, 1.0, {}, {});
    EXPECT_DOUBLE_EQ(wide.displaySize.height(), 400.0);
    EXPECT_NEAR(wide.origin.x() * 2.0 + wide.displaySize.width(), 1000.0, 1e-9);
    EXPECT_DOUBLE_EQ(mapLayout({400.0, 1000.0}, 1.0, 1.0, {}, {}).displaySize.width(), 400.0);

    // Zoom and pinch multiply; pan and drag add after centring.
    const MapLayout moved = mapLayout({1079.0, 816.5}, 2.0, 1.5, {10.0, -4.0}, {1.0, 2.0});
    EXPECT_DOUBLE_EQ(moved.displaySize.width(), 1079.0 * 3.0);
    EXPECT_DOUBLE_EQ(moved.origin.x(), -1079.0 + 11.0);
    EXPECT_DOUBLE_EQ(moved.origin.y(), -816.5 - 2.0);
}

TEST(MapGeometry, ViewPointsMapOntoProjectionSpaceOnlyInsideTheDrawnMap) {
    const MapLayout layout{{20.0, 0.0}, {400.0, 300.0}};
    EXPECT_EQ(*viewToProjection({20.0, 0.0}, layout), QPointF(0.0, 0.0));
    EXPECT_EQ(*viewToProjection({420.0, 300.0}, layout), QPointF(4316.0, 3266.0));
    EXPECT_FALSE(viewToProjection({19.9, 10.0}, layout));
    EXPECT_FALSE(viewToProjection({420.1, 10.0}, layout));
    EXPECT_FALSE(viewToProjection({100.0, 300.1}, layout));
}

TEST(MapGeometry, ZoomAroundAnAnchorKeepsTheMapPointUnderIt) {
    const QSizeF area(800.0, 500.0);
    const MapZoomState before{2.0, {30.0, -20.0}};
    const auto under = [&area](MapZoomState s, QPointF at) {
        return *viewToProjection(at, mapLayout(area, s.zoom, 1.0, s.pan, {}));
    };
    for (const QPointF anchor : {QPointF(600.0, 100.0), QPointF(400.0, 250.0)}) {
        for (const double factor : {1.4, 1.0 / 1.4, 1.12}) {
            const MapZoomState after = zoomAround(before, factor, anchor, area);
            EXPECT_DOUBLE_EQ(after.zoom, 2.0 * factor);
            const QPointF a = under(before, anchor), b = under(after, anchor);
            EXPECT_NEAR(a.x(), b.x(), 1e-9) << factor;
            EXPECT_NEAR(a.y(), b.y(), 1e-9) << factor;
        }
    }
    // No anchor: the centre of the area.
    const MapZoomState centred = zoomAround(before, 1.4, std::nullopt, area);
    EXPECT_NEAR(under(before, {400.0, 250.0}).x(), under(centred, {400.0, 250.0}).x(), 1e-9);
}

TEST(MapGeometry, ZoomStopsAtItsLimitsAndRecentresAtTheSmallest) {
    const QSizeF area(800.0, 500.0);
    const MapZoomState top{12.0, {50.0, 60.0}};
    const MapZoomState held = zoomAround(top, 1.4, QPointF(10.0, 10.0), area);
    EXPECT_EQ(held.zoom, 12.0);
    EXPECT_EQ(held.pan, top.pan);  // no change at all, the pan included
    EXPECT_EQ(zoomAround({10.0, {}}, 1.4, std::nullopt, area).zoom, 12.0);

    const MapZoomState bottom = zoomAround({1.2, {50.0, 60.0}}, 0.5, QPointF(10.0, 10.0), area);
    EXPECT_EQ(bottom.zoom, 1.0);
    EXPECT_EQ(bottom.pan, QPointF(0.0, 0.0));

    // Before the area has a size nothing can be anchored.
    EXPECT_EQ(zoomAround({2.0, {5.0, 5.0}}, 1.4, std::nullopt, {0.0, 300.0}).zoom, 2.0);

    const MapZoomState pinched = endPinch({10.0, {5.0, 5.0}}, 1.5);
    EXPECT_EQ(pinched.zoom, 12.0);
    EXPECT_EQ(pinched.pan, QPointF(5.0, 5.0));  // a pinch scales about the map's centre
}

TEST(MapGeometry, ScrollFactorIsLimitedAndTakesTheLargerAxis) {
    EXPECT_EQ(scrollZoomFactor(100.0), 2.0);
    EXPECT_EQ(scrollZoomFactor(-100.0), 0.5);

    // A notch is three lines whichever way the window system turned it; a touchpad's pixels win.
    EXPECT_EQ(wheelScrollDelta({}, {0, 120}), 3.0);
    EXPECT_EQ(wheelScrollDelta({}, {-240, 10}), -6.0);
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
        ASSERT_TRUE(picker->isVisible());
        // Start with the pointer away, whatever the platform made of the cursor at show().
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(area(), &leave);
        area()->installEventFilter(&probe);
        // Something other than the manual entry, so that a pick has to change it.
        model->setSelectedCityID(model->cities().at(1).id);
        fixture.store->writes.clear();
    }

    QWidget* area() const { return picker->mapArea(); }
    QLabel* hoverLabel() const { return area()->findChild<QLabel*>("hoverLabel"); }
    QString percent() const { return picker->findChild<QLabel*>("zoomPercentLabel")->text(); }

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
    void click(QPointF at) {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at);
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
    void pinch(Qt::NativeGestureType type, double value) {
        QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2,
                                  QPointF(50, 50), QPointF(50, 50), QPointF(50, 50), value,
                                  QPointF());
        QApplication::sendEvent(area(), &event);
    }

    testing::ModelFixture fixture;
    std::unique_ptr<AstronomyModel> model = fixture.makeModel();
    WheelProbe probe;
    std::unique_ptr<MapLocationPickerView> picker;
};

TEST_F(MapPicker, ClickAtTheCentreOfAFullMapPicksItAsTheManualLocation) {
    // Make the map area exactly 2158 by 1633: the map fills it at zoom 1.
    const int controls = picker->height() - area()->height();
    picker->resize(2158, 1633 + controls);
    QApplication::processEvents();
    ASSERT_EQ(area()->size(), QSize(2158, 1633));
    EXPECT_EQ(picker->currentLayout().origin, QPointF(0.0, 0.0));
    EXPECT_EQ(picker->currentLayout().displaySize, QSizeF(2158.0, 1633.0));

    click({1079.0, 816.5});
    EXPECT_DOUBLE_EQ(model->manualLatDeg(), 29.933);
    EXPECT_TRUE(model->latNorth());
    EXPECT_DOUBLE_EQ(model->manualLongDeg(), 8.618);
    EXPECT_FALSE(model->longWest());
    EXPECT_EQ(model->selectedCityID(), manualCityID());
}

TEST_F(MapPicker, DrawsTheMapImageCentredOnTheBackdrop) {
    // The image comes from the resources linked into a static library; if they were dropped
    // the whole area would show the backdrop alone.
    const QImage shot = area()->grab().toImage();
    const QPointF centre = viewPointOf(kImageCentre);
    const QColor band = shot.pixelColor(2, int(centre.y()));
    EXPECT_NE(shot.pixelColor(centre.toPoint()), band);
    EXPECT_EQ(shot.pixelColor(area()->width() - 3, int(centre.y())), band);
}

TEST_F(MapPicker, ClicksAndHoverOutsideTheValidRegionDoNothing) {
    const QPointF centre = viewPointOf(kImageCentre);
    const QPointF outside[] = {
        viewPointOf({2158.0, 40.0}),    // north of the 60th parallel
        viewPointOf({2158.0, 3230.0}),  // south of the equator
        viewPointOf({4100.0, 1633.0}),  // east of 45° E
        viewPointOf({50.0, 200.0}),     // west of 45° W
        {2.0, centre.y()},              // in the band beside the image
    };
    for (const QPointF& at : outside) {
        mouse(QEvent::MouseMove, at);
        EXPECT_FALSE(hoverLabel()->isVisible()) << at.x() << "," << at.y();
        click(at);
    }
    EXPECT_TRUE(fixture.store->writes.empty());
    EXPECT_NE(model->selectedCityID(), manualCityID());
}

TEST_F(MapPicker, HoverReadsOutThePointUnderThePointerUntilItLeaves) {
    mouse(QEvent::MouseMove, viewPointOf(kImageCentre));
    ASSERT_TRUE(hoverLabel()->isVisible());
    EXPECT_EQ(hoverLabel()->text(), "29.933° N   8.618° E");
    EXPECT_EQ(hoverLabel()->pos(), QPoint(10, 10));
    EXPECT_TRUE(hoverLabel()->testAttribute(Qt::WA_TransparentForMouseEvents));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(area(), &leave);
    EXPECT_FALSE(hoverLabel()->isVisible());
    EXPECT_FALSE(picker->lastHoverLocation());
}

TEST_F(MapPicker, ZoomButtonsStepByFourTenthsUpToTheLimitAndBackToCentred) {
    auto* zoomIn = picker->findChild<QToolButton*>("zoomInButton");
    auto* zoomOut = picker->findChild<QToolButton*>("zoomOutButton");
    EXPECT_EQ(percent(), "100%");
    QStringList readings;
    for (int i = 0; i < 8; ++i) {
        QTest::mouseClick(zoomIn, Qt::LeftButton);
        readings << percent();
    }
    EXPECT_EQ(readings.join(' '), "140% 195% 274% 384% 537% 752% 1054% 1200%");
    for (int i = 0; i < 7; ++i) QTest::mouseClick(zoomOut, Qt::LeftButton);
    EXPECT_GT(picker->zoom(), 1.0);  // the eighth step is the one held at the limit
    QTest::mouseClick(zoomOut, Qt::LeftButton);
    EXPECT_EQ(picker->zoom(), 1.0);
    EXPECT_EQ(picker->pan(), QPointF(0.0, 0.0));
    EXPECT_EQ(percent(), "100%");
}

TEST_F(MapPicker, ZoomKeepsThePointUnderThePointerAndResetRecentres) {
    mouse(QEvent::MouseMove, viewPointOf({1000.0, 2000.0}));
    const GeoPoint before = *picker->hover();
    picker->zoomIn();
    picker->zoomIn();
    EXPECT_NE(picker->pan(), QPointF(0.0, 0.0));
    ASSERT_TRUE(picker->hover());
    EXPECT_NEAR(picker->hover()->lat, before.lat, 1e-12);
    EXPECT_NEAR(picker->hover()->lon, before.lon, 1e-12);

    QTest::mouseClick(picker->findChild<QPushButton*>("resetButton"), Qt::LeftButton);
    EXPECT_EQ(picker->zoom(), 1.0);
    EXPECT_EQ(picker->pan(), QPointF(0.0, 0.0));
    EXPECT_EQ(percent(), "100%");
}

TEST_F(MapPicker, KeyboardShortcutsZoomAndReset) {
    QApplication::setActiveWindow(picker.get());
    ASSERT_TRUE(testing::waitUntil([this] { return picker->isActiveWindow(); }));
    QTest::keyClick(picker.get(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(percent(), "140%");
    QTest::keyClick(picker.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(percent(), "195%");
    QTest::keyClick(picker.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(percent(), "140%");
    QTest::keyClick(picker.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(percent(), "100%");
}

TEST_F(MapPicker, ModifiedWheelIsSwallowedAndZoomsPlainWheelPassesOn) {
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
    EXPECT_EQ(picker->zoom(), 12.0);
}

TEST_F(MapPicker, ScrollMonitorIsInstalledOnlyWhileShown) {
    EXPECT_TRUE(picker->hasScrollMonitor());
    picker->hide();
    EXPECT_FALSE(picker->hasScrollMonitor());
    EXPECT_TRUE(wheelPassedOn(Qt::AltModifier, {0, 120}));
    EXPECT_EQ(picker->zoom(), 1.0);

    picker->show();
    QApplication::processEvents();
    EXPECT_FALSE(wheelPassedOn(Qt::AltModifier, {0, 120}));
    EXPECT_GT(picker->zoom(), 1.0);
}

TEST_F(MapPicker, DragPansWithoutPickingAndShortMovesStillClick) {
    const QPointF start = viewPointOf(kImageCentre);
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + QPointF(3.0, 2.0), Qt::LeftButton);
    EXPECT_EQ(picker->dragDelta(), QPointF(0.0, 0.0));  // under the 5-point threshold
    mouse(QEvent::MouseMove, start + QPointF(30.0, 20.0), Qt::LeftButton);
    EXPECT_EQ(picker->dragDelta(), QPointF(30.0, 20.0));
    EXPECT_EQ(picker->pan(), QPointF(0.0, 0.0));
    mouse(QEvent::MouseButtonRelease, start + QPointF(40.0, 25.0));
    EXPECT_EQ(picker->pan(), QPointF(40.0, 25.0));
    EXPECT_EQ(picker->dragDelta(), QPointF(0.0, 0.0));
    EXPECT_TRUE(fixture.store->writes.empty());

    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + QPointF(3.0, 3.0), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, start + QPointF(3.0, 3.0));
    EXPECT_EQ(model->selectedCityID(), manualCityID());
}

TEST_F(MapPicker, PinchScalesLiveAndSetsTheZoomWhenItEnds) {
    pinch(Qt::BeginNativeGesture, 0.0);
    pinch(Qt::ZoomNativeGesture, 0.005);
    EXPECT_EQ(picker->pinchDelta(), 1.0);  // below the smallest change a pinch reports
    pinch(Qt::ZoomNativeGesture, 0.5);
    EXPECT_DOUBLE_EQ(picker->pinchDelta(), 1.505);
    EXPECT_EQ(percent(), "100%");  // the read-out follows the zoom, not the pinch
    pinch(Qt::EndNativeGesture, 0.0);
    EXPECT_DOUBLE_EQ(picker->zoom(), 1.505);
    EXPECT_EQ(picker->pinchDelta(), 1.0);
    EXPECT_EQ(percent(), "150%");

    pinch(Qt::BeginNativeGesture, 0.0);
    pinch(Qt::ZoomNativeGesture, -0.9);
    pinch(Qt::EndNativeGesture, 0.0);
    EXPECT_EQ(picker->zoom(), 1.0);
}

}  // namespace
}  // namespace morvane
