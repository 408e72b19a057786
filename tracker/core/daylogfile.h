#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace ravell {

class DayLog;
class ProjectList;

// Today's day log file: the whole log grid, one record a row, the running
// row written from its start up to the last save. An empty log is 0 bytes;
// a row without task, project or record id is never written.
QByteArray ComposeDayLog(const DayLog& log, const ProjectList& projects, const QDate& today);

struct DayLogLoad {
  int loaded = 0;
  // Records that could not be taken, each named with its reason; the file
  // was copied to "<path>.bak" before anything could overwrite it.
  QStringList problems;
  QString backup_path;
};

// Reads a day log's records into the log through InsertSavedTask; day is the
// file's day. No backup is made.
DayLogLoad LoadDayLog(const QByteArray& data, DayLog& log, const QDate& day);
// Reads the file (if it exists) into the log, keeping a backup when records
// were left out. Throws FileError when the file exists but cannot be read.
DayLogLoad FillDayLog(const QString& path, DayLog& log, const QDate& day);

}  // namespace ravell
