// The context menu of the chart and the gauges, and the keys that reach it before
// the window's own key handling.
#include "logbook/log_menu.h"
#include "safekeeping/backup_commands.h"
#include "safekeeping/menu_commands.h"
#include "shell/form.h"
#include "shell/form_parts.h"

namespace shell {

namespace {

constexpr int kKeyF10 = 121;
constexpr int kKeyMenu = 93;

// The pictures the menu opens on: the chart (its markers are controls of their own
// and keep every button for dragging) and the two gauges.
constexpr const char* kMenuSurfaces[] = {"Image1", "Image2", "Image3"};

// A point of a control in the window's coordinates.
ui::Point InWindow(const ui::Control& control, int x, int y) {
  for (const ui::Control* c = &control; c != nullptr; c = c->Parent()) {
    x += c->Left();
    y += c->Top();
  }
  return {x, y};
}

}  // namespace

ui::CommandMenu& TForm1::Menu() {
  return m_parts->menu;
}

void TForm1::BindContextMenu() {
  Parts& p = *m_parts;
  // The groups in the order the menu shows them, a separator between each two.
  safekeeping::AddCommands(p.menu, p.history, p.controller_copy, p.model, [&p] {
    return p.channel.CurveCommandUnderWay() || p.model.ReadUnderWay || p.model.Dragging;
  });
  p.point_table.AddTo(p.menu);
  logbook::AddLogCommands(p.menu, p.recorder, p.plot);
  safekeeping::AddBackupCommands(p.menu, p.backups_list, p.preferences_command);
  for (const char* name : kMenuSurfaces) {
    ui::Control& surface = (*m_controls)[name];
    surface.OnMouseUp = [this, &surface](ui::MouseButton button, int x, int y) {
      if (button == ui::MouseButton::Right) ContextMenu(InWindow(surface, x, y));
    };
  }
}

void TForm1::ContextMenu(ui::Point where) {
  m_parts->menu.Popup(m_platform.dialogs, where);
}

bool TForm1::ShortcutKey(ui::KeyChord chord) {
  const ui::CommandMenu& menu = m_parts->menu;
  if (menu.Empty()) return false;
  const bool opens_menu = (chord.key == kKeyMenu && !chord.ctrl && !chord.shift) ||
                          (chord.key == kKeyF10 && chord.shift && !chord.ctrl);
  if (opens_menu) {
    // From the keyboard the menu opens at the selected point of the chart.
    const ui::Control& marker = (*m_controls)["Lb30"];
    ContextMenu(InWindow(marker, marker.Width() / 2, marker.Height() / 2));
    return true;
  }
  return menu.Key(chord);
}

}  // namespace shell
