#include "xlsxworkbook.h"

#include <zip.h>

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QTime>
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "atomicfile.h"
#include "error.h"

namespace ravell {

namespace {

constexpr char kPackageRelNs[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kStylesType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr char kStylesContentType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr int kDateFormat = 14;  // built-in short date
constexpr int kTimeFormat = 21;  // built-in h:mm:ss
// Far above any template's part; a damaged size field must not have the
// whole size allocated before the read fails.
constexpr zip_uint64_t kMaxPartSize = zip_uint64_t{256} << 20;

// ---- zip container

class ZipError : public Error {
 public:
  explicit ZipError(zip_error_t* error)
      : Error(QStringLiteral("The workbook is not a valid spreadsheet file (%1).")
                  .arg(QString::fromUtf8(zip_error_strerror(error)))) {}
};

// ---- XML helpers: elements are matched by local name, so a prefixed
// document (x:row) reads like an unprefixed one.

std::string_view LocalName(const pugi::xml_node& node) {
  std::string_view name = node.name();
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string PrefixOf(const pugi::xml_node& node) {
  std::string_view name = node.name();
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1));
}

pugi::xml_node Child(const pugi::xml_node& parent, std::string_view local) {
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_element && LocalName(child) == local) return child;
  }
  return {};
}

// An attribute by local name (r:id whatever the prefix).
pugi::xml_attribute LocalAttribute(const pugi::xml_node& node, std::string_view local) {
  for (pugi::xml_attribute attribute : node.attributes()) {
    std::string_view name = attribute.name();
    const size_t colon = name.find(':');
    if (colon != std::string_view::npos && name.substr(0, 5) != "xmlns" &&
        name.substr(colon + 1) == local) {
      return attribute;
    }
  }
  return node.attribute(std::string(local).c_str());
}

pugi::xml_node AddElement(pugi::xml_node parent, const std::string& prefix, const char* local) {
  return parent.append_child((prefix + local).c_str());
}

struct XmlPart {
  pugi::xml_document doc;
  bool changed = false;
};

void Parse(XmlPart& part, const QByteArray& bytes, const QString& name) {
  const pugi::xml_parse_result result = part.doc.load_buffer(
      bytes.constData(), static_cast<size_t>(bytes.size()),
      pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
  if (!result) {
    throw Error(QStringLiteral("The workbook part %1 cannot be read: %2.")
                    .arg(name, QString::fromUtf8(result.description())));
  }
}

class ByteWriter : public pugi::xml_writer {
 public:
  void write(const void* data, size_t size) override {
    bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
  }
  QByteArray bytes;
};

QByteArray Serialize(const pugi::xml_document& doc) {
  ByteWriter writer;
  doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
  return writer.bytes;
}

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"; "" -> "_rels/.rels".
QString RelsPathOf(const QString& part) {
  const int slash = static_cast<int>(part.lastIndexOf(QLatin1Char('/')));
  return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
         QStringLiteral(".rels");
}

QString ResolveTarget(const QString& source_part, const QString& target) {
  if (target.startsWith(QLatin1Char('/'))) return target.mid(1);
  const int slash = static_cast<int>(source_part.lastIndexOf(QLatin1Char('/')));
  return QDir::cleanPath(source_part.left(slash + 1) + target);
}

QString ColumnLetters(int column) {
  QString letters;
  while (column > 0) {
    const int digit = (column - 1) % 26;
    letters.prepend(QChar(u'A' + digit));
    column = (column - 1) / 26;
  }
  return letters;
}

std::string CellName(int row, int column) {
  return (ColumnLetters(column) + QString::number(row)).toStdString();
}

// Column and row of a reference like "AB12"; 0 for what is not one. A
// reference past the sheet's edge stops one past it, so a damaged one cannot
// overflow.
void ParseCellName(std::string_view name, int* row, int* column) {
  *row = 0;
  *column = 0;
  size_t i = 0;
  for (; i < name.size() && name[i] >= 'A' && name[i] <= 'Z'; ++i) {
    *column = std::min(*column * 26 + (name[i] - 'A' + 1), kMaxColumns + 1);
  }
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    *row = std::min(*row * 10 + (name[i] - '0'), kMaxRows + 1);
  }
}

