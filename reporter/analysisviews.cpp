#include "analysisviews.h"

#include <QDialogButtonBox>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

#include "datatree.h"

namespace ravell {

namespace {

int Depth(const QTreeWidgetItem* item) {
  int depth = -1;
  for (; item; item = item->parent()) ++depth;
  return depth;
}

}  // namespace

SortTreeWidget::SortTreeWidget(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setItemsExpandable(false);
  setRootIsDecorated(false);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::InternalMove);
  // Collapsing is refused.
  connect(this, &QTreeWidget::itemCollapsed, this,
          [this](QTreeWidgetItem* item) { expandItem(item); });
}

void SortTreeWidget::ShowChain(const QStringList& nodes, int selected) {
  clear();
  QTreeWidgetItem* parent = nullptr;
  QTreeWidgetItem* current = nullptr;
  for (qsizetype i = 0; i < nodes.size(); ++i) {
    auto* item =
        parent ? new QTreeWidgetItem(parent, {nodes[i]}) : new QTreeWidgetItem(this, {nodes[i]});
    if (i == selected) current = item;
    parent = item;
  }
  expandAll();
  if (current) setCurrentItem(current);
}

int SortTreeWidget::SelectedNode() const { return currentItem() ? Depth(currentItem()) : -1; }

namespace {

// Only the chain's own nodes are dragged here.
bool OwnNodes(const QDropEvent* event, const QStringList& types) {
  for (const QString& type : types) {
    if (event->mimeData()->hasFormat(type)) return true;
  }
  return false;
}

}  // namespace

void SortTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (!OwnNodes(event, mimeTypes())) return event->ignore();
  event->acceptProposedAction();
}

void SortTreeWidget::dropEvent(QDropEvent* event) {
  if (!OwnNodes(event, mimeTypes())) return event->ignore();
  const QTreeWidgetItem* target = itemAt(event->position().toPoint());
  // The view moves nothing itself: the order is rebuilt from the model.
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  emit NodeDropped(SelectedNode(), target ? Depth(target) : -1);
}

DataTreeView::DataTreeView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformRowHeights(true);
}

void DataTreeView::paintEvent(QPaintEvent* event) {
  QTreeView::paintEvent(event);
  if (model() && model()->rowCount() > 0) return;
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(QPoint(10, 10 + fontMetrics().ascent()), QString::fromLatin1(kNoRecordsFound));
}

void DataTreeView::focusInEvent(QFocusEvent* event) {
  QTreeView::focusInEvent(event);
  emit Entered();
}

PickerDialog::PickerDialog(const QStringList& items, const QStringList& checked, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("Select projects"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("CheckListBox1"));
  list_->setAccessibleName(QStringLiteral("Names to choose"));
  for (const QString& text : items) {
    auto* item = new QListWidgetItem(text, list_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(checked.contains(text) ? Qt::Checked : Qt::Unchecked);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  setFixedSize(260, 320);
}

QStringList PickerDialog::Checked() const {
  QStringList checked;
  for (int i = 0; i < list_->count(); ++i) {
    if (list_->item(i)->checkState() == Qt::Checked) checked << list_->item(i)->text();
  }
  return checked;
}

}  // namespace ravell
