#include "guilayout.h"

#include <QStringList>

namespace ravell {

namespace {

const QString kSectionName = QLatin1String(GuiLayout::kSection);

std::optional<int> ReadInteger(const Settings& settings, const QString& key) {
  const QString text = settings.Read(kSectionName, key);
  if (text.isEmpty()) return std::nullopt;
  // Only plain decimal digits with an optional sign; toInt alone would also
  // take blanks inside the value.
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool sign = i == 0 && (c == u'-' || c == u'+') && text.size() > 1;
    if (!sign && (c < u'0' || c > u'9')) return std::nullopt;
  }
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

QString YesNo(bool on) { return on ? QStringLiteral("Yes") : QStringLiteral("No"); }

}  // namespace

QString BarFlagsText(const BarFlags& flags) {
  QString text;
  if (flags.visible) text += QStringLiteral("Visible;");
  if (flags.captions) text += QStringLiteral("Captions;");
  if (flags.list) text += QStringLiteral("List;");
  return text;
}

BarFlags ParseBarFlags(const QString& text) {
  BarFlags flags;
  qsizetype from = 0;
  for (;;) {
    const qsizetype end = text.indexOf(QLatin1Char(';'), from);
    if (end < 0) break;
    const QString word = text.mid(from, end - from);
    if (word.isEmpty()) break;
    if (word == QLatin1String("Visible")) flags.visible = true;
    if (word == QLatin1String("Captions")) flags.captions = true;
    if (word == QLatin1String("List")) flags.list = true;
    from = end + 1;
  }
  return flags;
}

BarFlags ReadBarFlags(const Settings& settings, const QString& bar_name) {
  return ParseBarFlags(settings.ini().Read(kSectionName, bar_name, QStringLiteral("Visible;")));
}

GuiLayout ReadGuiLayout(const Settings& settings) {
  GuiLayout layout;
  auto yes = [&](const char* key) {
    return settings.ini().Read(kSectionName, QLatin1String(key), QStringLiteral("Yes")) ==
           QLatin1String("Yes");
  };
  auto bar = [&](const char* key) { return ReadBarFlags(settings, QLatin1String(key)); };
  layout.todo_visible = yes("ToDoVisible");
  layout.log_visible = yes("LogVisible");
  layout.rate_visible = yes("RateVisible");
  layout.window_top = ReadInteger(settings, QStringLiteral("WindowTop"));
  layout.window_left = ReadInteger(settings, QStringLiteral("WindowLeft"));
  layout.window_width = ReadInteger(settings, QStringLiteral("WindowWidth"));
  layout.window_height = ReadInteger(settings, QStringLiteral("WindowHeight"));
  layout.log_height = ReadInteger(settings, QStringLiteral("LogHeight"));
  layout.todo_width = ReadInteger(settings, QStringLiteral("ToDoWidth"));
  layout.options_bar = bar("OptionsBar");
  layout.vis_bar = bar("VisBar");
  layout.context_bar = bar("ContextBar");
  return layout;
}

void WriteGuiLayout(Settings& settings, const GuiLayout& layout) {
  auto write = [&](const char* key, const QString& value) {
    settings.Write(kSectionName, QLatin1String(key), value);
  };
  auto write_number = [&](const char* key, const std::optional<int>& value) {
    if (value) write(key, QString::number(*value));
  };
  write("ToDoVisible", YesNo(layout.todo_visible));
  write("LogVisible", YesNo(layout.log_visible));
  write("RateVisible", YesNo(layout.rate_visible));
  write_number("WindowTop", layout.window_top);
  write_number("WindowLeft", layout.window_left);
  write_number("WindowWidth", layout.window_width);
  write_number("WindowHeight", layout.window_height);
  write_number("LogHeight", layout.log_height);
  write_number("ToDoWidth", layout.todo_width);
  write("OptionsBar", BarFlagsText(layout.options_bar));
  write("VisBar", BarFlagsText(layout.vis_bar));
  write("ContextBar", BarFlagsText(layout.context_bar));
}

}  // namespace ravell
