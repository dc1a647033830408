#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QToolButton;

namespace morvane {

/// A slim bar across the top of an area that tells the user something without stopping them:
/// a line of text, an optional action and a close button.
class NoticeBar : public QFrame {
    Q_OBJECT
  public:
    explicit NoticeBar(QWidget* parent = nullptr);

    /// Shows the bar with this text; an empty action label hides the action button.
    void showMessage(const QString& text, const QString& actionLabel = QString());
    QString text() const;
    QLabel* label() const { return label_; }
    QPushButton* actionButton() const { return action_; }
    QToolButton* closeButton() const { return close_; }

  signals:
    void actionTriggered();

  private:
    QLabel* label_;
    QPushButton* action_;
    QToolButton* close_;
};

}  // namespace morvane
