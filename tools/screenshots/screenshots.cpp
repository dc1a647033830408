// Takes the screenshots of the user guide from the real application under an X server:
//   xvfb-run -s "-screen 0 1600x1000x24" screenshots OUTPUT_FOLDER
// (scripts/screenshots.sh does this). It uses a temporary settings store and locations
// folder, so the user's own are untouched.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <cstdio>

#include "export/pdf_exporter.h"
#include "model/astronomy_model.h"
#include "ui/about_window.h"
#include "ui/detailed_view.h"
#include "ui/location_sheets.h"
#include "ui/main_view.h"
#include "ui/map_location_picker.h"
#include "ui/morvane_astro_app.h"
#include "ui/sidebar_view.h"

namespace {

void settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool save(QWidget* window, const QString& folder, const char* name) {
    settle(400);
    const QPixmap shot = window->screen()->grabWindow(window->winId());
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    const bool ok = !shot.isNull() && shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    morvane::prepareWebEngine();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());

    morvane::MorvaneAstroApp app;
    morvane::AstronomyModel* model = app.model();
    morvane::MainView* window = app.mainWindow();
    // An evening in spring at Cherafir, when the sky is full.
    model->setMonthIndex(2);
    model->setDayIndex(9);
    model->setHour(22.0);
    for (const morvane::CityPreset& city : model->cities()) {
        if (city.name == QLatin1String("Cherafir")) model->setSelectedCityID(city.id);
    }
    window->resize(1280, 820);
    window->move(40, 40);
    window->show();
    settle(3000);

    bool ok = true;
    const struct {
        morvane::OutputTab tab;
        const char* file;
    } tabs[] = {
        {morvane::OutputTab::starMap, "main-star-map.png"},
        {morvane::OutputTab::horoscope, "horoscope.png"},
        {morvane::OutputTab::planets, "planets.png"},
        {morvane::OutputTab::sunMoon, "sun-moon.png"},
        {morvane::OutputTab::positions, "positions.png"},
    };
    for (const auto& shot : tabs) {
        window->selectTab(shot.tab);
        settle(1500);
        ok = save(window, folder, shot.file) && ok;
    }

    // The map picker, zoomed in twice around a point, with the read-out under the pointer.
    model->setSelectedCityID(morvane::manualCityID());
    window->selectTab(morvane::OutputTab::location);
    settle(500);
    auto* picker = qobject_cast<morvane::MapLocationPickerView*>(window->detail()->currentView());
    if (picker != nullptr) {
        QWidget* area = picker->mapArea();
        const QPoint point(area->width() * 45 / 100, area->height() * 55 / 100);
        QTest::mouseMove(area, point);
        picker->zoomIn();
        picker->zoomIn();
        QTest::mouseMove(area, point + QPoint(30, -20));
        ok = save(window, folder, "map-picker.png") && ok;
    }

    // The two sheets.
    window->selectTab(morvane::OutputTab::starMap);
    settle(800);
    QDialog* sheet = nullptr;
    QObject::connect(window->sidebar(), &morvane::SidebarView::sheetOpened,
                     [&](QDialog* opened) { sheet = opened; });
    window->sidebar()->saveAsButton()->click();
    settle(300);
    if (auto* saveSheet = qobject_cast<morvane::SaveLocationSheet*>(sheet)) {
        QTest::keyClicks(saveSheet->nameField(), QStringLiteral("Goris"));
        saveSheet->saveButton()->click();  // shows the duplicate-name message
        ok = save(saveSheet, folder, "save-sheet.png") && ok;
        saveSheet->reject();
    }
    for (const morvane::CityPreset& city : model->cities()) {
        if (city.name == QLatin1String("Tengela")) model->setSelectedCityID(city.id);
    }
    settle(300);
    window->sidebar()->deleteButton()->click();
    settle(300);
    if (sheet != nullptr && qobject_cast<morvane::DeleteLocationSheet*>(sheet)) {
        ok = save(sheet, folder, "delete-sheet.png") && ok;
        sheet->reject();
    }

    app.showAbout();
    settle(500);
    ok = save(app.aboutWindow(), folder, "about.png") && ok;
    return ok ? 0 : 1;
}
