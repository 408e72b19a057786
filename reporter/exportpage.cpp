#include "exportpage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "gridcopy.h"
#include "logpage.h"
#include "recordgrid.h"
#include "reporterviews.h"
#include "totalspage.h"
#include "xlsxworkbook.h"

namespace ravell {

namespace {

// The desktop's file associations through its own tools.
class QtDesktopOpener : public DesktopOpener {
 public:
  bool HasProgramFor(const QString& mime_type) override {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty()) return false;
    QProcess query;
    query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mime_type});
    if (!query.waitForFinished(5000)) {
      query.kill();
      query.waitForFinished();
      return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
  }
  bool Open(const QString& path) override {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  }
};

class ViewsAdapter : public ExportViews {
 public:
  ViewsAdapter(ReporterTables& tables, ReporterViews& views) : tables_(tables), views_(views) {}
  RecordTable& LogGridTable() override {
    return views_.LogModel() ? views_.LogModel()->table() : tables_.log_records;
  }
  QList<ExportColumn> LogGridColumns() override {
    return GridExportColumns(views_.Log()->DBGrid1());
  }
  QList<ExportColumn> TotalsGridColumns() override {
    return GridExportColumns(views_.Totals()->DBGrid2());
  }
  bool DayView() override { return views_.DayView(); }
  void LogCalendarClick() override { views_.LogCalendarClick(); }

 private:
  ReporterTables& tables_;
  ReporterViews& views_;
};

