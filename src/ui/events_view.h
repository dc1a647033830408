#pragma once

#include <QTableView>
#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace morvane {

class EventList;
class EventTableModel;

/// A table whose rows are chosen with Return or a double click, not with a single click,
/// whatever the style says: choosing a row moves the whole sky.
class EventTableView : public QTableView {
    Q_OBJECT
  public:
    explicit EventTableView(QWidget* parent = nullptr);

  signals:
    void rowChosen(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

/// The Events output: what happens from the calculated moment over a day, a month or a year at
/// the calculated place, one row an event, with the kinds to show chosen from a menu.
class EventsView : public QWidget {
    Q_OBJECT
  public:
    EventsView(EventList* list, QWidget* parent = nullptr);

    QComboBox* spanBox() const { return span_; }
    QPushButton* kindsButton() const { return kinds_; }
    /// The checkable entry of each group, in kAllEventGroups order.
    const QList<QAction*>& groupActions() const { return groupActions_; }
    QAction* showAllAction() const { return showAll_; }
    QAction* hideAllAction() const { return hideAll_; }
    EventTableView* table() const { return table_; }
    /// Place, span and count above the table.
    QLabel* summaryLabel() const { return summary_; }
    QLabel* placeholderLabel() const { return placeholder_; }
    [[nodiscard]] bool showsPlaceholder() const;

  signals:
    /// Return or a double click on a row: the sky should move to this moment.
    void momentChosen(double t);

  private:
    void refresh();

    EventList* list_;
    QComboBox* span_;
    QPushButton* kinds_;
    QMenu* kindsMenu_;
    QList<QAction*> groupActions_;
    QAction* showAll_;
    QAction* hideAll_;
    QLabel* summary_;
    QStackedWidget* stack_;
    QLabel* placeholder_;
    EventTableView* table_;
    EventTableModel* rows_;
};

}  // namespace morvane
