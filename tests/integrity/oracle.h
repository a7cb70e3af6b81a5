// The oracle: the whole headless program against the emulated controller through a
// lossy line, driven by a random user, and judged after every slice of time by what
// the controller itself holds, never by what the program believes. How to use it:
//   integrity::SeededChoices choices(seed);
//   integrity::Oracle oracle(ui::Variant::Palunor6, choices, scratch_folder);
//   while (oracle.Steps() < 100000 && oracle.Step()) {}
//   oracle.HealAndRead();
//   EXPECT_EQ(oracle.Broken(), "");   // the first rule broken, with the step
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "integrity/lossy_port.h"
#include "live/option_state.h"
#include "map/curve_model.h"
#include "map/map_file.h"
#include "protocol/catalogue.h"
#include "protocol/reply_recogniser.h"
#include "serial/comm_port_driver.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace integrity {

// Where every choice of a schedule comes from: a seeded generator, or a fuzzer's input.
class Choices {
 public:
  virtual ~Choices() = default;
  // A number from lo to hi, both included.
  virtual int Pick(int lo, int hi) = 0;
};

class SeededChoices : public Choices {
 public:
  explicit SeededChoices(std::uint32_t seed) : m_engine(seed) {}
  int Pick(int lo, int hi) override { return std::uniform_int_distribution<int>(lo, hi)(m_engine); }

 private:
  std::mt19937 m_engine;
};

class NullCanvas : public ui::Canvas {
 public:
  NullCanvas(int width, int height) : m_width(width), m_height(height) {}
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  void FillRect(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
  void Line(int, int, int, int) override {}
  void Polyline(const std::vector<ui::Point>&) override {}

 private:
  int m_width;
  int m_height;
};

class NullCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<NullCanvas>(width, height);
  }
};

class Oracle {
 public:
  Oracle(ui::Variant variant, Choices& choices, std::filesystem::path scratch)
      : m_choices(choices),
        m_rng(static_cast<std::uint64_t>(choices.Pick(0, 1 << 30))),
        m_scratch(std::move(scratch)),
        m_platform{m_clock,
                   m_dialogs,
                   m_help,
                   m_canvases,
                   [this] {
                     return std::make_unique<LossyPort>(m_device.MakePort(), m_faults, m_rng,
                                                        m_wire);
                   },
                   (m_scratch / "Palunor6").string(),
                   m_scratch.string()},
        m_form(variant, m_platform) {
    // A controller fresh from the factory holds the flat curves the program starts with.
    m_controller.SetLimits(m_choices.Pick(10, 25), m_choices.Pick(10, 25));
    m_controller.SetVersion(m_choices.Pick(0, 1) == 0 ? 60 : 45);
    for (int c = 1; c <= 2; ++c) {
      m_controller.Ram(c).fill(25);
      m_controller.Eeprom(c).fill(25);
    }
    m_form.FormCreate();
    m_form.Activated();
    for (int c = 1; c <= 2; ++c) m_held[c - 1].insert(m_controller.Ram(c));
    m_device_before = Model().DeviceCurves;
  }

  // One action of the user or the line, then time passing; false once a rule broke.
  bool Step() {
    ++m_steps;
    switch (Weighted()) {
      case Action::Wait:
        Note("wait");
        Pass(m_choices.Pick(0, 1500));
        break;
      case Action::Read:
        Click("RDBut");
        break;
      case Action::Send:
        Click("SDBut");
        break;
      case Action::Record:
        Click("Button6");
        break;
      case Action::Switch:
        Click("Button2");
        break;
      case Action::Arrow:
        Arrow();
        break;
      case Action::Drag:
        Drag();
        break;
      case Action::OpenMap:
        OpenMap();
        break;
      case Action::SaveMap:
        m_dialogs.AnswerFile((m_scratch / "saved.IJJ").string());
        Click("SaveBut");
        break;
      case Action::Option:
        Option();
        break;
      case Action::LiveData:
        Click("Button3");
        break;
      case Action::Settings:
        Settings();
        break;
      case Action::Find:
        Click("VerBut");
        break;
      case Action::Line:
        Line();
        break;
    }
    Pass(m_choices.Pick(0, 120));
    // Answers for dialogs a refused click never showed must not answer later ones.
    m_dialogs.ForgetAnswers();
    m_dialogs.ClearHistory();
    return m_broken.empty();
  }

