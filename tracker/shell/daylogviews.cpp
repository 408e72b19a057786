#include "daylogviews.h"

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>
#include <algorithm>
#include <vector>

#include "barimages.h"
#include "daylog.h"

namespace ravell {

namespace {

// Widths suit a small 8-point font. Columns of fixed-format texts grow to fit
// their texts in the font in use; name columns keep their width and elide.
constexpr int kTimeFrameWidth = 140;
constexpr int kProjectWidth = 70;
// The task column gets what is left after the others and a margin.
constexpr int kGridMargin = 10;
constexpr int kMinTaskWidth = 20;
constexpr int kMinRowHeight = 15;
constexpr int kTextPadding = 10;

constexpr QRgb kGridBackground = qRgb(226, 234, 255);
constexpr QRgb kGridEvenRow = qRgb(210, 223, 255);

int FitWidth(const QFontMetrics& metrics, int width, const char* sample) {
  return std::max(width, metrics.horizontalAdvance(QLatin1String(sample)) + kTextPadding);
}

QIcon BlankIcon() {
  // Unmarked items get an empty picture of the same size, so that every
  // task name starts at the same place.
  static const QIcon blank = [] {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
  }();
  return blank;
}

}  // namespace

// KeyedRowsModel

int KeyedRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant KeyedRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size()) return {};
  return rows_[index.row()].texts.value(index.column());
}

void KeyedRowsModel::Refresh() {
  QList<Entry> rows;
  const int new_count = CurrentCount();
  rows.reserve(new_count);
  for (int i = 0; i < new_count; ++i) rows.append(CurrentEntry(i));
  const int old_count = static_cast<int>(rows_.size());
  auto same_key = [](const Entry& a, const Entry& b) { return a.key == b.key; };

  bool reordered = false;
  if (old_count == new_count) {
    reordered = !std::equal(rows.begin(), rows.end(), rows_.begin(), same_key) &&
                std::is_permutation(rows.begin(), rows.end(), rows_.begin(), same_key);
  }
  if (reordered) {
    // Move persistent indexes (selection, current row) with their keys.
    QHash<QString, QList<int>> new_rows;
    for (int i = 0; i < new_count; ++i) new_rows[rows[i].key].append(i);
    QHash<QString, int> used;
    std::vector<int> moved_to(old_count);
    for (int i = 0; i < old_count; ++i) {
      moved_to[i] = new_rows[rows_[i].key][used[rows_[i].key]++];
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
      to.append(createIndex(moved_to[index.row()], index.column()));
    }
    changePersistentIndexList(from, to);
    rows_ = std::move(rows);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  } else {
    // Rows before and after the changed run keep their place; inside it rows
    // are rewritten in place and the difference is inserted or removed.
    int prefix = 0;
    while (prefix < old_count && prefix < new_count && rows_[prefix].key == rows[prefix].key) {
      ++prefix;
    }
    int suffix = 0;
    while (suffix < old_count - prefix && suffix < new_count - prefix &&
           rows_[old_count - 1 - suffix].key == rows[new_count - 1 - suffix].key) {
      ++suffix;
    }
    const int old_run = old_count - prefix - suffix;
    const int new_run = new_count - prefix - suffix;
    const int first = prefix + std::min(old_run, new_run);
    if (new_run > old_run) {
      const int count = new_run - old_run;
      beginInsertRows({}, first, first + count - 1);
      for (int i = 0; i < count; ++i) rows_.insert(first + i, rows[first + i]);
      endInsertRows();
    } else if (new_run < old_run) {
      const int count = old_run - new_run;
      beginRemoveRows({}, first, first + count - 1);
      rows_.remove(first, count);
      endRemoveRows();
    }
    rows_ = std::move(rows);
  }
  if (!rows_.isEmpty()) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
}

void KeyedRowsModel::RefreshRow(int row) {
  if (row < 0 || row >= rowCount() || row >= CurrentCount()) return;
  Entry entry = CurrentEntry(row);
  if (entry.key != rows_[row].key) {
    Refresh();
    return;
  }
  rows_[row] = std::move(entry);
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

// LogGridModel

LogGridModel::LogGridModel(const DayLog& log, QObject* parent) : KeyedRowsModel(parent), log_(log) {
  connect(&log_, &DayLog::RowsChanged, this, &LogGridModel::Refresh);
  Refresh();
}

int LogGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant LogGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  switch (role) {
    case Qt::BackgroundRole:
      return QBrush(QColor(index.row() % 2 == 0 ? kGridEvenRow : kGridBackground));
    case Qt::ForegroundRole:
      // The ground is always light, whatever the desktop's colour scheme.
      return QBrush(Qt::black);
  }
  return KeyedRowsModel::data(index, role);
}

QVariant LogGridModel::headerData(int, Qt::Orientation, int) const { return {}; }

int LogGridModel::CurrentCount() const { return log_.RowCount(); }

KeyedRowsModel::Entry LogGridModel::CurrentEntry(int row) const {
  const LogRow& log_row = log_.Row(row);
  return {log_row.task_id, {log_row.time_frame, log_row.task, log_row.project, log_row.task_id}};
}

// TaskListModel

