#pragma once

#include <QFrame>
#include <QVector>

class QLabel;

namespace ravell {

// A header of the left column's collapsible panels: a clickable bar that
// takes the highlight colour while the mouse button is held on it.
class PanelHeader : public QFrame {
  Q_OBJECT

 public:
  PanelHeader(const QString& caption, QWidget* parent = nullptr);
  QString Caption() const;

 signals:
  void Clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SetPressed(bool pressed);
  QLabel* label_;
};

// Headers stacked in order with one open content area: the headers up to the
// open one sit on top, the content fills the space left, the remaining
// headers sit at the bottom. A click on a closed header opens its content and
// closes the others; a click on the open one does nothing.
class CollapsiblePanels : public QWidget {
  Q_OBJECT

 public:
  explicit CollapsiblePanels(QWidget* parent = nullptr);

  // Adds a panel; the header takes header_name as its objectName.
  int AddPanel(const QString& header_name, const QString& caption, QWidget* content);
  void OpenPanel(int index);
  int OpenIndex() const { return open_; }
  PanelHeader* Header(int index) const { return headers_.value(index); }
  QWidget* Content(int index) const { return contents_.value(index); }

 signals:
  // Before the content shows, so the owner can prepare it (the grouping order
  // is expanded before it is shown).
  void Opening(int index);
  void Opened(int index);

 private:
  QVector<PanelHeader*> headers_;
  QVector<QWidget*> contents_;
  int open_ = -1;
};

}  // namespace ravell
