#pragma once

#include <QRgb>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "grouping.h"
#include "messages.h"
#include "quickreport.h"

namespace ravell {

// What a format sample shows: the band's colour, the element's font and
// alignment.
struct FormatSample {
  QRgb color = 0xffffffff;
  ReportFont font;
  ReportAlignment alignment = ReportAlignment::kLeft;
  bool operator==(const FormatSample&) const = default;
};

// The format samples of the "Create Report" page, named after their panels.
enum class SampleId {
  kPanelTitle,
  kPanelInfo,
  kPanelHeader,
  kPanelFooter,
  kPanelDescription,
  kPanelColummns,
  kPanelDetailsTitle,
  kPanelDetailsTime,
  kPanelDetailsRate,
  kPanelDataTitle,
  kPanelDataTotal,
  kPanelDataTime,
  kPanelDataRate,
  kPanelSummary,
  kPanelSummaryTime,
  kPanelSummaryRate,
};
inline constexpr int kSampleCount = 16;

// One grouping level's settings while the page shows one level at a time.
struct TLevelFormat {
  bool visible = true;
  ReportFont title_font;
  int title_left = 0;
  QRgb header_color = 0xffffffff;
  ReportAlignment title_alignment = ReportAlignment::kLeft;
  ReportFont subtotal_font;
  int subtotal_left = 0;
  QRgb footer_color = 0xffffffff;
  ReportAlignment subtotal_alignment = ReportAlignment::kLeft;
  ReportFont time_font;
  ReportAlignment time_alignment = ReportAlignment::kLeft;
  ReportFont rate_font;
  ReportAlignment rate_alignment = ReportAlignment::kLeft;
  bool subtotal_only = false;
  bool operator==(const TLevelFormat&) const = default;
};

// Every control's value of the page; numeric fields are kept as typed.
struct ReportPageValues {
  // "Basic"
  QString report_interval = QStringLiteral("10");
  bool check_report_title = true;
  QString text_title;
  bool check_show_info = true;
  // "Page Header", "Page Footer"
  bool check_page_header = true;
  QString text_header;
  bool header_check_page = false;
  bool header_check_date = false;
  bool header_check_time = false;
  bool check_page_footer = true;
  QString text_footer;
  bool footer_check_page = false;
  bool footer_check_date = false;
  bool footer_check_time = false;
  // "Description": lines separated by "\n" as the memo holds them.
  bool check_show_description = true;
  QString description_memo;
  // "Columns"
  bool check_show_time = true;
  bool check_show_rate = true;
  bool check_show_colummn_header = true;
  QString text_rate_header;
  QString text_time_header;
  // "Details"
  bool check_show_details = true;
  QString details_shift = QStringLiteral("10");
  // "Grouping Levels": the controls of the level the tabs show.
  bool check_data_bands = true;
  bool check_data_total_only = false;
  QString report_data_level_shift = QStringLiteral("0");
  // "Summary"
  bool check_show_summary = true;

  std::array<FormatSample, kSampleCount> samples;

  FormatSample& Sample(SampleId id) { return samples[static_cast<int>(id)]; }
  const FormatSample& Sample(SampleId id) const { return samples[static_cast<int>(id)]; }
  bool operator==(const ReportPageValues&) const = default;
};

// The "Create Report" page without widgets: the values of its controls, the
// five level records, and the two operations that move them into the report
// (apply) and back (read back). The window shows the values and hands every
// user action to the operation of the same name.
class ReportSettings {
 public:
  ReportSettings(QuickReport& report, MessageBoxes& messages);

  // The data scope text printed in the data-scope band.
  void SetDataScope(std::function<QString()> data_scope) { data_scope_ = std::move(data_scope); }
  void SetMessages(MessageBoxes& messages) { messages_ = &messages; }

  ReportPageValues& Values() { return values_; }
  const ReportPageValues& Values() const { return values_; }
  std::array<TLevelFormat, kReportLevels>& LevelFormats() { return level_formats_; }
  const std::array<TLevelFormat, kReportLevels>& LevelFormats() const { return level_formats_; }
  // Captions of the level tabs ("1: Year" …) and the shown level, 0-based.
  const QStringList& LevelTabs() const { return level_tabs_; }
  int CurrentLevel() const { return current_level_; }

  // Writes every setting into the report. False, after the conversion
  // message, when the interval or the details shift is not a number; the
  // report is then left as it was.
  bool ApplyReportPage();
  // Sets every value from the report; the level tabs follow the key.
  void SetReportPage(const GroupingKey& key);

  // The level tabs switched to level (0-based).
  void ReportDataTabsChange(int level);
  // User clicks on "Show this grouping level" and "Show subtotal only …".
  void CheckDataBandsClick(bool checked);
  void CheckDataTotalOnlyClick(bool checked);
  // Leaving the shift fields; an empty field becomes "0".
  void ReportDataLevelShiftExit();
  void DetailsShiftExit();

  // "Save as default": apply, then the layout file at path. False after a
  // message when either fails.
  bool SaveReportClick(const QString& path);
  // "Load default": with a file at path, loads it, binds its levels to the
  // key and reads back; without one nothing changes. A damaged file changes
  // nothing either and shows why. True when a layout was loaded.
  bool LoadReportClick(const QString& path, const GroupingKey& key);

  // The format popup's commands on one sample; each ends with apply, whose
  // result it returns.
  bool SetSampleFont(SampleId sample, const ReportFont& font);
  bool SetSampleColor(SampleId sample, QRgb color);
  bool SetSampleAlignment(SampleId sample, ReportAlignment alignment);

 private:
  void ApplyLevels(int interval);
  void ShowLevel(int level);
  void StoreLevelShift();
  void LevelFormatsFromSamples();

  QuickReport& report_;
  MessageBoxes* messages_;
  std::function<QString()> data_scope_;
  ReportPageValues values_;
  std::array<TLevelFormat, kReportLevels> level_formats_;
  QStringList level_tabs_;
  int current_level_ = 0;
};

// Caption of a level tab: "Date" for RecordDate, "Task" for Name, the
// field's name otherwise.
QString LevelTabLabel(const QString& field);

}  // namespace ravell
