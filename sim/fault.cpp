#include "sim/fault.h"

#include <array>
#include <cctype>
#include <charconv>
#include <utility>

namespace sim {

namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 10> kNames{{
    {FaultMode::None, "None"},
    {FaultMode::NoReply, "NoReply"},
    {FaultMode::LateReply, "LateReply"},
    {FaultMode::SplitReply, "SplitReply"},
    {FaultMode::DropByte, "DropByte"},
    {FaultMode::CorruptByte, "CorruptByte"},
    {FaultMode::Noise, "Noise"},
    {FaultMode::Unplug, "Unplug"},
    {FaultMode::Replug, "Replug"},
    {FaultMode::InvalidLiveReadings, "InvalidLiveReadings"},
}};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// A whole decimal number and nothing else.
template <typename T>
std::optional<T> Number(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view text) {
  const std::size_t equals = text.find('=');
  const std::string_view name = text.substr(0, equals);
  const std::optional<std::string_view> args =
      equals == std::string_view::npos ? std::nullopt
                                       : std::optional<std::string_view>(text.substr(equals + 1));
  Fault fault;
  bool known = false;
  for (const auto& [mode, mode_name] : kNames) {
    if (SameLetters(name, mode_name)) {
      fault.mode = mode;
      known = true;
    }
  }
  if (!known) return std::nullopt;

  switch (fault.mode) {
    case FaultMode::LateReply: {
      const auto delay = args ? Number<std::uint32_t>(*args) : std::nullopt;
      if (!delay) return std::nullopt;
      fault.delay_ms = *delay;
      return fault;
    }
    case FaultMode::SplitReply: {
      if (!args) return std::nullopt;
      const std::size_t comma = args->find(',');
      if (comma == std::string_view::npos) return std::nullopt;
      const auto byte = Number<std::size_t>(args->substr(0, comma));
      const auto pause = Number<std::uint32_t>(args->substr(comma + 1));
      if (!byte || !pause || *byte == 0) return std::nullopt;
      fault.byte = *byte;
      fault.delay_ms = *pause;
      return fault;
    }
    case FaultMode::DropByte:
    case FaultMode::CorruptByte: {
      const auto byte = args ? Number<std::size_t>(*args) : std::nullopt;
      if (!byte || *byte == 0) return std::nullopt;
      fault.byte = *byte;
      return fault;
    }
    case FaultMode::Noise: {
      const auto seed = args ? Number<std::uint32_t>(*args) : std::nullopt;
      if (!seed) return std::nullopt;
      fault.seed = *seed;
      return fault;
    }
    default:
      // The other modes take no arguments.
      if (args) return std::nullopt;
      return fault;
  }
}

std::string FaultName(FaultMode mode) {
  for (const auto& [each, name] : kNames) {
    if (each == mode) return std::string(name);
  }
  return "None";
}

}  // namespace sim
