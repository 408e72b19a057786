#include "reportpreview.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "error.h"
#include "reportrender.h"

namespace ravell {
namespace {

constexpr char kPdfFilter[] = "PDF files (*.pdf)";
constexpr char kTextFilter[] = "Text files (*.txt)";
constexpr char kHtmlFilter[] = "HTML files (*.html *.htm)";

}  // namespace

ReportPreview::ReportPreview(const ReportDocument& document, const QString& title,
                             MessageBoxes& messages, QWidget* parent)
    : QDialog(parent),
      document_(document),
      title_(title),
      messages_(messages),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setObjectName(QStringLiteral("ReportPreview"));
  setWindowTitle(QStringLiteral("Report preview"));
  setModal(true);
  resize(1000, 720);

  // The layout already holds the margins: the printer paints the whole sheet.
  printer_->setDocName(title_);
  printer_->setFullPage(true);
  printer_->setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  tool_bar_ = new QToolBar(this);
  tool_bar_->setObjectName(QStringLiteral("PreviewToolBar"));
  tool_bar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  layout->addWidget(tool_bar_);

  view_ = new QPrintPreviewWidget(printer_.get(), this);
  view_->setObjectName(QStringLiteral("PreviewPages"));
  view_->setAccessibleName(QStringLiteral("Report pages"));
  view_->setZoomMode(QPrintPreviewWidget::FitToWidth);
  // No exception may leave a slot: a page view that cannot paint stays empty.
  connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
    try {
      PaintReport(document_, *printer);
    } catch (const Error&) {
    }
  });
  connect(view_, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::UpdatePageLabel);
  layout->addWidget(view_, 1);

  AddButton("PrintButton", QStringLiteral("Print..."), QStringLiteral("Ctrl+P"),
            &ReportPreview::PrintClick);
  AddButton("SaveButton", QStringLiteral("Save..."), QStringLiteral("Ctrl+S"),
            &ReportPreview::SaveClick);
  tool_bar_->addSeparator();
  AddButton("ZoomInButton", QStringLiteral("Zoom in"), QStringLiteral("Ctrl++"), nullptr);
  AddButton("ZoomOutButton", QStringLiteral("Zoom out"), QStringLiteral("Ctrl+-"), nullptr);
  AddButton("FitWidthButton", QStringLiteral("Fit width"), QString(), nullptr);
  AddButton("WholePageButton", QStringLiteral("Whole page"), QString(), nullptr);
  tool_bar_->addSeparator();
  AddButton("FirstPageButton", QStringLiteral("First page"), QStringLiteral("Home"),
            &ReportPreview::FirstPageClick);
  AddButton("PriorPageButton", QStringLiteral("Previous page"), QStringLiteral("PgUp"),
            &ReportPreview::PriorPageClick);
  page_label_ = new QLabel(tool_bar_);
  page_label_->setObjectName(QStringLiteral("PageLabel"));
  page_label_->setContentsMargins(8, 0, 8, 0);
  tool_bar_->addWidget(page_label_);
  AddButton("NextPageButton", QStringLiteral("Next page"), QStringLiteral("PgDown"),
            &ReportPreview::NextPageClick);
  AddButton("LastPageButton", QStringLiteral("Last page"), QStringLiteral("End"),
            &ReportPreview::LastPageClick);
  tool_bar_->addSeparator();
  AddButton("CloseButton", QStringLiteral("Close"), QString(), nullptr);

  const auto action = [this](const char* name) {
    return tool_bar_->findChild<QAction*>(QString::fromLatin1(name));
  };
  connect(action("ZoomInButton"), &QAction::triggered, view_, [this] { view_->zoomIn(); });
  connect(action("ZoomOutButton"), &QAction::triggered, view_, [this] { view_->zoomOut(); });
  connect(action("FitWidthButton"), &QAction::triggered, view_, &QPrintPreviewWidget::fitToWidth);
  connect(action("WholePageButton"), &QAction::triggered, view_, &QPrintPreviewWidget::fitInView);
  connect(action("CloseButton"), &QAction::triggered, this, &QDialog::accept);
  view_->updatePreview();
  UpdatePageLabel();
}

ReportPreview::~ReportPreview() = default;

QAction* ReportPreview::AddButton(const char* name, const QString& text, const QString& shortcut,
                                  void (ReportPreview::*click)()) {
  auto* action = new QAction(text, tool_bar_);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) action->setShortcut(QKeySequence(shortcut));
  action->setToolTip(text);
  tool_bar_->addAction(action);
  if (QWidget* button = tool_bar_->widgetForAction(action)) {
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(text);
  }
  if (click) connect(action, &QAction::triggered, this, click);
  return action;
}

int ReportPreview::PageCount() const { return view_->pageCount(); }
int ReportPreview::CurrentPage() const { return view_->currentPage(); }

void ReportPreview::ShowPage(int page) {
  view_->setCurrentPage(std::clamp(page, 1, std::max(1, PageCount())));
  UpdatePageLabel();
}

void ReportPreview::UpdatePageLabel() {
  page_label_->setText(QStringLiteral("Page %1 of %2").arg(CurrentPage()).arg(PageCount()));
}

void ReportPreview::FirstPageClick() { ShowPage(1); }
void ReportPreview::PriorPageClick() { ShowPage(CurrentPage() - 1); }
void ReportPreview::NextPageClick() { ShowPage(CurrentPage() + 1); }
void ReportPreview::LastPageClick() { ShowPage(PageCount()); }

void ReportPreview::PrintClick() {
  QPrintDialog dialog(printer_.get(), this);
  dialog.setWindowTitle(QStringLiteral("Print report"));
  dialog.setMinMax(1, std::max(1, PageCount()));
  if (dialog.exec() != QDialog::Accepted) return;
  try {
    PaintReport(document_, *printer_);
  } catch (const Error& error) {
    messages_.Show(error.message(), QString(), MsgIcon::kError);
  }
}

void ReportPreview::SaveClick() {
  QString filter = QString::fromLatin1(kPdfFilter);
  const QString folder = QCoreApplication::applicationDirPath();
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save report"), folder + QStringLiteral("/report.pdf"),
      QStringList{QString::fromLatin1(kPdfFilter), QString::fromLatin1(kTextFilter),
                  QString::fromLatin1(kHtmlFilter)}
          .join(QStringLiteral(";;")),
      &filter);
  if (path.isEmpty()) return;
  // A name typed without an extension takes the chosen type's.
  if (QFileInfo(path).suffix().isEmpty()) {
    path += filter == QLatin1String(kTextFilter)   ? QStringLiteral(".txt")
            : filter == QLatin1String(kHtmlFilter) ? QStringLiteral(".html")
                                                   : QStringLiteral(".pdf");
  }
  SaveTo(path);
}

bool ReportPreview::SaveTo(const QString& path) {
  try {
    SaveReport(document_, path, title_);
    return true;
  } catch (const Error& error) {
    messages_.Show(error.message(), QString(), MsgIcon::kError);
    return false;
  }
}

}  // namespace ravell
