#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <optional>

#include "analysis.h"
#include "clock.h"
#include "logtables.h"
#include "messages.h"

namespace ravell {

inline constexpr char kChangeRecordCaption[] = "Change record";
inline constexpr char kInsertRecordCaption[] = "Insert record";
inline constexpr char kNoLinkedRecordText[] = "LogDataset do not contain linked record";
inline constexpr char kNoChangeTodayText[] =
    "You can not change today records from Rv Reporter.\rPlease use the Ravell.";
inline constexpr char kNoDeleteTodayText[] =
    "You can not delete today records from Rv Reporter.\rPlease use the Ravell.";
inline constexpr char kBadRateText[] = "Please type correct rate";
inline constexpr char kTodayDateText[] = "Please use the Ravell for today records";
inline constexpr char kNoProjectText[] = "Please define the Project";
inline constexpr char kNoTaskText[] = "Please define the Task name";

// What the record dialog shows and, after OK, what the user chose.
struct RecordDialogValues {
  QString caption;
  QStringList projects;
  QString project;
  QStringList tasks;
  QString task;
  QString rate;  // the rate itself, "12.50"
  QDate date;
  QTime start, end, delta;
  // The task list of a project, for the project field's changes.
  std::function<QStringList(const QString&)> tasks_of;
  // Today, as the dialog's date check sees it when OK is pressed.
  const Clock* clock = nullptr;
};

// The record dialog (Form3), reached through this so tests can script it.
class RecordDialog {
 public:
  virtual ~RecordDialog() = default;
  // Shows the values; true on OK, with the values changed to the user's.
  virtual bool Execute(RecordDialogValues& values) = 0;
};

// The field a failed dialog check puts the focus on.
enum class RecordField { kNone, kProject, kRate, kTask, kDate };

struct RecordCheck {
  RecordField field = RecordField::kNone;  // kNone: the input is fine
  QString message;
};

// The OK button's checks, in order. An empty rate becomes "0" first.
RecordCheck CheckRecordInput(RecordDialogValues& values, const QDate& today);

// The three linked time fields, as times of one day: an interval that
// crosses midnight has the duration end + 24 h - start, so end = start +
// duration within the day always holds.
struct LinkedTimes {
  QTime start, end, delta;
};
LinkedTimes TimeStartChange(LinkedTimes times);
LinkedTimes TimeEndChange(LinkedTimes times);
LinkedTimes TimeDeltaChange(LinkedTimes times);

// Change, Insert and Delete of past records from the log grid, in the day
// view (LogRecords) or the group view (DisplayLog): the record under the
// grid's cursor is the current record of the table the grid shows. Every
// command rewrites the day log files of the dates it touched; today's
// records belong to the tracker and are refused.
class RecordEditing {
 public:
  RecordEditing(ReporterTables& tables, ReporterAnalysis& analysis, RecordDialog& dialog,
                MessageBoxes& messages, QString program_folder);

  void SetMessages(MessageBoxes& messages) { messages_ = &messages; }
  void SetClock(const Clock* clock) { clock_ = clock ? clock : &system_clock_; }
  void SetProgramFolder(const QString& folder) { program_folder_ = folder; }

  void Edit1Click();
  void Insert1Click();
  void Delete1Click();

  // The table the log grid shows.
  RecordTable& Shown();
  bool DayView() const { return analysis_.Mode() == ViewMode::kDay; }

 private:
  // The TaskId under the grid's cursor; none when the grid shows no record.
  std::optional<QString> CursorTaskId();
  // Makes the record current in LogRecords (range cancelled in the group
  // view); false, after telling the user, when the log does not hold it.
  bool FindLogRecord(const QString& task_id);
  bool FindAgain(const QString& task_id);
  // Shows the refusal when the date is today.
  bool Refuse(const QDate& date, const char* text);
  RecordDialogValues DialogValues(const QString& caption, int record);
  // True on OK with input that passes the checks.
  bool RunDialog(RecordDialogValues& values, const QString& task_id);
  // Fills a record being appended or changed from the dialog; times keep
  // whole seconds, as their texts do.
  void StoreValues(RecordTable& table, RecordTable::Buffer& buffer,
                   const RecordDialogValues& values, const QString& task_id);
  void RefreshGroupView(const std::optional<QString>& cursor_task_id);
  void RestoreDayView(const std::optional<QString>& cursor_task_id);
  // Rewrites the files of the dates in turn; a failure ends the command.
  void SaveDays(const QList<QDate>& dates);

  ReporterTables& tables_;
  ReporterAnalysis& analysis_;
  RecordDialog& dialog_;
  MessageBoxes* messages_;
  QString program_folder_;
  SystemClock system_clock_;
  const Clock* clock_ = &system_clock_;
};

}  // namespace ravell
