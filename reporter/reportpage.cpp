#include "reportpage.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ravell {
namespace {

constexpr char kSampleHint[] = "Click right button mouse\r\nfor setting format";
constexpr char kSampleProperty[] = "sampleId";

QFont ToQFont(const ReportFont& font) {
  QFont qfont(font.family);
  qfont.setPointSize(font.point_size);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  qfont.setStrikeOut(font.strike_out);
  return qfont;
}

ReportFont FromQFont(const QFont& qfont, QRgb color) {
  ReportFont font;
  font.family = qfont.family();
  font.point_size = qfont.pointSize() > 0 ? qfont.pointSize() : 10;
  font.bold = qfont.bold();
  font.italic = qfont.italic();
  font.underline = qfont.underline();
  font.strike_out = qfont.strikeOut();
  font.color = color;
  return font;
}

Qt::Alignment ToQtAlignment(ReportAlignment alignment) {
  switch (alignment) {
    case ReportAlignment::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case ReportAlignment::kCenter:
      return Qt::AlignCenter;
    case ReportAlignment::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// The grid of one tab: rows of caption and control, stretch below.
QGridLayout* TabGrid(QWidget* tab) {
  auto* grid = new QGridLayout(tab);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setColumnStretch(2, 1);
  return grid;
}

void EndGrid(QGridLayout* grid) { grid->setRowStretch(grid->rowCount(), 1); }

// Tabs on the left with their captions written across, so all eight fit the
// height of the page.
class SideTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    size.transpose();
    return size;
  }

  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
      QStyleOptionTab option;
      initStyleOption(&option, i);
      painter.drawControl(QStyle::CE_TabBarTabShape, option);
      painter.drawItemText(option.rect.adjusted(8, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                           option.palette, option.state & QStyle::State_Enabled, option.text,
                           QPalette::WindowText);
    }
  }
};

class SideTabWidget : public QTabWidget {
 public:
  explicit SideTabWidget(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new SideTabBar(this));
    setTabPosition(QTabWidget::West);
  }
};

}  // namespace

std::optional<ReportFont> QtReportDialogs::ChooseFont(const ReportFont& font, QWidget* parent) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, ToQFont(font), parent);
  if (!ok) return std::nullopt;
  return FromQFont(chosen, font.color);
}

std::optional<QRgb> QtReportDialogs::ChooseColor(QRgb color, QWidget* parent) {
  const QColor chosen = QColorDialog::getColor(QColor::fromRgb(color), parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen.rgb();
}

ReportPage::ReportPage(QuickReport& report, MessageBoxes& messages, QWidget* parent)
    : QWidget(parent), settings_(report, messages) {
  setObjectName(QStringLiteral("ReportSettingsPage"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  report_popup_ = new QMenu(this);
  report_popup_->setObjectName(QStringLiteral("ReportPopup"));
  QAction* set_text =
      report_popup_->addAction(QStringLiteral("Set text"), this, &ReportPage::Settext1Click);
  set_text->setObjectName(QStringLiteral("Settext1"));
  QAction* set_color = report_popup_->addAction(QStringLiteral("Set background color"), this,
                                                &ReportPage::Setbackgroundcolor1Click);
  set_color->setObjectName(QStringLiteral("Setbackgroundcolor1"));
  QMenu* alignment = report_popup_->addMenu(QStringLiteral("Alignment"));
  alignment->setObjectName(QStringLiteral("Alignment1"));
  auto* group = new QActionGroup(alignment);
  group->setExclusive(true);
  const std::array<std::pair<const char*, ReportAlignment>, 3> choices = {{
      {"Left", ReportAlignment::kLeft},
      {"Right", ReportAlignment::kRight},
      {"Center", ReportAlignment::kCenter},
  }};
  for (int i = 0; i < 3; ++i) {
    const auto [caption, value] = choices[i];
    QAction* action = alignment->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(caption) + QStringLiteral("1"));
    action->setCheckable(true);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, value = value] { AlignmentClick(value); });
    alignment_actions_[i] = action;
  }

  tabs_ = new SideTabWidget(this);
  tabs_->setObjectName(QStringLiteral("ReportSettingsTabs"));
  tabs_->addTab(BuildBasic(), QStringLiteral("Basic"));
  tabs_->addTab(BuildPageBand(true), QStringLiteral("Page Header"));
  tabs_->addTab(BuildPageBand(false), QStringLiteral("Page Footer"));
  tabs_->addTab(BuildDescription(), QStringLiteral("Description"));
  tabs_->addTab(BuildColumns(), QStringLiteral("Columns"));
  tabs_->addTab(BuildDetails(), QStringLiteral("Details"));
  tabs_->addTab(BuildLevels(), QStringLiteral("Grouping Levels"));
  tabs_->addTab(BuildSummary(), QStringLiteral("Summary"));
  tabs_->setCurrentIndex(0);
  layout->addWidget(tabs_, 1);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* name, const char* caption, auto click) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this, click);
    buttons->addWidget(b);
  };
  button("SaveReport", "Save as default", [this] { SaveReportClick(); });
  buttons->addStretch(1);
  button("GenerateReport", "Generate", [this] { emit GenerateClicked(); });
  buttons->addStretch(1);
  button("LoadReport", "Load default", [this] { LoadReportClick(); });
  layout->addLayout(buttons);

  // The fresh report's own settings until the levels are first bound.
  SetReportPage(GroupingKey{{"Year", "Month", "Day", "Project", "Name"}, 5});
}

