#include "quickreport.h"

#include <array>

namespace ravell {
namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kSilver = 0xffc0c0c0;
constexpr int kInterval = 10;
constexpr int kTimeLeft = 490;
constexpr int kTimeWidth = 110;
constexpr int kRateLeft = 620;
constexpr int kRateWidth = 90;

ReportFont Font(const char* family, int size, bool bold = false, bool italic = false) {
  ReportFont font;
  font.family = QString::fromLatin1(family);
  font.point_size = size;
  font.bold = bold;
  font.italic = italic;
  return font;
}

ReportElement Element(const QString& name, ReportElementKind kind, int left, int top, int width,
                      const ReportFont& font, ReportAlignment alignment = ReportAlignment::kLeft) {
  ReportElement element;
  element.name = name;
  element.kind = kind;
  element.left = left;
  element.top = top;
  element.width = width;
  element.height = TextHeight(font);
  element.font = font;
  element.alignment = alignment;
  return element;
}

ReportElement Label(const QString& name, int left, int top, int width, const ReportFont& font,
                    const QString& caption,
                    ReportAlignment alignment = ReportAlignment::kLeft) {
  ReportElement element = Element(name, ReportElementKind::kLabel, left, top, width, font, alignment);
  element.caption = caption;
  return element;
}

ReportElement Expression(const QString& name, int left, int top, int width,
                         const ReportFont& font, const QString& expression,
                         ReportAlignment alignment = ReportAlignment::kLeft) {
  ReportElement element =
      Element(name, ReportElementKind::kExpression, left, top, width, font, alignment);
  element.expression = expression;
  return element;
}

ReportBand Band(const QString& name, ReportBandKind kind, int height,
                std::vector<ReportElement> elements) {
  ReportBand band;
  band.name = name;
  band.kind = kind;
  band.height = height;
  band.elements = std::move(elements);
  return band;
}

const std::array<int, kReportLevels> kLevelTitleSizes = {13, 12, 11, 10, 10};
const std::array<const char*, kReportLevels> kDefaultFields = {"Year", "Month", "Day", "Project",
                                                               "Name"};

QString TimeSumExpression() { return QStringLiteral("SUMTIME(Sum(DisplayLog.Seconds))"); }
QString RateSumExpression() {
  return QStringLiteral("FORMATNUMERIC('0.00',Sum(DisplayLog.dRate))");
}

ReportBand GroupHeader(int level) {
  const QString field = QString::fromLatin1(kDefaultFields[level - 1]);
  const ReportFont font = Font("Arial", kLevelTitleSizes[level - 1], true);
  ReportElement title = Element(QuickReport::LevelTitleName(level), ReportElementKind::kDataField,
                                0, 0, kTitleRight, font);
  title.data_field = field == QLatin1String("Month") ? QStringLiteral("sMonth") : field;
  ReportBand band = Band(QuickReport::GroupHeaderName(level), ReportBandKind::kGroupHeader,
                         TextHeight(font) + kInterval, {title});
  if (level == 4) band.color = kSilver;
  band.group_expression = FieldExpression(field);
  band.footer_band = QuickReport::GroupFooterName(level);
  return band;
}

ReportBand GroupFooter(int level) {
  const ReportFont font = Font("Arial", 10, false, true);
  const QString field = QString::fromLatin1(kDefaultFields[level - 1]);
  ReportElement time = Expression(QuickReport::LevelTimeName(level), kTimeLeft, kFigureTop, kTimeWidth,
                                  font, TimeSumExpression());
  ReportElement title =
      Expression(QuickReport::LevelSubtotalName(level), 0, 0, kSubtotalRight, font,
                 LiteralExpression(SubtotalLabel(field) + QStringLiteral(" subtotal:")));
  ReportElement rate = Expression(QuickReport::LevelRateName(level), kRateLeft, kFigureTop, kRateWidth,
                                  font, RateSumExpression());
  // The stored order differs between levels; the layout file keeps it.
  std::vector<ReportElement> elements = level == 5
                                            ? std::vector<ReportElement>{time, rate, title}
                                            : std::vector<ReportElement>{time, title, rate};
  return Band(QuickReport::GroupFooterName(level), ReportBandKind::kGroupFooter,
              TextHeight(font) + kInterval, std::move(elements));
}

std::vector<ReportBand> DefaultBands() {
  const ReportFont base = Font("Arial", 10);
  const ReportFont detail_figure = Font("MS Sans Serif", 8);
  const ReportFont column_font = Font("Arial", 10, true, true);
  const ReportFont summary_font = Font("Arial", 12, true);
  const ReportFont title_font = Font("Arial", 16, true);

  ReportBand details = Band(
      QStringLiteral("Details"), ReportBandKind::kDetail, TextHeight(Font("Arial", 8)) + kInterval,
      {Expression(QStringLiteral("DetailsTime"), kTimeLeft, kFigureTop, kTimeWidth, detail_figure,
                  QStringLiteral("TIMEFIGURE(DisplayLog.Seconds)")),
       Expression(QStringLiteral("DetailsRate"), kRateLeft, kFigureTop, kRateWidth, detail_figure,
                  QStringLiteral("FORMATNUMERIC('0.00',DisplayLog.dRate)")),
       Expression(QStringLiteral("DetailsExp"), 10, 0, kSubtotalRight - 10, Font("Arial", 8),
                  QStringLiteral("'From '+DisplayLog.TimeStart+' To '+DisplayLog.TimeEnd"))});

  ReportBand columns =
      Band(QStringLiteral("QRColummnHeader"), ReportBandKind::kColumnHeader,
           TextHeight(column_font) + kInterval,
           {Label(QStringLiteral("QRTimeText"), kTimeLeft, kColumnTop, kTimeWidth, column_font,
                  QStringLiteral("Spent time")),
            Label(QStringLiteral("QRRateText"), kRateLeft, kColumnTop, kRateWidth, column_font,
                  QStringLiteral("Rate"))});

  const int summary_top = kInterval + 3;
  ReportBand summary =
      Band(QStringLiteral("Summary"), ReportBandKind::kSummary,
           TextHeight(summary_font) + 2 * kInterval,
           {Label(QStringLiteral("SummaryTitle"), 0, summary_top, kSubtotalRight, summary_font,
                  QStringLiteral("Report summary:")),
            Expression(QStringLiteral("SummaryTime"), kTimeLeft, summary_top, kTimeWidth,
                       summary_font, TimeSumExpression()),
            Expression(QStringLiteral("SummaryRate"), kRateLeft, summary_top, kRateWidth,
                       summary_font, RateSumExpression())});

  ReportBand title = Band(QStringLiteral("TitleBand1"), ReportBandKind::kTitle,
                          TextHeight(title_font) + kInterval,
                          {Label(QStringLiteral("QRTitleText"), 0, 0, kBandWidth, title_font,
                                 QStringLiteral("Ravell Report"), ReportAlignment::kCenter)});

  HeaderExpression header_parts;
  header_parts.date = true;
  ReportBand page_header =
      Band(QStringLiteral("PageHeaderBand1"), ReportBandKind::kPageHeader,
           TextHeight(base) + kInterval + 3,
           {Expression(QStringLiteral("HeaderExp"), 0, 3, kBandWidth, base,
                       BuildHeaderExpression(header_parts), ReportAlignment::kCenter)});
  HeaderExpression footer_parts;
  footer_parts.page = true;
  ReportBand page_footer =
      Band(QStringLiteral("PageFooterBand1"), ReportBandKind::kPageFooter,
           TextHeight(base) + kInterval,
           {Expression(QStringLiteral("FooterExp"), 0, 0, kBandWidth, base,
                       BuildHeaderExpression(footer_parts), ReportAlignment::kCenter)});

  ReportElement info_label =
      Label(QStringLiteral("InfoLabel"), 0, 0, kBandWidth, base, QString(), ReportAlignment::kCenter);
  info_label.word_wrap = true;
  info_label.auto_stretch = true;
  ReportBand info =
      Band(QStringLiteral("Info"), ReportBandKind::kChild, TextHeight(base) + kInterval, {info_label});
  info.parent = QStringLiteral("TitleBand1");

  ReportElement description_label = Label(QStringLiteral("DescriptionLabel"), 0, 0, kBandWidth,
                                          base, QStringLiteral("Your report description"));
  description_label.word_wrap = true;
  description_label.auto_stretch = true;
  ReportBand description = Band(QStringLiteral("Description"), ReportBandKind::kChild,
                                TextHeight(base) + kInterval, {description_label});
  description.parent = QStringLiteral("Info");

  return {GroupFooter(5), details,        GroupHeader(1), GroupFooter(1), GroupHeader(2),
          GroupFooter(2), columns,        summary,        GroupHeader(3), GroupHeader(4),
          GroupFooter(3), GroupFooter(4), GroupHeader(5), title,          page_header,
          page_footer,    info,           description};
}

}  // namespace

