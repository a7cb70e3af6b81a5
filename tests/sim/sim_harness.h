// A program's end of the emulated line for the sim tests: a virtual clock, a
// controller on "\\.\COM2" and a port opened on it at 9600 baud, 8N1.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "serial/port_backend.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/virtual_clock.h"

namespace simtest {

inline constexpr const char* kCom2 = "\\\\.\\COM2";

inline serial::DeviceControlBlock LineSettings(std::uint32_t baud) {
  serial::DeviceControlBlock dcb;
  dcb.BaudRate = baud;
  dcb.fBinary = 1;
  dcb.ByteSize = 8;
  return dcb;
}

class Bench {
 public:
  explicit Bench(sim::Model model = sim::Model::QZR, std::uint32_t baud = 9600)
      : controller(model) {
    EXPECT_TRUE(port->Open(kCom2));
    EXPECT_TRUE(port->SetCommState(LineSettings(baud)));
    EXPECT_TRUE(port->SetupComm(2048, 2048));
  }

  void Send(std::string_view bytes) {
    std::uint32_t written = 0;
    EXPECT_TRUE(port->WriteFile(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                static_cast<std::uint32_t>(bytes.size()), written));
    EXPECT_EQ(written, bytes.size());
  }

  std::uint32_t Waiting() {
    serial::CommStatus status;
    EXPECT_TRUE(port->ClearCommError(status));
    return status.in_queue;
  }

  std::string ReadAll() {
    std::string bytes(4096, '\0');
    std::uint32_t read = 0;
    EXPECT_TRUE(port->ReadFile(reinterpret_cast<std::uint8_t*>(bytes.data()),
                               static_cast<std::uint32_t>(bytes.size()), read));
    bytes.resize(read);
    return bytes;
  }

  // Lets `ms` of virtual time pass and returns everything that arrived.
  std::string After(std::uint32_t ms) {
    clock.Advance(ms);
    return ReadAll();
  }

  ui::VirtualClock clock;
  sim::Controller controller;
  sim::EmulatedDevice device{clock, controller};
  std::unique_ptr<sim::EmulatedPort> port = device.MakePort();
};

inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

}  // namespace simtest
