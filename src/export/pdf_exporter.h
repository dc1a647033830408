#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <variant>

class QWebEnginePage;

namespace morvane {

/// Lays an HTML page out in an off-screen web page of a fixed page size and prints it to PDF.
/// Each exporter lives in activeExporters() from its start until it has called its completion,
/// exactly once, on the user-interface thread.
class PDFExporter : public QObject {
    Q_OBJECT

  public:
    /// PDF bytes, or why there are none.
    using Result = std::variant<QByteArray, QString>;
    using Completion = std::function<void(Result)>;

    /// Starts an export and returns at once. pageSize in points.
    static void exportHTML(const QString& html, QSizeF pageSize, Completion completion);

    /// The exporters still running.
    static const QList<PDFExporter*>& activeExporters();

    ~PDFExporter() override;

  private:
    PDFExporter(QSizeF pageSize, Completion completion);
    void loadFinished(bool ok);
    void finish(Result result);

    std::unique_ptr<QWebEnginePage> page_;
    QSizeF pageSize_;
    Completion completion_;
    bool finished_ = false;
};

/// Lets the web engine start in this process: as root (as in CI) its sandbox must be off, and
/// it must be told so before the first web-engine object exists. Call before the application
/// object is made.
void prepareWebEngine();

}  // namespace morvane
