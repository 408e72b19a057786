#include "reportlayoutfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <climits>
#include <cmath>
#include <utility>

#include "atomicfile.h"
#include "error.h"

namespace ravell {
namespace {

constexpr char kFormat[] = "Ravell report layout";
constexpr int kVersion = 1;

// Enumerations are stored by name so the file stays readable and a renumbered
// enum cannot change a stored layout.
const std::pair<ReportAlignment, const char*> kAlignments[] = {
    {ReportAlignment::kLeft, "left"},
    {ReportAlignment::kRight, "right"},
    {ReportAlignment::kCenter, "center"},
};
const std::pair<ReportElementKind, const char*> kElementKinds[] = {
    {ReportElementKind::kLabel, "label"},
    {ReportElementKind::kDataField, "dataField"},
    {ReportElementKind::kExpression, "expression"},
};
const std::pair<ReportBandKind, const char*> kBandKinds[] = {
    {ReportBandKind::kPageHeader, "pageHeader"},
    {ReportBandKind::kTitle, "title"},
    {ReportBandKind::kChild, "child"},
    {ReportBandKind::kColumnHeader, "columnHeader"},
    {ReportBandKind::kGroupHeader, "groupHeader"},
    {ReportBandKind::kDetail, "detail"},
    {ReportBandKind::kGroupFooter, "groupFooter"},
    {ReportBandKind::kSummary, "summary"},
    {ReportBandKind::kPageFooter, "pageFooter"},
};

template <typename Enum, std::size_t N>
QString EnumName(const std::pair<Enum, const char*> (&names)[N], Enum value) {
  for (const auto& [e, name] : names)
    if (e == value) return QString::fromLatin1(name);
  return QString();
}

QString ColorText(QRgb color) { return QStringLiteral("#%1").arg(color, 8, 16, QLatin1Char('0')); }

QJsonObject FontObject(const ReportFont& font) {
  return {{"family", font.family},
          {"size", font.point_size},
          {"bold", font.bold},
          {"italic", font.italic},
          {"underline", font.underline},
          {"strikeOut", font.strike_out},
          {"color", ColorText(font.color)}};
}

QJsonObject ElementObject(const ReportElement& e) {
  return {{"name", e.name},
          {"kind", EnumName(kElementKinds, e.kind)},
          {"left", e.left},
          {"top", e.top},
          {"width", e.width},
          {"height", e.height},
          {"font", FontObject(e.font)},
          {"alignment", EnumName(kAlignments, e.alignment)},
          {"color", ColorText(e.color)},
          {"transparent", e.transparent},
          {"wordWrap", e.word_wrap},
          {"autoStretch", e.auto_stretch},
          {"caption", e.caption},
          {"dataField", e.data_field},
          {"expression", e.expression},
          {"flag", e.flag}};
}

QJsonObject BandObject(const ReportBand& band) {
  QJsonArray elements;
  for (const ReportElement& element : band.elements) elements.append(ElementObject(element));
  return {{"name", band.name},
          {"kind", EnumName(kBandKinds, band.kind)},
          {"left", band.left},
          {"top", band.top},
          {"width", band.width},
          {"height", band.height},
          {"color", ColorText(band.color)},
          {"frame", band.frame},
          {"groupExpression", band.group_expression},
          {"footerBand", band.footer_band},
          {"parent", band.parent},
          {"elements", elements}};
}

// Reads values of one JSON object; anything missing or of the wrong type
// throws with the place it was found.
class Reader {
 public:
  Reader(const QString& path, QJsonObject object, QString place)
      : path_(path), object_(std::move(object)), place_(std::move(place)) {}

  [[noreturn]] void Fail(const QString& what) const {
    throw FileError(
        QStringLiteral("The report layout file \"%1\" is damaged: %2.").arg(path_, what));
  }

