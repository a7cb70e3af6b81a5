// The bytes on the wire for --verbose, as controller-sim's log shows them: one line a
// write or a read, milliseconds since the start, the direction ("->" to the
// controller, "<-" from it) and the bytes in hex.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "serial/port_backend.h"
#include "ui/event_loop.h"

namespace cli {

// "     12.000 -> 52 44 31"
std::string WireLogLine(std::uint32_t ms, std::string_view direction, std::string_view bytes);

// A port that tells `sink` every byte it passes on, either way.
class WireLogPort : public serial::PortBackend {
 public:
  using Sink = std::function<void(const std::string& line)>;
  WireLogPort(std::unique_ptr<serial::PortBackend> inner, ui::EventLoop& loop, Sink sink);

  bool Open(const std::string& name) override { return m_inner->Open(name); }
  bool IsOpen() const override { return m_inner->IsOpen(); }
  void Close() override { m_inner->Close(); }
  bool SetCommState(const serial::DeviceControlBlock& dcb) override {
    return m_inner->SetCommState(dcb);
  }
  bool SetupComm(std::uint32_t in, std::uint32_t out) override {
    return m_inner->SetupComm(in, out);
  }
  bool SetCommTimeouts(const serial::CommTimeouts& timeouts) override {
    return m_inner->SetCommTimeouts(timeouts);
  }
  bool PurgeComm(std::uint32_t flags) override { return m_inner->PurgeComm(flags); }
  bool ClearCommError(serial::CommStatus& status) override {
    return m_inner->ClearCommError(status);
  }
  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override;
  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override;
  bool GetCommModemStatus(std::uint32_t& bits) override {
    return m_inner->GetCommModemStatus(bits);
  }

 private:
  void Log(std::string_view direction, const std::uint8_t* bytes, std::uint32_t count);

  std::unique_ptr<serial::PortBackend> m_inner;
  ui::EventLoop& m_loop;
  Sink m_sink;
  std::uint32_t m_start;
};

}  // namespace cli
