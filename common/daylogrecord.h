#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace ravell {

// One line of a day log file, as bytes: names stay the exact bytes they were
// (8-bit text, written unescaped).
struct DayLogRecord {
  int year = 0;
  int month = 0;
  int day = 0;
  QByteArray time_start;  // time texts
  QByteArray time_end;
  QByteArray time_delta;
  QByteArray name;
  QByteArray project;
  QByteArray task_id;
  qint64 rate = 0;  // hundredths per hour
};

// The tracker puts a TAB before Name, Project, TaskId and Rate; the reporter
// writes none. Both end the line with CR LF.
enum class DayLogForm { kTracker, kReporter };

QByteArray ComposeDayLogRecord(const DayLogRecord& record, DayLogForm form);

// Scans a day log file's bytes by tags, the way both programs read it:
// TABs and anything else between elements carry no meaning.
class DayLogScanner {
 public:
  explicit DayLogScanner(QByteArrayView data) : data_(data) {}

  bool AtEnd() const { return pos_ >= data_.size(); }
  qsizetype pos() const { return pos_; }
  void set_pos(qsizetype pos) { pos_ = pos; }
  // Moves just past the next tag "<name>"; false at the end of the data.
  bool SkipToTag(QByteArrayView name);
  // Reads up to the closing tag "</name>" and moves past it; false (and the
  // value unusable) when the data ends first. The view points into the data.
  bool ReadTagValue(QByteArrayView name, QByteArrayView* value);
  bool ReadTagValue(QByteArrayView name, QByteArray* value);

 private:
  QByteArrayView data_;
  qsizetype pos_ = 0;
};

struct DayLogContents {
  QList<DayLogRecord> records;
  int dropped = 0;  // records that lacked a field, such as one cut off by the end
};

// Reads every complete record. Each record is read within its own bounds (up
// to the next "<TaskInstance>"), so a damaged record never lends or borrows
// fields; it is counted as dropped.
DayLogContents ReadDayLogRecords(const QByteArray& data);

}  // namespace ravell
