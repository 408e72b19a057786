#include "reportengine.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QRegularExpression>
#include <array>
#include <cmath>

#include "timetext.h"

namespace ravell {
namespace {

constexpr qreal kUnitsPerInch = 96;
constexpr qreal kMmPerInch = 25.4;

qreal Mm(qreal mm) { return mm * kUnitsPerInch / kMmPerInch; }

// Texts break their lines with CR LF (the description) or LF CR (the data
// scope text); either, and a lone one, ends a line.
QStringList SplitLines(const QString& text) {
  static const QRegularExpression line_end(QStringLiteral("\r\n|\n\r|\n|\r"));
  return text.split(line_end);
}

// Metrics at exactly 96 dpi, whatever the screen says.
class Metrics96 {
 public:
  Metrics96() : device_(1, 1, QImage::Format_ARGB32) {
    const int dots_per_meter = qRound(kUnitsPerInch / kMmPerInch * 1000);
    device_.setDotsPerMeterX(dots_per_meter);
    device_.setDotsPerMeterY(dots_per_meter);
  }
  QFontMetricsF Metrics(const ReportFont& font) const {
    return QFontMetricsF(ResolveFont(font), &device_);
  }

 private:
  QImage device_;
};

// Greedy word wrap within a width; a word longer than the width breaks
// between characters so nothing runs off the page.
QStringList WrapLine(const QString& line, qreal width, const QFontMetricsF& metrics) {
  if (line.isEmpty() || metrics.horizontalAdvance(line) <= width) return {line};
  QStringList lines;
  QString current;
  const auto flush = [&] {
    lines << current;
    current.clear();
  };
  for (const QString& word : line.split(QLatin1Char(' '))) {
    const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
    if (metrics.horizontalAdvance(candidate) <= width) {
      current = candidate;
      continue;
    }
    if (!current.isEmpty()) flush();
    QString rest = word;
    while (metrics.horizontalAdvance(rest) > width && rest.size() > 1) {
      qsizetype fit = 1;
      while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width) ++fit;
      lines << rest.left(fit);
      rest = rest.mid(fit);
    }
    current = rest;
  }
  lines << current;
  return lines;
}

// What an element prints, decided once per band from its kind and name.
enum class Role {
  kCaption,
  kDataField,
  kPageText,    // HeaderExp, FooterExp
  kDetailText,  // DetailsExp
  kRecordTime,  // DetailsTime
  kRecordRate,  // DetailsRate
  kLevelTime,   // GroupLevelNTime
  kLevelRate,   // GroupLevelNRate
  kTotalTime,   // SummaryTime
  kTotalRate,   // SummaryRate
  kExpression,  // a literal or a field of the record (the subtotal texts)
};

struct ElementPlan {
  const ReportElement* element;
  Role role;
  int level = 0;
  int field = -1;
};

struct BandPlan {
  const ReportBand* band = nullptr;
  std::vector<ElementPlan> elements;
  bool Shown() const { return band && band->height > 0; }
};

struct Sums {
  qint64 seconds = 0;
  double rate = 0;
};

class Layout {
 public:
  Layout(const QuickReport& report, const RecordTable& table, const Clock& clock) : table_(table) {
    const DateTime now = clock.Now();
    date_text_ = locale_.toString(DateOf(now), QLocale::ShortFormat);
    time_text_ = locale_.toString(TimeOf(now), QLocale::ShortFormat);
    money_locale_.setNumberOptions(QLocale::OmitGroupSeparator);
    seconds_field_ = table.FieldIndex(QStringLiteral("Seconds"));
    rate_field_ = table.FieldIndex(QStringLiteral("dRate"));
    start_field_ = table.FieldIndex(QStringLiteral("TimeStart"));
    end_field_ = table.FieldIndex(QStringLiteral("TimeEnd"));

    for (const ReportBand& band : report.Bands()) {
      switch (band.kind) {
        case ReportBandKind::kPageHeader:
          page_header_ = Plan(&band);
          break;
        case ReportBandKind::kPageFooter:
          page_footer_ = Plan(&band);
          break;
        case ReportBandKind::kColumnHeader:
          column_header_ = Plan(&band);
          break;
        case ReportBandKind::kDetail:
          details_ = Plan(&band);
          break;
        case ReportBandKind::kSummary:
          summary_ = Plan(&band);
          break;
        default:
          break;
      }
    }
    // The title block: the title band and its chain of children.
    for (const ReportBand& band : report.Bands()) {
      if (band.kind != ReportBandKind::kTitle) continue;
      title_block_.push_back(Plan(&band));
      for (QString parent = band.name; !parent.isEmpty();) {
        const ReportBand* child = nullptr;
        for (const ReportBand& candidate : report.Bands())
          if (candidate.kind == ReportBandKind::kChild && candidate.parent == parent)
            child = &candidate;
        if (!child || title_block_.size() > report.Bands().size()) break;
        title_block_.push_back(Plan(child));
        parent = child->name;
      }
      break;
    }
    for (int level = 1; level <= kReportLevels; ++level) {
      headers_[level - 1] = Plan(report.Band(QuickReport::GroupHeaderName(level)));
      footers_[level - 1] = Plan(report.Band(QuickReport::GroupFooterName(level)));
      level_fields_[level - 1] = table.FieldIndex(report.LevelField(level));
    }
    document_.page_size = A4PageSize();
    left_ = Mm(report.page.left_margin_mm);
    top_ = Mm(report.page.top_margin_mm);
    bottom_ = document_.page_size.height() - Mm(report.page.bottom_margin_mm);
    footer_height_ = page_footer_.Shown() ? page_footer_.band->height : 0;
  }

