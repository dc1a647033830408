#include "ui/output_views.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>
#include <stdexcept>

#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/detailed_view.h"
#include "ui/map_location_picker.h"
#include "ui/readability.h"
#include "ui/ui_window.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

using testing::accessibleText;
using testing::ApplicationPalette;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testing::waitUntil;

// Chooses a tab and returns its view; fails the test when the tab shows another kind of view.
template <typename View>
View& chooseTab(DetailedView& detail, OutputTab tab) {
    detail.setTab(tab);
    auto* view = qobject_cast<View*>(detail.currentView());
    if (view == nullptr) throw std::logic_error("the tab shows another kind of view");
    return *view;
}

TEST(TablesView, NextMoonCaptionsKeepTheLayoutSpacingFromTheirValues) {
    TablesView view;
    view.resize(600, 400);
    view.setTables({}, {}, QStringLiteral("720-01-16 02:14 OST"), {});
    view.show();
    QCoreApplication::processEvents();
    const int spacing =
        view.style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, &view);
    ASSERT_GT(spacing, 0);  // the style of the tests has one
    for (QLabel* value : {view.nextFullMoonLabel(), view.nextNewMoonLabel()}) {
        QLabel* caption = nullptr;
        for (QLabel* label : view.findChildren<QLabel*>()) {
            if (label->geometry().top() == value->geometry().top() && label->text().endsWith(':')) {
                caption = label;
            }
        }
        ASSERT_NE(caption, nullptr) << value->text().toStdString();
        EXPECT_GE(value->geometry().left() - caption->geometry().right() - 1, spacing)
            << caption->text().toStdString();
    }
}

TEST(SegmentedChoice, TheChosenSegmentStandsOutInLightAndDarkPalettes) {
    for (const QPalette& palette : {testing::lightPalette(), testing::darkPalette()}) {
        ApplicationPalette scope(palette);
        SegmentedChoice choice(QStringLiteral("Hourly"), QStringLiteral("Monthly"));
        choice.show();
        for (bool first : {true, false}) {
            choice.setFirst(first);
            QPushButton* on = first ? choice.firstButton() : choice.secondButton();
            QPushButton* off = first ? choice.secondButton() : choice.firstButton();
            EXPECT_TRUE(on->font().bold());
            EXPECT_FALSE(off->font().bold());
            // The chosen face is the highlight's hue, clearly apart from the plain one.
            const QColor onFill = on->palette().color(QPalette::Button);
            EXPECT_NEAR(onFill.hslHue(), palette.color(QPalette::Highlight).hslHue(), 3);
            EXPECT_GE(contrastRatio(onFill, off->palette().color(QPalette::Button)), 1.5);
            // And that is what is painted: a pixel of the face inside the border.
            const QImage image = on->grab().toImage();
            const int inside = static_cast<int>(2 * image.devicePixelRatio());
            EXPECT_EQ(image.pixelColor(image.width() / 2, inside).rgb(), onFill.rgb());
        }
    }
}

