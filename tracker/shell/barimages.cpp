#include "barimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace ravell {

namespace {

void Play(QPainter& p, const QColor& color) {
  p.setBrush(color);
  p.drawPolygon(QPolygonF({QPointF(4, 2.5), QPointF(13.5, 8), QPointF(4, 13.5)}));
}

void Bars(QPainter& p, const QColor& color) {
  p.setBrush(color);
  p.drawRect(QRectF(3.5, 2.5, 3, 11));
  p.drawRect(QRectF(9.5, 2.5, 3, 11));
}

void Square(QPainter& p, const QColor& color) {
  p.setBrush(color);
  p.drawRect(QRectF(3.5, 3.5, 9, 9));
}

void Plus(QPainter& p, const QColor& color) {
  p.setPen(QPen(color, 2.5));
  p.drawLine(QPointF(8, 3), QPointF(8, 13));
  p.drawLine(QPointF(3, 8), QPointF(13, 8));
}

void Page(QPainter& p, const QColor& fill) {
  p.setBrush(fill);
  p.drawRect(QRectF(2.5, 1.5, 11, 13));
  p.setPen(QPen(QColor(90, 90, 90), 1));
  for (int y = 5; y <= 11; y += 3) p.drawLine(QPointF(5, y), QPointF(11, y));
}

void Clock(QPainter& p, const QColor& face, const QColor& hands) {
  p.setBrush(face);
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  p.setPen(QPen(hands, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 8), QPointF(8, 4));
  p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
}

void Folder(QPainter& p, const QColor& color) {
  p.setBrush(color);
  QPainterPath path;
  path.moveTo(1.5, 4.5);
  path.lineTo(6, 4.5);
  path.lineTo(7.5, 6);
  path.lineTo(14.5, 6);
  path.lineTo(14.5, 13.5);
  path.lineTo(1.5, 13.5);
  path.closeSubpath();
  p.drawPath(path);
}

void Draw(QPainter& p, int index) {
  const QColor green(40, 160, 60), amber(230, 160, 20), red(200, 40, 40), blue(50, 100, 200);
  switch (index) {
    case kImageStart:
      Play(p, green);
      break;
    case kImagePause:
      Bars(p, amber);
      break;
    case kImageStop:
      Square(p, red);
      break;
    case kImageAddPlanned:
      Plus(p, green);
      break;
    case kImageInsert:
      Page(p, Qt::white);
      p.setPen(Qt::NoPen);
      p.setBrush(green);
      p.drawEllipse(QRectF(9, 9, 6, 6));
      break;
    case kImageOpenDb:
      p.setBrush(QColor(250, 220, 120));
      p.drawEllipse(QRectF(3, 1.5, 10, 4));
      p.drawRect(QRectF(3, 3.5, 10, 10));
      p.drawEllipse(QRectF(3, 11.5, 10, 4));
      break;
    case kImageShutDown:
      p.setPen(QPen(red, 2, Qt::SolidLine, Qt::RoundCap));
      p.drawArc(QRectF(2.5, 3, 11, 11), 120 * 16, 300 * 16);
      p.drawLine(QPointF(8, 1.5), QPointF(8, 7.5));
      break;
    case kImageCopy:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.drawRect(QRectF(6.5, 4.5, 8, 10));
      break;
    case kImagePlan:
      Clock(p, Qt::white, blue.darker());
      break;
    case kImageHelp:
      p.setBrush(blue);
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.setPen(Qt::white);
      p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
      break;
    case kImageDelete:
      p.setPen(QPen(red, 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(4, 4), QPointF(12, 12));
      p.drawLine(QPointF(12, 4), QPointF(4, 12));
      break;
    case kImageReporter:
      p.setBrush(blue);
      p.drawRect(QRectF(2.5, 9.5, 3, 5));
      p.drawRect(QRectF(6.5, 5.5, 3, 9));
      p.drawRect(QRectF(10.5, 2.5, 3, 12));
      break;
    case kImageToDoPanel:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(blue);
      p.drawRect(QRectF(1.5, 1.5, 5, 13));
      break;
    case kImageLogPanel:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(blue);
      p.drawRect(QRectF(1.5, 9.5, 13, 5));
      break;
    case kImageOptions:
      p.setBrush(QColor(150, 150, 160));
      p.drawEllipse(QRectF(2, 2, 12, 12));
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
      break;
    case kImageProperties:
      Page(p, QColor(255, 255, 210));
      break;
    case kImageRate:
      p.setPen(QPen(green.darker(), 1));
      p.setBrush(QColor(240, 200, 60));
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("$"));
      break;
    case kImageProject:
      Folder(p, QColor(240, 200, 90));
      break;
    case kImageTask:
      Page(p, Qt::white);
      break;
    case kImageNotesProject:
      Folder(p, QColor(120, 180, 230));
      break;
    case kImageTrayRunning:
      Clock(p, QColor(190, 240, 190), green.darker());
      break;
    case kImageTrayPaused:
      Clock(p, QColor(250, 225, 160), amber.darker());
      break;
    case kImageTrayIdle:
      Clock(p, QColor(235, 235, 235), QColor(60, 60, 60));
      break;
    case kImageTraySaving:
      Clock(p, QColor(190, 210, 250), blue.darker());
      break;
    default:
      break;
  }
}

}  // namespace

QIcon BarImages16(int index) {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    Draw(painter, index);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace ravell
