// Entry of the reporter program.
#include <QApplication>

#include "mainwindow.h"
#include "version.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("rvreporter"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3.%4")
                                          .arg(ravell::kVersionMajor)
                                          .arg(ravell::kVersionMinor)
                                          .arg(ravell::kVersionRelease)
                                          .arg(ravell::kVersionBuild));
  ravell::ReporterWindow window;
  window.show();
  return QApplication::exec();
}
