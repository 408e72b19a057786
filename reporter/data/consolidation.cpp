#include "consolidation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "atomicfile.h"
#include "error.h"

namespace ravell {

ProgressMeter::ProgressMeter(StartupProgress* progress, int maximum)
    : progress_(progress), maximum_(maximum) {
  if (progress_) progress_->SetRange(maximum);
  Report();
}

void ProgressMeter::Report() {
  if (progress_) progress_->SetPosition(std::min(position_, maximum_));
  // About two hundred visible steps over the whole range.
  next_ = position_ + std::max(1, maximum_ / 200);
}

void ProgressMeter::Finish() {
  position_ = std::max(position_, maximum_);
  Report();
}

void AppendEscaped(QByteArray& out, const char* data, qsizetype size) {
  constexpr quint64 kHighBits = 0x8080808080808080ULL;
  // Grows by doubling: appending file after file must not copy the whole
  // consolidated text each time.
  const qsizetype need = out.size() + size + size / 4 + 16;
  if (out.capacity() < need) out.reserve(std::max(need, 2 * out.capacity()));
  const char* run = data;
  const char* p = data;
  const char* const end = data + size;
  while (p < end) {
    // Names are mostly ASCII: skip eight bytes at a time while no high bit is set.
    quint64 word;
    while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & kHighBits) == 0)) p += 8;
    const char* const stop = std::min(p + 8, end);
    while (p < stop && static_cast<unsigned char>(*p) < 0x80) ++p;
    if (p == stop) continue;
    out.append(run, p - run);
    const char group[5] = {'^', '_', static_cast<char>(static_cast<unsigned char>(*p) - 0x80), '_',
                           '^'};
    out.append(group, 5);
    run = ++p;
  }
  out.append(run, end - run);
}

QByteArray UnescapeText(const QByteArray& text) {
  if (!text.contains("^_")) return text;
  QByteArray out;
  out.reserve(text.size());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n;) {
    // Only a whole group is turned back, so a name that merely holds "^_"
    // keeps its bytes.
    if (i + 4 < n && text[i] == '^' && text[i + 1] == '_' && text[i + 3] == '_' &&
        text[i + 4] == '^') {
      out += static_cast<char>(static_cast<unsigned char>(text[i + 2]) + 0x80);
      i += 5;
    } else {
      out += text[i++];
    }
  }
  return out;
}

namespace {

// Copies one folder's day log files; the first that cannot be read ends it.
int CopyFolderFiles(const LogFolderFiles& folder, LogScan* scan) {
  int count = 0;
  for (const QFileInfo& info : folder.files) {
    ++count;
    QFile file(info.filePath());
    // Only regular files are opened: a pipe named *.tl would never end.
    bool read = info.isFile() && file.open(QIODevice::ReadOnly);
    if (read) {
      const QByteArray data = file.readAll();
      read = file.error() == QFileDevice::NoError;
      AppendEscaped(*scan->out, data.constData(), data.size());
      scan->lines += static_cast<int>(std::count(data.begin(), data.end(), '\r'));
    }
    if (!read) {
      if (scan->messages) {
        scan->messages->Show(QStringLiteral("Error in getfiles with ") + folder.folder + u'/' +
                             info.fileName());
      }
      return count;
    }
    if (scan->meter) scan->meter->Advance();
  }
  return count;
}

struct FolderListing {
  QFileInfoList subfolders;
  QFileInfoList day_logs;
};

bool ByName(const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); }

// One pass over a folder's entries, each kind in name order. Broken links and
// other non-folders named *.tl count as day log files, so that they are
// reported rather than missed. A folder that cannot be listed is reported
// too: it would look empty and its records would silently be left out.
FolderListing ListFolder(const QString& folder, LogScan* scan) {
  FolderListing listing;
  if (!QFileInfo(folder).isReadable()) {
    if (scan->messages) scan->messages->Show(QStringLiteral("Error in getfiles with ") + folder);
    return listing;
  }
  QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    it.next();
    QFileInfo info = it.fileInfo();
    if (info.isDir()) {
      listing.subfolders.append(std::move(info));
    } else if (info.fileName().endsWith(QLatin1String(".tl"), Qt::CaseInsensitive)) {
      listing.day_logs.append(std::move(info));
    }
  }
  std::sort(listing.subfolders.begin(), listing.subfolders.end(), ByName);
  std::sort(listing.day_logs.begin(), listing.day_logs.end(), ByName);
  return listing;
}

int HandleDayLogFiles(const QString& folder, QFileInfoList day_logs, LogScan* scan) {
  LogFolderFiles listed{folder, std::move(day_logs)};
  if (!scan->count_only) return CopyFolderFiles(listed, scan);
  const int count = static_cast<int>(listed.files.size());
  if (count > 0) scan->found.append(std::move(listed));
  return count;
}

// `canonical` is the folder's path with links resolved: only a linked folder
// can lead back to one already walked.
int WalkSubfolders(const FolderListing& listing, const QString& canonical, LogScan* scan) {
  int count = 0;
  for (const QFileInfo& sub : listing.subfolders) {
    const QString inner_canonical =
        sub.isSymLink() ? sub.canonicalFilePath() : canonical + u'/' + sub.fileName();
    if (inner_canonical.isEmpty() || scan->visited.contains(inner_canonical)) continue;
    scan->visited.insert(inner_canonical);
    const FolderListing inner = ListFolder(sub.filePath(), scan);
    count += HandleDayLogFiles(sub.filePath(), inner.day_logs, scan);
    count += WalkSubfolders(inner, inner_canonical, scan);
  }
  return count;
}

}  // namespace

int CopyDayLogFiles(const QList<LogFolderFiles>& found, LogScan* scan) {
  int count = 0;
  for (const LogFolderFiles& folder : found) count += CopyFolderFiles(folder, scan);
  return count;
}

int ScanLogFolder(const QString& folder, LogScan* scan) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  if (canonical.isEmpty()) return 0;  // no such folder
  scan->visited.insert(canonical);
  return WalkSubfolders(ListFolder(folder, scan), canonical, scan);
}

Consolidation ConsolidateDayLogs(const QString& program_folder, MessageBoxes& messages,
                                 StartupProgress* progress) {
  const QString log_folder = program_folder + QStringLiteral("/Log");
  LogScan counting;
  counting.messages = &messages;
  const int found = ScanLogFolder(log_folder, &counting);
  Consolidation result;
  if (found == 0) {
    if (progress) progress->Hide();
    messages.Show(QString::fromLatin1(kNoLogFilesText), QString(), MsgIcon::kWarning);
    return result;
  }

  ProgressMeter meter(progress, found);
  result.bytes += "<RAVTotal>\r\n";
  LogScan copying;
  copying.count_only = false;
  copying.out = &result.bytes;
  copying.messages = &messages;
  copying.meter = &meter;
  result.files = CopyDayLogFiles(counting.found, &copying);
  result.lines = copying.lines;
  result.bytes += "</RAVTotal>\r\n";
  meter.Finish();

  const QString path = program_folder + QStringLiteral("/ravtotal.xml");
  try {
    WriteFileAtomic(path, result.bytes);
  } catch (const FileError& error) {
    messages.Show(error.message(), QString(), MsgIcon::kError);
  }
  return result;
}

}  // namespace ravell
