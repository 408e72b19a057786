#pragma once

#include <QDialog>
#include <memory>

#include "messages.h"
#include "reportengine.h"

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;

namespace ravell {

// The modal preview of a generated report: page view, zoom, page
// navigation, printing and saving as PDF, plain text or HTML.
class ReportPreview : public QDialog {
  Q_OBJECT

 public:
  ReportPreview(const ReportDocument& document, const QString& title, MessageBoxes& messages,
                QWidget* parent = nullptr);
  ~ReportPreview() override;

  QPrintPreviewWidget* View() const { return view_; }
  QToolBar* ToolBar() const { return tool_bar_; }
  int PageCount() const;
  int CurrentPage() const;

  // Writes the report by the file's extension (.pdf, .html, else text);
  // false after telling the user why it failed.
  bool SaveTo(const QString& path);

  void PrintClick();
  void SaveClick();
  void FirstPageClick();
  void PriorPageClick();
  void NextPageClick();
  void LastPageClick();

 private:
  QAction* AddButton(const char* name, const QString& text, const QString& shortcut,
                     void (ReportPreview::*click)());
  void ShowPage(int page);
  void UpdatePageLabel();

  const ReportDocument& document_;
  QString title_;
  MessageBoxes& messages_;
  std::unique_ptr<QPrinter> printer_;
  QPrintPreviewWidget* view_ = nullptr;
  QToolBar* tool_bar_ = nullptr;
  QLabel* page_label_ = nullptr;
};

}  // namespace ravell
