// The context menu of the chart and the gauges: commands with a caption, the keys
// that run them, and whether they can act now. The form opens it with the right
// mouse button, the Menu key or Shift+F10; the front ends only draw the items the
// platform's way and hand back the one chosen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/dialogs.h"
#include "ui/geometry.h"

namespace ui {

// A key with the modifiers held, as a virtual-key code (65 is "A").
struct KeyChord {
  int key = 0;
  bool ctrl = false;
  bool shift = false;
  friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

// How a menu shows the chord: "Ctrl+Z", "Ctrl+Shift+Z", "Del".
std::string ShortcutText(KeyChord chord);

struct Command {
  std::string caption;  // "&" before the access key
  // The keys that run the command; the menu shows the first.
  std::vector<KeyChord> keys;
  // Whether the command can act now; without it, always.
  std::function<bool()> enabled;
  // Whether the item is shown checked; without it, the item is not a check item.
  std::function<bool()> checked;
  std::function<void()> run;
};

class CommandMenu {
 public:
  // Commands appear in the order added; a separator goes between groups.
  void Add(Command command);
  void AddSeparator();

  // The items as the menu would show them now.
  std::vector<MenuItem> Items() const;
  // Opens the menu at `where` (window coordinates) and runs the command chosen.
  void Popup(Dialogs& dialogs, Point where) const;
  // Runs the enabled command the chord belongs to; true when the chord belongs to
  // a command at all (a disabled command still takes its key).
  bool Key(KeyChord chord) const;
  bool Empty() const { return m_commands.empty(); }

 private:
  bool Enabled(const Command& command) const;

  // A separator is a command without a caption.
  std::vector<Command> m_commands;
};

}  // namespace ui
