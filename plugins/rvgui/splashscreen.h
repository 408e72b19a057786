#pragma once

#include <QFrame>

namespace ravell {

// Frameless start-up window with the program name and version; it stays
// until it is deleted.
class SplashScreen : public QFrame {
  Q_OBJECT

 public:
  SplashScreen();

  // Shows it centred on the screen and paints it at once: the tracker's
  // start-up runs before the event loop does.
  void ShowNow();
};

}  // namespace ravell
