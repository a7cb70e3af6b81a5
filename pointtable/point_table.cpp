#include "pointtable/point_table.h"

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "map/curve_editor.h"
#include "map/limits.h"
#include "pointtable/degrees_text.h"
#include "pointtable/operations.h"

namespace pointtable {

namespace {

constexpr std::size_t kFirstAdvanceColumn = 2;
constexpr int kRows = static_cast<int>(protocol::kPoints);

enum class Operation { Set, Shift, Interpolate, Smooth };
constexpr std::size_t kOperations = 4;

// The buttons, the operations of Advance 1 then those of Advance 2.
const std::vector<std::string> kActions = {
    "Set Advance 1", "Shift Advance 1", "Interpolate Advance 1", "Smooth Advance 1",
    "Set Advance 2", "Shift Advance 2", "Interpolate Advance 2", "Smooth Advance 2"};

using Curves = std::array<CurveDegrees, 2>;
// The points each curve had to hold within the limits.
using Held = std::array<std::vector<int>, 2>;

std::string CurveName(std::size_t c) {
  return "Advance " + std::to_string(c + 1);
}

std::string Signed(int degrees) {
  return (degrees > 0 ? "+" : "") + std::to_string(degrees);
}

// The advance cells as numbers, or the note naming the first that is not one.
std::variant<Curves, std::string> ReadCells(const ui::TableState& state) {
  Curves curves{};
  for (std::size_t row = 0; row < protocol::kPoints; ++row) {
    for (std::size_t c = 0; c < 2; ++c) {
      const std::string cell =
          row < state.rows.size() && kFirstAdvanceColumn + c < state.rows[row].size()
              ? state.rows[row][kFirstAdvanceColumn + c]
              : std::string();
      const ParsedNumber number = ParseDegrees(cell);
      if (number.kind != NumberKind::Whole) {
        return CurveName(c) + " of point " + std::to_string(row + 1) + ", \"" + cell +
               "\", is not a whole number of degrees.";
      }
      curves[c][row] = number.value;
    }
  }
  return curves;
}

void WriteCells(ui::TableState& state, const Curves& curves) {
  for (std::size_t row = 0; row < protocol::kPoints && row < state.rows.size(); ++row) {
    for (std::size_t c = 0; c < 2; ++c) {
      state.rows[row][kFirstAdvanceColumn + c] = map::DegreesText(curves[c][row] + kZeroDegrees);
    }
  }
}

std::string HeldNote(const Held& held, const PointLimits& limits) {
  std::string points;
  for (std::size_t c = 0; c < 2; ++c) {
    if (held[c].empty()) continue;
    if (!points.empty()) points += "; ";
    points +=
        CurveName(c) + (held[c].size() == 1 ? " point " : " points ") + map::PointList(held[c]);
  }
  if (points.empty()) return {};
  return "Held within the limits (" + limits.Text() + "): " + points + ".";
}

std::string RangeText(PointRange range) {
  if (range.first == range.last) return "point " + std::to_string(range.first + 1);
  return "points " + std::to_string(range.first + 1) + " to " + std::to_string(range.last + 1);
}

// Works `operation` on the range of one curve, adding the points it held to `held`;
// what it did, or why not.
std::string Operate(Operation operation, CurveDegrees& curve, PointRange range,
                    const std::string& value_text, const PointLimits& limits,
                    std::vector<int>& held) {
  const ParsedNumber value = ParseDegrees(value_text);
  const bool needs_value = operation == Operation::Set || operation == Operation::Shift;
  if (needs_value && value.kind != NumberKind::Whole) {
    return value_text.empty() ? "Type the degrees in the Degrees box first."
                              : "The Degrees box needs a whole number, not \"" + value_text + "\".";
  }
  if (!needs_value && range.last - range.first < 2) {
    return "Select three points or more: the ends stay and the points between them change.";
  }
  std::vector<int> now;
  std::string done;
  switch (operation) {
    case Operation::Set:
      now = SetPoints(curve, range, value.value, limits);
      done = " set to " + Signed(value.value) + " degrees.";
      break;
    case Operation::Shift:
      now = ShiftPoints(curve, range, value.value, limits);
      done = " shifted by " + Signed(value.value) + " degrees.";
      break;
    case Operation::Interpolate:
      now = InterpolatePoints(curve, range, limits);
      done = " on a straight line between the ends.";
      break;
    case Operation::Smooth:
      now = SmoothPoints(curve, range, limits);
      done = " smoothed.";
      break;
  }
  held.insert(held.end(), now.begin(), now.end());
  std::sort(held.begin(), held.end());
  held.erase(std::unique(held.begin(), held.end()), held.end());
  return RangeText(range) + done;
}

// Works one button on the state; the note says what it did, or why not.
void Act(std::size_t action, ui::TableState& state, const PointLimits& limits) {
  if (action >= kActions.size()) return;
  auto cells = ReadCells(state);
  if (auto* error = std::get_if<std::string>(&cells)) {
    state.note = *error;
    return;
  }
  Curves& curves = std::get<Curves>(cells);
  Held held;
  // Typed values are held as soon as a button reads them.
  for (std::size_t c = 0; c < 2; ++c) held[c] = HoldWithinLimits(curves[c], limits);

  const std::size_t c = action / kOperations;
  const PointRange range{std::max(state.first_row, 0), std::min(state.last_row, kRows - 1)};
  std::string done;
  if (state.first_row < 0 || range.last < range.first) {
    done = "Select the points first.";
  } else {
    done = CurveName(c) + ": " +
           Operate(static_cast<Operation>(action % kOperations), curves[c], range, state.value,
                   limits, held[c]);
  }
  WriteCells(state, curves);
  const std::string held_note = HeldNote(held, limits);
  state.note = held_note.empty() ? done : done + " " + held_note;
}

// OK: true when every cell is a whole number within the limits. Values beyond them
// are held and shown first, so what OK applies is always what the table showed.
bool Accept(ui::TableState& state, const PointLimits& limits) {
  auto cells = ReadCells(state);
  if (auto* error = std::get_if<std::string>(&cells)) {
    state.note = *error;
    return false;
  }
  Curves& curves = std::get<Curves>(cells);
  Held held;
  for (std::size_t c = 0; c < 2; ++c) held[c] = HoldWithinLimits(curves[c], limits);
  if (held[0].empty() && held[1].empty()) return true;
  WriteCells(state, curves);
  state.note = HeldNote(held, limits) + " Press OK again to apply these values.";
  return false;
}

}  // namespace

ui::TableRequest PointTableRequest(const std::array<map::Curve, 2>& curves, const RpmAxis& rpm,
                                   const PointLimits& limits) {
  ui::TableRequest request;
  request.title = "Edit points";
  ui::TableState& state = request.state;
  state.text =
      "The advance of both curves in degrees at each point's RPM. Type into the Advance "
      "columns, or select points and press a button. The controller takes " +
      limits.Text() + ".";
  state.columns = {"Point", "RPM", "Advance 1", "Advance 2"};
  for (std::size_t i = 0; i < protocol::kPoints; ++i) {
    state.rows.push_back({std::to_string(i + 1), std::to_string(rpm[i]),
                          map::DegreesText(curves[0][i]), map::DegreesText(curves[1][i])});
  }
  request.editable = {false, false, true, true};
  request.value_label = "Degrees";
  request.actions = kActions;
  request.act = [limits](std::size_t action, ui::TableState& s) { Act(action, s, limits); };
  request.ok = [limits](ui::TableState& s) { return Accept(s, limits); };
  return request;
}

std::optional<std::array<map::Curve, 2>> EditPoints(ui::Dialogs& dialogs,
                                                    const std::array<map::Curve, 2>& curves,
                                                    const RpmAxis& rpm, const PointLimits& limits) {
  const std::optional<ui::TableState> accepted =
      dialogs.Table(PointTableRequest(curves, rpm, limits));
  if (!accepted) return std::nullopt;
  const auto cells = ReadCells(*accepted);
  // OK accepts only a table that reads whole; a platform that closes the dialog
  // otherwise changes nothing.
  const Curves* degrees = std::get_if<Curves>(&cells);
  if (degrees == nullptr) return std::nullopt;
  Curves held = *degrees;
  for (CurveDegrees& curve : held) HoldWithinLimits(curve, limits);
  return std::array<map::Curve, 2>{ToCurve(held[0]), ToCurve(held[1])};
}

}  // namespace pointtable
