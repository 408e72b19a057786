#include "daylogrecord.h"

namespace ravell {

namespace {

void Element(QByteArray& out, const char* tag, const QByteArray& value) {
  out += '<';
  out += tag;
  out += '>';
  out += value;
  out += "</";
  out += tag;
  out += '>';
}

}  // namespace

QByteArray ComposeDayLogRecord(const DayLogRecord& record, DayLogForm form) {
  const bool tabs = form == DayLogForm::kTracker;
  QByteArray out;
  out.reserve(256);
  out += "<TaskInstance><Prolog></Prolog>";
  Element(out, "Year", QByteArray::number(record.year));
  Element(out, "Month", QByteArray::number(record.month));
  Element(out, "Day", QByteArray::number(record.day));
  Element(out, "TimeStart", record.time_start);
  Element(out, "TimeEnd", record.time_end);
  Element(out, "TimeDelta", record.time_delta);
  if (tabs) out += '\t';
  Element(out, "Name", record.name);
  if (tabs) out += '\t';
  Element(out, "Project", record.project);
  if (tabs) out += '\t';
  Element(out, "TaskId", record.task_id);
  if (tabs) out += '\t';
  Element(out, "Rate", QByteArray::number(record.rate));
  out += "</TaskInstance>\r\n";
  return out;
}

bool DayLogScanner::SkipToTag(QByteArrayView name) {
  while (pos_ < data_.size()) {
    const qsizetype open = data_.indexOf('<', pos_);
    if (open < 0) break;
    const qsizetype close = data_.indexOf('>', open + 1);
    if (close < 0) break;
    pos_ = close + 1;
    if (data_.sliced(open + 1, close - open - 1) == name) return true;
  }
  pos_ = data_.size();
  return false;
}

bool DayLogScanner::ReadTagValue(QByteArrayView name, QByteArrayView* value) {
  // "</" name ">" without building it: find "</", then compare the rest.
  for (qsizetype at = data_.indexOf("</", pos_); at >= 0; at = data_.indexOf("</", at + 1)) {
    const qsizetype end = at + 2 + name.size();
    if (end < data_.size() && data_[end] == '>' && data_.sliced(at + 2, name.size()) == name) {
      *value = data_.sliced(pos_, at - pos_);
      pos_ = end + 1;
      return true;
    }
  }
  pos_ = data_.size();
  return false;
}

bool DayLogScanner::ReadTagValue(QByteArrayView name, QByteArray* value) {
  QByteArrayView view;
  if (!ReadTagValue(name, &view)) return false;
  *value = view.toByteArray();
  return true;
}

DayLogContents ReadDayLogRecords(const QByteArray& data) {
  static const QByteArray kStart = "<TaskInstance>";
  DayLogContents contents;
  qsizetype at = data.indexOf(kStart);
  while (at >= 0) {
    const qsizetype from = at + kStart.size();
    at = data.indexOf(kStart, from);
    const QByteArrayView body =
        QByteArrayView(data).sliced(from, (at < 0 ? data.size() : at) - from);
    DayLogScanner scan(body);
    DayLogRecord record;
    const auto field = [&scan](const char* tag, QByteArray* value) {
      return scan.SkipToTag(tag) && scan.ReadTagValue(tag, value);
    };
    const bool complete = field("TimeStart", &record.time_start) &&
                          field("TimeEnd", &record.time_end) &&
                          field("TimeDelta", &record.time_delta) && field("Name", &record.name) &&
                          field("Project", &record.project) && field("TaskId", &record.task_id);
    if (!complete) {
      ++contents.dropped;
      continue;
    }
    // Date and rate are not needed by every reader; taken where present.
    const auto number = [&body](const char* tag) {
      DayLogScanner other(body);
      QByteArrayView value;
      return other.SkipToTag(tag) && other.ReadTagValue(tag, &value) ? value.toLongLong() : 0;
    };
    record.year = static_cast<int>(number("Year"));
    record.month = static_cast<int>(number("Month"));
    record.day = static_cast<int>(number("Day"));
    record.rate = number("Rate");
    contents.records.append(record);
  }
  return contents;
}

}  // namespace ravell
