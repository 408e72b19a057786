#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace ravell {

// An INI file read and written like the platform's profile routines:
// sections and keys match without regard to case, values are trimmed, an
// absent key reads as the default, every write rewrites the file at once
// (atomically, CR LF line ends) and keeps every other line as it was.
// Reads see changes other programs made to the file since the last read.
class IniFile {
 public:
  explicit IniFile(QString path);

  const QString& path() const { return path_; }
  bool Exists() const;

  QString Read(const QString& section, const QString& key,
               const QString& default_value = QString()) const;
  // Throws FileError when the file cannot be written.
  void Write(const QString& section, const QString& key, const QString& value);

 private:
  void Reload() const;

  QString path_;
  mutable QList<QByteArray> lines_;
  // What the file looked like when read; writers replace the file, so a new
  // inode tells a change even within the clock's granularity.
  struct Stamp {
    bool exists = false;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 mtime_ns = 0;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp StampOf(const QString& path);
  mutable Stamp stamp_;
  mutable bool loaded_ = false;
};

}  // namespace ravell
