#include "ui/output_views.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>
#include <QWebEngineView>

#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/detailed_view.h"
#include "ui/map_location_picker.h"
#include "ui/readability.h"
#include "ui/ui_window.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

using testing::ApplicationPalette;
using testing::waitUntil;

QString accessibleText(QObject* object, QAccessible::Text kind) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
    return node != nullptr ? node->text(kind) : QString();
}

// Chooses a tab and returns its view, or null when it is not a `View`.
template <typename View>
View* chooseTab(DetailedView& detail, OutputTab tab) {
    detail.setTab(tab);
    return qobject_cast<View*>(detail.currentView());
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

    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(choice->firstButton()->hasFocus());
    QTest::keyClick(choice->firstButton(), Qt::Key_Right);
    EXPECT_FALSE(choice->isFirst());
    EXPECT_TRUE(choice->secondButton()->hasFocus());
    EXPECT_EQ(chosen.count(), 1);
    QTest::keyClick(choice->secondButton(), Qt::Key_Right);  // already there: nothing new
    EXPECT_EQ(chosen.count(), 1);
    QTest::keyClick(choice->secondButton(), Qt::Key_Tab);  // the other segment is no stop
    EXPECT_TRUE(after->hasFocus());
    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_TRUE(choice->secondButton()->hasFocus());
    QTest::keyClick(choice->secondButton(), Qt::Key_Left);
    EXPECT_TRUE(choice->isFirst());
    EXPECT_EQ(chosen.count(), 2);

    EXPECT_EQ(accessibleText(choice->firstButton(), QAccessible::Name), "North");
    EXPECT_EQ(accessibleText(choice->secondButton(), QAccessible::Name), "South");
    EXPECT_EQ(accessibleText(choice->secondButton(), QAccessible::Description),
              "Hemisphere of the latitude");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(choice->firstButton())->state().checked);
}

TEST(OutputViews, EmptyStatesBeforeTheFirstCalculationReadableInADarkPalette) {
    ApplicationPalette dark(testing::darkPalette());
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();  // never calculated
    DetailedView detail(model.get());
    detail.resize(700, 500);
    detail.show();
    auto* chart = qobject_cast<ChartView*>(detail.currentView());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(""));

    auto* planets = chooseTab<PlanetsView>(detail, OutputTab::planets);
    ASSERT_NE(planets, nullptr);
    EXPECT_TRUE(planets->showsEmptyState());
    QCoreApplication::processEvents();  // a view added to a shown window shows later
    testing::expectReadable(&detail);

    auto* tables = chooseTab<TablesView>(detail, OutputTab::sunMoon);
    ASSERT_NE(tables, nullptr);
    EXPECT_TRUE(tables->textView()->showsPlaceholder());
    EXPECT_EQ(tables->textView()->placeholderLabel()->text(), "No table data");
    EXPECT_EQ(tables->nextFullMoonLabel()->text(), "—");
    EXPECT_EQ(tables->nextNewMoonLabel()->text(), "—");
    QCoreApplication::processEvents();
    testing::expectReadable(&detail);

    auto* positions = chooseTab<PositionsView>(detail, OutputTab::positions);
    ASSERT_NE(positions, nullptr);
    EXPECT_TRUE(positions->textView()->showsPlaceholder());
    EXPECT_EQ(positions->textView()->placeholderLabel()->text(), "No conjunction data");
    QCoreApplication::processEvents();
    testing::expectReadable(&detail);
}

