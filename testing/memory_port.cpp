#include "testing/memory_port.h"

#include <algorithm>
#include <utility>

namespace serial {

bool MemoryPort::Open(const std::string& name) {
  Close();
  MemoryDevice& d = *m_device;
  ++d.open_attempts;
  if (!d.present || d.fail_open || d.held) return false;
  d.held = true;
  d.opened_names.push_back(name);
  m_open = true;
  m_generation = d.generation;
  return true;
}

void MemoryPort::Close() {
  if (!m_open) return;
  m_open = false;
  // A handle of a device that vanished no longer holds the one that came back.
  if (m_generation == m_device->generation) m_device->held = false;
}

bool MemoryPort::Alive() const {
  return m_open && m_device->present && m_generation == m_device->generation;
}

bool MemoryPort::SetCommState(const DeviceControlBlock& dcb) {
  if (!Alive()) return false;
  ++m_device->set_comm_state_calls;
  if (m_device->fail_set_comm_state) return false;
  m_device->last_dcb = dcb;
  return true;
}

bool MemoryPort::SetupComm(std::uint32_t in_queue, std::uint32_t out_queue) {
  if (!Alive()) return false;
  m_device->in_queue_size = in_queue;
  m_device->out_queue_size = out_queue;
  return true;
}

bool MemoryPort::SetCommTimeouts(const CommTimeouts& timeouts) {
  if (!Alive()) return false;
  m_device->last_timeouts = timeouts;
  return true;
}

bool MemoryPort::PurgeComm(std::uint32_t flags) {
  if (!Alive()) return false;
  m_device->purges.push_back(flags);
  if ((flags & kPurgeRxClear) != 0) m_device->input.clear();
  return true;
}

bool MemoryPort::ClearCommError(CommStatus& status) {
  if (!Alive()) return false;
  MemoryDevice& d = *m_device;
  status.errors = std::exchange(d.error_bits, 0);
  status.in_queue = static_cast<std::uint32_t>(d.input.size());
  status.out_queue = d.queue_full ? d.out_queue_size : 0;
  return true;
}

bool MemoryPort::ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) {
  read = 0;
  if (!Alive()) return false;
  MemoryDevice& d = *m_device;
  d.read_requests.push_back(count);
  read = static_cast<std::uint32_t>(std::min<std::size_t>(count, d.input.size()));
  std::copy_n(d.input.begin(), read, buffer);
  d.input.erase(d.input.begin(), d.input.begin() + read);
  return true;
}

bool MemoryPort::WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) {
  written = 0;
  if (!Alive()) return false;
  MemoryDevice& d = *m_device;
  written = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, d.write_room));
  d.write_room -= written;
  d.written.insert(d.written.end(), data, data + written);
  return true;
}

bool MemoryPort::GetCommModemStatus(std::uint32_t& bits) {
  bits = 0;
  if (!Alive() || m_device->fail_modem_status) return false;
  bits = m_device->modem_bits;
  return true;
}

}  // namespace serial
