#include "aboutdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "guiversion.h"

namespace ravell {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QString::fromLatin1("AboutDialog"));
  setWindowTitle(tr("About Ravell"));

  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(tr("Ravell"));
  name->setObjectName(QString::fromLatin1("ProgramNameLabel"));
  QFont name_font = name->font();
  name_font.setBold(true);
  name_font.setPointSizeF(name_font.pointSizeF() * 2);
  name->setFont(name_font);
  layout->addWidget(name);

  auto* version = new QLabel(tr("Version %1").arg(FullVersionText()));
  version->setObjectName(QString::fromLatin1("VersionLabel"));
  version->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(version);

  auto* description =
      new QLabel(tr("A personal time tracker. Start, pause and switch tasks under your projects, "
                    "plan their times, keep a to-do list, and look back on your work with the "
                    "Ravell reporter."));
  description->setObjectName(QString::fromLatin1("DescriptionLabel"));
  description->setWordWrap(true);
  description->setMinimumWidth(320);
  layout->addWidget(description);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace ravell
