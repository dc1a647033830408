#pragma once

#include <QList>
#include <QString>

#include "cli/pdf_job.h"

namespace morvane::cli {

/// The PDF renderer's file name: a program of its own, so that only "export --pdf" loads the
/// web engine and every other command starts in a few milliseconds.
inline constexpr char kPdfRendererName[] = "morvane-astro-pdf";
/// Names the renderer to use instead of looking for one (for tests and unusual layouts).
inline constexpr char kPdfRendererVariable[] = "MORVANE_PDF_RENDERER";

/// Makes the pages with one run of the renderer, all of them in one web engine start. The
/// report says which were written; when the renderer cannot be found or started, or stops
/// without a cause of its own, the error says so.
PdfReport renderPdfPages(const QList<PdfPage>& pages);

}  // namespace morvane::cli
