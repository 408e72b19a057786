#pragma once

#include <QMainWindow>

class QLabel;

namespace ravell {

// The reporter's main window (Form1): menus, status bar and, for now, an
// empty work area.
class ReporterWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit ReporterWindow(QWidget* parent = nullptr);

  // Opens Help/ravell.html of the program folder with the desktop's viewer.
  void ShowHelp();

 private:
  QLabel* status_left_ = nullptr;
  QLabel* status_right_ = nullptr;
};

}  // namespace ravell