int TextHeight(const ReportFont& font) { return (font.point_size * 96 + 36) / 72; }

QuickReport::QuickReport() : bands_(DefaultBands()) { base_font = Font("Arial", 10); }

ReportBand* QuickReport::Band(const QString& name) {
  for (ReportBand& band : bands_)
    if (band.name == name) return &band;
  return nullptr;
}

const ReportBand* QuickReport::Band(const QString& name) const {
  return const_cast<QuickReport*>(this)->Band(name);
}

ReportElement* QuickReport::Element(const QString& name) {
  for (ReportBand& band : bands_)
    for (ReportElement& element : band.elements)
      if (element.name == name) return &element;
  return nullptr;
}

const ReportElement* QuickReport::Element(const QString& name) const {
  return const_cast<QuickReport*>(this)->Element(name);
}

QString QuickReport::GroupHeaderName(int level) { return QStringLiteral("GroupLevel%1").arg(level); }

QString QuickReport::GroupFooterName(int level) {
  // Levels 4 and 5 are written with a small l; the layout file keeps the names.
  return level >= 4 ? QStringLiteral("GroupTotallevel%1").arg(level)
                    : QStringLiteral("GroupTotalLevel%1").arg(level);
}

QString QuickReport::LevelTitleName(int level) {
  return QStringLiteral("GroupLevel%1Title").arg(level);
}
QString QuickReport::LevelSubtotalName(int level) {
  return QStringLiteral("GroupTotalLevel%1Title").arg(level);
}
QString QuickReport::LevelTimeName(int level) { return QStringLiteral("GroupLevel%1Time").arg(level); }
QString QuickReport::LevelRateName(int level) { return QStringLiteral("GroupLevel%1Rate").arg(level); }

