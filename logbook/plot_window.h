// The plot window: "Plot..." shows live data as it comes (the last 30, 60 or 300
// seconds), "Open log..." shows a recorded log with zoom (the wheel) and pan
// (dragging) over all of it. The cursor's read-out follows the pointer, and the
// picture can be exported as PNG. Live frames are kept only while the window shows
// them, and it is drawn at most ten times a second, never from the frame handling.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "live/live_data.h"
#include "logbook/log_reader.h"
#include "logbook/plot.h"
#include "logbook/recorder.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"
#include "ui/second_window.h"

namespace logbook {

class PlotWindow {
 public:
  // Without `windows` the platform has no second window, and the plot is not offered.
  PlotWindow(ui::WindowFactory* windows, ui::EventLoop& loop, ui::Dialogs& dialogs,
             Recorder::Sources sources, std::string folder);

  bool Available() const { return m_windows != nullptr; }
  // "Plot...": live data in the window.
  void PlotClick();
  // "Open log...": a log chosen by the user in the window.
  void OpenLogClick();
  // A frame the gauges have seen.
  void Frame(const live::SeenFrame& frame);

  static constexpr std::uint32_t kRedrawMs = 100;
  static constexpr std::uint32_t kLiveSpansMs[] = {30000, 60000, 300000};
  // Zooming in stops at this span.
  static constexpr std::uint32_t kShortestSpanMs = 1000;

 private:
  enum class Mode { Live, Log };

  void Open(Mode mode);
  void Draw();
  PlotSource Source() const;
  TimeSpan LiveSpan() const;
  void Button(std::size_t button);
  void Wheel(ui::Point where, int steps);
  void Drag(int dx);
  void Move(ui::Point where);
  // The span moved or resized, kept within the log.
  void SetLogSpan(long long from, long long length);
  void ExportPng();
  std::string Summary() const;

  ui::WindowFactory* m_windows;
  ui::EventLoop& m_loop;
  ui::Dialogs& m_dialogs;
  Recorder::Sources m_sources;
  std::string m_folder;
  ui::Timer m_redraw;
  std::unique_ptr<ui::SecondWindow> m_window;

  Mode m_mode = Mode::Live;
  std::vector<LogSample> m_live;
  std::uint32_t m_live_start = 0;
  std::uint32_t m_live_span = kLiveSpansMs[1];
  bool m_dirty = false;
  std::optional<Log> m_log;
  std::string m_log_name;
  TimeSpan m_span;
};

}  // namespace logbook
