// TForm1, the main window and the composition root: it owns the control model, the
// serial driver CPDrv, the timers and one object per subsystem, and runs start-up,
// activation, closing, keys and help.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "shell/platform.h"
#include "ui/color.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"
#include "ui/menu.h"
#include "ui/variant.h"

namespace serial {
class TCommPortDriver;
struct LinkState;
}  // namespace serial
namespace map {
struct CurveModel;
}
namespace live {
struct OptionState;
struct LiveState;
class StatusPanel;
}  // namespace live
namespace protocol {
class ReplyRecogniser;
class CommandChannel;
class Lockout;
struct CurveReplyFor;
struct DamagedCurveReply;
struct Recorded;
struct VersionReply;
struct ReadCompleted;
struct LiveFrame;
struct SendAcknowledged;
struct Trace;
struct Request;
enum class ShortReply;
}  // namespace protocol

namespace shell {

class TForm1 {
 public:
  // Builds the controls in their design state; FormCreate runs start-up.
  TForm1(ui::Variant variant, Platform& platform);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  ui::Variant GetVariant() const { return m_variant; }
  ui::ControlSet& Controls() { return *m_controls; }
  ui::Control& operator[](const std::string& name) { return (*m_controls)[name]; }

  // The window title; OnCaptionChanged tells the front end it changed.
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  std::function<void()> OnCaptionChanged;

  // Window events, as the front end delivers them.
  void FormCreate();
  // The window became the program's active form. Only the first activation, at
  // start-up, runs FormActivate; returning from a dialog or another program does not.
  void Activated();
  // Asked before the window closes: false keeps it open. The user is warned when the
  // controller does not hold the curves on screen.
  bool FormCloseQuery();
  void FormClose();
  // The port the user chose (from "Advance.ini" or the settings), which closing keeps
  // in "Advance.ini" whatever fallback the program had to open instead.
  void PortChosen(const std::string& port_name);

  // A key that reached the window: the front end delivers it here whether the
  // window itself or a control has the focus, as a virtual-key code (key-down) or a
  // character code (key-press). Setting it to 0 means it was consumed.
  void KeyDown(int& key);
  void KeyPress(int& key);
  // A key with the modifiers held, before KeyDown sees it: the context menu's
  // shortcuts, and the Menu key and Shift+F10 that open the menu. True when taken:
  // the front end then delivers neither KeyDown nor KeyPress for it.
  bool ShortcutKey(ui::KeyChord chord);
  // The context menu of the chart and the gauges, opened with the right mouse button
  // outside the point markers.
  ui::CommandMenu& Menu();

  // The driver's OnReceiveData: one chunk, the bytes that arrived since its last poll.
  // The replies recognised in it are acted on here, step by step in their order.
  void CPDrvReceiveData(serial::TCommPortDriver& sender, const std::uint8_t* data,
                        std::uint32_t size);

  // The driver, timers and program-wide state, for the front end and for tests.
  serial::TCommPortDriver& CPDrv();
  ui::Timer& Timer1();
  ui::Timer& Timer3();
  map::CurveModel& Model();
  serial::LinkState& Link();
  live::OptionState& Options();
  live::LiveState& Live();
  live::StatusPanel& StatusPanel();
  const protocol::ReplyRecogniser& Recogniser() const;
  protocol::CommandChannel& Channel();
  protocol::Lockout& Lockout();
  // The settings of the additions to the window.
  ui::PreferencesValues& Preferences();

 private:
  struct Parts;

  void BindEvents();
  void BindContextMenu();
  // Opens the context menu at a point of the window.
  void ContextMenu(ui::Point where);
  // The receive handler's steps, one per kind of reply.
  void Act(const protocol::Trace& trace);
  void Act(const protocol::CurveReplyFor& reply);
  void Act(const protocol::DamagedCurveReply& reply);
  void Act(protocol::ShortReply reply);
  void Act(const protocol::Recorded& reply);
  void Act(const protocol::VersionReply& reply);
  void Act(const protocol::ReadCompleted& reply);
  void Act(const protocol::LiveFrame& frame);
  void Act(const protocol::SendAcknowledged& reply);
  // The bound for a command's reply passed, or its reply came damaged: the command is
  // over. `abandoned` is the curve command that waited, if one did.
  void ReplyOverdue(const std::optional<protocol::Request>& abandoned);
  // A device command button that live data holds disabled.
  bool LockedByLiveData(const ui::Control& button) const;
  void Show(const std::string& text, ui::Color color);
  void FormActivate();
  void FormKeyDown(int& key);
  void FormKeyPress(int& key);
  void OpenButKeyDown(int& key);
  void OpenButKeyPress(int& key);
  void Button4Click();
  void imgStatusClick();
  void HelpMissing();
  std::string ApplicationTitle() const;

  ui::Variant m_variant;
  Platform& m_platform;
  std::unique_ptr<ui::ControlSet> m_controls;
  std::string m_caption;
  bool m_activated = false;
  std::unique_ptr<Parts> m_parts;
};

}  // namespace shell
