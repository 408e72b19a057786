#include "totalspage.h"

#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include "charts.h"

namespace ravell {

TotalsPage::TotalsPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TotalsView"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(QStringLiteral("Splitter2"));
  splitter_->setChildrenCollapsible(false);
  layout->addWidget(splitter_);

  grid_ = new QTableView(splitter_);
  grid_->setObjectName(QStringLiteral("DBGrid2"));
  grid_->setAccessibleName(QStringLiteral("Totals"));
  splitter_->addWidget(grid_);

  chart_area_ = new QWidget(splitter_);
  chart_area_->setObjectName(QStringLiteral("TotalsChartArea"));
  chart_area_->setMinimumHeight(100);
  auto* area_layout = new QVBoxLayout(chart_area_);
  area_layout->setContentsMargins(0, 0, 0, 0);
  area_layout->setSpacing(0);
  tabs_ = new QTabBar(chart_area_);
  tabs_->setObjectName(QStringLiteral("TabControl1"));
  tabs_->setAccessibleName(QStringLiteral("Chart of"));
  tabs_->addTab(QStringLiteral("Time"));
  tabs_->addTab(QStringLiteral("Rate"));
  chart_ = new BarChart(chart_area_);
  chart_->setObjectName(QStringLiteral("DBChart1"));
  chart_->setAccessibleName(QStringLiteral("Totals chart"));
  area_layout->addWidget(tabs_);
  area_layout->addWidget(chart_, 1);
  splitter_->addWidget(chart_area_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 1);
}

}  // namespace ravell