  QJsonValue Value(const char* key) const {
    const QJsonValue value = object_.value(QLatin1String(key));
    if (value.isUndefined()) Fail(QStringLiteral("%1 has no %2").arg(place_, QLatin1String(key)));
    return value;
  }
  [[noreturn]] void Wrong(const char* key) const {
    Fail(QStringLiteral("%1 has a wrong %2").arg(place_, QLatin1String(key)));
  }
  QString String(const char* key) const {
    const QJsonValue value = Value(key);
    if (!value.isString()) Wrong(key);
    return value.toString();
  }
  int Int(const char* key) const {
    const QJsonValue value = Value(key);
    const double number = value.toDouble();
    // Checked before the cast: out of range, the cast itself is undefined.
    if (!value.isDouble() || !(number >= INT_MIN && number <= INT_MAX) ||
        number != std::trunc(number))
      Wrong(key);
    return static_cast<int>(number);
  }
  double Number(const char* key) const {
    const QJsonValue value = Value(key);
    if (!value.isDouble()) Wrong(key);
    return value.toDouble();
  }
  bool Bool(const char* key) const {
    const QJsonValue value = Value(key);
    if (!value.isBool()) Wrong(key);
    return value.toBool();
  }
  QRgb Color(const char* key) const {
    const QString text = String(key);
    bool ok = false;
    const uint color = text.mid(1).toUInt(&ok, 16);
    if (!text.startsWith(QLatin1Char('#')) || text.size() != 9 || !ok) Wrong(key);
    return color;
  }
  Reader Object(const char* key, const QString& place) const {
    const QJsonValue value = Value(key);
    if (!value.isObject()) Wrong(key);
    return Reader(path_, value.toObject(), place);
  }
  QJsonArray Array(const char* key) const {
    const QJsonValue value = Value(key);
    if (!value.isArray()) Wrong(key);
    return value.toArray();
  }
  Reader Item(const QJsonArray& array, qsizetype index, const QString& place) const {
    if (!array.at(index).isObject()) Fail(QStringLiteral("%1 is not an entry").arg(place));
    return Reader(path_, array.at(index).toObject(), place);
  }
  template <typename Enum, std::size_t N>
  Enum Choice(const char* key, const std::pair<Enum, const char*> (&names)[N]) const {
    const QString text = String(key);
    for (const auto& [e, name] : names)
      if (text == QLatin1String(name)) return e;
    Wrong(key);
  }

