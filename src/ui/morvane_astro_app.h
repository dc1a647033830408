#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "ui/about_window.h"
#include "ui/main_view.h"

namespace morvane {

class AboutWindow;
class AstronomyModel;
class ExportController;
class MainView;

/// Names, icon and desktop entry of the running application; call once after QApplication exists.
void configureApplication();

/// The application: the one model, the main window sharing it, the menus and the About window.
class MorvaneAstroApp : public QObject {
    Q_OBJECT
  public:
    /// `model` may be given (tests); by default the user's own settings and locations are used.
    explicit MorvaneAstroApp(std::unique_ptr<AstronomyModel> model = nullptr);
    ~MorvaneAstroApp() override;

    MainView* mainWindow() const { return window_.get(); }
    AstronomyModel* model() const { return model_.get(); }
    /// Opens the About window, or brings it forward when it is open.
    void showAbout();
    AboutWindow* aboutWindow() const { return about_; }

  private:
    std::unique_ptr<AstronomyModel> model_;
    DialogFileChooser* chooser_ = nullptr;  // owned by exporter_
    std::unique_ptr<ExportController> exporter_;
    std::unique_ptr<MainView> window_;
    QPointer<AboutWindow> about_;
};

}  // namespace morvane
