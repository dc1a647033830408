// Takes the screenshots of the user guide from the real application under an X server:
//   xvfb-run -s "-screen 0 1600x1000x24" screenshots OUTPUT_FOLDER
// (scripts/screenshots.sh does this), or, with a window manager running, the whole screen with
// the window as a user first sees it:
//   screenshots --screen OUTPUT_FOLDER NAME [--dark]
// (scripts/window-shots.sh runs that at several screen sizes and scales). It uses a temporary
// settings store and locations folder, so the user's own are untouched.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <optional>
#include <variant>

#include "engine/constants.h"
#include "events/light.h"
#include "events/sky_events.h"
#include "export/documents.h"
#include "export/export_context.h"
#include "export/pdf_exporter.h"
#include "model/astronomy_model.h"
#include "model/light_settings.h"
#include "ui/about_window.h"
#include "ui/almanac_dialog.h"
#include "ui/calendar_view.h"
#include "ui/detailed_view.h"
#include "ui/location_sheets.h"
#include "ui/main_view.h"
#include "ui/map_location_picker.h"
#include "ui/morvane_astro_app.h"
#include "ui/sidebar_view.h"
#include "ui/widgets.h"

namespace {

void settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool save(QWidget* window, const QString& folder, const char* name) {
    settle(400);
    const QPixmap shot = window->screen()->grabWindow(window->winId());
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    const bool ok = !shot.isNull() && shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
    return ok;
}

// The part of the screen under the window and the menu open over it: a menu is a window of
// its own, which a grab of the main window leaves out.
bool saveWithMenu(QWidget* window, QMenu* menu, const QString& folder, const char* name) {
    settle(400);
    const QRect area = window->frameGeometry().united(menu->geometry());
    const QPixmap shot =
        window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    const bool ok = menu->isVisible() && !shot.isNull() && shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
    return ok;
}

// A dark desktop palette, as a dark Plasma or GNOME theme hands it to Qt.
QPalette darkPalette() {
    QPalette p;
    const QColor window(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), text(0xe6, 0xe6, 0xe6);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
        p.setColor(group, QPalette::HighlightedText, QColor(0x10, 0x10, 0x10));
        p.setColor(group, QPalette::ToolTipBase, base);
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a));
        p.setColor(group, QPalette::Link, QColor(0x6c, 0xb8, 0xff));
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::Window, window);
    p.setColor(QPalette::Disabled, QPalette::Button, QColor(0x33, 0x33, 0x33));
    return p;
}

bool saveScreen(const QString& folder, const QString& name) {
    settle(1200);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool ok = !shot.isNull() && shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
    return ok;
}

// The window as it first opens on this screen (its own size, placed by the window manager),
// then three of its outputs.
int screenShots(const QString& folder, const QString& name, bool dark) {
    if (dark) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(darkPalette());
    }
    morvane::MorvaneAstroApp app;
    morvane::MainView* window = app.mainWindow();
    window->show();
    settle(3000);
    bool ok = saveScreen(folder, name + QStringLiteral("-star-map"));
    window->selectTab(morvane::OutputTab::sunMoon);
    ok = saveScreen(folder, name + QStringLiteral("-sun-moon")) && ok;
    window->selectTab(morvane::OutputTab::location);
    ok = saveScreen(folder, name + QStringLiteral("-map")) && ok;
    if (dark) {
        window->selectTab(morvane::OutputTab::horoscope);
        ok = saveScreen(folder, name + QStringLiteral("-horoscope")) && ok;
    }
    return ok ? 0 : 1;
}

void placeAt(morvane::AstronomyModel* model, double latitude, double longitude) {
    model->setSelectedCityID(morvane::manualCityID());
    model->setLatNorth(latitude >= 0.0);
    model->setManualLatDeg(std::fabs(latitude));
    model->setLongWest(longitude < 0.0);
    model->setManualLongDeg(std::fabs(longitude));
}

// The Day output at 40.5° N from just after local midnight in spring, the same at the size of a
// common laptop screen, and at 80° N around the northern winter solstice, when Nolomar stays
// below the horizon all day.
bool dayShots(morvane::MainView* window, morvane::AstronomyModel* model, const QString& folder) {
    placeAt(model, 40.5, -20.9);
    model->setMonthIndex(2);
    model->setDayIndex(9);
    model->setHour(2.0);
    model->calculate();
    settle(1500);
    window->selectTab(morvane::OutputTab::day);
    settle(1500);
    bool ok = save(window, folder, "day.png");
    const QSize size = window->size();
    window->resize(1366, 768);
    settle(1000);
    ok = save(window, folder, "day-1366x768.png") && ok;
    window->resize(size);

    const morvane::EventFinder finder(0.0, 0.0);
    std::optional<morvane::SkyEvent> solstice =
        finder.next(morvane::EventKind::solstice, model->currentDayCount());
    while (solstice && morvane::subSolarPoint(solstice->t).latitude > 0.0)
        solstice = finder.next(morvane::EventKind::solstice, solstice->t);
    if (!solstice) return false;
    placeAt(model, 80.0, -20.9);
    model->goToMoment(solstice->t - 0.5);
    settle(2500);
    return save(window, folder, "day-polar-night.png") && ok;
}

