#include "cli/curve_text.h"

#include <cstdio>

#include "live/status_panel.h"
#include "map/axis.h"

namespace cli {

namespace {

constexpr int kZero = 25;

int Point(const map::Curve& curve, std::size_t i) {
  return static_cast<int>(curve[i]) - kZero;
}

}  // namespace

std::string Degrees(std::uint8_t value) {
  const int degrees = static_cast<int>(value) - kZero;
  return degrees > 0 ? "+" + std::to_string(degrees) : std::to_string(degrees);
}

std::string ControllerText(const protocol::VersionReply& version) {
  std::string text = version.model + " " + protocol::VersionText(version.version);
  // A PLX controller does not report its channels.
  if (version.model == "QZR" && version.channels == 'D') text += ", two channels";
  if (version.model == "QZR" && version.channels == 'S') text += ", one channel";
  return text;
}

std::string OptionsText(const protocol::OptionStatus& options) {
  const std::string output = options.voltage == 5 ? "5 V" : options.voltage == 12 ? "12 V" : "?";
  const std::string input = options.polarity == 'P'   ? "positive"
                            : options.polarity == 'N' ? "negative"
                                                      : "?";
  const std::string bypass = options.bypass == 'S' ? "off"
                             : options.bypass >= 1 && options.bypass <= 20
                                 ? live::BypassText(options.bypass) + " s"
                                 : "?";
  const std::string vref = options.vref < 16 ? live::VrefText(options.vref) + " V" : "?";
  return "output " + output + ", input " + input + ", bypass " + bypass + ", Vref " + vref;
}

std::string CurveTable(ui::Variant variant, int version, const std::array<map::Curve, 2>& curves) {
  std::string table = "Point    RPM  Advance 1  Advance 2\n";
  char row[64];
  for (std::size_t i = 0; i < protocol::kPoints; ++i) {
    std::snprintf(row, sizeof row, "%5d  %5d  %9s  %9s\n", static_cast<int>(i) + 1,
                  map::PointRpm(variant, version, static_cast<int>(i) + 1),
                  Degrees(curves[0][i]).c_str(), Degrees(curves[1][i]).c_str());
    table += row;
  }
  return table;
}

std::string CurvesJson(ui::Variant variant, const protocol::VersionReply& version,
                       const map::CurveModel& limits, const std::array<map::Curve, 2>& curves,
                       const std::optional<protocol::OptionStatus>& options) {
  std::string json = "{\n  \"model\": \"" + version.model + "\",\n  \"firmware\": \"" +
                     protocol::VersionText(version.version) + "\",\n";
  if (version.model == "QZR" && (version.channels == 'D' || version.channels == 'S')) {
    json += "  \"channels\": " + std::string(version.channels == 'D' ? "2" : "1") + ",\n";
  }
  json += "  \"limits\": {\"advance\": " + std::to_string(limits.MaxAdvance) +
          ", \"retard\": " + std::to_string(limits.MaxRetard) +
          ", \"point_1_retard\": " + std::to_string(limits.FirstPointRetard) + "},\n";
  if (options) {
    const protocol::OptionStatus& o = *options;
    const auto or_null = [](bool known, const std::string& value) {
      return known ? value : std::string("null");
    };
    json +=
        "  \"options\": {\"output_volts\": " +
        or_null(o.voltage == 5 || o.voltage == 12, std::to_string(o.voltage)) + ", \"polarity\": " +
        or_null(o.polarity == 'P' || o.polarity == 'N',
                o.polarity == 'P' ? "\"positive\"" : "\"negative\"") +
        ", \"bypass_seconds\": " +
        (o.bypass == 'S' ? std::string("\"off\"")
                         : or_null(o.bypass >= 1 && o.bypass <= 20, live::BypassText(o.bypass))) +
        ", \"vref_volts\": " + or_null(o.vref < 16, live::VrefText(o.vref)) + "},\n";
  }
  json += "  \"points\": [\n";
  for (std::size_t i = 0; i < protocol::kPoints; ++i) {
    json += "    {\"point\": " + std::to_string(i + 1) +
            ", \"rpm\": " + std::to_string(map::PointRpm(variant, version.version, int(i) + 1)) +
            ", \"advance_1\": " + std::to_string(Point(curves[0], i)) +
            ", \"advance_2\": " + std::to_string(Point(curves[1], i)) + "}" +
            (i + 1 < protocol::kPoints ? ",\n" : "\n");
  }
  json += "  ]\n}\n";
  return json;
}

std::vector<std::string> Differences(ui::Variant variant, int version,
                                     const std::array<map::Curve, 2>& file,
                                     const std::array<map::Curve, 2>& controller,
                                     std::array<bool, 2> which) {
  std::vector<std::string> lines;
  for (std::size_t c = 0; c < 2; ++c) {
    if (!which[c]) continue;
    for (std::size_t i = 0; i < protocol::kPoints; ++i) {
      if (file[c][i] == controller[c][i]) continue;
      lines.push_back("Advance " + std::to_string(c + 1) + ", point " + std::to_string(i + 1) +
                      " (" + std::to_string(map::PointRpm(variant, version, int(i) + 1)) +
                      " RPM): file " + Degrees(file[c][i]) + ", controller " +
                      Degrees(controller[c][i]));
    }
  }
  return lines;
}

}  // namespace cli
