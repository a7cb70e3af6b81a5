// Recording live data: every live frame the window shows becomes one row of a CSV
// log, from "Record live data..." until "Stop recording", a closing program, a
// controller that went silent or a file that cannot be written. Rows are kept whole
// and handed to the file at least once a second; nothing is ever sent to the
// controller, and the gauges have shown a frame before it is recorded.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "live/live_data.h"
#include "live/option_state.h"
#include "map/curve_model.h"
#include "serial/link_state.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"
#include "ui/variant.h"

namespace logbook {

class Recorder {
 public:
  using WallClock = std::function<std::chrono::system_clock::time_point()>;

  // What a row and the header are made of: the program's state, read, never changed.
  struct Sources {
    ui::Variant variant;
    const map::CurveModel& model;
    const serial::LinkState& link;
    const live::LiveState& live;
  };

  // `folder`: where the save dialog opens first.
  Recorder(ui::EventLoop& loop, ui::Dialogs& dialogs, Sources sources, WallClock wall_clock,
           std::string folder);

  bool Recording() const { return m_path.has_value(); }
  // "Record live data...": asks for the file and starts the recording there.
  void RecordClick();
  // "Stop recording", and closing: the rows kept so far go to the file.
  void Stop();
  // A frame the gauges have seen.
  void Frame(const live::SeenFrame& frame);

  static constexpr std::uint32_t kFlushMs = 1000;
  // A stream silent this long is a controller lost; the recording ends.
  static constexpr std::uint32_t kSilenceMs = 3000;

 private:
  void Tick();
  // Hands the kept rows to the file; false when that failed and the recording ended.
  bool Flush();
  void End();
  // `ended`: a recording under way has ended, rather than none could start.
  void ShowWriteError(const std::error_code& error, const std::filesystem::path& path, bool ended);
  std::string DefaultName() const;

  ui::EventLoop& m_loop;
  ui::Dialogs& m_dialogs;
  Sources m_sources;
  WallClock m_wall_clock;
  std::string m_folder;
  ui::Timer m_timer;

  std::optional<std::filesystem::path> m_path;
  std::string m_pending;  // whole rows not yet in the file
  std::uint32_t m_start_tick = 0;
  std::chrono::system_clock::time_point m_start_wall;
  std::uint32_t m_last_frame_tick = 0;
};

}  // namespace logbook
