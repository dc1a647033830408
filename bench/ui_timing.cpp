// Scripted measurement of the desktop application (offscreen by default):
//   - time from process start to the star map's page loaded after the first calculation,
//   - time from pressing Calculate to the visible chart's page loaded with the new result,
//   - resident memory after the first calculation (this process, and with the web engine's
//     helper processes),
//   - frames a second while a step key is held: the step command fires at a key's repeat rate
//     and a script in the chart's page counts the frames that show a new document.
// Uses a temporary settings store and locations folder, so the user's own are untouched.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "export/pdf_exporter.h"
#include "model/astronomy_model.h"
#include "ui/detailed_view.h"
#include "ui/main_view.h"
#include "ui/morvane_astro_app.h"
#include "ui/navigator.h"
#include "ui/output_views.h"
#include "ui/sidebar_view.h"

namespace {

// Milliseconds since this process was started by the kernel.
double sinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    stat.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
    const double startTicks = fields.value(20).toDouble();  // field 22 of the whole line
    QFile uptime(QStringLiteral("/proc/uptime"));
    uptime.open(QIODevice::ReadOnly);
    const double up = uptime.readAll().split(' ').first().toDouble();
    return (up - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

// Resident kilobytes of a process.
long residentKb(const QString& pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// Resident kilobytes of this process and all its descendants.
long familyResidentKb() {
    long total = residentKb(QString::number(getpid()));
    std::vector<QString> parents = {QString::number(getpid())};
    while (!parents.empty()) {
        const QString parent = parents.back();
        parents.pop_back();
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!stat.open(QIODevice::ReadOnly)) continue;
            const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
            if (fields.value(2) == parent.toUtf8()) {
                total += residentKb(entry);
                parents.push_back(entry);
            }
        }
    }
    return total;
}

template <typename Condition>
bool waitFor(Condition condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Counts, before each frame the page draws, whether it shows another document than the last.
const QString kFrameCounter = QStringLiteral(
    "window.newFrames = 0; if (!window.counting) { window.counting = true;"
    " (function tick(last) { const shown = document.body.firstElementChild;"
    " if (shown !== last) window.newFrames++; requestAnimationFrame(() => tick(shown)); })(null); }"
    " 0;");

struct Animation {
    double framesPerSecond;
    double documentsPerSecond;
    double stepsPerSecond;
    double calculationsPerSecond;
};

// Holds the step key for `seconds`: the command fires every `repeatMs`, as a key's auto-repeat
// does.
std::optional<Animation> holdStepKey(morvane::MainView* window, morvane::AstronomyModel* model,
                                     qint64 minutes, int repeatMs, double seconds) {
    auto* chart = qobject_cast<morvane::ChartView*>(window->detail()->currentView());
    if (chart == nullptr) return std::nullopt;
    QWebEnginePage* page = chart->svgView()->webView()->page();
    bool installed = false;
    page->runJavaScript(kFrameCounter, [&](const QVariant&) { installed = true; });
    if (!waitFor([&] { return installed; }, 5000)) return std::nullopt;
    QThread::msleep(200);
    int calculations = 0;
    const auto counting = QObject::connect(model, &morvane::AstronomyModel::dateLabelChanged,
                                           [&] { ++calculations; });
    QAction* step = window->navigator()->stepAction(minutes, true);
    int shown = 0;
    const auto showing = QObject::connect(chart->svgView(), &morvane::SVGView::pageLoaded,
                                          [&shown](bool ok) { shown += ok ? 1 : 0; });
    int steps = 0;
    QTimer repeat;
    QObject::connect(&repeat, &QTimer::timeout, [&] {
        step->trigger();
        ++steps;
    });
    QElapsedTimer clock;
    clock.start();
    repeat.start(repeatMs);
    waitFor([] { return false; }, static_cast<int>(seconds * 1000));
    repeat.stop();
    QObject::disconnect(counting);
    double frames = -1;
    page->runJavaScript(QStringLiteral("window.newFrames"),
                        [&](const QVariant& value) { frames = value.toDouble(); });
    waitFor([&] { return frames >= 0; }, 5000);
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    QObject::disconnect(showing);
    return Animation{frames / elapsed, shown / elapsed, steps / elapsed, calculations / elapsed};
}

}  // namespace

int main(int argc, char** argv) {
    const double atMain = sinceProcessStart();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    morvane::prepareWebEngine();
    QApplication application(argc, argv);
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toUtf8());

