#pragma once

#include <QDialog>
#include <QTreeView>
#include <QTreeWidget>

class QListWidget;

namespace ravell {

// SortTree: the grouping order as a chain that is always expanded. A node
// dropped on another one is reported, never moved by the view itself.
class SortTreeWidget : public QTreeWidget {
  Q_OBJECT

 public:
  explicit SortTreeWidget(QWidget* parent = nullptr);
  // Shows the chain, the node at `selected` current.
  void ShowChain(const QStringList& nodes, int selected);
  int SelectedNode() const;  // depth of the current node; -1 without one

 signals:
  void NodeDropped(int node, int target);

 protected:
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// CustomLogTree: draws "No records found" when it has no node.
class DataTreeView : public QTreeView {
  Q_OBJECT

 public:
  explicit DataTreeView(QWidget* parent = nullptr);

 signals:
  void Entered();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
};

// Form5 "Select projects": a check list with OK and Cancel, used by both
// pickers.
class PickerDialog : public QDialog {
  Q_OBJECT

 public:
  PickerDialog(const QStringList& items, const QStringList& checked, QWidget* parent = nullptr);
  QListWidget* CheckListBox1() const { return list_; }
  // The checked items in list order.
  QStringList Checked() const;

 private:
  QListWidget* list_;
};

}  // namespace ravell
