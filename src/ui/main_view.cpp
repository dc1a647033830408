#include "ui/main_view.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "model/settings_store.h"
#include "ui/almanac_dialog.h"
#include "ui/auto_recalculator.h"
#include "ui/calendar_view.h"
#include "ui/detailed_view.h"
#include "ui/navigator.h"
#include "ui/notice_bar.h"
#include "ui/sidebar_view.h"

namespace morvane {

namespace {

const QString kGeometryKey = QStringLiteral("MainWindow/geometry");
const QString kSplitterKey = QStringLiteral("MainWindow/splitter");
const QString kTabKey = QStringLiteral("MainWindow/tab");
const QString kAutoKey = QStringLiteral("MainWindow/autoRecalculate");

constexpr QSize kDesignedSize(1180, 780);
// Room for the window manager's frame and title bar around the client area.
constexpr int kFrameAllowance = 48;
constexpr int kExportStatusMs = 20000;

// The largest window that fits the available area with its frame and title bar.
QSize roomFor(const QRect& available) {
    return available.size() - QSize(kFrameAllowance / 2, kFrameAllowance);
}

QByteArray storedBytes(const SettingsStore& store, const QString& key) {
    const auto text = storedText(store.value(key));
    return text ? QByteArray::fromBase64(text->toLatin1()) : QByteArray();
}

QString shortcutText(const QKeySequence& keys) { return keys.toString(QKeySequence::NativeText); }

// Inside a chart's web page the keyboard belongs to the page; the window's keys should not.
bool insideWebPage(const QWidget* widget, const QWidget* root) {
    for (const QWidget* w = widget; w != nullptr && w != root; w = w->parentWidget()) {
        if (w->inherits("QWebEngineView")) return true;
    }
    return false;
}

// The first control under `root` that Tab would reach; `root` itself when there is none.
void focusFirstControlIn(QWidget* root) {
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if ((child->focusPolicy() & Qt::TabFocus) != 0 && child->isVisibleTo(root) &&
            child->isEnabled() && !insideWebPage(child, root)) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    root->setFocus(Qt::OtherFocusReason);
}

}  // namespace

QSize initialWindowSize(const QRect& available) {
    if (!available.isValid()) return kDesignedSize;
    return kDesignedSize.boundedTo(roomFor(available));
}

MainView::MainView(AstronomyModel* model, ExportController* exporter,
                   std::unique_ptr<SettingsStore> viewSettings, QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      viewSettings_(viewSettings ? std::move(viewSettings) : std::make_unique<QSettingsStore>()) {
    setWindowTitle(QStringLiteral("Morvanian Astrologer"));
    const QScreen* screen = this->screen();
    resize(initialWindowSize(screen ? screen->availableGeometry() : QRect()));

    auto* toolbar = addToolBar(QStringLiteral("Outputs"));
    toolbar->setObjectName(QStringLiteral("outputs"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar->toggleViewAction()->setEnabled(false);
    for (OutputTab tab : kAllOutputTabs) {
        auto* button = new QToolButton(toolbar);
        const QString title = tabExport(tab).title;
        button->setText(
            QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")));  // no mnemonic
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setAccessibleName(title);
        button->setToolTip(QStringLiteral("Show %1 (Ctrl+%2)").arg(title).arg(int(tab) + 1));
        toolbar->addWidget(button);
        tabButtons_.append(button);
        connect(button, &QToolButton::clicked, this, [this, tab] { selectTab(tab); });
    }

    splitter_ = new QSplitter(Qt::Horizontal, this);
    sidebar_ = new SidebarView(model_, exporter, splitter_);
    sidebar_->setMinimumWidth(240);
    sidebar_->setMaximumWidth(300);

    // The output column: the bars that speak about the outputs sit right above them.
    auto* outputs = new QWidget(splitter_);
    auto* column = new QVBoxLayout(outputs);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    noticeBar_ = new NoticeBar(outputs);
    noticeBar_->setObjectName(QStringLiteral("notice"));
    staleBar_ = new NoticeBar(outputs);
    staleBar_->setObjectName(QStringLiteral("stale"));
    detail_ = new DetailedView(model_, outputs);
    column->addWidget(noticeBar_);
    column->addWidget(staleBar_);
    column->addWidget(detail_, 1);

    splitter_->addWidget(sidebar_);
    splitter_->addWidget(outputs);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, width() - 260});
    setCentralWidget(splitter_);

    auto_ = new AutoRecalculator(model_, this);
    auto_->setGate([this] { return sidebar_->inputsAreValid(); });
    connect(auto_, &AutoRecalculator::staleChanged, this, &MainView::refreshStale);
    connect(staleBar_, &NoticeBar::actionTriggered, sidebar_, &SidebarView::calculate);

    exportStatus_ = new QLabel(this);
    exportStatus_->setTextFormat(Qt::PlainText);
    openFolder_ = new QPushButton(QStringLiteral("Open Folder"), this);
    openFolder_->setFlat(true);
    openFolder_->setAccessibleName(QStringLiteral("Open the folder of the exported file"));
    statusBar()->addWidget(exportStatus_, 1);
    statusBar()->addPermanentWidget(openFolder_);
    statusBar()->setSizeGripEnabled(true);
    openFolder_->hide();
    statusBar()->hide();  // shown only while it has something to say: short screens need the row
    exportStatusTimer_ = new QTimer(this);
    exportStatusTimer_->setSingleShot(true);
    exportStatusTimer_->setInterval(kExportStatusMs);
    connect(exportStatusTimer_, &QTimer::timeout, this, [this] {
        exportStatus_->clear();
        openFolder_->hide();
        statusBar()->hide();
    });
    connect(openFolder_, &QPushButton::clicked, this, [this] {
        if (!lastExportFolder_.isEmpty())
            QDesktopServices::openUrl(QUrl::fromLocalFile(lastExportFolder_));
    });

    buildMenus();
    connect(sidebar_, &SidebarView::tabRequested, this, &MainView::selectTab);
    connect(exporter, &ExportController::exported, this, &MainView::exported);
    // Silence after a failed save reads as success: say which file and why.
    connect(exporter, &ExportController::exportFailed, this,
            [this](const QString& path, const QString& cause) {
                auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Export Failed"),
                                            QString(), QMessageBox::Ok, this);
                box->setAttribute(Qt::WA_DeleteOnClose);
                box->setTextFormat(Qt::PlainText);  // a path is shown as it is
                box->setText(QStringLiteral("The file could not be saved:\n") + path +
                             QStringLiteral("\n\n") + cause);
                box->open();
            });

    restoreViewState();
}

MainView::~MainView() = default;

void MainView::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    calculateAction_ = file->addAction(QStringLiteral("&Calculate"));
    calculateAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_R), QKeySequence(Qt::Key_F5)});
    connect(calculateAction_, &QAction::triggered, sidebar_, &SidebarView::calculate);
    file->addSeparator();
    exportDocumentAction_ = file->addAction(QStringLiteral("&Export…"));
    exportDocumentAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(exportDocumentAction_, &QAction::triggered, sidebar_->exportButton(),
            &QPushButton::click);
    exportTextAction_ = file->addAction(QStringLiteral("Export &Text…"));
    connect(exportTextAction_, &QAction::triggered, sidebar_->exportTextButton(),
            &QPushButton::click);
    exportPdfAction_ = file->addAction(QStringLiteral("Export &PDF…"));
    exportPdfAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    connect(exportPdfAction_, &QAction::triggered, sidebar_->exportPdfButton(),
            &QPushButton::click);
    file->addSeparator();
    QAction* almanac = file->addAction(QStringLiteral("&Almanac…"));
    almanac->setObjectName(QStringLiteral("almanac"));
    almanac->setToolTip(QStringLiteral("List and export the sky events of any span of days"));
    connect(almanac, &QAction::triggered, this, [this] {
        // One dialog a window: closing it keeps its span for the next time it opens.
        auto* dialog = findChild<AlmanacDialog*>(QString(), Qt::FindDirectChildrenOnly);
        if (dialog == nullptr) {
            dialog = new AlmanacDialog(model_, viewSettings_.get(), this);
            connect(dialog, &AlmanacDialog::exported, this, &MainView::exported);
        }
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    });
    file->addSeparator();
    quitAction_ = file->addAction(QStringLiteral("&Quit"));
    quitAction_->setShortcut(
        QKeySequence(Qt::CTRL | Qt::Key_Q));  // the Linux desktops' key, on any theme
    connect(quitAction_, &QAction::triggered, this, &MainView::quitRequested);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    tabGroup_ = new QActionGroup(this);
    tabGroup_->setExclusive(true);
    for (OutputTab tab : kAllOutputTabs) {
        QString title = tabExport(tab).title;
        QAction* action = view->addAction(title.replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + int(tab))));
        tabGroup_->addAction(action);
        tabActions_.append(action);
        connect(action, &QAction::triggered, this, [this, tab] { selectTab(tab); });
    }
    view->addSeparator();
    autoRecalculateAction_ = view->addAction(QStringLiteral("Recalculate &Automatically"));
    autoRecalculateAction_->setCheckable(true);
    autoRecalculateAction_->setChecked(true);
    autoRecalculateAction_->setToolTip(
        QStringLiteral("Recalculate a moment after every change of place, date or time"));
    connect(autoRecalculateAction_, &QAction::toggled, this, [this](bool on) {
        auto_->setEnabled(on);
        viewSettings_->setBool(kAutoKey, on);
        refreshStale();
    });

    goMenu_ = menuBar()->addMenu(QStringLiteral("&Go"));
    navigator_ = new Navigator(model_, this);
    navigator_->populate(goMenu_);
    connect(navigator_, &Navigator::notice, noticeBar_,
            [this](const QString& text) { noticeBar_->showMessage(text); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    helpAction_ = help->addAction(QStringLiteral("Morvane Astro &Help"));
    helpAction_->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    aboutAction_ = help->addAction(QStringLiteral("&About Morvane Astro"));

    // The export commands read and act like the footer's buttons.
    const auto followExport = [this] {
        exportDocumentAction_->setText(sidebar_->exportButton()->text() + QStringLiteral("…"));
        exportDocumentAction_->setEnabled(sidebar_->exportButton()->isEnabled());
        exportPdfAction_->setEnabled(sidebar_->exportPdfButton()->isEnabled());
        exportTextAction_->setVisible(!sidebar_->exportTextButton()->isHidden());
        exportTextAction_->setEnabled(sidebar_->exportTextButton()->isEnabled());
    };
    connect(sidebar_, &SidebarView::exportStateChanged, this, followExport);
    followExport();
    // Shortcuts shown in the tooltips of the buttons they press.
    sidebar_->calculateButton()->setToolTip(
        QStringLiteral("Calculate the sky for these inputs (%1 or %2)")
            .arg(shortcutText(calculateAction_->shortcuts().value(0)),
                 shortcutText(calculateAction_->shortcuts().value(1))));
}

QAction* MainView::tabAction(OutputTab tab) const { return tabActions_.at(qsizetype(tab)); }

QToolButton* MainView::tabButton(OutputTab tab) const {
    return tabButtons_.at(static_cast<qsizetype>(tab));
}

void MainView::selectTab(OutputTab tab) {
    tab_ = tab;
    // The old view goes away with the focus it held; the focus then stays with the outputs
    // rather than wandering to whatever control comes next in the window.
    QWidget* focus = QApplication::focusWidget();
    const bool focusInOutputs = focus != nullptr && detail_->isAncestorOf(focus);
    detail_->setTab(tab);
    if (auto* calendar = qobject_cast<CalendarView*>(detail_->currentView())) {
        // The Calendar is worked with the keys: its arrows should move the days at once, not
        // whatever control had the focus before.
        calendar->show();
        calendar->grid()->setFocus(Qt::OtherFocusReason);
    } else if (focusInOutputs) {
        detail_->currentView()->show();  // a hidden widget cannot take the focus
        focusFirstControlIn(detail_->currentView());
    }
    sidebar_->setSelectedTab(tab);
    tabActions_.at(qsizetype(tab))->setChecked(true);
    viewSettings_->setText(kTabKey, tabExport(tab).title);
}

void MainView::showNotice(const QString& text) { noticeBar_->showMessage(text); }

void MainView::refreshStale() {
    const bool show = auto_->isStale() && !auto_->isEnabled();
    if (show) {
        staleBar_->showMessage(
            QStringLiteral("The outputs show an earlier place or moment: the inputs have changed "
                           "since they were calculated."),
            QStringLiteral("Calculate"));
    } else {
        staleBar_->hide();
    }
}

void MainView::exported(const QString& path) {
    const QFileInfo file(path);
    lastExportFolder_ = file.absolutePath();
    exportStatus_->setText(QStringLiteral("Saved ") +
                           QDir::toNativeSeparators(file.absoluteFilePath()));
    openFolder_->show();
    statusBar()->show();
    exportStatusTimer_->start();  // a later export restarts the read-out's time
}

void MainView::restoreViewState() {
    const QByteArray geometry = storedBytes(*viewSettings_, kGeometryKey);
    if (!geometry.isEmpty() && restoreGeometry(geometry)) {
        // A size remembered on a larger screen must still fit this one, frame included.
        if (const QScreen* screen = this->screen()) {
            resize(size().boundedTo(roomFor(screen->availableGeometry())));
        }
    }
    const QByteArray split = storedBytes(*viewSettings_, kSplitterKey);
    if (!split.isEmpty()) splitter_->restoreState(split);
    if (const auto title = storedText(viewSettings_->value(kTabKey))) {
        for (OutputTab tab : kAllOutputTabs) {
            if (tabExport(tab).title == *title) tab_ = tab;
        }
    }
    const bool automatic = storedBool(viewSettings_->value(kAutoKey)).value_or(true);
    {
        const QSignalBlocker blocker(autoRecalculateAction_);
        autoRecalculateAction_->setChecked(automatic);
    }
    auto_->setEnabled(automatic);
    selectTab(tab_);
}

void MainView::saveViewState() {
    viewSettings_->setText(kGeometryKey, QString::fromLatin1(saveGeometry().toBase64()));
    viewSettings_->setText(kSplitterKey, QString::fromLatin1(splitter_->saveState().toBase64()));
}

void MainView::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownBefore_) return;
    shownBefore_ = true;
    model_->calculate();
}

void MainView::closeEvent(QCloseEvent* event) {
    saveViewState();
    QMainWindow::closeEvent(event);
}

}  // namespace morvane
