// The control IDs of the port settings dialog ("Settings"): what GetDlgItem finds on
// the dialog window, for the dialog itself and for whoever drives it from outside.
// "Ok" and "Cancel" carry the system's IDOK and IDCANCEL, so Enter and Escape press them.
#pragma once

namespace win32gui {

constexpr int kSettingsOkId = 1;      // IDOK, "Ok", the default button
constexpr int kSettingsCancelId = 2;  // IDCANCEL, "Cancel"
// SettingsPageControl: the tab control with "Base Settings", "Flow Control" and
// "Device Control", in that order.
constexpr int kSettingsPagesId = 200;
// The nine lists, in the order of their pages. Every list is a direct child of the
// dialog; those of the pages not shown are hidden.
constexpr int kPortComboBoxId = 201;        // editable
constexpr int kBaudRateComboBoxId = 202;    // editable
constexpr int kDataBitsComboBoxId = 203;    // drop-down list
constexpr int kParityComboBoxId = 204;      // drop-down list
constexpr int kStopBitsComboBoxId = 205;    // drop-down list
constexpr int kHwFlowComboBoxId = 206;      // drop-down list
constexpr int kSwFlowComboBoxId = 207;      // drop-down list
constexpr int kDTRControlComboBoxId = 208;  // drop-down list
constexpr int kDevCheckComboBoxId = 209;    // drop-down list
// The label of a list: its list's ID + kSettingsLabelOffset ("Port name:" is 301).
constexpr int kSettingsLabelOffset = 100;

}  // namespace win32gui
