#include "ui/calendar_view.h"

#include <fmt/format.h>

#include <QBoxLayout>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QToolTip>
#include <QTransform>
#include <QWebEngineView>
#include <algorithm>
#include <string>
#include <utility>

#include "charts/calendar_chart.h"
#include "engine/calendar.h"
#include "events/calendar_text.h"
#include "model/astronomy_model.h"
#include "model/calculation.h"
#include "ui/output_views.h"
#include "ui/widgets.h"

namespace morvane {

namespace {

// Ctrl with the Page keys: Page Up and Page Down alone already move the cursor a month, and
// Alt with them steps the inputs' time.
constexpr QKeyCombination kPreviousKeys = Qt::CTRL | Qt::Key_PageUp;
constexpr QKeyCombination kNextKeys = Qt::CTRL | Qt::Key_PageDown;

// The cursor's frame stands out from the chart's own ink on its light page.
constexpr double kFrameContrast = 3.0;

QString monthTitle(std::int64_t year, int monthIndex) {
    return fromStd(std::string(kMonthNames[static_cast<std::size_t>(monthIndex)])) +
           QLatin1Char(' ') + QString::number(year);
}

QRectF toRect(const CalendarRect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

// A frame `outset` points outside the rectangle: solid, or dashed where it only shows the day
// Return would act on while the days do not have the keyboard.
std::string cursorRect(const CalendarRect& rect, double outset, const std::string& ink,
                       double width, bool dashed) {
    return fmt::format(
        "<rect class=\"cursor\" x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" height=\"{:.1f}\" "
        "fill=\"none\" stroke=\"{}\" stroke-width=\"{:g}\"{} />\n",
        rect.x - outset, rect.y - outset, rect.width + 2.0 * outset, rect.height + 2.0 * outset,
        ink, width, dashed ? " stroke-dasharray=\"4 3\"" : "");
}

// "720-03-14: waxing gibbous 78 %; sunrise 06:12; sunset 18:02; full moon 14:20": what a day
// of the calendar shows, for a tooltip or a screen reader. The year view has no rises and sets.
QString dayInWords(const CalendarDay& day, double longitude, bool withSun) {
    std::string text = calendarDateText(day) + ": " + phaseText(day.elongation, day.illuminated);
    if (withSun) {
        if (day.sunDay == SunDay::polarDay) text += "; polar day";
        if (day.sunDay == SunDay::polarNight) text += "; polar night";
        for (const double t : day.sunrises) text += "; sunrise " + localTimeLabel(t, longitude);
        for (const double t : day.sunsets) text += "; sunset " + localTimeLabel(t, longitude);
    }
    for (const SkyEvent& mark : day.marks)
        text += "; " + calendarMarkWords(mark) + " " + localTimeLabel(mark.t, longitude);
    return fromStd(text);
}

}  // namespace

/// The layer over the chart that passes the keys and clicks to the view. It draws nothing: a
/// widget's paint does not show over the web view's page everywhere, so the cursor is drawn into
/// the document the page shows.
class CalendarGrid : public QWidget {
  public:
    CalendarGrid(CalendarView* view, QWidget* parent) : QWidget(parent), view_(view) {
        setFocusPolicy(Qt::StrongFocus);
        setAccessibleName(QStringLiteral("Calendar days"));
        setToolTip(QStringLiteral(
            "Arrow keys move between days, Page Up and Page Down between months; Return or a "
            "click on a day sets the date"));
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!view_->takeKey(*event)) QWidget::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            view_->click(event->position());
            event->accept();
            return;
        }
        QWidget::mousePressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        view_->showDocument();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QWidget::focusOutEvent(event);
        view_->showDocument();
    }
    bool event(QEvent* event) override {
        // Over a day, its facts in words; elsewhere the keys.
        if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            const QString words = view_->wordsAt(help->pos());
            QToolTip::showText(help->globalPos(), words.isEmpty() ? toolTip() : words, this);
            return true;
        }
        return QWidget::event(event);
    }

  private:
    CalendarView* view_;
};

