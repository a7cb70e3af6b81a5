// Fuzzes the whole headless window: chunks from the controller interleaved with clicks
// on the command and edit buttons and time passing. RxBuffer stays within one reply and
// one chunk, a curve changes only by a reply to its own request or by an edit, and the
// work per input stays bounded.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "map/curve_model.h"
#include "protocol/catalogue.h"
#include "protocol/reply_recogniser.h"
#include "serial/comm_port_driver.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "testing/memory_port.h"
#include "testing/recording_canvas.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxChunk = 255;
constexpr int kMaxOps = 64;
constexpr std::uint32_t kMaxAdvanceMs = 1000;

// The buttons a user presses to talk to the controller; none of them edits a curve.
constexpr const char* kCommandButtons[] = {"RDBut",  "SDBut",      "Button3",  "Button6",
                                           "VerBut", "btnAdvSet",  "V5But",    "btnPN",
                                           "chTen",  "btnSetTime", "btnSVref", "Button2"};
// The arrow buttons of the curve editor: they edit the shown working curve only.
constexpr const char* kEditButtons[] = {"SpeedButton1", "SpeedButton2", "SpeedButton3",
                                        "SpeedButton4"};
constexpr const char* kUpDowns[] = {"UpDown3", "UpDown4"};

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

// The controller's replies, well formed, for the fuzzer to cut and combine.
std::string TakeReply(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0: {
      protocol::CurveReply reply;
      for (auto& p : reply.points) p = in.ConsumeIntegralInRange<std::uint8_t>(0, 50);
      protocol::OptionStatus options;
      options.polarity = in.PickValueInArray<std::uint8_t>({'P', 'N'});
      options.voltage = in.PickValueInArray<std::uint8_t>({5, 12});
      options.vref = in.ConsumeIntegralInRange<std::uint8_t>(0, 15);
      options.bypass = in.ConsumeIntegralInRange<std::uint8_t>(1, 20);
      reply.options = options;
      return reply.Encode();
    }
    case 1: {
      protocol::VersionReply reply;
      reply.model = in.ConsumeBool() ? "QZR" : "PLX";
      reply.version = in.PickValueInArray<std::uint8_t>({45, 60, 62});
      reply.max_advance = in.ConsumeIntegralInRange<std::uint8_t>(0, 30);
      reply.max_retard = in.ConsumeIntegralInRange<std::uint8_t>(0, 30);
      reply.channels = in.PickValueInArray<std::uint8_t>({'S', 'D'});
      return reply.Encode();
    }
    case 2:
      return std::string(protocol::kSendAccepted);
    case 3:
      return std::string(protocol::kRecorded);
    case 4:
      return std::string(in.PickValueInArray(
          {protocol::kTimeSet, protocol::kTimeOff, protocol::kVrefSet, protocol::kNow12V,
           protocol::kNow5V, protocol::kNowPositive, protocol::kNowNegative}));
    default: {
      protocol::LiveFrame frame;
      frame.period = in.ConsumeIntegral<std::uint8_t>();
      frame.advance = in.ConsumeIntegralInRange<std::uint8_t>(0, 50);
      return frame.Encode();
    }
  }
}

class Window {
 public:
  explicit Window(ui::Variant variant, const std::string& work_dir)
      : m_platform{m_clock,
                   m_dialogs,
                   m_help,
                   m_canvases,
                   [device = m_device] { return std::make_unique<serial::MemoryPort>(device); },
                   work_dir + "/Palunor6",
                   work_dir},
        m_form(variant, m_platform) {
    m_form.FormCreate();
    m_form.Activated();
  }

