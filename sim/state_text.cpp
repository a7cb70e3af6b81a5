#include "sim/state_text.h"

#include <fstream>
#include <system_error>

namespace sim {

namespace {

void AppendCurve(std::string& text, const char* name, const protocol::CurvePoints& points) {
  text += name;
  for (std::uint8_t value : points) text += " " + std::to_string(value);
  text += "\n";
}

}  // namespace

std::string StateText(const Controller& controller) {
  std::string text;
  AppendCurve(text, "ram1", controller.Ram(1));
  AppendCurve(text, "ram2", controller.Ram(2));
  AppendCurve(text, "eeprom1", controller.Eeprom(1));
  AppendCurve(text, "eeprom2", controller.Eeprom(2));
  const Options& options = controller.GetOptions();
  text += options.output_5v ? "output 5\n" : "output 12\n";
  text += options.input_positive ? "input positive\n" : "input negative\n";
  text += options.bypass_on ? "bypass on\n" : "bypass off\n";
  text += "bypass_step " + std::to_string(options.bypass_step) + "\n";
  text += "vref_step " + std::to_string(options.vref_step) + "\n";
  text += controller.LiveStreaming() ? "live on\n" : "live off\n";
  text += "point_code " + std::to_string(controller.PointCode()) + "\n";
  return text;
}

bool WriteStateFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.flush();
    if (!out) return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace sim
