#pragma once

#include <QString>
#include <optional>

#include "settings.h"

namespace ravell {

// How a tool bar shows: "Visible;Captions;List;" in ravell.ini.
struct BarFlags {
  bool visible = false;
  bool captions = false;  // button captions shown
  bool list = false;      // captions beside the images rather than below
  bool operator==(const BarFlags&) const = default;
};

// Each set flag as its word followed by ";"; empty when none is set.
QString BarFlagsText(const BarFlags& flags);
// Words end at ";"; reading stops at the first empty word, so a last word
// without ";" is not read. Words compare case-sensitively; others are ignored.
BarFlags ParseBarFlags(const QString& text);

// A bar's key (its component name), "Visible;" when absent.
BarFlags ReadBarFlags(const Settings& settings, const QString& bar_name);

// The main window's arrangement in the GUI section of ravell.ini. Absent
// position and size values leave the window's own.
struct GuiLayout {
  static constexpr const char* kSection = "GUI";

  bool todo_visible = true;
  bool log_visible = true;
  bool rate_visible = true;
  std::optional<int> window_top;
  std::optional<int> window_left;
  std::optional<int> window_width;
  std::optional<int> window_height;
  std::optional<int> log_height;
  std::optional<int> todo_width;
  BarFlags options_bar{true};
  BarFlags vis_bar{true};
  BarFlags context_bar{true};

  bool operator==(const GuiLayout&) const = default;
};

// Missing keys take their defaults; a position or size that is not a decimal
// integer counts as missing.
GuiLayout ReadGuiLayout(const Settings& settings);
// Writes every key, position and size only when known. Throws FileError.
void WriteGuiLayout(Settings& settings, const GuiLayout& layout);

}  // namespace ravell
