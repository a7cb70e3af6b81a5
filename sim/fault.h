// The emulator's fault modes: what real cables and controllers do wrong, selected by
// tests and by the controller-sim program ("--fault SplitReply=5,120").
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

enum class FaultMode {
  None,                 // the line and the controller behave
  NoReply,              // commands are heard and carried out, but nothing is sent back
  LateReply,            // every reply starts `delay_ms` later than it would
  SplitReply,           // the next reply pauses for `delay_ms` after its byte `byte`
  DropByte,             // byte `byte` of the next reply is lost
  CorruptByte,          // byte `byte` of the next reply arrives with all its bits flipped
  Noise,                // random bytes (from `seed`, deterministic) appear between replies
  Unplug,               // the device vanishes: nothing heard, nothing answered, the port is gone
  Replug,               // the device comes back; the line behaves again
  InvalidLiveReadings,  // every other live frame carries no reading: period 0 or 255, or
                        // an advance byte that decodes to 56 or more
};

struct Fault {
  FaultMode mode = FaultMode::None;
  std::size_t byte = 1;        // counted from 1: SplitReply, DropByte, CorruptByte
  std::uint32_t delay_ms = 0;  // LateReply, SplitReply
  std::uint32_t seed = 1;      // Noise
};

// Reads "NAME" or "NAME=args" with NAME one of the mode names above in any letter
// case: LateReply=MS, SplitReply=K,MS, DropByte=K, CorruptByte=K, Noise=SEED.
// Nothing when the name is unknown or the arguments are missing or not numbers.
std::optional<Fault> ParseFault(std::string_view text);

std::string FaultName(FaultMode mode);

}  // namespace sim
