// The question before the window closes while the controller does not hold the
// curves on screen: edited and not sent, or sent and not recorded in EEPROM, when
// switching the controller off loses them.
#pragma once

#include <string>

#include "map/curve_model.h"
#include "ui/dialogs.h"
#include "ui/variant.h"

namespace safekeeping {

// One line for each curve the controller does not hold as shown ("Advance 1: edited
// and not sent"); empty when it holds both.
std::string UnsentCurvesText(const map::CurveModel& model);
// True when the window may close: nothing is unsent, the user does not want to be
// asked, or the user chose to close all the same.
bool MayClose(ui::Variant variant, const map::CurveModel& model,
              const ui::PreferencesValues& preferences, ui::Dialogs& dialogs);

}  // namespace safekeeping
