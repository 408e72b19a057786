#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "clock.h"
#include "quickreport.h"
#include "recordtable.h"

namespace ravell {

// The installed family a report font name prints with: the report's classic
// names map to metric-compatible free fonts, so lines break where they did.
QString ResolveFontFamily(const QString& family);
// The font of a report element for a device of the given vertical dpi whose
// painter is scaled to layout units (1/96 in); 96 is the layout itself.
QFont ResolveFont(const ReportFont& font, qreal device_dpi = 96);

// One positioned piece of a laid-out page, in layout units (1/96 in) from
// the page's top left corner.
struct ReportItem {
  enum class Kind { kBand, kText };
  Kind kind = Kind::kText;
  QRectF rect;
  QString band;     // the band it belongs to
  QString element;  // texts: the element that printed it
  QString text;     // one line
  ReportFont font;
  ReportAlignment alignment = ReportAlignment::kLeft;
  QRgb color = 0xffffffff;  // bands: the background
};

struct LaidOutPage {
  std::vector<ReportItem> items;
  // The texts of the page in print order; of one element when named.
  QStringList Texts(const QString& element = QString()) const;
  // The bands printed on the page, in print order.
  QStringList Bands() const;
};

struct ReportDocument {
  QSizeF page_size;  // layout units
  std::vector<LaidOutPage> pages;
};

// A4 portrait in layout units.
QSizeF A4PageSize();

// Lays out the report over the view of DisplayLog as it stands (its order and
// range), walking it once. The clock gives the date and time the page header
// and footer print; dates, times and numbers follow the default locale.
ReportDocument LayOutReport(const QuickReport& report, const RecordTable& display_log,
                            const Clock& clock);

}  // namespace ravell