// XML cannot hold most control characters; the spreadsheet format escapes
// them as _xHHHH_.
std::string CellText(const QString& text) {
  QString safe;
  safe.reserve(text.size());
  for (const QChar ch : text) {
    if (ch.unicode() < 0x20 && ch != u'\t' && ch != u'\n' && ch != u'\r') {
      safe += QStringLiteral("_x") +
              QString::number(ch.unicode(), 16).toUpper().rightJustified(4, u'0') +
              QStringLiteral("_");
    } else {
      safe += ch;
    }
  }
  return safe.toStdString();
}

constexpr char kBlankContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
    R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
    R"(</Types>)";

constexpr char kBlankRootRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";

constexpr char kBlankWorkbook[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets>)"
    R"(</workbook>)";

constexpr char kBlankWorkbookRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

constexpr char kBlankSheet[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheetData/></worksheet>)";

constexpr char kBlankStyles[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<fonts count="1"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
    R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
    R"(</styleSheet>)";

// ---- workbook

class XlsxWorkbook;

class XlsxWorksheet : public SpreadsheetWorksheet {
 public:
  XlsxWorksheet(XlsxWorkbook& workbook, QString part, const QByteArray& bytes);

  SheetCell Cells(int row, int column) override;
  SheetRange Range(const SheetCell& first, const SheetCell& last) override;
  void SetValue(const SheetRange& range, const SheetValues& values) override;

  const QString& PartName() const { return part_; }
  XmlPart& Xml() { return xml_; }

 private:
  pugi::xml_node RowNode(int row);
  pugi::xml_node CellNode(pugi::xml_node row_node, int row, int column);
  void WriteCell(pugi::xml_node cell, const QVariant& value);

  XlsxWorkbook& workbook_;
  QString part_;
  XmlPart xml_;
  pugi::xml_node sheet_data_;
  std::string prefix_;
  std::map<int, pugi::xml_node> rows_;
};

class XlsxWorkbook : public SpreadsheetWorkbook {
 public:
  explicit XlsxWorkbook(const QByteArray& bytes);

  SpreadsheetWorksheet& WorkSheets(int index) override;

  // A cell style like `style` showing numbers in `format`; `style` itself
  // when it already has a number format of its own.
  int NumberStyle(int style, int format);
  void FormulaRemoved() { formula_removed_ = true; }
  QByteArray Bytes();

 private:
  XmlPart& Styles();
  void AddStylesPart();

  XlsxPackage package_;
  QString workbook_part_;
  std::vector<std::unique_ptr<XlsxWorksheet>> sheets_;
  std::unique_ptr<XmlPart> styles_;
  QString styles_part_;
  std::map<std::pair<int, int>, int> number_styles_;
  bool formula_removed_ = false;
};

QString RelationshipTarget(const XlsxPackage& package, const QString& source_part,
                           const std::function<bool(const pugi::xml_node&)>& match) {
  const QString rels_path = RelsPathOf(source_part);
  XmlPart rels;
  Parse(rels, package.Part(rels_path), rels_path);
  for (pugi::xml_node rel : rels.doc.document_element().children()) {
    if (LocalName(rel) == "Relationship" && match(rel)) {
      return ResolveTarget(source_part, QString::fromUtf8(rel.attribute("Target").value()));
    }
  }
  return QString();
}

bool TypeEndsWith(const pugi::xml_node& rel, std::string_view suffix) {
  const std::string_view type = rel.attribute("Type").value();
  return type.size() >= suffix.size() && type.substr(type.size() - suffix.size()) == suffix;
}

XlsxWorkbook::XlsxWorkbook(const QByteArray& bytes) : package_(XlsxPackage::FromBytes(bytes)) {
  workbook_part_ = RelationshipTarget(package_, QString(), [](const pugi::xml_node& rel) {
    return TypeEndsWith(rel, "/officeDocument");
  });
  if (workbook_part_.isEmpty() || !package_.Has(workbook_part_)) {
    throw Error(QStringLiteral("The file is not a spreadsheet workbook."));
  }
}

SpreadsheetWorksheet& XlsxWorkbook::WorkSheets(int index) {
  XmlPart workbook;
  Parse(workbook, package_.Part(workbook_part_), workbook_part_);
  // Sheets in tab order; chart sheets are not worksheets and do not count.
  QStringList parts;
  for (pugi::xml_node sheet : Child(workbook.doc.document_element(), "sheets").children()) {
    if (LocalName(sheet) != "sheet") continue;
    const std::string id = LocalAttribute(sheet, "id").value();
    const QString part =
        RelationshipTarget(package_, workbook_part_, [&](const pugi::xml_node& rel) {
          return rel.attribute("Id").value() == id && TypeEndsWith(rel, "/worksheet");
        });
    if (!part.isEmpty()) parts << part;
  }
  if (index < 1 || index > parts.size() || !package_.Has(parts[index - 1])) {
    throw Error(QStringLiteral("The workbook has no worksheet %1.").arg(index));
  }
  const QString part = parts[index - 1];
  for (const auto& sheet : sheets_) {
    if (sheet->PartName() == part) return *sheet;
  }
  sheets_.push_back(std::make_unique<XlsxWorksheet>(*this, part, package_.Part(part)));
  return *sheets_.back();
}

XmlPart& XlsxWorkbook::Styles() {
  if (styles_) return *styles_;
  styles_part_ = RelationshipTarget(package_, workbook_part_, [](const pugi::xml_node& rel) {
    return TypeEndsWith(rel, "/styles");
  });
  if (styles_part_.isEmpty() || !package_.Has(styles_part_)) AddStylesPart();
  styles_ = std::make_unique<XmlPart>();
  Parse(*styles_, package_.Part(styles_part_), styles_part_);
  return *styles_;
}

void XlsxWorkbook::AddStylesPart() {
  const int slash = static_cast<int>(workbook_part_.lastIndexOf(QLatin1Char('/')));
  styles_part_ = workbook_part_.left(slash + 1) + QStringLiteral("styles.xml");
  package_.SetPart(styles_part_, QByteArray(kBlankStyles));

  const QString rels_path = RelsPathOf(workbook_part_);
  XmlPart rels;
  if (package_.Has(rels_path)) {
    Parse(rels, package_.Part(rels_path), rels_path);
  } else {
    rels.doc.append_child("Relationships").append_attribute("xmlns") = kPackageRelNs;
  }
  pugi::xml_node root = rels.doc.document_element();
  QString id;
  for (int n = 1; id.isEmpty(); ++n) {
    const QString candidate = QStringLiteral("rIdStyles%1").arg(n);
    if (!root.find_child_by_attribute("Id", candidate.toUtf8().constData())) id = candidate;
  }
  pugi::xml_node rel = AddElement(root, PrefixOf(root), "Relationship");
  rel.append_attribute("Id") = id.toUtf8().constData();
  rel.append_attribute("Type") = kStylesType;
  rel.append_attribute("Target") = ("/" + styles_part_).toUtf8().constData();
  package_.SetPart(rels_path, Serialize(rels.doc));

  const QString types_path = QStringLiteral("[Content_Types].xml");
  XmlPart types;
  Parse(types, package_.Part(types_path), types_path);
  pugi::xml_node types_root = types.doc.document_element();
  pugi::xml_node override_node = AddElement(types_root, PrefixOf(types_root), "Override");
  override_node.append_attribute("PartName") = ("/" + styles_part_).toUtf8().constData();
  override_node.append_attribute("ContentType") = kStylesContentType;
  package_.SetPart(types_path, Serialize(types.doc));
}

int XlsxWorkbook::NumberStyle(int style, int format) {
  const auto known = number_styles_.find({style, format});
  if (known != number_styles_.end()) return known->second;
  XmlPart& styles = Styles();
  pugi::xml_node root = styles.doc.document_element();
  pugi::xml_node cell_xfs = Child(root, "cellXfs");
  if (!cell_xfs) {
    // cellXfs follows the parts a style refers to; put it before the rest.
    pugi::xml_node before;
    for (const char* later : {"cellStyles", "dxfs", "tableStyles", "colors", "extLst"}) {
      if ((before = Child(root, later))) break;
    }
    const std::string name = PrefixOf(root) + "cellXfs";
    cell_xfs =
        before ? root.insert_child_before(name.c_str(), before) : root.append_child(name.c_str());
  }
  std::vector<pugi::xml_node> xfs;
  for (pugi::xml_node xf : cell_xfs.children()) {
    if (LocalName(xf) == "xf") xfs.push_back(xf);
  }
  pugi::xml_node base = style >= 0 && style < static_cast<int>(xfs.size())
                            ? xfs[static_cast<size_t>(style)]
                            : pugi::xml_node();
  int result = style;
  if (!base || base.attribute("numFmtId").as_int(0) == 0) {
    pugi::xml_node xf =
        base ? cell_xfs.append_copy(base) : AddElement(cell_xfs, PrefixOf(cell_xfs), "xf");
    if (!base) {
      for (const char* id : {"fontId", "fillId", "borderId", "xfId"}) xf.append_attribute(id) = 0;
    }
    if (!xf.attribute("numFmtId")) xf.append_attribute("numFmtId");
    xf.attribute("numFmtId") = format;
    if (!xf.attribute("applyNumberFormat")) xf.append_attribute("applyNumberFormat");
    xf.attribute("applyNumberFormat") = 1;
    result = static_cast<int>(xfs.size());
    if (!cell_xfs.attribute("count")) cell_xfs.append_attribute("count");
    cell_xfs.attribute("count") = result + 1;
    styles.changed = true;
  }
  number_styles_[{style, format}] = result;
  return result;
}

QByteArray XlsxWorkbook::Bytes() {
  for (const auto& sheet : sheets_) {
    if (sheet->Xml().changed) package_.SetPart(sheet->PartName(), Serialize(sheet->Xml().doc));
  }
  if (styles_ && styles_->changed) package_.SetPart(styles_part_, Serialize(styles_->doc));
  if (formula_removed_) {
    // The calculation chain lists formula cells; one that lost its formula
    // would make the workbook look damaged. The program rebuilds the chain.
    const QString chain = RelationshipTarget(
        package_, workbook_part_,
        [](const pugi::xml_node& rel) { return TypeEndsWith(rel, "/calcChain"); });
    if (!chain.isEmpty()) {
      package_.RemovePart(chain);
      const QString rels_path = RelsPathOf(workbook_part_);
      XmlPart rels;
      Parse(rels, package_.Part(rels_path), rels_path);
      for (pugi::xml_node rel : rels.doc.document_element().children()) {
        if (TypeEndsWith(rel, "/calcChain")) {
          rels.doc.document_element().remove_child(rel);
          break;
        }
      }
      package_.SetPart(rels_path, Serialize(rels.doc));
      const QString types_path = QStringLiteral("[Content_Types].xml");
      XmlPart types;
      Parse(types, package_.Part(types_path), types_path);
      const std::string name = ("/" + chain).toStdString();
      for (pugi::xml_node type : types.doc.document_element().children()) {
        if (std::string_view(type.attribute("PartName").value()) == name) {
          types.doc.document_element().remove_child(type);
          break;
        }
      }
      package_.SetPart(types_path, Serialize(types.doc));
    }
    formula_removed_ = false;
  }
  return package_.ToBytes();
}

XlsxWorksheet::XlsxWorksheet(XlsxWorkbook& workbook, QString part, const QByteArray& bytes)
    : workbook_(workbook), part_(std::move(part)) {
  Parse(xml_, bytes, part_);
  pugi::xml_node root = xml_.doc.document_element();
  sheet_data_ = Child(root, "sheetData");
  if (!sheet_data_) throw Error(QStringLiteral("The worksheet %1 has no cells.").arg(part_));
  prefix_ = PrefixOf(sheet_data_);
  int implicit = 0;
  for (pugi::xml_node row : sheet_data_.children()) {
    if (LocalName(row) != "row") continue;
    const int r = row.attribute("r").as_int(implicit + 1);
    if (!row.attribute("r")) row.append_attribute("r") = r;
    rows_[r] = row;
    implicit = r;
  }
}

SheetCell XlsxWorksheet::Cells(int row, int column) {
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
    throw Error(QStringLiteral("The cell at row %1, column %2 lies outside the worksheet.")
                    .arg(row)
                    .arg(column));
  }
  return {row, column};
}

