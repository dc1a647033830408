#pragma once

#include <QMainWindow>
#include <memory>

#include "export/output_tab.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QTimer;
class QToolButton;

namespace morvane {

class AstronomyModel;
class AutoRecalculator;
class DetailedView;
class ExportController;
class Navigator;
class NoticeBar;
class SettingsStore;
class SidebarView;

/// "Morvanian Astrologer": the sidebar beside the output area, the tab buttons in the
/// toolbar, the menus with every command and its shortcut. The first time it is shown it
/// calculates once, so the outputs match the remembered inputs; after that every change of an
/// input recalculates on its own unless the user switched that off.
class MainView : public QMainWindow {
    Q_OBJECT
  public:
    /// `viewSettings` keeps the window's own state (size, splitter, last tab, automatic
    /// recalculation); null: the user's settings file.
    MainView(AstronomyModel* model, ExportController* exporter,
             std::unique_ptr<SettingsStore> viewSettings = nullptr, QWidget* parent = nullptr);
    ~MainView() override;

    void selectTab(OutputTab tab);
    [[nodiscard]] OutputTab selectedTab() const { return tab_; }
    SidebarView* sidebar() const { return sidebar_; }
    DetailedView* detail() const { return detail_; }
    QSplitter* splitter() const { return splitter_; }
    QToolButton* tabButton(OutputTab tab) const;
    AutoRecalculator* autoRecalculator() const { return auto_; }

    // The menu commands, for the application and for tests.
    QAction* calculateAction() const { return calculateAction_; }
    QAction* exportDocumentAction() const { return exportDocumentAction_; }
    QAction* exportPdfAction() const { return exportPdfAction_; }
    /// Shown only on a tab that writes text besides its SVG.
    QAction* exportTextAction() const { return exportTextAction_; }
    QAction* tabAction(OutputTab tab) const;
    QAction* autoRecalculateAction() const { return autoRecalculateAction_; }
    QAction* helpAction() const { return helpAction_; }
    QAction* aboutAction() const { return aboutAction_; }
    QAction* quitAction() const { return quitAction_; }
    /// The time steps and the jumps to events of the Go menu.
    Navigator* navigator() const { return navigator_; }
    QMenu* goMenu() const { return goMenu_; }

    /// The bar above the outputs that says they no longer match the inputs.
    NoticeBar* staleBar() const { return staleBar_; }
    /// The bar that tells what was found wrong with the stored data at start.
    NoticeBar* noticeBar() const { return noticeBar_; }
    /// The status line's read-out of the last export and its "Open Folder" button.
    QLabel* exportStatus() const { return exportStatus_; }
    QPushButton* openFolderButton() const { return openFolder_; }

    /// Shows a message in the window, once, without blocking (for notices found at start).
    void showNotice(const QString& text);

  signals:
    void quitRequested();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void restoreViewState();
    void saveViewState();
    void exported(const QString& path);
    void refreshStale();

    AstronomyModel* model_;
    std::unique_ptr<SettingsStore> viewSettings_;
    OutputTab tab_ = OutputTab::starMap;
    SidebarView* sidebar_ = nullptr;
    DetailedView* detail_ = nullptr;
    QSplitter* splitter_ = nullptr;
    NoticeBar* staleBar_ = nullptr;
    NoticeBar* noticeBar_ = nullptr;
    AutoRecalculator* auto_ = nullptr;
    Navigator* navigator_ = nullptr;
    QMenu* goMenu_ = nullptr;
    QList<QToolButton*> tabButtons_;
    QList<QAction*> tabActions_;
    QActionGroup* tabGroup_ = nullptr;
    QAction* calculateAction_ = nullptr;
    QAction* exportDocumentAction_ = nullptr;
    QAction* exportPdfAction_ = nullptr;
    QAction* exportTextAction_ = nullptr;
    QAction* autoRecalculateAction_ = nullptr;
    QAction* helpAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    QLabel* exportStatus_ = nullptr;
    QPushButton* openFolder_ = nullptr;
    QTimer* exportStatusTimer_ = nullptr;
    QString lastExportFolder_;
    bool shownBefore_ = false;
};

/// The first size of the main window: the designed 1180 × 780, made to fit the screen's
/// available area (less a margin for the window frame).
QSize initialWindowSize(const QRect& available);

}  // namespace morvane
