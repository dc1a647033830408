#include "ui/detailed_view.h"

#include <QVBoxLayout>

#include "model/astronomy_model.h"
#include "model/calendar_pager.h"
#include "model/event_list.h"
#include "model/light_settings.h"
#include "ui/calendar_view.h"
#include "ui/day_view.h"
#include "ui/events_view.h"
#include "ui/map_location_picker.h"
#include "ui/output_views.h"

namespace morvane {

DetailedView::DetailedView(AstronomyModel* model, QWidget* parent)
    : QWidget(parent), model_(model), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    // The Events output follows every calculation from the start, shown or not.
    EventList::of(*model_);
    CalendarPager::of(*model_);
    // A finished calculation updates the visible view at once. The model announces its outputs
    // one after another in one go; they are taken together in one refresh right after, so a
    // chart's page loads once per calculation.
    for (auto signal :
         {&AstronomyModel::starMapSVGChanged, &AstronomyModel::horoscopeSVGChanged,
          &AstronomyModel::positionsChanged, &AstronomyModel::basicTableHourlyChanged,
          &AstronomyModel::basicTableMonthlyChanged, &AstronomyModel::nextFullMoonLabelChanged,
          &AstronomyModel::nextNewMoonLabelChanged, &AstronomyModel::conjunctionDailyChanged,
          &AstronomyModel::conjunctionYearlyChanged}) {
        connect(model_, signal, this, [this] {
            if (refreshPending_) return;
            refreshPending_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    refreshPending_ = false;
                    refresh();
                },
                Qt::QueuedConnection);
        });
    }
    setTab(OutputTab::starMap);
}

void DetailedView::setTab(OutputTab tab) {
    tab_ = tab;
    if (view_ != nullptr) {
        layout_->removeWidget(view_);
        view_->hide();         // gone at once, even before the event loop deletes it
        view_->deleteLater();  // releases a chart's web view too
    }
    switch (tab) {
        case OutputTab::starMap:
        case OutputTab::horoscope: {
            auto* chart = new ChartView(this);
            connect(chart->svgView(), &SVGView::pageLoaded, this, &DetailedView::chartLoaded);
            view_ = chart;
            break;
        }
        case OutputTab::planets:
            view_ = new PlanetsView(this);
            break;
        case OutputTab::sunMoon: {
            auto* tables = new TablesView(this);
            connect(tables, &TablesView::momentChosen, model_,
                    [model = model_](double t) { model->goToMoment(t); });
            view_ = tables;
            break;
        }
        case OutputTab::positions: {
            auto* tables = new PositionsView(this);
            connect(tables, &PositionsView::momentChosen, model_,
                    [model = model_](double t) { model->goToMoment(t); });
            view_ = tables;
            break;
        }
        case OutputTab::events: {
            auto* events = new EventsView(&EventList::of(*model_), this);
            connect(events, &EventsView::momentChosen, model_,
                    [model = model_](double t) { model->goToMoment(t); });
            view_ = events;
            break;
        }
        case OutputTab::day:
            view_ = new DayView(&EventList::of(*model_), &LightSettings::of(*model_), this);
            break;
        case OutputTab::calendar: {
            auto* calendar = new CalendarView(model_, this);
            connect(calendar->chart()->svgView(), &SVGView::pageLoaded, this,
                    &DetailedView::chartLoaded);
            view_ = calendar;
            break;
        }
        case OutputTab::location:
            view_ = new MapLocationPickerView(model_, this);
            break;
    }
    layout_->addWidget(view_);
    refresh();
}

void DetailedView::refresh() {
    switch (tab_) {
        case OutputTab::starMap: {
            auto* chart = static_cast<ChartView*>(view_);
            chart->setSvg(model_->starMapSVG());
            chart->setTextAlternative(QStringLiteral("Star map"),
                                      positionsDescription(model_->positions()));
            break;
        }
        case OutputTab::horoscope: {
            auto* chart = static_cast<ChartView*>(view_);
            chart->setSvg(model_->horoscopeSVG());
            chart->setTextAlternative(QStringLiteral("Horoscope chart"),
                                      chartLegendText(model_->horoscopeSVG()));
            break;
        }
        case OutputTab::planets:
            static_cast<PlanetsView*>(view_)->setPositions(model_->positions());
            break;
        case OutputTab::sunMoon:
            static_cast<TablesView*>(view_)->setTables(
                model_->basicTableHourly(), model_->basicTableMonthly(),
                model_->nextFullMoonLabel(), model_->nextNewMoonLabel());
            break;
        case OutputTab::positions:
            static_cast<PositionsView*>(view_)->setTables(model_->conjunctionDaily(),
                                                          model_->conjunctionYearly());
            break;
        case OutputTab::events:
        case OutputTab::day:
        case OutputTab::calendar:
        case OutputTab::location:
            break;  // they follow the model themselves
    }
}

}  // namespace morvane