SheetRange XlsxWorksheet::Range(const SheetCell& first, const SheetCell& last) {
  return {first, last};
}

pugi::xml_node XlsxWorksheet::RowNode(int row) {
  const auto found = rows_.find(row);
  if (found != rows_.end()) return found->second;
  const std::string name = prefix_ + "row";
  const auto next = rows_.upper_bound(row);
  pugi::xml_node node = next == rows_.end()
                            ? sheet_data_.append_child(name.c_str())
                            : sheet_data_.insert_child_before(name.c_str(), next->second);
  node.append_attribute("r") = row;
  rows_[row] = node;
  return node;
}

pugi::xml_node XlsxWorksheet::CellNode(pugi::xml_node row_node, int row, int column) {
  const std::string name = prefix_ + "c";
  const std::string reference = CellName(row, column);
  int implicit = 0;
  for (pugi::xml_node cell : row_node.children()) {
    if (LocalName(cell) != "c") continue;
    int cell_row = 0, cell_column = implicit + 1;
    if (cell.attribute("r")) ParseCellName(cell.attribute("r").value(), &cell_row, &cell_column);
    implicit = cell_column;
    if (cell_column == column) {
      if (!cell.attribute("r")) cell.append_attribute("r") = reference.c_str();
      return cell;
    }
    if (cell_column > column) {
      pugi::xml_node added = row_node.insert_child_before(name.c_str(), cell);
      added.append_attribute("r") = reference.c_str();
      return added;
    }
  }
  pugi::xml_node added = row_node.append_child(name.c_str());
  added.append_attribute("r") = reference.c_str();
  return added;
}

