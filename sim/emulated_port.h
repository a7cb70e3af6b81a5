// The serial backend for tests: ports opened by name on an emulated bench where one
// name leads to a Controller over a timed Line, on the test's event loop (a
// ui::VirtualClock). How to use it:
//   ui::VirtualClock clock;  sim::Controller controller;
//   sim::EmulatedDevice device(clock, controller);      // controller on "\\.\COM2"
//   platform.make_port = device.PortFactory();          // every port on this bench
//   device.SetFault({sim::FaultMode::Unplug});          // pull the cable
// The device must outlive the ports it made.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "serial/port_backend.h"
#include "sim/controller.h"
#include "sim/fault.h"
#include "sim/line.h"
#include "ui/event_loop.h"

namespace sim {

// ClearCommError error bit: input bytes were lost to a full queue.
constexpr std::uint32_t kCeRxOver = 0x0001;

class EmulatedPort;

class EmulatedDevice {
 public:
  // `controller_name` leads to the controller; `other_names` exist with nothing on them.
  EmulatedDevice(ui::EventLoop& loop, Controller& controller,
                 std::string controller_name = "\\\\.\\COM2",
                 std::set<std::string> other_names = {});
  EmulatedDevice(const EmulatedDevice&) = delete;
  EmulatedDevice& operator=(const EmulatedDevice&) = delete;

  std::unique_ptr<EmulatedPort> MakePort();
  // For shell::Platform::make_port.
  std::function<std::unique_ptr<serial::PortBackend>()> PortFactory();

  void SetFault(const Fault& fault);
  Line& GetLine() { return m_line; }
  const std::string& ControllerName() const { return m_controller_name; }

  // Nanoseconds on the loop's clock, carried past the wrap of its tick count.
  std::uint64_t NowNs();

 private:
  friend class EmulatedPort;
  bool Exists(const std::string& name) const;
  bool Claim(const std::string& name, EmulatedPort* port);
  void Release(const EmulatedPort* port);

  ui::EventLoop& m_loop;
  Line m_line;
  std::string m_controller_name;
  std::set<std::string> m_other_names;
  std::map<std::string, EmulatedPort*> m_holders;
  std::uint32_t m_last_tick = 0;
  std::uint64_t m_elapsed_ms = 0;
  bool m_clock_started = false;
};

class EmulatedPort : public serial::PortBackend {
 public:
  explicit EmulatedPort(EmulatedDevice& device) : m_device(device) {}
  ~EmulatedPort() override;

  bool Open(const std::string& name) override;
  bool IsOpen() const override { return m_open; }
  void Close() override;
  bool SetCommState(const serial::DeviceControlBlock& dcb) override;
  bool SetupComm(std::uint32_t in_queue, std::uint32_t out_queue) override;
  bool SetCommTimeouts(const serial::CommTimeouts& timeouts) override;
  bool PurgeComm(std::uint32_t flags) override;
  bool ClearCommError(serial::CommStatus& status) override;
  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override;
  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override;
  bool GetCommModemStatus(std::uint32_t& bits) override;

  // What the driver last wrote to the device, for tests that check the settings.
  const serial::DeviceControlBlock& LastState() const { return m_dcb; }
  const serial::CommTimeouts& LastTimeouts() const { return m_timeouts; }

 private:
  friend class EmulatedDevice;
  // True while the handle can be used: open, and its device still there.
  bool Usable();
  bool OnController() const { return m_name == m_device.ControllerName(); }

  EmulatedDevice& m_device;
  bool m_open = false;
  // The device this handle was opened on vanished: every call fails until Close.
  bool m_dead = false;
  std::string m_name;
  serial::DeviceControlBlock m_dcb;
  serial::CommTimeouts m_timeouts;
  std::uint32_t m_out_capacity = 4096;
};

}  // namespace sim
