// TCommPortDriver, the program's only access to the serial port: the line settings
// as properties, open and close, bounded writes with a stall time-out, and a poll on
// the event loop that hands every waiting byte to OnReceiveData in one call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "serial/comm_port_types.h"
#include "serial/port_backend.h"
#include "ui/event_loop.h"

namespace serial {

class TCommPortDriver {
 public:
  // Called on the event loop's thread with the bytes of one poll; `data` points into
  // the driver's input buffer and is valid only during the call.
  using TReceiveDataEvent =
      std::function<void(TCommPortDriver& sender, const std::uint8_t* data, std::uint32_t size)>;

  TCommPortDriver(ui::EventLoop& loop, std::unique_ptr<PortBackend> backend);
  ~TCommPortDriver();
  TCommPortDriver(const TCommPortDriver&) = delete;
  TCommPortDriver& operator=(const TCommPortDriver&) = delete;

  TPortNumber Port() const { return m_port; }
  void SetPort(TPortNumber port);
  const std::string& PortName() const { return m_port_name; }
  void SetPortName(const std::string& name);
  TBaudRate BaudRate() const { return m_baud_rate; }
  void SetBaudRate(TBaudRate rate);
  std::uint32_t BaudRateValue() const { return m_baud_rate_value; }
  void SetBaudRateValue(std::uint32_t value);
  TDataBits DataBits() const { return m_data_bits; }
  void SetDataBits(TDataBits bits);
  TStopBits StopBits() const { return m_stop_bits; }
  void SetStopBits(TStopBits bits);
  TParity Parity() const { return m_parity; }
  void SetParity(TParity parity);
  THwFlowControl HwFlow() const { return m_hw_flow; }
  void SetHwFlow(THwFlowControl flow);
  TSwFlowControl SwFlow() const { return m_sw_flow; }
  void SetSwFlow(TSwFlowControl flow);
  std::uint32_t InBufSize() const { return m_in_buf_size; }
  void SetInBufSize(std::uint32_t size);
  std::uint32_t OutBufSize() const { return m_out_buf_size; }
  void SetOutBufSize(std::uint32_t size);
  std::uint16_t PollingDelay() const { return m_polling_delay; }
  void SetPollingDelay(std::uint16_t ms);
  bool EnableDTROnOpen() const { return m_enable_dtr; }
  void SetEnableDTROnOpen(bool enable) { m_enable_dtr = enable; }
  std::uint16_t OutputTimeout() const { return m_output_timeout; }
  void SetOutputTimeout(std::uint16_t ms) { m_output_timeout = ms; }
  bool CheckLineStatus() const { return m_check_line_status; }
  void SetCheckLineStatus(bool check) { m_check_line_status = check; }

  TReceiveDataEvent OnReceiveData;

  // True if the port is open afterwards; an open port is left as it is.
  bool OpenPort();
  void ClosePort();
  // True while the device is held. A device that vanished while open keeps the port
  // open: the driver reacquires it at its next polls when it comes back.
  bool IsOpen() const { return m_open; }
  bool ApplySettings();
  bool PurgeBuffers(bool input, bool output);
  std::uint16_t OutputFreeSpace();
  TModemLines ReadModemLines();
  // Writes the block, waiting at most `stall_ms` after the last progress; returns the
  // number of bytes written.
  std::uint32_t WriteBytesWithin(const std::uint8_t* data, std::uint32_t count,
                                 std::uint32_t stall_ms);
  std::uint32_t WriteBytes(const std::uint8_t* data, std::uint32_t count);
  // The text's bytes exactly, nothing added; true if all of them were written.
  bool WriteText(std::string_view text);

  // One poll: everything waiting, at most InBufSize bytes, in one OnReceiveData call.
  void PollTick();

  static constexpr std::uint32_t kMinBufSize = 128;
  static constexpr std::uint32_t kMaxBufSize = 8192;
  static constexpr std::uint16_t kMinPollingDelay = 5;

 private:
  DeviceControlBlock MakeDcb() const;
  bool Configure();
  void DeviceLost();
  bool Reacquire();

  ui::EventLoop& m_loop;
  std::unique_ptr<PortBackend> m_backend;
  bool m_open = false;
  bool m_device_lost = false;

  TPortNumber m_port = TPortNumber::pnCOM2;
  std::string m_port_name = "\\\\.\\COM2";
  TBaudRate m_baud_rate = TBaudRate::br9600;
  std::uint32_t m_baud_rate_value = BaudRateValues[static_cast<int>(TBaudRate::br9600)];
  TDataBits m_data_bits = TDataBits::db8BITS;
  TStopBits m_stop_bits = TStopBits::sb1BITS;
  TParity m_parity = TParity::ptNONE;
  THwFlowControl m_hw_flow = THwFlowControl::hfNONERTSON;
  TSwFlowControl m_sw_flow = TSwFlowControl::sfNONE;
  std::uint32_t m_in_buf_size = 2048;
  std::uint32_t m_out_buf_size = 2048;
  std::uint16_t m_polling_delay = 50;
  bool m_enable_dtr = true;
  std::uint16_t m_output_timeout = 500;
  bool m_check_line_status = false;

  // Built from m_polling_delay, so it is declared after the settings.
  ui::Timer m_poll_timer;
  std::vector<std::uint8_t> m_input_buffer;
};

}  // namespace serial
