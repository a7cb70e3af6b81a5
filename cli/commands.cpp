#include "cli/commands.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "cli/curve_text.h"
#include "cli/port_list.h"
#include "cli/wire_log.h"
#include "files/read_file.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "live/frame_reading.h"
#include "live/status_panel.h"
#include "logbook/log_row.h"
#include "map/axis.h"
#include "map/file_io.h"
#include "map/limits.h"
#include "map/map_file.h"
#include "pointtable/curves_csv.h"

namespace cli {

namespace {

// A map file is 62 bytes; anything much longer is no map.
constexpr std::size_t kMapFileLimit = 4096;

// Every value a point can be sent as: a CSV file is read within these.
constexpr pointtable::PointLimits kEncodableLimits{25, 25, 25};

enum class Format { Map, Csv, Other };

Format FormatOf(const std::string& file) {
  std::string extension = files::Utf8FromPath(files::PathFromUtf8(file).extension());
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".ijj") return Format::Map;
  if (extension == ".csv") return Format::Csv;
  return Format::Other;
}

std::array<bool, 2> Chosen(CurveChoice choice) {
  return {choice != CurveChoice::Second, choice != CurveChoice::First};
}

// "Advance 1", "Advance 2" or "Advance 1 and 2".
std::string CurveNames(std::array<bool, 2> which) {
  if (which[0] && which[1]) return "Advance 1 and 2";
  return which[0] ? "Advance 1" : "Advance 2";
}

class Runner {
 public:
  Runner(const Arguments& a, Environment& e) : m_a(a), m_e(e) {}

  ExitStatus Run() {
    switch (m_a.command) {
      case Command::Help:
        m_e.out << kUsage;
        return ExitStatus::Done;
      case Command::Version:
        m_e.out << "palunorctl " << m_e.version << "\n";
        return ExitStatus::Done;
      case Command::Ports:
        for (const std::string& line : PortLines(m_e.port_map, m_e.devices)) {
          m_e.out << line << "\n";
        }
        return ExitStatus::Done;
      case Command::Info:
        return Info();
      case Command::Read:
        return Read();
      case Command::Send:
        return Send();
      case Command::Record:
        return Record();
      case Command::Diff:
        return Diff();
      case Command::Log:
        return Log();
      case Command::Set:
        return Set();
    }
    return ExitStatus::Usage;
  }

 private:
  ExitStatus Say(ExitStatus status, const std::string& message) {
    m_e.err << "palunorctl: " << message << "\n";
    return status;
  }

  // The port opened and a controller identified; otherwise the status to end with.
  std::optional<ExitStatus> Connect() {
    std::unique_ptr<serial::PortBackend> port = m_e.make_port();
    if (m_a.verbose) {
      port = std::make_unique<WireLogPort>(
          std::move(port), m_e.loop,
          [this](const std::string& line) { m_e.err << line << std::endl; });
    }
    m_session = std::make_unique<Session>(m_e.loop, std::move(port), m_a.variant, m_e.pump);
    m_session->SetWaitMs(m_a.timeout_ms);
    if (!m_session->Open(m_a.port, m_a.baud)) {
      const std::string details = m_e.open_failure ? m_e.open_failure(m_a.port) : std::string();
      if (!details.empty()) return Say(ExitStatus::NoController, details);
      const std::optional<bool> present =
          m_e.port_present ? m_e.port_present(m_a.port) : std::nullopt;
      if (present == true) {
        return Say(ExitStatus::NoController,
                   "cannot open " + m_a.port +
                       ": another program holds it; close the configurator or terminal "
                       "program using it and try again");
      }
      return Say(ExitStatus::NoController,
                 "cannot open " + m_a.port +
                     (present == false ? ": no device is there; plug the adapter in, or name "
                                         "the port with --port"
                                       : ": no such port, or another program holds it") +
                     " (\"palunorctl ports\" lists the ports present)");
    }
    m_version = m_session->Identify();
    if (m_session->Interrupted()) return Interrupted();
    if (!m_version) {
      return Say(ExitStatus::NoController,
                 "no controller answered on " + m_a.port +
                     ": check that it is powered and its cable plugged in, and the port "
                     "(--port) and baud rate (--baud)");
    }
    return std::nullopt;
  }

  ExitStatus Interrupted() { return Say(ExitStatus::NotConfirmed, "interrupted"); }

