#include "reporterviews.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QTextCharFormat>

#include "charts.h"
#include "logpage.h"
#include "money.h"
#include "recordgrid.h"
#include "totalspage.h"

namespace ravell {

namespace {

const QColor kGreen(0x00, 0x80, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kLightBlue(0xD2, 0xDF, 0xFF);

GridColumn Column(const char* field, const char* title, int width,
                  Qt::Alignment alignment = Qt::AlignLeft, const QColor& color = QColor(),
                  bool duration = false) {
  return {
      QString::fromLatin1(field), QString::fromLatin1(title), width, alignment, color, duration};
}

QList<GridColumn> TotalsColumns() {
  const Qt::Alignment right = Qt::AlignRight;
  return {
      Column("Year", "", 40),
      Column("Month", "", 82),
      Column("Day", "", 30),
      Column("Project", "", 119),
      Column("Name", "Task", 228),
      Column("RecordDate", "Date", 80),
      Column("TotalTime", "Spent time", 60, right, kGreen, true),
      Column("TotalTimeS", "Spent time", 60, right, kGreen),
      Column("Rate", "", 64, right, kMaroon),
  };
}

QList<GridColumn> LogColumns() {
  return {
      Column("RecordDate", "Date", 80),
      Column("TimeStart", "", 50),
      Column("TimeEnd", "", 50),
      Column("TimeDelta", "", 50),
      Column("Name", "Task", 300),
      Column("Project", "", 53),
      Column("dRate", "Rate", 60, Qt::AlignRight),
  };
}

template <typename T>
T* Into(QWidget* page, T* content) {
  if (page && page->layout()) page->layout()->addWidget(content);
  return content;
}

}  // namespace

ReporterViews::ReporterViews(const ReporterViewsWidgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {
  totals_page_ = Into(widgets_.totals_page, new TotalsPage(widgets_.totals_page));
  log_page_ = Into(widgets_.log_page, new LogPage(widgets_.log_page));

  connect(totals_page_->TabControl1(), &QTabBar::currentChanged, this,
          &ReporterViews::TabControl1Change);
  connect(totals_page_->DBChart1(), &BarChart::BarClicked, this,
          &ReporterViews::DBChart1ClickSeries);
  connect(log_page_->DBChart2(), &GanttChart::BarClicked, this,
          &ReporterViews::DBChart2ClickSeries);
  connect(log_page_->DBChart2(), &GanttChart::Resized, this, &ReporterViews::GantResize);
  connect(log_page_->ScrollBar1(), &QScrollBar::valueChanged, this,
          &ReporterViews::ScrollBar1Scroll);

  if (widgets_.view_menu) {
    show_totals_chart_ = widgets_.view_menu->addAction(QStringLiteral("Show totals chart"));
    show_totals_chart_->setObjectName(QStringLiteral("ShowTotalsChart"));
    show_log_chart_ = widgets_.view_menu->addAction(QStringLiteral("Showl log Gannt chart"));
    show_log_chart_->setObjectName(QStringLiteral("ShowLogChart"));
    for (QAction* action : {show_totals_chart_, show_log_chart_}) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    connect(show_totals_chart_, &QAction::triggered, this, &ReporterViews::ShowTotalsChartExecute);
    connect(show_log_chart_, &QAction::triggered, this, &ReporterViews::ShowLogChartExecute);
  }

  if (QCalendarWidget* calendar = widgets_.calendar) {
    // A click on the day already shown in the day view changes nothing.
    const auto chosen = [this] {
      if (!day_view_ || CalendarDay() != shown_day_) LogCalendarClick();
    };
    connect(calendar, &QCalendarWidget::selectionChanged, this, chosen);
    connect(calendar, &QCalendarWidget::clicked, this, chosen);
    connect(calendar, &QCalendarWidget::currentPageChanged, this,
            &ReporterViews::RefreshCalendarMarks);
  }
}

ReporterViews::~ReporterViews() = default;

void ReporterViews::Bind(ReporterTables& tables) {
  tables_ = &tables;
  totals_model_ = std::make_unique<RecordGridModel>(tables.tasks_total, TotalsColumns());
  log_records_model_ = std::make_unique<RecordGridModel>(tables.log_records, LogColumns());
  display_log_model_ = std::make_unique<RecordGridModel>(tables.display_log, LogColumns());
  for (RecordGridModel* model : {log_records_model_.get(), display_log_model_.get()}) {
    model->SetAlternateColor(kLightBlue);
  }
  totals_model_->Install(totals_page_->DBGrid2());
  log_on_display_ = true;
  SetLogTable(false);
}

RecordGridModel* ReporterViews::LogModel() const {
  return log_on_display_ ? display_log_model_.get() : log_records_model_.get();
}

bool ReporterViews::LogHasRecordToActOn() const {
  if (!tables_) return false;
  // The day view keeps LogRecords' range on the chosen day.
  return day_view_ ? tables_->log_records.Count() > 0 : tables_->log_records.RecordCount() > 0;
}

QDate ReporterViews::CalendarDay() const {
  return widgets_.calendar ? widgets_.calendar->selectedDate() : clock_->TodayDate();
}

void ReporterViews::SetLogTable(bool display_log) {
  if (!tables_ || display_log == log_on_display_) return;
  log_on_display_ = display_log;
  LogModel()->Install(log_page_->DBGrid1());
}

void ReporterViews::LogCalendarClick() {
  if (!tables_) return;
  day_view_ = true;
  SetLogTable(false);
  const QDate day = CalendarDay();
  shown_day_ = day;
  const TotalsResult result = ShowDayTotals(*tables_, day);
  period_ = result.period;
  if (widgets_.title) widgets_.title->setText(DayTitle(day, clock_->TodayDate()));
  ShowTotals(result);
  FillLogChart();
  emit DayShown(day);
}

TotalsResult ReporterViews::ShowGroupView(int node_level, const QStringList& key_fields) {
  if (!tables_) return {};
  const TotalsResult result = ShowGroupTotals(*tables_, node_level, key_fields);
  ShowGroupResult(result);
  return result;
}

void ReporterViews::ShowGroupResult(const TotalsResult& result) {
  if (!tables_) return;
  day_view_ = false;
  SetLogTable(true);
  if (!result.period.IsEmpty()) period_ = result.period;
  ShowTotals(result);
  FillLogChart();
}

void ReporterViews::ShowTotals(const TotalsResult& result) {
  shown_ = result;
  if (widgets_.total_time) widgets_.total_time->setText(DurationText(result.seconds));
  if (widgets_.total_rate) widgets_.total_rate->setText(MoneyText(result.rate));

  QTableView* grid = totals_page_->DBGrid2();
  const QList<FieldDef>& fields = tables_->tasks_total.Fields();
  using namespace total_field;
  for (const int field : {kYear, kMonth, kDay, kProject, kName, kRecordDate}) {
    grid->setColumnHidden(totals_model_->ColumnOf(fields[field].name),
                          !result.shown_fields.contains(field));
  }
  grid->setColumnHidden(totals_model_->ColumnOf(fields[kTotalTime].name), result.time_text);
  grid->setColumnHidden(totals_model_->ColumnOf(fields[kTotalTimeS].name), !result.time_text);
  FillTotalsChart();
}

void ReporterViews::FillTotalsChart() {
  if (!tables_ || totals_page_->ChartArea()->isHidden()) return;
  const RecordTable& totals = tables_->tasks_total;
  const bool rate = totals_page_->TabControl1()->currentIndex() == 1;
  QList<double> values;
  QStringList labels;
  for (const int record : totals.ViewRecords()) {
    labels << totals.DisplayText(record, shown_.label_field);
    int field = total_field::kRate;
    if (!rate) field = shown_.hours ? total_field::kHours : total_field::kSeconds;
    values << (totals.IsNull(record, field)     ? 0.0
               : field == total_field::kSeconds ? static_cast<double>(totals.Int(record, field))
                                                : totals.Double(record, field));
  }
  totals_page_->DBChart1()->SetBars(values, labels, !rate && !shown_.hours);
}

void ReporterViews::FillLogChart() {
  if (!tables_ || log_page_->Panel4()->isHidden()) return;
  const RecordTable& table = LogModel()->table();
  const int date = table.FieldIndex(QStringLiteral("RecordDate"));
  const int start = table.FieldIndex(QStringLiteral("TimeStart"));
  const int end = table.FieldIndex(QStringLiteral("TimeEnd"));
  std::vector<GanttChart::Bar> bars;
  for (const int record : table.ViewRecords()) {
    if (table.IsNull(record, date) || table.IsNull(record, start)) continue;
    const qint64 from = table.Int(record, start);
    bars.push_back(
        {table.Int(record, date), from, table.IsNull(record, end) ? from : table.Int(record, end)});
  }
  log_page_->DBChart2()->SetBars(std::move(bars));
  GantResize();
}

void ReporterViews::GantResize() {
  GanttChart* chart = log_page_->DBChart2();
  const DayAxis axis = ravell::GantResize(period_, chart->height());
  chart->SetDayAxis(axis.min, axis.max);
  QScrollBar* bar = log_page_->ScrollBar1();
  const QSignalBlocker blocker(bar);
  bar->setRange(0, axis.scroll_max);
  bar->setPageStep(std::max(1, GantRows(chart->height())));
  bar->setValue(0);
  bar->setVisible(axis.scroll_visible);
}

void ReporterViews::ScrollBar1Scroll(int position) {
  GanttChart* chart = log_page_->DBChart2();
  const DayAxis axis = ravell::ScrollBar1Scroll(period_, chart->height(), position);
  chart->SetDayAxis(axis.min, axis.max);
}

void ReporterViews::TabControl1Change(int) { FillTotalsChart(); }

void ReporterViews::DBChart1ClickSeries(int index) {
  QTableView* grid = totals_page_->DBGrid2();
  grid->setFocus();
  grid->selectRow(index);
}

void ReporterViews::DBChart2ClickSeries(int index) {
  const std::vector<GanttChart::Bar>& bars = log_page_->DBChart2()->Bars();
  if (!tables_ || index < 0 || index >= static_cast<int>(bars.size())) return;
  const GanttChart::Bar& bar = bars[static_cast<size_t>(index)];
  RecordTable& table = LogModel()->table();
  const int position = FindLogBar(table, QDate::fromJulianDay(bar.day), bar.start_ms);
  QTableView* grid = log_page_->DBGrid1();
  grid->setFocus();
  if (position < 0) return;
  table.SetPosition(position);
  grid->selectRow(position);
}

void ReporterViews::ShowTotalsChartExecute(bool checked) {
  totals_page_->ChartArea()->setVisible(checked);
  if (show_totals_chart_) show_totals_chart_->setChecked(checked);
  if (!checked) return;
  // TasksTotal stays current while the chart is hidden; the day view is
  // shown again as a whole, the group view's chart is filled from it.
  if (day_view_) {
    LogCalendarClick();
  } else {
    FillTotalsChart();
  }
}

void ReporterViews::ShowLogChartExecute(bool checked) {
  log_page_->Panel4()->setVisible(checked);
  if (show_log_chart_) show_log_chart_->setChecked(checked);
  if (!checked) return;
  if (day_view_) {
    LogCalendarClick();
  } else {
    FillLogChart();
  }
}

void ReporterViews::RefreshCalendarMarks() {
  QCalendarWidget* calendar = widgets_.calendar;
  if (!tables_ || !calendar) return;
  for (const QDate& date : bold_days_) calendar->setDateTextFormat(date, QTextCharFormat());
  bold_days_.clear();
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  const int year = calendar->yearShown();
  const int month = calendar->monthShown();
  for (const int asked : {month == 1 ? 12 : month - 1, month, month == 12 ? 1 : month + 1}) {
    const int asked_year = CalendarMonthYear(year, month, asked);
    for (const int day :
         LogCalendarGetMonthInfo(tables_->log_records, year, month, asked, CalendarDay())) {
      const QDate date(asked_year, asked, day);
      if (!date.isValid()) continue;
      calendar->setDateTextFormat(date, bold);
      bold_days_ << date;
    }
  }
}

}  // namespace ravell
