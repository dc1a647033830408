#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <optional>
#include <span>

#include "events/sky_events.h"

class QAction;
class QMenu;

namespace morvane {

class AstronomyModel;

/// One of the world's units of time the inputs step by, with its keys.
struct TimeStep {
    qint64 minutes;
    const char* name;  ///< "15 minutes", "1 hour", …
    QKeyCombination earlier;
    QKeyCombination later;
};

/// 15 minutes, an hour, a day, a month (30 days) and a year (360 days). The keys all hold Alt,
/// which no field takes for typing: the arrows and Page keys as on the hour slider (a quarter
/// hour, an hour), then up and down a day as on the day box, then Page keys with Shift a month
/// and with Ctrl a year.
inline constexpr std::array<TimeStep, 5> kTimeSteps = {{
    {15, "15 minutes", Qt::ALT | Qt::Key_Left, Qt::ALT | Qt::Key_Right},
    {60, "1 hour", Qt::ALT | Qt::Key_PageDown, Qt::ALT | Qt::Key_PageUp},
    {1440, "1 day", Qt::ALT | Qt::Key_Down, Qt::ALT | Qt::Key_Up},
    {30 * 1440, "1 month", Qt::ALT | Qt::SHIFT | Qt::Key_PageDown,
     Qt::ALT | Qt::SHIFT | Qt::Key_PageUp},
    {360 * 1440, "1 year", Qt::CTRL | Qt::ALT | Qt::Key_PageDown,
     Qt::CTRL | Qt::ALT | Qt::Key_PageUp},
}};

/// "Full Moon", "Sign Ingress": a kind's title as menus capitalise it.
QString menuTitle(EventKind kind);

/// The moment's travels: the time steps and the jumps to the next or previous event, each a
/// menu command with its shortcut. A jump searches at the model's place from the model's day
/// count and moves the inputs to the event's minute; one that finds nothing says so through
/// `notice`.
class Navigator : public QObject {
    Q_OBJECT
  public:
    Navigator(AstronomyModel* model, QObject* parent = nullptr);

    /// Fills the Go menu: the common jumps, the jumps of every kind, the steps.
    void populate(QMenu* menu);

    /// Steps the inputs; false (and the model's message) at the calendar's ends.
    bool step(qint64 minutes);
    /// Jumps to the nearest event of any of the kinds after (or before) the moment; false when
    /// there is none to go to.
    bool jump(std::span<const EventKind> kinds, bool forward);

    /// The commands, for tests and the sidebar's tooltips.
    QAction* stepAction(qint64 minutes, bool later) const;
    QAction* nextAction(EventKind kind) const;
    QAction* previousAction(EventKind kind) const;
    QAction* nextEclipseAction() const { return nextEclipse_; }
    QAction* previousEclipseAction() const { return previousEclipse_; }

  signals:
    /// Something the user should read: no event found, for one.
    void notice(const QString& text);

  private:
    QAction* makeJump(const QString& text, std::span<const EventKind> kinds, bool forward,
                      std::optional<QKeySequence> keys);

    AstronomyModel* model_;
    QList<QAction*> stepActions_;  ///< per step: earlier, later
    std::array<QAction*, kAllEventKinds.size()> next_{};
    std::array<QAction*, kAllEventKinds.size()> previous_{};
    QAction* nextEclipse_ = nullptr;
    QAction* previousEclipse_ = nullptr;
};

}  // namespace morvane
