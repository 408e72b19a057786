#include "progresswindow.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace ravell {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Form0"));
  setWindowTitle(QStringLiteral("Initialization Ravell Reporter..."));
  setFixedSize(314, 55);

  label1_ = new QLabel(QStringLiteral("Consolidating days reports..."), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  progress_bar1_ = new QProgressBar(this);
  progress_bar1_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_bar1_->setOrientation(Qt::Horizontal);
  progress_bar1_->setTextVisible(false);
  progress_bar1_->setAccessibleName(QStringLiteral("Start-up progress"));
  progress_bar1_->setRange(0, 100);
  progress_bar1_->setValue(0);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(4);
  layout->addWidget(label1_);
  layout->addWidget(progress_bar1_);

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setSingleShot(true);
  timer1_->setInterval(100);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->availableGeometry();
    move(desk.center() - QPoint(width() / 2, height() / 2));
  }
}

bool ProgressWindow::event(QEvent* event) {
  // Some window managers never activate a window they did not focus; being
  // shown is then enough. The work must start once only.
  if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) &&
      !timer_started_) {
    timer_started_ = true;
    timer1_->start();
  }
  return QWidget::event(event);
}

void ProgressWindow::SetStep(const QString& text) {
  label1_->setText(text);
  Repaint();
}

void ProgressWindow::SetRange(int maximum) {
  progress_bar1_->setRange(0, qMax(0, maximum));
  progress_bar1_->setValue(0);
  Repaint();
}

void ProgressWindow::SetPosition(int position) {
  progress_bar1_->setValue(qBound(0, position, progress_bar1_->maximum()));
  Repaint();
}

QString ProgressWindow::StepText() const { return label1_->text(); }
int ProgressWindow::Position() const { return progress_bar1_->value(); }
int ProgressWindow::Maximum() const { return progress_bar1_->maximum(); }

void ProgressWindow::Repaint() {
  if (isVisible()) repaint();
}

}  // namespace ravell
