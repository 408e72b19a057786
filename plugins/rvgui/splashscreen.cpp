#include "splashscreen.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "guiversion.h"

namespace ravell {

SplashScreen::SplashScreen()
    : QFrame(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QString::fromLatin1("SplashScreen"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  setStyleSheet(
      QString::fromLatin1("#SplashScreen { background: #27476e; border: 1px solid #10243b; }"
                          "#SplashScreen QLabel { color: white; }"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 20);
  auto* name = new QLabel(tr("Ravell"));
  name->setObjectName(QString::fromLatin1("ProgramNameLabel"));
  QFont name_font = name->font();
  name_font.setBold(true);
  name_font.setPointSizeF(name_font.pointSizeF() * 3);
  name->setFont(name_font);
  layout->addWidget(name);
  auto* tagline = new QLabel(tr("Personal time tracker"));
  layout->addWidget(tagline);
  layout->addStretch(1);
  auto* version = new QLabel(tr("Version %1").arg(FullVersionText()));
  version->setObjectName(QString::fromLatin1("VersionLabel"));
  layout->addWidget(version);
  auto* status = new QLabel(tr("Starting..."));
  layout->addWidget(status);
  setFixedSize(380, 210);
}

void SplashScreen::ShowNow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
  raise();
  repaint();
  QCoreApplication::processEvents();
}

}  // namespace ravell
