#include "sim/emulated_port.h"

#include <algorithm>

namespace sim {

EmulatedDevice::EmulatedDevice(ui::EventLoop& loop, Controller& controller,
                               std::string controller_name, std::set<std::string> other_names)
    : m_loop(loop),
      m_line(controller),
      m_controller_name(std::move(controller_name)),
      m_other_names(std::move(other_names)) {}

std::unique_ptr<EmulatedPort> EmulatedDevice::MakePort() {
  return std::make_unique<EmulatedPort>(*this);
}

std::function<std::unique_ptr<serial::PortBackend>()> EmulatedDevice::PortFactory() {
  return [this]() -> std::unique_ptr<serial::PortBackend> { return MakePort(); };
}

std::uint64_t EmulatedDevice::NowNs() {
  const std::uint32_t tick = m_loop.TickCount();
  if (!m_clock_started) {
    m_clock_started = true;
    m_elapsed_ms = tick;
  } else {
    m_elapsed_ms += static_cast<std::uint32_t>(tick - m_last_tick);
  }
  m_last_tick = tick;
  return m_elapsed_ms * kNsPerMs;
}

void EmulatedDevice::SetFault(const Fault& fault) {
  if (fault.mode == FaultMode::Unplug) {
    // The handle open on the controller loses its device; the name is free again
    // for when the device comes back.
    const auto holder = m_holders.find(m_controller_name);
    if (holder != m_holders.end()) {
      holder->second->m_dead = true;
      m_holders.erase(holder);
    }
  }
  m_line.SetFault(fault, NowNs());
}

bool EmulatedDevice::Exists(const std::string& name) const {
  if (name == m_controller_name) return m_line.Plugged();
  return m_other_names.contains(name);
}

bool EmulatedDevice::Claim(const std::string& name, EmulatedPort* port) {
  if (!Exists(name) || m_holders.contains(name)) return false;
  m_holders[name] = port;
  return true;
}

void EmulatedDevice::Release(const EmulatedPort* port) {
  std::erase_if(m_holders, [port](const auto& entry) { return entry.second == port; });
}

EmulatedPort::~EmulatedPort() {
  Close();
}

bool EmulatedPort::Open(const std::string& name) {
  if (m_open || !m_device.Claim(name, this)) return false;
  m_open = true;
  m_dead = false;
  m_name = name;
  if (OnController()) {
    // Whatever arrived while nobody held the port is gone.
    Line& line = m_device.GetLine();
    line.Update(m_device.NowNs());
    line.DiscardReadable();
    line.TakeOverrun();
  }
  return true;
}

void EmulatedPort::Close() {
  if (!m_open) return;
  m_device.Release(this);
  m_open = false;
  m_dead = false;
  m_name.clear();
}

bool EmulatedPort::Usable() {
  return m_open && !m_dead;
}

bool EmulatedPort::SetCommState(const serial::DeviceControlBlock& dcb) {
  if (!Usable()) return false;
  if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > 4 ||
      dcb.StopBits > 2) {
    return false;
  }
  m_dcb = dcb;
  if (OnController()) {
    Line& line = m_device.GetLine();
    line.Update(m_device.NowNs());
    line.SetByteTime(ByteTimeNs(dcb.BaudRate, dcb.ByteSize, dcb.Parity != 0, dcb.StopBits));
  }
  return true;
}

bool EmulatedPort::SetupComm(std::uint32_t in_queue, std::uint32_t out_queue) {
  if (!Usable() || in_queue == 0 || out_queue == 0) return false;
  m_out_capacity = out_queue;
  if (OnController()) m_device.GetLine().SetInputCapacity(in_queue);
  return true;
}

bool EmulatedPort::SetCommTimeouts(const serial::CommTimeouts& timeouts) {
  if (!Usable()) return false;
  m_timeouts = timeouts;
  return true;
}

bool EmulatedPort::PurgeComm(std::uint32_t flags) {
  if (!Usable()) return false;
  if (!OnController()) return true;
  Line& line = m_device.GetLine();
  const std::uint64_t now = m_device.NowNs();
  line.Update(now);
  if (flags & (serial::kPurgeRxClear | serial::kPurgeRxAbort)) line.DiscardReadable();
  if (flags & (serial::kPurgeTxClear | serial::kPurgeTxAbort)) line.DiscardHostBytes(now);
  return true;
}

bool EmulatedPort::ClearCommError(serial::CommStatus& status) {
  status = serial::CommStatus{};
  if (!Usable()) return false;
  if (!OnController()) return true;
  Line& line = m_device.GetLine();
  const std::uint64_t now = m_device.NowNs();
  line.Update(now);
  status.errors = line.TakeOverrun() ? kCeRxOver : 0;
  status.in_queue = static_cast<std::uint32_t>(line.Readable());
  status.out_queue = static_cast<std::uint32_t>(line.HostBytesInFlight(now));
  return true;
}

bool EmulatedPort::ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) {
  read = 0;
  if (!Usable()) return false;
  if (!OnController()) return true;
  Line& line = m_device.GetLine();
  line.Update(m_device.NowNs());
  const std::string bytes = line.Take(count);
  std::copy(bytes.begin(), bytes.end(), buffer);
  read = static_cast<std::uint32_t>(bytes.size());
  return true;
}

bool EmulatedPort::WriteFile(const std::uint8_t* data, std::uint32_t count,
                             std::uint32_t& written) {
  written = 0;
  if (!Usable()) return false;
  if (!OnController()) {
    // Nothing listens on this name; the bytes go out all the same.
    written = count;
    return true;
  }
  Line& line = m_device.GetLine();
  const std::uint64_t now = m_device.NowNs();
  line.Update(now);
  const std::size_t queued = line.HostBytesInFlight(now);
  const std::size_t room = m_out_capacity > queued ? m_out_capacity - queued : 0;
  written = static_cast<std::uint32_t>(std::min<std::size_t>(count, room));
  line.HostSend(std::string_view(reinterpret_cast<const char*>(data), written), now);
  return true;
}

bool EmulatedPort::GetCommModemStatus(std::uint32_t& bits) {
  bits = 0;
  if (!Usable()) return false;
  // The controller holds CTS and DSR on; an empty port shows no line.
  if (OnController()) bits = serial::kMsCtsOn | serial::kMsDsrOn;
  return true;
}

}  // namespace sim
