// The serial line between the program's port and the controller, in time: bytes take
// their wire time in both directions, the controller answers when a command's last
// byte has reached it, live frames follow every 100 ms, and the fault modes act
// here. Times are nanoseconds on the caller's clock; Update(now) carries out
// everything that falls due up to `now`, so the line needs no timers of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "sim/controller.h"
#include "sim/fault.h"

namespace sim {

constexpr std::uint64_t kNsPerMs = 1'000'000;
constexpr std::uint64_t kLiveFramePeriodNs = 100 * kNsPerMs;
// A command that stops this long before its last byte is forgotten.
constexpr std::uint64_t kCommandGapNs = 200 * kNsPerMs;

// Wire time of one byte: start bit, data bits, parity bit and stop bits.
// `stop_bits` is 0 for one, 1 for one and a half, 2 for two (as in the DCB).
std::uint64_t ByteTimeNs(std::uint32_t baud, int data_bits, bool parity, int stop_bits);

class Line {
 public:
  explicit Line(Controller& controller) : m_controller(controller) {}

  Controller& GetController() { return m_controller; }

  // 9600 baud, 8N1 until set.
  void SetByteTime(std::uint64_t ns) { m_byte_ns = ns; }
  std::uint64_t ByteTime() const { return m_byte_ns; }

  // Selects a fault mode from `now` on. Unplug loses every byte on the way; Replug
  // (or None) ends Unplug. The modes for "the next reply" end after one reply.
  void SetFault(const Fault& fault, std::uint64_t now);
  const Fault& CurrentFault() const { return m_fault; }
  bool Plugged() const { return m_plugged; }

  // The program puts bytes on the wire at `now`, one after the other behind those
  // still going out; each reaches the controller at the end of its wire time.
  void HostSend(std::string_view bytes, std::uint64_t now);
  // Bytes the program sent that have not yet reached the controller.
  std::size_t HostBytesInFlight(std::uint64_t now) const;
  // The program's purge of its output: bytes not yet on their way are lost.
  void DiscardHostBytes(std::uint64_t now);

  void Update(std::uint64_t now);

  // The program's input queue: bytes that have fully arrived.
  std::size_t Readable() const { return m_rx.size(); }
  std::string Take(std::size_t max);
  void DiscardReadable() { m_rx.clear(); }
  // Bytes beyond this many waiting are lost (an overrun).
  void SetInputCapacity(std::size_t bytes) { m_rx_capacity = bytes; }
  // True once after bytes were lost to a full input queue.
  bool TakeOverrun();

 private:
  struct Timed {
    std::uint8_t byte;
    std::uint64_t at;
  };
  void Answer(std::string reply, std::uint64_t at);
  void Emit(std::string_view bytes, std::uint64_t at, std::size_t pause_after = 0,
            std::uint64_t pause_ns = 0);
  void HearHostByte(const Timed& byte);
  void SendNoise(std::uint64_t at);
  // The live frame as the line delivers it: under InvalidLiveReadings every other
  // frame is spoilt.
  std::string LiveFrameOnLine();
  std::uint32_t Random();

  Controller& m_controller;
  std::uint64_t m_byte_ns = ByteTimeNs(9600, 8, false, 0);
  Fault m_fault;
  bool m_plugged = true;
  std::deque<Timed> m_to_controller;
  std::uint64_t m_host_free_at = 0;
  std::optional<std::uint64_t> m_last_heard_at;
  std::deque<Timed> m_to_host;
  std::uint64_t m_device_free_at = 0;
  std::optional<std::uint64_t> m_next_frame_at;
  std::size_t m_frames_on_line = 0;
  std::optional<std::uint64_t> m_next_noise_at;
  std::uint32_t m_noise_state = 1;
  std::string m_rx;
  std::size_t m_rx_capacity = 4096;
  bool m_overrun = false;
};

}  // namespace sim