void XlsxWorksheet::WriteCell(pugi::xml_node cell, const QVariant& value) {
  cell.remove_attribute("t");
  while (pugi::xml_node child = cell.first_child()) {
    if (LocalName(child) == "f") workbook_.FormulaRemoved();
    cell.remove_child(child);
  }
  if (value.isNull()) return;
  const auto number = [&](const QString& text) {
    AddElement(cell, prefix_, "v").text().set(text.toUtf8().constData());
  };
  const auto styled = [&](int format) {
    const int style = workbook_.NumberStyle(cell.attribute("s").as_int(0), format);
    if (!cell.attribute("s")) cell.append_attribute("s");
    cell.attribute("s") = style;
  };
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      number(QString::number(value.toLongLong()));
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      number(QString::number(value.toDouble(), 'g', 17));
      break;
    case QMetaType::QDate:
      number(QString::number(value.toDate().toJulianDay() - QDate(1899, 12, 30).toJulianDay()));
      styled(kDateFormat);
      break;
    case QMetaType::QTime:
      number(QString::number(value.toTime().msecsSinceStartOfDay() / 86400000.0, 'g', 17));
      styled(kTimeFormat);
      break;
    default: {
      cell.append_attribute("t") = "inlineStr";
      const QString text = value.toString();
      pugi::xml_node t = AddElement(AddElement(cell, prefix_, "is"), prefix_, "t");
      if (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace())) {
        t.append_attribute("xml:space") = "preserve";
      }
      t.text().set(CellText(text).c_str());
      break;
    }
  }
}

