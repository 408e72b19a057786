#include "password.h"

#include <QRandomGenerator>

#include "textcodec.h"

namespace ravell {

namespace {
constexpr qint64 kCharMultiplier = 52917;
constexpr qint64 kFillerMultiplier = 52914;

qint64 RandomByte() { return QRandomGenerator::global()->bounded(256); }
}  // namespace

QString ScramblePassword(const QString& password) {
  const QByteArray bytes = ToFileText(password);
  if (bytes.isEmpty()) return QString();
  const qint64 length = bytes.size();
  QByteArray out;
  for (qint64 i = 1; i <= length; ++i) {
    const qint64 code = static_cast<unsigned char>(bytes[i - 1]);
    out += QByteArray::number(code * kCharMultiplier + 7 * i - 43) + '.';
  }
  const qint64 fillers = (length + 1) % 10;
  for (qint64 j = 0; j < fillers; ++j) {
    out += QByteArray::number(RandomByte() * kFillerMultiplier + 7 * j - 43) + '.';
  }
  out += QByteArray::number((RandomByte() * kFillerMultiplier + 7 * (length + 1) - 43) / 10000);
  out += '0' + QByteArray::number(length * 17 + 176) + '.';
  return FromFileText(out);
}

QString UnscramblePassword(const QString& scrambled) {
  QByteArray text = ToFileText(scrambled);
  if (text.size() < 5) return QString();
  bool ok = false;
  const int n = text.mid(text.size() - 5, 4).toInt(&ok);
  if (!ok || n < 176) return QString();
  const int count = (n - 176) / 17;
  QByteArray bytes;
  for (int i = 1; i <= count; ++i) {
    const qsizetype dot = text.indexOf('.');
    if (dot < 0) return QString();
    const qint64 v = text.left(dot).toLongLong(&ok);
    if (!ok) return QString();
    text.remove(0, dot + 1);
    const qint64 code = (v + 43 - 7 * i) / kCharMultiplier;
    if (code < 0 || code > 255) return QString();
    bytes += static_cast<char>(code);
  }
  return FromFileText(bytes);
}

}  // namespace ravell
