#include "ui/main_view.h"

#include <QMessageBox>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>

#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "ui/detailed_view.h"
#include "ui/sidebar_view.h"

namespace morvane {

MainView::MainView(AstronomyModel* model, ExportController* exporter, QWidget* parent)
    : QMainWindow(parent), model_(model) {
    setWindowTitle(QStringLiteral("Morvanian Astrologer"));
    resize(1180, 780);

    auto* toolbar = addToolBar(QStringLiteral("Outputs"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (OutputTab tab : kAllOutputTabs) {
        auto* button = new QToolButton(toolbar);
        QString title = tabExport(tab).title;
        button->setText(title.replace(QLatin1Char('&'), QStringLiteral("&&")));  // no mnemonic
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        toolbar->addWidget(button);
        tabButtons_.append(button);
        connect(button, &QToolButton::clicked, this, [this, tab] { selectTab(tab); });
    }

    splitter_ = new QSplitter(Qt::Horizontal, this);
    sidebar_ = new SidebarView(model_, exporter, splitter_);
    sidebar_->setMinimumWidth(240);
    sidebar_->setMaximumWidth(300);
    detail_ = new DetailedView(model_, splitter_);
    splitter_->addWidget(sidebar_);
    splitter_->addWidget(detail_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 920});
    setCentralWidget(splitter_);

    connect(sidebar_, &SidebarView::tabRequested, this, &MainView::selectTab);
    // Silence after a failed save reads as success: say which file and why.
    connect(exporter, &ExportController::exportFailed, this,
            [this](const QString& path, const QString& cause) {
                QMessageBox box(QMessageBox::Warning, QStringLiteral("Export Failed"), QString(),
                                QMessageBox::Ok, this);
                box.setTextFormat(Qt::PlainText);  // a path is shown as it is
                box.setText(QStringLiteral("The file could not be saved:\n") + path +
                            QStringLiteral("\n\n") + cause);
                box.exec();
            });
}

QToolButton* MainView::tabButton(OutputTab tab) const {
    return tabButtons_.at(static_cast<qsizetype>(tab));
}

void MainView::selectTab(OutputTab tab) {
    tab_ = tab;
    detail_->setTab(tab);
    sidebar_->setSelectedTab(tab);
}

void MainView::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownBefore_) return;
    shownBefore_ = true;
    model_->calculate();
}

}  // namespace morvane