QString RunDialog(QFileDialog& dialog) {
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

ExportPage::ExportPage(ReporterTables& tables, ReporterViews& views, MessageBoxes& messages,
                       QWidget* parent)
    : QWidget(parent),
      tables_(tables),
      export_views_(std::make_unique<ViewsAdapter>(tables, views)),
      own_opener_(std::make_unique<QtDesktopOpener>()),
      messages_(&messages),
      chooser_(&RunDialog) {
  setObjectName(QStringLiteral("ExportView"));
  own_automation_ = std::make_unique<XlsxAutomation>(*own_opener_);
  automation_ = own_automation_.get();
  opener_ = own_opener_.get();

  auto* layout = new QVBoxLayout(this);
  tabs_ = Named(new QTabWidget(this), "ExportTabs");
  tabs_->addTab(BuildScopeTab(), QStringLiteral("Scope"));
  tabs_->addTab(BuildDestinationTab(), QStringLiteral("Destination"));
  tabs_->setCurrentIndex(0);
  layout->addWidget(tabs_);
  run_export_ = Named(new QPushButton(QStringLiteral("Export"), this), "RunExport");
  connect(run_export_, &QPushButton::clicked, this, &ExportPage::RunExportClick);
  layout->addWidget(run_export_, 0, Qt::AlignHCenter);
  layout->addStretch(1);

  SetProgramFolder(QCoreApplication::applicationDirPath());
  ExportSelectedRecordsClick();
  ExportTextRadioClick();
  RadioExcelNewClick();
}

ExportPage::~ExportPage() = default;

QWidget* ExportPage::BuildScopeTab() {
  auto* tab = Named(new QWidget, "ScopeTab");
  auto* layout = new QVBoxLayout(tab);
  all_records_ =
      Named(new QRadioButton(QStringLiteral("All log records"), tab), "ExportAllRecords");
  selected_records_ =
      Named(new QRadioButton(QStringLiteral("Selected records"), tab), "ExportSelectedRecords");
  selected_records_->setChecked(true);
  connect(all_records_, &QRadioButton::clicked, this, &ExportPage::ExportAllRecordsClick);
  connect(selected_records_, &QRadioButton::clicked, this, &ExportPage::ExportSelectedRecordsClick);
  layout->addWidget(all_records_);
  layout->addWidget(selected_records_);

  data_source_ = Named(new QGroupBox(QStringLiteral(" Data source "), tab), "DataSource");
  auto* source_layout = new QVBoxLayout(data_source_);
  scope_totals_ =
      Named(new QRadioButton(QStringLiteral("Totals"), data_source_), "ExportScopeTotals");
  scope_totals_->setChecked(true);
  scope_log_ =
      Named(new QRadioButton(QStringLiteral("Log records"), data_source_), "ExportScopeLogrecords");
  source_layout->addWidget(scope_totals_);
  source_layout->addWidget(scope_log_);
  auto* indent = new QHBoxLayout;
  indent->addSpacing(20);
  indent->addWidget(data_source_, 1);
  layout->addLayout(indent);

  insert_titles_ = Named(new QCheckBox(QStringLiteral("Insert titles"), tab), "InsertTitles");
  insert_titles_->setChecked(true);
  layout->addWidget(insert_titles_);
  layout->addStretch(1);
  return tab;
}

QWidget* ExportPage::BuildDestinationTab() {
  auto* tab = Named(new QWidget, "DestinationTab");
  auto* layout = new QGridLayout(tab);
  excel_radio_ = Named(new QRadioButton(QStringLiteral("MS Excel"), tab), "ExportMSExcelRadio");
  text_radio_ = Named(new QRadioButton(QStringLiteral("Text file"), tab), "ExportTextRadio");
  text_radio_->setChecked(true);
  connect(excel_radio_, &QRadioButton::clicked, this, &ExportPage::ExportMSExcelRadioClick);
  connect(text_radio_, &QRadioButton::clicked, this, &ExportPage::ExportTextRadioClick);
  layout->addWidget(excel_radio_, 0, 0);
  layout->addWidget(text_radio_, 0, 1);

  // " Excel sheet ": where the block goes and which workbook takes it.
  excel_sheet_ = Named(new QGroupBox(QStringLiteral(" Excel sheet "), tab), "ExcelSheet");
  auto* sheet = new QGridLayout(excel_sheet_);
  auto* digits =
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
  const auto number_field = [&](const char* name, const char* caption, int row) {
    auto* label = new QLabel(QString::fromLatin1(caption), excel_sheet_);
    auto* edit = Named(new QLineEdit(QStringLiteral("2"), excel_sheet_), name);
    edit->setValidator(digits);
    edit->setMaximumWidth(80);
    label->setBuddy(edit);
    sheet->addWidget(label, row, 0);
    sheet->addWidget(edit, row, 1, Qt::AlignLeft);
    return edit;
  };
  excel_col_ = number_field("ExcelCol", "Cell column:", 0);
  excel_row_ = number_field("ExcelRow", "Cell row:", 1);
  excel_new_ = Named(new QRadioButton(QStringLiteral("New sheet"), excel_sheet_), "RadioExcelNew");
  excel_new_->setChecked(true);
  excel_template_ =
      Named(new QRadioButton(QStringLiteral("Use template"), excel_sheet_), "RadioExcelTemplate");
  connect(excel_new_, &QRadioButton::clicked, this, &ExportPage::RadioExcelNewClick);
  connect(excel_template_, &QRadioButton::clicked, this, &ExportPage::RadioExcelTemplateClick);
  sheet->addWidget(excel_new_, 2, 0, 1, 3);
  sheet->addWidget(excel_template_, 3, 0, 1, 3);
  template_label_ = new QLabel(QStringLiteral("File path:"), excel_sheet_);
  template_path_ = Named(new QLineEdit(excel_sheet_), "ExcelTemplateFilePath");
  template_label_->setBuddy(template_path_);
  button1_ = Named(new QToolButton(excel_sheet_), "Button1");
  button1_->setText(QStringLiteral("..."));
  button1_->setAccessibleName(QStringLiteral("Choose template file"));
  connect(button1_, &QToolButton::clicked, this, &ExportPage::Button1Click);
  sheet->addWidget(template_label_, 4, 0);
  sheet->addWidget(template_path_, 4, 1);
  sheet->addWidget(button1_, 4, 2);
  sheet->setColumnStretch(1, 1);
  sheet->setRowStretch(5, 1);
  layout->addWidget(excel_sheet_, 1, 0, 3, 1);

  // " Fields delimeter " and the text file.
  delimiter_box_ =
      Named(new QGroupBox(QStringLiteral(" Fields delimeter "), tab), "FieldsDelimeter");
  auto* delimiter = new QGridLayout(delimiter_box_);
  tabulation_ = Named(new QRadioButton(QStringLiteral("Tabulation"), delimiter_box_), "Tabulation");
  tabulation_->setChecked(true);
  custom_ = Named(new QRadioButton(QStringLiteral("Custom"), delimiter_box_), "Custom");
  fields_delimiter_ = Named(new QLineEdit(QStringLiteral("~"), delimiter_box_), "FieldsDelimiter");
  fields_delimiter_->setMaxLength(1);
  fields_delimiter_->setMaximumWidth(40);
  fields_delimiter_->setAccessibleName(QStringLiteral("Custom delimiter"));
  delimiter->addWidget(tabulation_, 0, 0, 1, 2);
  delimiter->addWidget(custom_, 1, 0);
  delimiter->addWidget(fields_delimiter_, 1, 1, Qt::AlignLeft);
  delimiter->setColumnStretch(1, 1);
  layout->addWidget(delimiter_box_, 1, 1);

  auto* path_row = new QHBoxLayout;
  text_path_label_ = new QLabel(QStringLiteral("File path:"), tab);
  text_path_ = Named(new QLineEdit(tab), "ExportTextFilePath");
  text_path_label_->setBuddy(text_path_);
  button6_ = Named(new QToolButton(tab), "Button6");
  button6_->setText(QStringLiteral("..."));
  button6_->setAccessibleName(QStringLiteral("Choose text file"));
  connect(button6_, &QToolButton::clicked, this, &ExportPage::Button6Click);
  path_row->addWidget(text_path_label_);
  path_row->addWidget(text_path_, 1);
  path_row->addWidget(button6_);
  layout->addLayout(path_row, 2, 1);
  text_open_ =
      Named(new QCheckBox(QStringLiteral("Open composed text file"), tab), "ExportTextOpen");
  text_open_->setChecked(true);
  layout->addWidget(text_open_, 3, 1);
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(4, 1);
  return tab;
}

void ExportPage::SetProgramFolder(const QString& folder) {
  program_folder_ = folder;
  // This platform's spreadsheet files are .xlsx; the template keeps its name.
  template_path_->setText(QDir(folder).filePath(QStringLiteral("rvrtempl.xlsx")));
  text_path_->setText(QDir(folder).filePath(QStringLiteral("report.txt")));
}

void ExportPage::SetMessages(MessageBoxes& messages) { messages_ = &messages; }

void ExportPage::SetAutomation(SpreadsheetAutomation* automation) {
  automation_ = automation ? automation : own_automation_.get();
}

void ExportPage::SetOpener(DesktopOpener* opener) { opener_ = opener ? opener : own_opener_.get(); }

void ExportPage::SetFileChooser(FileChooser chooser) {
  chooser_ = chooser ? std::move(chooser) : FileChooser(&RunDialog);
}

ExportOptions ExportPage::Options() const {
  ExportOptions options;
  options.all_records = all_records_->isChecked();
  options.totals = scope_totals_->isChecked();
  options.insert_titles = insert_titles_->isChecked();
  options.spreadsheet = excel_radio_->isChecked();
  options.excel_col = excel_col_->text();
  options.excel_row = excel_row_->text();
  options.use_template = excel_template_->isChecked();
  options.template_path = template_path_->text();
  options.tabulation = tabulation_->isChecked();
  options.custom_delimiter = fields_delimiter_->text();
  options.text_path = text_path_->text();
  options.open_text = text_open_->isChecked();
  return options;
}

void ExportPage::RunExportClick() {
  DataExport run(tables_, *export_views_, *automation_, *opener_, *messages_);
  run.RunExport(Options());
}

void ExportPage::ExportAllRecordsClick() {
  all_records_->setChecked(true);
  data_source_->setEnabled(false);
}

void ExportPage::ExportSelectedRecordsClick() {
  selected_records_->setChecked(true);
  data_source_->setEnabled(true);
}

void ExportPage::ExportMSExcelRadioClick() {
  excel_radio_->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{delimiter_box_, text_path_label_, text_path_,
                                                    button6_, text_open_}) {
    w->setEnabled(false);
  }
  excel_sheet_->setEnabled(true);
}

