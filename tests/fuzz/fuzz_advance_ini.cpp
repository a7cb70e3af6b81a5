// Fuzzes the "Advance.ini" reader with arbitrary file contents: it must never crash,
// only ever yield settings the driver can take, and the lines the program writes at
// closing from those settings must read back as the same settings.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "serial/advance_ini.h"

#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

// The driver's settings as the form starts with them, then as the file changes them.
struct Settings {
  int port = 2;
  std::uint32_t baud_rate = 9600;
  int data_bits = 8;
};

Settings Apply(Settings settings, const serial::AdvanceIni& ini) {
  if (ini.port) settings.port = *ini.port;
  if (ini.baud_rate) settings.baud_rate = *ini.baud_rate;
  if (ini.data_bits) settings.data_bits = *ini.data_bits;
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchDir scratch("ini");
  const std::string dir = scratch.Path().string();
  {
    std::ofstream out(scratch.Path() / "Advance.ini", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    fuzz::Check(out.good());
  }

  const auto ini = serial::ReadAdvanceIni(dir);
  fuzz::Check(ini.has_value());
  if (ini->port) fuzz::Check(*ini->port >= 1 && *ini->port <= 16);
  if (ini->data_bits) fuzz::Check(*ini->data_bits >= 5 && *ini->data_bits <= 8);
  if (ini->baud_rate) {
    fuzz::Check(*ini->baud_rate >= serial::kMinBaudRate && *ini->baud_rate <= serial::kMaxBaudRate);
  }
  fuzz::Check(ini->error.empty() || !ini->baud_rate);

  // Closing writes the settings in force; the next start must read the same back.
  const Settings settings = Apply(Settings{}, *ini);
  const std::string port_name = "\\\\.\\COM" + std::to_string(settings.port);
  const auto lines = serial::FormatAdvanceIni(port_name, settings.baud_rate, settings.data_bits);
  const auto again = serial::ParseAdvanceIni(lines.port, lines.baud_rate, lines.data_bits);
  fuzz::Check(again.error.empty());
  const Settings reread = Apply(Settings{}, again);
  fuzz::Check(reread.port == settings.port && reread.baud_rate == settings.baud_rate &&
              reread.data_bits == settings.data_bits);
  return 0;
}