ReportPage::~ReportPage() = default;

void ReportPage::SetDialogs(ReportDialogs* dialogs) {
  dialogs_ = dialogs ? dialogs : &own_dialogs_;
}

void ReportPage::SetDataScope(std::function<QString()> data_scope) {
  settings_.SetDataScope(std::move(data_scope));
}

QCheckBox* ReportPage::Check(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

QLineEdit* ReportPage::Text(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

// Digits only, at most three: the shift and interval fields.
QLineEdit* ReportPage::Number(QWidget* parent, const char* name) {
  QLineEdit* edit = Text(parent, name);
  edit->setMaxLength(3);
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), edit));
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  return edit;
}

QLabel* ReportPage::Caption(QWidget* parent, const char* text, QWidget* buddy) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setBuddy(buddy);
  return label;
}

void ReportPage::AddSamples(QWidget* tab, QGridLayout* grid, int row,
                            std::initializer_list<SampleRow> samples) {
  for (const auto& [id, name, caption] : samples) {
    QLabel* sample = Sample(tab, id, name, caption);
    grid->addWidget(Caption(tab, caption, sample), row, 0);
    grid->addWidget(sample, row++, 1, 1, 2, Qt::AlignLeft);
  }
}

QLabel* ReportPage::Sample(QWidget* parent, SampleId id, const char* name, const char* caption) {
  auto* sample = new QLabel(QStringLiteral("Text"), parent);
  sample->setObjectName(QString::fromLatin1(name));
  sample->setFrameStyle(QFrame::Box | QFrame::Plain);
  sample->setAutoFillBackground(true);
  sample->setMinimumSize(140, 36);
  sample->setToolTip(QString::fromLatin1(kSampleHint));
  sample->setAccessibleName(QString::fromLatin1(caption).chopped(1));
  sample->setProperty(kSampleProperty, static_cast<int>(id));
  sample->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(sample, &QLabel::customContextMenuRequested, this, [this, sample](const QPoint& pos) {
    ReportPopupPopup(sample);
    report_popup_->exec(sample->mapToGlobal(pos));
  });
  samples_[static_cast<int>(id)] = sample;
  return sample;
}