TEST(SegmentedChoice, OneTabStopArrowKeysChooseAndNamesForAssistiveTechnology) {
    QWidget window;  // the focus chain follows the order the children are made in
    auto* before = new QLineEdit(&window);
    auto* choice = new SegmentedChoice(QStringLiteral("N"), QStringLiteral("S"), &window);
    auto* after = new QLineEdit(&window);
    choice->setAccessibleNames(QStringLiteral("North"), QStringLiteral("South"),
                               QStringLiteral("Hemisphere of the latitude"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy chosen(choice, &SegmentedChoice::chosen);

    // Each key goes to whatever has the focus.
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    before->setFocus();
    press(Qt::Key_Tab);
    EXPECT_TRUE(choice->firstButton()->hasFocus());
    press(Qt::Key_Right);
    press(Qt::Key_Right);  // already there: nothing new
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(accessibleText(choice->secondButton(), QAccessible::Name), "South");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(choice->secondButton())->state().checked);
    press(Qt::Key_Tab);  // the other segment is no stop
    EXPECT_TRUE(after->hasFocus());
    press(Qt::Key_Backtab);
    press(Qt::Key_Left);
    EXPECT_TRUE(choice->isFirst());
    EXPECT_EQ(chosen.count(), 2);
}

TEST(OutputViews, EmptyStatesBeforeTheFirstCalculation) {
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();
    DetailedView detail(model.get());
    EXPECT_EQ(chooseTab<ChartView>(detail, OutputTab::starMap).svgView()->page(), svgViewPage(""));
    EXPECT_TRUE(chooseTab<PlanetsView>(detail, OutputTab::planets).showsEmptyState());
    auto& tables = chooseTab<TablesView>(detail, OutputTab::sunMoon);
    EXPECT_TRUE(tables.textView()->showsPlaceholder());
    EXPECT_EQ(tables.nextFullMoonLabel()->text(), "—");
    EXPECT_TRUE(
        chooseTab<PositionsView>(detail, OutputTab::positions).textView()->showsPlaceholder());
}

TEST(OutputViews, EveryTabShowsTheResultsAndNamesThemForAssistiveTechnology) {
    testing::Window w;
    w.showAndCalculate();
    DetailedView& detail = *w.view->detail();
    auto* chart = &chooseTab<ChartView>(detail, OutputTab::starMap);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(w.model->starMapSVG()));
    EXPECT_EQ(accessibleText(chart, QAccessible::Description),
              positionsDescription(w.model->positions()));
    chart = &chooseTab<ChartView>(detail, OutputTab::horoscope);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(w.model->horoscopeSVG()));
    EXPECT_THAT(accessibleText(chart, QAccessible::Description).toStdString(),
                HasSubstr("Nolomar Influence (Character)"));

    QTableWidget* table = chooseTab<PlanetsView>(detail, OutputTab::planets).table();
    ASSERT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->item(2, 0)->text().toStdString(), w.model->positions().at(2).name);

    // The sun and moon tables are named for the table shown, and chosen again start hourly.
    auto* tables = &chooseTab<TablesView>(detail, OutputTab::sunMoon);
    QPlainTextEdit* text = tables->textView()->textEdit();
    EXPECT_EQ(text->toPlainText(), w.model->basicTableHourly());
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(tables->nextFullMoonLabel()->text(), w.model->nextFullMoonLabel());
    tables->choice()->secondButton()->click();
    EXPECT_EQ(text->toPlainText(), w.model->basicTableMonthly());
    EXPECT_EQ(accessibleText(text, QAccessible::Name), "Sun and moon table, monthly");
    tables = &chooseTab<TablesView>(detail, OutputTab::sunMoon);
    EXPECT_EQ(tables->textView()->textEdit()->toPlainText(), w.model->basicTableHourly());

    auto& positions = chooseTab<PositionsView>(detail, OutputTab::positions);
    EXPECT_EQ(positions.textView()->textEdit()->toPlainText(), w.model->conjunctionDaily());
    positions.choice()->secondButton()->click();
    EXPECT_EQ(positions.textView()->textEdit()->toPlainText(), w.model->conjunctionYearly());

    const QPointer<QWidget> previous = detail.currentView();
    chooseTab<MapLocationPickerView>(detail, OutputTab::location);
    EXPECT_TRUE(previous.isNull() || previous->isHidden());  // the last tab's view goes at once

    // A new result reaches the visible view at once.
    chooseTab<PositionsView>(detail, OutputTab::positions);
    w.model->setHour(18.0);
    w.model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !w.model->isCalculating(); }));
    QCoreApplication::processEvents();
    auto* shown = qobject_cast<PositionsView*>(detail.currentView());
    ASSERT_NE(shown, nullptr);
    EXPECT_THAT(shown->textView()->textEdit()->toPlainText().toStdString(),
                HasSubstr("\n720-01-01 18:00 OST"));
}

