#include "model/calendar_pager.h"

#include <algorithm>
#include <utility>

#include "engine/calendar.h"
#include "model/astronomy_model.h"
#include "model/calculation.h"
#include "model/moment.h"

namespace morvane {

namespace {

// Days and months counted from the first day of year 1, so that a step runs across months and
// years like any other.
constexpr std::int64_t kLastDay = kLastYear * kCalendarMonths * kCalendarDays - 1;

std::int64_t dayNumber(std::int64_t year, int monthIndex, int dayIndex) {
    return ((year - 1) * kCalendarMonths + monthIndex) * kCalendarDays + dayIndex;
}

// The page a calculation from the model's inputs starts from, with the label of its moment;
// nothing when the inputs cannot be calculated.
std::optional<std::pair<CalendarPage, QString>> startingPoint(const AstronomyModel& model) {
    const Inputs& in = model.inputs();
    const CalculationInputs where = CalculationInputs::of(in, model.cities());
    const DayCountResult moment = checkedDayCount(where);
    if (!moment.t || in.year < kFirstYear || in.year > kLastYear || in.monthIndex < 0 ||
        in.monthIndex >= kCalendarMonths || in.dayIndex < 0 || in.dayIndex >= kCalendarDays)
        return std::nullopt;
    CalendarPage page;
    page.year = page.chosenYear = in.year;
    page.monthIndex = page.chosenMonthIndex = static_cast<int>(in.monthIndex);
    page.dayIndex = page.chosenDayIndex = static_cast<int>(in.dayIndex);
    page.hour = in.hour;
    page.clock = in.useLocalTime ? CalendarClock::local : CalendarClock::reference;
    page.latitude = where.latitude;
    page.longitude = where.longitude;
    page.place = in.placeLabel(model.cities(), " ");
    return std::pair{std::move(page), fromStd(dateLabel(*moment.t))};
}

}  // namespace

int CalendarPage::chosenDayInMonth() const {
    return chosenYear == year && chosenMonthIndex == monthIndex ? chosenDayIndex : -1;
}

int CalendarPage::chosenMonthInYear() const { return chosenYear == year ? chosenMonthIndex : -1; }

CalendarPager& CalendarPager::of(AstronomyModel& model) {
    if (auto* pager = model.findChild<CalendarPager*>(QString(), Qt::FindDirectChildrenOnly))
        return *pager;
    return *new CalendarPager(model);
}

const CalendarPager* CalendarPager::find(const AstronomyModel& model) {
    return model.findChild<CalendarPager*>(QString(), Qt::FindDirectChildrenOnly);
}

CalendarPager::CalendarPager(AstronomyModel& model) : QObject(&model), model_(model) {
    // Made after a calculation: that one's moment is taken from the inputs.
    if (!model.dateLabel().isEmpty()) {
        if (auto point = startingPoint(model)) page_ = std::move(point->first);
    }
    connect(&model, &AstronomyModel::isCalculatingChanged, this, [this] {
        if (model_.isCalculating()) calculationStarted();
    });
    // Every publication of results announces the positions.
    connect(&model, &AstronomyModel::positionsChanged, this, &CalendarPager::resultsPublished);
}

CalendarPager::~CalendarPager() = default;

void CalendarPager::calculationStarted() {
    if (auto point = startingPoint(model_)) {
        started_ = std::move(point->first);
        startedLabel_ = std::move(point->second);
    } else {
        started_.reset();
    }
}

void CalendarPager::resultsPublished() {
    std::optional<CalendarPage> page = std::exchange(started_, std::nullopt);
    // Results whose start went unseen are taken to be of the inputs as they are now.
    if (!page || startedLabel_ != model_.dateLabel()) {
        auto point = startingPoint(model_);
        if (!point) return;
        page = std::move(point->first);
    }
    if (page_) page->span = page_->span;
    update(*page);
}

void CalendarPager::setSpan(CalendarSpan span) {
    if (!page_) return;
    CalendarPage page = *page_;
    page.span = span;
    update(page);
}

void CalendarPager::resetCursor() {
    if (page_) moveCursorTo(page_->chosenYear, page_->chosenMonthIndex, page_->chosenDayIndex);
}

bool CalendarPager::moveCursorTo(std::int64_t year, int monthIndex, int dayIndex) {
    if (!page_ || year < kFirstYear || year > kLastYear || monthIndex < 0 ||
        monthIndex >= kCalendarMonths || dayIndex < 0 || dayIndex >= kCalendarDays)
        return false;
    CalendarPage page = *page_;
    page.year = year;
    page.monthIndex = monthIndex;
    page.dayIndex = dayIndex;
    update(page);
    return true;
}

bool CalendarPager::moveCursorByDays(int days) {
    if (!page_) return false;
    const std::int64_t from = dayNumber(page_->year, page_->monthIndex, page_->dayIndex);
    const std::int64_t to = std::clamp<std::int64_t>(from + days, 0, kLastDay);
    if (to == from) return false;
    return moveCursorTo(to / (kCalendarMonths * kCalendarDays) + 1,
                        static_cast<int>(to / kCalendarDays % kCalendarMonths),
                        static_cast<int>(to % kCalendarDays));
}

bool CalendarPager::moveCursorByMonths(int months) {
    if (!page_) return false;
    const std::int64_t from = (page_->year - 1) * kCalendarMonths + page_->monthIndex;
    const std::int64_t to =
        std::clamp<std::int64_t>(from + months, 0, kLastYear * kCalendarMonths - 1);
    if (to == from) return false;
    return moveCursorTo(to / kCalendarMonths + 1, static_cast<int>(to % kCalendarMonths),
                        page_->dayIndex);
}

void CalendarPager::update(const CalendarPage& page) {
    if (page_ && *page_ == page) return;
    page_ = page;
    emit changed();
}

}  // namespace morvane
