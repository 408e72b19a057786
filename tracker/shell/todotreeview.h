#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

namespace ravell {

class ToDoTree;
struct ToDoNode;

// Binds a QTreeWidget (the main window's ToDoTree) to the to-do tree model:
// fills it with the nodes and their images, mirrors selection and expansion
// both ways, and selects the row under the pointer on a right click.
class ToDoTreeView : public QObject {
  Q_OBJECT
 public:
  ToDoTreeView(QTreeWidget* widget, ToDoTree& model);

  ToDoNode* NodeOf(QTreeWidgetItem* item) const { return nodes_.value(item); }
  QTreeWidgetItem* ItemOf(const ToDoNode* node) const { return items_.value(node); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Rebuild();
  void ApplySelection();
  void ApplyExpansion();
  void AddItems(QTreeWidgetItem* parent_item, const ToDoNode* parent_node);

  QPointer<QTreeWidget> widget_;
  ToDoTree& model_;
  QHash<QTreeWidgetItem*, ToDoNode*> nodes_;
  QHash<const ToDoNode*, QTreeWidgetItem*> items_;
  bool syncing_ = false;
};

}  // namespace ravell
