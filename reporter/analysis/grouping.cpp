#include "grouping.h"

namespace ravell {

GroupingOrder::GroupingOrder()
    : nodes_{QStringLiteral("Year"), QStringLiteral("Month"), QStringLiteral("Day"),
             QStringLiteral("Project"), QStringLiteral("Task")} {}

int GroupingOrder::SortUpClick(int node) {
  if (node <= 0 || node >= nodes_.size()) return node;
  nodes_.swapItemsAt(node - 1, node);
  return node - 1;
}

int GroupingOrder::SortDownClick(int node) {
  if (node < 0 || node + 1 >= nodes_.size()) return node;
  nodes_.swapItemsAt(node, node + 1);
  return node + 1;
}

int GroupingOrder::SortTreeDragDrop(int node, int target) {
  if (node < 0 || node >= nodes_.size() || target < 0 || target >= nodes_.size()) return node;
  while (node < target) node = SortDownClick(node);
  while (node > target) node = SortUpClick(node);
  return node;
}

void GroupingOrder::RadioDateShortClick() {
  format_ = DateFormat::kShort;
  const qsizetype day = nodes_.indexOf(QStringLiteral("Day"));
  if (day >= 0) nodes_[day] = QStringLiteral("Date");
  nodes_.removeAll(QStringLiteral("Year"));
  nodes_.removeAll(QStringLiteral("Month"));
}

void GroupingOrder::RadioDateExpandedClick() {
  format_ = DateFormat::kExpanded;
  const qsizetype date = nodes_.indexOf(QStringLiteral("Date"));
  if (date < 0) return;
  nodes_[date] = QStringLiteral("Day");
  nodes_.insert(date, QStringLiteral("Month"));
  nodes_.insert(date, QStringLiteral("Year"));
}

GroupingKey GroupingOrder::Key() const {
  GroupingKey key;
  for (const QString& node : nodes_) {
    if (node == QLatin1String("Task")) {
      key.fields << QStringLiteral("Name");
    } else if (node == QLatin1String("Date")) {
      key.fields << QStringLiteral("RecordDate");
    } else {
      key.fields << node;
    }
  }
  if (nodes_.size() == 3) key.fields << QStringLiteral("Rate") << QStringLiteral("Seconds");
  key.levels = static_cast<int>(nodes_.size());
  return key;
}

}  // namespace ravell
