#include "startup.h"

#include "consolidation.h"

namespace ravell {

ReporterStartup::ReporterStartup(QString program_folder, ReporterTables& tables,
                                 MessageBoxes& messages, StartupProgress* progress)
    : program_folder_(std::move(program_folder)),
      tables_(tables),
      messages_(messages),
      progress_(progress) {}

bool ReporterStartup::Run() {
  result_ = StartupResult();
  tables_.log_records.Clear();
  if (progress_) progress_->SetStep(QString::fromLatin1(kConsolidatingStep));
  Consolidation consolidation = ConsolidateDayLogs(program_folder_, messages_, progress_);
  if (consolidation.files == 0) return false;
  result_.files = consolidation.files;
  result_.lines = consolidation.lines;

  if (progress_) progress_->SetStep(QString::fromLatin1(kTranslatingStep));
  // Two text elements (task and project) per record.
  ProgressMeter meter(progress_, 2 * consolidation.lines);
  result_.load = LoadLogRecords(consolidation.bytes, tables_.log_records, &meter);
  consolidation.bytes = QByteArray();  // the records hold what is needed now
  meter.Finish();

  if (progress_) progress_->SetStep(QString::fromLatin1(kIndexingStep));
  tables_.log_records.BuildOrders();
  return true;
}

QString ReporterStartup::SkippedText() const {
  const int skipped = result_.load.skipped;
  if (skipped == 0) return QString();
  return skipped == 1 ? QStringLiteral("1 unreadable record skipped")
                      : QStringLiteral("%1 unreadable records skipped").arg(skipped);
}

}  // namespace ravell