  // The line heals and the user reads: within a few seconds the program must hold
  // exactly the controller's curves, and show them as held.
  bool HealAndRead() {
    m_faults = LineFaults{};
    if (!m_controller_plugged) Replug();
    m_device.SetFault({sim::FaultMode::None});
    // A click refused by the lockout restarts its count: wait for it to end first.
    for (int tries = 0; tries < 100 && m_form.Live().LiveMode; ++tries) {
      Pass(100);
      if (!m_form.Timer1().Enabled()) Click("Button3");
    }
    bool read = false;
    for (int tries = 0; tries < 200 && !read && m_broken.empty(); ++tries) {
      Pass(100);
      if (!m_form["RDBut"].Enabled() || m_form.Timer1().Enabled()) continue;
      m_wire.TakeLastWritten();
      Click("RDBut");
      // A refused Read writes nothing.
      if (m_wire.TakeLastWritten() != protocol::ReadCurve(1)) continue;
      Pass(1000);
      read = m_form["lblstat"].Caption() == "Lines Received!";
    }
    if (!m_broken.empty()) return false;
    if (!read) return Break("no Read succeeded on the healed line");
    for (int c = 1; c <= 2; ++c) {
      if (Model().Working(c) != m_controller.Ram(c) || Model().Device(c) != m_controller.Ram(c)) {
        return Break("after a Read on the healed line curve " + std::to_string(c) +
                     " is not the controller's");
      }
    }
    if (m_form["Label34"].Visible()) return Break("after a Read the send mark still shows");
    return true;
  }

  std::uint64_t Steps() const { return m_steps; }
  const std::string& Broken() const { return m_broken; }
  const sim::Controller& Controller() const { return m_controller; }
  shell::TForm1& Form() { return m_form; }
  std::string LastAction() const { return m_trail.empty() ? "" : m_trail.back(); }

 private:
  enum class Action {
    Wait,
    Read,
    Send,
    Record,
    Switch,
    Arrow,
    Drag,
    OpenMap,
    SaveMap,
    Option,
    LiveData,
    Settings,
    Find,
    Line
  };

  Action Weighted() {
    struct Weight {
      Action action;
      int weight;
    };
    static constexpr Weight kWeights[] = {
        {Action::Wait, 24},   {Action::Read, 12},  {Action::Send, 10},    {Action::Record, 5},
        {Action::Switch, 5},  {Action::Arrow, 14}, {Action::Drag, 6},     {Action::OpenMap, 2},
        {Action::SaveMap, 1}, {Action::Option, 6}, {Action::LiveData, 3}, {Action::Settings, 1},
        {Action::Find, 2},    {Action::Line, 9},
    };
    int total = 0;
    for (const Weight& w : kWeights) total += w.weight;
    int pick = m_choices.Pick(0, total - 1);
    for (const Weight& w : kWeights) {
      if (pick < w.weight) return w.action;
      pick -= w.weight;
    }
    return Action::Wait;
  }

  map::CurveModel& Model() { return m_form.Model(); }

  void Click(const std::string& name) {
    Note(name);
    m_form[name].Click();
    Judge();
  }

  // The last actions, for the report of a broken rule.
  void Note(const std::string& what) {
    m_trail.push_back(std::to_string(m_clock.Now()) + " ms " + what);
    if (m_trail.size() > kTrail) m_trail.erase(m_trail.begin());
  }

  void Arrow() {
    static const char* const kArrows[] = {"SpeedButton1", "SpeedButton2", "SpeedButton3",
                                          "SpeedButton4"};
    if (m_choices.Pick(0, 1) == 0) {
      Click(kArrows[m_choices.Pick(0, 3)]);
    } else {
      int key = 37 + m_choices.Pick(0, 3);  // the arrow keys
      Note("key " + std::to_string(key));
      m_form.KeyDown(key);
      Judge();
    }
  }

