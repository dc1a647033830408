#include "ui/navigator.h"

#include <QAction>
#include <QMenu>
#include <cmath>

#include "engine/calendar.h"
#include "model/astronomy_model.h"
#include "model/calculation.h"
#include "model/event_list.h"

namespace morvane {

namespace {

// The moment a jump lands on is the event's minute, which may lie up to half a minute before
// the event (a minute and a half with local time near the date line). Searching from this far
// on leaves that event behind, so that pressing Next again goes on to the one after it; two
// events of one kind are never this close.
constexpr double kLeaveBehindDays = 90.0 / 86400.0;

constexpr std::array<EventKind, 2> kEclipses = {EventKind::solarEclipse, EventKind::lunarEclipse};

QString capitalisedWords(const QString& text) {
    QStringList words = text.split(QLatin1Char(' '));
    for (QString& word : words) {
        if (!word.isEmpty()) word[0] = word[0].toUpper();
    }
    return words.join(QLatin1Char(' '));
}

// The kind's lower-case name in a sentence: "full moon", "sign ingress".
QString inSentence(EventKind kind) {
    QString title = kindTitle(kind);
    title[0] = title[0].toLower();
    return title;
}

}  // namespace

QString menuTitle(EventKind kind) { return capitalisedWords(kindTitle(kind)); }

Navigator::Navigator(AstronomyModel* model, QObject* parent) : QObject(parent), model_(model) {
    for (const TimeStep& step : kTimeSteps) {
        const QString name = capitalisedWords(QString::fromUtf8(step.name));
        for (const bool later : {false, true}) {
            auto* action = new QAction(
                name + (later ? QStringLiteral(" Later") : QStringLiteral(" Earlier")), this);
            action->setShortcut(QKeySequence(later ? step.later : step.earlier));
            // Holding the key animates the sky: every repeat is one more step.
            action->setAutoRepeat(true);
            const qint64 minutes = later ? step.minutes : -step.minutes;
            connect(action, &QAction::triggered, this, [this, minutes] { this->step(minutes); });
            stepActions_.append(action);
        }
    }
    // Sun up, sun down; Shift goes back.
    const struct {
        EventKind kind;
        Qt::Key key;
    } common[] = {{EventKind::fullMoon, Qt::Key_F},
                  {EventKind::newMoon, Qt::Key_N},
                  {EventKind::sunrise, Qt::Key_U},
                  {EventKind::sunset, Qt::Key_D}};
    const auto keysOf = [&common](EventKind kind, bool forward) -> std::optional<QKeySequence> {
        for (const auto& entry : common) {
            if (entry.kind == kind) {
                return QKeySequence(forward ? Qt::CTRL | entry.key
                                            : Qt::CTRL | Qt::SHIFT | entry.key);
            }
        }
        return std::nullopt;
    };
    for (std::size_t i = 0; i < kAllEventKinds.size(); ++i) {
        const std::span<const EventKind> kind(&kAllEventKinds[i], 1);
        next_[i] = makeJump(QStringLiteral("Next ") + menuTitle(kAllEventKinds[i]), kind, true,
                            keysOf(kAllEventKinds[i], true));
        previous_[i] = makeJump(QStringLiteral("Previous ") + menuTitle(kAllEventKinds[i]), kind,
                                false, keysOf(kAllEventKinds[i], false));
    }
    nextEclipse_ = makeJump(QStringLiteral("Next Eclipse"), kEclipses, true,
                            QKeySequence(Qt::CTRL | Qt::Key_L));
    previousEclipse_ = makeJump(QStringLiteral("Previous Eclipse"), kEclipses, false,
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
}

QAction* Navigator::makeJump(const QString& text, std::span<const EventKind> kinds, bool forward,
                             std::optional<QKeySequence> keys) {
    auto* action = new QAction(text, this);
    if (keys) action->setShortcut(*keys);
    action->setAutoRepeat(true);  // held, it runs from event to event
    connect(action, &QAction::triggered, this, [this, kinds, forward] { jump(kinds, forward); });
    return action;
}

void Navigator::populate(QMenu* menu) {
    const auto kindIndex = [](EventKind kind) { return static_cast<std::size_t>(kind); };
    for (const EventKind kind : {EventKind::fullMoon, EventKind::newMoon}) {
        menu->addAction(next_[kindIndex(kind)]);
        menu->addAction(previous_[kindIndex(kind)]);
    }
    menu->addAction(nextEclipse_);
    menu->addAction(previousEclipse_);
    for (const EventKind kind : {EventKind::sunrise, EventKind::sunset}) {
        menu->addAction(next_[kindIndex(kind)]);
        menu->addAction(previous_[kindIndex(kind)]);
    }
    menu->addSeparator();
    QMenu* next = menu->addMenu(QStringLiteral("Ne&xt"));
    QMenu* previous = menu->addMenu(QStringLiteral("Pre&vious"));
    for (std::size_t i = 0; i < kAllEventKinds.size(); ++i) {
        next->addAction(next_[i]);
        previous->addAction(previous_[i]);
    }
    menu->addSeparator();
    for (QAction* action : stepActions_) menu->addAction(action);
}

QAction* Navigator::stepAction(qint64 minutes, bool later) const {
    for (std::size_t i = 0; i < kTimeSteps.size(); ++i) {
        if (kTimeSteps[i].minutes == minutes) {
            return stepActions_.at(static_cast<qsizetype>(2 * i + (later ? 1 : 0)));
        }
    }
    return nullptr;
}

QAction* Navigator::nextAction(EventKind kind) const {
    return next_[static_cast<std::size_t>(kind)];
}

QAction* Navigator::previousAction(EventKind kind) const {
    return previous_[static_cast<std::size_t>(kind)];
}

bool Navigator::step(qint64 minutes) { return model_->stepMinutes(minutes); }

bool Navigator::jump(std::span<const EventKind> kinds, bool forward) {
    const CalculationInputs in = CalculationInputs::of(model_->inputs(), model_->cities());
    const DayCountResult now = checkedDayCount(in);
    if (!now.t) {
        emit notice(now.error);
        return false;
    }
    const EventFinder finder(in.latitude, in.longitude);
    const double from = forward ? *now.t + kLeaveBehindDays : *now.t - kLeaveBehindDays;
    std::optional<SkyEvent> nearest;
    for (const EventKind kind : kinds) {
        const std::optional<SkyEvent> found =
            forward ? finder.next(kind, from) : finder.previous(kind, from);
        if (found && (!nearest || (forward ? found->t < nearest->t : found->t > nearest->t))) {
            nearest = found;
        }
    }
    if (!nearest) {
        const QString what = kinds.size() > 1 ? QStringLiteral("eclipse") : inSentence(kinds[0]);
        emit notice(QStringLiteral("No %1 was found within %2 years %3 %4.")
                        .arg(what)
                        .arg(std::lround(kSearchHorizonDays / 360.0))
                        .arg(forward ? QStringLiteral("after") : QStringLiteral("before"),
                             fromStd(dateLabel(*now.t))));
        return false;
    }
    return model_->goToMoment(nearest->t);
}

}  // namespace morvane