void XlsxWorksheet::SetValue(const SheetRange& range, const SheetValues& values) {
  for (int row = range.first.row; row <= range.last.row; ++row) {
    pugi::xml_node row_node = RowNode(row);
    // The row's cell span is a hint that the block may have made wrong.
    row_node.remove_attribute("spans");
    const qsizetype i = row - range.first.row;
    for (int column = range.first.column; column <= range.last.column; ++column) {
      const qsizetype j = column - range.first.column;
      const QVariant value = i < values.size() && j < values[i].size() ? values[i][j] : QVariant();
      WriteCell(CellNode(row_node, row, column), value);
    }
  }
  // The used area is optional and recomputed by the program that opens it.
  if (pugi::xml_node dimension = Child(xml_.doc.document_element(), "dimension")) {
    xml_.doc.document_element().remove_child(dimension);
  }
  xml_.changed = true;
}

class XlsxApplication : public SpreadsheetApplication {
 public:
  XlsxApplication(DesktopOpener& opener, QString folder, QStringList& written)
      : opener_(opener), folder_(std::move(folder)), written_(written) {}

  void SetEnableEvents(bool) override {}
  SpreadsheetWorkbook& WorkBooksAdd() override { return Add(BlankWorkbook()); }
  SpreadsheetWorkbook& WorkBooksAdd(const QString& template_path) override {
    return Add(ReadWholeFile(template_path));
  }
  void SetVisible(bool on) override;

