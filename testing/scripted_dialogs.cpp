#include "testing/scripted_dialogs.h"

#include <utility>

namespace ui {

namespace {

ScriptedDialogs::Shown Record(std::string kind, std::string text, std::string title,
                              DialogIcon icon, DialogButtons buttons) {
  ScriptedDialogs::Shown shown;
  shown.kind = std::move(kind);
  shown.text = std::move(text);
  shown.title = std::move(title);
  shown.icon = icon;
  shown.buttons = buttons;
  return shown;
}

}  // namespace

void ScriptedDialogs::Answer(DialogResult result, std::function<void()> while_open) {
  m_answers.push_back(Scripted{result, std::nullopt, std::move(while_open)});
}

void ScriptedDialogs::AnswerFile(std::optional<std::string> path,
                                 std::function<void()> while_open) {
  m_answers.push_back(Scripted{DialogResult::Ok, std::move(path), std::move(while_open)});
}

void ScriptedDialogs::AnswerSettings(std::vector<SettingsEdit> oks,
                                     std::function<void()> while_open) {
  m_settings.push_back(ScriptedSettings{std::move(oks), std::move(while_open)});
}

void ScriptedDialogs::CancelSettings(std::function<void()> while_open) {
  m_settings.push_back(ScriptedSettings{{}, std::move(while_open)});
}

void ScriptedDialogs::AnswerMenu(std::optional<std::string> caption) {
  m_menus.push_back(std::move(caption));
}

void ScriptedDialogs::AnswerTable(TableScript script) {
  m_tables.push_back(std::move(script));
}

void ScriptedDialogs::AnswerPreferences(PreferencesEdit edit) {
  m_preferences.push_back(std::move(edit));
}

ScriptedDialogs::Scripted ScriptedDialogs::Next() {
  if (m_answers.empty()) return Scripted{};
  Scripted next = std::move(m_answers.front());
  m_answers.pop_front();
  if (next.while_open) next.while_open();
  return next;
}

DialogResult ScriptedDialogs::MessageBox(const std::string& text, const std::string& title,
                                         DialogIcon icon, DialogButtons buttons) {
  m_shown.push_back(Record("MessageBox", text, title, icon, buttons));
  return Next().result;
}

DialogResult ScriptedDialogs::MessageDlg(const std::string& text, DialogIcon type,
                                         DialogButtons buttons) {
  m_shown.push_back(Record("MessageDlg", text, "", type, buttons));
  return Next().result;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileDialogRequest& request) {
  return FileDialog("OpenFile", request);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogRequest& request) {
  return FileDialog("SaveFile", request);
}

std::optional<std::string> ScriptedDialogs::FileDialog(const char* kind,
                                                       const FileDialogRequest& request) {
  Shown shown =
      Record(kind, request.filter, request.title, DialogIcon::None, DialogButtons::OkCancel);
  shown.request = request;
  m_shown.push_back(std::move(shown));
  return Next().path;
}

std::optional<SettingsValues> ScriptedDialogs::Settings(const SettingsRequest& request) {
  Shown shown = Record("Settings", "", "Settings", DialogIcon::None, DialogButtons::OkCancel);
  shown.settings = request;
  m_shown.push_back(std::move(shown));
  ScriptedSettings script;
  if (m_settings.empty()) {
    script.oks.push_back([](SettingsValues&) {});
  } else {
    script = std::move(m_settings.front());
    m_settings.pop_front();
  }
  if (script.while_open) script.while_open();
  // A refused "Ok" leaves the dialog with the values it had: the next edit builds on them.
  SettingsValues values = request.values;
  for (const SettingsEdit& edit : script.oks) {
    edit(values);
    if (!request.ok || request.ok(values)) return values;
  }
  return std::nullopt;
}

DialogResult ScriptedDialogs::DetailedMessageBox(const std::string& text,
                                                 const std::string& details,
                                                 const std::string& title, DialogIcon icon,
                                                 DialogButtons buttons) {
  Shown shown = Record("MessageBox", text, title, icon, buttons);
  shown.details = details;
  m_shown.push_back(std::move(shown));
  return Next().result;
}

std::optional<std::size_t> ScriptedDialogs::PopupMenu(const std::vector<MenuItem>& items,
                                                      Point where) {
  Shown shown = Record("PopupMenu", "", "", DialogIcon::None, DialogButtons::Ok);
  shown.menu = items;
  shown.where = where;
  m_shown.push_back(std::move(shown));
  if (m_menus.empty()) return std::nullopt;
  const std::optional<std::string> caption = std::move(m_menus.front());
  m_menus.pop_front();
  for (std::size_t i = 0; caption && i < items.size(); ++i) {
    // A user can only click an item that is enabled.
    if (items[i].caption == *caption && items[i].enabled) return i;
  }
  return std::nullopt;
}

std::optional<TableState> ScriptedDialogs::Table(const TableRequest& request) {
  Shown shown =
      Record("Table", request.state.text, request.title, DialogIcon::None, DialogButtons::OkCancel);
  shown.table = request.state;
  m_shown.push_back(std::move(shown));
  if (m_tables.empty()) return std::nullopt;
  const TableScript script = std::move(m_tables.front());
  m_tables.pop_front();
  TableState state = request.state;
  if (!script(request, state) || request.ok_caption.empty()) return std::nullopt;
  if (request.ok && !request.ok(state)) return std::nullopt;
  return state;
}

std::optional<PreferencesValues> ScriptedDialogs::Preferences(const PreferencesValues& values) {
  Shown shown = Record("Preferences", "", "Preferences", DialogIcon::None, DialogButtons::OkCancel);
  shown.preferences = values;
  m_shown.push_back(std::move(shown));
  if (m_preferences.empty()) return std::nullopt;
  PreferencesValues edited = values;
  m_preferences.front()(edited);
  m_preferences.pop_front();
  return edited;
}

}  // namespace ui
