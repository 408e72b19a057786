#include "charts.h"

#include <QDate>
#include <QLinearGradient>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "totals.h"

namespace ravell {

namespace {

const QColor kBarColor(0x80, 0x80, 0xFF);
const QColor kGanttColor(0xCC, 0xDB, 0xFF);
constexpr int kGanttBarHeight = 10;
constexpr qint64 kHourMs = 3600000;

// A step of 1, 2 or 5 times a power of ten that gives at most `ticks` steps.
double NiceStep(double span, int ticks) {
  if (span <= 0) return 1;
  const double raw = span / ticks;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (factor * power >= raw) return factor * power;
  }
  return 10 * power;
}

// Steps of a time axis in seconds: whole minutes and hours.
double TimeStep(double span, int ticks) {
  static const double kSteps[] = {60, 300, 600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};
  for (const double step : kSteps) {
    if (span / step <= ticks) return step;
  }
  return NiceStep(span / 86400, ticks) * 86400;
}

}  // namespace

BarChart::BarChart(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void BarChart::SetBars(const QList<double>& values, const QStringList& labels, bool time_axis) {
  values_ = values;
  labels_ = labels;
  time_axis_ = time_axis;
  update();
}

double BarChart::AxisMax() const {
  double top = 0;
  for (const double value : values_) top = std::max(top, value);
  if (top <= 0) top = time_axis_ ? 3600 : 1;
  const double step = time_axis_ ? TimeStep(top, 5) : NiceStep(top, 5);
  return std::ceil(top / step) * step;
}

double BarChart::AxisStep() const {
  return time_axis_ ? TimeStep(AxisMax(), 5) : NiceStep(AxisMax(), 5);
}

QString BarChart::AxisText(double value) const {
  return time_axis_ ? ChartTimeText(std::llround(value)) : ChartNumberText(value);
}

QRect BarChart::PlotRect() const {
  const QFontMetrics metrics = fontMetrics();
  const int left = metrics.horizontalAdvance(AxisText(AxisMax())) + 12;
  const int bottom = metrics.height() + 8;
  return QRect(left, 10, std::max(1, width() - left - 10), std::max(1, height() - 10 - bottom));
}

QRect BarChart::BarRect(int index) const {
  if (index < 0 || index >= values_.size()) return {};
  const QRect plot = PlotRect();
  const double slot = static_cast<double>(plot.width()) / values_.size();
  const int bar_width = std::max(2, static_cast<int>(slot * 0.6));
  const int x = plot.left() + static_cast<int>(slot * index + (slot - bar_width) / 2);
  const int bar_height =
      static_cast<int>(std::max(0.0, values_[index]) / AxisMax() * plot.height());
  // Even a zero bar keeps a sliver that a click can hit.
  const int h = std::max(1, bar_height);
  return QRect(x, plot.bottom() - h + 1, bar_width, h);
}

int BarChart::BarAt(const QPoint& point) const {
  for (int i = 0; i < values_.size(); ++i) {
    if (BarRect(i).contains(point)) return i;
  }
  return -1;
}

void BarChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect plot = PlotRect();
  const QFontMetrics metrics = fontMetrics();

  const double top = AxisMax();
  const double step = AxisStep();
  painter.setPen(QColor(0xD0, 0xD0, 0xD0));
  for (double value = 0; value <= top + step / 2; value += step) {
    const int y = plot.bottom() - static_cast<int>(value / top * plot.height());
    painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    painter.drawLine(plot.left(), y, plot.right(), y);
    painter.setPen(palette().color(QPalette::WindowText));
    const QString text = AxisText(value);
    painter.drawText(QRect(0, y - metrics.height() / 2, plot.left() - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, text);
  }
  painter.setPen(Qt::gray);
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());

  if (values_.isEmpty()) return;
  const double slot = static_cast<double>(plot.width()) / values_.size();
  for (int i = 0; i < values_.size(); ++i) {
    const QRect bar = BarRect(i);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    gradient.setColorAt(0, kBarColor.lighter(160));
    gradient.setColorAt(1, kBarColor);
    painter.fillRect(bar, gradient);
    painter.setPen(kBarColor.darker(130));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect label(plot.left() + static_cast<int>(slot * i), plot.bottom() + 4,
                      static_cast<int>(slot), metrics.height());
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                     metrics.elidedText(labels_.value(i), Qt::ElideRight, label.width()));
  }
}

void BarChart::mousePressEvent(QMouseEvent* event) {
  const int index = BarAt(event->position().toPoint());
  if (index >= 0) emit BarClicked(index);
  QWidget::mousePressEvent(event);
}

