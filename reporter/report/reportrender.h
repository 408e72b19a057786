#pragma once

#include <QByteArray>
#include <QString>

#include "reportengine.h"

class QPagedPaintDevice;
class QPainter;

namespace ravell {

// Paints one page with an active painter whose origin is the paper's top left
// corner (a printer in full-page mode, a PDF writer without margins); the
// device's resolution scales the layout.
void PaintReportPage(QPainter& painter, const LaidOutPage& page);

// Paints every page onto a paged device, a new page for each. Throws Error
// when the device cannot be painted on.
void PaintReport(const ReportDocument& document, QPagedPaintDevice& device);

// The report as the bytes of a PDF file.
QByteArray ReportToPdf(const ReportDocument& document, const QString& title);

// The report as plain text: one line per printed line of a band, columns
// kept by spaces, pages separated by a form feed, CR LF line ends.
QString ReportToText(const ReportDocument& document);

// The report as one HTML page with a block per page, texts escaped.
QString ReportToHtml(const ReportDocument& document, const QString& title);

// Writes the report to a file by the file's extension: .pdf, .html/.htm, or
// plain text for any other. Throws FileError when the file cannot be written.
void SaveReport(const ReportDocument& document, const QString& path, const QString& title);

}  // namespace ravell
