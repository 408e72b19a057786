#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace ravell {

class MessageBoxes;

// The project dialog TForm8: a project's name and hourly rate. OK accepts
// only a rate that reads as a number, written back with two decimals, and a
// name the project list can keep.
class ProjectDialog : public QDialog {
  Q_OBJECT
 public:
  // Warnings go through messages; a plain warning box when null.
  explicit ProjectDialog(MessageBoxes* messages, QWidget* parent = nullptr);

  void SetFields(const QString& caption, const QString& name, const QString& rate);
  QString ProjectText() const;
  QString RateText() const;

  void Button1Click();

 private:
  void Warn(const QString& text, QLineEdit* focus);
  void CentreOnOwner();

  MessageBoxes* messages_;
  QLineEdit* project_;
  QLineEdit* rate_;
  QPushButton* button1_;
  QPushButton* button2_;
};

}  // namespace ravell