QString QuickReport::LevelField(int level) const {
  const ReportBand* band = Band(GroupHeaderName(level));
  return band ? ExpressionField(band->group_expression) : QString();
}

void QuickReport::BindReportGroups(const GroupingKey& key) {
  BindLevelFields(key);
  const bool five = key.levels >= 5;
  SetReportGroup(4, five);
  SetReportGroup(5, five);
}

void QuickReport::RebindReportGroups(const GroupingKey& key) {
  BindLevelFields(key);
  if (key.levels < 5) {
    SetReportGroup(4, false);
    SetReportGroup(5, false);
  }
}

void QuickReport::BindLevelFields(const GroupingKey& key) {
  for (int level = 1; level <= kReportLevels && level <= key.fields.size(); ++level) {
    const QString field = key.fields[level - 1];
    Band(GroupHeaderName(level))->group_expression = FieldExpression(field);
    Element(LevelTitleName(level))->data_field =
        field == QLatin1String("Month") ? QStringLiteral("sMonth") : field;
    SetSubtotalText(level);
  }
}

void QuickReport::SetSubtotalText(int level) {
  ReportElement* subtotal = Element(LevelSubtotalName(level));
  const ReportElement* title = Element(LevelTitleName(level));
  const ReportBand* header = Band(GroupHeaderName(level));
  if (!subtotal || !title || !header) return;
  // The label comes from the title field, so sMonth reads as Month.
  subtotal->expression =
      subtotal->flag
          ? header->group_expression
          : LiteralExpression(SubtotalLabel(title->data_field) + QStringLiteral(" subtotal:"));
}

