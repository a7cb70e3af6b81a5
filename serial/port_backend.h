// The serial driver's seam to the operating system: the few calls the driver makes on
// an open device, named and shaped after the Win32 communications API. One backend
// per OS (posix_port.cpp, win32_port.cpp, chosen by the build), and an in-memory one
// for tests (testing/memory_port.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace serial {

// The Win32 device control block, field by field, as the driver fills it.
struct DeviceControlBlock {
  std::uint32_t DCBlength = 28;
  std::uint32_t BaudRate = 0;
  std::uint32_t fBinary = 0;
  std::uint32_t fParity = 0;
  std::uint32_t fOutxCtsFlow = 0;
  std::uint32_t fOutxDsrFlow = 0;
  std::uint32_t fDtrControl = 0;  // 0 disable, 1 enable, 2 handshake
  std::uint32_t fDsrSensitivity = 0;
  std::uint32_t fTXContinueOnXoff = 0;
  std::uint32_t fOutX = 0;
  std::uint32_t fInX = 0;
  std::uint32_t fErrorChar = 0;
  std::uint32_t fNull = 0;
  std::uint32_t fRtsControl = 0;  // 0 disable, 1 enable, 2 handshake
  std::uint32_t fAbortOnError = 0;
  std::uint16_t XonLim = 0;
  std::uint16_t XoffLim = 0;
  std::uint8_t ByteSize = 8;
  std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  friend bool operator==(const DeviceControlBlock&, const DeviceControlBlock&) = default;
};

struct CommTimeouts {
  std::uint32_t ReadIntervalTimeout = 0;
  std::uint32_t ReadTotalTimeoutMultiplier = 0;
  std::uint32_t ReadTotalTimeoutConstant = 0;
  std::uint32_t WriteTotalTimeoutMultiplier = 0;
  std::uint32_t WriteTotalTimeoutConstant = 0;
  friend bool operator==(const CommTimeouts&, const CommTimeouts&) = default;
};

// PurgeComm flags.
constexpr std::uint32_t kPurgeTxAbort = 0x0001;
constexpr std::uint32_t kPurgeRxAbort = 0x0002;
constexpr std::uint32_t kPurgeTxClear = 0x0004;
constexpr std::uint32_t kPurgeRxClear = 0x0008;

// GetCommModemStatus bits.
constexpr std::uint32_t kMsCtsOn = 0x0010;
constexpr std::uint32_t kMsDsrOn = 0x0020;
constexpr std::uint32_t kMsRingOn = 0x0040;
constexpr std::uint32_t kMsRlsdOn = 0x0080;

// What ClearCommError reports: the error bits (cleared by the call) and queue counts.
struct CommStatus {
  std::uint32_t errors = 0;
  std::uint32_t in_queue = 0;
  std::uint32_t out_queue = 0;
};

class PortBackend {
 public:
  virtual ~PortBackend() = default;

  // Opens the named device exclusively for reading and writing; false if it does not
  // exist, is in use or cannot be opened.
  virtual bool Open(const std::string& name) = 0;
  virtual bool IsOpen() const = 0;
  virtual void Close() = 0;

  virtual bool SetCommState(const DeviceControlBlock& dcb) = 0;
  virtual bool SetupComm(std::uint32_t in_queue, std::uint32_t out_queue) = 0;
  virtual bool SetCommTimeouts(const CommTimeouts& timeouts) = 0;
  virtual bool PurgeComm(std::uint32_t flags) = 0;
  virtual bool ClearCommError(CommStatus& status) = 0;
  // Reads at most `count` bytes without waiting longer than the read time-outs.
  virtual bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) = 0;
  // Writes at most `count` bytes, bounded by the write time-out.
  virtual bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) = 0;
  virtual bool GetCommModemStatus(std::uint32_t& bits) = 0;
};

// The backend of the OS the program is built for.
std::unique_ptr<PortBackend> MakeSystemPort();

}  // namespace serial
