#include "map/sync.h"

namespace map {

void CheckSync(CurveModel& model, ui::ControlSet& controls) {
  CheckSync(model, controls["Label34"], controls["Label35"]);
}

void CheckSync(CurveModel& model, ui::Control& label34, ui::Control& label35) {
  // A controller's copy that is not known never counts as in step with the screen.
  model.CurvesInSync = model.AdvCurves == model.DeviceCurves && model.DeviceCurveKnown[0] &&
                       model.DeviceCurveKnown[1];
  label34.SetVisible(!model.CurvesInSync);
  label35.SetVisible(!model.CurvesStored);
}

}  // namespace map
