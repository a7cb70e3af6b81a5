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
    m_design.name = std::move(name);
    m_design.kind = kind;
    m_design.bounds = bounds;
    m_design.parent = std::move(parent);
  }

  Row& Caption(std::string caption) {
    m_design.caption = std::move(caption);
    return *this;
  }
  Row& Bold() {
    m_design.font.bold = true;
    return *this;
  }
  Row& Italic() {
    m_design.font.italic = true;
    return *this;
  }
  Row& FontHeight(int height) {
    m_design.font.height = height;
    return *this;
  }
  Row& FontColor(ui::Color color) {
    m_design.font.color = color;
    return *this;
  }
  Row& FontFamily(std::string family) {
    m_design.font.family = std::move(family);
    return *this;
  }
  Row& Background(ui::Color color) {
    m_design.color = color;
    return *this;
  }
  Row& Transparent() {
    m_design.transparent = true;
    return *this;
  }
  Row& Align(ui::Align align) {
    m_design.align = align;
    return *this;
  }
  Row& WordWrap() {
    m_design.word_wrap = true;
    return *this;
  }
  Row& Hidden() {
    m_design.visible = false;
    return *this;
  }
  Row& Picture(ui::Picture picture) {
    m_design.picture = picture;
    return *this;
  }
  Row& Cursor(ui::Cursor cursor) {
    m_design.cursor = cursor;
    return *this;
  }
  Row& Hint(std::string hint) {
    m_design.hint = std::move(hint);
    return *this;
  }
  Row& Bevel(ui::BevelStyle bevel) {
    m_design.bevel = bevel;
    return *this;
  }
  Row& Range(int min, int max, int position) {
    m_design.min = min;
    m_design.max = max;
    m_design.position = position;
    return *this;
  }
  Row& Checked() {
    m_design.checked = true;
    return *this;
  }

  const ui::ControlSpec& Built() const { return m_design; }

 private:
  ui::ControlSpec m_design;
};

using Rows = std::vector<ui::ControlSpec>;

inline void Add(Rows& rows, const Row& row) {
  rows.push_back(row.Built());
}

}  // namespace shell