void ExportPage::ExportTextRadioClick() {
  text_radio_->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{delimiter_box_, text_path_label_, text_path_,
                                                    button6_, text_open_}) {
    w->setEnabled(true);
  }
  excel_sheet_->setEnabled(false);
}

void ExportPage::RadioExcelNewClick() {
  excel_new_->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{template_label_, template_path_, button1_}) {
    w->setEnabled(false);
  }
}

void ExportPage::RadioExcelTemplateClick() {
  excel_template_->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{template_label_, template_path_, button1_}) {
    w->setEnabled(true);
  }
}

void ExportPage::Button6Click() {
  QFileDialog dialog(this, QStringLiteral("Text file"), program_folder_,
                     QStringLiteral("Text files (*.txt);;All files (*)"));
  dialog.setObjectName(QStringLiteral("SaveTextDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.selectNameFilter(QStringLiteral("Text files (*.txt)"));
  const QString chosen = chooser_(dialog);
  if (!chosen.isEmpty()) text_path_->setText(chosen);
}

void ExportPage::Button1Click() {
  QFileDialog dialog(this, QStringLiteral("Template"), QFileInfo(template_path_->text()).path(),
                     QStringLiteral("Microsoft Excel files (*.xlsx)"));
  dialog.setObjectName(QStringLiteral("OpenTemplateDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("xlsx"));
  const QString chosen = chooser_(dialog);
  if (!chosen.isEmpty()) template_path_->setText(chosen);
}

}  // namespace ravell