    morvane::MorvaneAstroApp app;
    morvane::MainView* window = app.mainWindow();
    // Pages that finished loading once the model held a star map: the empty chart shown first
    // does not count.
    int loads = 0;
    QObject::connect(window->detail(), &morvane::DetailedView::chartLoaded, [&](bool ok) {
        const auto* chart = qobject_cast<morvane::ChartView*>(window->detail()->currentView());
        if (ok && chart != nullptr && chart->svgView()->page().contains(QStringLiteral("<svg")))
            ++loads;
    });
    window->show();
    if (!waitFor([&] { return loads >= 1; }, 20000)) {
        std::fprintf(stderr, "the star map did not load\n");
        return 1;
    }
    const double startToStarMap = sinceProcessStart();
    QThread::msleep(500);
    QCoreApplication::processEvents();
    const long ownKb = residentKb(QString::number(getpid()));
    const long familyKb = familyResidentKb();

    std::vector<double> calculateToChart;
    for (int i = 0; i < 7; ++i) {
        app.model()->setHour(i + 1.0);
        const int before = loads;
        QElapsedTimer timer;
        timer.start();
        window->sidebar()->calculateButton()->click();
        if (!waitFor([&] { return loads > before; }, 10000)) {
            std::fprintf(stderr, "the new chart did not load\n");
            return 1;
        }
        calculateToChart.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(calculateToChart.begin(), calculateToChart.end());
    std::printf("process start to star map loaded: %.0f ms (main() began at %.0f ms)\n",
                startToStarMap, atMain);
    std::printf("Calculate to new chart loaded: median %.0f ms (min %.0f, max %.0f, 7 runs)\n",
                calculateToChart[3], calculateToChart.front(), calculateToChart.back());
    std::printf(
        "resident memory after the first calculation: %ld MB (with the web engine's "
        "helper processes %ld MB)\n",
        ownKb / 1024, familyKb / 1024);

    // Auto-repeat at 30 a second, faster than most desktops' 25 to 33.
    for (const morvane::OutputTab tab :
         {morvane::OutputTab::starMap, morvane::OutputTab::horoscope}) {
        window->selectTab(tab);
        // This tab's own page: a document still on its way into the last tab's page is
        // announced too.
        const auto* chart = qobject_cast<morvane::ChartView*>(window->detail()->currentView());
        bool loaded = false;
        const auto loading = QObject::connect(chart->svgView(), &morvane::SVGView::pageLoaded,
                                              [&loaded](bool ok) { loaded = loaded || ok; });
        const bool ready = waitFor([&] { return loaded; }, 10000);
        QObject::disconnect(loading);
        if (!ready) {
            std::fprintf(stderr, "the chart did not load\n");
            return 1;
        }
        for (const qint64 minutes : {qint64{15}, qint64{1440}}) {
            const auto held = holdStepKey(window, app.model(), minutes, 33, 5.0);
            if (!held) {
                std::fprintf(stderr, "the frame counter did not run\n");
                return 1;
            }
            std::printf(
                "held step key (%s, %lld minutes): %.1f new frames/s, %.1f documents shown/s, "
                "%.1f steps/s, %.1f calculations/s\n",
                tab == morvane::OutputTab::starMap ? "star map" : "horoscope",
                static_cast<long long>(minutes), held->framesPerSecond, held->documentsPerSecond,
                held->stepsPerSecond, held->calculationsPerSecond);
        }
    }
    return 0;
}
