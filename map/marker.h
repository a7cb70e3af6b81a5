// Where a point marker stands for a value, and the value a marker's top stands for.
#pragma once

namespace map {

// Marker top for value v: +25 degrees (v 50) at 11, -25 degrees (v 0) at 111.
constexpr int MarkerTop(int value) {
  return 111 - 2 * value;
}
// The curve switch and the Up button place the marker one pixel higher.
constexpr int RaisedMarkerTop(int value) {
  return 110 - 2 * value;
}
// Back from a top: both MarkerTop(v) and RaisedMarkerTop(v) give v.
constexpr int ValueOfTop(int top) {
  return (111 - top) / 2;
}

// Left of the selection marker Lb30 for point p: 4 pixels left of the point's marker.
constexpr int SelectionLeft(int p) {
  return (p - 1) * 24 + 12;
}

}  // namespace map
