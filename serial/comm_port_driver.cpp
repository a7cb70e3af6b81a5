#include "serial/comm_port_driver.h"

#include <algorithm>
#include <string>
#include <utility>

namespace serial {

namespace {

constexpr CommTimeouts kTimeouts{1, 0, 1, 0, 10};
constexpr char kDC1 = 17;
constexpr char kDC3 = 19;

}  // namespace

TCommPortDriver::TCommPortDriver(ui::EventLoop& loop, std::unique_ptr<PortBackend> backend)
    : m_loop(loop),
      m_backend(std::move(backend)),
      m_poll_timer(loop, m_polling_delay, false),
      m_input_buffer(m_in_buf_size, 0) {
  m_poll_timer.OnTimer = [this] { PollTick(); };
}

TCommPortDriver::~TCommPortDriver() {
  ClosePort();
}

void TCommPortDriver::SetPort(TPortNumber port) {
  if (m_open) return;
  m_port = port;
  if (port != TPortNumber::pnCustom) {
    m_port_name = "\\\\.\\COM" + std::to_string(static_cast<int>(port));
  }
}

void TCommPortDriver::SetPortName(const std::string& name) {
  if (m_open) return;
  m_port_name = name;
  m_port = TPortNumber::pnCustom;
}

void TCommPortDriver::SetBaudRate(TBaudRate rate) {
  m_baud_rate = rate;
  if (rate != TBaudRate::brCustom) m_baud_rate_value = BaudRateValues[static_cast<int>(rate)];
  if (m_open) ApplySettings();
}

void TCommPortDriver::SetBaudRateValue(std::uint32_t value) {
  m_baud_rate = TBaudRate::brCustom;
  m_baud_rate_value = value;
  if (m_open) ApplySettings();
}

void TCommPortDriver::SetDataBits(TDataBits bits) {
  m_data_bits = bits;
  if (m_open) ApplySettings();
}

void TCommPortDriver::SetStopBits(TStopBits bits) {
  m_stop_bits = bits;
  if (m_open) ApplySettings();
}

void TCommPortDriver::SetParity(TParity parity) {
  m_parity = parity;
  if (m_open) ApplySettings();
}

void TCommPortDriver::SetHwFlow(THwFlowControl flow) {
  m_hw_flow = flow;
  if (m_open) ApplySettings();
}

void TCommPortDriver::SetSwFlow(TSwFlowControl flow) {
  m_sw_flow = flow;
  if (m_open) ApplySettings();
}

void TCommPortDriver::SetInBufSize(std::uint32_t size) {
  if (m_open) return;
  m_in_buf_size = std::clamp(size, kMinBufSize, kMaxBufSize);
  m_input_buffer.assign(m_in_buf_size, 0);
}

void TCommPortDriver::SetOutBufSize(std::uint32_t size) {
  if (m_open) return;
  m_out_buf_size = std::clamp(size, kMinBufSize, kMaxBufSize);
}

void TCommPortDriver::SetPollingDelay(std::uint16_t ms) {
  ms = std::max(ms, kMinPollingDelay);
  if (ms == m_polling_delay) return;
  m_polling_delay = ms;
  // A running poll timer restarts with the new period.
  m_poll_timer.SetInterval(ms);
}

DeviceControlBlock TCommPortDriver::MakeDcb() const {
  DeviceControlBlock dcb;
  dcb.DCBlength = 28;
  dcb.BaudRate = m_baud_rate_value;
  dcb.fBinary = 1;
  dcb.fParity = 0;
  dcb.fOutxCtsFlow = m_hw_flow == THwFlowControl::hfRTSCTS ? 1 : 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fDtrControl = m_enable_dtr ? 1 : 0;
  const std::uint32_t xon_xoff = m_sw_flow == TSwFlowControl::sfXONXOFF ? 1 : 0;
  dcb.fOutX = xon_xoff;
  dcb.fInX = xon_xoff;
  dcb.fRtsControl = static_cast<std::uint32_t>(m_hw_flow);
  dcb.XonLim = static_cast<std::uint16_t>(m_in_buf_size / 4);
  dcb.XoffLim = static_cast<std::uint16_t>(m_in_buf_size / 4);
  dcb.ByteSize = static_cast<std::uint8_t>(static_cast<int>(m_data_bits) + 5);
  dcb.Parity = static_cast<std::uint8_t>(m_parity);
  dcb.StopBits = static_cast<std::uint8_t>(m_stop_bits);
  dcb.XonChar = kDC1;
  dcb.XoffChar = kDC3;
  return dcb;
}

bool TCommPortDriver::Configure() {
  if (!m_backend->SetCommState(MakeDcb())) return false;
  if (!m_backend->PurgeComm(kPurgeTxAbort | kPurgeTxClear | kPurgeRxAbort | kPurgeRxClear)) {
    return false;
  }
  return m_backend->SetupComm(m_in_buf_size, m_out_buf_size);
}

bool TCommPortDriver::ApplySettings() {
  if (!m_open || m_device_lost) return false;
  return Configure();
}

bool TCommPortDriver::OpenPort() {
  if (m_open) return true;
  if (!m_backend->Open(m_port_name)) return false;
  m_open = true;
  m_device_lost = false;
  if (!ApplySettings()) {
    ClosePort();
    return false;
  }
  m_backend->SetCommTimeouts(kTimeouts);
  m_poll_timer.SetInterval(m_polling_delay);
  m_poll_timer.SetEnabled(true);
  return true;
}

void TCommPortDriver::ClosePort() {
  if (!m_open) return;
  m_poll_timer.SetEnabled(false);
  m_backend->Close();
  m_open = false;
  m_device_lost = false;
}

bool TCommPortDriver::PurgeBuffers(bool input, bool output) {
  if (!m_open || m_device_lost) return false;
  std::uint32_t flags = 0;
  if (output) flags |= kPurgeTxAbort | kPurgeTxClear;
  if (input) flags |= kPurgeRxAbort | kPurgeRxClear;
  return m_backend->PurgeComm(flags);
}

void TCommPortDriver::DeviceLost() {
  // The handle is useless now; the port stays open for the program, and the next
  // polls try to get the device back.
  m_backend->Close();
  m_device_lost = true;
}

bool TCommPortDriver::Reacquire() {
  if (!m_backend->Open(m_port_name)) return false;
  if (!Configure()) {
    m_backend->Close();
    return false;
  }
  m_backend->SetCommTimeouts(kTimeouts);
  m_device_lost = false;
  return true;
}

std::uint16_t TCommPortDriver::OutputFreeSpace() {
  if (!m_open) return 65535;
  if (m_device_lost) return 0;
  CommStatus status;
  if (!m_backend->ClearCommError(status)) {
    DeviceLost();
    return 0;
  }
  const std::uint32_t queued = std::min(status.out_queue, m_out_buf_size);
  return static_cast<std::uint16_t>(m_out_buf_size - queued);
}

TModemLines TCommPortDriver::ReadModemLines() {
  TModemLines lines;
  std::uint32_t bits = 0;
  if (!m_open || m_device_lost || !m_backend->GetCommModemStatus(bits)) return lines;
  lines.mlCTS = (bits & kMsCtsOn) != 0;
  lines.mlDSR = (bits & kMsDsrOn) != 0;
  lines.mlRing = (bits & kMsRingOn) != 0;
  lines.mlCarrier = (bits & kMsRlsdOn) != 0;
  return lines;
}

std::uint32_t TCommPortDriver::WriteBytesWithin(const std::uint8_t* data, std::uint32_t count,
                                                std::uint32_t stall_ms) {
  if (!m_open || m_device_lost) return 0;
  std::uint32_t last_progress = m_loop.TickCount();
  std::uint32_t written = 0;
  while (count > 0) {
    const std::uint16_t free_space = OutputFreeSpace();
    if (m_device_lost) break;
    std::uint32_t n = 0;
    if (free_space > 0) {
      if (m_check_line_status && ReadModemLines().Empty()) break;
      const std::uint32_t chunk = std::min<std::uint32_t>(count, free_space);
      if (!m_backend->WriteFile(data + written, chunk, n)) {
        // A device that fails a write is gone; waiting out the stall would only block.
        DeviceLost();
        break;
      }
    }
    if (n > 0) {
      written += n;
      count -= n;
      last_progress = m_loop.TickCount();
    } else if (m_loop.TickCount() - last_progress > stall_ms) {
      break;
    }
  }
  return written;
}

std::uint32_t TCommPortDriver::WriteBytes(const std::uint8_t* data, std::uint32_t count) {
  return WriteBytesWithin(data, count, m_output_timeout);
}

bool TCommPortDriver::WriteText(std::string_view text) {
  const auto count = static_cast<std::uint32_t>(text.size());
  return WriteBytes(reinterpret_cast<const std::uint8_t*>(text.data()), count) == count;
}

void TCommPortDriver::PollTick() {
  if (!m_open) return;
  if (m_device_lost && !Reacquire()) return;
  CommStatus status;
  if (!m_backend->ClearCommError(status)) {
    DeviceLost();
    return;
  }
  // At most one buffer's worth per poll; the rest waits for the next one.
  const std::uint32_t waiting = std::min(status.in_queue, m_in_buf_size);
  if (waiting == 0) return;
  std::uint32_t read = 0;
  if (!m_backend->ReadFile(m_input_buffer.data(), waiting, read)) {
    DeviceLost();
    return;
  }
  if (read > 0 && OnReceiveData) OnReceiveData(*this, m_input_buffer.data(), read);
}

}  // namespace serial