  ReportDocument Run() {
    StartPage();
    for (const BandPlan& plan : title_block_) Place(plan, -1, 0);
    Place(column_header_, -1, 0);
    title_done_ = true;

    int previous = -1;
    for (const int record : table_.ViewRecords()) {
      const int changed = previous < 0 ? 1 : FirstChangedLevel(previous, record);
      if (changed > 0) {
        if (previous >= 0) CloseGroups(changed, previous);
        for (int level = changed; level <= kReportLevels; ++level)
          Place(headers_[level - 1], record, level);
      }
      const Sums sums = RecordSums(record);
      for (Sums& level : level_sums_) Add(level, sums);
      Add(total_, sums);
      Place(details_, record, 0);
      previous = record;
    }
    if (previous >= 0) CloseGroups(1, previous);
    Place(summary_, previous, 0);
    FinishPage();
    return std::move(document_);
  }

 private:
  BandPlan Plan(const ReportBand* band) const {
    BandPlan plan;
    plan.band = band;
    if (!band) return plan;
    for (const ReportElement& element : band->elements) {
      ElementPlan e{&element, Role::kCaption};
      const QString& name = element.name;
      if (element.kind == ReportElementKind::kLabel) {
        e.role = Role::kCaption;
      } else if (element.kind == ReportElementKind::kDataField) {
        e.role = Role::kDataField;
        e.field = table_.FieldIndex(element.data_field);
      } else if (name == QLatin1String("HeaderExp") || name == QLatin1String("FooterExp")) {
        e.role = Role::kPageText;
      } else if (name == QLatin1String("DetailsExp")) {
        e.role = Role::kDetailText;
      } else if (name == QLatin1String("DetailsTime")) {
        e.role = Role::kRecordTime;
      } else if (name == QLatin1String("DetailsRate")) {
        e.role = Role::kRecordRate;
      } else if (name == QLatin1String("SummaryTime")) {
        e.role = Role::kTotalTime;
      } else if (name == QLatin1String("SummaryRate")) {
        e.role = Role::kTotalRate;
      } else {
        e.role = Role::kExpression;
        e.field = table_.FieldIndex(ExpressionField(element.expression));
        for (int level = 1; level <= kReportLevels; ++level) {
          if (name == QuickReport::LevelTimeName(level)) {
            e.role = Role::kLevelTime;
            e.level = level;
          } else if (name == QuickReport::LevelRateName(level)) {
            e.role = Role::kLevelRate;
            e.level = level;
          }
        }
      }
      plan.elements.push_back(e);
    }
    return plan;
  }

  int FirstChangedLevel(int a, int b) const {
    for (int level = 1; level <= kReportLevels; ++level) {
      const int field = level_fields_[level - 1];
      if (field >= 0 && !SameValue(a, b, field)) return level;
    }
    return 0;
  }

  bool SameValue(int a, int b, int field) const {
    if (table_.IsNull(a, field) || table_.IsNull(b, field))
      return table_.IsNull(a, field) == table_.IsNull(b, field);
    switch (table_.Fields()[field].type) {
      case FieldType::kDouble:
        return table_.Double(a, field) == table_.Double(b, field);
      case FieldType::kText:
        return table_.Text(a, field) == table_.Text(b, field);
      default:
        return table_.Int(a, field) == table_.Int(b, field);
    }
  }

