// The reporter's start-up work (consolidating the day logs, loading the
// records, building the key orders) on long made-up histories, against the
// least any start-up must do: read the same files and write their
// concatenation.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "atomicfile.h"
#include "demohistory.h"
#include "logtables.h"
#include "messages.h"
#include "startup.h"

namespace ravell {
namespace {

struct History {
  const char* name;
  int years;
  int per_day;
  bool every_day;
};

// About 30,000 records in 2,500 files, and 290,000 in 7,300.
constexpr History kHistories[] = {{"history-10y", 10, 12, false}, {"history-20y", 20, 40, true}};

class QuietMessages : public MessageBoxes {
 public:
  MsgResult Show(const QString& text, const QString&, MsgIcon, MsgButtons) override {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return MsgResult::kOk;
  }
};

// Generated once into the build folder and kept for later runs.
QString HistoryFolder(const History& history) {
  const QString folder = QDir::currentPath() + u'/' + QLatin1String(history.name);
  const QString done = folder + QStringLiteral("/.complete");
  if (!QFile::exists(done)) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    DemoHistoryOptions options;
    options.years = history.years;
    options.records_per_day = history.per_day;
    options.every_day = history.every_day;
    options.last_day = QDate(2025, 12, 31);
    GenerateDemoHistory(folder, options);
    WriteFileAtomic(done, QByteArray());
  }
  return folder;
}

void BM_ReporterStartup(benchmark::State& state) {
  const QString folder = HistoryFolder(kHistories[state.range(0)]);
  QuietMessages messages;
  int records = 0, files = 0;
  for (auto _ : state) {
    ReporterTables tables;
    ReporterStartup startup(folder, tables, messages);
    if (!startup.Run()) state.SkipWithError("no day log files");
    records = tables.log_records.RecordCount();
    files = startup.result().files;
  }
  state.counters["records"] = records;
  state.counters["files"] = files;
}
BENCHMARK(BM_ReporterStartup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadAndConcatenate(benchmark::State& state) {
  const QString folder = HistoryFolder(kHistories[state.range(0)]);
  // The file list is not timed: the baseline does only the reading and writing.
  QStringList files;
  QDirIterator it(folder + QStringLiteral("/Log"), {QStringLiteral("*.tl")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) files << it.next();
  std::sort(files.begin(), files.end());
  for (auto _ : state) {
    QByteArray all;
    for (const QString& path : files) {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("unreadable file");
      all += file.readAll();
    }
    WriteFileAtomic(folder + QStringLiteral("/concatenation.xml"), all);
  }
  state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_ReadAndConcatenate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace ravell
