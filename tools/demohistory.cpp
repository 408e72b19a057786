#include "demohistory.h"

#include <QList>
#include <algorithm>
#include <random>

#include "atomicfile.h"
#include "datetime.h"
#include "daylogrecord.h"
#include "projectlist.h"
#include "recordid.h"
#include "textcodec.h"
#include "timetext.h"

namespace ravell {

namespace {

struct DemoProject {
  const char* name;
  const char* rate;
  int weight;
  QList<const char*> tasks;
};

const QList<DemoProject>& Projects() {
  static const QList<DemoProject> projects = {
      {"Website relaunch", "45.00", 5, {"Layout", "Code review", "Deployment", "Bugfix"}},
      {"Café Lumière", "60.50", 3, {"Réunion d'équipe", "Menükarte", "Présentation"}},
      {"Übersetzung", "38", 2, {"Größenänderung", "Korrekturlesen", "Планирование"}},
      {"Support & Maintenance", "52.25", 3, {"Tickets", "Backups", "デザイン確認"}},
      {"Internal", "0", 2, {"E-mail", "Planning", "Learning"}},
  };
  return projects;
}

bool IsDayOff(const QDate& date, std::mt19937& random) {
  if (date.dayOfWeek() >= 6) return true;
  // Two weeks in summer and a few scattered days.
  if (date.month() == 8 && date.day() >= 5 && date.day() <= 18) return true;
  return random() % 40 == 0;
}

}  // namespace

DemoHistory GenerateDemoHistory(const QString& program_folder, const DemoHistoryOptions& options) {
  std::mt19937 random(options.seed);
  const auto between = [&random](int low, int high) {
    return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
  };

  ProjectList project_list;
  int total_weight = 0;
  for (const DemoProject& project : Projects()) {
    project_list.Append(QString::fromUtf8(project.name), QString::fromLatin1(project.rate));
    total_weight += project.weight;
  }
  WriteFileAtomic(program_folder + QStringLiteral("/projects.lst"), project_list.Compose());

  DemoHistory history;
  const QDate first_day = options.last_day.addYears(-options.years).addDays(1);
  const int per_day = std::max(1, options.records_per_day);
  for (QDate date = first_day; date <= options.last_day; date = date.addDays(1)) {
    if (!options.every_day && IsDayOff(date, random)) continue;
    const int count = options.every_day ? per_day : between((per_day + 1) / 2, per_day * 3 / 2);
    // Work from a morning start, twelve hours of it at most on a busy day,
    // so that the day's records still end before midnight.
    const int average_minutes = std::clamp(12 * 60 / count, 2, 75);
    int start_seconds = between(8 * 3600, 9 * 3600 + 1800);
    QByteArray file;
    for (int i = 0; i < count; ++i) {
      const int length =
          between(average_minutes * 30, average_minutes * 90) + between(0, 59);  // seconds
      const int end_seconds = start_seconds + length;
      if (end_seconds >= 24 * 3600) break;
      int pick = between(0, total_weight - 1);
      const DemoProject* project = &Projects().front();
      for (const DemoProject& candidate : Projects()) {
        if (pick < candidate.weight) {
          project = &candidate;
          break;
        }
        pick -= candidate.weight;
      }
      const QString project_name = QString::fromUtf8(project->name);
      const DateTime start =
          EncodeTime(start_seconds / 3600, start_seconds / 60 % 60, start_seconds % 60);
      const DateTime end = EncodeTime(end_seconds / 3600, end_seconds / 60 % 60, end_seconds % 60);
      DayLogRecord record;
      record.year = date.year();
      record.month = date.month();
      record.day = date.day();
      record.time_start = FormatTime(start).toLatin1();
      record.time_end = FormatTime(end).toLatin1();
      record.time_delta = FormatTime(end - start).toLatin1();
      record.name = ToFileText(QString::fromUtf8(
          project->tasks[between(0, static_cast<int>(project->tasks.size()) - 1)]));
      record.project = ToFileText(project_name);
      record.task_id = FormatTaskId(date, between(0, 999999)).toLatin1();
      record.rate = project_list.StoredRate(project_name);
      file += ComposeDayLogRecord(record, DayLogForm::kTracker);
      ++history.records;
      start_seconds = end_seconds + between(0, 300);
    }
    WriteFileAtomic(DayLogPath(program_folder, date), file);
    ++history.files;
  }
  return history;
}

}  // namespace ravell
