#include "ui/auto_recalculator.h"

#include "model/astronomy_model.h"

namespace morvane {

AutoRecalculator::AutoRecalculator(AstronomyModel* model, QObject* parent)
    : QObject(parent), model_(model) {
    timer_.setSingleShot(true);
    timer_.setInterval(kPauseMs);
    connect(&timer_, &QTimer::timeout, this, &AutoRecalculator::fire);
    for (auto signal : {&AstronomyModel::selectedCityIDChanged,
                        &AstronomyModel::manualLatDegChanged, &AstronomyModel::manualLongDegChanged,
                        &AstronomyModel::latNorthChanged, &AstronomyModel::longWestChanged,
                        &AstronomyModel::monthIndexChanged, &AstronomyModel::dayIndexChanged,
                        &AstronomyModel::yearChanged, &AstronomyModel::hourChanged,
                        &AstronomyModel::useLocalTimeChanged, &AstronomyModel::citiesChanged}) {
        connect(model_, signal, this, &AutoRecalculator::inputChanged);
    }
    connect(model_, &AstronomyModel::isCalculatingChanged, this,
            &AutoRecalculator::calculationStateChanged);
}

void AutoRecalculator::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!enabled_) {
        timer_.stop();
        waiting_ = false;
    } else if (stale_) {
        timer_.start();
    }
}

AutoRecalculator::Moment AutoRecalculator::current() const {
    return {model_->latitude(), model_->longitude(), model_->year(),        model_->monthIndex(),
            model_->dayIndex(), model_->hour(),      model_->useLocalTime()};
}

void AutoRecalculator::inputChanged() {
    updateStale();
    if (enabled_ && stale_) timer_.start();  // restarts: a burst waits for its last change
}

void AutoRecalculator::calculationStateChanged() {
    if (model_->isCalculating()) {
        // Whoever started it, the results on their way describe the inputs of this moment.
        calculated_ = current();
        updateStale();
        return;
    }
    if (waiting_) {
        waiting_ = false;
        fire();
    }
}

void AutoRecalculator::fire() {
    if (!enabled_ || !stale_) return;
    if (gate_ && !gate_()) return;
    if (model_->isCalculating()) {
        waiting_ = true;
        return;
    }
    model_->calculate();
}

void AutoRecalculator::updateStale() {
    // Before the first calculation there is nothing shown that could be out of date.
    const bool stale = calculated_.has_value() && !(*calculated_ == current());
    if (stale == stale_) return;
    stale_ = stale;
    emit staleChanged(stale_);
}

}  // namespace morvane
