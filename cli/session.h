// palunorctl's link to the controller: the same driver, reply recogniser and command
// channel as the window, without a form. Each step writes one command and runs the
// event loop until its reply has come, or the channel's bound has passed; one curve
// command is in flight at a time, and only the recogniser reads the controller's
// bytes. How to use it:
//   cli::Session session(loop, std::move(port), ui::Variant::Palunor6, pump);
//   if (session.Open("\\.\COM2", 9600) && session.Identify()) session.ReadCurves();
// `pump` runs the loop for a little while and says false once the user interrupted.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "map/curve_model.h"
#include "protocol/catalogue.h"
#include "protocol/command_channel.h"
#include "protocol/reply_recogniser.h"
#include "serial/comm_port_driver.h"
#include "ui/event_loop.h"
#include "ui/variant.h"

namespace cli {

// Both curves and the option status of one Read, as the controller sent them.
struct ControllerCurves {
  std::array<map::Curve, 2> curves{};
  std::optional<protocol::OptionStatus> options;
};

class Session {
 public:
  using Pump = std::function<bool()>;
  using FrameSink = std::function<void(const protocol::LiveFrame&)>;

  Session(ui::EventLoop& loop, std::unique_ptr<serial::PortBackend> port, ui::Variant variant,
          Pump pump);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Opens the port with the controller's line settings at `baud`.
  bool Open(const std::string& port_name, std::uint32_t baud);
  // How long the controller may take before its reply starts.
  void SetWaitMs(std::uint32_t ms) { m_channel.SetWaitMs(ms); }

  // Asks "VER" until a version reply comes (a few tries: the request changes nothing).
  std::optional<protocol::VersionReply> Identify();
  // Reads both curves and the options, trying again after a reply lost or damaged.
  std::optional<ControllerCurves> ReadCurves();
  // Writes curve `curve` ("SD" n and 26 point bytes); true when "OK" came. Whether the
  // controller holds it only a read tells.
  bool SendCurve(int curve, const map::Curve& points);
  // "EW" n; true when "RECOK" came for that curve.
  bool RecordCurve(int curve);
  // An option command; true when `expected` confirmed it.
  bool SetOption(const std::string& command, protocol::ShortReply expected);
  // "LON", then every live frame goes to `sink` while the loop runs.
  bool LiveOn(FrameSink sink);
  // "LOF", and the loop runs until the line has been quiet for a moment.
  void LiveOff();
  // Runs the loop until `done` or the user interrupts; false when interrupted.
  bool RunUntil(const std::function<bool()>& done);

  // The user pressed Ctrl-C during a step.
  bool Interrupted() const { return m_interrupted; }
  // The controller model and its limits, once identified.
  const map::CurveModel& Limits() const { return m_limits; }
  ui::Variant GetVariant() const { return m_variant; }
  const std::string& Model() const { return m_model; }

 private:
  void Receive(const std::uint8_t* data, std::uint32_t size);
  void Act(const protocol::Reply& reply);
  // Writes `command` and waits for `came`, the bound or an interruption; true if it came.
  bool Exchange(const std::string& command, protocol::Awaiting what,
                const std::function<bool()>& came);

  ui::EventLoop& m_loop;
  ui::Variant m_variant;
  Pump m_pump;
  serial::TCommPortDriver m_driver;
  protocol::ReplyRecogniser m_recogniser;
  // The channel stops and starts a supervision timer; the tool supervises by its steps.
  ui::Timer m_unused_supervision;
  protocol::CommandChannel m_channel;

  bool m_interrupted = false;
  bool m_overdue = false;
  bool m_live = false;
  bool m_chunk_seen = false;
  FrameSink m_sink;
  map::CurveModel m_limits;
  std::string m_model;

  // What the replies of the step under way brought.
  std::optional<protocol::VersionReply> m_version;
  std::array<bool, 2> m_curve_came{};
  ControllerCurves m_read;
  bool m_read_done = false;
  bool m_acknowledged = false;
  int m_recorded = 0;
  std::optional<protocol::ShortReply> m_confirmation;
};

}  // namespace cli
