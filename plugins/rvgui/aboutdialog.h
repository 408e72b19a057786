#pragma once

#include <QDialog>

namespace ravell {

// Program name, full version and what Ravell is for.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace ravell
