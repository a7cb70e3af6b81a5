#include "cli/session.h"

#include <algorithm>
#include <utility>
#include <variant>

namespace cli {

namespace {

// A request that changes nothing on the controller is asked again after a reply lost
// or damaged on the line, this often in all.
constexpr int kTries = 3;
// The line is quiet when nothing came for this long; live data comes every 100 ms.
constexpr std::uint32_t kQuietMs = 300;
constexpr std::uint32_t kLongestQuietMs = 2000;

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

Session::Session(ui::EventLoop& loop, std::unique_ptr<serial::PortBackend> port,
                 ui::Variant variant, Pump pump)
    : m_loop(loop),
      m_variant(variant),
      m_pump(std::move(pump)),
      m_driver(loop, std::move(port)),
      m_recogniser(variant),
      m_unused_supervision(loop, 0, false),
      m_channel(loop, m_driver, m_recogniser, m_unused_supervision) {
  m_driver.OnReceiveData = [this](serial::TCommPortDriver&, const std::uint8_t* data,
                                  std::uint32_t size) { Receive(data, size); };
  m_channel.OnReplyOverdue = [this](const std::optional<protocol::Request>&) { m_overdue = true; };
}

Session::~Session() {
  m_driver.ClosePort();
}

bool Session::Open(const std::string& port_name, std::uint32_t baud) {
  m_driver.SetPortName(port_name);
  m_driver.SetBaudRateValue(baud);
  return m_driver.OpenPort();
}

void Session::Receive(const std::uint8_t* data, std::uint32_t size) {
  if (data == nullptr || size == 0) return;
  m_chunk_seen = true;
  m_recogniser.Begin(std::string_view(reinterpret_cast<const char*>(data), size), m_live);
  while (std::optional<protocol::Reply> reply = m_recogniser.Next()) Act(*reply);
}

void Session::Act(const protocol::Reply& reply) {
  std::visit(Overloaded{
                 [](const protocol::Trace&) {},
                 [this](const protocol::CurveReplyFor& r) {
                   // A reply nobody asked for changes no curve.
                   if (r.curve == 0) return;
                   m_read.curves[static_cast<std::size_t>(r.curve - 1)] = r.points;
                   m_curve_came[static_cast<std::size_t>(r.curve - 1)] = true;
                   if (r.curve == 1) m_channel.Send(protocol::ReadCurve(2));
                 },
                 // The points are not the controller's: the step ends as if nothing came.
                 [this](const protocol::DamagedCurveReply&) { m_channel.Abandon(); },
                 [this](protocol::ShortReply r) {
                   m_confirmation = r;
                   m_channel.OptionConfirmed();
                 },
                 [this](const protocol::Recorded& r) {
                   m_recorded = r.curve;
                   m_channel.ReplyCame();
                 },
                 [this](const protocol::VersionReply& r) {
                   m_version = r;
                   m_channel.OptionConfirmed();
                 },
                 [this](const protocol::ReadCompleted& r) {
                   m_read.options = r.options;
                   m_read_done = m_curve_came[0] && m_curve_came[1];
                   m_channel.ReplyCame();
                 },
                 [this](const protocol::LiveFrame& r) {
                   if (m_sink) m_sink(r);
                 },
                 [this](const protocol::SendAcknowledged&) {
                   m_acknowledged = true;
                   m_channel.ReplyCame();
                 },
             },
             reply);
}

bool Session::RunUntil(const std::function<bool()>& done) {
  while (!done()) {
    if (!m_pump()) {
      m_interrupted = true;
      return false;
    }
  }
  return true;
}

bool Session::Exchange(const std::string& command, protocol::Awaiting what,
                       const std::function<bool()>& came) {
  if (m_interrupted) return false;
  m_channel.TakeWaitingInput();
  m_overdue = false;
  m_channel.AwaitReply(what);
  if (!m_channel.Send(command)) {
    // Nothing went out (the device is gone): no reply can come.
    m_channel.ReplyCame();
    return false;
  }
  // A reply of another kind can end the wait too (a confirmation of an option that was
  // not asked for): then it is over without the one awaited.
  RunUntil([&] {
    return came() || m_overdue || m_channel.AwaitingNow() == protocol::Awaiting::Nothing;
  });
  if (m_interrupted) m_channel.ReplyCame();
  return came();
}

std::optional<protocol::VersionReply> Session::Identify() {
  for (int attempt = 0; attempt < kTries && !m_interrupted; ++attempt) {
    m_version.reset();
    if (!Exchange(protocol::VersionRequest(), protocol::Awaiting::Option,
                  [this] { return m_version.has_value(); })) {
      // A controller left sending live data (by a program that was killed) answers
      // between its frames, where no reply is recognised: the stream goes off first.
      if (!m_interrupted) LiveOff();
      continue;
    }
    m_model = m_version->model;
    m_limits.MaxAdvance = m_version->max_advance;
    m_limits.MaxRetard = m_version->max_retard;
    // The older program keeps point 1's limit at 15 degrees whatever the controller says.
    if (m_variant == ui::Variant::Palunor6) {
      m_limits.FirstPointRetard = std::min<std::uint8_t>(m_version->max_retard, 15);
    }
    m_limits.DeviceVersion = m_version->version;
    return m_version;
  }
  return std::nullopt;
}

std::optional<ControllerCurves> Session::ReadCurves() {
  const bool plx = m_variant == ui::Variant::Palunor6 && m_model == "PLX";
  const std::string request = plx ? protocol::ReadPlx() : protocol::ReadCurve(1);
  for (int attempt = 0; attempt < kTries && !m_interrupted; ++attempt) {
    m_curve_came = {};
    m_read = {};
    m_read_done = false;
    if (Exchange(request, protocol::Awaiting::Curve, [this] { return m_read_done; })) {
      return m_read;
    }
  }
  return std::nullopt;
}

bool Session::SendCurve(int curve, const map::Curve& points) {
  m_acknowledged = false;
  return Exchange(protocol::SendCurve(curve, points), protocol::Awaiting::Curve,
                  [this] { return m_acknowledged; });
}

bool Session::RecordCurve(int curve) {
  m_recorded = 0;
  return Exchange(protocol::RecordEeprom(curve), protocol::Awaiting::Curve,
                  [this, curve] { return m_recorded == curve; });
}

bool Session::SetOption(const std::string& command, protocol::ShortReply expected) {
  m_confirmation.reset();
  return Exchange(command, protocol::Awaiting::Option,
                  [this, expected] { return m_confirmation == expected; });
}

bool Session::LiveOn(FrameSink sink) {
  m_sink = std::move(sink);
  m_channel.TakeWaitingInput();
  m_live = true;
  return m_channel.Send(protocol::LiveOn());
}

void Session::LiveOff() {
  m_sink = nullptr;
  m_channel.Send(protocol::LiveOff());
  // The stream ends when "LOF" has reached the controller: until then the port stays
  // open, so the command is not lost with it. Ctrl-C does not cut this short.
  const std::uint32_t start = m_loop.TickCount();
  std::uint32_t last_chunk = start;
  m_chunk_seen = false;
  while (m_loop.TickCount() - last_chunk < kQuietMs &&
         m_loop.TickCount() - start < kLongestQuietMs) {
    m_pump();
    if (std::exchange(m_chunk_seen, false)) last_chunk = m_loop.TickCount();
  }
  m_live = false;
}

}  // namespace cli
