#include "logpage.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "charts.h"

namespace ravell {

LogPage::LogPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("LogView"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(QStringLiteral("Splitter3"));
  splitter_->setChildrenCollapsible(false);
  layout->addWidget(splitter_);

  grid_ = new QTableView(splitter_);
  grid_->setObjectName(QStringLiteral("DBGrid1"));
  grid_->setAccessibleName(QStringLiteral("Log records"));
  splitter_->addWidget(grid_);
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("DBGridPopup"));
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QWidget::customContextMenuRequested, popup_,
          [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

  panel_ = new QWidget(splitter_);
  panel_->setObjectName(QStringLiteral("Panel4"));
  panel_->setMinimumHeight(100);
  auto* panel_layout = new QHBoxLayout(panel_);
  panel_layout->setContentsMargins(0, 0, 0, 0);
  panel_layout->setSpacing(0);
  chart_ = new GanttChart(panel_);
  chart_->setObjectName(QStringLiteral("DBChart2"));
  chart_->setAccessibleName(QStringLiteral("Log chart"));
  scroll_bar_ = new QScrollBar(Qt::Vertical, panel_);
  scroll_bar_->setObjectName(QStringLiteral("ScrollBar1"));
  scroll_bar_->setAccessibleName(QStringLiteral("Days of the log chart"));
  scroll_bar_->hide();
  panel_layout->addWidget(chart_, 1);
  panel_layout->addWidget(scroll_bar_);
  splitter_->addWidget(panel_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 1);
}

}  // namespace ravell