  // Footers of the ended groups, deepest first; each level's sums restart.
  void CloseGroups(int from_level, int last_record) {
    for (int level = kReportLevels; level >= from_level; --level) {
      Place(footers_[level - 1], last_record, level);
      level_sums_[level - 1] = Sums();
    }
  }

  Sums RecordSums(int record) const {
    Sums sums;
    if (seconds_field_ >= 0 && !table_.IsNull(record, seconds_field_))
      sums.seconds = table_.Int(record, seconds_field_);
    if (rate_field_ >= 0 && !table_.IsNull(record, rate_field_))
      sums.rate = table_.Double(record, rate_field_);
    return sums;
  }

  static void Add(Sums& to, const Sums& sums) {
    to.seconds += sums.seconds;
    to.rate += sums.rate;
  }

  QString Money(double value) const {
    // No "-0.00" for sums that cancel out.
    if (std::abs(value) < 0.005) value = 0;
    return money_locale_.toString(value, 'f', 2);
  }

  QString TimeText(int record, int field) const {
    if (record < 0 || field < 0 || table_.IsNull(record, field)) return QString();
    return FormatTime(FromMilliseconds(table_.Int(record, field)));
  }

  QString PageText(const QString& expression) const {
    const HeaderExpression parts = ParseHeaderExpression(expression);
    QString text = parts.text;
    if (parts.page) text += QStringLiteral(" Page: ") + QString::number(document_.pages.size());
    if (parts.date) text += QStringLiteral(" Report date: ") + date_text_;
    if (parts.time) text += QLatin1Char(' ') + time_text_;
    return text;
  }

  QString Evaluate(const ElementPlan& plan, int record, int level) const {
    const ReportElement& element = *plan.element;
    switch (plan.role) {
      case Role::kCaption:
        return element.caption;
      case Role::kDataField:
        return record >= 0 && plan.field >= 0 ? table_.DisplayText(record, plan.field) : QString();
      case Role::kPageText:
        return PageText(element.expression);
      case Role::kDetailText:
        return QStringLiteral("From ") + TimeText(record, start_field_) + QStringLiteral(" To ") +
               TimeText(record, end_field_);
      case Role::kRecordTime:
        return ReportTimeFigure(RecordSums(record).seconds);
      case Role::kRecordRate:
        return Money(RecordSums(record).rate);
      case Role::kLevelTime:
        return ReportTimeFigure(level_sums_[(plan.level > 0 ? plan.level : level) - 1].seconds);
      case Role::kLevelRate:
        return Money(level_sums_[(plan.level > 0 ? plan.level : level) - 1].rate);
      case Role::kTotalTime:
        return ReportTimeFigure(total_.seconds);
      case Role::kTotalRate:
        return Money(total_.rate);
      case Role::kExpression:
        if (std::optional<QString> literal = LiteralText(element.expression)) return *literal;
        return record >= 0 && plan.field >= 0 ? table_.DisplayText(record, plan.field) : QString();
    }
    return QString();
  }

  struct Piece {
    const ReportElement* element;
    QStringList lines;
    qreal line_height;
  };

  // The band's printed elements and its height, grown for stretching texts.
  qreal MeasureBand(const BandPlan& plan, int record, int level, std::vector<Piece>* pieces) const {
    const ReportBand& band = *plan.band;
    qreal height = band.height;
    for (const ElementPlan& e : plan.elements) {
      const ReportElement& element = *e.element;
      if (element.top >= band.height) continue;  // parked outside its band
      const QString text = Evaluate(e, record, level);
      Piece piece{&element, {}, static_cast<qreal>(element.height)};
      if (element.auto_stretch) {
        const QFontMetricsF metrics = measure_.Metrics(element.font);
        for (const QString& line : SplitLines(text))
          piece.lines << (element.word_wrap ? WrapLine(line, element.width, metrics)
                                            : QStringList{line});
        piece.line_height = std::max<qreal>(metrics.lineSpacing(), 1);
        const qreal grown = element.height + (piece.lines.size() - 1) * piece.line_height;
        height = std::max(height, band.height + grown - element.height);
      } else {
        piece.lines << SplitLines(text).join(QLatin1Char(' '));
      }
      pieces->push_back(std::move(piece));
    }
    return height;
  }