CalendarView::CalendarView(AstronomyModel* model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      pager_(&CalendarPager::of(*model)),
      span_(new SegmentedChoice(QStringLiteral("Month"), QStringLiteral("Year"), this)),
      previous_(new QToolButton(this)),
      next_(new QToolButton(this)),
      title_(new QLabel(this)),
      stack_(new QStackedWidget(this)),
      placeholder_(new SecondaryLabel(QString(), this)),
      chart_(new ChartView(this)),
      grid_(new CalendarGrid(this, chart_)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(8, 8, 8, 8);
    controls->setSpacing(6);
    span_->setAccessibleNames(QStringLiteral("Month view"), QStringLiteral("Year view"),
                              QStringLiteral("Show one month or the whole year"));
    controls->addWidget(span_);
    controls->addSpacing(8);
    previous_->setText(QStringLiteral("‹"));
    next_->setText(QStringLiteral("›"));
    for (QToolButton* button : {previous_, next_}) {
        button->setAutoRaise(true);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::StrongFocus);
        controls->addWidget(button);
    }
    title_->setTextFormat(Qt::PlainText);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setAccessibleDescription(QStringLiteral("The month or year shown"));
    controls->addWidget(title_);
    controls->addStretch();
    layout->addLayout(controls);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    placeholder_->setTextFormat(Qt::PlainText);
    placeholder_->setWordWrap(true);
    placeholder_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeholder_->setMargin(11);
    placeholder_->setText(
        QStringLiteral("No calendar yet: its days are drawn once the sky is calculated."));
    stack_->addWidget(placeholder_);
    chart_->setMinimumSize(360, 260);
    stack_->addWidget(chart_);
    layout->addWidget(stack_, 1);

    // The layer covers the chart's page and takes its clicks; the page itself is never focused.
    chart_->svgView()->webView()->setFocusPolicy(Qt::NoFocus);
    chart_->svgView()->installEventFilter(this);
    grid_->raise();
    // The toolbar comes first in the Tab chain, the days after it.
    setTabOrder(next_, grid_);

    connect(span_, &SegmentedChoice::chosen, this, [this](bool month) {
        pager_->setSpan(month ? CalendarSpan::month : CalendarSpan::year);
    });
    connect(previous_, &QToolButton::clicked, this, [this] { step(-1); });
    connect(next_, &QToolButton::clicked, this, [this] { step(1); });
    // The window's keys for as long as the Calendar is shown in it, wherever the focus is. (A
    // button's own shortcut would press it only after its animation.)
    for (const auto& [keys, direction] : {std::pair{kPreviousKeys, -1}, std::pair{kNextKeys, 1}}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, direction] { step(direction); });
    }
    connect(pager_, &CalendarPager::changed, this, &CalendarView::refresh);
    // A tab chosen again starts from the calculated day.
    pager_->resetCursor();
    refresh();
}

bool CalendarView::showsPlaceholder() const { return stack_->currentWidget() == placeholder_; }

bool CalendarView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chart_->svgView() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        grid_->setGeometry(chart_->svgView()->geometry());
    }
    return QWidget::eventFilter(watched, event);
}

QTransform CalendarView::documentToGrid() const {
    const double scale =
        std::min(grid_->width() / kCalendarPageWidth, grid_->height() / kCalendarPageHeight);
    return QTransform::fromTranslate((grid_->width() - kCalendarPageWidth * scale) / 2.0,
                                     (grid_->height() - kCalendarPageHeight * scale) / 2.0)
        .scale(scale, scale);
}

QPointF CalendarView::gridPoint(double x, double y) const {
    return documentToGrid().map(QPointF(x, y));
}

QRectF CalendarView::cursorFrame() const {
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page) return {};
    const CalendarRect cell = page->span == CalendarSpan::month
                                  ? monthDayCell(page->dayIndex)
                                  : yearDayCell(page->monthIndex, page->dayIndex);
    return documentToGrid().mapRect(toRect(cell));
}

