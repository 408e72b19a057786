#include "timetext.h"

#include <QDir>
#include <QLocale>
#include <cstdlib>

#include "error.h"

namespace ravell {

QString FormatTime(DateTime value) {
  qint64 ms = std::llabs(ToMilliseconds(value)) % static_cast<qint64>(kMsPerDay);
  const qint64 seconds = ms / 1000;
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

namespace {

class TimeScanner {
 public:
  explicit TimeScanner(const QString& text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_].isSpace()) ++pos_;
  }
  bool AtEnd() const { return pos_ >= text_.size(); }

  // Digits only; at most 9 so the value cannot overflow.
  bool Number(int* value, int* digits = nullptr) {
    SkipBlanks();
    int count = 0;
    qint64 result = 0;
    while (pos_ < text_.size() && text_[pos_] >= u'0' && text_[pos_] <= u'9' && count < 9) {
      result = result * 10 + (text_[pos_].unicode() - u'0');
      ++pos_;
      ++count;
    }
    if (count == 0) return false;
    if (pos_ < text_.size() && text_[pos_].isDigit()) return false;
    *value = static_cast<int>(result);
    if (digits) *digits = count;
    return true;
  }

  bool Symbol(const QString& symbol) {
    SkipBlanks();
    if (symbol.isEmpty() || !text_.mid(pos_).startsWith(symbol, Qt::CaseInsensitive)) return false;
    pos_ += symbol.size();
    return true;
  }

  // 0 none, 1 AM, 2 PM.
  int Marker() {
    const QLocale locale;
    if (Symbol(locale.amText()) || Symbol(QStringLiteral("AM"))) return 1;
    if (Symbol(locale.pmText()) || Symbol(QStringLiteral("PM"))) return 2;
    return 0;
  }

 private:
  const QString& text_;
  qsizetype pos_ = 0;
};

bool ScanTime(const QString& text, DateTime* result) {
  TimeScanner scan(text);
  int marker = scan.Marker();
  int hour = 0, minute = 0, second = 0, ms = 0;
  if (!scan.Number(&hour)) return false;
  if (scan.Symbol(QStringLiteral(":"))) {
    if (!scan.Number(&minute)) return false;
    if (scan.Symbol(QStringLiteral(":"))) {
      if (!scan.Number(&second)) return false;
      const QString point = QLocale().decimalPoint();
      if (scan.Symbol(point) || scan.Symbol(QStringLiteral("."))) {
        if (!scan.Number(&ms)) return false;
      }
    }
  }
  if (marker == 0) marker = scan.Marker();
  scan.SkipBlanks();
  if (!scan.AtEnd()) return false;
  if (marker != 0) {
    if (hour < 1 || hour > 12) return false;
    if (marker == 1 && hour == 12) hour = 0;
    if (marker == 2 && hour < 12) hour += 12;
  }
  if (hour >= 24 || minute >= 60 || second >= 60 || ms >= 1000) return false;
  *result = EncodeTime(hour, minute, second, ms);
  return true;
}

}  // namespace

DateTime ParseTime(const QString& text) {
  DateTime result = 0;
  if (!ScanTime(text, &result)) {
    throw ConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
  }
  return result;
}

qint64 ParseTimeMilliseconds(QByteArrayView text) {
  // H:MM:SS or HH:MM:SS, digits only; anything else goes the general way.
  const qsizetype n = text.size();
  const auto digit = [&text](qsizetype i) { return text[i] >= '0' && text[i] <= '9'; };
  if ((n == 7 || n == 8) && text[n - 3] == ':' && text[n - 6] == ':' && digit(n - 1) &&
      digit(n - 2) && digit(n - 4) && digit(n - 5) && digit(0) && (n == 7 || digit(1))) {
    const int hour = n == 7 ? text[0] - '0' : (text[0] - '0') * 10 + (text[1] - '0');
    const int minute = (text[n - 5] - '0') * 10 + (text[n - 4] - '0');
    const int second = (text[n - 2] - '0') * 10 + (text[n - 1] - '0');
    if (hour < 24 && minute < 60 && second < 60) {
      return ((hour * 60 + minute) * 60 + second) * qint64{1000};
    }
  }
  return ToMilliseconds(ParseTime(QString::fromLatin1(text)));
}

QString TimeFrameText(DateTime start, DateTime end, DateTime duration) {
  return FormatTime(start) + u'-' + FormatTime(end) + QStringLiteral(" (") + FormatTime(duration) +
         u')';
}

QString TimeFrameText(DateTime start, DateTime end) {
  return TimeFrameText(start, end, LocalElapsed(start, end));
}

QString TimeFrameText(const Moment& start, const Moment& end) {
  return TimeFrameText(start.local, end.local, Elapsed(start, end));
}

QString OpenTimeFrameText(DateTime start) { return FormatTime(start); }

namespace {
// Positions count from 1; 0 when absent.
qsizetype Pos(const QString& what, const QString& text) { return text.indexOf(what) + 1; }
}  // namespace

QString ParseTimeString(const QString& frame, const QString& part) {
  qsizetype from = 0, count = 0;
  if (part == QLatin1String("TimeStart")) {
    from = 1;
    count = Pos(QStringLiteral("-"), frame) - 1;
  } else if (part == QLatin1String("TimeEnd")) {
    const qsizetype p = Pos(QStringLiteral("-"), frame);
    from = p + 1;
    count = Pos(QStringLiteral(" ("), frame) - p - 1;
  } else if (part == QLatin1String("TimeDelta")) {
    const qsizetype p = Pos(QStringLiteral("("), frame);
    from = p + 1;
    count = Pos(QStringLiteral(")"), frame) - p - 1;
  }
  if (count < 1) return QString();
  return frame.mid(from - 1, count);
}

QString DateText(const QDate& date, const QString& separator) {
  return QString::number(date.year()) + separator + QString::number(date.month()) + separator +
         QString::number(date.day());
}

QString DateText(const Clock& clock, const QString& separator) {
  return DateText(clock.TodayDate(), separator);
}

QString DayLogPath(const QString& program_folder, const QDate& date) {
  const QString folder = program_folder + QStringLiteral("/Log/") + QString::number(date.year()) +
                         u'/' + QString::number(date.month());
  if (!QDir(folder).exists()) QDir().mkpath(folder);
  return folder + u'/' + DateText(date, QStringLiteral("_")) + QStringLiteral(".tl");
}

QString DayLogPath(const QString& program_folder, const Clock& clock) {
  return DayLogPath(program_folder, clock.TodayDate());
}

}  // namespace ravell
