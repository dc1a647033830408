#include <QApplication>
#include <QLoggingCategory>

#include "export/pdf_exporter.h"
#include "ui/main_view.h"
#include "ui/morvane_astro_app.h"
#include "ui/resources.h"

int main(int argc, char** argv) {
    morvane::prepareWebEngine();  // before the application object
    // The web engine describes its graphics set-up at every start; users need not read it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication application(argc, argv);
    morvane::configureApplication();

    morvane::MorvaneAstroApp app;
    app.mainWindow()->show();
    return QApplication::exec();
}