  // Both curves from the controller; otherwise the status to end with.
  std::optional<ExitStatus> ReadController(ControllerCurves& curves) {
    const std::optional<ControllerCurves> read = m_session->ReadCurves();
    if (m_session->Interrupted()) return Interrupted();
    if (!read) {
      return Say(ExitStatus::NoController,
                 "the controller's curves did not come whole (no reply, or damaged on the "
                 "line): check the cable and try again");
    }
    curves = *read;
    return std::nullopt;
  }

  int Version() const { return m_version ? m_version->version : 0; }

  // A live-data log starts as the window's recorder starts one; no curve is shown here.
  logbook::LogStart LogStartOf(const std::array<map::Curve, 2>& curves) const {
    logbook::LogStart start;
    start.model = m_session->Model();
    start.firmware = Version();
    start.max_advance = m_session->Limits().MaxAdvance;
    start.max_retard = m_session->Limits().MaxRetard;
    for (std::size_t i = 0; i < logbook::kAxisPoints; ++i) {
      start.rpm_axis[i] = map::PointRpm(m_a.variant, Version(), static_cast<int>(i) + 1);
    }
    start.curves = curves;
    return start;
  }

  // The frame as the window reads it, `ms` after the log started.
  logbook::LogRecord RecordOf(const protocol::LiveFrame& frame, std::uint32_t ms) const {
    logbook::LogRecord record;
    record.time_ms = ms;
    record.local_time = m_e.local_time ? m_e.local_time() : std::string();
    record.rpm = live::RpmOfPeriod(live::RpmPeriod(m_a.variant, Version(), frame.period));
    record.advance = static_cast<int>(frame.advance) - 25;
    record.period_byte = frame.period;
    record.advance_byte = live::AdvanceByteOf(frame.advance);
    record.taken = live::AdvanceIsReading(frame.advance);
    record.curve = logbook::kNoCurveShown;
    return record;
  }

  // The two curves of a map file, or of a CSV file (".csv"); otherwise the status to
  // end with.
  std::optional<ExitStatus> LoadMap(std::array<map::Curve, 2>& curves) {
    const std::filesystem::path path = files::PathFromUtf8(m_a.file);
    const bool csv = FormatOf(m_a.file) == Format::Csv;
    std::string text;
    const std::size_t limit = csv ? pointtable::kCsvSizeLimit : kMapFileLimit;
    if (const std::error_code error = files::ReadFileStart(path, limit + 1, text)) {
      return Say(ExitStatus::FileError, m_a.file + ": " + map::IoErrorText(error, path));
    }
    if (csv) {
      // Read within what a point can encode at all; the controller's own limits are
      // checked before anything is sent, as for a map file.
      const pointtable::CsvCurves read = pointtable::ReadCurvesCsv(text, kEncodableLimits);
      if (!read.curves) return Say(ExitStatus::FileError, m_a.file + ": " + read.error);
      curves = *read.curves;
      return std::nullopt;
    }
    const std::array<map::MapLine, 2> lines = map::ReadMapFile(text);
    for (std::size_t c = 0; c < 2; ++c) {
      if (text.size() > kMapFileLimit || lines[c].count != protocol::kPoints) {
        return Say(ExitStatus::FileError, m_a.file + ": no map file (line " +
                                              std::to_string(c + 1) + " should hold \"SD" +
                                              std::to_string(c + 1) + "\" and 26 points)");
      }
      lines[c].ApplyTo(curves[c]);
    }
    return std::nullopt;
  }

  ExitStatus Write(const std::string& bytes) {
    const std::filesystem::path path = files::PathFromUtf8(m_a.file);
    if (const std::error_code error = files::ReplaceFile(path, bytes)) {
      return Say(ExitStatus::FileError, m_a.file + ": " + map::IoErrorText(error, path));
    }
    return ExitStatus::Done;
  }

  ExitStatus Info() {
    if (auto end = Connect()) return *end;
    m_e.out << "controller: " << ControllerText(*m_version) << "\n"
            << "limits: " << map::LimitsText(m_session->Limits()) << "\n";
    return ExitStatus::Done;
  }

  ExitStatus Read() {
    const Format format = m_a.file.empty() ? Format::Other : FormatOf(m_a.file);
    if (!m_a.file.empty() && format == Format::Other) {
      return Say(ExitStatus::Usage, m_a.file + ": name a map file (.IJJ) or a CSV file (.csv)");
    }
    if (auto end = Connect()) return *end;
    ControllerCurves read;
    if (auto end = ReadController(read)) return *end;
    if (format == Format::Map) return Write(map::MapFileText(read.curves));
    if (format == Format::Csv) {
      return Write(
          pointtable::CurvesCsv(read.curves, pointtable::AxisInForce(m_a.variant, Version())));
    }
    if (m_a.json) {
      m_e.out << CurvesJson(m_a.variant, *m_version, m_session->Limits(), read.curves,
                            read.options);
      return ExitStatus::Done;
    }
    m_e.out << ControllerText(*m_version) << "; limits " << map::LimitsText(m_session->Limits())
            << "\n"
            << CurveTable(m_a.variant, Version(), read.curves);
    if (read.options) m_e.out << OptionsText(*read.options) << "\n";
    return ExitStatus::Done;
  }

