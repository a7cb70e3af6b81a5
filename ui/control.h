// The retained model of the window's controls: every control the window has, with
// the properties the handlers read and write, user actions, and change notification.
// The headless form is this model itself; gui/ mirrors each control onto a widget.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/color.h"
#include "ui/geometry.h"

namespace ui {

enum class ControlKind {
  Panel,        // a container, possibly with a bevel
  Button,       // push button with a caption
  BitButton,    // push button with a caption and a 16 x 16 glyph
  SpeedButton,  // flat picture button that never takes the focus
  Label,
  Image,  // drawing surface or a stretched picture
  CheckBox,
  UpDown,  // the two arrows of an up-down chooser
  Bevel,   // a frame
};

enum class Align { Left, Right, Center };
enum class Cursor { Default, Arrow, Hand, Pointing };
enum class BevelStyle { None, Lowered, Raised };
enum class MouseButton { Left, Right, Middle };

// Pictures that the program ships; the front end knows how to draw each.
enum class Picture {
  None,
  PulsePositive,   // 16 x 16 glyph: low at both ends, high in the middle
  PulseNegative,   // the same shape upside down
  ControllerUnit,  // the picture of the controller unit in the status area
  ArrowUp,
  ArrowDown,
  ArrowLeft,
  ArrowRight,
};

struct Font {
  std::string family = "MS Sans Serif";
  int height = 11;  // pixels
  bool bold = false;
  bool italic = false;
  Color color = kBlack;
  friend bool operator==(const Font&, const Font&) = default;
};

// One row of a window's layout table: everything a control is at design time.
struct ControlSpec {
  std::string name;
  ControlKind kind = ControlKind::Label;
  std::string parent;  // empty: the window's client area
  Rect bounds;
  std::string caption;
  Font font;
  Color color = kButtonFace;  // background
  bool transparent = false;
  Align align = Align::Left;
  bool word_wrap = false;
  bool visible = true;
  bool enabled = true;
  Picture picture = Picture::None;
  Cursor cursor = Cursor::Default;
  std::string hint;
  BevelStyle bevel = BevelStyle::None;
  int min = 0;  // up-down range and position
  int max = 100;
  int position = 0;
  bool checked = false;
};

// Which property changed, for observers.
enum class Property { Caption, Visible, Enabled, Bounds, Font, Checked, Position, Picture, Focus };

class ControlSet;

class Control {
 public:
  Control(ControlSet& owner, const ControlSpec& design, Control* parent);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return m_design.name; }
  ControlKind Kind() const { return m_design.kind; }
  Control* Parent() const { return m_parent; }
  const ControlSpec& Design() const { return m_design; }

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);

  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);
  // Visible and every parent visible: what the user can see and click.
  bool Showing() const;

  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);

  const Rect& Bounds() const { return m_bounds; }
  void SetBounds(const Rect& bounds);
  int Left() const { return m_bounds.left; }
  int Top() const { return m_bounds.top; }
  int Width() const { return m_bounds.width; }
  int Height() const { return m_bounds.height; }
  void SetLeft(int left);
  void SetTop(int top);

  const Font& GetFont() const { return m_font; }
  Color FontColor() const { return m_font.color; }
  void SetFontColor(Color color);

  // A check box's mark. Changing it runs OnClick, whoever changes it, as the
  // platform's check box does.
  bool Checked() const { return m_checked; }
  void SetChecked(bool checked);

  // An up-down's position, kept within its range (no wrap-around).
  int Position() const { return m_position; }
  void SetPosition(int position);
  int Min() const { return m_design.min; }
  int Max() const { return m_design.max; }

  Picture GetPicture() const { return m_picture; }
  void SetPicture(Picture picture);

  // The drawing surface of an image control (null for other kinds).
  Canvas* GetCanvas() const { return m_canvas.get(); }
  void SetCanvas(std::unique_ptr<Canvas> canvas) { m_canvas = std::move(canvas); }

  bool Focused() const;
  // Gives the keyboard focus to this control if it can take it (showing, enabled, a
  // button or check box).
  void SetFocus();

  // User actions, as the front end or a test delivers them. Each does nothing unless
  // the control is showing and enabled.
  void Click();               // button, label, image or check box click
  void UpDownClick(bool up);  // one arrow of an up-down
  void MouseDown(MouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(MouseButton button, int x, int y);

  std::function<void()> OnClick;
  std::function<void(MouseButton, int, int)> OnMouseDown;
  std::function<void(int, int)> OnMouseMove;
  std::function<void(MouseButton, int, int)> OnMouseUp;
  // Keys that reach this control; setting the key to 0 consumes it.
  std::function<void(int& key)> OnKeyDown;
  std::function<void(int& key)> OnKeyPress;

 private:
  bool Active() const { return Showing() && m_enabled; }
  void Notify(Property property);

  ControlSet& m_owner;
  ControlSpec m_design;
  Control* m_parent;
  std::string m_caption;
  bool m_visible;
  bool m_enabled;
  Rect m_bounds;
  Font m_font;
  bool m_checked;
  int m_position;
  Picture m_picture;
  std::unique_ptr<Canvas> m_canvas;
};

// Makes the drawing surface of each image control.
class CanvasFactory {
 public:
  virtual ~CanvasFactory() = default;
  virtual std::unique_ptr<Canvas> Make(int width, int height) = 0;
};

// The controls of one window, made from its layout table, with the keyboard focus.
class ControlSet {
 public:
  ControlSet(const std::vector<ControlSpec>& layout, CanvasFactory& canvases);

  // The control of that name; a name not in the layout is a programming error and
  // aborts with a message.
  Control& operator[](const std::string& name) const;
  Control* Find(const std::string& name) const;
  // Controls in layout order (parents before children).
  const std::vector<Control*>& All() const { return m_order; }

  // The control that has the keyboard focus, or null while the window itself has it.
  Control* Focus() const { return m_focus; }
  void SetFocus(Control* control);

  using Observer = std::function<void(Control&, Property)>;
  // Observers see every property change of every control.
  void Subscribe(Observer observer) { m_observers.push_back(std::move(observer)); }

 private:
  friend class Control;
  void Changed(Control& control, Property property);
  void HiddenOrDisabled(Control& control);

  std::map<std::string, std::unique_ptr<Control>> m_controls;
  std::vector<Control*> m_order;
  Control* m_focus = nullptr;
  std::vector<Observer> m_observers;
};

}  // namespace ui
