#include "reportgenerator.h"

namespace ravell {

bool ApplyReportDefaults(QuickReport& report, ReporterAnalysis& analysis) {
  if (ReportElement* info = report.Element(QStringLiteral("InfoLabel")))
    info->caption = analysis.GetDataScopeStr();
  for (int level = 1; level <= kReportLevels; ++level) report.SetSubtotalText(level);
  return true;
}

bool ReportGenerator::GenerateReportClick(const ApplySettings& apply, const ShowPreview& preview) {
  if (apply && !apply()) return false;
  RecordTable& display = analysis_.Tables().display_log;
  // Grids hear of the walk once, when the view is back as it was.
  display.DisableControls();
  const RecordTable::ViewState saved = display.SaveView();
  struct Restore {
    RecordTable& table;
    const RecordTable::ViewState& state;
    ~Restore() {
      table.RestoreView(state);
      table.EnableControls();
    }
  } restore{display, saved};

  display.SetOrder(QString::fromLatin1(kCustom));
  analysis_.CustomTreeSetRange();
  const ReportDocument document = LayOutReport(report_, display, clock_);
  if (preview) preview(document);
  return true;
}

}  // namespace ravell
