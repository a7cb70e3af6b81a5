// The headless second window: a recording canvas of a size the test sets, and what
// the core made it show. A test plays the user by calling the On... handlers:
//   ui::RecordingWindows windows;             // platform.windows = &windows
//   ... "Plot..." ...
//   ui::RecordingWindow& plot = windows.Last();
//   plot.Resize(400, 300);                    // a new canvas, OnResized
//   plot.OnWheel({200, 50}, 1);
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "testing/recording_canvas.h"
#include "ui/second_window.h"

namespace ui {

class RecordingWindow : public SecondWindow {
 public:
  explicit RecordingWindow(std::string name) : m_name(std::move(name)) {}

  void Show() override { m_visible = true; }
  bool Visible() const override { return m_visible; }
  void SetTitle(const std::string& title) override { m_title = title; }
  void SetButtons(const std::vector<std::string>& captions) override { m_buttons = captions; }
  void SetStatus(const std::string& text) override { m_status = text; }
  Canvas& GetCanvas() override { return *m_canvas; }
  // "PNG" and the operations drawn, one line each: enough to tell pictures apart.
  std::string PngBytes() override;

  // The user sized the window so: a new canvas, and OnResized.
  void Resize(int width, int height);
  // The user closed it.
  void Close();

  const std::string& Name() const { return m_name; }
  const std::string& Title() const { return m_title; }
  const std::vector<std::string>& Buttons() const { return m_buttons; }
  const std::string& Status() const { return m_status; }
  RecordingCanvas& Drawing() { return *m_canvas; }

 private:
  std::string m_name;
  bool m_visible = false;
  std::string m_title;
  std::vector<std::string> m_buttons;
  std::string m_status;
  std::unique_ptr<RecordingCanvas> m_canvas = std::make_unique<RecordingCanvas>(600, 400);
};

class RecordingWindows : public WindowFactory {
 public:
  std::unique_ptr<SecondWindow> MakeWindow(const std::string& name) override;
  // The windows made, in order; each lives as long as its owner keeps it.
  const std::vector<RecordingWindow*>& Made() const { return m_made; }
  RecordingWindow& Last() { return *m_made.back(); }

 private:
  std::vector<RecordingWindow*> m_made;
};

}  // namespace ui
