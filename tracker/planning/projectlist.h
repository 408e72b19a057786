#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace ravell {

// Projects and their hourly rates: ordered lines name "=" rate text. Names
// are looked up without regard to case; the first matching line wins.
class ProjectList {
 public:
  const QStringList& lines() const { return lines_; }
  int size() const { return static_cast<int>(lines_.size()); }
  void Clear() { lines_.clear(); }

  // Lines end at CR LF, a lone CR or a lone LF.
  void Load(const QByteArray& bytes);
  // One line per entry, each ending in CR LF.
  QByteArray Compose() const;

  // Why a typed project name cannot be stored, or empty when it can: "="
  // separates the name from the rate, and the files are line-based.
  static QString NameProblem(const QString& name);
  // A typed rate as the list keeps it (two decimals, "." as point), or
  // nullopt when it is not a number.
  static std::optional<QString> RateFromInput(const QString& text);

  static QString NameOf(const QString& line);
  static QString RateTextOf(const QString& line);

  int Find(const QString& name) const;
  // Empty when the project has no line.
  QString RateText(const QString& name) const;
  // The rate read as a number, 0 when missing or not a number.
  double Rate(const QString& name) const;
  // Hundredths per hour as the day log keeps it, halves to even.
  qint64 StoredRate(const QString& name) const;

  void Append(const QString& name, const QString& rate_text);
  void SetLine(int index, const QString& name, const QString& rate_text);
  void Remove(int index) { lines_.removeAt(index); }

 private:
  QStringList lines_;
};

}  // namespace ravell
