#include "map/sync.h"

namespace map {

void CheckSync(CurveModel& model, ui::ControlSet& controls) {
  model.CurvesInSync = model.AdvCurves == model.DeviceCurves;
  controls["Label34"].SetVisible(!model.CurvesInSync);
  controls["Label35"].SetVisible(!model.CurvesStored);
}

}  // namespace map
