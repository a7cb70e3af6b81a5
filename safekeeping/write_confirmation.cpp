#include "safekeeping/write_confirmation.h"

#include <string>

#include "safekeeping/differences.h"

namespace safekeeping {

bool ConfirmWrite(Write write, ui::Variant variant, const map::CurveModel& model,
                  const ui::PreferencesValues& preferences, ui::Dialogs& dialogs) {
  if (!preferences.confirm_writes) return true;
  const int curve = model.CurrentCurve;
  const auto i = static_cast<std::size_t>(curve - 1);
  const std::string name = "Advance " + std::to_string(curve);
  std::string text = write == Write::Send ? "Send " + name + " to the controller?\r\n"
                                          : "Record " + name + " in the controller's EEPROM?\r\n";
  if (!model.DeviceCurveKnown[i]) {
    text += "What the controller holds of " + name + " is not known.";
  } else if (const auto found = Differences(curve, model.DeviceCurves[i], model.AdvCurves[i]);
             found.empty()) {
    text += "The controller holds " + name + " as the screen shows it.";
  } else {
    text += "Points where the screen differs from the controller:";
    for (const PointDifference& d : found) {
      text += "\r\n" + DifferenceLine(variant, model.DeviceVersion, d);
    }
  }
  return dialogs.MessageBox(text, ui::ProgramName(variant), ui::DialogIcon::Question,
                            ui::DialogButtons::OkCancel) == ui::DialogResult::Ok;
}

}  // namespace safekeeping
