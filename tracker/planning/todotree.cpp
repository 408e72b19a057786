#include "todotree.h"

#include <algorithm>

#include "textcodec.h"

namespace ravell {
namespace {

void Collect(const std::vector<std::unique_ptr<ToDoNode>>& nodes, std::vector<ToDoNode*>* out) {
  for (const auto& node : nodes) {
    out->push_back(node.get());
    Collect(node->children, out);
  }
}

void SortLevel(std::vector<std::unique_ptr<ToDoNode>>* nodes) {
  std::stable_sort(nodes->begin(), nodes->end(), [](const auto& a, const auto& b) {
    return QString::localeAwareCompare(a->text, b->text) < 0;
  });
  for (auto& node : *nodes) SortLevel(&node->children);
}

bool Contains(const ToDoNode* ancestor, const ToDoNode* node) {
  for (; node; node = node->parent) {
    if (node == ancestor) return true;
  }
  return false;
}

}  // namespace

int ToDoNode::Level() const {
  int level = 0;
  for (const ToDoNode* p = parent; p; p = p->parent) ++level;
  return level;
}

QString ToDoNode::ProjectText() const {
  const ToDoNode* top = this;
  while (top->parent) top = top->parent;
  return top->text;
}

ToDoTree::ToDoTree(QObject* parent) : QObject(parent) {}
ToDoTree::~ToDoTree() = default;

std::vector<std::unique_ptr<ToDoNode>>& ToDoTree::SiblingsOf(ToDoNode* node) {
  return node->parent ? node->parent->children : roots_;
}

void ToDoTree::Clear() {
  roots_.clear();
  const bool had_selection = selected_ != nullptr;
  selected_ = nullptr;
  emit Changed();
  if (had_selection) emit SelectionChanged();
}

ToDoNode* ToDoTree::AddTopLevel(const QString& text, int image) {
  auto node = std::make_unique<ToDoNode>();
  node->text = text;
  node->image = image;
  roots_.push_back(std::move(node));
  emit Changed();
  return roots_.back().get();
}

ToDoNode* ToDoTree::AddChild(ToDoNode* parent, const QString& text, int image) {
  auto node = std::make_unique<ToDoNode>();
  node->text = text;
  node->image = image;
  node->parent = parent;
  parent->children.push_back(std::move(node));
  emit Changed();
  return parent->children.back().get();
}

void ToDoTree::Delete(ToDoNode* node) {
  const bool selection_gone = Contains(node, selected_);
  if (selection_gone) selected_ = nullptr;
  auto& siblings = SiblingsOf(node);
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [node](const auto& sibling) { return sibling.get() == node; }));
  emit Changed();
  if (selection_gone) emit SelectionChanged();
}

void ToDoTree::SetText(ToDoNode* node, const QString& text) {
  node->text = text;
  emit Changed();
}

void ToDoTree::SetImage(ToDoNode* node, int image) {
  if (node->image == image) return;
  node->image = image;
  emit Changed();
}

ToDoNode* ToDoTree::FindNode(const QString& text) const {
  for (ToDoNode* node : Nodes()) {
    if (node->text == text) return node;
  }
  return nullptr;
}

ToDoNode* ToDoTree::FindTopLevel(const QString& text) const {
  for (const auto& node : roots_) {
    if (node->text == text) return node.get();
  }
  return nullptr;
}

ToDoNode* ToDoTree::FindChild(const ToDoNode* parent, const QString& text) {
  for (const auto& node : parent->children) {
    if (node->text == text) return node.get();
  }
  return nullptr;
}

QStringList ToDoTree::ChildTexts(const QString& text) const {
  QStringList texts;
  if (const ToDoNode* node = FindNode(text)) {
    for (const auto& child : node->children) texts << child->text;
  }
  return texts;
}

std::vector<ToDoNode*> ToDoTree::Nodes() const {
  std::vector<ToDoNode*> nodes;
  Collect(roots_, &nodes);
  return nodes;
}

bool ToDoTree::Holds(const ToDoNode* node) const {
  const std::vector<ToDoNode*> nodes = Nodes();
  return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
}

void ToDoTree::Sort() {
  SortLevel(&roots_);
  emit Changed();
}

void ToDoTree::SetLoadedImages() {
  for (ToDoNode* node : Nodes()) node->image = node->IsTopLevel() ? kProjectImage : kTaskImage;
  emit Changed();
}

void ToDoTree::Select(ToDoNode* node) {
  if (node == selected_) return;
  selected_ = node;
  emit SelectionChanged();
}

ToDoNode* ToDoTree::SelectedTask() const {
  return selected_ && !selected_->IsTopLevel() ? selected_ : nullptr;
}

ToDoNode* ToDoTree::SelectedProject() const {
  return selected_ && selected_->IsTopLevel() ? selected_ : nullptr;
}

void ToDoTree::SetAllExpanded(bool expanded) {
  for (ToDoNode* node : Nodes()) node->expanded = expanded;
  emit ExpansionChanged();
}

QByteArray ToDoTree::Compose() const {
  QByteArray out;
  for (const ToDoNode* node : Nodes()) {
    out += QByteArray(node->Level(), '\t') + ToFileText(node->text) + "\r\n";
  }
  return out;
}

QString ToDoTree::Load(const QByteArray& bytes) {
  roots_.clear();
  selected_ = nullptr;
  QByteArray data = bytes;
  data.replace("\r\n", "\n");
  data.replace('\r', '\n');
  QString error;
  QList<QByteArray> lines = data.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  ToDoNode* last = nullptr;
  for (const QByteArray& line : lines) {
    qsizetype level = 0;
    while (level < line.size() && (line[level] == '\t' || line[level] == ' ')) ++level;
    const QString text = FromFileText(line.mid(level));
    auto node = std::make_unique<ToDoNode>();
    node->text = text;
    node->image = level == 0 ? kProjectImage : kTaskImage;
    if (!last) {
      // The first line starts the top level, however it is indented.
    } else if (level == last->Level()) {
      node->parent = last->parent;
    } else if (level == last->Level() + 1) {
      node->parent = last;
    } else if (level < last->Level()) {
      ToDoNode* sibling = last;
      while (sibling->Level() > level) sibling = sibling->parent;
      node->parent = sibling->parent;
    } else {
      error = QStringLiteral("Invalid level (%1) for item \"%2\"").arg(level).arg(text);
      break;
    }
    last = node.get();
    SiblingsOf(last).push_back(std::move(node));
  }
  emit Changed();
  emit SelectionChanged();
  return error;
}

}  // namespace ravell
