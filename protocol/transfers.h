// The map transfer sequences: Read fetches both curves and the options, Send
// transmits the shown curve, and REC EEPR has the controller record it; each sends
// one command under the command lockout and the receive handler carries the rest.
// Each is a curve command: until its reply comes or its bound passes, every other
// command is refused.
#pragma once

#include <functional>
#include <string>

#include "map/curve_model.h"
#include "protocol/command_channel.h"
#include "protocol/lockout.h"
#include "protocol/reply_recogniser.h"
#include "serial/link_state.h"
#include "ui/color.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/variant.h"

namespace protocol {

class Transfers {
 public:
  using ConnectP = std::function<void()>;
  using StatusSetter = std::function<void(const std::string&, ui::Color)>;

  // Binds RDBut, SDBut and Button6.
  Transfers(ui::Variant variant, ui::ControlSet& controls, map::CurveModel& model,
            const serial::LinkState& link, Lockout& lockout, CommandChannel& channel,
            ReplyRecogniser& recogniser, ui::Dialogs& dialogs, ConnectP connect,
            StatusSetter show_status);

  void RDButClick();
  void SDButClick();
  void Button6Click();

  // Asked before Send and REC EEPR write their command; false writes nothing.
  std::function<bool()> ConfirmSend;
  std::function<bool()> ConfirmRecord;
  // Run just before a Send or a REC EEPR is written, while the controller still holds
  // what it held: the backups copy it first.
  std::function<void()> BeforeSend;
  std::function<void()> BeforeRecord;

 private:
  // Lockout started, what has arrived taken in, Timer3 stopped for the reply and the
  // port opened if it is closed.
  void BeginCommand();
  // Writes the command; one that cannot be written holds no other command back.
  void Write(const std::string& command);
  bool Plx() const;
  // The curve shown holds points beyond the controller's limits (only a map file can
  // put them there): the user is told which, and nothing is sent.
  bool RefuseOutOfLimits();

  ui::Variant m_variant;
  map::CurveModel& m_model;
  const serial::LinkState& m_link;
  Lockout& m_lockout;
  CommandChannel& m_channel;
  ReplyRecogniser& m_recogniser;
  ui::Dialogs& m_dialogs;
  ui::Control& m_label34;
  ui::Control& m_label35;
  ConnectP m_connect;
  StatusSetter m_show_status;
};

}  // namespace protocol
