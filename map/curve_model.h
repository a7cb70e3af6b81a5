// The two advance curves, the controller's known copy of them, the editing state,
// the limits and the gauge inputs: the program-wide state of the advance map.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "protocol/catalogue.h"
#include "ui/variant.h"

namespace map {

using Curve = protocol::CurvePoints;  // index 0 is point 1

struct CurveModel {
  // Curve c (1 or 2) is AdvCurves[c - 1].
  std::array<Curve, 2> AdvCurves{};
  std::array<Curve, 2> DeviceCurves{};
  int CurrentCurve = 2;
  int SelectedPoint = 1;
  std::uint8_t SelectedValue = 25;
  int MaxAdvance = 25;
  int MaxRetard = 25;
  std::uint8_t FirstPointRetard = 15;
  int DeviceVersion = 60;
  bool CurvesInSync = false;
  // Every curve sent since the controller last recorded it has been recorded.
  bool CurvesStored = true;
  // Curve c was sent and the controller has not recorded it since: UnrecordedCurves[c - 1].
  std::array<bool, 2> UnrecordedCurves{};
  std::string AdvText = "0";
  std::string RpmText = "1500";
  std::uint8_t RpmPeriod = 200;
  std::uint8_t GaugeAdvance = 25;
  bool Dragging = false;
  int DragStartY = 0;
  int CurveBeforeRead = 2;
  // A Read waits for its replies; the curve shown before it is CurveBeforeRead.
  bool ReadUnderWay = false;

  Curve& Working(int curve) { return AdvCurves[static_cast<std::size_t>(curve - 1)]; }
  Curve& Device(int curve) { return DeviceCurves[static_cast<std::size_t>(curve - 1)]; }
  // DeviceCurves[c - 1] is what the controller holds; false after a send of curve c
  // that got no answer, when the controller may or may not have taken it.
  std::array<bool, 2> DeviceCurveKnown{true, true};
  void SetDeviceKnown(int curve, bool known) {
    DeviceCurveKnown[static_cast<std::size_t>(curve - 1)] = known;
  }
  // The controller took curve c (sent) or recorded it in EEPROM (recorded).
  void SetRecorded(int curve, bool recorded) {
    UnrecordedCurves[static_cast<std::size_t>(curve - 1)] = !recorded;
    CurvesStored = !UnrecordedCurves[0] && !UnrecordedCurves[1];
  }
  // Point p (1..26) of the current working curve.
  std::uint8_t& Point(int p) { return Working(CurrentCurve)[static_cast<std::size_t>(p - 1)]; }
};

}  // namespace map