  void Drag() {
    const std::string marker = "Lb" + std::to_string(m_choices.Pick(1, 26));
    const int y = m_choices.Pick(0, 8);
    Note("drag " + marker);
    m_form[marker].MouseDown(ui::MouseButton::Left, 3, y);
    for (int moves = m_choices.Pick(0, 4); moves > 0; --moves) {
      m_form[marker].MouseMove(3, y + m_choices.Pick(-60, 60));
      Judge();
    }
    m_form[marker].MouseUp(ui::MouseButton::Left, 3, y);
    Judge();
  }

  // A map of the user's, now and then with points no controller takes.
  void OpenMap() {
    std::array<protocol::CurvePoints, 2> curves{};
    const bool wild = m_choices.Pick(0, 4) == 0;
    for (auto& curve : curves) {
      for (auto& p : curve) {
        p = static_cast<std::uint8_t>(wild ? m_choices.Pick(0, 50) : m_choices.Pick(15, 35));
      }
    }
    Note(wild ? "a wild map" : "a map");
    const std::filesystem::path path = m_scratch / "open.IJJ";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << map::MapFileText(curves);
    m_dialogs.AnswerFile(path.string());
    Click("OpenBut");
  }

  void Option() {
    switch (m_choices.Pick(0, 6)) {
      case 0: {
        // The 12 V warning, read for a while before it is answered.
        const int open_ms = m_choices.Pick(0, 3000);
        const auto answer =
            m_choices.Pick(0, 1) == 0 ? ui::DialogResult::Ok : ui::DialogResult::Cancel;
        m_dialogs.Answer(answer, [this, open_ms] { Pass(open_ms); });
        Note(answer == ui::DialogResult::Ok ? "12 V, Ok" : "12 V, Cancel");
        Click("V5But");
        break;
      }
      case 1:
        Click("btnPN");
        break;
      case 2:
        Click("chTen");
        break;
      case 3:
        Click("btnSetTime");
        break;
      case 4:
        Click("btnSVref");
        break;
      case 5:
        m_form[m_choices.Pick(0, 1) == 0 ? "UpDown3" : "UpDown4"].UpDownClick(
            m_choices.Pick(0, 1) == 0);
        Judge();
        break;
      default:
        Click("btnAdvSet");
        break;
    }
  }

  // The settings dialog held open: the supervision rests the whole time.
  void Settings() {
    const int open_ms = m_choices.Pick(0, 4000);
    m_dialogs.Answer(ui::DialogResult::Ok);  // close the connection and continue
    m_dialogs.CancelSettings([this, open_ms] {
      m_settings_open = true;
      Pass(open_ms);
      m_settings_open = false;
    });
    Click("Button5");
  }

  void Line() {
    const int event = m_choices.Pick(0, 5);
    static const char* const kEvents[] = {"line heals", "line lossy",      "line lossy",
                                          "line held",  "slow controller", "cable out"};
    Note(kEvents[event]);
    switch (event) {
      case 0:
        m_faults = LineFaults{};
        break;
      case 1:
      case 2: {
        LineFaults f;
        f.drop_per_mille = m_choices.Pick(0, 30);
        f.double_per_mille = m_choices.Pick(0, 20);
        f.invert_per_mille = m_choices.Pick(0, 20);
        f.insert_per_mille = m_choices.Pick(0, 20);
        f.tx_drop_per_mille = m_choices.Pick(0, 20);
        f.split_per_mille = m_choices.Pick(0, 300);
        f.join_per_mille = m_choices.Pick(0, 300);
        m_faults = f;
        break;
      }
      case 3: {
        // Every reply held back past the bound, then all of it at once.
        m_faults.held = true;
        Pass(m_choices.Pick(500, 4000));
        m_faults.held = false;
        break;
      }
      case 4: {
        // A slow controller, within the bound.
        sim::Fault late{sim::FaultMode::LateReply};
        late.delay_ms = static_cast<std::uint32_t>(m_choices.Pick(0, 1500));
        m_device.SetFault(late);
        break;
      }
      default:
        if (m_controller_plugged) {
          m_device.SetFault({sim::FaultMode::Unplug});
          m_controller_plugged = false;
          Pass(m_choices.Pick(100, 8000));
        }
        Replug();
        break;
    }
  }

