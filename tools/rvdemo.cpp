// Fills a program folder with a demo history, so the reporter has something
// to show at once: rvdemo [options] FOLDER
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "demohistory.h"
#include "error.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("rvdemo"));
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Writes day log files and projects.lst of a made-up history into a program "
                     "folder."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("The program folder."));
  const QCommandLineOption years(QStringLiteral("years"), QStringLiteral("Years of history (2)."),
                                 QStringLiteral("n"), QStringLiteral("2"));
  const QCommandLineOption per_day(QStringLiteral("per-day"),
                                   QStringLiteral("Records per working day on average (12)."),
                                   QStringLiteral("n"), QStringLiteral("12"));
  const QCommandLineOption every_day(QStringLiteral("every-day"),
                                     QStringLiteral("Every day has records, weekends too."));
  const QCommandLineOption end(QStringLiteral("end"),
                               QStringLiteral("Last day, YYYY-MM-DD (today)."),
                               QStringLiteral("date"));
  const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed (1)."),
                                QStringLiteral("n"), QStringLiteral("1"));
  const QCommandLineOption force(QStringLiteral("force"),
                                 QStringLiteral("Write even where day logs exist already."));
  parser.addOptions({years, per_day, every_day, end, seed, force});
  parser.process(app);
  if (parser.positionalArguments().size() != 1) parser.showHelp(2);

  const QString folder = parser.positionalArguments().front();
  ravell::DemoHistoryOptions options;
  bool ok_years = false, ok_per_day = false, ok_seed = false;
  options.years = parser.value(years).toInt(&ok_years);
  options.records_per_day = parser.value(per_day).toInt(&ok_per_day);
  options.seed = parser.value(seed).toUInt(&ok_seed);
  options.every_day = parser.isSet(every_day);
  if (parser.isSet(end)) options.last_day = QDate::fromString(parser.value(end), Qt::ISODate);
  if (!ok_years || options.years < 1 || !ok_per_day || options.records_per_day < 1 || !ok_seed ||
      !options.last_day.isValid()) {
    std::fprintf(stderr, "rvdemo: invalid option value\n");
    return 2;
  }
  // A real history must never be overwritten by made-up days.
  const QDir log(folder + QStringLiteral("/Log"));
  if (!parser.isSet(force) && log.exists() &&
      !log.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    std::fprintf(stderr, "rvdemo: %s already holds day logs; use --force to write anyway\n",
                 qPrintable(log.path()));
    return 1;
  }
  try {
    QDir().mkpath(folder);
    const ravell::DemoHistory history = ravell::GenerateDemoHistory(folder, options);
    std::printf("%d day log files, %d records in %s\n", history.files, history.records,
                qPrintable(QDir(folder).absolutePath()));
  } catch (const ravell::Error& error) {
    std::fprintf(stderr, "rvdemo: %s\n", error.what());
    return 1;
  }
  return 0;
}