QWidget* ReportPage::BuildBasic() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("BasicSheet"));
  QGridLayout* grid = TabGrid(tab);
  report_interval_ = Number(tab, "ReportInterval");
  grid->addWidget(Caption(tab, "Interval:", report_interval_), 0, 0);
  grid->addWidget(report_interval_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("px"), tab), 0, 2);
  check_report_title_ = Check(tab, "CheckReportTitle", "Show title");
  grid->addWidget(check_report_title_, 1, 0, 1, 3);
  text_title_ = Text(tab, "TextTitle");
  grid->addWidget(Caption(tab, "Title text:", text_title_), 2, 0);
  grid->addWidget(text_title_, 2, 1, 1, 2);
  QLabel* title = Sample(tab, SampleId::kPanelTitle, "PanelTitle", "Title format sample:");
  grid->addWidget(Caption(tab, "Title format sample:", title), 3, 0);
  grid->addWidget(title, 3, 1, 1, 2, Qt::AlignLeft);
  check_show_info_ = Check(tab, "CheckShowInfo", "Show data scope information");
  grid->addWidget(check_show_info_, 4, 0, 1, 3);
  QLabel* info = Sample(tab, SampleId::kPanelInfo, "PanelInfo", "Data scope format sample:");
  grid->addWidget(Caption(tab, "Data scope format sample:", info), 5, 0);
  grid->addWidget(info, 5, 1, 1, 2, Qt::AlignLeft);
  EndGrid(grid);
  return tab;
}

QWidget* ReportPage::BuildPageBand(bool header) {
  auto* tab = new QWidget;
  tab->setObjectName(header ? QStringLiteral("PageHeaderSheet")
                            : QStringLiteral("PageFooterSheet"));
  QGridLayout* grid = TabGrid(tab);
  QCheckBox* shown = header ? Check(tab, "CheckPageHeader", "Show page header")
                            : Check(tab, "CheckPageFooter", "Show page footer");
  grid->addWidget(shown, 0, 0, 1, 3);
  QLineEdit* text = Text(tab, header ? "TextHeader" : "TextFooter");
  grid->addWidget(Caption(tab, "Text:", text), 1, 0);
  grid->addWidget(text, 1, 1, 1, 2);
  const char* prefix = header ? "Header" : "Footer";
  QCheckBox* page = Check(tab, QByteArray(prefix).append("CheckPage").constData(), "+ Page Number");
  QCheckBox* date =
      Check(tab, QByteArray(prefix).append("CheckDate").constData(), "+ Current Date");
  QCheckBox* time =
      Check(tab, QByteArray(prefix).append("CheckTime").constData(), "+ Current Time");
  grid->addWidget(page, 2, 1, 1, 2);
  grid->addWidget(date, 3, 1, 1, 2);
  grid->addWidget(time, 4, 1, 1, 2);
  QLabel* sample = header ? Sample(tab, SampleId::kPanelHeader, "PanelHeader", "Format sample:")
                          : Sample(tab, SampleId::kPanelFooter, "PanelFooter", "Format sample:");
  grid->addWidget(Caption(tab, "Format sample:", sample), 5, 0);
  grid->addWidget(sample, 5, 1, 1, 2, Qt::AlignLeft);
  EndGrid(grid);
  if (header) {
    check_page_header_ = shown;
    text_header_ = text;
    header_check_page_ = page;
    header_check_date_ = date;
    header_check_time_ = time;
  } else {
    check_page_footer_ = shown;
    text_footer_ = text;
    footer_check_page_ = page;
    footer_check_date_ = date;
    footer_check_time_ = time;
  }
  return tab;
}

QWidget* ReportPage::BuildDescription() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("DescriptionSheet"));
  QGridLayout* grid = TabGrid(tab);
  check_show_description_ = Check(tab, "CheckShowDescription", "Show description");
  grid->addWidget(check_show_description_, 0, 0, 1, 3);
  description_memo_ = new QPlainTextEdit(tab);
  description_memo_->setObjectName(QStringLiteral("DescriptionMemo"));
  description_memo_->setTabChangesFocus(true);
  grid->addWidget(Caption(tab, "Description:", description_memo_), 1, 0, Qt::AlignTop);
  grid->addWidget(description_memo_, 1, 1, 1, 2);
  QLabel* sample = Sample(tab, SampleId::kPanelDescription, "PanelDescription", "Format sample:");
  grid->addWidget(Caption(tab, "Format sample:", sample), 2, 0);
  grid->addWidget(sample, 2, 1, 1, 2, Qt::AlignLeft);
  grid->setRowStretch(1, 1);
  return tab;
}

