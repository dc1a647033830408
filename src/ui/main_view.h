#pragma once

#include <QMainWindow>

#include "export/output_tab.h"

class QSplitter;
class QToolButton;

namespace morvane {

class AstronomyModel;
class DetailedView;
class ExportController;
class SidebarView;

/// "Morvanian Astrologer": the sidebar beside the output area, the six tab buttons in the
/// toolbar. The first time it is shown it calculates once, so the outputs match the
/// remembered inputs.
class MainView : public QMainWindow {
    Q_OBJECT
public:
    MainView(AstronomyModel* model, ExportController* exporter, QWidget* parent = nullptr);

    void selectTab(OutputTab tab);
    [[nodiscard]] OutputTab selectedTab() const { return tab_; }
    SidebarView* sidebar() const { return sidebar_; }
    DetailedView* detail() const { return detail_; }
    QSplitter* splitter() const { return splitter_; }
    QToolButton* tabButton(OutputTab tab) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AstronomyModel* model_;
    OutputTab tab_ = OutputTab::starMap;
    SidebarView* sidebar_;
    DetailedView* detail_;
    QSplitter* splitter_;
    QList<QToolButton*> tabButtons_;
    bool shownBefore_ = false;
};

}  // namespace morvane
