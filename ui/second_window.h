// A second window of the program beside the main window: a row of buttons, one
// canvas filling the rest and a line of text under it. The core draws and decides;
// the platform shows it, keeps its place and size between runs, and reports what
// the user does on it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/geometry.h"

namespace ui {

class SecondWindow {
 public:
  virtual ~SecondWindow() = default;

  // Shows the window, or brings it to the front when shown.
  virtual void Show() = 0;
  virtual bool Visible() const = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // The buttons over the canvas, left to right; "&" before an access key.
  virtual void SetButtons(const std::vector<std::string>& captions) = 0;
  // The line of text under the canvas.
  virtual void SetStatus(const std::string& text) = 0;
  // The canvas at the window's present size; a new one after each OnResized.
  virtual Canvas& GetCanvas() = 0;
  // The canvas as a PNG file's bytes.
  virtual std::string PngBytes() = 0;

  // The canvas has a new size and nothing drawn on it.
  std::function<void()> OnResized;
  // The pointer moved over the canvas (canvas coordinates).
  std::function<void(Point)> OnMouseMove;
  // The wheel turned over the canvas: steps > 0 away from the user.
  std::function<void(Point, int steps)> OnWheel;
  // The pointer moved by `dx` canvas pixels with the left button held.
  std::function<void(int dx)> OnDrag;
  std::function<void(std::size_t button)> OnButton;
  // The user closed the window.
  std::function<void()> OnClosed;
};

class WindowFactory {
 public:
  virtual ~WindowFactory() = default;
  // `name` tells the platform which window's place to remember.
  virtual std::unique_ptr<SecondWindow> MakeWindow(const std::string& name) = 0;
};

}  // namespace ui