 private:
  const QString& path_;
  QJsonObject object_;
  QString place_;
};

ReportFont ReadFont(const Reader& reader) {
  ReportFont font;
  font.family = reader.String("family");
  font.point_size = reader.Int("size");
  if (font.point_size <= 0) reader.Wrong("size");
  font.bold = reader.Bool("bold");
  font.italic = reader.Bool("italic");
  font.underline = reader.Bool("underline");
  font.strike_out = reader.Bool("strikeOut");
  font.color = reader.Color("color");
  return font;
}

void ReadElement(const Reader& reader, ReportElement& element) {
  element.kind = reader.Choice("kind", kElementKinds);
  element.left = reader.Int("left");
  element.top = reader.Int("top");
  element.width = reader.Int("width");
  element.height = reader.Int("height");
  element.font = ReadFont(reader.Object("font", element.name + QStringLiteral(" font")));
  element.alignment = reader.Choice("alignment", kAlignments);
  element.color = reader.Color("color");
  element.transparent = reader.Bool("transparent");
  element.word_wrap = reader.Bool("wordWrap");
  element.auto_stretch = reader.Bool("autoStretch");
  element.caption = reader.String("caption");
  element.data_field = reader.String("dataField");
  // The expressions stay as they were: the page header and footer keep their
  // texts, the figures and subtotal texts their rules.
  reader.String("expression");
  element.flag = reader.Int("flag");
}

void ReadBand(const Reader& reader, ReportBand& band) {
  band.kind = reader.Choice("kind", kBandKinds);
  band.left = reader.Int("left");
  band.top = reader.Int("top");
  band.width = reader.Int("width");
  band.height = reader.Int("height");
  if (band.height < 0) reader.Wrong("height");
  band.color = reader.Color("color");
  band.frame = reader.Bool("frame");
  band.group_expression = reader.String("groupExpression");
  band.footer_band = reader.String("footerBand");
  band.parent = reader.String("parent");
  const QJsonArray elements = reader.Array("elements");
  if (elements.size() != static_cast<qsizetype>(band.elements.size()))
    reader.Fail(QStringLiteral("band %1 does not hold its %2 elements")
                    .arg(band.name)
                    .arg(band.elements.size()));
  for (qsizetype i = 0; i < elements.size(); ++i) {
    ReportElement& element = band.elements[i];
    const Reader entry = reader.Item(elements, i, QStringLiteral("element %1").arg(element.name));
    if (entry.String("name") != element.name)
      entry.Fail(QStringLiteral("element %1 of band %2 is not %3")
                     .arg(i + 1)
                     .arg(band.name, element.name));
    ReadElement(entry, element);
  }
}

}  // namespace

QByteArray ReportLayoutBytes(const QuickReport& report) {
  const ReportPageSetup& page = report.page;
  QJsonObject report_entry{{"page", QJsonObject{{"paper", page.paper},
                                                {"portrait", page.portrait},
                                                {"leftMarginMm", page.left_margin_mm},
                                                {"rightMarginMm", page.right_margin_mm},
                                                {"topMarginMm", page.top_margin_mm},
                                                {"bottomMarginMm", page.bottom_margin_mm},
                                                {"columns", page.columns},
                                                {"zoom", page.zoom},
                                                {"units", page.units}}},
                           {"baseFont", FontObject(report.base_font)},
                           {"dataSet", report.data_set},
                           {"interval", report.interval}};
  QJsonArray bands;
  for (const ReportBand& band : report.Bands()) bands.append(BandObject(band));
  const QJsonObject root{{"format", QString::fromLatin1(kFormat)},
                         {"version", kVersion},
                         {"report", report_entry},
                         {"bands", bands}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void ReadReportLayout(QuickReport& report, const QByteArray& bytes, const QString& path) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  const QString foreign = QStringLiteral("\"%1\" is not a report layout file.").arg(path);
  if (error.error != QJsonParseError::NoError || !document.isObject()) throw FileError(foreign);
  const Reader root(path, document.object(), QStringLiteral("the file"));
  if (document.object().value(QLatin1String("format")).toString() != QLatin1String(kFormat))
    throw FileError(foreign);
  if (root.Int("version") > kVersion)
    throw FileError(
        QStringLiteral("The report layout file \"%1\" was written by a newer version of the "
                       "program.")
            .arg(path));

  // Everything is read into a copy, so a damaged file changes nothing.
  QuickReport copy = report;
  const Reader entry = root.Object("report", QStringLiteral("the report"));
  const Reader page = entry.Object("page", QStringLiteral("the page setup"));
  copy.page.paper = page.String("paper");
  copy.page.portrait = page.Bool("portrait");
  copy.page.left_margin_mm = page.Number("leftMarginMm");
  copy.page.right_margin_mm = page.Number("rightMarginMm");
  copy.page.top_margin_mm = page.Number("topMarginMm");
  copy.page.bottom_margin_mm = page.Number("bottomMarginMm");
  copy.page.columns = page.Int("columns");
  copy.page.zoom = page.Int("zoom");
  copy.page.units = page.String("units");
  copy.base_font = ReadFont(entry.Object("baseFont", QStringLiteral("the base font")));
  copy.data_set = entry.String("dataSet");
  copy.interval = entry.Int("interval");
  if (copy.interval < 0) entry.Wrong("interval");

  const QJsonArray bands = root.Array("bands");
  std::vector<ReportBand>& own = copy.Bands();
  if (bands.size() != static_cast<qsizetype>(own.size()))
    root.Fail(QStringLiteral("it holds %1 bands instead of %2").arg(bands.size()).arg(own.size()));
  for (qsizetype i = 0; i < bands.size(); ++i) {
    const Reader band = root.Item(bands, i, QStringLiteral("band %1").arg(own[i].name));
    if (band.String("name") != own[i].name)
      band.Fail(QStringLiteral("band %1 is not %2").arg(i + 1).arg(own[i].name));
    ReadBand(band, own[i]);
  }
  report = std::move(copy);
}

void SaveReportLayout(const QuickReport& report, const QString& path) {
  WriteFileAtomic(path, ReportLayoutBytes(report));
}

void LoadReportLayout(QuickReport& report, const QString& path) {
  ReadReportLayout(report, ReadWholeFile(path), path);
}

}  // namespace ravell
