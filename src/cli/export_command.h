#pragma once

#include <QString>
#include <iosfwd>

#include "export/export_context.h"

namespace morvane::cli {

/// Writes every exportable output of the context into `folder` under its suggested file name:
/// the two SVG files and the three text documents, and with `pdf` the five PDF files. Prints
/// each path written. The PDF files come from the renderer program (cli/pdf_renderer.h), so that
/// this process never loads the web engine. Returns the exit status: 1 after naming the file
/// that failed and why.
int exportAll(const ExportContext& context, const QString& folder, bool pdf, std::ostream& out,
              std::ostream& err);

}  // namespace morvane::cli
