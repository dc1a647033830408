#pragma once

#include <QWidget>

#include "export/output_tab.h"

class QVBoxLayout;

namespace morvane {

class AstronomyModel;

/// The output area: exactly one view, chosen by the selected tab, fed from the model's outputs.
/// A tab chosen again starts from its initial state: its view is made anew.
class DetailedView : public QWidget {
    Q_OBJECT
  public:
    DetailedView(AstronomyModel* model, QWidget* parent = nullptr);
    void setTab(OutputTab tab);
    [[nodiscard]] OutputTab tab() const { return tab_; }
    /// The view now shown (a ChartView, PlanetsView, TablesView, PositionsView, EventsView,
    /// DayView, CalendarView or the map picker).
    QWidget* currentView() const { return view_; }

  signals:
    /// The chart of the current tab finished loading its page.
    void chartLoaded(bool ok);

  private:
    void refresh();
    AstronomyModel* model_;
    OutputTab tab_ = OutputTab::starMap;
    QWidget* view_ = nullptr;
    QVBoxLayout* layout_;
    bool refreshPending_ = false;
};

}  // namespace morvane
