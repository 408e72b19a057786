#include "todotreeview.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTreeWidget>

#include "barimages.h"
#include "todotree.h"

namespace ravell {

ToDoTreeView::ToDoTreeView(QTreeWidget* widget, ToDoTree& model)
    : QObject(widget), widget_(widget), model_(model) {
  widget_->setColumnCount(1);
  widget_->setHeaderHidden(true);
  // Long names show whole, with a scroll bar across, rather than cut short.
  widget_->header()->setStretchLastSection(false);
  widget_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  widget_->setIndentation(19);
  widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  widget_->setSelectionMode(QAbstractItemView::SingleSelection);
  if (widget_->accessibleName().isEmpty()) widget_->setAccessibleName(QStringLiteral("To-do tree"));
  widget_->viewport()->installEventFilter(this);

  connect(&model_, &ToDoTree::Changed, this, &ToDoTreeView::Rebuild);
  connect(&model_, &ToDoTree::SelectionChanged, this, &ToDoTreeView::ApplySelection);
  connect(&model_, &ToDoTree::ExpansionChanged, this, &ToDoTreeView::ApplyExpansion);
  connect(widget_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (!syncing_) model_.Select(NodeOf(current));
  });
  connect(widget_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
    if (ToDoNode* node = NodeOf(item); node && !syncing_) node->expanded = true;
  });
  connect(widget_, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
    if (ToDoNode* node = NodeOf(item); node && !syncing_) node->expanded = false;
  });
  Rebuild();
}

void ToDoTreeView::AddItems(QTreeWidgetItem* parent_item, const ToDoNode* parent_node) {
  for (const auto& child : parent_node->children) {
    auto* item = new QTreeWidgetItem(parent_item, QStringList{child->text});
    item->setIcon(0, BarImages16(child->image));
    nodes_.insert(item, child.get());
    items_.insert(child.get(), item);
    AddItems(item, child.get());
  }
}

void ToDoTreeView::Rebuild() {
  if (!widget_) return;
  {
    QScopedValueRollback<bool> guard(syncing_, true);
    widget_->clear();
    nodes_.clear();
    items_.clear();
    for (const auto& top : model_.top_level()) {
      auto* item = new QTreeWidgetItem(widget_, QStringList{top->text});
      item->setIcon(0, BarImages16(top->image));
      nodes_.insert(item, top.get());
      items_.insert(top.get(), item);
      AddItems(item, top.get());
    }
  }
  ApplyExpansion();
  ApplySelection();
}

void ToDoTreeView::ApplyExpansion() {
  if (!widget_) return;
  QScopedValueRollback<bool> guard(syncing_, true);
  for (auto it = items_.cbegin(); it != items_.cend(); ++it)
    it.value()->setExpanded(it.key()->expanded);
}

void ToDoTreeView::ApplySelection() {
  if (!widget_) return;
  QScopedValueRollback<bool> guard(syncing_, true);
  QTreeWidgetItem* item = ItemOf(model_.selected());
  if (!item) {
    widget_->setCurrentItem(nullptr);
    widget_->clearSelection();
    return;
  }
  // A selected task shows: its project opens.
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) {
    up->setExpanded(true);
    if (ToDoNode* node = NodeOf(up)) node->expanded = true;
  }
  widget_->setCurrentItem(item);
  widget_->scrollToItem(item);
}

bool ToDoTreeView::eventFilter(QObject* watched, QEvent* event) {
  // The type first: while the tree is being destroyed its viewport still
  // sends events, and the tree must not be touched then.
  if (event->type() == QEvent::MouseButtonPress && widget_ && watched == widget_->viewport()) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      // The row under the pointer, wherever across it the click falls.
      const QModelIndex index = widget_->indexAt(QPoint(0, mouse->position().toPoint().y()));
      if (index.isValid()) widget_->setCurrentIndex(index);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ravell