  void Deliver(const std::string& chunk) {
    const Curves before = Snapshot();
    // The curve whose request waits may be filled; the second curve of a Read is asked
    // for by the handler itself once the first is in.
    std::array<bool, 3> may_fill{};
    std::array<bool, 3> may_acknowledge{};
    if (const auto& r = m_form.Recogniser().Awaited()) {
      if (r->kind == protocol::RequestKind::Curve) {
        may_fill[static_cast<std::size_t>(r->curve)] = true;
        if (r->curve == 1) may_fill[2] = true;
      }
      if (r->kind == protocol::RequestKind::Send) {
        may_acknowledge[static_cast<std::size_t>(r->curve)] = true;
      }
    }
    m_form.CPDrvReceiveData(m_form.CPDrv(), reinterpret_cast<const std::uint8_t*>(chunk.data()),
                            static_cast<std::uint32_t>(chunk.size()));
    if (!chunk.empty()) m_last_chunk = chunk.size();
    CheckBuffer();
    for (int curve = 1; curve <= 2; ++curve) {
      const auto i = static_cast<std::size_t>(curve);
      if (!may_fill[i]) fuzz::Check(Model().Working(curve) == before.working[i - 1]);
      if (!may_fill[i] && !may_acknowledge[i]) {
        fuzz::Check(Model().Device(curve) == before.device[i - 1]);
      }
    }
  }

  void Press(const char* name) {
    const Curves before = Snapshot();
    m_form[name].Click();
    CheckUnchanged(before);
  }

  void UpDown(const char* name, bool up) {
    const Curves before = Snapshot();
    m_form[name].UpDownClick(up);
    CheckUnchanged(before);
  }

  // An arrow of the editor changes the curve shown, and only its working copy.
  void Edit(const char* name) {
    const Curves before = Snapshot();
    const int shown = Model().CurrentCurve;
    m_form[name].Click();
    fuzz::Check(Model().DeviceCurves == before.device);
    const int other = 3 - shown;
    fuzz::Check(Model().Working(other) == before.working[static_cast<std::size_t>(other - 1)]);
  }

  void Wait(std::uint32_t ms) {
    const Curves before = Snapshot();
    m_clock.Advance(ms);
    CheckUnchanged(before);
    CheckBuffer();
  }

 private:
  struct Curves {
    std::array<map::Curve, 2> working;
    std::array<map::Curve, 2> device;
  };

  map::CurveModel& Model() { return m_form.Model(); }
  Curves Snapshot() { return {Model().AdvCurves, Model().DeviceCurves}; }
  void CheckUnchanged(const Curves& before) {
    fuzz::Check(Model().AdvCurves == before.working && Model().DeviceCurves == before.device);
  }
  void CheckBuffer() {
    fuzz::Check(m_form.Recogniser().RxBuffer().size() <=
                protocol::kCurveReplyLength + m_last_chunk);
  }

  ui::VirtualClock m_clock;
  ui::ScriptedDialogs m_dialogs;
  ui::RecordingHelpViewer m_help;
  RecordingCanvases m_canvases;
  std::shared_ptr<serial::MemoryDevice> m_device = std::make_shared<serial::MemoryDevice>();
  shell::Platform m_platform;
  shell::TForm1 m_form;
  std::size_t m_last_chunk = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchDir work_dir("form");
  FuzzedDataProvider in(data, size);
  Window window(in.ConsumeBool() ? ui::Variant::Palunor : ui::Variant::Palunor6,
                work_dir.Path().string());
  for (int op = 0; op < kMaxOps && in.remaining_bytes() > 0; ++op) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0:
        window.Deliver(
            in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, kMaxChunk)));
        break;
      case 1: {
        // A reply as the driver's polls cut it: whole, or in two chunks.
        const std::string reply = TakeReply(in);
        const std::size_t cut = in.ConsumeIntegralInRange<std::size_t>(0, reply.size());
        window.Deliver(reply.substr(0, cut));
        window.Deliver(reply.substr(cut));
        break;
      }
      case 2:
      case 3:
        window.Press(in.PickValueInArray(kCommandButtons));
        break;
      case 4:
        window.Edit(in.PickValueInArray(kEditButtons));
        break;
      case 5:
        window.UpDown(in.PickValueInArray(kUpDowns), in.ConsumeBool());
        break;
      default:
        window.Wait(in.ConsumeIntegralInRange<std::uint32_t>(0, kMaxAdvanceMs));
        break;
    }
  }
  return 0;
}
