#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "exportrun.h"

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace ravell {

class ReporterViews;
class XlsxAutomation;

// The "Data Export" page: the tabs "Scope" and "Destination" with the
// export's options, and the button "Export". The work is DataExport's.
class ExportPage : public QWidget {
  Q_OBJECT

 public:
  // Runs a file dialog; returns the chosen file or an empty text.
  using FileChooser = std::function<QString(QFileDialog& dialog)>;

  ExportPage(ReporterTables& tables, ReporterViews& views, MessageBoxes& messages,
             QWidget* parent = nullptr);
  ~ExportPage() override;

  // Sets the default file paths in the program folder.
  void SetProgramFolder(const QString& folder);
  void SetMessages(MessageBoxes& messages);
  // Stand-ins for the spreadsheet application, the desktop and the file
  // dialogs; the real ones when null.
  void SetAutomation(SpreadsheetAutomation* automation);
  void SetOpener(DesktopOpener* opener);
  void SetFileChooser(FileChooser chooser);

  ExportOptions Options() const;

  void RunExportClick();
  void ExportAllRecordsClick();
  void ExportSelectedRecordsClick();
  void ExportMSExcelRadioClick();
  void ExportTextRadioClick();
  void RadioExcelNewClick();
  void RadioExcelTemplateClick();
  void Button6Click();
  void Button1Click();

 private:
  QWidget* BuildScopeTab();
  QWidget* BuildDestinationTab();

  ReporterTables& tables_;
  std::unique_ptr<ExportViews> export_views_;
  std::unique_ptr<DesktopOpener> own_opener_;
  std::unique_ptr<XlsxAutomation> own_automation_;
  MessageBoxes* messages_;
  SpreadsheetAutomation* automation_;
  DesktopOpener* opener_;
  FileChooser chooser_;
  QString program_folder_;

  QTabWidget* tabs_ = nullptr;
  QRadioButton* all_records_ = nullptr;
  QRadioButton* selected_records_ = nullptr;
  QGroupBox* data_source_ = nullptr;
  QRadioButton* scope_totals_ = nullptr;
  QRadioButton* scope_log_ = nullptr;
  QCheckBox* insert_titles_ = nullptr;
  QRadioButton* excel_radio_ = nullptr;
  QRadioButton* text_radio_ = nullptr;
  QGroupBox* excel_sheet_ = nullptr;
  QLineEdit* excel_col_ = nullptr;
  QLineEdit* excel_row_ = nullptr;
  QRadioButton* excel_new_ = nullptr;
  QRadioButton* excel_template_ = nullptr;
  QLabel* template_label_ = nullptr;
  QLineEdit* template_path_ = nullptr;
  QToolButton* button1_ = nullptr;
  QGroupBox* delimiter_box_ = nullptr;
  QRadioButton* tabulation_ = nullptr;
  QRadioButton* custom_ = nullptr;
  QLineEdit* fields_delimiter_ = nullptr;
  QLabel* text_path_label_ = nullptr;
  QLineEdit* text_path_ = nullptr;
  QToolButton* button6_ = nullptr;
  QCheckBox* text_open_ = nullptr;
  QPushButton* run_export_ = nullptr;
};

}  // namespace ravell
