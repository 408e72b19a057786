// The reporter's start-up work (consolidating the day logs, loading the
// records, building the key orders) on long made-up histories, against the
// least any start-up must do: read the same files and write their
// concatenation.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>

#include "analysis.h"
#include "atomicfile.h"
#include "demohistory.h"
#include "logtables.h"
#include "messages.h"
#include "reportengine.h"
#include "reportgenerator.h"
#include "reportrender.h"
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

// The 20-year history loaded once for the analysis cases.
ReporterTables& LoadedHistory() {
  static ReporterTables* tables = [] {
    auto* loaded = new ReporterTables;
    QuietMessages messages;
    ReporterStartup(HistoryFolder(kHistories[1]), *loaded, messages).Run();
    return loaded;
  }();
  return *tables;
}

// Apply with a condition that differs from the last one each time, so every
// run copies the passing records, builds the tree and rebuilds the orders.
void BM_ApplyChangedCondition(benchmark::State& state) {
  ReporterTables& tables = LoadedHistory();
  ReporterAnalysis analysis(tables);
  FilterSettings settings;
  settings.period = true;
  settings.from = QDate(1990, 1, 1);
  settings.to = QDate(2030, 12, 31);
  analysis.StartQueryButtonClick({}, true);
  for (auto _ : state) {
    settings.to = settings.to.addDays(1);  // every record still passes
    analysis.StartQueryButtonClick(settings);
  }
  state.counters["records"] = tables.display_log.RecordCount();
  state.counters["nodes"] = analysis.Tree().NodeCount();
}
BENCHMARK(BM_ApplyChangedCondition)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The tree alone over the whole history, in the expanded and short forms.
void BM_BuildTree(benchmark::State& state) {
  ReporterTables& tables = LoadedHistory();
  ReporterAnalysis analysis(tables);
  if (state.range(0) == 1) analysis.Grouping().RadioDateShortClick();
  analysis.StartQueryButtonClick({}, true);
  DataTreeModel tree;
  const int levels = analysis.Levels();
  for (auto _ : state) tree.Build(tables.display_log, levels, QString::fromLatin1(kAllRecords));
  state.counters["nodes"] = tree.NodeCount();
}
BENCHMARK(BM_BuildTree)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The report needs fonts, so a GUI application; offscreen unless told.
void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "reporter_bench";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

// "Generate" of the whole 10-year history: the report laid out over the
// root node and written to a PDF file (Arg 1) or only laid out (Arg 0).
void BM_ReportOfTenYears(benchmark::State& state) {
  EnsureGuiApplication();
  ReporterTables tables;
  QuietMessages messages;
  ReporterStartup(HistoryFolder(kHistories[0]), tables, messages).Run();
  ReporterAnalysis analysis(tables);
  QuickReport report;
  analysis.StartQueryButtonClick({}, true);
  report.BindReportGroups(analysis.Grouping().Key());
  SystemClock clock;
  ReportGenerator generator(report, analysis, clock);
  const bool pdf = state.range(0) == 1;
  // Kept for a look at the pages afterwards.
  const QString pdf_path = QDir::currentPath() + QStringLiteral("/report-10y.pdf");
  size_t pages = 0, bytes = 0;
  for (auto _ : state) {
    generator.GenerateReportClick([&] { return ApplyReportDefaults(report, analysis); },
                                  [&](const ReportDocument& document) {
                                    pages = document.pages.size();
                                    if (!pdf) return;
                                    SaveReport(document, pdf_path, "Ravell Report");
                                    bytes = static_cast<size_t>(QFileInfo(pdf_path).size());
                                  });
  }
  state.counters["records"] = tables.display_log.RecordCount();
  state.counters["pages"] = static_cast<double>(pages);
  if (pdf) state.counters["pdf_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ReportOfTenYears)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace ravell