const CalendarDay* CalendarView::cursorDay() const {
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page) return nullptr;
    if (page->span == CalendarSpan::month) {
        if (!month_ || month_->year != page->year || month_->monthIndex != page->monthIndex)
            return nullptr;
        return &month_->days[static_cast<std::size_t>(page->dayIndex)];
    }
    if (!year_ || year_->year != page->year) return nullptr;
    return &year_->months[static_cast<std::size_t>(page->monthIndex)]
                .days[static_cast<std::size_t>(page->dayIndex)];
}

QString CalendarView::cursorDescription() const {
    const CalendarDay* day = cursorDay();
    if (day == nullptr) return {};
    return dayInWords(*day, pager_->page()->longitude, pager_->page()->span == CalendarSpan::month);
}

QString CalendarView::wordsAt(QPointF at) const {
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page) return {};
    const QPointF p = documentToGrid().inverted().map(at);
    if (page->span == CalendarSpan::month && month_) {
        for (int d = 0; d < kCalendarDays; ++d) {
            if (monthDayCell(d).contains(p.x(), p.y()))
                return dayInWords(month_->days[static_cast<std::size_t>(d)], page->longitude, true);
        }
    }
    if (page->span == CalendarSpan::year && year_) {
        for (int m = 0; m < kCalendarMonths; ++m) {
            for (int d = 0; d < kCalendarDays; ++d) {
                if (yearDayCell(m, d).contains(p.x(), p.y()))
                    return dayInWords(year_->months[static_cast<std::size_t>(m)]
                                          .days[static_cast<std::size_t>(d)],
                                      page->longitude, false);
            }
        }
    }
    return {};
}

void CalendarView::showDocument() {
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page || document_.empty()) return;
    const bool focused = grid_->hasFocus();
    const std::string ink =
        withContrast(palette().color(QPalette::Highlight), chartPageColor(), kFrameContrast)
            .name()
            .toStdString();
    std::string frames;
    if (page->span == CalendarSpan::year) {
        // A day of the year view is small: its month's box is framed too.
        frames += cursorRect(yearMonthBox(page->monthIndex), 3.0, ink, 1.0, false);
        frames += cursorRect(yearDayCell(page->monthIndex, page->dayIndex), 1.0, ink,
                             focused ? 2.0 : 1.0, !focused);
    } else {
        frames += cursorRect(monthDayCell(page->dayIndex), 1.5, ink, focused ? 3.0 : 1.5, !focused);
    }
    std::string svg = document_;
    const std::size_t end = svg.rfind("</svg>");
    svg.insert(end == std::string::npos ? svg.size() : end, frames);
    chart_->setSvg(fromStd(svg));
}

bool CalendarView::takeKey(const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page) return false;
    switch (event.key()) {
        case Qt::Key_Left:
            pager_->moveCursorByDays(-1);
            return true;
        case Qt::Key_Right:
            pager_->moveCursorByDays(1);
            return true;
        case Qt::Key_Up:
            pager_->moveCursorByDays(-kCalendarColumns);
            return true;
        case Qt::Key_Down:
            pager_->moveCursorByDays(kCalendarColumns);
            return true;
        case Qt::Key_PageUp:
            pager_->moveCursorByMonths(-1);
            return true;
        case Qt::Key_PageDown:
            pager_->moveCursorByMonths(1);
            return true;
        case Qt::Key_Home:
            pager_->moveCursorTo(page->year, page->monthIndex, 0);
            return true;
        case Qt::Key_End:
            pager_->moveCursorTo(page->year, page->monthIndex, kCalendarDays - 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (page->span == CalendarSpan::month) {
                chooseCursorDay();
            } else {
                openCursorMonth();
            }
            return true;
        default:
            return false;
    }
}

void CalendarView::click(QPointF at) {
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page || showsPlaceholder()) return;
    const QPointF p = documentToGrid().inverted().map(at);
    if (page->span == CalendarSpan::month) {
        for (int d = 0; d < kCalendarDays; ++d) {
            if (monthDayCell(d).contains(p.x(), p.y())) {
                pager_->moveCursorTo(page->year, page->monthIndex, d);
                chooseCursorDay();
                return;
            }
        }
        return;
    }
    for (int m = 0; m < kCalendarMonths; ++m) {
        if (!yearMonthBox(m).contains(p.x(), p.y())) continue;
        // On a day of the month the cursor goes there; on its name it keeps its day.
        int day = page->dayIndex;
        for (int d = 0; d < kCalendarDays; ++d) {
            if (yearDayCell(m, d).contains(p.x(), p.y())) day = d;
        }
        pager_->moveCursorTo(page->year, m, day);
        openCursorMonth();
        return;
    }
}

