// GoogleTest main with a Qt application, offscreen unless told otherwise, and
// a known locale and time zone so dates and decimal points are predictable.
// The zone is UTC unless TZ is set, so a test can still be run in a zone of
// its choosing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("TZ")) setenv("TZ", "UTC", 1);
  tzset();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
