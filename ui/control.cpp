#include "ui/control.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ui {

Control::Control(ControlSet& owner, const ControlSpec& spec, Control* parent)
    : m_owner(owner),
      m_spec(spec),
      m_parent(parent),
      m_caption(spec.caption),
      m_visible(spec.visible),
      m_enabled(spec.enabled),
      m_bounds(spec.bounds),
      m_font(spec.font),
      m_checked(spec.checked),
      m_position(std::clamp(spec.position, spec.min, spec.max)),
      m_picture(spec.picture) {}

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
  position = std::clamp(position, m_spec.min, m_spec.max);
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
  const bool focusable = m_spec.kind == ControlKind::Button ||
                         m_spec.kind == ControlKind::BitButton ||
                         m_spec.kind == ControlKind::CheckBox;
  if (focusable && Active()) m_owner.SetFocus(this);
}

void Control::Click() {
  if (!Active()) return;
  if (m_spec.kind == ControlKind::CheckBox) {
    SetChecked(!m_checked);
    return;
  }
  if (OnClick) OnClick();
}

void Control::UpDownClick(bool up) {
  if (!Active() || m_spec.kind != ControlKind::UpDown) return;
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
  for (const ControlSpec& spec : layout) {
    Control* parent = nullptr;
    if (!spec.parent.empty()) {
      parent = Find(spec.parent);
      if (parent == nullptr) {
        std::fprintf(stderr, "layout: %s names unknown parent %s\n", spec.name.c_str(),
                     spec.parent.c_str());
        std::abort();
      }
    }
    auto control = std::make_unique<Control>(*this, spec, parent);
    if (spec.kind == ControlKind::Image) {
      control->SetCanvas(canvases.Make(spec.bounds.width, spec.bounds.height));
    }
    m_order.push_back(control.get());
    m_controls[spec.name] = std::move(control);
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
