#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace morvane {

class AstronomyModel;

/// Keeps the outputs in step with the inputs: every change of an input restarts a short timer,
/// and when it runs out the model calculates once, so a burst of changes (a held key, a drag of
/// the hour slider) costs one calculation. A change that arrives while a calculation runs is
/// calculated as soon as that one has finished. Switched off, it only tracks whether the shown
/// results still describe the inputs.
class AutoRecalculator : public QObject {
    Q_OBJECT
  public:
    explicit AutoRecalculator(AstronomyModel* model, QObject* parent = nullptr);

    /// The pause after the last change before the calculation starts.
    static constexpr int kPauseMs = 150;

    [[nodiscard]] bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    /// Whether the inputs differ from those of the shown (or running) calculation.
    [[nodiscard]] bool isStale() const { return stale_; }
    /// Whether a calculation is waiting for its pause to end.
    [[nodiscard]] bool isPending() const { return timer_.isActive() || waiting_; }

    /// Decides whether the inputs may be calculated; the sidebar refuses while a typed value is
    /// invalid. Without it every input is accepted.
    void setGate(std::function<bool()> gate) { gate_ = std::move(gate); }

  signals:
    void staleChanged(bool stale);

  private:
    // The inputs as they are, not their day count: a damaged value must be compared, never
    // handed to the calendar (the model's own guard reports it when it calculates).
    struct Moment {
        double latitude;
        double longitude;
        qint64 year;
        qint64 monthIndex;
        qint64 dayIndex;
        double hour;
        bool useLocalTime;
        bool operator==(const Moment&) const = default;
    };
    Moment current() const;
    void inputChanged();
    void calculationStateChanged();
    void fire();
    void updateStale();

    AstronomyModel* model_;
    QTimer timer_;
    bool enabled_ = true;
    bool waiting_ = false;  ///< a change came while a calculation was running
    bool stale_ = false;
    std::optional<Moment> calculated_;  ///< the inputs of the last calculation started
    std::function<bool()> gate_;
};

}  // namespace morvane