QWidget* ReportPage::BuildColumns() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("ColumnsSheet"));
  QGridLayout* grid = TabGrid(tab);
  check_show_time_ = Check(tab, "CheckShowTime", "Show time column");
  check_show_rate_ = Check(tab, "CheckShowRate", "Show rate column");
  check_show_colummn_header_ = Check(tab, "CheckShowColummnHeader", "Show headers:");
  grid->addWidget(check_show_time_, 0, 0, 1, 3);
  grid->addWidget(check_show_rate_, 1, 0, 1, 3);
  grid->addWidget(check_show_colummn_header_, 2, 0, 1, 3);
  text_rate_header_ = Text(tab, "TextRateHeader");
  grid->addWidget(Caption(tab, "Rate header text:", text_rate_header_), 3, 0);
  grid->addWidget(text_rate_header_, 3, 1, 1, 2);
  text_time_header_ = Text(tab, "TextTimeHeader");
  grid->addWidget(Caption(tab, "Time header text:", text_time_header_), 4, 0);
  grid->addWidget(text_time_header_, 4, 1, 1, 2);
  QLabel* sample = Sample(tab, SampleId::kPanelColummns, "PanelColummns", "Format sample:");
  grid->addWidget(Caption(tab, "Format sample:", sample), 5, 0);
  grid->addWidget(sample, 5, 1, 1, 2, Qt::AlignLeft);
  EndGrid(grid);
  return tab;
}

QWidget* ReportPage::BuildDetails() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("DetailsSheet"));
  QGridLayout* grid = TabGrid(tab);
  check_show_details_ = Check(tab, "CheckShowDetails", "Show details");
  grid->addWidget(check_show_details_, 0, 0, 1, 3);
  details_shift_ = Number(tab, "DetailsShift");
  grid->addWidget(Caption(tab, "Details shift:", details_shift_), 1, 0);
  grid->addWidget(details_shift_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("px"), tab), 1, 2);
  connect(details_shift_, &QLineEdit::editingFinished, this,
          [this] { Act([this] { settings_.DetailsShiftExit(); }); });
  AddSamples(tab, grid, 2,
             {
                 {SampleId::kPanelDetailsTitle, "PanelDetailsTitle", "Title format sample:"},
                 {SampleId::kPanelDetailsTime, "PanelDetailsTime", "Time format sample:"},
                 {SampleId::kPanelDetailsRate, "PanelDetailsRate", "Rate format sample:"},
             });
  EndGrid(grid);
  return tab;
}

QWidget* ReportPage::BuildLevels() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("LevelsSheet"));
  QGridLayout* grid = TabGrid(tab);
  report_data_tabs_ = new QTabBar(tab);
  report_data_tabs_->setObjectName(QStringLiteral("ReportDataTabs"));
  report_data_tabs_->setAccessibleName(QStringLiteral("Grouping levels"));
  report_data_tabs_->setExpanding(false);
  connect(report_data_tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (showing_ || index < 0) return;
    Act([this, index] { settings_.ReportDataTabsChange(index); });
  });
  grid->addWidget(report_data_tabs_, 0, 0, 1, 3);
  check_data_bands_ = Check(tab, "CheckDataBands", "Show this grouping level");
  connect(check_data_bands_, &QCheckBox::clicked, this,
          [this](bool on) { Act([this, on] { settings_.CheckDataBandsClick(on); }); });
  grid->addWidget(check_data_bands_, 1, 0, 1, 3);
  check_data_total_only_ =
      Check(tab, "CheckDataTotalOnly", "Show subtotal only for this grouping level");
  connect(check_data_total_only_, &QCheckBox::clicked, this,
          [this](bool on) { Act([this, on] { settings_.CheckDataTotalOnlyClick(on); }); });
  grid->addWidget(check_data_total_only_, 2, 0, 1, 3);
  report_data_level_shift_ = Number(tab, "ReportDataLevelShift");
  connect(report_data_level_shift_, &QLineEdit::editingFinished, this,
          [this] { Act([this] { settings_.ReportDataLevelShiftExit(); }); });
  grid->addWidget(Caption(tab, "Level shift:", report_data_level_shift_), 3, 0);
  grid->addWidget(report_data_level_shift_, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("px"), tab), 3, 2);
  AddSamples(tab, grid, 4,
             {
                 {SampleId::kPanelDataTitle, "PanelDataTitle", "Title format sample:"},
                 {SampleId::kPanelDataTotal, "PanelDataTotal", "Subtotal format sample:"},
                 {SampleId::kPanelDataTime, "PanelDataTime", "Time format sample:"},
                 {SampleId::kPanelDataRate, "PanelDataRate", "Rate format sample:"},
             });
  EndGrid(grid);
  return tab;
}

