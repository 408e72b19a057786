#include "plans.h"

#include <QFileInfo>

#include "daylog.h"
#include "error.h"
#include "sametext.h"
#include "textcodec.h"
#include "timetext.h"

namespace ravell {

QByteArray ComposePlans(const DayLog& log) {
  QByteArray out;
  for (int i = 0; i < log.ItemCount(); ++i) {
    out += ToFileText(log.Item(i).task) + '=' + ToFileText(log.Item(i).plan) + "\r\n";
  }
  return out;
}

void ApplyPlans(const QByteArray& bytes, DayLog& log) {
  QByteArray data = bytes;
  data.replace("\r\n", "\n");
  data.replace('\r', '\n');
  QList<QString> names, plans;
  for (const QByteArray& raw : data.split('\n')) {
    const QString line = FromFileText(raw);
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) continue;
    names << line.left(eq);
    plans << line.mid(eq + 1);
  }
  for (int i = 0; i < log.ItemCount(); ++i) {
    QString plan;
    for (qsizetype j = 0; j < names.size(); ++j) {
      if (SameTextIgnoringCase(names[j], log.Item(i).task)) {
        plan = plans[j];
        break;
      }
    }
    log.SetItemPlan(i, plan);
  }
}

bool PlansFileIsCurrent(const QString& path, const QDate& today) {
  const QFileInfo info(path);
  return info.exists() && info.lastModified() >= QDateTime(today, QTime(0, 0));
}

DateTime PlanPreset(const QString& plan) {
  if (plan.isEmpty() || plan == QLatin1String("-")) return EncodeTime(1, 0, 0);
  try {
    return ParseTime(plan);
  } catch (const ConvertError&) {
    // A damaged plans file must not stop the user from setting a new plan.
    return EncodeTime(1, 0, 0);
  }
}

QString PlanFromTime(DateTime picked) {
  const QString text = FormatTime(picked);
  return text.left(7) == QLatin1String("0:00:00") ? QStringLiteral("-") : text;
}

}  // namespace ravell
