#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <tuple>

#include "events/calendar_month.h"
#include "model/calendar_pager.h"

class QLabel;
class QStackedWidget;
class QToolButton;

namespace morvane {

class AstronomyModel;
class ChartView;
class SegmentedChoice;

/// The Calendar output: the month (or year) of the last calculation's date at its place, drawn
/// as the handout document, with a keyboard cursor over it. Arrows move the cursor a day (Up and
/// Down a row of five), Page Up and Page Down a month, Home and End to the month's first and last
/// day; moving past either end of a month goes on into the next. Return, or a click, on a day
/// sets the inputs' date to it keeping the time; in the year view it opens the month instead.
/// It works the days out only while it exists, that is while its tab is shown, and again only
/// when the month or year, the place, the hour or the clock changed.
class CalendarView : public QWidget {
    Q_OBJECT
  public:
    CalendarView(AstronomyModel* model, QWidget* parent = nullptr);

    ChartView* chart() const { return chart_; }
    /// "Month" or "Year".
    SegmentedChoice* spanChoice() const { return span_; }
    QToolButton* previousButton() const { return previous_; }
    QToolButton* nextButton() const { return next_; }
    /// The shown month and year, or the year, above the chart.
    QLabel* titleLabel() const { return title_; }
    /// The layer over the chart that takes the keys and clicks.
    QWidget* grid() const { return grid_; }
    QLabel* placeholderLabel() const { return placeholder_; }
    [[nodiscard]] bool showsPlaceholder() const;

    /// The month and the year worked out last; nothing before the first calculation, nor
    /// before the view was first shown.
    const std::optional<CalendarMonth>& month() const { return month_; }
    const std::optional<CalendarYear>& year() const { return year_; }
    /// How many times a month or a year was worked out (for measurements and tests).
    [[nodiscard]] int computations() const { return computations_; }

    /// Where a point of the document (points from its top left corner) lies on grid().
    [[nodiscard]] QPointF gridPoint(double x, double y) const;
    /// The cursor's day cell on grid(); empty before the first calculation.
    [[nodiscard]] QRectF cursorFrame() const;
    /// The cursor's day in words: date, phase, sunrise and sunset, marks.
    [[nodiscard]] QString cursorDescription() const;
    /// The day under a point of grid() in words, as cursorDescription(); "" off the days.
    [[nodiscard]] QString wordsAt(QPointF at) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class CalendarGrid;
    void refresh();
    /// Shows the document with the cursor drawn over it.
    void showDocument();
    bool takeKey(const QKeyEvent& event);
    void click(QPointF at);
    /// Sets the inputs' date to the cursor's day, keeping the time.
    void chooseCursorDay();
    void openCursorMonth();
    void step(int direction);
    /// The document's scale and offset on grid(): the page is fitted whole and centred.
    [[nodiscard]] QTransform documentToGrid() const;
    [[nodiscard]] const CalendarDay* cursorDay() const;

    AstronomyModel* model_;
    CalendarPager* pager_;
    SegmentedChoice* span_;
    QToolButton* previous_;
    QToolButton* next_;
    QLabel* title_;
    QStackedWidget* stack_;
    QLabel* placeholder_;
    ChartView* chart_;
    QWidget* grid_;
    std::optional<CalendarMonth> month_;
    std::optional<CalendarYear> year_;
    std::string document_;  ///< the shown month or year, without the cursor
    /// What the shown document was drawn from: span, year, month, chosen day and month,
    /// place and the computation it was drawn from.
    std::optional<std::tuple<CalendarSpan, std::int64_t, int, int, int, QString, int>> drawn_;
    int computations_ = 0;
};

}  // namespace morvane