  void Emit(const BandPlan& plan, qreal top, qreal height, const std::vector<Piece>& pieces) {
    const ReportBand& band = *plan.band;
    std::vector<ReportItem>& items = document_.pages.back().items;
    ReportItem background;
    background.kind = ReportItem::Kind::kBand;
    background.rect = QRectF(left_ + band.left, top, band.width, height);
    background.band = band.name;
    background.color = band.color;
    items.push_back(std::move(background));
    for (const Piece& piece : pieces) {
      const ReportElement& element = *piece.element;
      for (qsizetype i = 0; i < piece.lines.size(); ++i) {
        ReportItem item;
        item.rect =
            QRectF(left_ + band.left + element.left, top + element.top + i * piece.line_height,
                   element.width, i == 0 ? element.height : piece.line_height);
        item.band = band.name;
        item.element = element.name;
        item.text = piece.lines[i];
        item.font = element.font;
        item.alignment = element.alignment;
        items.push_back(std::move(item));
      }
    }
  }

  // Puts a band below the last one, on a new page when it does not fit.
  void Place(const BandPlan& plan, int record, int level) {
    if (!plan.Shown()) return;
    std::vector<Piece> pieces;
    const qreal height = MeasureBand(plan, record, level, &pieces);
    // A band taller than a whole page goes on a fresh page and runs off it
    // rather than never being placed.
    if (y_ + height > bottom_ - footer_height_ && !page_empty_) {
      FinishPage();
      StartPage();
    }
    Emit(plan, y_, height, pieces);
    y_ += height;
    page_empty_ = false;
  }

  void StartPage() {
    document_.pages.emplace_back();
    y_ = top_;
    if (page_header_.Shown()) PlaceFixed(page_header_);
    if (title_done_ && column_header_.Shown()) PlaceFixed(column_header_);
    page_empty_ = true;
  }

  // Page header and column header: always on the page they start.
  void PlaceFixed(const BandPlan& plan) {
    std::vector<Piece> pieces;
    const qreal height = MeasureBand(plan, -1, 0, &pieces);
    Emit(plan, y_, height, pieces);
    y_ += height;
  }

  void FinishPage() {
    if (!page_footer_.Shown()) return;
    std::vector<Piece> pieces;
    const qreal height = MeasureBand(page_footer_, -1, 0, &pieces);
    Emit(page_footer_, bottom_ - height, height, pieces);
  }

  const RecordTable& table_;
  QLocale locale_;
  QLocale money_locale_;
  QString date_text_, time_text_;
  int seconds_field_ = -1, rate_field_ = -1, start_field_ = -1, end_field_ = -1;
  Metrics96 measure_;

  BandPlan page_header_, page_footer_, column_header_, details_, summary_;
  std::vector<BandPlan> title_block_;
  std::array<BandPlan, kReportLevels> headers_, footers_;
  std::array<int, kReportLevels> level_fields_{};
  std::array<Sums, kReportLevels> level_sums_{};
  Sums total_;

  ReportDocument document_;
  qreal left_ = 0, top_ = 0, bottom_ = 0, footer_height_ = 0;
  qreal y_ = 0;
  bool page_empty_ = true;
  bool title_done_ = false;
};

}  // namespace

QString ResolveFontFamily(const QString& family) {
  static const std::pair<const char*, const char*> kFamilies[] = {
      {"Arial", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
  };
  for (const auto& [name, installed] : kFamilies)
    if (family.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(installed);
  return family;
}

QFont ResolveFont(const ReportFont& font, qreal device_dpi) {
  QFont resolved(ResolveFontFamily(font.family));
  resolved.setPointSizeF(std::max(font.point_size, 1) * kUnitsPerInch / device_dpi);
  resolved.setBold(font.bold);
  resolved.setItalic(font.italic);
  resolved.setUnderline(font.underline);
  resolved.setStrikeOut(font.strike_out);
  // The same advances on screen, printer and PDF.
  resolved.setHintingPreference(QFont::PreferNoHinting);
  return resolved;
}

QSizeF A4PageSize() { return {Mm(210), Mm(297)}; }

QStringList LaidOutPage::Texts(const QString& element) const {
  QStringList texts;
  for (const ReportItem& item : items)
    if (item.kind == ReportItem::Kind::kText && (element.isEmpty() || item.element == element))
      texts << item.text;
  return texts;
}

QStringList LaidOutPage::Bands() const {
  QStringList bands;
  for (const ReportItem& item : items)
    if (item.kind == ReportItem::Kind::kBand) bands << item.band;
  return bands;
}

ReportDocument LayOutReport(const QuickReport& report, const RecordTable& display_log,
                            const Clock& clock) {
  return Layout(report, display_log, clock).Run();
}

}  // namespace ravell
