#include "ui/control.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ui {

Control::Control(ControlSet& owner, const ControlSpec& design, Control* parent)
    : m_owner(owner),
      m_design(design),
      m_parent(parent),
      m_caption(design.caption),
      m_visible(design.visible),
      m_enabled(design.enabled),
      m_bounds(design.bounds),
      m_font(design.font),
      m_checked(design.checked),
      m_position(std::clamp(design.position, design.min, design.max)),
      m_picture(design.picture) {}

void Control::Notify(Property property) {
  m_owner.Changed(*this, property);
}

void Control::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  Notify(Property::Caption);
}

void Control::SetVisible(bool visible) {
  if (visible == m_visible) return;
  m_visible = visible;
  if (!visible) m_owner.HiddenOrDisabled(*this);
  Notify(Property::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c != nullptr; c = c->m_parent) {
    if (!c->m_visible) return false;
  }
  return true;
}

void Control::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  if (!enabled) m_owner.HiddenOrDisabled(*this);
  Notify(Property::Enabled);
}

void Control::SetBounds(const Rect& bounds) {
  if (bounds == m_bounds) return;
  m_bounds = bounds;
  Notify(Property::Bounds);
}

void Control::SetLeft(int left) {
  SetBounds({left, m_bounds.top, m_bounds.width, m_bounds.height});
}

void Control::SetTop(int top) {
  SetBounds({m_bounds.left, top, m_bounds.width, m_bounds.height});
}

void Control::SetFontColor(Color color) {
  if (color == m_font.color) return;
  m_font.color = color;
  Notify(Property::Font);
}

void Control::SetChecked(bool checked) {
  if (checked == m_checked) return;
  m_checked = checked;
  Notify(Property::Checked);
  if (OnClick) OnClick();
}

void Control::SetPosition(int position) {
  position = std::clamp(position, m_design.min, m_design.max);
  if (position == m_position) return;
  m_position = position;
  Notify(Property::Position);
}

void Control::SetPicture(Picture picture) {
  if (picture == m_picture) return;
  m_picture = picture;
  Notify(Property::Picture);
}

bool Control::Focused() const {
  return m_owner.Focus() == this;
}

void Control::SetFocus() {
  const bool focusable = m_design.kind == ControlKind::Button ||
                         m_design.kind == ControlKind::BitButton ||
                         m_design.kind == ControlKind::CheckBox;
  if (focusable && Active()) m_owner.SetFocus(this);
}

void Control::Click() {
  if (!Active()) return;
  if (m_design.kind == ControlKind::CheckBox) {
    SetChecked(!m_checked);
    return;
  }
  if (OnClick) OnClick();
}

void Control::UpDownClick(bool up) {
  if (!Active() || m_design.kind != ControlKind::UpDown) return;
  SetPosition(m_position + (up ? 1 : -1));
  if (OnClick) OnClick();
}

void Control::MouseDown(MouseButton button, int x, int y) {
  if (Active() && OnMouseDown) OnMouseDown(button, x, y);
}

void Control::MouseMove(int x, int y) {
  if (Active() && OnMouseMove) OnMouseMove(x, y);
}

void Control::MouseUp(MouseButton button, int x, int y) {
  if (Active() && OnMouseUp) OnMouseUp(button, x, y);
}

ControlSet::ControlSet(const std::vector<ControlSpec>& layout, CanvasFactory& canvases) {
  for (const ControlSpec& design : layout) {
    Control* parent = nullptr;
    if (!design.parent.empty()) {
      parent = Find(design.parent);
      if (parent == nullptr) {
        std::fprintf(stderr, "layout: %s names unknown parent %s\n", design.name.c_str(),
                     design.parent.c_str());
        std::abort();
      }
    }
    auto control = std::make_unique<Control>(*this, design, parent);
    if (design.kind == ControlKind::Image) {
      control->SetCanvas(canvases.Make(design.bounds.width, design.bounds.height));
    }
    m_order.push_back(control.get());
    m_controls[design.name] = std::move(control);
  }
}

Control* ControlSet::Find(const std::string& name) const {
  auto it = m_controls.find(name);
  return it == m_controls.end() ? nullptr : it->second.get();
}

Control& ControlSet::operator[](const std::string& name) const {
  Control* control = Find(name);
  if (control == nullptr) {
    std::fprintf(stderr, "no control named %s in this window\n", name.c_str());
    std::abort();
  }
  return *control;
}

void ControlSet::SetFocus(Control* control) {
  if (control == m_focus) return;
  Control* before = m_focus;
  m_focus = control;
  if (before != nullptr) Changed(*before, Property::Focus);
  if (control != nullptr) Changed(*control, Property::Focus);
}

void ControlSet::HiddenOrDisabled(Control& control) {
  // A control that can no longer be seen or used loses the focus to the window.
  for (Control* c = m_focus; c != nullptr; c = c->Parent()) {
    if (c == &control) {
      SetFocus(nullptr);
      return;
    }
  }
}

void ControlSet::Changed(Control& control, Property property) {
  for (const Observer& observer : m_observers) observer(control, property);
}

}  // namespace ui
