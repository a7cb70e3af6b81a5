// TForm1, the main window and the composition root: it owns the control model, the
// serial driver CPDrv, the timers and one object per subsystem, and runs start-up,
// activation, closing, keys and help.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "shell/platform.h"
#include "ui/control.h"
#include "ui/event_loop.h"
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
}  // namespace live

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
  void FormClose();

  // A key that reached the window: the front end delivers it here whether the
  // window itself or a control has the focus, as a virtual-key code (key-down) or a
  // character code (key-press). Setting it to 0 means it was consumed.
  void KeyDown(int& key);
  void KeyPress(int& key);

  // The driver, timers and program-wide state, for the front end and for tests.
  serial::TCommPortDriver& CPDrv();
  ui::Timer& Timer1();
  ui::Timer& Timer3();
  map::CurveModel& Model();
  serial::LinkState& Link();
  live::OptionState& Options();
  live::LiveState& Live();

 private:
  struct Parts;

  void BindEvents();
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
