// Scripted measurement of the desktop application (offscreen by default):
//   - time from process start to the star map's page loaded after the first calculation,
//   - time from pressing Calculate to the visible chart's page loaded with the new result,
//   - resident memory after the first calculation (this process, and with the web engine's
//     helper processes).
// Uses a temporary settings store and locations folder, so the user's own are untouched.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "export/pdf_exporter.h"
#include "model/astronomy_model.h"
#include "ui/detailed_view.h"
#include "ui/main_view.h"
#include "ui/morvane_astro_app.h"
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
    return 0;
}
