#include "map/sync.h"

namespace map {

void CheckSync(CurveModel& model, ui::ControlSet& controls) {
  CheckSync(model, controls["Label34"], controls["Label35"]);
}

void CheckSync(CurveModel& model, ui::Control& label34, ui::Control& label35) {
  model.CurvesInSync = model.AdvCurves == model.DeviceCurves;
  label34.SetVisible(!model.CurvesInSync);
  label35.SetVisible(!model.CurvesStored);
}

}  // namespace map