  void Replug() {
    m_device.SetFault({sim::FaultMode::Replug});
    m_device.SetFault({sim::FaultMode::None});
    m_controller_plugged = true;
  }

  // Lets time pass in slices, judging after each.
  void Pass(int ms) {
    while (ms > 0 && m_broken.empty()) {
      const int slice = std::min(ms, 10);
      m_clock.Advance(static_cast<std::uint32_t>(slice));
      ms -= slice;
      Judge();
    }
  }

  bool Break(const std::string& rule) {
    if (!m_broken.empty()) return false;
    m_broken = "step " + std::to_string(m_steps) + " at " + std::to_string(m_clock.Now()) +
               " ms: " + rule + "\nlast actions:";
    for (const std::string& action : m_trail) m_broken += "\n  " + action;
    m_broken += "\non the wire:";
    for (const std::string& line : m_wire.Lines()) m_broken += "\n  " + line;
    return false;
  }

  static bool WithinLimits(const protocol::CurvePoints& curve, int advance, int retard) {
    return std::all_of(curve.begin(), curve.end(),
                       [&](std::uint8_t v) { return v <= 25 + advance && v + retard >= 25; });
  }

  // The rules, each asked of the controller's own state.
  void Judge() {
    if (!m_broken.empty()) return;
    const sim::Controller& ctl = m_controller;
    map::CurveModel& m = Model();
    for (int c = 1; c <= 2; ++c) {
      const auto i = static_cast<std::size_t>(c - 1);
      m_held[i].insert(ctl.Ram(c));
      // What the program takes for the controller's copy is a curve the controller held.
      if (m.DeviceCurves[i] != m_device_before[i] && !m_held[i].contains(m.DeviceCurves[i])) {
        Break("curve " + std::to_string(c) + " was stored as a curve the controller never held");
        return;
      }
      if (!WithinLimits(ctl.Ram(c), ctl.MaxAdvance(), ctl.MaxRetard())) {
        Break("a point beyond the controller's limits reached curve " + std::to_string(c));
        return;
      }
      if (!m_form["Label34"].Visible() && m.Working(c) != ctl.Ram(c)) {
        Break("the send mark is hidden but curve " + std::to_string(c) +
              " on screen is not the controller's");
        return;
      }
      if (!m_form["Label35"].Visible() && ctl.Eeprom(c) != ctl.Ram(c)) {
        Break("the EEPROM mark is hidden but curve " + std::to_string(c) + " is not recorded");
        return;
      }
    }
    m_device_before = m.DeviceCurves;
    if (m_form.Timer3().Enabled() && m_form.Live().LiveMode) {
      Break("Timer3 runs during live data");
    } else if (m_form.Timer3().Enabled() && m_settings_open) {
      Break("Timer3 runs while the settings dialog is open");
    } else if (m_form.Recogniser().RxBuffer().size() >
               protocol::kCurveReplyLength + m_form.CPDrv().InBufSize()) {
      Break("RxBuffer grows without bound");
    }
  }

  Choices& m_choices;
  Rng m_rng;
  LineFaults m_faults;
  WireTrail m_wire;
  std::filesystem::path m_scratch;
  ui::VirtualClock m_clock;
  ui::ScriptedDialogs m_dialogs;
  ui::RecordingHelpViewer m_help;
  NullCanvases m_canvases;
  sim::Controller m_controller{sim::Model::QZR};
  sim::EmulatedDevice m_device{m_clock, m_controller};
  shell::Platform m_platform;
  shell::TForm1 m_form;
  bool m_controller_plugged = true;
  bool m_settings_open = false;
  std::array<std::set<protocol::CurvePoints>, 2> m_held;
  std::array<map::Curve, 2> m_device_before{};
  std::uint64_t m_steps = 0;
  std::string m_broken;
  static constexpr std::size_t kTrail = 24;
  std::vector<std::string> m_trail;
};

}  // namespace integrity
