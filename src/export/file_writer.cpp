#include "export/file_writer.h"

#include <QSaveFile>
#include <QStringEncoder>
#include <cstdio>

namespace morvane {

WriteError writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString cause = file.errorString();
        file.cancelWriting();
        return cause;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

WriteError writeSvgFile(const QString& path, const QString& svg) {
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder.encode(svg);
    return writeFileAtomically(path, bytes);
}

WriteError writeTextFile(const QString& path, const QString& text) {
    return writeFileAtomically(path, text.toUtf8());
}

WriteError writePdfFile(const QString& path, const QByteArray& pdf) {
    return writeFileAtomically(path, pdf);
}

void printExportError(const QString& prefix, const QString& cause) {
    const QByteArray line = (prefix + cause).toUtf8();
    std::fprintf(stdout, "%s\n", line.constData());
    std::fflush(stdout);
}

}  // namespace morvane
