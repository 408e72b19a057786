#pragma once

#include <QByteArray>
#include <QString>

#include "quickreport.h"

namespace ravell {

// The report layout file report.rvr: readable, versioned JSON holding the
// report's page setup, base font, data set and interval, then every band in
// the report's stored order, each with its elements in their stored order.

// The file's bytes for a report.
QByteArray ReportLayoutBytes(const QuickReport& report);
// Sets the report from the bytes. Expression elements keep the expression
// they had. A damaged or foreign file throws FileError and leaves the report
// as it was.
void ReadReportLayout(QuickReport& report, const QByteArray& bytes, const QString& path);

// Replaces the file atomically; throws FileError.
void SaveReportLayout(const QuickReport& report, const QString& path);
// Reads the file; throws FileError, the report unchanged.
void LoadReportLayout(QuickReport& report, const QString& path);

}  // namespace ravell