 private:
  SpreadsheetWorkbook& Add(const QByteArray& bytes) {
    workbooks_.push_back(std::make_unique<XlsxWorkbook>(bytes));
    return *workbooks_.back();
  }
  QString NewFilePath() const;

  DesktopOpener& opener_;
  QString folder_;
  QStringList& written_;
  std::vector<std::unique_ptr<XlsxWorkbook>> workbooks_;
  size_t shown_ = 0;
};

QString XlsxApplication::NewFilePath() const {
  const QString stem = folder_ + QStringLiteral("/ravell-export-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
  QString path = stem + QStringLiteral(".xlsx");
  for (int n = 2; QFileInfo::exists(path); ++n) path = stem + QStringLiteral("-%1.xlsx").arg(n);
  return path;
}

void XlsxApplication::SetVisible(bool on) {
  if (!on) return;
  for (; shown_ < workbooks_.size(); ++shown_) {
    const QString path = NewFilePath();
    WriteFileAtomic(path, workbooks_[shown_]->Bytes());
    written_ << path;
    if (!opener_.Open(path)) {
      throw Error(QStringLiteral("The workbook %1 was written, but no program could open it.")
                      .arg(QDir::toNativeSeparators(path)));
    }
  }
}

}  // namespace

XlsxPackage XlsxPackage::FromBytes(const QByteArray& zip) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source =
      zip_source_buffer_create(zip.constData(), static_cast<zip_uint64_t>(zip.size()), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  if (!archive) {
    if (source) zip_source_free(source);
    const ZipError failure(&error);
    zip_error_fini(&error);
    throw failure;
  }
  XlsxPackage package;
  const zip_int64_t entries = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < entries; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0) continue;
    const QString name = QString::fromUtf8(stat.name);
    if (name.endsWith(QLatin1Char('/'))) continue;
    if (stat.size > kMaxPartSize) {
      zip_discard(archive);
      throw Error(QStringLiteral("The workbook part %1 is too large.").arg(name));
    }
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    const zip_int64_t read = file ? zip_fread(file, bytes.data(), stat.size) : -1;
    if (file) zip_fclose(file);
    if (read != static_cast<zip_int64_t>(stat.size)) {
      zip_discard(archive);
      throw Error(QStringLiteral("The workbook part %1 cannot be read.").arg(name));
    }
    package.parts_.emplace_back(name, bytes);
  }
  zip_discard(archive);
  return package;
}

