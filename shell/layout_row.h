// A small builder for the rows of the window's layout table, so that each row names
// only what differs from a control's platform defaults.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"

namespace shell {

class Row {
 public:
  Row(std::string name, ui::ControlKind kind, ui::Rect bounds, std::string parent = {}) {
    m_spec.name = std::move(name);
    m_spec.kind = kind;
    m_spec.bounds = bounds;
    m_spec.parent = std::move(parent);
  }

  Row& Caption(std::string caption) {
    m_spec.caption = std::move(caption);
    return *this;
  }
  Row& Bold() {
    m_spec.font.bold = true;
    return *this;
  }
  Row& Italic() {
    m_spec.font.italic = true;
    return *this;
  }
  Row& FontHeight(int height) {
    m_spec.font.height = height;
    return *this;
  }
  Row& FontColor(ui::Color color) {
    m_spec.font.color = color;
    return *this;
  }
  Row& FontFamily(std::string family) {
    m_spec.font.family = std::move(family);
    return *this;
  }
  Row& Background(ui::Color color) {
    m_spec.color = color;
    return *this;
  }
  Row& Transparent() {
    m_spec.transparent = true;
    return *this;
  }
  Row& Align(ui::Align align) {
    m_spec.align = align;
    return *this;
  }
  Row& WordWrap() {
    m_spec.word_wrap = true;
    return *this;
  }
  Row& Hidden() {
    m_spec.visible = false;
    return *this;
  }
  Row& Picture(ui::Picture picture) {
    m_spec.picture = picture;
    return *this;
  }
  Row& Cursor(ui::Cursor cursor) {
    m_spec.cursor = cursor;
    return *this;
  }
  Row& Hint(std::string hint) {
    m_spec.hint = std::move(hint);
    return *this;
  }
  Row& Bevel(ui::BevelStyle bevel) {
    m_spec.bevel = bevel;
    return *this;
  }
  Row& Range(int min, int max, int position) {
    m_spec.min = min;
    m_spec.max = max;
    m_spec.position = position;
    return *this;
  }
  Row& Checked() {
    m_spec.checked = true;
    return *this;
  }

  const ui::ControlSpec& Spec() const { return m_spec; }

 private:
  ui::ControlSpec m_spec;
};

using Rows = std::vector<ui::ControlSpec>;

inline void Add(Rows& rows, const Row& row) {
  rows.push_back(row.Spec());
}

}  // namespace shell
