#include "serial/settings_dialog.h"

#include <charconv>
#include <cstdint>
#include <utility>

#include "serial/advance_ini.h"

namespace serial {

namespace {

constexpr int kPorts = 16;

std::string Trimmed(const std::string& text) {
  // Blanks and control characters at both ends go, as the platform's Trim removes them.
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Writes the list's choice through `set` when the index names one of its `count` items;
// a list left without a choice keeps the driver's value.
template <typename Enum, typename Setter>
void Choose(int index, int count, Setter set) {
  if (index >= 0 && index < count) set(static_cast<Enum>(index));
}

}  // namespace

const std::vector<std::string>& PortItems() {
  static const std::vector<std::string> kItems = [] {
    std::vector<std::string> items;
    for (int n = 1; n <= kPorts; ++n) items.push_back("\\\\.\\COM" + std::to_string(n));
    return items;
  }();
  return kItems;
}

const std::vector<std::string>& BaudRateItems() {
  static const std::vector<std::string> kItems = {
      "110",   "300",   "600",   "1200",   "2400",   "4800",   "9600",   "14400",  "19200",
      "38400", "56000", "57600", "115200", "128000", "230400", "256000", "460800", "921600"};
  return kItems;
}

long long BaudRateOf(const std::string& text) {
  std::int32_t value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  // Read as "Advance.ini" is: blanks before the number, and a plus sign.
  while (begin != end && *begin == ' ') ++begin;
  if (begin != end && *begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (begin == end || error != std::errc() || stop != end) return -1;
  return value;
}

TSettingsForm::TSettingsForm(TCommPortDriver& driver, ui::Dialogs& dialogs,
                             std::vector<SerialDevice> devices, std::filesystem::path port_map)
    : m_driver(driver),
      m_dialogs(dialogs),
      m_devices(std::move(devices)),
      m_port_map(std::move(port_map)) {}

ui::SettingsRequest TSettingsForm::Request() {
  ui::SettingsRequest request;
  ui::SettingsValues& v = request.values;
  v.port_name = m_driver.PortName();
  v.baud_rate = std::to_string(m_driver.BaudRateValue());
  v.data_bits = static_cast<int>(m_driver.DataBits());
  v.parity = static_cast<int>(m_driver.Parity());
  v.stop_bits = static_cast<int>(m_driver.StopBits());
  v.hw_flow = static_cast<int>(m_driver.HwFlow());
  v.sw_flow = static_cast<int>(m_driver.SwFlow());
  v.dtr_control = m_driver.EnableDTROnOpen() ? 0 : 1;
  v.device_check = m_driver.CheckLineStatus() ? 0 : 1;

  request.port_items = PortItems();
  for (const SerialDevice& device : m_devices) request.port_items.push_back(device.label);
  request.baud_rate_items = BaudRateItems();
  request.data_bits_items = {"5", "6", "7", "8"};
  request.parity_items = {"None", "Odd", "Even", "Mark", "Space"};
  request.stop_bits_items = {"1", "1.5", "2"};
  request.hw_flow_items = {"None", "None but RTS on", "RTS/CTS"};
  request.sw_flow_items = {"None", "XON/XOFF"};
  request.dtr_control_items = {"Standard", "Keep off"};
  request.device_check_items = {"Yes", "No"};
  request.ok = [this](const ui::SettingsValues& values) { return OkButtonClick(values); };
  return request;
}

bool TSettingsForm::ShowModal() {
  return m_dialogs.Settings(Request()).has_value();
}

bool TSettingsForm::OkButtonClick(const ui::SettingsValues& values) {
  const std::string port = Trimmed(values.port_name);
  if (port.empty()) {
    Error("Please, enter a valid port name.");
    return false;
  }
  // -1 for a text that is no number, and any negative number, wrap round far above
  // the highest rate.
  const auto baud = static_cast<std::uint32_t>(BaudRateOf(values.baud_rate));
  if (baud < kMinBaudRate || baud > kMaxBaudRate) {
    Error("Please, enter a valid baud rate.");
    return false;
  }

  m_driver.SetPortName(PortNameFor(port));
  m_driver.SetBaudRateValue(baud);
  Choose<TDataBits>(values.data_bits, 4, [this](TDataBits b) { m_driver.SetDataBits(b); });
  Choose<TParity>(values.parity, 5, [this](TParity p) { m_driver.SetParity(p); });
  Choose<TStopBits>(values.stop_bits, 3, [this](TStopBits b) { m_driver.SetStopBits(b); });
  Choose<THwFlowControl>(values.hw_flow, 3, [this](THwFlowControl f) { m_driver.SetHwFlow(f); });
  Choose<TSwFlowControl>(values.sw_flow, 2, [this](TSwFlowControl f) { m_driver.SetSwFlow(f); });
  m_driver.SetEnableDTROnOpen(values.dtr_control == 0);
  m_driver.SetCheckLineStatus(values.device_check == 0);
  return true;
}

std::string TSettingsForm::PortNameFor(const std::string& text) const {
  for (const SerialDevice& device : m_devices) {
    if (device.label != text) continue;
    if (const auto n = LinkIntoPortMap(m_port_map, device.path)) {
      return "\\\\.\\COM" + std::to_string(*n);
    }
    // A full map: the device is opened by its own name for this run.
    return device.path.string();
  }
  return text;
}

void TSettingsForm::Error(const std::string& text) {
  m_dialogs.MessageBox(text, "Error", ui::DialogIcon::Error, ui::DialogButtons::Ok);
}

}  // namespace serial