QWidget* ReportPage::BuildSummary() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("SummarySheet"));
  QGridLayout* grid = TabGrid(tab);
  check_show_summary_ = Check(tab, "CheckShowSummary", "Show summary");
  grid->addWidget(check_show_summary_, 0, 0, 1, 3);
  AddSamples(tab, grid, 1,
             {
                 {SampleId::kPanelSummary, "PanelSummary", "Format sample:"},
                 {SampleId::kPanelSummaryTime, "PanelSummaryTime", "Time format sample:"},
                 {SampleId::kPanelSummaryRate, "PanelSummaryRate", "Rate format sample:"},
             });
  EndGrid(grid);
  return tab;
}

void ReportPage::StoreControls() {
  ReportPageValues& v = settings_.Values();
  v.report_interval = report_interval_->text();
  v.check_report_title = check_report_title_->isChecked();
  v.text_title = text_title_->text();
  v.check_show_info = check_show_info_->isChecked();
  v.check_page_header = check_page_header_->isChecked();
  v.text_header = text_header_->text();
  v.header_check_page = header_check_page_->isChecked();
  v.header_check_date = header_check_date_->isChecked();
  v.header_check_time = header_check_time_->isChecked();
  v.check_page_footer = check_page_footer_->isChecked();
  v.text_footer = text_footer_->text();
  v.footer_check_page = footer_check_page_->isChecked();
  v.footer_check_date = footer_check_date_->isChecked();
  v.footer_check_time = footer_check_time_->isChecked();
  v.check_show_description = check_show_description_->isChecked();
  v.description_memo = description_memo_->toPlainText();
  v.check_show_time = check_show_time_->isChecked();
  v.check_show_rate = check_show_rate_->isChecked();
  v.check_show_colummn_header = check_show_colummn_header_->isChecked();
  v.text_rate_header = text_rate_header_->text();
  v.text_time_header = text_time_header_->text();
  v.check_show_details = check_show_details_->isChecked();
  v.details_shift = details_shift_->text();
  v.check_data_bands = check_data_bands_->isChecked();
  v.check_data_total_only = check_data_total_only_->isChecked();
  v.report_data_level_shift = report_data_level_shift_->text();
  v.check_show_summary = check_show_summary_->isChecked();
}

