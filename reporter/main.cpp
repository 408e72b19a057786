// Entry of the reporter program.
#include <QApplication>
#include <QTimer>

#include "mainwindow.h"
#include "progresswindow.h"
#include "version.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("rvreporter"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3.%4")
                                          .arg(ravell::kVersionMajor)
                                          .arg(ravell::kVersionMinor)
                                          .arg(ravell::kVersionRelease)
                                          .arg(ravell::kVersionBuild));
  // The progress window comes first and stays the main window: closing the
  // main window closes it, which ends the program.
  ravell::ProgressWindow progress;
  ravell::ReporterWindow window;
  QObject::connect(&window, &ravell::ReporterWindow::Closed, &progress, &QWidget::close);
  QObject::connect(progress.Timer1(), &QTimer::timeout, &window, [&] {
    progress.Timer1()->stop();
    window.hide();
    if (window.InitForm1(progress)) {
      window.show();
      progress.hide();
    } else {
      progress.hide();
      progress.close();
      QCoreApplication::quit();
    }
  });
  progress.show();
  return QApplication::exec();
}
