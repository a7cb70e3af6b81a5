// palunorctl's commands against the emulated controller on the virtual clock, through
// a line that can lose, double and invert bytes. How to use it:
//   clitest::CliBench bench;
//   bench.controller.Ram(1) = ...;
//   EXPECT_EQ(bench.Run({"read", "-o", bench.Scratch("a.IJJ")}), cli::ExitStatus::Done);
//   bench.faults.drop_per_mille = 20;          // the line from now on
//   bench.FaultAfter(1, {sim::FaultMode::NoReply});  // once "VER" is carried out
//   bench.interrupt_at_ms = 1500;              // Ctrl-C then
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "files/scratch_folder.h"
#include "integrity/lossy_port.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/virtual_clock.h"

namespace clitest {

// A curve rising by one degree every second point from `first` degrees.
inline map::Curve Rising(int first) {
  map::Curve curve{};
  for (std::size_t i = 0; i < curve.size(); ++i) {
    curve[i] = static_cast<std::uint8_t>(25 + first + static_cast<int>(i) / 2);
  }
  return curve;
}

// The bytes of a map file holding the two curves, encoded here on their own.
inline std::string MapBytes(const map::Curve& one, const map::Curve& two) {
  std::string text;
  for (int c = 1; c <= 2; ++c) {
    text += "SD" + std::to_string(c);
    for (std::uint8_t v : c == 1 ? one : two) text += static_cast<char>(v + 60);
    text += "\r\n";
  }
  return text;
}

class CliBench {
 public:
  CliBench() {
    controller.SetLimits(20, 18);
    controller.Ram(1) = Rising(0);
    controller.Ram(2) = Rising(-3);
    controller.Eeprom(1) = controller.Ram(1);
    controller.Eeprom(2) = controller.Ram(2);
  }

  // One palunorctl command line; its output stays in out and err.
  cli::ExitStatus Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    cli::Environment environment{
        clock,
        [this] {
          return std::make_unique<integrity::LossyPort>(device.MakePort(), faults, rng, trail);
        },
        [this] {
          clock.Advance(10);
          if (at_commands && controller.CommandsCarriedOut() >= *at_commands) {
            device.SetFault(at_fault);
            at_commands.reset();
          }
          return !interrupt_at_ms || clock.Now() < *interrupt_at_ms;
        },
        out,
        err,
        "1.0",
        [] { return std::string("2026-12-09 10:00:00"); },
        open_failure,
        port_present,
        {},
        {}};
    return cli::RunCommandLine(args, environment);
  }

  std::string Scratch(const std::string& name) const { return (scratch / name).string(); }
  // The emulator turns to `fault` once it has carried out `commands` more commands.
  void FaultAfter(std::uint64_t commands, sim::Fault fault) {
    at_commands = controller.CommandsCarriedOut() + commands;
    at_fault = fault;
  }

  ui::VirtualClock clock;
  sim::Controller controller;
  sim::EmulatedDevice device{clock, controller};
  integrity::LineFaults faults;
  integrity::Rng rng{1};
  integrity::WireTrail trail;
  files_test::ScratchFolder scratch;
  std::ostringstream out;
  std::ostringstream err;
  std::optional<std::uint64_t> interrupt_at_ms;
  // What the platform says of a port that does not open.
  std::function<std::string(const std::string&)> open_failure;
  std::function<std::optional<bool>(const std::string&)> port_present;
  std::optional<std::uint64_t> at_commands;
  sim::Fault at_fault;
};

}  // namespace clitest
