// Time texts are formatted for every grid cell on every one-second tick and
// parsed for every record the reporter loads, so their cost matters.
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <vector>

#include "datetime.h"
#include "timetext.h"

namespace ravell {
namespace {

// Varied times, so branch prediction sees realistic input.
std::vector<DateTime> SampleTimes() {
  std::vector<DateTime> times;
  for (int i = 0; i < 1000; ++i) {
    times.push_back(45000.0 + EncodeTime(i % 24, (i * 7) % 60, (i * 13) % 60, (i * 37) % 1000));
  }
  return times;
}

void BM_FormatTime(benchmark::State& state) {
  const std::vector<DateTime> times = SampleTimes();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatTime(times[i]));
    i = (i + 1) % times.size();
  }
}
BENCHMARK(BM_FormatTime);

void BM_ParseTime(benchmark::State& state) {
  QStringList texts;
  for (DateTime t : SampleTimes()) texts << FormatTime(t);
  qsizetype i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseTime(texts[i]));
    i = (i + 1) % texts.size();
  }
}
BENCHMARK(BM_ParseTime);

// The 12-hour form takes the slower path through the AM/PM markers.
void BM_ParseTimeWithMarker(benchmark::State& state) {
  const QString text = QStringLiteral("11:45:30 PM");
  for (auto _ : state) benchmark::DoNotOptimize(ParseTime(text));
}
BENCHMARK(BM_ParseTimeWithMarker);

void BM_TimeFrameText(benchmark::State& state) {
  const std::vector<DateTime> times = SampleTimes();
  size_t i = 0;
  for (auto _ : state) {
    const DateTime start = times[i];
    benchmark::DoNotOptimize(TimeFrameText(start, start + kOneHour + 17 * kOneSecond));
    i = (i + 1) % times.size();
  }
}
BENCHMARK(BM_TimeFrameText);

}  // namespace
}  // namespace ravell
