#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace ravell {

// Vertical bars in one colour with a gradient, labelled below, a value axis
// on the left; no marks, no legend. Values are seconds on a time axis
// (h:mm) or plain numbers ("#,##0.##").
class BarChart : public QWidget {
  Q_OBJECT

 public:
  explicit BarChart(QWidget* parent = nullptr);

  void SetBars(const QList<double>& values, const QStringList& labels, bool time_axis);
  const QList<double>& Values() const { return values_; }
  const QStringList& Labels() const { return labels_; }
  bool TimeAxis() const { return time_axis_; }
  // The bar under a point; -1 outside every bar.
  int BarAt(const QPoint& point) const;
  QRect BarRect(int index) const;

  QSize sizeHint() const override { return {300, 150}; }

 signals:
  void BarClicked(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QRect PlotRect() const;
  double AxisMax() const;
  double AxisStep() const;
  QString AxisText(double value) const;

  QList<double> values_;
  QStringList labels_;
  bool time_axis_ = false;
};

// One bar per record from its start to its end on a time-of-day axis along
// the top, one row per day downwards over a fixed day range.
class GanttChart : public QWidget {
  Q_OBJECT

 public:
  struct Bar {
    qint64 day = 0;  // Julian day number
    qint64 start_ms = 0;
    qint64 end_ms = 0;
  };

  explicit GanttChart(QWidget* parent = nullptr);

  void SetBars(std::vector<Bar> bars);
  const std::vector<Bar>& Bars() const { return bars_; }
  // Days from min to max (Julian day numbers), earlier days at the top.
  void SetDayAxis(qint64 min, qint64 max);
  qint64 DayMin() const { return day_min_; }
  qint64 DayMax() const { return day_max_; }
  int BarAt(const QPoint& point) const;
  QRect BarRect(int index) const;

  QSize sizeHint() const override { return {300, 150}; }

 signals:
  void BarClicked(int index);
  void Resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QRect PlotRect() const;
  int DayY(qint64 day) const;
  int TimeX(qint64 ms) const;

  std::vector<Bar> bars_;
  qint64 day_min_ = 0, day_max_ = 0;
  qint64 time_min_ = 0, time_max_ = 24 * 3600000LL;  // the bars' hours
};

}  // namespace ravell
