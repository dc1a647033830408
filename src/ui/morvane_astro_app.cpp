#include "ui/morvane_astro_app.h"

#include <QAction>
#include <QApplication>
#include <QIcon>

#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/main_view.h"
#include "ui/resources.h"

namespace morvane {

void configureApplication() {
    QApplication::setOrganizationName(QStringLiteral("MorvaneAstro"));
    QApplication::setApplicationName(QStringLiteral("MorvaneAstro"));
    // No display name: the platform would append it to every window title ("Morvanian
    // Astrologer — Morvane Astro"). Shells take the name from the desktop entry instead.
    QApplication::setDesktopFileName(QStringLiteral("morvane-astro"));
    ensureResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/MorvaneAstro.svg")));
}

namespace {

// The save dialog is made before the window it belongs to; it learns its window afterwards.
std::unique_ptr<ExportController> makeExporter(DialogFileChooser*& chooser) {
    auto dialog = std::make_unique<DialogFileChooser>();
    chooser = dialog.get();
    return std::make_unique<ExportController>(std::move(dialog));
}

}  // namespace

MorvaneAstroApp::MorvaneAstroApp(std::unique_ptr<AstronomyModel> model)
    : model_(model ? std::move(model) : std::make_unique<AstronomyModel>()),
      exporter_(makeExporter(chooser_)),
      window_(std::make_unique<MainView>(model_.get(), exporter_.get())) {
    ensureResources();
    chooser_->setParentWidget(window_.get());  // opens centred on the window
    connect(window_->helpAction(), &QAction::triggered, this,
            [this] { showUserGuide(window_.get()); });
    connect(window_->aboutAction(), &QAction::triggered, this, &MorvaneAstroApp::showAbout);
    connect(window_.get(), &MainView::quitRequested, qApp, &QApplication::quit,
            Qt::QueuedConnection);
    // What was found wrong with the stored data is said once, in the window, without a dialog.
    const QStringList notices = model_->loadNotices();
    if (!notices.isEmpty()) window_->showNotice(notices.join(QLatin1Char('\n')));
}

MorvaneAstroApp::~MorvaneAstroApp() { delete about_.data(); }

void MorvaneAstroApp::showAbout() {
    if (!about_) about_ = new AboutWindow();
    about_->showCentredOn(window_.get());
}

}  // namespace morvane
