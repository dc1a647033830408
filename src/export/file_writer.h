#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace morvane {

/// Why a write failed, in words for a person.
using WriteError = std::optional<QString>;

/// The SVG document as UTF-16 little-endian with a byte-order mark, replacing any earlier
/// file in one step; a failure leaves the earlier file as it was.
WriteError writeSvgFile(const QString& path, const QString& svg);
/// The text as UTF-8, atomically.
WriteError writeTextFile(const QString& path, const QString& text);
/// PDF bytes, atomically as well: a failed write must not destroy an earlier PDF.
WriteError writePdfFile(const QString& path, const QByteArray& pdf);
/// Bytes, atomically.
WriteError writeFileAtomically(const QString& path, const QByteArray& bytes);

/// One line on standard output: the prefix ("Error saving SVG: " …) and the cause.
void printExportError(const QString& prefix, const QString& cause);

}  // namespace morvane
