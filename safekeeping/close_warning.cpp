#include "safekeeping/close_warning.h"

namespace safekeeping {

std::string UnsentCurvesText(const map::CurveModel& model) {
  std::string text;
  for (int curve = 1; curve <= 2; ++curve) {
    const auto i = static_cast<std::size_t>(curve - 1);
    // A copy the controller may or may not have taken counts as not sent.
    const bool unsent = model.AdvCurves[i] != model.DeviceCurves[i] || !model.DeviceCurveKnown[i];
    const char* state = unsent                      ? "edited and not sent"
                        : model.UnrecordedCurves[i] ? "sent and not recorded in EEPROM"
                                                    : nullptr;
    if (state != nullptr) text += "Advance " + std::to_string(curve) + ": " + state + "\r\n";
  }
  return text;
}

bool MayClose(ui::Variant variant, const map::CurveModel& model,
              const ui::PreferencesValues& preferences, ui::Dialogs& dialogs) {
  if (!preferences.ask_before_closing) return true;
  const std::string unsent = UnsentCurvesText(model);
  if (unsent.empty()) return true;
  return dialogs.MessageBox(
             "The controller does not hold these curves as the screen shows "
             "them:\r\n" +
                 unsent + "\r\nClose the window and lose them?",
             ui::ProgramName(variant), ui::DialogIcon::Warning,
             ui::DialogButtons::CloseCancel) == ui::DialogResult::Ok;
}

}  // namespace safekeeping
