#include "model/event_list.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "engine/calendar.h"
#include "model/astronomy_model.h"
#include "model/calculation.h"
#include "model/settings_store.h"

namespace morvane {

namespace {

const QString kSpanKey = QStringLiteral("Events/span");
const QString kGroupsKey = QStringLiteral("Events/groups");

struct SpanInfo {
    const char* key;
    const char* title;
    double days;
};

constexpr std::array<SpanInfo, 3> kSpans = {{
    {"day", "1 day", 1.0},
    {"month", "1 month (30 days)", 30.0},
    {"year", "1 year (360 days)", 360.0},
}};

using K = EventKind;
constexpr K kPhases[] = {K::newMoon, K::firstQuarter, K::fullMoon, K::lastQuarter};
constexpr K kEclipses[] = {K::solarEclipse, K::lunarEclipse};
constexpr K kConjunctions[] = {K::conjunction};
constexpr K kOppositions[] = {K::opposition};
constexpr K kRisesAndSets[] = {K::sunrise, K::sunset, K::moonrise, K::moonset};
constexpr K kNoonAndMidnight[] = {K::noon, K::midnight};
constexpr K kTwilight[] = {K::civilDawn,    K::civilDusk,        K::nauticalDawn,
                           K::nauticalDusk, K::astronomicalDawn, K::astronomicalDusk};
constexpr K kIngresses[] = {K::ingress};
constexpr K kSeasons[] = {K::equinox, K::solstice};

struct GroupInfo {
    const char* key;
    const char* title;
    std::span<const EventKind> kinds;
};

const std::array<GroupInfo, kAllEventGroups.size()> kGroups = {{
    {"phases", "Moon phases", kPhases},
    {"eclipses", "Eclipses", kEclipses},
    {"conjunctions", "Conjunctions", kConjunctions},
    {"oppositions", "Oppositions", kOppositions},
    {"rises-and-sets", "Rises and sets", kRisesAndSets},
    {"noon-and-midnight", "Noon and midnight", kNoonAndMidnight},
    {"twilight", "Dawn and dusk", kTwilight},
    {"ingresses", "Sign ingresses", kIngresses},
    {"seasons", "Equinoxes and solstices", kSeasons},
}};

const GroupInfo& info(EventGroup group) { return kGroups[static_cast<std::size_t>(group)]; }
const SpanInfo& info(EventSpan span) { return kSpans[static_cast<std::size_t>(span)]; }

constexpr std::uint16_t kAllBits = (1U << kAllEventGroups.size()) - 1U;

// The moment and place a calculation from the model's inputs starts from; nothing when the
// inputs cannot be calculated.
std::optional<EventQuery> startingPoint(const AstronomyModel& model, const EventOptions& options) {
    const CalculationInputs in = CalculationInputs::of(model.inputs(), model.cities());
    const DayCountResult moment = checkedDayCount(in);
    if (!moment.t) return std::nullopt;
    return EventQuery{moment.t, in.latitude, in.longitude,
                      model.inputs().placeLabel(model.cities(), "  "), options};
}

bool sameQuery(const EventQuery& a, const EventQuery& b) {
    return a.t == b.t && a.latitude == b.latitude && a.longitude == b.longitude &&
           a.placeLabel == b.placeLabel && a.options == b.options;
}

}  // namespace

QString kindTitle(EventKind kind) {
    static const std::array<const char*, kAllEventKinds.size()> titles = {
        "New moon",      "First quarter", "Full moon",     "Last quarter",      "Solar eclipse",
        "Lunar eclipse", "Conjunction",   "Opposition",    "Sunrise",           "Sunset",
        "Moonrise",      "Moonset",       "Noon",          "Midnight",          "Civil dawn",
        "Civil dusk",    "Nautical dawn", "Nautical dusk", "Astronomical dawn", "Astronomical dusk",
        "Sign ingress",  "Equinox",       "Solstice"};
    return QString::fromUtf8(titles[static_cast<std::size_t>(kind)]);
}

double spanDays(EventSpan span) { return info(span).days; }

QString spanTitle(EventSpan span) { return QString::fromUtf8(info(span).title); }

QString groupTitle(EventGroup group) { return QString::fromUtf8(info(group).title); }

std::span<const EventKind> groupKinds(EventGroup group) { return info(group).kinds; }

EventFilter EventFilter::all() {
    EventFilter filter;
    filter.bits_ = kAllBits;
    return filter;
}

bool EventFilter::shows(EventGroup group) const {
    return (bits_ & (1U << static_cast<unsigned>(group))) != 0;
}

void EventFilter::setShown(EventGroup group, bool shown) {
    const auto bit = static_cast<std::uint16_t>(1U << static_cast<unsigned>(group));
    bits_ = shown ? (bits_ | bit) : (bits_ & ~bit);
}

bool EventFilter::showsAll() const { return bits_ == kAllBits; }

std::vector<EventKind> EventFilter::kinds() const {
    std::vector<EventKind> kinds;
    for (const EventKind kind : kAllEventKinds) {
        for (const EventGroup group : kAllEventGroups) {
            const auto members = groupKinds(group);
            if (shows(group) && std::find(members.begin(), members.end(), kind) != members.end())
                kinds.push_back(kind);
        }
    }
    return kinds;
}

QString EventFilter::text() const {
    if (showsAll()) return QStringLiteral("all");
    if (showsNone()) return QStringLiteral("none");
    QStringList titles;
    for (const EventGroup group : kAllEventGroups) {
        if (shows(group)) titles << groupTitle(group);
    }
    return titles.join(QStringLiteral(", "));
}

EventOptions EventOptions::load(const SettingsStore& store) {
    EventOptions options;
    if (const auto span = storedText(store.value(kSpanKey))) {
        for (const EventSpan candidate : kAllEventSpans) {
            if (*span == QLatin1String(info(candidate).key)) options.span = candidate;
        }
    }
    // A list typed into the settings file by hand comes back as a list rather than as text.
    const QVariant stored = store.value(kGroupsKey);
    std::optional<QString> groups = storedText(stored);
    if (!groups && stored.typeId() == QMetaType::QStringList)
        groups = stored.toStringList().join(QLatin1Char(','));
    if (groups) {
        options.filter = EventFilter();
        static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
        for (const QString& key : groups->split(separators, Qt::SkipEmptyParts)) {
            for (const EventGroup group : kAllEventGroups) {
                if (key == QLatin1String(info(group).key)) options.filter.setShown(group, true);
            }
        }
    }
    return options;
}

void EventOptions::save(SettingsStore& store) const {
    store.setText(kSpanKey, QString::fromLatin1(info(span).key));
    QStringList keys;
    for (const EventGroup group : kAllEventGroups) {
        if (filter.shows(group)) keys << QString::fromLatin1(info(group).key);
    }
    store.setText(kGroupsKey, keys.join(QLatin1Char(',')));
}

std::vector<SkyEvent> EventQuery::find() const {
    if (!t) return {};
    const std::vector<EventKind> kinds = options.filter.kinds();
    if (kinds.empty()) return {};
    return EventFinder(latitude, longitude).between(kinds, *t, *t + spanDays(options.span));
}

QString EventQuery::spanText() const {
    if (!t) return {};
    return spanTitle(options.span) + QStringLiteral(" from ") + fromStd(dateLabel(*t));
}

EventList& EventList::of(AstronomyModel& model) {
    if (EventList* list = model.findChild<EventList*>(QString(), Qt::FindDirectChildrenOnly))
        return *list;
    return attach(model, std::make_unique<QSettingsStore>());
}

EventList& EventList::attach(AstronomyModel& model, std::unique_ptr<SettingsStore> settings) {
    if (EventList* list = model.findChild<EventList*>(QString(), Qt::FindDirectChildrenOnly))
        return *list;
    return *new EventList(model, std::move(settings));
}

const EventList* EventList::find(const AstronomyModel& model) {
    return model.findChild<EventList*>(QString(), Qt::FindDirectChildrenOnly);
}

EventList::EventList(AstronomyModel& model, std::unique_ptr<SettingsStore> settings)
    : QObject(&model), model_(model), settings_(std::move(settings)) {
    query_.options = EventOptions::load(*settings_);
    // Made after a calculation: that one's moment is taken from the inputs.
    if (!model.dateLabel().isEmpty()) {
        if (auto point = startingPoint(model, query_.options)) query_ = std::move(*point);
    }
    connect(&model, &AstronomyModel::isCalculatingChanged, this, [this] {
        if (model_.isCalculating()) calculationStarted();
    });
    // Every publication of results announces the positions.
    connect(&model, &AstronomyModel::positionsChanged, this, &EventList::resultsPublished);
}

EventList::~EventList() = default;

void EventList::calculationStarted() { started_ = startingPoint(model_, query_.options); }

void EventList::resultsPublished() {
    std::optional<EventQuery> point = std::exchange(started_, std::nullopt);
    // Results whose start went unseen are taken to be of the inputs as they are now.
    if (!point || fromStd(dateLabel(*point->t)) != model_.dateLabel())
        point = startingPoint(model_, query_.options);
    if (point) {
        point->options = query_.options;
        update(std::move(*point));
    }
}

const std::vector<SkyEvent>& EventList::events() const {
    if (!events_) events_ = query_.find();
    return *events_;
}

void EventList::setSpan(EventSpan span) {
    EventQuery query = query_;
    query.options.span = span;
    query.options.save(*settings_);
    update(std::move(query));
}

void EventList::setFilter(const EventFilter& filter) {
    EventQuery query = query_;
    query.options.filter = filter;
    query.options.save(*settings_);
    update(std::move(query));
}

void EventList::update(EventQuery query) {
    if (sameQuery(query, query_)) return;
    query_ = std::move(query);
    events_.reset();
    emit changed();
}

}  // namespace morvane