GanttChart::GanttChart(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void GanttChart::SetBars(std::vector<Bar> bars) {
  bars_ = std::move(bars);
  // The time axis spans the bars' whole hours; a whole day when there are none.
  time_min_ = 0;
  time_max_ = 24 * kHourMs;
  if (!bars_.empty()) {
    qint64 lo = bars_.front().start_ms, hi = bars_.front().end_ms;
    for (const Bar& bar : bars_) {
      lo = std::min(lo, bar.start_ms);
      hi = std::max(hi, std::max(bar.start_ms, bar.end_ms));
    }
    time_min_ = lo / kHourMs * kHourMs;
    time_max_ = std::max(time_min_ + kHourMs, (hi + kHourMs - 1) / kHourMs * kHourMs);
  }
  update();
}

void GanttChart::SetDayAxis(qint64 min, qint64 max) {
  day_min_ = min;
  day_max_ = max;
  update();
}

QRect GanttChart::PlotRect() const {
  const QFontMetrics metrics = fontMetrics();
  const int left =
      metrics.horizontalAdvance(QLocale().toString(QDate(2000, 12, 28), QLocale::ShortFormat)) + 14;
  const int top = metrics.height() + 8;
  // Room on the right for half of the last hour's label.
  const int right = metrics.horizontalAdvance(QStringLiteral("00:00")) / 2 + 6;
  return QRect(left, top, std::max(1, width() - left - right), std::max(1, height() - top - 8));
}

int GanttChart::DayY(qint64 day) const {
  const QRect plot = PlotRect();
  if (day_max_ <= day_min_) return plot.top();
  return plot.top() + static_cast<int>(static_cast<double>(day - day_min_) / (day_max_ - day_min_) *
                                       plot.height());
}

int GanttChart::TimeX(qint64 ms) const {
  const QRect plot = PlotRect();
  return plot.left() + static_cast<int>(static_cast<double>(ms - time_min_) /
                                        (time_max_ - time_min_) * plot.width());
}

QRect GanttChart::BarRect(int index) const {
  if (index < 0 || index >= static_cast<int>(bars_.size())) return {};
  const Bar& bar = bars_[static_cast<size_t>(index)];
  if (day_max_ <= day_min_ || bar.day < day_min_ || bar.day > day_max_) return {};
  // An interval past midnight ends at the end of its day.
  const qint64 end = bar.end_ms >= bar.start_ms ? bar.end_ms : 24 * kHourMs;
  const int x0 = TimeX(bar.start_ms);
  const int x1 = std::max(x0 + 2, TimeX(end));
  return QRect(x0, DayY(bar.day) - kGanttBarHeight / 2, x1 - x0, kGanttBarHeight);
}

int GanttChart::BarAt(const QPoint& point) const {
  for (int i = 0; i < static_cast<int>(bars_.size()); ++i) {
    if (BarRect(i).contains(point)) return i;
  }
  return -1;
}

void GanttChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect plot = PlotRect();
  const QFontMetrics metrics = fontMetrics();
  const QColor text_color = palette().color(QPalette::WindowText);

  // Time of day along the top, h:mm.
  const qint64 span_hours = (time_max_ - time_min_) / kHourMs;
  const int max_labels =
      std::max(1, plot.width() / (metrics.horizontalAdvance(QStringLiteral("00:00")) + 16));
  const qint64 hour_step = std::max<qint64>(1, (span_hours + max_labels - 1) / max_labels);
  for (qint64 ms = time_min_; ms <= time_max_; ms += hour_step * kHourMs) {
    const int x = TimeX(ms);
    painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    painter.drawLine(x, plot.top(), x, plot.bottom());
    painter.setPen(text_color);
    const QString text = ChartTimeText(ms / 1000);
    const int w = metrics.horizontalAdvance(text);
    painter.drawText(QRect(x - w / 2 - 2, 2, w + 4, metrics.height()), Qt::AlignCenter, text);
  }

  // Days downwards, earlier at the top; labels no closer than a line.
  if (day_max_ > day_min_) {
    const double row = static_cast<double>(plot.height()) / (day_max_ - day_min_);
    const qint64 day_step =
        std::max<qint64>(1, static_cast<qint64>(std::ceil(metrics.height() / row)));
    for (qint64 day = day_min_; day <= day_max_; day += day_step) {
      const int y = DayY(day);
      painter.setPen(QColor(0xE0, 0xE0, 0xE0));
      painter.drawLine(plot.left(), y, plot.right(), y);
      painter.setPen(text_color);
      painter.drawText(QRect(0, y - metrics.height() / 2, plot.left() - 6, metrics.height()),
                       Qt::AlignRight | Qt::AlignVCenter,
                       QLocale().toString(QDate::fromJulianDay(day), QLocale::ShortFormat));
    }
  }
  painter.setPen(Qt::gray);
  painter.drawRect(plot.adjusted(0, 0, -1, -1));

  painter.setClipRect(plot);
  for (int i = 0; i < static_cast<int>(bars_.size()); ++i) {
    const QRect bar = BarRect(i);
    if (bar.isNull()) continue;
    painter.fillRect(bar, kGanttColor);
    painter.setPen(kGanttColor.darker(140));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
  }
}

void GanttChart::mousePressEvent(QMouseEvent* event) {
  const int index = BarAt(event->position().toPoint());
  if (index >= 0) emit BarClicked(index);
  QWidget::mousePressEvent(event);
}

void GanttChart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit Resized();
}

}  // namespace ravell
