// The confirmation before Send and REC EEPR, for users who asked for it: the points
// where the shown curve differs from the controller's copy, with OK and Cancel.
#pragma once

#include "map/curve_model.h"
#include "ui/dialogs.h"
#include "ui/variant.h"

namespace safekeeping {

enum class Write { Send, Record };

// True when the write goes ahead: not asked for, or confirmed.
bool ConfirmWrite(Write write, ui::Variant variant, const map::CurveModel& model,
                  const ui::PreferencesValues& preferences, ui::Dialogs& dialogs);

}  // namespace safekeeping
