#include "ui/widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimerEvent>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

double channel(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color) {
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

// `top` laid over an opaque `bottom` by its alpha.
QColor over(const QColor& top, const QColor& bottom) {
    const double a = top.alphaF();
    return QColor::fromRgbF(static_cast<float>(top.redF() * a + bottom.redF() * (1.0 - a)),
                            static_cast<float>(top.greenF() * a + bottom.greenF() * (1.0 - a)),
                            static_cast<float>(top.blueF() * a + bottom.blueF() * (1.0 - a)));
}

QColor mixed(const QColor& a, const QColor& b, double share) {
    QColor c = b;
    c.setAlpha(255);
    QColor top = a;
    top.setAlphaF(static_cast<float>(share));
    return over(top, c);
}

// Above this luminance black text contrasts more than white text does.
constexpr double kLightLuminance = 0.179;

bool isLight(const QColor& color) { return luminance(color) > kLightLuminance; }

}  // namespace

double contrastRatio(QColor a, QColor b) {
    b.setAlpha(255);  // the lower colour is taken as it is drawn: opaque
    a = over(a, b);
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor withContrast(QColor color, QColor against, double ratio) {
    against.setAlpha(255);
    color = over(color, against);
    if (contrastRatio(color, against) >= ratio) return color;
    const QColor target = isLight(against) ? QColor(Qt::black) : QColor(Qt::white);
    // The contrast grows steadily on the way to black or white: halve the interval to the
    // smallest step that reaches the ratio.
    double low = 0.0;
    double high = 1.0;
    for (int i = 0; i < 20; ++i) {
        const double middle = (low + high) / 2.0;
        if (contrastRatio(mixed(target, color, middle), against) >= ratio) {
            high = middle;
        } else {
            low = middle;
        }
    }
    return mixed(target, color, high);
}

QColor secondaryTextColor(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    return withContrast(mixed(palette.color(QPalette::WindowText), window, 0.65), window);
}

QColor errorTextColor(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    const QColor red = isLight(window) ? QColor(0xb0, 0x1c, 0x1c) : QColor(0xff, 0x8a, 0x80);
    return withContrast(red, window);
}

/// One segment of a SegmentedChoice: drawn by itself, so that the chosen state does not hang on
/// the style's idea of a pressed button.
class SegmentButton : public QPushButton {
  public:
    SegmentButton(const QString& text, SegmentedChoice* owner, bool first)
        : QPushButton(text, owner), owner_(owner), first_(first) {}

    QSize sizeHint() const override {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);  // the chosen, wider weight: no jump when chosen
        const int height = metrics.height() + 12;
        return {std::max(metrics.horizontalAdvance(text()) + 24, height), height};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette& colours = palette();
        const qreal radius = 4.0;
        // Round only the outer corners: draw past the inner edge and clip it away.
        QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        shape = first_ ? shape.adjusted(0, 0, radius + 1, 0) : shape.adjusted(-radius - 1, 0, 0, 0);
        painter.setClipRect(rect());
        painter.setPen(QPen(colours.color(QPalette::Mid), 1.0));
        painter.setBrush(colours.color(QPalette::Button));
        painter.drawRoundedRect(shape, radius, radius);
        if (hasFocus()) {
            QPen ring(colours.color(QPalette::ButtonText), 1.0, Qt::DotLine);
            painter.setPen(ring);
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 2.0, 2.0);
        }
        painter.setPen(colours.color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }

    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                owner_->chooseByKey(true);
                break;
            case Qt::Key_Right:
            case Qt::Key_Down:
                owner_->chooseByKey(false);
                break;
            default:
                QPushButton::keyPressEvent(event);
        }
    }

  private:
    SegmentedChoice* owner_;
    bool first_;
};

SegmentedChoice::SegmentedChoice(const QString& first, const QString& second, QWidget* parent)
    : QWidget(parent),
      first_(new SegmentButton(first, this, true)),
      second_(new SegmentButton(second, this, false)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* group = new QButtonGroup(this);
    for (QPushButton* button : {first_, second_}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
        group->addButton(button);
        layout->addWidget(button);
        connect(button, &QPushButton::toggled, this, &SegmentedChoice::restyle);
    }
    first_->setChecked(true);
    connect(first_, &QPushButton::clicked, this, [this] { emit chosen(true); });
    connect(second_, &QPushButton::clicked, this, [this] { emit chosen(false); });
    restyle();
}

bool SegmentedChoice::isFirst() const { return first_->isChecked(); }

void SegmentedChoice::setFirst(bool first) { (first ? first_ : second_)->setChecked(true); }

void SegmentedChoice::setAccessibleNames(const QString& first, const QString& second,
                                         const QString& description) {
    first_->setAccessibleName(first);
    second_->setAccessibleName(second);
    if (description.isEmpty()) return;
    first_->setAccessibleDescription(description);
    second_->setAccessibleDescription(description);
}

void SegmentedChoice::chooseByKey(bool first) {
    QPushButton* target = first ? first_ : second_;
    const bool hadFocus = first_->hasFocus() || second_->hasFocus();
    if (!target->isChecked()) target->click();
    if (hadFocus) target->setFocus(Qt::TabFocusReason);
}

void SegmentedChoice::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) restyle();
}

void SegmentedChoice::restyle() {
    const QPalette& inherited = palette();
    for (QPushButton* button : {first_, second_}) {
        const bool on = button->isChecked();
        QPalette colours = button->palette();
        for (const QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            QColor text =
                inherited.color(group, on ? QPalette::HighlightedText : QPalette::ButtonText);
            QColor fill = inherited.color(group, on ? QPalette::Highlight : QPalette::Button);
            if (on) {
                fill = withContrast(fill, text);  // many highlights are too light for white text
            } else {
                text = withContrast(text, fill);
            }
            colours.setColor(group, QPalette::Button, fill);
            colours.setColor(group, QPalette::ButtonText, text);
        }
        button->setPalette(colours);
        QFont font = button->font();
        font.setBold(on);
        button->setFont(font);
        // One stop in the Tab chain: the chosen segment; the arrow keys reach the other one.
        button->setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
    }
}

Stepper::Stepper(std::function<QString(double)> text, double minimum, double maximum,
                 double stepSize, QWidget* parent)
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

void Stepper::setAccessibleSubject(const QString& subject) {
    down_->setAccessibleName(QStringLiteral("%1: minus").arg(subject));
    up_->setAccessibleName(QStringLiteral("%1: plus").arg(subject));
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

TonedLabel::TonedLabel(const QString& text, Tone tone, QWidget* parent)
    : QLabel(text, parent), tone_(tone) {
    applyColor();
}

void TonedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) {
        applyColor();
    }
}

void TonedLabel::applyColor() {
    if (applying_) return;  // setting the colour is itself a palette change
    applying_ = true;
    // From the palette this label would have without its own colour.
    const QPalette inherited =
        parentWidget() != nullptr ? parentWidget()->palette() : QApplication::palette(this);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, tone_(inherited));
    setPalette(colours);
    applying_ = false;
}

QFont monospacedFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

}  // namespace morvane
