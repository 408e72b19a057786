#include "projectlist.h"

#include <cmath>

#include "money.h"
#include "sametext.h"
#include "textcodec.h"

namespace ravell {

void ProjectList::Load(const QByteArray& bytes) {
  lines_.clear();
  QByteArray data = bytes;
  data.replace("\r\n", "\n");
  data.replace('\r', '\n');
  QList<QByteArray> lines = data.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (const QByteArray& line : lines) lines_ << FromFileText(line);
}

QByteArray ProjectList::Compose() const {
  QByteArray out;
  for (const QString& line : lines_) out += ToFileText(line) + "\r\n";
  return out;
}

QString ProjectList::NameProblem(const QString& name) {
  if (name.contains(u'=')) {
    return QStringLiteral(
        "A project name cannot hold \"=\": it separates the name from the rate in projects.lst.");
  }
  if (name.contains(u'\t') || name.contains(u'\r') || name.contains(u'\n')) {
    return QStringLiteral("A project name cannot hold tabs or line breaks.");
  }
  return QString();
}

std::optional<QString> ProjectList::RateFromInput(const QString& text) {
  double rate = 0;
  if (!ParseNumber(text, &rate)) return std::nullopt;
  return MoneyText(rate);
}

QString ProjectList::NameOf(const QString& line) {
  const qsizetype eq = line.indexOf(u'=');
  return eq < 0 ? QString() : line.left(eq);
}

QString ProjectList::RateTextOf(const QString& line) {
  const qsizetype eq = line.indexOf(u'=');
  return eq < 0 ? QString() : line.mid(eq + 1);
}

int ProjectList::Find(const QString& name) const {
  for (int i = 0; i < size(); ++i) {
    if (SameTextIgnoringCase(NameOf(lines_[i]), name)) return i;
  }
  return -1;
}

QString ProjectList::RateText(const QString& name) const {
  const int index = Find(name);
  return index < 0 ? QString() : RateTextOf(lines_[index]);
}

double ProjectList::Rate(const QString& name) const {
  double rate = 0;
  return ParseNumber(RateText(name), &rate) ? rate : 0;
}

qint64 ProjectList::StoredRate(const QString& name) const {
  const double hundredths = std::nearbyint(Rate(name) * 100);
  // A rate beyond any whole number of hundredths (such as 5e20) is not a rate.
  return std::fabs(hundredths) < 9e18 ? static_cast<qint64>(hundredths) : 0;
}

void ProjectList::Append(const QString& name, const QString& rate_text) {
  lines_ << name + u'=' + rate_text;
}

void ProjectList::SetLine(int index, const QString& name, const QString& rate_text) {
  lines_[index] = name + u'=' + rate_text;
}

}  // namespace ravell
