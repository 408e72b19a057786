#include "reportrender.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QtMath>
#include <algorithm>
#include <deque>
#include <optional>

#include "atomicfile.h"
#include "error.h"
#include "textcodec.h"

namespace ravell {
namespace {

constexpr QRgb kWhite = 0xffffffff;
// Characters of plain text per layout unit: 718 units make about 90 columns.
constexpr qreal kUnitsPerColumn = 8;
// Texts of one band whose tops lie this close share a line of plain text.
constexpr qreal kSameLine = 6;

// The pages' items split at each band: a band and the texts it printed.
template <typename Visit>
void ForEachBand(const LaidOutPage& page, Visit visit) {
  auto begin = page.items.begin();
  while (begin != page.items.end()) {
    auto end = std::find_if(begin + 1, page.items.end(), [](const ReportItem& item) {
      return item.kind == ReportItem::Kind::kBand;
    });
    visit(*begin, std::vector<ReportItem>(begin + 1, end));
    begin = end;
  }
}

QString TextLine(std::vector<const ReportItem*> row, qreal origin) {
  std::sort(row.begin(), row.end(), [](const ReportItem* a, const ReportItem* b) {
    return a->rect.left() < b->rect.left();
  });
  QString line;
  for (const ReportItem* item : row) {
    if (item->text.isEmpty()) continue;
    const auto column = [&](qreal x) { return qFloor((x - origin) / kUnitsPerColumn + 1e-6); };
    const int size = static_cast<int>(item->text.size());
    int start = column(item->rect.left());
    if (item->alignment == ReportAlignment::kRight) start = column(item->rect.right()) - size;
    if (item->alignment == ReportAlignment::kCenter)
      start = column(item->rect.center().x()) - size / 2;
    start = std::max(start, line.isEmpty() ? 0 : static_cast<int>(line.size()) + 1);
    line = line.leftJustified(start, QLatin1Char(' ')) + item->text;
  }
  return line;
}

QString CssColor(QRgb color) { return QColor::fromRgb(color).name(QColor::HexRgb); }

QString CssFont(const ReportFont& font) {
  QString family = ResolveFontFamily(font.family);
  family.remove(QRegularExpression(QStringLiteral("[^\\w \\-]")));
  return QStringLiteral("%1%2%3pt '%4',sans-serif")
      .arg(font.italic ? QStringLiteral("italic ") : QString(),
           font.bold ? QStringLiteral("bold ") : QString(), QString::number(font.point_size),
           family);
}

QString Px(qreal value) { return QString::number(value, 'f', 2) + QStringLiteral("px"); }

}  // namespace

void PaintReportPage(QPainter& painter, const LaidOutPage& page) {
  QPaintDevice* device = painter.device();
  const qreal dpi_y = device->logicalDpiY();
  painter.save();
  painter.scale(device->logicalDpiX() / 96.0, dpi_y / 96.0);
  struct Resolved {
    ReportFont report_font;
    QFont font;
    QFontMetricsF metrics;
  };
  std::deque<Resolved> fonts;  // stays where it is while growing
  const auto resolve = [&](const ReportFont& font) -> const Resolved& {
    for (const Resolved& resolved : fonts)
      if (resolved.report_font == font) return resolved;
    const QFont qt_font = ResolveFont(font, dpi_y);
    fonts.push_back({font, qt_font, QFontMetricsF(qt_font, device)});
    return fonts.back();
  };
  // Switching fonts and pens costs the PDF writer dearly; only on change.
  const Resolved* current = nullptr;
  std::optional<QRgb> last_color;
  for (const ReportItem& item : page.items) {
    if (item.kind == ReportItem::Kind::kBand) {
      if (item.color != kWhite) painter.fillRect(item.rect, QColor::fromRgb(item.color));
      continue;
    }
    if (item.text.isEmpty()) continue;
    if (!current || !(current->report_font == item.font)) {
      current = &resolve(item.font);
      painter.setFont(current->font);
    }
    if (last_color != item.font.color) {
      painter.setPen(QColor::fromRgb(item.font.color));
      last_color = item.font.color;
    }
    // Single lines placed by their baseline: far quicker than laying text
    // out in a rectangle.
    qreal x = item.rect.left();
    if (item.alignment != ReportAlignment::kLeft) {
      const qreal free = item.rect.width() - current->metrics.horizontalAdvance(item.text);
      x += item.alignment == ReportAlignment::kRight ? free : free / 2;
    }
    painter.drawText(QPointF(x, item.rect.top() + current->metrics.ascent()), item.text);
  }
  painter.restore();
}

void PaintReport(const ReportDocument& document, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) throw Error(QStringLiteral("Cannot print the report."));
  for (size_t i = 0; i < document.pages.size(); ++i) {
    if (i > 0) device.newPage();
    PaintReportPage(painter, document.pages[i]);
  }
  painter.end();
}

