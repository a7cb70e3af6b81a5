#include "logbook/plot_window.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <utility>
#include <variant>

#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "map/axis.h"

namespace logbook {

namespace {

constexpr const char* kWindowName = "plot";
constexpr const char* kExport = "E&xport PNG...";
// A wheel step shows four fifths of the span, or five fourths back.
constexpr long long kZoomIn = 4;
constexpr long long kZoomOut = 5;
// Live frames older than the longest span and this margin are let go.
constexpr std::uint32_t kLiveMarginMs = 60000;

int Number(const std::string& text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

PlotWindow::PlotWindow(ui::WindowFactory* windows, ui::EventLoop& loop, ui::Dialogs& dialogs,
                       Recorder::Sources sources, std::string folder)
    : m_windows(windows),
      m_loop(loop),
      m_dialogs(dialogs),
      m_sources(sources),
      m_folder(std::move(folder)),
      m_redraw(loop, kRedrawMs) {
  m_redraw.OnTimer = [this] {
    if (m_dirty) Draw();
  };
}

void PlotWindow::PlotClick() {
  Open(Mode::Live);
}

void PlotWindow::OpenLogClick() {
  if (!Available()) return;
  const std::optional<std::string> chosen = m_dialogs.OpenFile(
      {"Open log", "Live data logs (*.csv)|*.csv|All Files (*.*)|*.*", "csv", m_folder, ""});
  if (!chosen) return;
  std::filesystem::path path = files::PathFromUtf8(*chosen);
  if (path.is_relative()) path = files::PathFromUtf8(m_folder) / path;
  auto result = ReadLog(path);
  if (std::string* why = std::get_if<std::string>(&result)) {
    m_dialogs.MessageDlg("Cannot open the log \"" + files::Utf8FromPath(path) + "\". " + *why,
                         ui::DialogIcon::Error, ui::DialogButtons::Ok);
    return;
  }
  m_log = std::move(std::get<Log>(result));
  m_log_name = files::Utf8FromPath(path.filename());
  Open(Mode::Log);
}

void PlotWindow::Open(Mode mode) {
  if (!Available()) return;
  if (!m_window) {
    m_window = m_windows->MakeWindow(kWindowName);
    m_window->OnResized = [this] { Draw(); };
    m_window->OnMouseMove = [this](ui::Point where) { Move(where); };
    m_window->OnWheel = [this](ui::Point where, int steps) { Wheel(where, steps); };
    m_window->OnDrag = [this](int dx) { Drag(dx); };
    m_window->OnButton = [this](std::size_t button) { Button(button); };
    m_window->OnClosed = [this] {
      m_redraw.SetEnabled(false);
      m_live.clear();
    };
  }
  if (mode == Mode::Live && (m_mode != Mode::Live || !m_window->Visible())) {
    m_live.clear();
    m_live_start = m_loop.TickCount();
  }
  m_mode = mode;
  if (mode == Mode::Live) {
    m_window->SetTitle("Plot: live data");
    m_window->SetButtons({"30 s", "60 s", "300 s", kExport});
    m_redraw.SetEnabled(true);
  } else {
    m_window->SetTitle("Plot: " + m_log_name);
    m_window->SetButtons({"&Whole log", kExport});
    m_redraw.SetEnabled(false);
    SetLogSpan(
        0, static_cast<long long>(m_log->samples.empty() ? 1 : m_log->samples.back().time_ms) + 1);
  }
  m_window->SetStatus(Summary());
  m_window->Show();
  Draw();
}

void PlotWindow::Frame(const live::SeenFrame& frame) {
  if (!m_window || m_mode != Mode::Live || !m_window->Visible()) return;
  const std::uint32_t now = m_loop.TickCount() - m_live_start;
  const std::uint32_t longest = kLiveSpansMs[std::size(kLiveSpansMs) - 1];
  if (!m_live.empty() && now - m_live.front().time_ms > longest + kLiveMarginMs) {
    const std::uint32_t keep_from = now - longest;
    std::erase_if(m_live, [keep_from](const LogSample& s) { return s.time_ms < keep_from; });
  }
  m_live.push_back({now, Number(frame.RpmText), static_cast<int>(frame.GaugeAdvance) - 25,
                    frame.taken, m_sources.model.CurrentCurve});
  m_dirty = true;
}

PlotSource PlotWindow::Source() const {
  if (m_mode == Mode::Log) {
    PlotSource source{m_log->samples, m_log->curves, {}};
    if (m_log->rpm_axis) source.rpm_axis = *m_log->rpm_axis;
    return source;
  }
  PlotSource source{m_live, {}, {}};
  const map::CurveModel& model = m_sources.model;
  for (std::size_t i = 0; i < kAxisPoints; ++i) {
    source.rpm_axis[i] =
        map::PointRpm(m_sources.variant, model.DeviceVersion, static_cast<int>(i) + 1);
  }
  for (std::size_t c = 0; c < 2; ++c) {
    std::array<int, kAxisPoints> degrees{};
    for (std::size_t i = 0; i < kAxisPoints; ++i) degrees[i] = model.AdvCurves[c][i] - 25;
    source.curves[c] = degrees;
  }
  return source;
}

TimeSpan PlotWindow::LiveSpan() const {
  const std::uint32_t now = m_loop.TickCount() - m_live_start + 1;
  if (now < m_live_span) return {0, m_live_span};
  return {now - m_live_span, now};
}

void PlotWindow::Draw() {
  m_dirty = false;
  if (!m_window) return;
  DrawPlot(m_window->GetCanvas(), Source(), m_mode == Mode::Live ? LiveSpan() : m_span);
}

void PlotWindow::Button(std::size_t button) {
  if (m_mode == Mode::Live && button < std::size(kLiveSpansMs)) {
    m_live_span = kLiveSpansMs[button];
    m_window->SetStatus(Summary());
    Draw();
  } else if (m_mode == Mode::Log && button == 0) {
    Open(Mode::Log);
  } else {
    ExportPng();
  }
}

void PlotWindow::Wheel(ui::Point where, int steps) {
  if (m_mode != Mode::Log || steps == 0) return;
  const PlotArea strip =
      LayoutPlot(m_window->GetCanvas().Width(), m_window->GetCanvas().Height()).strip;
  const long long length = m_span.to_ms - m_span.from_ms;
  long long zoomed = length;
  for (int i = 0; i < std::abs(steps); ++i) {
    zoomed = steps > 0 ? zoomed * kZoomIn / kZoomOut : zoomed * kZoomOut / kZoomIn + 1;
  }
  // The time under the pointer stays under it.
  const long long columns = std::max(1, strip.x2 - strip.x1);
  const long long offset = std::clamp<long long>(where.x - strip.x1, 0, columns);
  const long long pointer = m_span.from_ms + length * offset / columns;
  SetLogSpan(pointer - zoomed * offset / columns, zoomed);
}

void PlotWindow::Drag(int dx) {
  if (m_mode != Mode::Log || dx == 0) return;
  const PlotArea strip =
      LayoutPlot(m_window->GetCanvas().Width(), m_window->GetCanvas().Height()).strip;
  const long long length = m_span.to_ms - m_span.from_ms;
  SetLogSpan(m_span.from_ms - length * dx / std::max(1, strip.x2 - strip.x1), length);
}

void PlotWindow::SetLogSpan(long long from, long long length) {
  const long long whole =
      static_cast<long long>(m_log->samples.empty() ? 0 : m_log->samples.back().time_ms) + 1;
  length = std::clamp<long long>(length, std::min<long long>(kShortestSpanMs, whole), whole);
  from = std::clamp<long long>(from, 0, whole - length);
  m_span = {static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(from + length)};
  Draw();
}

void PlotWindow::Move(ui::Point where) {
  const ui::Canvas& canvas = m_window->GetCanvas();
  const std::string reading = ReadingAt(Source(), m_mode == Mode::Live ? LiveSpan() : m_span,
                                        canvas.Width(), canvas.Height(), where);
  m_window->SetStatus(reading.empty() ? Summary() : reading);
}

void PlotWindow::ExportPng() {
  const std::optional<std::string> chosen = m_dialogs.SaveFile(
      {"Export PNG", "PNG images (*.png)|*.png|All Files (*.*)|*.*", "png", m_folder, "plot.png"});
  if (!chosen) return;
  std::filesystem::path path = files::PathFromUtf8(*chosen);
  if (path.is_relative()) path = files::PathFromUtf8(m_folder) / path;
  if (!path.has_extension()) path += ".png";
  if (const std::error_code error = files::ReplaceFile(path, m_window->PngBytes())) {
    m_dialogs.MessageDlg(
        "Cannot write \"" + files::Utf8FromPath(path) + "\": " + error.message() + ".",
        ui::DialogIcon::Error, ui::DialogButtons::Ok);
  }
}

std::string PlotWindow::Summary() const {
  if (m_mode == Mode::Live) {
    return "Live data, the last " + std::to_string(m_live_span / 1000) + " seconds";
  }
  std::string text = m_log_name + ": " + std::to_string(m_log->samples.size()) + " frames";
  if (m_log->bad_rows > 0) text += ", " + std::to_string(m_log->bad_rows) + " damaged rows skipped";
  if (!m_log->controller.empty()) text += "; " + m_log->controller;
  return text;
}

}  // namespace logbook
