#pragma once
// Widget test helpers: find a control by name, answer a modal dialog.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ravell::testing {

template <typename T>
T* Child(const QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(QLatin1String(name));
  if (!child) qFatal("no child %s", name);
  return child;
}

// Runs the action on the modal dialog once its own event loop runs.
inline void WhenModal(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) qFatal("no modal dialog");
    action(modal);
  });
}

}  // namespace ravell::testing