void QuickReport::SetReportGroup(int level, bool shown) {
  if (level < 1 || level > kReportLevels) return;
  const int height = shown ? 20 : 0;
  Band(GroupHeaderName(level))->height = height;
  Band(GroupFooterName(level))->height = height;
  // A hidden level is not "subtotal only" either; the flag would otherwise
  // read back as a shown level and print its footer.
  if (!shown) Element(LevelSubtotalName(level))->flag = 0;
}

QString SubtotalLabel(const QString& field) {
  if (field == QLatin1String("RecordDate")) return QStringLiteral("Date");
  if (field == QLatin1String("Month") || field == QLatin1String("sMonth"))
    return QStringLiteral("Month");
  if (field == QLatin1String("Name")) return QStringLiteral("Task");
  return field;
}

QString LiteralExpression(const QString& text) {
  QString quoted = text;
  quoted.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

namespace {

// Reads a quoted literal at the start of expression; sets *end past it.
std::optional<QString> ReadLiteral(const QString& expression, qsizetype* end) {
  if (!expression.startsWith(QLatin1Char('\''))) return std::nullopt;
  QString text;
  for (qsizetype i = 1; i < expression.size(); ++i) {
    if (expression[i] != QLatin1Char('\'')) {
      text += expression[i];
    } else if (i + 1 < expression.size() && expression[i + 1] == QLatin1Char('\'')) {
      text += QLatin1Char('\'');
      ++i;
    } else {
      *end = i + 1;
      return text;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> LiteralText(const QString& expression) {
  qsizetype end = 0;
  std::optional<QString> text = ReadLiteral(expression, &end);
  if (!text || end != expression.size()) return std::nullopt;
  return text;
}

QString BuildHeaderExpression(const HeaderExpression& parts) {
  QString expression = LiteralExpression(parts.text);
  if (parts.page) expression += QStringLiteral("+' Page: '+PAGENUMBER");
  if (parts.date) expression += QStringLiteral("+' Report date: '+Date");
  if (parts.time) expression += QStringLiteral("+' '+Time");
  return expression;
}

HeaderExpression ParseHeaderExpression(const QString& expression) {
  HeaderExpression parts;
  qsizetype end = 0;
  if (std::optional<QString> text = ReadLiteral(expression, &end)) parts.text = *text;
  // The additions are looked for after the text only, so a text that holds
  // "+Time" does not tick a box.
  const QString rest = expression.mid(end);
  parts.page = rest.contains(QLatin1String("+PAGENUMBER"));
  parts.date = rest.contains(QLatin1String("+Date"));
  parts.time = rest.contains(QLatin1String("+Time"));
  return parts;
}

QString FieldExpression(const QString& field) { return QStringLiteral("DisplayLog.") + field; }

QString ExpressionField(const QString& expression) {
  static const QString prefix = QStringLiteral("DisplayLog.");
  return expression.startsWith(prefix) ? expression.mid(prefix.size()) : QString();
}

QString ReportTimeFigure(qint64 seconds) {
  if (seconds < 0) seconds = 0;
  const qint64 hours = seconds / 3600;
  const qint64 minutes = (seconds - hours * 3600) / 60;
  return QStringLiteral("%1:%2:%3")
      .arg(hours, 2, 10, QLatin1Char('0'))
      .arg(minutes, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace ravell
