// The controller's side of the protocol: its identity, limits, curves in RAM and
// EEPROM, four options and live stream, and the parser that takes its commands from
// the byte stream by their fixed lengths. It knows nothing of time; sim::Line does.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/catalogue.h"

namespace sim {

enum class Model { QZR, PLX };

std::string ModelCode(Model model);

struct Options {
  bool output_5v = true;
  bool input_positive = true;
  bool bypass_on = true;
  int bypass_step = 4;  // 1..20, half seconds
  int vref_step = 3;    // 0..15, fifteenths of 5 V
};

class Controller {
 public:
  explicit Controller(Model model = Model::QZR);

  Model GetModel() const { return m_model; }
  void SetModel(Model model) { m_model = model; }
  int Version() const { return m_version; }
  void SetVersion(int tenths) { m_version = tenths; }
  int MaxAdvance() const { return m_max_advance; }
  int MaxRetard() const { return m_max_retard; }
  void SetLimits(int max_advance, int max_retard);
  char Channels() const { return m_channels; }
  void SetChannels(char channels) { m_channels = channels; }

  // Curves 1 and 2, as point values (25 = 0 degrees).
  protocol::CurvePoints& Ram(int curve) { return m_ram[Index(curve)]; }
  const protocol::CurvePoints& Ram(int curve) const { return m_ram[Index(curve)]; }
  protocol::CurvePoints& Eeprom(int curve) { return m_eeprom[Index(curve)]; }
  const protocol::CurvePoints& Eeprom(int curve) const { return m_eeprom[Index(curve)]; }
  // The curve the engine runs on, and the live stream reports.
  int ActiveCurve() const { return m_active_curve; }
  void SetActiveCurve(int curve) { m_active_curve = Index(curve) + 1; }

  Options& GetOptions() { return m_options; }
  const Options& GetOptions() const { return m_options; }

  // The point code of the last PLX send, 0 before one.
  std::uint8_t PointCode() const { return m_point_code; }

  bool LiveStreaming() const { return m_live; }
  // The next live frame: the engine moves on by one frame.
  std::string NextLiveFrame();
  // The engine's RPM at the frame NextLiveFrame makes next.
  int EngineRpmNow() const;

  // Hears one byte; returns the reply of the command it completes, empty if it
  // completes none or the command has no reply.
  std::string Hear(std::uint8_t byte);
  // Drops a command heard in part (the line went quiet or away in the middle of it).
  void ForgetPartialCommand() { m_pending.clear(); }
  std::size_t PendingBytes() const { return m_pending.size(); }
  // How many commands have been carried out: it moves whenever the state may have.
  std::uint64_t CommandsCarriedOut() const { return m_commands; }

  std::string VersionReplyBytes() const;
  std::string CurveReplyBytes(int curve) const;

 private:
  enum class Match { NoMatch, NeedMore, Complete };
  static std::size_t Index(int curve) { return curve == 2 ? 1 : 0; }
  Match Recognise(std::size_t& length) const;
  std::string Execute(std::string_view command);
  std::string StoreCurve(int curve, std::string_view point_bytes);

  Model m_model = Model::QZR;
  int m_version = 60;
  int m_max_advance = 25;
  int m_max_retard = 25;
  char m_channels = 'D';
  std::array<protocol::CurvePoints, 2> m_ram{};
  std::array<protocol::CurvePoints, 2> m_eeprom{};
  int m_active_curve = 1;
  Options m_options;
  std::uint8_t m_point_code = 0;
  bool m_live = false;
  std::size_t m_frame = 0;
  std::string m_pending;
  std::uint64_t m_commands = 0;
};

}  // namespace sim