// The month handout as the Export PDF button makes it, turned into a picture with pdftoppm.
bool monthHandout(morvane::AstronomyModel* model, const QString& folder) {
    const auto page =
        morvane::tabPdf(morvane::OutputTab::calendar, morvane::ExportContext::fromModel(*model));
    if (!page) return false;
    std::optional<QByteArray> pdf;
    bool done = false;
    morvane::PDFExporter::exportHTML(page->html, page->pageSize,
                                     [&](const morvane::PDFExporter::Result& result) {
                                         if (const auto* bytes = std::get_if<QByteArray>(&result))
                                             pdf = *bytes;
                                         done = true;
                                     });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 60000) QTest::qWait(50);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("month.pdf")));
    if (!pdf || !file.open(QIODevice::WriteOnly) || file.write(*pdf) != pdf->size()) return false;
    file.close();
    const QString out = folder + QStringLiteral("/calendar-month-pdf");
    const int status =
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("110"),
                           QStringLiteral("-singlefile"), file.fileName(), out});
    if (status != 0) return false;
    std::printf("wrote %s.png\n", qPrintable(out));
    return true;
}

// The Calendar at Cherafir on the day of the next lunar eclipse after the spring evening: the
// month and the year, each at the window's size and at the size of a common laptop screen.
bool calendarShots(morvane::MainView* window, morvane::AstronomyModel* model,
                   const QString& folder) {
    for (const morvane::CityPreset& city : model->cities()) {
        if (city.name == QLatin1String("Cherafir")) model->setSelectedCityID(city.id);
    }
    const morvane::EventFinder finder(model->latitude(), model->longitude());
    const std::optional<morvane::SkyEvent> eclipse =
        finder.next(morvane::EventKind::lunarEclipse, model->currentDayCount());
    if (!eclipse) return false;
    model->goToMoment(eclipse->t);
    settle(1500);
    window->selectTab(morvane::OutputTab::calendar);
    auto* calendar = qobject_cast<morvane::CalendarView*>(window->detail()->currentView());
    if (calendar == nullptr) return false;
    bool ok = true;
    const QSize size = window->size();
    for (const bool month : {true, false}) {
        if (!month) calendar->spanChoice()->secondButton()->click();
        settle(1500);
        ok = save(window, folder, month ? "calendar-month.png" : "calendar-year.png") && ok;
        window->resize(1366, 768);
        settle(1000);
        ok = save(window, folder,
                  month ? "calendar-month-1366x768.png" : "calendar-year-1366x768.png") &&
             ok;
        window->resize(size);
    }
    calendar->spanChoice()->firstButton()->click();
    settle(500);
    return monthHandout(model, folder) && ok;
}

// The map with day and night shown in northern winter, when the day/night line crosses the map:
// first with Nolomar overhead east of the map (0–60° N, 45° W–45° E) so the east lies in
// daylight, then half a day later, when Nolomar stands overhead west of the map.
bool mapDayNightShots(morvane::MainView* window, morvane::AstronomyModel* model,
                      const QString& folder) {
    constexpr double kDegree = morvane::kPi / 180.0;
    double t = model->currentDayCount();
    while (morvane::subSolarPoint(t).latitude > -18.0 * kDegree) t += 5.0;
    double best = t;
    const auto offBy = [](double u) {
        return std::fabs(morvane::subSolarPoint(u).longitude - 75.0 * kDegree);
    };
    for (double u = t; u < t + 1.0; u += 1.0 / 1440.0) {
        if (offBy(u) < offBy(best)) best = u;
    }
    morvane::LightSettings::of(*model).setShowsDayNight(true);
    placeAt(model, 40.5, -20.9);
    model->goToMoment(best);
    settle(1500);
    window->selectTab(morvane::OutputTab::location);
    settle(1500);
    bool ok = save(window, folder, "map-day-night-1.png");
    model->goToMoment(best + 0.5);
    settle(2500);
    ok = save(window, folder, "map-day-night-2.png") && ok;
    morvane::LightSettings::of(*model).setShowsDayNight(false);
    return ok;
}

// The Almanac dialog from the File menu with the year of the moment at the place: its list and
// its counts.
bool almanacShot(morvane::MainView* window, const QString& folder) {
    auto* action = window->findChild<QAction*>(QStringLiteral("almanac"));
    if (action == nullptr) return false;
    action->trigger();
    auto* dialog = window->findChild<morvane::AlmanacDialog*>();
    if (dialog == nullptr) return false;
    dialog->resize(920, 700);
    settle(1500);  // a year is found in milliseconds; the window needs the rest to settle
    const bool ok = !dialog->isSearching() && save(dialog, folder, "almanac.png");
    dialog->close();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    morvane::prepareWebEngine();
    QApplication application(argc, argv);
    morvane::configureApplication();
    const bool screenMode = argc >= 4 && QLatin1String(argv[1]) == QLatin1String("--screen");
    if (argc < 2 || (QLatin1String(argv[1]) == QLatin1String("--screen") && !screenMode)) {
        std::fprintf(stderr,
                     "usage: screenshots OUTPUT_FOLDER | screenshots --screen OUTPUT_FOLDER NAME "
                     "[--dark]\n");
        return 2;
    }
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    if (screenMode) {
        const bool dark = argc >= 5 && QLatin1String(argv[4]) == QLatin1String("--dark");
        return screenShots(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), dark);
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

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
        {morvane::OutputTab::events, "events.png"},
    };
    for (const auto& shot : tabs) {
        window->selectTab(shot.tab);
        settle(1500);
        ok = save(window, folder, shot.file) && ok;
    }

    ok = almanacShot(window, folder) && ok;

    // The Go menu open over the star map.
    window->selectTab(morvane::OutputTab::starMap);
    settle(800);
    window->menuBar()->setActiveAction(window->goMenu()->menuAction());
    ok = saveWithMenu(window, window->goMenu(), folder, "go-menu.png") && ok;
    window->goMenu()->hide();

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

    ok = calendarShots(window, model, folder) && ok;
    ok = dayShots(window, model, folder) && ok;
    ok = mapDayNightShots(window, model, folder) && ok;

    app.showAbout();
    settle(500);
    ok = save(app.aboutWindow(), folder, "about.png") && ok;
    return ok ? 0 : 1;
}
