#pragma once
// A spreadsheet application that records the calls made on it, and a desktop
// that opens nothing.

#include <QString>
#include <QStringList>
#include <memory>

#include "desktopopener.h"
#include "spreadsheet.h"

namespace ravell::testing {

class RecordingSpreadsheet : public SpreadsheetAutomation {
 public:
  bool ClassFromProgId(const QString& prog_id) override {
    calls << QStringLiteral("ClassFromProgId(%1)").arg(prog_id);
    return registered;
  }
  std::unique_ptr<SpreadsheetApplication> CreateObject(const QString& prog_id) override {
    calls << QStringLiteral("CreateObject(%1)").arg(prog_id);
    return std::make_unique<Application>(*this);
  }

  bool registered = true;
  QStringList calls;
  SheetValues values;  // the last Range.Value

 private:
  class Application : public SpreadsheetApplication, SpreadsheetWorkbook, SpreadsheetWorksheet {
   public:
    explicit Application(RecordingSpreadsheet& log) : log_(log) {}
    void SetEnableEvents(bool on) override {
      log_.calls << QStringLiteral("EnableEvents(%1)").arg(on ? "true" : "false");
    }
    SpreadsheetWorkbook& WorkBooksAdd() override {
      log_.calls << QStringLiteral("WorkBooks.Add()");
      return *this;
    }
    SpreadsheetWorkbook& WorkBooksAdd(const QString& path) override {
      log_.calls << QStringLiteral("WorkBooks.Add(%1)").arg(path);
      return *this;
    }
    void SetVisible(bool on) override {
      log_.calls << QStringLiteral("Visible(%1)").arg(on ? "true" : "false");
    }
    SpreadsheetWorksheet& WorkSheets(int index) override {
      log_.calls << QStringLiteral("WorkSheets(%1)").arg(index);
      return *this;
    }
    SheetCell Cells(int row, int column) override {
      log_.calls << QStringLiteral("Cells(%1,%2)").arg(row).arg(column);
      return {row, column};
    }
    SheetRange Range(const SheetCell& first, const SheetCell& last) override {
      log_.calls << QStringLiteral("Range(%1,%2:%3,%4)")
                        .arg(first.row)
                        .arg(first.column)
                        .arg(last.row)
                        .arg(last.column);
      return {first, last};
    }
    void SetValue(const SheetRange&, const SheetValues& values) override {
      log_.calls << QStringLiteral("Value(%1x%2)")
                        .arg(values.size())
                        .arg(values.isEmpty() ? 0 : values[0].size());
      log_.values = values;
    }

   private:
    RecordingSpreadsheet& log_;
  };
};

class FakeDesktop : public DesktopOpener {
 public:
  bool HasProgramFor(const QString&) override { return has_program; }
  bool Open(const QString& path) override {
    opened << path;
    return opens;
  }
  bool has_program = true;
  bool opens = true;
  QStringList opened;
};

}  // namespace ravell::testing
