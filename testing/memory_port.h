// A serial device in memory, for tests of the driver and of everything above it.
//
//   auto device = std::make_shared<serial::MemoryDevice>();
//   serial::TCommPortDriver driver(clock, std::make_unique<serial::MemoryPort>(device));
//   device->Feed("VER6");        // bytes from the far end; the next poll delivers them
//   device->WrittenText();       // everything the driver wrote
//   device->Stall();             // no free space, writes take 0 bytes (Unstall() undoes it)
//   device->modem_bits = serial::kMsCtsOn;
//   device->fail_open = true;    // likewise fail_set_comm_state, fail_modem_status
//   device->Vanish(); device->Return();   // adapter pulled and plugged in again
//   device->last_dcb, last_timeouts, purges, read_requests: what the driver asked for
#pragma once

#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "serial/port_backend.h"

namespace serial {

// The device's state, shared between the test and the port the driver owns.
struct MemoryDevice {
  void Feed(std::string_view bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }
  std::string WrittenText() const { return {written.begin(), written.end()}; }
  void Stall() {
    write_room = 0;
    queue_full = true;
  }
  void Unstall() {
    write_room = std::numeric_limits<std::uint64_t>::max();
    queue_full = false;
  }
  // Handles opened before this stay dead, as a file descriptor of a pulled adapter does.
  void Vanish() {
    present = false;
    held = false;
    ++generation;
  }
  void Return() { present = true; }

  std::deque<std::uint8_t> input;
  std::vector<std::uint8_t> written;
  std::uint64_t write_room = std::numeric_limits<std::uint64_t>::max();
  bool queue_full = false;  // the output queue reports itself full (free space 0)
  std::uint32_t modem_bits = 0;
  std::uint32_t error_bits = 0;  // reported once by the next ClearCommError

  bool present = true;
  bool fail_open = false;
  bool fail_set_comm_state = false;
  bool fail_modem_status = false;

  bool held = false;
  std::uint64_t generation = 0;
  std::uint32_t open_attempts = 0;
  std::vector<std::string> opened_names;
  std::optional<DeviceControlBlock> last_dcb;
  std::optional<CommTimeouts> last_timeouts;
  std::uint32_t set_comm_state_calls = 0;
  std::uint32_t in_queue_size = 0;
  std::uint32_t out_queue_size = 0;
  std::vector<std::uint32_t> purges;
  std::vector<std::uint32_t> read_requests;
};

class MemoryPort : public PortBackend {
 public:
  explicit MemoryPort(std::shared_ptr<MemoryDevice> device) : m_device(std::move(device)) {}
  ~MemoryPort() override { Close(); }

  bool Open(const std::string& name) override;
  bool IsOpen() const override { return m_open; }
  void Close() override;
  bool SetCommState(const DeviceControlBlock& dcb) override;
  bool SetupComm(std::uint32_t in_queue, std::uint32_t out_queue) override;
  bool SetCommTimeouts(const CommTimeouts& timeouts) override;
  bool PurgeComm(std::uint32_t flags) override;
  bool ClearCommError(CommStatus& status) override;
  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override;
  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override;
  bool GetCommModemStatus(std::uint32_t& bits) override;

 private:
  // The handle works: open, and the device has not vanished since it was opened.
  bool Alive() const;

  std::shared_ptr<MemoryDevice> m_device;
  bool m_open = false;
  std::uint64_t m_generation = 0;
};

}  // namespace serial
