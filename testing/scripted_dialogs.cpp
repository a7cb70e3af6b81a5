#include "testing/scripted_dialogs.h"

#include <utility>

namespace ui {

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

ScriptedDialogs::Scripted ScriptedDialogs::Next() {
  if (m_answers.empty()) return Scripted{};
  Scripted next = std::move(m_answers.front());
  m_answers.pop_front();
  if (next.while_open) next.while_open();
  return next;
}

DialogResult ScriptedDialogs::MessageBox(const std::string& text, const std::string& title,
                                         DialogIcon icon, DialogButtons buttons) {
  m_shown.push_back(Shown{"MessageBox", text, title, icon, buttons, {}, {}, {}});
  return Next().result;
}

DialogResult ScriptedDialogs::MessageDlg(const std::string& text, DialogIcon type,
                                         DialogButtons buttons) {
  m_shown.push_back(Shown{"MessageDlg", text, "", type, buttons, {}, {}, {}});
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
  m_shown.push_back(Shown{kind,
                          request.filter,
                          request.title,
                          DialogIcon::None,
                          DialogButtons::OkCancel,
                          request,
                          {},
                          {}});
  return Next().path;
}

std::optional<SettingsValues> ScriptedDialogs::Settings(const SettingsRequest& request) {
  Shown shown{"Settings", "", "Settings", DialogIcon::None, DialogButtons::OkCancel,
              {},         {}, request};
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
  m_shown.push_back(Shown{"MessageBox", text, title, icon, buttons, {}, details, {}});
  return Next().result;
}

}  // namespace ui
