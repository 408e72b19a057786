#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

#include "desktopopener.h"
#include "spreadsheet.h"

namespace ravell {

inline constexpr char kXlsxMimeType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// The zip container of a workbook: its parts by name, in stored order.
class XlsxPackage {
 public:
  // Throws Error when the bytes are not a zip archive.
  static XlsxPackage FromBytes(const QByteArray& zip);
  QByteArray ToBytes() const;

  bool Has(const QString& name) const;
  // Empty for a missing part.
  QByteArray Part(const QString& name) const;
  // Replaces the part or adds it at the end.
  void SetPart(const QString& name, const QByteArray& bytes);
  void RemovePart(const QString& name);
  QStringList Names() const;

 private:
  std::vector<std::pair<QString, QByteArray>> parts_;
};

// The built-in blank workbook: one empty worksheet and default styles.
QByteArray BlankWorkbook();

// The spreadsheet application of this platform: each workbook is an .xlsx
// package (the blank one or a copy of a template) changed in memory; making
// the application visible writes every new workbook to a file of its own in
// `folder` and opens it with the desktop's program for .xlsx files.
class XlsxAutomation : public SpreadsheetAutomation {
 public:
  explicit XlsxAutomation(DesktopOpener& opener, QString folder = QDir::tempPath());

  bool ClassFromProgId(const QString& prog_id) override;
  std::unique_ptr<SpreadsheetApplication> CreateObject(const QString& prog_id) override;

  // The workbook files written, in order.
  const QStringList& Written() const { return written_; }

 private:
  DesktopOpener& opener_;
  QString folder_;
  QStringList written_;
};

}  // namespace ravell
