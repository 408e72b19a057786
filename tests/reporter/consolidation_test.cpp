#include "consolidation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../support/recordingmessages.h"
#include "logtables.h"
#include "startup.h"
#include "textcodec.h"

namespace ravell {
namespace {

using testing::RecordingMessages;

class RecordingProgress : public StartupProgress {
 public:
  void SetStep(const QString& text) override { steps << text; }
  void SetRange(int maximum) override { last_maximum = maximum; }
  void SetPosition(int position) override { last_position = position; }
  void Hide() override { hidden = true; }
  QStringList steps;
  int last_maximum = -1;
  int last_position = -1;
  bool hidden = false;
};

class ConsolidationTest : public ::testing::Test {
 protected:
  void Put(const QString& relative, const QByteArray& bytes) {
    const QString path = dir_.path() + u'/' + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray Total() const {
    QFile file(dir_.path() + QStringLiteral("/ravtotal.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }

  QTemporaryDir dir_;
  RecordingMessages messages_;
};

// Tracker form (TABs) with names holding 8-bit bytes, and reporter form.
const QByteArray kTrackerLine =
    "<TaskInstance><Prolog></Prolog><Year>2024</Year><Month>1</Month><Day>2</Day>"
    "<TimeStart>9:00:00</TimeStart><TimeEnd>10:30:00</TimeEnd><TimeDelta>1:30:00</TimeDelta>"
    "\t<Name>Caf\xC3\xA9 \xE0\xA6\xBC</Name>\t<Project>X\xC0\x80</Project>"
    "\t<TaskId>20240102123456</TaskId>\t<Rate>1250</Rate></TaskInstance>\r\n";
// Holds a NUL byte: sized from the literal.
template <size_t N>
QByteArray Bytes(const char (&text)[N]) {
  return QByteArray(text, N - 1);
}

const QByteArray kTrackerLineEscaped = Bytes(
    "<TaskInstance><Prolog></Prolog><Year>2024</Year><Month>1</Month><Day>2</Day>"
    "<TimeStart>9:00:00</TimeStart><TimeEnd>10:30:00</TimeEnd><TimeDelta>1:30:00</TimeDelta>"
    "\t<Name>Caf^_C_^^_)_^ ^_`_^^_&_^^_<_^</Name>\t<Project>X^_@_^^_\0_^</Project>"
    "\t<TaskId>20240102123456</TaskId>\t<Rate>1250</Rate></TaskInstance>\r\n");
const QByteArray kReporterLine =
    "<TaskInstance><Prolog></Prolog><Year>2024</Year><Month>1</Month><Day>1</Day>"
    "<TimeStart>8:00:00</TimeStart><TimeEnd>8:10:00</TimeEnd><TimeDelta>0:10:00</TimeDelta>"
    "<Name></Name><Project>Ops</Project><TaskId>20240101000001</TaskId><Rate>0</Rate>"
    "</TaskInstance>\r\n";

TEST_F(ConsolidationTest, WalksFoldersDepthFirstAndEscapesEveryHighByte) {
  // Written out of name order, so the walk's own order shows.
  Put("Log/stray.tl", kReporterLine);  // directly in Log: ignored
  Put("Log/a/b/c/deep.tl", kReporterLine);
  Put("Log/2024/1/2024_1_2.tl", kTrackerLine);
  Put("Log/2024/1/2024_1_1.tl", "");
  Put("Log/2024/top.tl", kReporterLine);
  Put("Log/2024/1/notes.txt", "not a day log");

  const QByteArray expected = QByteArray("<RAVTotal>\r\n") + kReporterLine +  // 2024/top.tl
                              kTrackerLineEscaped +                           // 2024/1/2024_1_2.tl
                              kReporterLine +                                 // a/b/c/deep.tl
                              "</RAVTotal>\r\n";
  RecordingProgress progress;
  const Consolidation first = ConsolidateDayLogs(dir_.path(), messages_, &progress);
  EXPECT_EQ(first.files, 4);  // the empty file counts
  EXPECT_EQ(first.lines, 3);
  EXPECT_EQ(Total(), expected);
  EXPECT_EQ(first.bytes, expected);
  EXPECT_EQ(progress.last_maximum, 4);
  EXPECT_EQ(progress.last_position, 4);
  EXPECT_TRUE(messages_.shown.isEmpty()) << messages_.Texts().join(u'\n').toStdString();

  // A second run over unchanged files writes the same bytes.
  ConsolidateDayLogs(dir_.path(), messages_, nullptr);
  EXPECT_EQ(Total(), expected);

  // Loading gives the names back their bytes.
  ReporterTables tables;
  const LoadStats stats = LoadLogRecords(first.bytes, tables.log_records);
  EXPECT_EQ(stats.records, 3);
  EXPECT_EQ(stats.skipped, 0);
  EXPECT_EQ(stats.decoded, 4);  // empty names are not decoded
  RecordTable& log = tables.log_records;
  ASSERT_TRUE(log.FindKey({2024, 1, 2}));
  EXPECT_EQ(ToFileText(log.Value("Name").toString()), QByteArray("Caf\xC3\xA9 \xE0\xA6\xBC"));
  ASSERT_TRUE(log.FindKey({2024, 1, 1}));
  EXPECT_EQ(log.Value("Name").toString(), QStringLiteral("Undefined"));
  EXPECT_EQ(log.Value("Project").toString(), QStringLiteral("Ops"));
}

TEST(EscapeTest, EscapeAndUnescapeAreInverse) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  QByteArray escaped;
  AppendEscaped(escaped, all.constData(), all.size());
  EXPECT_EQ(escaped.size(), 128 + 128 * 5);
  for (char c : escaped) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  EXPECT_EQ(UnescapeText(escaped), all);
}

TEST(EscapeTest, UnescapeCases) {
  const struct {
    QByteArray text, expected;
  } cases[] = {
      {"^_@_^", "\xC0"},
      {"a^_`_^b",
       "a\xE0"
       "b"},
      {"^x^", "^x^"},
      {"a^_bc", "a^_bc"},  // not a whole group: a name that holds "^_"
      {"^_@_", "^_@_"},    // cut off at the end
      {"^^_@_^", "^\xC0"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UnescapeText(c.text), c.expected) << c.text.constData();
}

TEST_F(ConsolidationTest, NoDayLogFileWarnsAndEnds) {
  for (const bool with_folder : {false, true}) {
    if (with_folder) Put("Log/2024/1/readme.txt", "x");
    RecordingProgress progress;
    ReporterTables tables;
    ReporterStartup startup(dir_.path(), tables, messages_, &progress);
    EXPECT_FALSE(startup.Run());
    EXPECT_TRUE(progress.hidden);
    ASSERT_EQ(messages_.shown.size(), 1);
    EXPECT_EQ(
        messages_.shown[0].text,
        QStringLiteral("Log records files not found. Please, strat at least one task before."));
    EXPECT_EQ(messages_.shown[0].icon, MsgIcon::kWarning);
    EXPECT_FALSE(QFile::exists(dir_.path() + QStringLiteral("/ravtotal.xml")));
    messages_.shown.clear();
  }
}

TEST_F(ConsolidationTest, UnreadableFileSkipsRestOfItsFolderOnly) {
  Put("Log/2024/1/a.tl", kReporterLine);
  Put("Log/2024/1/c.tl", kTrackerLine);  // after the failing file: skipped
  Put("Log/2024/1/sub/d.tl", kReporterLine);
  const QString broken = dir_.path() + QStringLiteral("/Log/2024/1/b.tl");
  ASSERT_TRUE(QFile::link(dir_.path() + QStringLiteral("/nowhere"), broken));

  const Consolidation result = ConsolidateDayLogs(dir_.path(), messages_, nullptr);
  EXPECT_EQ(messages_.Texts(), QStringList{QStringLiteral("Error in getfiles with ") + dir_.path() +
                                           QStringLiteral("/Log/2024/1/b.tl")});
  EXPECT_EQ(result.files, 3);  // a, b (counted, then failed), d
  EXPECT_EQ(Total(),
            QByteArray("<RAVTotal>\r\n") + kReporterLine + kReporterLine + "</RAVTotal>\r\n");
}

TEST_F(ConsolidationTest, LinkedFolderThatLoopsIsWalkedOnce) {
  Put("Log/2024/1/a.tl", kReporterLine);
  ASSERT_TRUE(QFile::link(dir_.path() + QStringLiteral("/Log"),
                          dir_.path() + QStringLiteral("/Log/2024/1/back")));
  const Consolidation result = ConsolidateDayLogs(dir_.path(), messages_, nullptr);
  EXPECT_EQ(result.files, 1);
  EXPECT_EQ(result.lines, 1);
}

TEST_F(ConsolidationTest, UnwritableTotalIsReportedAndRecordsStillLoad) {
  Put("Log/2024/1/2024_1_1.tl", kReporterLine + kReporterLine);
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("ravtotal.xml")));  // cannot be replaced

  RecordingProgress progress;
  ReporterTables tables;
  ReporterStartup startup(dir_.path(), tables, messages_, &progress);
  ASSERT_TRUE(startup.Run());
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].text.contains(dir_.path() + QStringLiteral("/ravtotal.xml")))
      << messages_.shown[0].text.toStdString();
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::kError);
  EXPECT_EQ(tables.log_records.Count(), 2);
  EXPECT_EQ(progress.steps, (QStringList{QStringLiteral("Consolidating days reports..."),
                                         QStringLiteral("Translating XML to dataset..."),
                                         QStringLiteral("Creating indexes...")}));
  EXPECT_EQ(progress.last_maximum, 4);  // two text elements per record
  EXPECT_EQ(progress.last_position, 4);
}

}  // namespace
}  // namespace ravell
