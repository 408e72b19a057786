#include "inifile.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

#include "atomicfile.h"
#include "textcodec.h"

namespace ravell {

namespace {

QByteArray SectionName(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  if (trimmed.startsWith('[') && trimmed.endsWith(']')) return trimmed.mid(1, trimmed.size() - 2).trimmed();
  return QByteArray();
}

bool IsSection(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  return trimmed.startsWith('[') && trimmed.endsWith(']');
}

bool SameName(const QByteArray& a, const QString& b) {
  return FromFileText(a).compare(b, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, or empty for anything else.
QByteArray KeyOf(const QByteArray& line) {
  const qsizetype eq = line.indexOf('=');
  if (eq <= 0) return QByteArray();
  return line.left(eq).trimmed();
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

bool IniFile::Exists() const { return QFileInfo::exists(path_); }

IniFile::Stamp IniFile::StampOf(const QString& path) {
  struct stat info;
  Stamp stamp;
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.mtime_ns = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

void IniFile::Reload() const {
  const Stamp stamp = StampOf(path_);
  if (loaded_ && stamp == stamp_) return;
  lines_.clear();
  loaded_ = true;
  stamp_ = stamp;
  QFile file(path_);
  if (!stamp.exists || !file.open(QIODevice::ReadOnly)) return;
  QByteArray data = file.readAll();
  data.replace("\r\n", "\n");
  data.replace('\r', '\n');
  lines_ = data.split('\n');
  if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
}

QString IniFile::Read(const QString& section, const QString& key,
                      const QString& default_value) const {
  Reload();
  bool in_section = false;
  for (const QByteArray& line : lines_) {
    if (IsSection(line)) {
      in_section = SameName(SectionName(line), section);
      continue;
    }
    if (!in_section) continue;
    const QByteArray name = KeyOf(line);
    if (name.isEmpty() || !SameName(name, key)) continue;
    QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && ((value.startsWith('"') && value.endsWith('"')) ||
                              (value.startsWith('\'') && value.endsWith('\'')))) {
      value = value.mid(1, value.size() - 2);
    }
    return FromFileText(value);
  }
  return default_value;
}

void IniFile::Write(const QString& section, const QString& key, const QString& value) {
  Reload();
  QList<QByteArray> lines = lines_;
  const QByteArray entry = ToFileText(key) + '=' + ToFileText(value);
  qsizetype section_end = -1;  // index after the section's last key line
  bool in_section = false;
  bool done = false;
  for (qsizetype i = 0; i < lines.size() && !done; ++i) {
    if (IsSection(lines[i])) {
      if (in_section) break;
      in_section = SameName(SectionName(lines[i]), section);
      if (in_section) section_end = i + 1;
      continue;
    }
    if (!in_section) continue;
    const QByteArray name = KeyOf(lines[i]);
    if (!name.isEmpty() && SameName(name, key)) {
      lines[i] = entry;
      done = true;
    } else if (!lines[i].trimmed().isEmpty()) {
      section_end = i + 1;
    }
  }
  if (!done) {
    if (section_end >= 0) {
      lines.insert(section_end, entry);
    } else {
      lines.append('[' + ToFileText(section) + ']');
      lines.append(entry);
    }
  }
  QByteArray data;
  for (const QByteArray& line : lines) data += line + "\r\n";
  WriteFileAtomic(path_, data);
  loaded_ = false;
}

}  // namespace ravell
