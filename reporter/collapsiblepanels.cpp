#include "collapsiblepanels.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace ravell {

PanelHeader::PanelHeader(const QString& caption, QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::PointingHandCursor);
  setAccessibleName(caption);
  label_ = new QLabel(caption, this);
  QFont bold = label_->font();
  bold.setBold(true);
  label_->setFont(bold);
  label_->setForegroundRole(QPalette::ButtonText);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 3, 6, 3);
  layout->addWidget(label_);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString PanelHeader::Caption() const { return label_->text(); }

void PanelHeader::SetPressed(bool pressed) {
  setBackgroundRole(pressed ? QPalette::Highlight : QPalette::Button);
  label_->setForegroundRole(pressed ? QPalette::HighlightedText : QPalette::ButtonText);
}

void PanelHeader::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) SetPressed(true);
  QFrame::mousePressEvent(event);
}

void PanelHeader::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    SetPressed(false);
    if (rect().contains(event->position().toPoint())) emit Clicked();
  }
  QFrame::mouseReleaseEvent(event);
}

void PanelHeader::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit Clicked();
    return;
  }
  QFrame::keyPressEvent(event);
}

CollapsiblePanels::CollapsiblePanels(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
}

int CollapsiblePanels::AddPanel(const QString& header_name, const QString& caption, QWidget* content) {
  auto* header = new PanelHeader(caption, this);
  header->setObjectName(header_name);
  const int index = int(headers_.size());
  headers_.append(header);
  contents_.append(content);
  content->setParent(this);
  content->setVisible(false);
  // Header then content for each panel: showing one content alone puts the
  // headers before it on top and those after it at the bottom.
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  layout->addWidget(header);
  layout->addWidget(content, 1);
  connect(header, &PanelHeader::Clicked, this, [this, index] { OpenPanel(index); });
  if (open_ < 0) OpenPanel(index);
  return index;
}

void CollapsiblePanels::OpenPanel(int index) {
  if (index < 0 || index >= contents_.size() || index == open_) return;
  emit Opening(index);
  for (int i = 0; i < contents_.size(); ++i) contents_[i]->setVisible(i == index);
  open_ = index;
  emit Opened(index);
}

}  // namespace ravell
