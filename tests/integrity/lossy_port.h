// A serial line that misbehaves as one beside spark plugs does, between the program's
// driver and the emulated controller: bytes lost either way, and on the way to the
// program also doubled, inverted or joined by noise; chunks split and joined by the
// timing of the polls; the whole input held back for seconds. How to use it:
//   integrity::LineFaults faults;  integrity::Rng rng(seed);
//   platform.make_port = [&] { return std::make_unique<LossyPort>(device.MakePort(),
//                                                                  faults, rng); };
//   faults.drop_per_mille = 20;       // from now on
//   faults.held = true;               // nothing reaches the program until released
// Bytes are never changed on the way to the controller: the protocol has no checksum,
// and no program could tell a changed point byte from a meant one. For the same reason
// at most one byte in forty is lost, doubled or added on the way to the program: a
// reply that lost one byte and gained another keeps its length and its "A", and with
// a point the encoding can make in the gap it is a curve no check can tell from the
// controller's. Inverted bytes are never such points, and come as often as asked.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "serial/port_backend.h"
#include "sim/emulated_port.h"

namespace integrity {

// A small generator of its own, so a schedule replays exactly from its seed.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : m_state(seed * 2654435761u + 1) {}
  std::uint32_t Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 7;
    m_state ^= m_state << 17;
    return static_cast<std::uint32_t>(m_state >> 11);
  }
  // True with a chance of `per_mille` in a thousand.
  bool Chance(int per_mille) {
    return per_mille > 0 && static_cast<int>(Next() % 1000) < per_mille;
  }
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint64_t m_state;
};

struct LineFaults {
  int drop_per_mille = 0;     // a byte to the program is lost
  int double_per_mille = 0;   // ... arrives twice
  int invert_per_mille = 0;   // ... arrives with every bit flipped
  int insert_per_mille = 0;   // a noise byte arrives before it
  int tx_drop_per_mille = 0;  // a byte to the controller is lost
  int split_per_mille = 0;    // a poll takes only part of what waits
  int join_per_mille = 0;     // a poll finds nothing, and the next takes both
  bool held = false;          // nothing reaches the program (a reply late past any bound)

  bool Healthy() const {
    return drop_per_mille == 0 && double_per_mille == 0 && invert_per_mille == 0 &&
           insert_per_mille == 0 && tx_drop_per_mille == 0 && !held;
  }
};

// What crossed the line lately, as text: "> RD1" written, "< 83 68 7 ..." read.
class WireTrail {
 public:
  void Add(char direction, const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return;
    if (direction == '>') m_last_written.assign(reinterpret_cast<const char*>(bytes), count);
    std::string line(1, direction);
    for (std::size_t i = 0; i < count; ++i) line += " " + std::to_string(bytes[i]);
    m_lines.push_back(std::move(line));
    if (m_lines.size() > kLines) m_lines.pop_front();
  }
  const std::deque<std::string>& Lines() const { return m_lines; }
  // The bytes of the last write, and taking them.
  std::string TakeLastWritten() { return std::exchange(m_last_written, std::string()); }

 private:
  std::string m_last_written;
  static constexpr std::size_t kLines = 40;
  std::deque<std::string> m_lines;
};

class LossyPort : public serial::PortBackend {
 public:
  LossyPort(std::unique_ptr<sim::EmulatedPort> inner, const LineFaults& faults, Rng& rng,
            WireTrail& trail)
      : m_inner(std::move(inner)), m_faults(faults), m_rng(rng), m_trail(trail) {}

  bool Open(const std::string& name) override {
    m_waiting.clear();
    return m_inner->Open(name);
  }
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
  bool PurgeComm(std::uint32_t flags) override {
    if (flags & (serial::kPurgeRxClear | serial::kPurgeRxAbort)) m_waiting.clear();
    return m_inner->PurgeComm(flags);
  }
  bool ClearCommError(serial::CommStatus& status) override {
    if (!m_inner->ClearCommError(status)) return false;
    TakeArrived(status.in_queue);
    std::size_t offered = m_waiting.size();
    if (m_faults.held || m_rng.Chance(m_faults.join_per_mille)) offered = 0;
    if (offered > 1 && m_rng.Chance(m_faults.split_per_mille)) {
      offered = 1 + static_cast<std::size_t>(m_rng.Below(static_cast<int>(offered) - 1));
    }
    m_offered = offered;
    status.in_queue = static_cast<std::uint32_t>(offered);
    return true;
  }
  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override {
    read = 0;
    if (!m_inner->IsOpen()) return false;
    while (read < count && read < m_offered && !m_waiting.empty()) {
      buffer[read++] = m_waiting.front();
      m_waiting.pop_front();
    }
    m_offered = 0;
    m_trail.Add('<', buffer, read);
    return true;
  }
  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override {
    m_trail.Add('>', data, count);
    std::string kept;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (!m_rng.Chance(m_faults.tx_drop_per_mille)) kept += static_cast<char>(data[i]);
    }
    std::uint32_t passed = 0;
    if (!m_inner->WriteFile(reinterpret_cast<const std::uint8_t*>(kept.data()),
                            static_cast<std::uint32_t>(kept.size()), passed)) {
      return false;
    }
    written = count;
    return true;
  }
  bool GetCommModemStatus(std::uint32_t& bits) override {
    return m_inner->GetCommModemStatus(bits);
  }

 private:
  // Moves what the emulated line has delivered into the queue the program reads,
  // through the faults in force.
  void TakeArrived(std::uint32_t count) {
    if (count == 0) return;
    std::string bytes(count, '\0');
    std::uint32_t read = 0;
    if (!m_inner->ReadFile(reinterpret_cast<std::uint8_t*>(bytes.data()), count, read)) return;
    for (std::uint32_t i = 0; i < read; ++i) {
      const auto byte = static_cast<std::uint8_t>(bytes[i]);
      if (m_quiet > 0) --m_quiet;
      if (m_quiet == 0 && m_rng.Chance(m_faults.insert_per_mille)) {
        m_waiting.push_back(static_cast<std::uint8_t>(m_rng.Next()));
        m_quiet = kShiftSpacing;
      }
      if (m_quiet == 0 && m_rng.Chance(m_faults.drop_per_mille)) {
        m_quiet = kShiftSpacing;
        continue;
      }
      const std::uint8_t arrived =
          m_rng.Chance(m_faults.invert_per_mille) ? static_cast<std::uint8_t>(~byte) : byte;
      m_waiting.push_back(arrived);
      if (m_quiet == 0 && m_rng.Chance(m_faults.double_per_mille)) {
        m_waiting.push_back(arrived);
        m_quiet = kShiftSpacing;
      }
    }
  }

  // Bytes that must pass before the next one is lost, doubled or added.
  static constexpr int kShiftSpacing = 40;

  std::unique_ptr<sim::EmulatedPort> m_inner;
  int m_quiet = 0;
  const LineFaults& m_faults;
  Rng& m_rng;
  WireTrail& m_trail;
  std::deque<std::uint8_t> m_waiting;
  std::size_t m_offered = 0;
};

}  // namespace integrity
