// The live data toggle (Button3): "LON" starts the controller's stream of live frames
// and "LOF" stops it, under the command lockout. While it runs, Timer3 does not poll
// and the commands that would disturb the stream are disabled. A stream that goes on
// after it was stopped ("LOF" lost on the line) is stopped again.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "live/option_state.h"
#include "protocol/command_channel.h"
#include "protocol/lockout.h"
#include "serial/comm_port_driver.h"
#include "ui/color.h"
#include "ui/control.h"
#include "ui/event_loop.h"

namespace live {

// A live frame as the gauges saw it: its two bytes as they came, the gauge inputs
// the program made of them and the speed text it showed, and whether the gauges
// took it (a period of 0 or 255 or an advance of 56 or more is no reading).
struct SeenFrame {
  std::uint8_t period_byte = 0;
  std::uint8_t advance_byte = 0;
  std::uint8_t RpmPeriod = 0;
  std::uint8_t GaugeAdvance = 0;
  std::string RpmText;
  bool taken = false;
};

class LiveData {
 public:
  // StatusText becomes the text and the status line shows it in the colour.
  using StatusShower = std::function<void(const std::string& text, ui::Color color)>;

  LiveData(ui::ControlSet& controls, ui::EventLoop& loop, serial::TCommPortDriver& driver,
           protocol::Lockout& lockout, protocol::CommandChannel& channel, ui::Timer& timer3,
           LiveState& live, std::function<void()> connect_p, StatusShower show_status);

  void Button3Click();

  // A chunk arrived: whether it held any reply the program knows. Bytes that answer
  // nothing for a second on end while no stream is expected are a stream the
  // controller never stopped: "LOF" goes out again, outside the lockout.
  void ChunkArrived(bool recognised);

  static constexpr std::uint32_t kStrayStreamMs = 1000;

  // The receive handler has shown a live frame: everyone watching hears of it, after
  // the gauges, so watching never delays what they show.
  void FrameShown(const SeenFrame& frame) const;
  void WatchFrames(std::function<void(const SeenFrame&)> watcher);

 private:
  struct Controls {
    ui::Control& Button3;
    ui::Control& Panel2;
    ui::Control& btnAdvSet;
  };

  void SetLockedButtons(bool enabled);

  Controls m_c;
  ui::EventLoop& m_loop;
  std::vector<ui::Control*> m_locked;  // LiveDataLockedButtons
  serial::TCommPortDriver& m_driver;
  protocol::Lockout& m_lockout;
  protocol::CommandChannel& m_channel;
  ui::Timer& m_timer3;
  LiveState& m_live;
  std::function<void()> m_connect_p;
  StatusShower m_show_status;
  // When bytes that answer nothing began to arrive, with nothing recognised since.
  std::optional<std::uint32_t> m_stray_since;
  std::vector<std::function<void(const SeenFrame&)>> m_frame_watchers;
};

}  // namespace live
