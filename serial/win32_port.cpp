// The Win32 backend: each call of the seam is the communications API call of its name.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "serial/port_backend.h"

namespace serial {

namespace {

class Win32Port : public PortBackend {
 public:
  ~Win32Port() override { Close(); }

  bool Open(const std::string& name) override {
    Close();
    m_handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) return false;
    // Windows refuses a second open of a COM port, wine does not: a named mutex per
    // port keeps a second holder out there too.
    std::string lock_name = "Local\\Palunor.port." + name;
    std::replace(lock_name.begin() + 6, lock_name.end(), '\\', '_');
    m_lock = CreateMutexA(nullptr, FALSE, lock_name.c_str());
    if (m_lock == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
      Close();
      return false;
    }
    return true;
  }

  bool IsOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }

  void Close() override {
    if (m_lock != nullptr) CloseHandle(m_lock);
    m_lock = nullptr;
    if (m_handle == INVALID_HANDLE_VALUE) return;
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
  }

  bool SetCommState(const DeviceControlBlock& block) override {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = block.BaudRate;
    dcb.fBinary = block.fBinary;
    dcb.fParity = block.fParity;
    dcb.fOutxCtsFlow = block.fOutxCtsFlow;
    dcb.fOutxDsrFlow = block.fOutxDsrFlow;
    dcb.fDtrControl = block.fDtrControl;
    dcb.fDsrSensitivity = block.fDsrSensitivity;
    dcb.fTXContinueOnXoff = block.fTXContinueOnXoff;
    dcb.fOutX = block.fOutX;
    dcb.fInX = block.fInX;
    dcb.fErrorChar = block.fErrorChar;
    dcb.fNull = block.fNull;
    dcb.fRtsControl = block.fRtsControl;
    dcb.fAbortOnError = block.fAbortOnError;
    dcb.XonLim = block.XonLim;
    dcb.XoffLim = block.XoffLim;
    dcb.ByteSize = block.ByteSize;
    dcb.Parity = block.Parity;
    dcb.StopBits = block.StopBits;
    dcb.XonChar = block.XonChar;
    dcb.XoffChar = block.XoffChar;
    dcb.ErrorChar = block.ErrorChar;
    dcb.EofChar = block.EofChar;
    dcb.EvtChar = block.EvtChar;
    return ::SetCommState(m_handle, &dcb) != FALSE;
  }

  bool SetupComm(std::uint32_t in_queue, std::uint32_t out_queue) override {
    return ::SetupComm(m_handle, in_queue, out_queue) != FALSE;
  }

  bool SetCommTimeouts(const CommTimeouts& t) override {
    COMMTIMEOUTS timeouts{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                          t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                          t.WriteTotalTimeoutConstant};
    return ::SetCommTimeouts(m_handle, &timeouts) != FALSE;
  }

  bool PurgeComm(std::uint32_t flags) override { return ::PurgeComm(m_handle, flags) != FALSE; }

  bool ClearCommError(CommStatus& status) override {
    DWORD errors = 0;
    COMSTAT stat{};
    if (::ClearCommError(m_handle, &errors, &stat) == FALSE) return false;
    status.errors = errors;
    status.in_queue = stat.cbInQue;
    status.out_queue = stat.cbOutQue;
    return true;
  }

  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override {
    DWORD n = 0;
    const BOOL ok = ::ReadFile(m_handle, buffer, count, &n, nullptr);
    read = n;
    return ok != FALSE;
  }

  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override {
    DWORD n = 0;
    const BOOL ok = ::WriteFile(m_handle, data, count, &n, nullptr);
    written = n;
    return ok != FALSE;
  }

  bool GetCommModemStatus(std::uint32_t& bits) override {
    DWORD status = 0;
    const BOOL ok = ::GetCommModemStatus(m_handle, &status);
    bits = ok != FALSE ? status : 0;
    return ok != FALSE;
  }

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
  HANDLE m_lock = nullptr;
};

}  // namespace

std::unique_ptr<PortBackend> MakeSystemPort() {
  return std::make_unique<Win32Port>();
}

}  // namespace serial