QByteArray XlsxPackage::ToBytes() const {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!source) throw ZipError(&error);
  zip_source_keep(source);
  zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
  if (!archive) {
    zip_source_free(source);
    throw ZipError(&error);
  }
  for (const auto& [name, bytes] : parts_) {
    zip_source_t* part =
        zip_source_buffer(archive, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
    const zip_int64_t index =
        part ? zip_file_add(archive, name.toUtf8().constData(), part, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (part) zip_source_free(part);
      const ZipError failure(zip_get_error(archive));
      zip_discard(archive);
      zip_source_free(source);
      throw failure;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
  }
  if (zip_close(archive) != 0) {
    const ZipError failure(zip_get_error(archive));
    zip_discard(archive);
    zip_source_free(source);
    throw failure;
  }
  QByteArray zip;
  if (zip_source_open(source) == 0) {
    zip_source_seek(source, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(source);
    zip_source_seek(source, 0, SEEK_SET);
    zip.resize(static_cast<qsizetype>(std::max<zip_int64_t>(size, 0)));
    const zip_int64_t read =
        zip_source_read(source, zip.data(), static_cast<zip_uint64_t>(zip.size()));
    zip_source_close(source);
    if (read != size) zip.clear();
  }
  zip_source_free(source);
  if (zip.isEmpty()) throw Error(QStringLiteral("The workbook could not be composed."));
  return zip;
}

bool XlsxPackage::Has(const QString& name) const {
  for (const auto& part : parts_) {
    if (part.first == name) return true;
  }
  return false;
}

QByteArray XlsxPackage::Part(const QString& name) const {
  for (const auto& part : parts_) {
    if (part.first == name) return part.second;
  }
  return QByteArray();
}

void XlsxPackage::SetPart(const QString& name, const QByteArray& bytes) {
  for (auto& part : parts_) {
    if (part.first == name) {
      part.second = bytes;
      return;
    }
  }
  parts_.emplace_back(name, bytes);
}

void XlsxPackage::RemovePart(const QString& name) {
  std::erase_if(parts_, [&](const auto& part) { return part.first == name; });
}

QStringList XlsxPackage::Names() const {
  QStringList names;
  for (const auto& part : parts_) names << part.first;
  return names;
}

QByteArray BlankWorkbook() {
  // Composed once: every "New sheet" starts from the same bytes.
  static const QByteArray bytes = [] {
    XlsxPackage package;
    package.SetPart(QStringLiteral("[Content_Types].xml"), kBlankContentTypes);
    package.SetPart(QStringLiteral("_rels/.rels"), kBlankRootRels);
    package.SetPart(QStringLiteral("xl/workbook.xml"), kBlankWorkbook);
    package.SetPart(QStringLiteral("xl/_rels/workbook.xml.rels"), kBlankWorkbookRels);
    package.SetPart(QStringLiteral("xl/worksheets/sheet1.xml"), kBlankSheet);
    package.SetPart(QStringLiteral("xl/styles.xml"), kBlankStyles);
    return package.ToBytes();
  }();
  return bytes;
}

XlsxAutomation::XlsxAutomation(DesktopOpener& opener, QString folder)
    : opener_(opener), folder_(std::move(folder)) {}

bool XlsxAutomation::ClassFromProgId(const QString& prog_id) {
  return prog_id == QLatin1String(kSpreadsheetProgId) &&
         opener_.HasProgramFor(QString::fromLatin1(kXlsxMimeType));
}

std::unique_ptr<SpreadsheetApplication> XlsxAutomation::CreateObject(const QString& prog_id) {
  if (prog_id != QLatin1String(kSpreadsheetProgId)) {
    throw Error(QStringLiteral("Invalid class string"));
  }
  return std::make_unique<XlsxApplication>(opener_, folder_, written_);
}

}  // namespace ravell
