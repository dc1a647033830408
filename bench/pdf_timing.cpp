// Time from PDFExporter::exportHTML to the bytes of the PDF, for one kind of page: the first
// export of the process (cold: the web engine starts) and the median of the next ones (warm).
//   pdf_timing star|horoscope|planets|sunmoon|conjunctions [repetitions]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "export/documents.h"
#include "export/pdf_exporter.h"
#include "model/calculation.h"

namespace {

morvane::ExportContext defaultContext() {
    morvane::ExportContext c;
    c.selectedCityID = morvane::manualCityID();
    c.outputs = morvane::calculateOutputs(258840.0, 0.7068583470577035, -0.3647738136668149);
    return c;
}

double exportOnce(const morvane::TabPdf& page) {
    QElapsedTimer timer;
    timer.start();
    QEventLoop loop;
    qsizetype size = 0;
    morvane::PDFExporter::exportHTML(page.html, page.pageSize, [&](morvane::PDFExporter::Result r) {
        if (const auto* bytes = std::get_if<QByteArray>(&r)) size = bytes->size();
        loop.quit();
    });
    loop.exec();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (size == 0) std::fprintf(stderr, "no PDF produced\n");
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    morvane::prepareWebEngine();
    QApplication app(argc, argv);
    const char* kind = argc > 1 ? argv[1] : "star";
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 5;
    morvane::OutputTab tab = morvane::OutputTab::starMap;
    if (std::strcmp(kind, "horoscope") == 0) tab = morvane::OutputTab::horoscope;
    if (std::strcmp(kind, "planets") == 0) tab = morvane::OutputTab::planets;
    if (std::strcmp(kind, "sunmoon") == 0) tab = morvane::OutputTab::sunMoon;
    if (std::strcmp(kind, "conjunctions") == 0) tab = morvane::OutputTab::positions;
    const auto page = morvane::tabPdf(tab, defaultContext());

    const double cold = exportOnce(*page);
    std::vector<double> warm;
    for (int i = 0; i < repetitions; ++i) warm.push_back(exportOnce(*page));
    std::sort(warm.begin(), warm.end());
    std::printf("%s cold %.0f ms, warm median %.0f ms (%d runs)\n", kind, cold,
                warm.empty() ? 0.0 : warm[warm.size() / 2], repetitions);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
