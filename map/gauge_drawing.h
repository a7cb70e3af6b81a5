// What the curve editor asks of the gauge panel and the chart: each operation
// redraws one picture from the curve model as it stands.
#pragma once

namespace map {

class GaugeDrawing {
 public:
  virtual ~GaugeDrawing() = default;
  // The RPM dial from RpmPeriod.
  virtual void RPM() = 0;
  // The advance gauge from GaugeAdvance, and its degrees in Label28.
  virtual void Adv() = 0;
  // The chart of the current curve.
  virtual void DrawTrace() = 0;
};

}  // namespace map