QByteArray ReportToPdf(const ReportDocument& document, const QString& title) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Ravell Reporter"));
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    PaintReport(document, writer);
  }
  return buffer.data();
}

QString ReportToText(const ReportDocument& document) {
  QStringList pages;
  for (const LaidOutPage& page : document.pages) {
    QString text;
    ForEachBand(page, [&](const ReportItem& band, const std::vector<ReportItem>& texts) {
      std::vector<const ReportItem*> sorted;
      for (const ReportItem& item : texts) sorted.push_back(&item);
      std::stable_sort(sorted.begin(), sorted.end(), [](const ReportItem* a, const ReportItem* b) {
        return a->rect.top() < b->rect.top();
      });
      std::vector<const ReportItem*> row;
      const auto flush = [&] {
        const QString line = TextLine(row, band.rect.left());
        if (!line.trimmed().isEmpty()) text += line + QStringLiteral("\r\n");
        row.clear();
      };
      for (const ReportItem* item : sorted) {
        if (!row.empty() && item->rect.top() > row.front()->rect.top() + kSameLine) flush();
        row.push_back(item);
      }
      flush();
    });
    pages << text;
  }
  return pages.join(QLatin1Char('\f'));
}

QString ReportToHtml(const ReportDocument& document, const QString& title) {
  QString html;
  html += QStringLiteral(
              "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
              "<style>\n"
              "body { background: #e0e0e0; margin: 0; padding: 16px 0; }\n"
              ".page { position: relative; overflow: hidden; background: #fff; margin: 0 auto "
              "16px; box-shadow: 0 0 4px #888; width: %2; height: %3; }\n"
              ".band, .text { position: absolute; }\n"
              ".text { white-space: pre; }\n"
              "@media print { body { background: none; padding: 0; } .page { margin: 0; "
              "box-shadow: none; page-break-after: always; } }\n"
              "</style>\n</head>\n<body>\n")
              .arg(title.toHtmlEscaped(), Px(document.page_size.width()),
                   Px(document.page_size.height()));
  for (const LaidOutPage& page : document.pages) {
    html += QStringLiteral("<div class=\"page\">\n");
    for (const ReportItem& item : page.items) {
      const QString box = QStringLiteral("left: %1; top: %2; width: %3; height: %4;")
                              .arg(Px(item.rect.left()), Px(item.rect.top()), Px(item.rect.width()),
                                   Px(item.rect.height()));
      if (item.kind == ReportItem::Kind::kBand) {
        if (item.color == kWhite) continue;
        html += QStringLiteral("<div class=\"band\" style=\"%1 background: %2;\"></div>\n")
                    .arg(box, CssColor(item.color));
        continue;
      }
      if (item.text.isEmpty()) continue;
      const char* align = item.alignment == ReportAlignment::kRight    ? "right"
                          : item.alignment == ReportAlignment::kCenter ? "center"
                                                                       : "left";
      html +=
          QStringLiteral(
              "<div class=\"text\" style=\"%1 font: %2; color: %3; text-align: "
              "%4;%5%6\">%7</div>\n")
              .arg(box, CssFont(item.font), CssColor(item.font.color), QLatin1String(align),
                   item.font.underline ? QStringLiteral(" text-decoration: underline;") : QString(),
                   item.font.strike_out ? QStringLiteral(" text-decoration: line-through;")
                                        : QString(),
                   item.text.toHtmlEscaped());
    }
    html += QStringLiteral("</div>\n");
  }
  html += QStringLiteral("</body>\n</html>\n");
  return html;
}

void SaveReport(const ReportDocument& document, const QString& path, const QString& title) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  QByteArray bytes;
  if (suffix == QLatin1String("pdf")) {
    bytes = ReportToPdf(document, title);
  } else if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) {
    bytes = ReportToHtml(document, title).toUtf8();
  } else {
    bytes = ToFileText(ReportToText(document));
  }
  WriteFileAtomic(path, bytes);
}

}  // namespace ravell
