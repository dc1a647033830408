#include "ui/widgets.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimerEvent>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace morvane {

SegmentedChoice::SegmentedChoice(const QString& first, const QString& second, QWidget* parent)
    : QWidget(parent), first_(new QPushButton(first, this)), second_(new QPushButton(second, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* group = new QButtonGroup(this);
    for (QPushButton* button : {first_, second_}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        group->addButton(button);
        layout->addWidget(button);
    }
    first_->setChecked(true);
    connect(first_, &QPushButton::clicked, this, [this] { emit chosen(true); });
    connect(second_, &QPushButton::clicked, this, [this] { emit chosen(false); });
}

bool SegmentedChoice::isFirst() const { return first_->isChecked(); }

void SegmentedChoice::setFirst(bool first) { (first ? first_ : second_)->setChecked(true); }

Stepper::Stepper(std::function<QString(double)> text, double minimum, double maximum, double stepSize,
                 QWidget* parent)
    : QWidget(parent),
      text_(std::move(text)),
      minimum_(minimum),
      maximum_(maximum),
      step_(stepSize),
      label_(new QLabel(this)),
      down_(new QToolButton(this)),
      up_(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 1);
    down_->setText(QStringLiteral("−"));
    up_->setText(QStringLiteral("+"));
    down_->setAutoRepeat(true);
    up_->setAutoRepeat(true);
    layout->addWidget(down_);
    layout->addWidget(up_);
    connect(down_, &QToolButton::clicked, this, [this] { step(-1.0); });
    connect(up_, &QToolButton::clicked, this, [this] { step(1.0); });
    refresh();
}

void Stepper::setValue(double value) {
    value_ = value;
    refresh();
}

void Stepper::step(double direction) {
    const double next = std::clamp(value_ + direction * step_, minimum_, maximum_);
    if (next == value_) return;
    value_ = next;
    refresh();
    emit stepped(value_);
}

void Stepper::refresh() {
    label_->setText(text_(value_));
    down_->setEnabled(value_ > minimum_);
    up_->setEnabled(value_ < maximum_);
}

Spinner::Spinner(QWidget* parent) : QWidget(parent) { setFixedSize(12, 12); }

void Spinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(palette().color(QPalette::ButtonText), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawArc(QRectF(1.5, 1.5, 9, 9), -angle_ * 16, 270 * 16);
}

void Spinner::timerEvent(QTimerEvent*) {
    angle_ = (angle_ + 30) % 360;
    update();
}

void Spinner::showEvent(QShowEvent*) {
    if (timer_ == 0) timer_ = startTimer(80);
}

void Spinner::hideEvent(QHideEvent*) {
    if (timer_ != 0) killTimer(timer_);
    timer_ = 0;
}

QFont monospacedFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

}  // namespace morvane
