#pragma once

// Small controls the views share: a two-way segmented choice, a stepper, a busy spinner, a
// muted label, and the colour rules that keep their text readable in light and dark palettes.

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>
#include <functional>

class QToolButton;

namespace morvane {

/// The contrast ratio of two colours by their relative luminance (WCAG 2): 1 for equal
/// colours, 21 for black on white. Translucent colours count as laid over the other one.
double contrastRatio(QColor a, QColor b);

/// `color` darkened or lightened, keeping its hue, just enough to reach `ratio` against
/// `against`; unchanged when it already does. Any ratio up to 4.58 can be reached.
QColor withContrast(QColor color, QColor against, double ratio = 4.5);

/// A muted text colour for captions and placeholders that still reaches 4.5:1 on the
/// palette's Window colour.
QColor secondaryTextColor(const QPalette& palette);

/// A red for error text that reaches 4.5:1 on the palette's Window colour: dark red on a light
/// window, light red on a dark one.
QColor errorTextColor(const QPalette& palette);

/// Two buttons side by side of which exactly one is on; the first stands for true.
/// The chosen segment is filled with the palette's highlight and set in bold, so that it reads
/// as chosen in light and dark palettes alike. The pair is one stop of the Tab chain; the arrow
/// keys move the choice.
class SegmentedChoice : public QWidget {
    Q_OBJECT
  public:
    SegmentedChoice(const QString& first, const QString& second, QWidget* parent = nullptr);
    [[nodiscard]] bool isFirst() const;
    /// Shows the choice without announcing it.
    void setFirst(bool first);
    QPushButton* firstButton() const { return first_; }
    QPushButton* secondButton() const { return second_; }
    /// Names the segments for assistive technology where their labels are too short ("N" →
    /// "North"); `description`, when given, tells both what the choice is about.
    void setAccessibleNames(const QString& first, const QString& second,
                            const QString& description = {});

  signals:
    /// The user chose: true for the first button.
    void chosen(bool first);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    friend class SegmentButton;
    /// An arrow key on a segment: choose that side as a click would and keep the focus on it.
    void chooseByKey(bool first);
    /// Colours, weight and focus of both segments from the current palette and choice.
    void restyle();

    QPushButton* first_;
    QPushButton* second_;
};

/// A label with − and + buttons that move a value within bounds and stop at both ends.
class Stepper : public QWidget {
    Q_OBJECT
  public:
    /// `text` makes the label from the value.
    Stepper(std::function<QString(double)> text, double minimum, double maximum, double stepSize,
            QWidget* parent = nullptr);
    [[nodiscard]] double value() const { return value_; }
    /// Shows a value without announcing it (out-of-range values are shown as they are).
    void setValue(double value);
    QToolButton* downButton() const { return down_; }
    QToolButton* upButton() const { return up_; }
    QLabel* label() const { return label_; }
    /// Names the buttons after what they change ("Day" → "Day: minus", "Day: plus").
    void setAccessibleSubject(const QString& subject);

  signals:
    void stepped(double value);

  private:
    void step(double direction);
    void refresh();

    std::function<QString(double)> text_;
    double minimum_;
    double maximum_;
    double step_;
    double value_ = 0.0;
    QLabel* label_;
    QToolButton* down_;
    QToolButton* up_;
};

/// A small turning arc for "working…".
class Spinner : public QWidget {
  public:
    explicit Spinner(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {12, 12}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    int angle_ = 0;
    int timer_ = 0;
};

/// A label whose text colour is worked out from the palette it sits in, and again at every
/// palette change, so that it stays readable when the theme changes while the program runs.
class TonedLabel : public QLabel {
  public:
    using Tone = QColor (*)(const QPalette&);
    TonedLabel(const QString& text, Tone tone, QWidget* parent = nullptr);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void applyColor();
    Tone tone_;
    bool applying_ = false;
};

/// A caption or placeholder in the secondary text colour.
class SecondaryLabel : public TonedLabel {
  public:
    explicit SecondaryLabel(const QString& text, QWidget* parent = nullptr)
        : TonedLabel(text, secondaryTextColor, parent) {}
};

/// An error or a rule the input broke, in the error colour.
class ErrorLabel : public TonedLabel {
  public:
    explicit ErrorLabel(const QString& text, QWidget* parent = nullptr)
        : TonedLabel(text, errorTextColor, parent) {}
};

/// The monospaced font of the tables and read-outs.
QFont monospacedFont();

}  // namespace morvane
