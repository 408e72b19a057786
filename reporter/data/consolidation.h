#pragma once

#include <QByteArray>
#include <QFileInfoList>
#include <QList>
#include <QSet>
#include <QString>

#include "messages.h"
#include "startupprogress.h"

namespace ravell {

// Appends day log bytes to the consolidated log: bytes 0x80 and above become
// "^_", value - 0x80, "_^", so the file holds only 7-bit bytes.
void AppendEscaped(QByteArray& out, const char* data, qsizetype size);

// Turns the escape back: each whole group "^_" x "_^" becomes the byte
// x + 0x80; other bytes stay as they are.
QByteArray UnescapeText(const QByteArray& text);

// The day log files of one folder, in the order they are copied.
struct LogFolderFiles {
  QString folder;
  QFileInfoList files;
};

// State of one walk over the log folder.
struct LogScan {
  bool count_only = true;
  QByteArray* out = nullptr;  // the consolidated log, when copying
  int lines = 0;              // CR bytes copied: one per record
  MessageBoxes* messages = nullptr;
  ProgressMeter* meter = nullptr;
  QSet<QString> visited;        // folders already walked (a linked folder may loop)
  QList<LogFolderFiles> found;  // filled while counting, so copying need not walk again
};

// Day log files ("*.tl") in every folder below `folder`, at any depth, not in
// `folder` itself: a folder's own files (in name order) before its
// subfolders. When counting, lists them in scan->found; when copying,
// appends them escaped to scan->out. A file that cannot be read is reported
// and ends the copying of its folder's files; a folder that cannot be listed
// is reported and skipped with what lies below it.
int ScanLogFolder(const QString& folder, LogScan* scan);
// The copying pass over files a counting walk found.
int CopyDayLogFiles(const QList<LogFolderFiles>& found, LogScan* scan);

struct Consolidation {
  int files = 0;     // day log files copied; 0: none found
  int lines = 0;     // records, counted by their CR bytes
  QByteArray bytes;  // what ravtotal.xml holds
};

// Gathers all day log files of the program folder's Log folder into
// ravtotal.xml and returns its contents, which are loaded even when the file
// could not be written (that is reported).
Consolidation ConsolidateDayLogs(const QString& program_folder, MessageBoxes& messages,
                                 StartupProgress* progress);

inline constexpr char kNoLogFilesText[] =
    "Log records files not found. Please, strat at least one task before.";

}  // namespace ravell
