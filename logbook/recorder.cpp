#include "logbook/recorder.h"

#include <charconv>
#include <utility>

#include "files/append_file.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "logbook/log_row.h"
#include "map/axis.h"

namespace logbook {

namespace {

constexpr const char* kTitle = "Record live data";
constexpr const char* kFilter = "Live data logs (*.csv)|*.csv|All Files (*.*)|*.*";

LogStart StartOf(const Recorder::Sources& s) {
  LogStart start;
  start.model = s.link.DeviceModel;
  start.firmware = s.model.DeviceVersion;
  start.max_advance = s.model.MaxAdvance;
  start.max_retard = s.model.MaxRetard;
  for (std::size_t i = 0; i < kAxisPoints; ++i) {
    start.rpm_axis[i] = map::PointRpm(s.variant, s.model.DeviceVersion, static_cast<int>(i) + 1);
  }
  start.curves = s.model.AdvCurves;
  return start;
}

int Number(const std::string& text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

Recorder::Recorder(ui::EventLoop& loop, ui::Dialogs& dialogs, Sources sources, WallClock wall_clock,
                   std::string folder)
    : m_loop(loop),
      m_dialogs(dialogs),
      m_sources(sources),
      m_wall_clock(std::move(wall_clock)),
      m_folder(std::move(folder)),
      m_timer(loop, kFlushMs) {
  m_timer.OnTimer = [this] { Tick(); };
}

std::string Recorder::DefaultName() const {
  // "live-2026-12-09-135527.csv": names sort by time and carry no colon.
  std::string when = LocalTimeText(m_wall_clock()).substr(0, 19);
  for (char& c : when) {
    if (c == ' ') c = '-';
  }
  std::erase(when, ':');
  return "live-" + when + ".csv";
}

void Recorder::RecordClick() {
  if (Recording()) return;
  const std::optional<std::string> chosen =
      m_dialogs.SaveFile({kTitle, kFilter, "csv", m_folder, DefaultName()});
  if (!chosen) return;
  std::filesystem::path path = files::PathFromUtf8(*chosen);
  if (path.is_relative()) path = files::PathFromUtf8(m_folder) / path;
  if (!path.has_extension()) path += ".csv";
  if (const std::error_code error = files::ReplaceFile(path, LogHeader(StartOf(m_sources)))) {
    ShowWriteError(error, path, false);
    return;
  }
  m_path = path;
  m_pending.clear();
  m_start_tick = m_last_frame_tick = m_loop.TickCount();
  m_start_wall = m_wall_clock();
  m_timer.SetEnabled(true);
}

void Recorder::Frame(const live::SeenFrame& frame) {
  if (!Recording()) return;
  const std::uint32_t now = m_loop.TickCount();
  m_last_frame_tick = now;
  const std::uint32_t elapsed = now - m_start_tick;
  LogRecord record;
  record.time_ms = elapsed;
  record.local_time = LocalTimeText(m_start_wall + std::chrono::milliseconds(elapsed));
  record.rpm = Number(frame.RpmText);
  record.advance = static_cast<int>(frame.GaugeAdvance) - 25;
  record.period_byte = frame.period_byte;
  record.advance_byte = frame.advance_byte;
  record.taken = frame.taken;
  record.curve = m_sources.model.CurrentCurve;
  m_pending += LogRow(record);
}

void Recorder::Tick() {
  if (!Flush()) return;
  const live::LiveState& live = m_sources.live;
  if (live.LiveMode && live.LiveFrameSeen && m_loop.TickCount() - m_last_frame_tick >= kSilenceMs) {
    const std::string name = files::Utf8FromPath(*m_path);
    End();
    m_dialogs.MessageDlg("No live data has come from the controller for " +
                             std::to_string(kSilenceMs / 1000) + " seconds: the recording \"" +
                             name + "\" has stopped. Every frame received is in it.",
                         ui::DialogIcon::Warning, ui::DialogButtons::Ok);
  }
}

bool Recorder::Flush() {
  if (m_pending.empty()) return true;
  if (const std::error_code error = files::AppendToFile(*m_path, m_pending)) {
    const std::filesystem::path path = *m_path;
    End();
    ShowWriteError(error, path, true);
    return false;
  }
  m_pending.clear();
  return true;
}

void Recorder::Stop() {
  if (Recording() && Flush()) End();
}

void Recorder::End() {
  m_timer.SetEnabled(false);
  m_pending.clear();
  m_path.reset();
}

void Recorder::ShowWriteError(const std::error_code& error, const std::filesystem::path& path,
                              bool ended) {
  m_dialogs.MessageDlg(
      "Cannot write the recording \"" + files::Utf8FromPath(path) + "\": " + error.message() +
          (ended ? ". The recording has stopped; live data goes on." : ". Nothing is recorded."),
      ui::DialogIcon::Error, ui::DialogButtons::Ok);
}

}  // namespace logbook