TEST(OutputViews, EveryTabShowsTheResultsAndNamesThemForAssistiveTechnology) {
    testing::Window w;
    w.showAndCalculate();
    DetailedView& detail = *w.view->detail();
    auto* chart = qobject_cast<ChartView*>(detail.currentView());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(w.model->starMapSVG()));
    EXPECT_EQ(accessibleText(chart, QAccessible::Name), "Star map");
    EXPECT_EQ(accessibleText(chart, QAccessible::Description),
              positionsDescription(w.model->positions()));
    EXPECT_EQ(chart->svgView()->webView()->accessibleName(), "Star map");

    chart = chooseTab<ChartView>(detail, OutputTab::horoscope);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(w.model->horoscopeSVG()));
    EXPECT_EQ(accessibleText(chart, QAccessible::Name), "Horoscope chart");
    const QString reading = accessibleText(chart, QAccessible::Description);
    EXPECT_TRUE(reading.contains(QStringLiteral("Nolomar Influence (Character)")))
        << reading.toStdString();

    auto* planets = chooseTab<PlanetsView>(detail, OutputTab::planets);
    ASSERT_NE(planets, nullptr);
    ASSERT_FALSE(planets->showsEmptyState());
    QTableWidget* table = planets->table();
    EXPECT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->item(0, 0)->text(), "Nolomar");
    EXPECT_EQ(table->item(2, 0)->text(), "Épeòn");
    EXPECT_EQ(table->item(4, 5)->text(), "Angberélius");
    EXPECT_FALSE(accessibleText(table, QAccessible::Name).isEmpty());

    auto* tables = chooseTab<TablesView>(detail, OutputTab::sunMoon);
    ASSERT_NE(tables, nullptr);
    QPlainTextEdit* text = tables->textView()->textEdit();
    EXPECT_EQ(text->toPlainText(), w.model->basicTableHourly());
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(accessibleText(text, QAccessible::Name), "Sun and moon table, hourly");
    EXPECT_EQ(tables->nextFullMoonLabel()->text(), w.model->nextFullMoonLabel());
    EXPECT_EQ(accessibleText(tables->nextFullMoonLabel(), QAccessible::Name), "Next full moon");
    tables->choice()->secondButton()->click();
    EXPECT_EQ(text->toPlainText(), w.model->basicTableMonthly());
    EXPECT_EQ(accessibleText(text, QAccessible::Name), "Sun and moon table, monthly");
    // Chosen again, the tab starts from its initial state: hourly.
    tables = chooseTab<TablesView>(detail, OutputTab::sunMoon);
    EXPECT_TRUE(tables->choice()->isFirst());
    EXPECT_EQ(tables->textView()->textEdit()->toPlainText(), w.model->basicTableHourly());

    auto* positions = chooseTab<PositionsView>(detail, OutputTab::positions);
    ASSERT_NE(positions, nullptr);
    text = positions->textView()->textEdit();
    EXPECT_EQ(text->toPlainText(), w.model->conjunctionDaily());
    EXPECT_EQ(accessibleText(text, QAccessible::Name), "Conjunction table, daily");
    positions->choice()->secondButton()->click();
    EXPECT_EQ(text->toPlainText(), w.model->conjunctionYearly());

    QWidget* previous = detail.currentView();
    EXPECT_NE(chooseTab<MapLocationPickerView>(detail, OutputTab::location), nullptr);
    EXPECT_TRUE(previous->isHidden());  // the view of the last tab is gone at once

    // A new result reaches the visible view at once.
    chooseTab<PositionsView>(detail, OutputTab::positions);
    w.model->setHour(18.0);
    w.model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !w.model->isCalculating(); }));
    QCoreApplication::processEvents();
    positions = qobject_cast<PositionsView*>(detail.currentView());
    EXPECT_TRUE(positions->textView()->textEdit()->toPlainText().contains("\n720-01-01 18:00 OST"));
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
        const QString tip = planets.table()->horizontalHeaderItem(column)->toolTip();
        EXPECT_TRUE(tip.contains(QStringLiteral("012:60 reads as 13°00′"))) << tip.toStdString();
    }

    TablesView tables;
    const QString header = QStringLiteral(
        "YR MO DAY TIME        Y-RA     Y-DEC    Ec-Lat   Ec-Long  N-RA    N-DEC     N-Long   "
        "Phase");
    MonospacedTextView* sunMoon = tables.textView();
    for (const char* head :
         {"Y-RA", "Y-DEC", "Ec-Lat", "Ec-Long", "N-RA", "N-DEC", "N-Long", "Phase"}) {
        const int column = header.indexOf(QLatin1String(head));
        for (int offset = 0; offset < int(qstrlen(head)); ++offset) {
            EXPECT_TRUE(
                sunMoon->columnHelpAt(0, column + offset).startsWith(QLatin1String(head) + ':'))
                << head << " at " << column + offset;
        }
    }
    EXPECT_TRUE(sunMoon->columnHelpAt(5, 100).contains("MR@"));
    EXPECT_TRUE(sunMoon->columnHelpAt(5, 3).contains("OST"));

    // The group heads of the first line come before the columns of every line.
    PositionsView positions;
    MonospacedTextView* conjunctions = positions.textView();
    EXPECT_TRUE(conjunctions->columnHelpAt(0, 30).startsWith("Equatorial"));
    EXPECT_TRUE(conjunctions->columnHelpAt(1, 31).startsWith("Nolomar, the sun: right ascension"));
    EXPECT_TRUE(conjunctions->columnHelpAt(7, 123).startsWith("Mergus: ecliptic longitude"));
    EXPECT_TRUE(conjunctions->columnHelpAt(7, 123).contains("012:60"));
    EXPECT_TRUE(conjunctions->columnHelpAt(7, 135).startsWith("Conjunctions"));
    EXPECT_TRUE(conjunctions->textEdit()->accessibleDescription().contains("Mergus"));

    // Hovering a column head of the shown table brings its help up.
    tables.resize(900, 400);
    tables.setTables(header + QStringLiteral("\n720-01-01 12:00 OST   009.07\n"), {}, {}, {});
    tables.show();
    QPlainTextEdit* edit = sunMoon->textEdit();
    QTextCursor cursor(edit->document());
    cursor.setPosition(header.indexOf("N-RA") + 1);
    const QPoint point = edit->cursorRect(cursor).center() + QPoint(2, 0);
    QHelpEvent hover(QEvent::ToolTip, point, edit->viewport()->mapToGlobal(point));
    QCoreApplication::sendEvent(edit->viewport(), &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().startsWith("N-RA:")) << QToolTip::text().toStdString();
    QToolTip::hideText();
}

}  // namespace
}  // namespace morvane