void ReportPage::ShowControls() {
  const bool was_showing = showing_;
  showing_ = true;
  const ReportPageValues& v = settings_.Values();
  report_interval_->setText(v.report_interval);
  check_report_title_->setChecked(v.check_report_title);
  text_title_->setText(v.text_title);
  check_show_info_->setChecked(v.check_show_info);
  check_page_header_->setChecked(v.check_page_header);
  text_header_->setText(v.text_header);
  header_check_page_->setChecked(v.header_check_page);
  header_check_date_->setChecked(v.header_check_date);
  header_check_time_->setChecked(v.header_check_time);
  check_page_footer_->setChecked(v.check_page_footer);
  text_footer_->setText(v.text_footer);
  footer_check_page_->setChecked(v.footer_check_page);
  footer_check_date_->setChecked(v.footer_check_date);
  footer_check_time_->setChecked(v.footer_check_time);
  check_show_description_->setChecked(v.check_show_description);
  if (description_memo_->toPlainText() != v.description_memo)
    description_memo_->setPlainText(v.description_memo);
  check_show_time_->setChecked(v.check_show_time);
  check_show_rate_->setChecked(v.check_show_rate);
  check_show_colummn_header_->setChecked(v.check_show_colummn_header);
  text_rate_header_->setText(v.text_rate_header);
  text_time_header_->setText(v.text_time_header);
  check_show_details_->setChecked(v.check_show_details);
  details_shift_->setText(v.details_shift);
  check_data_bands_->setChecked(v.check_data_bands);
  check_data_total_only_->setChecked(v.check_data_total_only);
  report_data_level_shift_->setText(v.report_data_level_shift);
  check_show_summary_->setChecked(v.check_show_summary);
  for (int i = 0; i < kSampleCount; ++i) ShowSample(static_cast<SampleId>(i));

  const QStringList& tabs = settings_.LevelTabs();
  bool same_tabs = report_data_tabs_->count() == tabs.size();
  for (int i = 0; same_tabs && i < tabs.size(); ++i)
    same_tabs = report_data_tabs_->tabText(i) == tabs[i];
  if (!same_tabs) {
    while (report_data_tabs_->count() > 0) report_data_tabs_->removeTab(0);
    for (const QString& caption : tabs) report_data_tabs_->addTab(caption);
  }
  report_data_tabs_->setCurrentIndex(settings_.CurrentLevel());
  showing_ = was_showing;
}

void ReportPage::ShowSample(SampleId id) {
  const FormatSample& sample = settings_.Values().Sample(id);
  QLabel* label = SampleLabel(id);
  label->setFont(ToQFont(sample.font));
  label->setAlignment(ToQtAlignment(sample.alignment));
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(sample.color));
  palette.setColor(QPalette::WindowText, QColor::fromRgb(sample.font.color));
  label->setPalette(palette);
}

void ReportPage::Act(const std::function<void()>& operation) {
  StoreControls();
  operation();
  ShowControls();
}

bool ReportPage::ApplyReportPage() {
  bool applied = false;
  Act([&] { applied = settings_.ApplyReportPage(); });
  return applied;
}

void ReportPage::SetReportPage(const GroupingKey& key) {
  key_ = key;
  settings_.SetReportPage(key);
  ShowControls();
}

void ReportPage::SaveReportClick() {
  if (layout_path_) Act([this] { settings_.SaveReportClick(layout_path_()); });
}

void ReportPage::LoadReportClick() {
  if (layout_path_) Act([this] { settings_.LoadReportClick(layout_path_(), key_); });
}

void ReportPage::ReportPopupPopup(QWidget* sample) {
  popup_target_ = sample;
  const std::optional<SampleId> id = Target();
  for (QAction* action : alignment_actions_) action->setChecked(false);
  if (!id) return;
  const int index = static_cast<int>(settings_.Values().Sample(*id).alignment);
  alignment_actions_[index]->setChecked(true);
}

std::optional<SampleId> ReportPage::Target() const {
  if (!popup_target_) return std::nullopt;
  const QVariant id = popup_target_->property(kSampleProperty);
  if (!id.isValid()) return std::nullopt;
  return static_cast<SampleId>(id.toInt());
}

void ReportPage::Settext1Click() {
  const std::optional<SampleId> id = Target();
  if (!id) return;
  const std::optional<ReportFont> font =
      dialogs_->ChooseFont(settings_.Values().Sample(*id).font, this);
  if (!font) return;
  Act([&] { settings_.SetSampleFont(*id, *font); });
}

void ReportPage::Setbackgroundcolor1Click() {
  const std::optional<SampleId> id = Target();
  if (!id) return;
  const std::optional<QRgb> color =
      dialogs_->ChooseColor(settings_.Values().Sample(*id).color, this);
  if (!color) return;
  Act([&] { settings_.SetSampleColor(*id, *color); });
}

void ReportPage::AlignmentClick(ReportAlignment alignment) {
  const std::optional<SampleId> id = Target();
  if (!id) return;
  Act([&] { settings_.SetSampleAlignment(*id, alignment); });
}

}  // namespace ravell