void CalendarView::chooseCursorDay() {
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page) return;
    // As the sidebar's date controls do: each input is written, and the automatic
    // recalculation (when it is on) takes them together after its pause.
    const CalendarPage chosen = *page;
    model_->setYear(chosen.year);
    model_->setMonthIndex(chosen.monthIndex);
    model_->setDayIndex(chosen.dayIndex);
}

void CalendarView::openCursorMonth() { pager_->setSpan(CalendarSpan::month); }

void CalendarView::step(int direction) {
    const std::optional<CalendarPage>& page = pager_->page();
    if (!page) return;
    pager_->moveCursorByMonths(page->span == CalendarSpan::month ? direction
                                                                 : direction * kCalendarMonths);
}

void CalendarView::refresh() {
    const std::optional<CalendarPage>& page = pager_->page();
    for (QWidget* control : {static_cast<QWidget*>(span_), static_cast<QWidget*>(previous_),
                             static_cast<QWidget*>(next_)}) {
        control->setEnabled(page.has_value());
    }
    if (!page) {
        title_->clear();
        stack_->setCurrentWidget(placeholder_);
        return;
    }
    const bool monthly = page->span == CalendarSpan::month;
    span_->setFirst(monthly);
    const QString unit = monthly ? QStringLiteral("month") : QStringLiteral("year");
    const auto keys = [](QKeyCombination combination) {
        return QKeySequence(combination).toString(QKeySequence::NativeText);
    };
    previous_->setToolTip(QStringLiteral("Previous %1 (%2)").arg(unit, keys(kPreviousKeys)));
    next_->setToolTip(QStringLiteral("Next %1 (%2)").arg(unit, keys(kNextKeys)));
    previous_->setAccessibleName(QStringLiteral("Previous ") + unit);
    next_->setAccessibleName(QStringLiteral("Next ") + unit);
    title_->setText(monthly ? monthTitle(page->year, page->monthIndex)
                            : QStringLiteral("Year ") + QString::number(page->year));

    // The days are worked out again only for another month or year, place, hour or clock; a
    // cursor move within them only moves the frame.
    const auto same = [&page](const auto& shown) {
        return shown.year == page->year && shown.hour == page->hour && shown.clock == page->clock &&
               shown.latitude == page->latitude && shown.longitude == page->longitude;
    };
    if (monthly && (!month_ || !same(*month_) || month_->monthIndex != page->monthIndex)) {
        month_ = calendarMonth(page->year, page->monthIndex, page->hour, page->clock,
                               page->latitude, page->longitude);
        ++computations_;
    }
    if (!monthly && (!year_ || !same(*year_))) {
        year_ = calendarYear(page->year, page->hour, page->clock, page->latitude, page->longitude);
        ++computations_;
    }
    const auto drawn = std::make_tuple(page->span, page->year, monthly ? page->monthIndex : -1,
                                       page->chosenDayInMonth(), page->chosenMonthInYear(),
                                       page->place, computations_);
    if (drawn != drawn_) {
        drawn_ = drawn;
        const std::string place = page->place.toStdString();
        document_ = monthly ? calendarMonthSvg(*month_, place, page->chosenDayInMonth())
                            : calendarYearSvg(*year_, place, page->chosenMonthInYear(),
                                              page->chosenDayIndex);
        chart_->setTextAlternative(
            QStringLiteral("Calendar of ") + title_->text(),
            fromStd(monthly ? calendarMonthText(*month_, place) : calendarYearText(*year_, place)));
    }
    showDocument();
    stack_->setCurrentWidget(chart_);
    grid_->setAccessibleDescription(cursorDescription());
}

}  // namespace morvane
