#include "ui/day_view.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <algorithm>
#include <cmath>

#include "charts/day_chart.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "events/light_text.h"
#include "model/calculation.h"
#include "model/event_list.h"
#include "model/light_settings.h"
#include "ui/output_views.h"
#include "ui/widgets.h"

namespace morvane {

namespace {

// Below this width the chart would be squeezed to a strip beside the summary: the summary goes
// under it instead.
constexpr int kBesideMinWidth = 900;
constexpr int kChartMinHeight = 200;
// The chart is twice as wide as high.
constexpr int kChartAspect = 2;

QFrame* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    if (buddy != nullptr) label->setBuddy(buddy);
    return label;
}

}  // namespace

DayView::DayView(EventList* list, LightSettings* settings, QWidget* parent)
    : QWidget(parent),
      list_(list),
      settings_(settings),
      altitude_(new QSpinBox(this)),
      illumination_(new QSpinBox(this)),
      heading_(new SecondaryLabel(QString(), this)),
      stack_(new QStackedWidget(this)),
      placeholder_(new SecondaryLabel(QString(), this)),
      chart_(new ChartView(this)),
      form_(new QFormLayout) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // "Moonlight: Yael above [0°] and at least [50 %] lit", read as one sentence.
    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(8, 8, 8, 4);
    controls->setSpacing(6);
    altitude_->setRange(-90, 90);
    altitude_->setSuffix(QStringLiteral("°"));
    altitude_->setAccessibleName(QStringLiteral("Yael's least altitude for moonlight"));
    illumination_->setRange(0, 100);
    illumination_->setSuffix(QStringLiteral(" %"));
    illumination_->setAccessibleName(QStringLiteral("Yael's least lit fraction for moonlight"));
    const QString help = QStringLiteral(
        "A sky darker than civil twilight counts as dim, not dark, while Yael stands above this "
        "altitude with at least this much of her disc lit, and is not eclipsed.");
    for (QSpinBox* box : {altitude_, illumination_}) {
        box->setAccessibleDescription(help);
        box->setToolTip(help);
        box->setFocusPolicy(Qt::StrongFocus);  // a passing scroll wheel must not change it
        box->setKeyboardTracking(false);       // typing "45" is one change, not "4" then "45"
    }
    controls->addWidget(caption(QStringLiteral("Moonlight: Yael above"), altitude_, this));
    controls->addWidget(altitude_);
    controls->addWidget(caption(QStringLiteral("and at least"), illumination_, this));
    controls->addWidget(illumination_);
    controls->addWidget(caption(QStringLiteral("lit"), nullptr, this));
    controls->addStretch();
    layout->addLayout(controls);

    heading_->setTextFormat(Qt::PlainText);
    heading_->setWordWrap(true);
    heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    heading_->setContentsMargins(8, 0, 8, 8);
    heading_->setAccessibleDescription(QStringLiteral("The place and the day shown"));
    layout->addWidget(heading_);
    layout->addWidget(divider(this));

    placeholder_->setTextFormat(Qt::PlainText);
    placeholder_->setWordWrap(true);
    placeholder_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeholder_->setMargin(11);
    placeholder_->setText(
        QStringLiteral("No day yet: its light is drawn once the sky is calculated."));
    stack_->addWidget(placeholder_);

    auto* content = new QWidget(stack_);
    body_ = new QBoxLayout(QBoxLayout::LeftToRight, content);
    body_->setContentsMargins(0, 0, 0, 0);
    body_->setSpacing(0);
    chart_->setMinimumSize(360, kChartMinHeight);
    chart_->installEventFilter(this);
    stack_->installEventFilter(this);
    // The chart keeps to its own proportions at the top; what is left of the height stays empty.
    auto* column = new QVBoxLayout;
    column->addWidget(chart_);
    column->addStretch();
    body_->addLayout(column, 1);
    auto* scroll = new QScrollArea(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* panel = new QWidget(scroll);
    panel->setLayout(form_);
    form_->setContentsMargins(11, 11, 11, 11);
    form_->setRowWrapPolicy(QFormLayout::DontWrapRows);
    form_->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    scroll->setWidget(panel);
    scroll->setMinimumWidth(320);
    summary_ = scroll;
    scroll->setAccessibleName(QStringLiteral("Summary of the day"));
    body_->addWidget(scroll);
    stack_->addWidget(content);
    layout->addWidget(stack_, 1);

    connect(altitude_, &QSpinBox::valueChanged, this, &DayView::takeThresholds);
    connect(illumination_, &QSpinBox::valueChanged, this, &DayView::takeThresholds);
    connect(settings_, &LightSettings::thresholdsChanged, this, [this] {
        showThresholds();
        refresh();
    });
    connect(list_, &EventList::changed, this, &DayView::refresh);
    showThresholds();
    refresh();
}

