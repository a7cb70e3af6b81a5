// Fuzzes the oracle's schedule: each input is the line's faults and the user's actions,
// choice by choice, for either program against the emulated controller. A rule the
// oracle judges by the controller's own state, broken, is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz/fuzz_support.h"
#include "integrity/oracle.h"

namespace {

constexpr std::uint64_t kMaxSteps = 48;

class FuzzedChoices : public integrity::Choices {
 public:
  explicit FuzzedChoices(FuzzedDataProvider& in) : m_in(in) {}
  int Pick(int lo, int hi) override { return m_in.ConsumeIntegralInRange(lo, hi); }

 private:
  FuzzedDataProvider& m_in;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchDir scratch("integrity");
  FuzzedDataProvider in(data, size);
  const auto variant = in.ConsumeBool() ? ui::Variant::Palunor : ui::Variant::Palunor6;
  FuzzedChoices choices(in);
  integrity::Oracle oracle(variant, choices, scratch.Path());
  while (oracle.Steps() < kMaxSteps && in.remaining_bytes() > 0 && oracle.Step()) {
  }
  // The line heals at the end of every schedule: a Read must then get the truth.
  if (oracle.Broken().empty()) oracle.HealAndRead();
  if (!oracle.Broken().empty()) {
    std::fprintf(stderr, "%s %s\n", ui::ProgramName(variant), oracle.Broken().c_str());
  }
  fuzz::Check(oracle.Broken().empty());
  return 0;
}
