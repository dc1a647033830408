#include "ui/morvane_astro_app.h"

#include <QApplication>
#include <QMenuBar>

#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "ui/about_window.h"
#include "ui/resources.h"
#include "ui/main_view.h"

namespace morvane {

MorvaneAstroApp::MorvaneAstroApp(std::unique_ptr<AstronomyModel> model)
    : model_(model ? std::move(model) : std::make_unique<AstronomyModel>()),
      exporter_(std::make_unique<ExportController>(std::make_unique<DialogFileChooser>())),
      window_(std::make_unique<MainView>(model_.get(), exporter_.get())) {
    ensureResources();
    // On Linux the About item lives in the Help menu, beside the guide.
    QMenu* file = window_->menuBar()->addMenu(QStringLiteral("&File"));
    QAction* quit = file->addAction(QStringLiteral("Quit"), qApp, &QApplication::quit);
    quit->setShortcut(QKeySequence::Quit);
    QMenu* help = window_->menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* guide = help->addAction(QStringLiteral("Morvane Astro Help"), [] { openUserGuide(); });
    guide->setShortcut(QKeySequence::HelpContents);
    help->addSeparator();
    help->addAction(QStringLiteral("About Morvane Astro"), this, &MorvaneAstroApp::showAbout);
}

MorvaneAstroApp::~MorvaneAstroApp() {
    delete about_.data();
}

void MorvaneAstroApp::showAbout() {
    if (!about_) about_ = new AboutWindow();
    about_->show();
    about_->raise();
    about_->activateWindow();
}

}  // namespace morvane