bool DayView::showsPlaceholder() const { return stack_->currentWidget() == placeholder_; }

bool DayView::summaryBeside() const { return body_->direction() == QBoxLayout::LeftToRight; }

void DayView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const bool beside = width() >= kBesideMinWidth;
    body_->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    body_->setStretch(0, beside ? 1 : 0);
    body_->setStretch(1, beside ? 0 : 1);
    fitChart();
}

bool DayView::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == chart_ || watched == stack_) && event->type() == QEvent::Resize) fitChart();
    return QWidget::eventFilter(watched, event);
}

void DayView::fitChart() {
    const QMargins margins = chart_->layout()->contentsMargins();
    int height = (chart_->width() - margins.left() - margins.right()) / kChartAspect +
                 margins.top() + margins.bottom();
    // Beside the summary the chart may take the whole height; below it, the summary needs some
    // room of its own.
    const int room = summaryBeside() ? stack_->height() : stack_->height() * 3 / 5;
    chart_->setFixedHeight(std::max(kChartMinHeight, std::min(height, room)));
}

void DayView::showThresholds() {
    const MoonlightThresholds& t = settings_->thresholds();
    const QSignalBlocker altitudeBlocker(altitude_);
    const QSignalBlocker illuminationBlocker(illumination_);
    altitude_->setValue(static_cast<int>(std::lround(t.minAltitude * kDegreesPerRadian)));
    illumination_->setValue(static_cast<int>(std::lround(t.minIllumination * 100.0)));
}

void DayView::takeThresholds() {
    // Only the box the user changed is written: the other keeps a stored value that a whole
    // number in its box only approximates.
    MoonlightThresholds t = settings_->thresholds();
    const int degrees = static_cast<int>(std::lround(t.minAltitude * kDegreesPerRadian));
    const int percent = static_cast<int>(std::lround(t.minIllumination * 100.0));
    if (altitude_->value() != degrees) t.minAltitude = altitude_->value() / kDegreesPerRadian;
    if (illumination_->value() != percent) t.minIllumination = illumination_->value() / 100.0;
    settings_->setThresholds(t);
}

void DayView::refresh() {
    const EventQuery& query = list_->query();
    if (!query.t) {
        day_.reset();
        heading_->clear();
        heading_->hide();
        stack_->setCurrentWidget(placeholder_);
        return;
    }
    const MoonlightThresholds& thresholds = settings_->thresholds();
    // The Events list also changes with its span and filter, which leave the day as it was.
    if (day_ && day_->start == *query.t && day_->latitude == query.latitude &&
        day_->longitude == query.longitude && day_->thresholds == thresholds)
        return;
    day_ = dayLight(*query.t, query.latitude, query.longitude, thresholds);
    ++computations_;

    chart_->setSvg(fromStd(dayChartDocument(*day_)));
    chart_->setTextAlternative(QStringLiteral("Day chart"), fromStd(daySummaryText(*day_)));
    heading_->setText(query.placeLabel + QStringLiteral("  ·  24 hours from ") +
                      fromStd(dateLabelWithLocalTime(*query.t, query.longitude)));
    heading_->show();

    while (form_->rowCount() > 0) form_->removeRow(0);
    for (const SummaryFact& fact : daySummaryFacts(*day_)) {
        auto* name = new SecondaryLabel(fromStd(fact.label), form_->parentWidget());
        name->setTextFormat(Qt::PlainText);
        auto* value = new QLabel(fromStd(fact.value), form_->parentWidget());
        value->setTextFormat(Qt::PlainText);
        value->setWordWrap(true);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setAccessibleName(name->text());
        name->setBuddy(value);
        form_->addRow(name, value);
    }
    stack_->setCurrentIndex(1);
}

}  // namespace morvane
