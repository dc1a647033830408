#pragma once

#include <QWidget>
#include <optional>

#include "events/light.h"

class QBoxLayout;
class QFormLayout;
class QLabel;
class QSpinBox;
class QStackedWidget;

namespace morvane {

class ChartView;
class EventList;
class LightSettings;

/// The Day output: the light of the 24 hours from the calculated moment at the calculated place,
/// as a chart with its summary beside it (below it in a narrow window), and the two moonlight
/// thresholds to change. It works the day out only while it exists, that is while its tab is
/// shown, and again only when the moment, the place or a threshold changed.
class DayView : public QWidget {
    Q_OBJECT
  public:
    DayView(EventList* list, LightSettings* settings, QWidget* parent = nullptr);

    ChartView* chart() const { return chart_; }
    /// Yael's least altitude, whole degrees.
    QSpinBox* altitudeBox() const { return altitude_; }
    /// Yael's least lit fraction, whole percent.
    QSpinBox* illuminationBox() const { return illumination_; }
    /// Place and moment above the chart.
    QLabel* headingLabel() const { return heading_; }
    /// The summary: a caption and a value a row.
    QFormLayout* summaryForm() const { return form_; }
    QLabel* placeholderLabel() const { return placeholder_; }
    [[nodiscard]] bool showsPlaceholder() const;
    /// Whether the summary sits beside the chart (else below it).
    [[nodiscard]] bool summaryBeside() const;
    /// The day shown; nothing before the first calculation.
    const std::optional<DayLight>& day() const { return day_; }
    /// How many times a day was worked out (for measurements and tests).
    [[nodiscard]] int computations() const { return computations_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// Keeps the chart's page to the chart's proportions.
    void fitChart();
    void refresh();
    void showThresholds();
    void takeThresholds();

    EventList* list_;
    LightSettings* settings_;
    QSpinBox* altitude_;
    QSpinBox* illumination_;
    QLabel* heading_;
    QStackedWidget* stack_;
    QLabel* placeholder_;
    QBoxLayout* body_;
    ChartView* chart_;
    QWidget* summary_ = nullptr;
    QFormLayout* form_;
    std::optional<DayLight> day_;
    int computations_ = 0;
};

}  // namespace morvane
