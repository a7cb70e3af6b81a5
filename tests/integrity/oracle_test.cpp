// The oracle's seeded runs: each program, a lossy line and a random user for 100,000
// steps, judged by the emulated controller's own state after every slice of time, and
// a Read on the healed line every few thousand steps that must yield exactly the
// controller's curves.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "integrity/oracle.h"

namespace {

namespace fs = std::filesystem;

// Under the sanitizers (ten to thirty times slower) a fifth of the run still reaches
// every action and fault; the full run belongs to the plain build.
#ifdef PALUNOR_SANITIZED
constexpr std::uint64_t kSteps = 20000;
#else
constexpr std::uint64_t kSteps = 100000;
#endif
constexpr std::uint64_t kHealEvery = 2500;

struct Scratch {
  Scratch() { fs::create_directories(path); }
  ~Scratch() { fs::remove_all(path); }
  fs::path path =
      fs::temp_directory_path() / ("palunor-oracle-" + std::to_string(std::random_device{}()));
};

class Oracle : public ::testing::TestWithParam<ui::Variant> {};

TEST_P(Oracle, ALossyLineAndARandomUserNeverMakeTheScreenLie) {
  const std::uint32_t seed = GetParam() == ui::Variant::Palunor6 ? 1206 : 1209;
  Scratch scratch;
  integrity::SeededChoices choices(seed);
  integrity::Oracle oracle(GetParam(), choices, scratch.path);
  while (oracle.Steps() < kSteps && oracle.Step()) {
    if (oracle.Steps() % kHealEvery == 0) oracle.HealAndRead();
  }
  oracle.HealAndRead();
  EXPECT_EQ(oracle.Broken(), "") << "seed " << seed;
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, Oracle,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) { return ui::ProgramName(info.param); });

}  // namespace