TEST(OutputViews, TextAlternativesOfChartsAndPositions) {
    // The legend is the text in the ink of the first text; entities and nested text are read.
    const QString svg = QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\">"
        "<text x=\"0\" y=\"8\" fill=\"#757475\">Date</text>"
        "<text x=\"5\" y=\"30\" fill=\"#fef651\">Star name</text>"
        "<text fill=\"#fef651\"><textPath xlink:href=\"#rim\">Rim</textPath></text>"
        "<text x=\"400\" y=\"50\" fill=\"#757475\">Fate &amp; Will</text>"
        "<text x=\"500\" y=\"50\" fill=\"#757475\">BALANCED</text>"
        "<text x=\"400\" y=\"60\" fill=\"#757475\">\n  Next  line\n</text></svg>");
    EXPECT_EQ(chartLegendText(svg), "Date\nFate & Will, BALANCED\nNext line");
    EXPECT_EQ(chartLegendText(QString()), "");

    std::vector<BodyPosition> rows(2);
    rows[0].name = "Yael";
    rows[0].bodyType = "Moon";
    rows[0].sign = "Masâra     ";
    rows[0].azimuthRadians = 0.5 * 3.141592653589793;
    rows[0].altitudeRadians = -(12.0 + 59.8 / 60.0) / 57.29577951308232;  // 12°59′48″ below
    rows[1].name = "Kenor";
    rows[1].bodyType = "Gas Giant";
    rows[1].sign = "Ládo";
    rows[1].altitudeRadians = 1e-9;
    EXPECT_EQ(positionsDescription(rows),
              "Yael (Moon): azimuth 90°00′, altitude minus 13°00′, below the horizon, sign Masâra\n"
              "Kenor (Gas Giant): azimuth 0°00′, altitude 0°00′, sign Ládo");
}

TEST(OutputViews, TooltipsExplainTheColumnHeadsAndTheMinuteSixty) {
    PlanetsView planets;
    for (int column : {2, 3, 4}) {  // azimuth, altitude, ecliptic longitude
        EXPECT_THAT(planets.table()->horizontalHeaderItem(column)->toolTip().toStdString(),
                    HasSubstr("012:60 reads as 13°00′"));
    }

    // The group heads of the first line come before the columns of every line.
    PositionsView positions;
    MonospacedTextView* conjunctions = positions.textView();
    EXPECT_THAT(conjunctions->columnHelpAt(0, 30).toStdString(), StartsWith("Equatorial"));
    EXPECT_THAT(conjunctions->columnHelpAt(1, 31).toStdString(),
                StartsWith("Nolomar, the sun: right ascension"));
    EXPECT_THAT(conjunctions->textEdit()->accessibleDescription().toStdString(),
                HasSubstr("Mergus"));

    // Hovering a column head of the shown table, anywhere on it, brings its help up.
    TablesView tables;
    const QString header = QStringLiteral(
        "YR MO DAY TIME        Y-RA     Y-DEC    Ec-Lat   Ec-Long  N-RA    N-DEC     N-Long   "
        "Phase");
    tables.resize(900, 400);
    tables.setTables(header + QStringLiteral("\n720-01-01 12:00 OST   009.07\n"), {}, {}, {});
    tables.show();
    EXPECT_THAT(tables.textView()->columnHelpAt(0, header.indexOf("Ec-Long") + 6).toStdString(),
                StartsWith("Ec-Long:"));
    EXPECT_THAT(tables.textView()->columnHelpAt(5, 3).toStdString(), HasSubstr("OST"));
    QPlainTextEdit* edit = tables.textView()->textEdit();
    QTextCursor cursor(edit->document());
    cursor.setPosition(header.indexOf("N-RA") + 1);
    const QPoint point = edit->cursorRect(cursor).center() + QPoint(2, 0);
    QHelpEvent hover(QEvent::ToolTip, point, edit->viewport()->mapToGlobal(point));
    QCoreApplication::sendEvent(edit->viewport(), &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_THAT(QToolTip::text().toStdString(), StartsWith("N-RA:"));
    QToolTip::hideText();
}

}  // namespace
}  // namespace morvane
