#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <tuple>

#include "reportsettings.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTabBar;
class QTabWidget;

namespace ravell {

// The font and colour dialogs of the format popup; tests script them.
class ReportDialogs {
 public:
  virtual ~ReportDialogs() = default;
  // nullopt when the user cancels.
  virtual std::optional<ReportFont> ChooseFont(const ReportFont& font, QWidget* parent) = 0;
  virtual std::optional<QRgb> ChooseColor(QRgb color, QWidget* parent) = 0;
};

class QtReportDialogs : public ReportDialogs {
 public:
  std::optional<ReportFont> ChooseFont(const ReportFont& font, QWidget* parent) override;
  std::optional<QRgb> ChooseColor(QRgb color, QWidget* parent) override;
};

// The "Create Report" page: tabs of settings on the left, the buttons "Save
// as default", "Generate" and "Load default" below. The controls show the
// values of ReportSettings; every user action goes to its operation there.
class ReportPage : public QWidget {
  Q_OBJECT

 public:
  ReportPage(QuickReport& report, MessageBoxes& messages, QWidget* parent = nullptr);
  ~ReportPage() override;

  void SetMessages(MessageBoxes& messages) { settings_.SetMessages(messages); }
  // nullptr: the platform's dialogs.
  void SetDialogs(ReportDialogs* dialogs);
  void SetDataScope(std::function<QString()> data_scope);
  // The layout file "Save as default" and "Load default" use.
  void SetLayoutPath(std::function<QString()> path) { layout_path_ = std::move(path); }

  ReportSettings& Settings() { return settings_; }

  // Apply and read back, with the controls taken and shown.
  bool ApplyReportPage();
  void SetReportPage(const GroupingKey& key);

  void SaveReportClick();
  void LoadReportClick();

  // The format popup, opened on a sample; with no sample its commands do
  // nothing.
  QMenu* ReportPopup() const { return report_popup_; }
  void ReportPopupPopup(QWidget* sample);
  void Settext1Click();
  void Setbackgroundcolor1Click();
  void AlignmentClick(ReportAlignment alignment);

  QLabel* SampleLabel(SampleId id) const { return samples_[static_cast<int>(id)]; }

 signals:
  // "Generate": the window builds and shows the report.
  void GenerateClicked();

 private:
  QWidget* BuildBasic();
  QWidget* BuildPageBand(bool header);
  QWidget* BuildDescription();
  QWidget* BuildColumns();
  QWidget* BuildDetails();
  QWidget* BuildLevels();
  QWidget* BuildSummary();
  QCheckBox* Check(QWidget* parent, const char* name, const char* caption);
  QLineEdit* Text(QWidget* parent, const char* name);
  QLineEdit* Number(QWidget* parent, const char* name);
  QLabel* Sample(QWidget* parent, SampleId id, const char* name, const char* caption);
  // Captioned samples one per row from row on, in the tab's grid.
  using SampleRow = std::tuple<SampleId, const char*, const char*>;
  void AddSamples(QWidget* tab, QGridLayout* grid, int row,
                  std::initializer_list<SampleRow> samples);
  QLabel* Caption(QWidget* parent, const char* text, QWidget* buddy);

  // Between the controls and the values.
  void StoreControls();
  void ShowControls();
  void ShowSample(SampleId id);
  // A user action: controls into values, the operation, values back.
  void Act(const std::function<void()>& operation);
  std::optional<SampleId> Target() const;

  ReportSettings settings_;
  QtReportDialogs own_dialogs_;
  ReportDialogs* dialogs_ = &own_dialogs_;
  GroupingKey key_;
  std::function<QString()> layout_path_;
  bool showing_ = false;
  QWidget* popup_target_ = nullptr;

  QTabWidget* tabs_ = nullptr;
  QMenu* report_popup_ = nullptr;
  std::array<QAction*, 3> alignment_actions_{};
  std::array<QLabel*, kSampleCount> samples_{};

  QLineEdit* report_interval_ = nullptr;
  QCheckBox* check_report_title_ = nullptr;
  QLineEdit* text_title_ = nullptr;
  QCheckBox* check_show_info_ = nullptr;
  QCheckBox* check_page_header_ = nullptr;
  QLineEdit* text_header_ = nullptr;
  QCheckBox* header_check_page_ = nullptr;
  QCheckBox* header_check_date_ = nullptr;
  QCheckBox* header_check_time_ = nullptr;
  QCheckBox* check_page_footer_ = nullptr;
  QLineEdit* text_footer_ = nullptr;
  QCheckBox* footer_check_page_ = nullptr;
  QCheckBox* footer_check_date_ = nullptr;
  QCheckBox* footer_check_time_ = nullptr;
  QCheckBox* check_show_description_ = nullptr;
  QPlainTextEdit* description_memo_ = nullptr;
  QCheckBox* check_show_time_ = nullptr;
  QCheckBox* check_show_rate_ = nullptr;
  QCheckBox* check_show_colummn_header_ = nullptr;
  QLineEdit* text_rate_header_ = nullptr;
  QLineEdit* text_time_header_ = nullptr;
  QCheckBox* check_show_details_ = nullptr;
  QLineEdit* details_shift_ = nullptr;
  QTabBar* report_data_tabs_ = nullptr;
  QCheckBox* check_data_bands_ = nullptr;
  QCheckBox* check_data_total_only_ = nullptr;
  QLineEdit* report_data_level_shift_ = nullptr;
  QCheckBox* check_show_summary_ = nullptr;
};

}  // namespace ravell
