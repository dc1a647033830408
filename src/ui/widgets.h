#pragma once

// Small controls the views share: a two-way segmented choice, a stepper, a busy spinner.

#include <QPushButton>
#include <QWidget>

#include <functional>

class QLabel;
class QToolButton;

namespace morvane {

/// Two buttons side by side of which exactly one is on; the first stands for true.
class SegmentedChoice : public QWidget {
    Q_OBJECT
public:
    SegmentedChoice(const QString& first, const QString& second, QWidget* parent = nullptr);
    [[nodiscard]] bool isFirst() const;
    /// Shows the choice without announcing it.
    void setFirst(bool first);
    QPushButton* firstButton() const { return first_; }
    QPushButton* secondButton() const { return second_; }

signals:
    /// The user chose: true for the first button.
    void chosen(bool first);

private:
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

/// The monospaced font of the tables and read-outs.
QFont monospacedFont();

}  // namespace morvane
