#include "testing/recording_window.h"

#include <utility>

namespace ui {

std::string RecordingWindow::PngBytes() {
  std::string bytes = "PNG\n";
  for (const DrawOp& op : m_canvas->Ops()) {
    bytes += std::to_string(static_cast<int>(op.kind));
    for (const Point& p : op.points) bytes += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    bytes += '\n';
  }
  return bytes;
}

void RecordingWindow::Resize(int width, int height) {
  m_canvas = std::make_unique<RecordingCanvas>(width, height);
  if (OnResized) OnResized();
}

void RecordingWindow::Close() {
  m_visible = false;
  if (OnClosed) OnClosed();
}

std::unique_ptr<SecondWindow> RecordingWindows::MakeWindow(const std::string& name) {
  auto window = std::make_unique<RecordingWindow>(name);
  m_made.push_back(window.get());
  return window;
}

}  // namespace ui
