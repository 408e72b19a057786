#pragma once

#include <QRgb>
#include <QString>
#include <optional>
#include <vector>

#include "grouping.h"

namespace ravell {

enum class ReportAlignment { kLeft, kRight, kCenter };

struct ReportFont {
  QString family = QStringLiteral("Arial");
  int point_size = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  QRgb color = 0xff000000;
  bool operator==(const ReportFont&) const = default;
};

// Pixel height of a font's text at 96 dpi, rounded like the platform's
// point-to-pixel conversion (10 pt → 13 px, 16 pt → 21 px).
int TextHeight(const ReportFont& font);

enum class ReportElementKind { kLabel, kDataField, kExpression };

// One printed element. Positions and sizes are pixels at 96 dpi from the
// band's top left corner; an element whose top lies at or beyond
// kHiddenPosition is parked outside its band and prints nothing.
struct ReportElement {
  QString name;
  ReportElementKind kind = ReportElementKind::kLabel;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  ReportFont font;
  ReportAlignment alignment = ReportAlignment::kLeft;
  QRgb color = 0xffffffff;
  bool transparent = true;
  bool word_wrap = false;
  bool auto_stretch = false;
  QString caption;     // labels
  QString data_field;  // data fields: a field of DisplayLog
  QString expression;  // expressions
  int flag = 0;        // subtotal texts: 1 when "subtotal only"
  bool operator==(const ReportElement&) const = default;
};

enum class ReportBandKind {
  kPageHeader,
  kTitle,
  kChild,
  kColumnHeader,
  kGroupHeader,
  kDetail,
  kGroupFooter,
  kSummary,
  kPageFooter,
};

struct ReportBand {
  QString name;
  ReportBandKind kind = ReportBandKind::kDetail;
  int left = 0;
  int top = 0;
  int width = 718;
  int height = 0;  // 0: takes no space and prints nothing
  QRgb color = 0xffffffff;
  bool frame = false;
  QString group_expression;  // group headers: "DisplayLog." + field
  QString footer_band;       // group headers: the footer of the same level
  QString parent;            // child bands
  std::vector<ReportElement> elements;
  bool operator==(const ReportBand&) const = default;
};

struct ReportPageSetup {
  QString paper = QStringLiteral("A4");
  bool portrait = true;
  double left_margin_mm = 10;
  double right_margin_mm = 10;
  double top_margin_mm = 10;
  double bottom_margin_mm = 10;
  int columns = 1;
  int zoom = 100;
  QString units = QStringLiteral("mm");
  bool operator==(const ReportPageSetup&) const = default;
};

inline constexpr int kHiddenPosition = 100000;
inline constexpr int kBandWidth = 718;
inline constexpr int kReportLevels = 5;
// Where texts end: subtotal, detail and summary texts before the time
// column, level titles near the band's right edge.
inline constexpr int kSubtotalRight = 475;
inline constexpr int kTitleRight = 705;
// Tops of shown figures and column headers.
inline constexpr int kFigureTop = 3;
inline constexpr int kColumnTop = 1;

// The report QuickRep1: one fixed structure of bands and elements. Bands are
// kept in the order the layout file stores them, each band's elements in
// their stored order. Constructed with the defaults of a fresh reporter.
class QuickReport {
 public:
  QuickReport();

  ReportPageSetup page;
  ReportFont base_font;
  QString data_set = QStringLiteral("DisplayLog");
  // The vertical space added to every shown band. Kept on its own so it reads
  // back also when the title band, from which it could be derived, is hidden.
  int interval = 10;

  std::vector<ReportBand>& Bands() { return bands_; }
  const std::vector<ReportBand>& Bands() const { return bands_; }

  // By name; nullptr for an unknown name.
  ReportBand* Band(const QString& name);
  const ReportBand* Band(const QString& name) const;
  ReportElement* Element(const QString& name);
  const ReportElement* Element(const QString& name) const;

  // The bands and elements of a grouping level (1 outermost … 5).
  static QString GroupHeaderName(int level);    // GroupLevel1 …
  static QString GroupFooterName(int level);    // GroupTotalLevel1 … GroupTotallevel5
  static QString LevelTitleName(int level);     // GroupLevel1Title …
  static QString LevelSubtotalName(int level);  // GroupTotalLevel1Title …
  static QString LevelTimeName(int level);      // GroupLevel1Time …
  static QString LevelRateName(int level);      // GroupLevel1Rate …

  // The field a level is bound to ("Year", "Month", "RecordDate", …): the
  // group value is that field of the current record.
  QString LevelField(int level) const;

  // Binds the five levels to the grouping key (its first five fields) and
  // shows levels 4 and 5 when the key has five grouping levels, hides them
  // when it has three. The caller reads the settings back afterwards.
  void BindReportGroups(const GroupingKey& key);
  // Binds the levels' group values, titles and subtotal texts to the key
  // without showing any level: a loaded layout keeps its shown levels, but
  // levels 4 and 5 are hidden when the key has three grouping levels.
  void RebindReportGroups(const GroupingKey& key);
  // Header and footer band of the level 20 px high when shown, 0 when hidden;
  // any other level number does nothing.
  void SetReportGroup(int level, bool shown);
  // The level's subtotal text by its flag: the group value when "subtotal
  // only" is on, else the label of the title field and " subtotal:".
  void SetSubtotalText(int level);

  bool operator==(const QuickReport&) const = default;

 private:
  void BindLevelFields(const GroupingKey& key);

  std::vector<ReportBand> bands_;
};

// "Date" for RecordDate, "Month" for Month and sMonth, "Task" for Name, the
// field's own name otherwise.
QString SubtotalLabel(const QString& field);

// Expressions of the page header and footer: the text as a quoted literal,
// followed when chosen by the page number, the date and the time. A quote
// inside the text is doubled, so any text reads back as typed.
struct HeaderExpression {
  QString text;
  bool page = false;
  bool date = false;
  bool time = false;
  bool operator==(const HeaderExpression&) const = default;
};
QString BuildHeaderExpression(const HeaderExpression& parts);
HeaderExpression ParseHeaderExpression(const QString& expression);

// A quoted literal expression ('Task subtotal:') and its text; nullopt when
// the expression is not one literal.
QString LiteralExpression(const QString& text);
std::optional<QString> LiteralText(const QString& expression);

// "DisplayLog." + field for a field reference, and its field; empty when the
// expression is not a field reference.
QString FieldExpression(const QString& field);
QString ExpressionField(const QString& expression);

// Time figure: hours with at least two digits, minutes and seconds with two
// (5409 → "01:30:09", 400000 → "111:06:40").
QString ReportTimeFigure(qint64 seconds);

}  // namespace ravell