  ExitStatus Send() {
    std::array<map::Curve, 2> file{};
    if (auto end = LoadMap(file)) return *end;
    if (auto end = Connect()) return *end;
    if (m_session->Model() == "PLX") {
      return Say(ExitStatus::NotConfirmed,
                 "a PLX controller takes a point at a time, not a curve: nothing was sent");
    }
    const std::array<bool, 2> which = Chosen(m_a.curves);
    for (std::size_t c = 0; c < 2; ++c) {
      if (!which[c]) continue;
      const std::vector<int> outside = map::PointsOutsideLimits(m_session->Limits(), file[c]);
      if (outside.empty()) continue;
      return Say(ExitStatus::NotConfirmed,
                 "Advance " + std::to_string(c + 1) + " of " + m_a.file + " goes beyond the " +
                     "controller's limits (" + map::LimitsText(m_session->Limits()) +
                     ") at point " + map::PointList(outside) + ": nothing was sent");
    }
    ControllerCurves held;
    if (m_a.dry_run) {
      if (auto end = ReadController(held)) return *end;
      return ShowDifferences(file, held, which, ExitStatus::Done);
    }
    if (auto end = SendUntilHeld(file, which)) return *end;
    m_e.out << CurveNames(which) << " sent; the controller's copy equals " << m_a.file << "\n";
    if (!m_a.record) return ExitStatus::Done;
    return RecordCurves(which);
  }

  // Sends the curves chosen and reads them back until the controller holds them;
  // otherwise the status to end with.
  std::optional<ExitStatus> SendUntilHeld(const std::array<map::Curve, 2>& file,
                                          std::array<bool, 2> which) {
    constexpr int kTries = 3;
    std::vector<std::string> differences;
    for (int attempt = 0; attempt < kTries; ++attempt) {
      for (std::size_t c = 0; c < 2; ++c) {
        if (which[c]) m_session->SendCurve(static_cast<int>(c) + 1, file[c]);
      }
      if (m_session->Interrupted()) break;
      // Only the controller's copy tells whether a curve arrived: an "OK" may be lost,
      // and a curve damaged on the way is refused.
      const std::optional<ControllerCurves> held = m_session->ReadCurves();
      if (m_session->Interrupted()) break;
      if (!held) continue;
      differences = Differences(m_a.variant, Version(), file, held->curves, which);
      if (differences.empty()) return std::nullopt;
    }
    if (m_session->Interrupted()) {
      return Say(ExitStatus::NotConfirmed,
                 "interrupted: the controller may or may not hold the curves sent; \"palunorctl "
                 "diff\" tells");
    }
    for (const std::string& line : differences) m_e.err << line << "\n";
    return Say(ExitStatus::NotConfirmed,
               "the controller's copy could not be confirmed equal to " + m_a.file + " after " +
                   std::to_string(kTries) +
                   " tries: check the cable and send again; nothing was recorded");
  }

  ExitStatus RecordCurves(std::array<bool, 2> which) {
    for (std::size_t c = 0; c < 2; ++c) {
      if (!which[c]) continue;
      const int curve = static_cast<int>(c) + 1;
      if (!m_session->RecordCurve(curve)) {
        if (m_session->Interrupted()) return Interrupted();
        return Say(ExitStatus::NotConfirmed, "the controller did not confirm recording Advance " +
                                                 std::to_string(curve) +
                                                 " in EEPROM: run \"palunorctl record --curve " +
                                                 std::to_string(curve) + "\" again");
      }
      m_e.out << "Advance " << curve << " recorded in EEPROM\n";
    }
    return ExitStatus::Done;
  }

  ExitStatus ShowDifferences(const std::array<map::Curve, 2>& file, const ControllerCurves& held,
                             std::array<bool, 2> which, ExitStatus when_different) {
    const std::vector<std::string> lines =
        Differences(m_a.variant, Version(), file, held.curves, which);
    for (const std::string& line : lines) m_e.out << line << "\n";
    if (lines.empty()) {
      m_e.out << CurveNames(which) << ": the controller holds " << m_a.file << "\n";
      return ExitStatus::Done;
    }
    return when_different;
  }

