#pragma once

#include <QString>
#include <QStringList>

namespace ravell {

// The fields of DisplayLog's order "Custom" and the number of grouping
// levels n. The key always has five fields.
struct GroupingKey {
  QStringList fields;
  int levels = 5;
  bool operator==(const GroupingKey&) const = default;
};

// The grouping order shown in SortTree: a chain of node texts from the top.
// Moves keep the chain a chain; a new order takes effect with the next Apply.
class GroupingOrder {
 public:
  enum class DateFormat { kExpanded, kShort };

  GroupingOrder();

  const QStringList& Nodes() const { return nodes_; }
  DateFormat Format() const { return format_; }

  // Each returns the new place of the moved node, which stays selected;
  // a node without a parent (or child) stays where it is.
  int SortUpClick(int node);
  int SortDownClick(int node);
  // Dropping a node on another one of the chain; off the chain (-1) nothing.
  int SortTreeDragDrop(int node, int target);

  void RadioDateShortClick();
  void RadioDateExpandedClick();

  GroupingKey Key() const;

 private:
  QStringList nodes_;
  DateFormat format_ = DateFormat::kExpanded;
};

}  // namespace ravell
