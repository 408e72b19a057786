#pragma once

#include <QString>
#include <QTime>
#include <optional>

#include "datetime.h"

namespace ravell {

class Tracker;

// A record as the task dialog shows it: names and times of day.
struct RecordFields {
  QString project;
  QString task;
  QTime start;
  QTime end;
};

// What log editing asks of the windows. Tests script it.
class LogEditUi {
 public:
  virtual ~LogEditUi() = default;
  // The task dialog in mode "Insert"; nullopt when cancelled.
  virtual std::optional<RecordFields> AskInsert(const RecordFields& preset) = 0;
  // The task dialog in mode "Change"; nullopt unless confirmed with its Change button.
  virtual std::optional<RecordFields> AskChange(const RecordFields& preset) = 0;
};

// Editing today's log by hand: insert, change and delete records, keeping the
// log in start-time order and saving each change at once. The running row
// (and while paused the paused task's row) stays last and is never touched.
class LogEdit {
 public:
  explicit LogEdit(Tracker& tracker);

  void SetUi(LogEditUi* ui) { ui_ = ui; }

  // Index of the first row that starts later than start (whole seconds); a
  // row without a start (the running row, an empty log) ends the search.
  // Throws ConvertError for a row whose start does not parse.
  int FindPlace(DateTime start) const;

  // The insert dialog's presets at the given time of day: the hour before
  // it, from midnight at the earliest.
  static RecordFields InsertPresets(const QString& project, const QString& task, QTime now);

  // The commands. Each reports its own errors and gives the row to select
  // afterwards, -1 when nothing changed.
  int InputInsertTask(const QString& project, const QString& task);
  int Edit1Click(int row);
  int Delete2Click(int row);

  // Whether the commands apply to a row now (menus are enabled from these).
  bool CanChange(int row) const;
  bool CanDelete(int row) const;

  // Inserts and saves a record; gives its row. Throws ConvertError.
  int InsertTask(const QString& project, const QString& task, DateTime start, DateTime end);

 private:
  // The day the log holds; records are placed on it.
  QDate LogDay() const;
  DateTime OnLogDay(QTime time) const;
  void ReportError(const QString& text);

  Tracker& tracker_;
  LogEditUi* ui_ = nullptr;
};

}  // namespace ravell
