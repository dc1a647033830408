#pragma once

#include <QString>
#include <functional>

#include "export/file_writer.h"

class QIODevice;

namespace morvane {

/// What every page of a paginated almanac carries besides its share of the lines.
struct AlmanacPdfOptions {
    /// The line at the top of every page, beside "page N of M".
    QString heading;
    /// Once a line equal to this one has been laid out (the table's column heads), it opens
    /// every later page again, so that a page read on its own still names its columns. Empty:
    /// nothing is repeated.
    QString repeatedLine;
};

struct AlmanacPdfResult {
    int pages = 0;
    bool cancelled = false;
    WriteError error;  ///< why the PDF could not be made
};

/// Lays out fixed-width UTF-8 text, read line by line from `text` (opened, seekable, lines
/// ending in "\n"), on A4 pages of a PDF written to `pdf`: a monospaced font, one text line per
/// row, every page headed by `options.heading` and "page N of M". The text is read twice, first
/// to count its lines and find the widest, so that M is known before the first page and the
/// pages turn to landscape when the widest line does not fit a portrait page at 9 points (the
/// font shrinks only when it does not fit a landscape one either), then to draw.
/// Holds one line at a time, so tens of thousands of lines cost little memory.
/// `progress` hears the fraction of lines laid out and answers false to stop; a stopped or
/// failed PDF is incomplete, and the caller throws it away.
AlmanacPdfResult writeAlmanacPdf(QIODevice& text, QIODevice& pdf, const AlmanacPdfOptions& options,
                                 const std::function<bool(double)>& progress = {});

}  // namespace morvane