  ExitStatus Record() {
    if (auto end = Connect()) return *end;
    return RecordCurves(Chosen(m_a.curves));
  }

  ExitStatus Diff() {
    std::array<map::Curve, 2> file{};
    if (auto end = LoadMap(file)) return *end;
    if (auto end = Connect()) return *end;
    ControllerCurves held;
    if (auto end = ReadController(held)) return *end;
    return ShowDifferences(file, held, {true, true}, ExitStatus::NotConfirmed);
  }

  ExitStatus Log() {
    if (auto end = Connect()) return *end;
    ControllerCurves held;
    if (auto end = ReadController(held)) return *end;
    std::string csv = logbook::LogHeader(LogStartOf(held.curves));
    const bool to_file = !m_a.file.empty();
    if (!to_file) m_e.out << csv << std::flush;
    ui::EventLoop& loop = m_e.loop;
    const std::uint32_t start = loop.TickCount();
    std::size_t frames = 0;
    const bool on = m_session->LiveOn([&](const protocol::LiveFrame& frame) {
      ++frames;
      const std::string row = logbook::LogRow(RecordOf(frame, loop.TickCount() - start));
      if (to_file) {
        csv += row;
      } else {
        m_e.out << row << std::flush;
      }
    });
    const std::uint32_t limit_ms = m_a.seconds ? *m_a.seconds * 1000 : 0;
    if (on) {
      m_session->RunUntil([&] {
        const std::uint32_t elapsed = loop.TickCount() - start;
        // A controller that sends nothing once asked is as good as none.
        if (frames == 0 && elapsed > m_a.timeout_ms) return true;
        // Whoever read the rows has gone: live data goes off as after Ctrl-C.
        if (!to_file && !m_e.out.good()) return true;
        return limit_ms > 0 && elapsed >= limit_ms;
      });
    }
    m_session->LiveOff();
    const ExitStatus written = to_file ? Write(csv) : ExitStatus::Done;
    if (frames == 0) {
      return Say(ExitStatus::NoController, "no live data came from the controller on " + m_a.port);
    }
    return written;
  }

  ExitStatus Set() {
    std::string command;
    protocol::ShortReply expected = protocol::ShortReply::Ch05;
    std::string what;
    switch (m_a.setting) {
      case Setting::Output:
        command = m_a.value == 5 ? protocol::Output5V() : protocol::Output12V();
        expected = m_a.value == 5 ? protocol::ShortReply::Ch05 : protocol::ShortReply::Ch12;
        what = "output " + std::to_string(m_a.value) + " V";
        break;
      case Setting::Polarity:
        command = m_a.value == 1 ? protocol::InputPositive() : protocol::InputNegative();
        expected = m_a.value == 1 ? protocol::ShortReply::Chpf : protocol::ShortReply::Chnf;
        what = m_a.value == 1 ? "input positive" : "input negative";
        break;
      case Setting::Bypass:
        command = m_a.value == 0 ? protocol::BypassOff() : protocol::SetBypassTime(m_a.value);
        expected = m_a.value == 0 ? protocol::ShortReply::Chs : protocol::ShortReply::Cht;
        what = m_a.value == 0 ? "bypass off" : "bypass " + live::BypassText(m_a.value) + " s";
        break;
      case Setting::Vref:
        command = protocol::SetVref(m_a.value);
        expected = protocol::ShortReply::Chr;
        what = "Vref " + live::VrefText(m_a.value) + " V";
        break;
    }
    if (auto end = Connect()) return *end;
    if (!m_session->SetOption(command, expected)) {
      if (m_session->Interrupted()) return Interrupted();
      return Say(ExitStatus::NotConfirmed,
                 "the controller did not confirm " + what + ": check with \"palunorctl read\"");
    }
    m_e.out << what << ": confirmed by the controller\n";
    return ExitStatus::Done;
  }

  const Arguments& m_a;
  Environment& m_e;
  std::unique_ptr<Session> m_session;
  std::optional<protocol::VersionReply> m_version;
};

}  // namespace

ExitStatus Run(const Arguments& arguments, Environment& environment) {
  return Runner(arguments, environment).Run();
}

ExitStatus RunCommandLine(const std::vector<std::string>& args, Environment& environment) {
  std::string error;
  const std::optional<Arguments> arguments = ParseArguments(args, error);
  if (!arguments) {
    environment.err << "palunorctl: " << error << "\n" << kUsage;
    return ExitStatus::Usage;
  }
  return Run(*arguments, environment);
}

}  // namespace cli
