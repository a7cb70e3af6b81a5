#include "ui/menu.h"

#include <algorithm>

namespace ui {

namespace {

constexpr int kKeyDelete = 46;
constexpr int kKeyF1 = 112;
constexpr int kKeyF24 = 135;

std::string KeyName(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    return std::string(1, static_cast<char>(key));
  }
  if (key >= kKeyF1 && key <= kKeyF24) return "F" + std::to_string(key - kKeyF1 + 1);
  if (key == kKeyDelete) return "Del";
  return {};
}

}  // namespace

std::string ShortcutText(KeyChord chord) {
  std::string text;
  if (chord.ctrl) text += "Ctrl+";
  if (chord.shift) text += "Shift+";
  return text + KeyName(chord.key);
}

void CommandMenu::Add(Command command) {
  m_commands.push_back(std::move(command));
}

void CommandMenu::AddSeparator() {
  if (!m_commands.empty() && !m_commands.back().caption.empty()) m_commands.push_back({});
}

bool CommandMenu::Enabled(const Command& command) const {
  return !command.enabled || command.enabled();
}

std::vector<MenuItem> CommandMenu::Items() const {
  std::vector<MenuItem> items;
  for (const Command& command : m_commands) {
    MenuItem item;
    item.caption = command.caption;
    if (!command.caption.empty()) {
      if (!command.keys.empty()) item.shortcut = ShortcutText(command.keys.front());
      item.enabled = Enabled(command);
      item.checkable = static_cast<bool>(command.checked);
      item.checked = item.checkable && command.checked();
    }
    items.push_back(item);
  }
  return items;
}

void CommandMenu::Popup(Dialogs& dialogs, Point where) const {
  if (m_commands.empty()) return;
  const std::vector<MenuItem> items = Items();
  const std::optional<std::size_t> chosen = dialogs.PopupMenu(items, where);
  // Only an item that was enabled when the menu opened can be chosen; checking
  // again guards against a platform that hands back a disabled one.
  if (!chosen || *chosen >= m_commands.size() || !items[*chosen].enabled) return;
  const Command& command = m_commands[*chosen];
  if (command.run && Enabled(command)) command.run();
}

bool CommandMenu::Key(KeyChord chord) const {
  for (const Command& command : m_commands) {
    if (std::find(command.keys.begin(), command.keys.end(), chord) == command.keys.end()) {
      continue;
    }
    if (command.run && Enabled(command)) command.run();
    return true;
  }
  return false;
}

}  // namespace ui
