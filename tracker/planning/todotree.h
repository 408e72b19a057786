#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace ravell {

// A node of the to-do tree: a project at the top level, a planned task below.
struct ToDoNode {
  QString text;
  int image = 0;
  bool expanded = false;
  ToDoNode* parent = nullptr;
  std::vector<std::unique_ptr<ToDoNode>> children;

  bool IsTopLevel() const { return parent == nullptr; }
  int Level() const;
  // The project a node belongs to: its own text at the top, the parent's below.
  QString ProjectText() const;
};

// The to-do tree ToDoTree without widgets: projects and their planned tasks,
// matched by exact text, with the selection and expansion a view mirrors.
class ToDoTree : public QObject {
  Q_OBJECT
 public:
  static constexpr int kProjectImage = 17;
  static constexpr int kTaskImage = 18;
  static constexpr int kNotesProjectImage = 19;

  explicit ToDoTree(QObject* parent = nullptr);
  ~ToDoTree() override;

  const std::vector<std::unique_ptr<ToDoNode>>& top_level() const { return roots_; }
  bool IsEmpty() const { return roots_.empty(); }
  ToDoNode* First() const { return roots_.empty() ? nullptr : roots_.front().get(); }

  void Clear();
  ToDoNode* AddTopLevel(const QString& text, int image = kProjectImage);
  ToDoNode* AddChild(ToDoNode* parent, const QString& text, int image = kTaskImage);
  // Removes the node with everything below it.
  void Delete(ToDoNode* node);
  void SetText(ToDoNode* node, const QString& text);
  void SetImage(ToDoNode* node, int image);

  // The first node in depth-first order whose text equals the text, or null.
  ToDoNode* FindNode(const QString& text) const;
  ToDoNode* FindTopLevel(const QString& text) const;
  static ToDoNode* FindChild(const ToDoNode* parent, const QString& text);
  // Texts of the children of FindNode(text): the planned tasks the task dialog offers.
  QStringList ChildTexts(const QString& text) const;
  // Every node in depth-first order.
  std::vector<ToDoNode*> Nodes() const;
  bool Holds(const ToDoNode* node) const;

  // Top-level nodes and the children of every node, each in the order of the
  // locale-aware, case-sensitive comparison.
  void Sort();
  // Top-level nodes 17, all others 18.
  void SetLoadedImages();

  ToDoNode* selected() const { return selected_; }
  void Select(ToDoNode* node);
  ToDoNode* SelectedTask() const;
  ToDoNode* SelectedProject() const;
  void SetAllExpanded(bool expanded);

  // todo.tre: one line per node in depth-first order, one TAB per level below
  // the top, each line ending in CR LF.
  QByteArray Compose() const;
  // Replaces the content. Leading TABs or blanks give a line's level; lines
  // end at CR LF, a lone CR or a lone LF. Every line is a node, so an empty
  // name reads back as written and its tasks stay under it. A line more
  // than one level below the line before stops the reading: the nodes read so
  // far stay, and the error text is returned (empty when all was read).
  QString Load(const QByteArray& bytes);

 signals:
  // Nodes were added, removed, renamed, reordered or given other images.
  void Changed();
  void SelectionChanged();
  void ExpansionChanged();

 private:
  std::vector<std::unique_ptr<ToDoNode>>& SiblingsOf(ToDoNode* node);

  std::vector<std::unique_ptr<ToDoNode>> roots_;
  ToDoNode* selected_ = nullptr;
};

}  // namespace ravell