TaskListModel::TaskListModel(const DayLog& log, QObject* parent)
    : KeyedRowsModel(parent), log_(log) {
  connect(&log_, &DayLog::ItemsChanged, this, &TaskListModel::Refresh);
  connect(&log_, &DayLog::ItemChanged, this, &TaskListModel::RefreshRow);
  Refresh();
}

int TaskListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

namespace {

QVariant TaskListAlignment(int column) {
  const Qt::Alignment horizontal =
      column == TaskListModel::kTask || column == TaskListModel::kProject ? Qt::AlignLeft
                                                                          : Qt::AlignRight;
  return QVariant::fromValue(horizontal | Qt::AlignVCenter);
}

}  // namespace

QVariant TaskListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  switch (role) {
    case Qt::TextAlignmentRole:
      return TaskListAlignment(index.column());
    case Qt::DecorationRole:
      if (index.column() != kTask) return {};
      switch (static_cast<TaskMarker>(EntryAt(index.row()).tag)) {
        case TaskMarker::kRunning:
          return BarImages16(kImageStart);
        case TaskMarker::kPaused:
          return BarImages16(kImagePause);
        case TaskMarker::kNone:
          return BlankIcon();
      }
      return {};
  }
  return KeyedRowsModel::data(index, role);
}

QVariant TaskListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  static const char* const kCaptions[kColumnCount] = {"Task", "Project", "Time",
                                                      "Plan", "Rate",    "Total"};
  if (role == Qt::DisplayRole) return QString::fromLatin1(kCaptions[section]);
  if (role == Qt::TextAlignmentRole) return TaskListAlignment(section);
  return {};
}

int TaskListModel::CurrentCount() const { return log_.ItemCount(); }

KeyedRowsModel::Entry TaskListModel::CurrentEntry(int row) const {
  const TaskItem& item = log_.Item(row);
  // A task is the pair of name and project; NUL cannot occur in either.
  return {item.task + QChar(0) + item.project,
          {item.task, item.project, item.time, item.plan, item.rate, item.total},
          static_cast<int>(item.marker)};
}

// LogGridView

LogGridView::LogGridView(QWidget* parent) : QTableView(parent) {
  setObjectName(QStringLiteral("StringGrid1"));
  setAccessibleName(QStringLiteral("Today's log"));
  setFrameShape(QFrame::NoFrame);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setShowGrid(false);
  setWordWrap(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the grid instead of walking its cells.
  setTabKeyNavigation(false);

  QPalette colours = palette();
  colours.setColor(QPalette::Base, QColor(kGridBackground));
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
}

void LogGridView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  if (model == nullptr) return;
  // Compact rows, but never lower than the font needs.
  const int row_height = std::max(kMinRowHeight, fontMetrics().height() + 2);
  verticalHeader()->setMinimumSectionSize(row_height);
  verticalHeader()->setDefaultSectionSize(row_height);
  time_frame_width_ = FitWidth(fontMetrics(), kTimeFrameWidth, "00:00:00-00:00:00 (00:00:00)");
  setColumnWidth(LogGridModel::kTimeFrame, time_frame_width_);
  setColumnWidth(LogGridModel::kProject, kProjectWidth);
  setColumnHidden(LogGridModel::kRecordId, true);
  FitTaskColumn();
}

void LogGridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitTaskColumn();
}

void LogGridView::mousePressEvent(QMouseEvent* event) {
  const int rows = model() ? model()->rowCount() : 0;
  if (rows > 0 && rowAt(event->position().toPoint().y()) < 0) {
    setCurrentIndex(model()->index(rows - 1, LogGridModel::kTask));
    return;
  }
  QTableView::mousePressEvent(event);
}

void LogGridView::FitTaskColumn() {
  if (model() == nullptr) return;
  const int others = time_frame_width_ + kProjectWidth + kGridMargin;
  setColumnWidth(LogGridModel::kTask, std::max(kMinTaskWidth, viewport()->width() - others));
}

// TaskListView

TaskListView::TaskListView(QWidget* parent) : QTreeView(parent) {
  setObjectName(QStringLiteral("TotalList"));
  setAccessibleName(QStringLiteral("Task list"));
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The columns keep their widths; the main window sorts on a column click.
  header()->setStretchLastSection(false);
  header()->setSectionsClickable(true);
  header()->setSectionsMovable(false);
}

void TaskListView::setModel(QAbstractItemModel* model) {
  QTreeView::setModel(model);
  if (model == nullptr) return;
  const QFontMetrics metrics = fontMetrics();
  widths_[TaskListModel::kTask] = 180;
  widths_[TaskListModel::kProject] = 100;
  widths_[TaskListModel::kTime] = FitWidth(metrics, 50, "00:00:00");
  widths_[TaskListModel::kPlan] = widths_[TaskListModel::kTime];
  widths_[TaskListModel::kRate] = FitWidth(metrics, 50, "0000.00");
  widths_[TaskListModel::kTotal] = widths_[TaskListModel::kRate];
  for (int column = 0; column < TaskListModel::kColumnCount; ++column) {
    setColumnWidth(column, widths_[column]);
  }
}

void TaskListView::ApplyRateView(bool rate_view) {
  for (int column : {TaskListModel::kRate, TaskListModel::kTotal}) {
    setColumnHidden(column, !rate_view);
    if (rate_view) setColumnWidth(column, widths_[column]);
  }
}

}  // namespace ravell
