#include "live/live_data.h"

#include <utility>

#include "protocol/catalogue.h"
#include "ui/button_sets.h"

namespace live {

namespace {

constexpr const char* kAdvancedCaption = "&Advanced>>";

}  // namespace

LiveData::LiveData(ui::ControlSet& controls, ui::EventLoop& loop, serial::TCommPortDriver& driver,
                   protocol::Lockout& lockout, protocol::CommandChannel& channel, ui::Timer& timer3,
                   LiveState& live, std::function<void()> connect_p, StatusShower show_status)
    : m_c{controls["Button3"], controls["Panel2"], controls["btnAdvSet"]},
      m_loop(loop),
      m_driver(driver),
      m_lockout(lockout),
      m_channel(channel),
      m_timer3(timer3),
      m_live(live),
      m_connect_p(std::move(connect_p)),
      m_show_status(std::move(show_status)) {
  for (const std::string& name : ui::LiveDataLockedButtons()) m_locked.push_back(&controls[name]);
  m_c.Button3.OnClick = [this] { Button3Click(); };
}

void LiveData::Button3Click() {
  // A refused click still restarts the count of six ticks.
  m_lockout.ResetCount();
  if (m_lockout.Running()) return;
  m_lockout.Start();
  if (!m_driver.IsOpen()) m_connect_p();

  std::string command;
  if (m_live.LiveMode) {
    m_live.LiveDataExpected = false;
    command = protocol::LiveOff();
    m_live.LiveMode = false;
    m_c.Button3.SetCaption("Live Data");
    SetLockedButtons(true);
    m_c.btnAdvSet.SetCaption(kAdvancedCaption);
    m_show_status("", ui::kBlack);
    m_channel.ResumeSupervision();
  } else {
    // Live data has no reply to wait for: the supervision simply rests while it runs.
    m_timer3.SetEnabled(false);
    m_live.LiveDataExpected = true;
    command = protocol::LiveOn();
    m_live.LiveMode = true;
    m_live.LiveFrameSeen = false;
    m_show_status("Connecting...", ui::kYellow);
    m_c.Button3.SetCaption("Stop Data");
    SetLockedButtons(false);
    m_c.Panel2.SetVisible(false);
    m_c.btnAdvSet.SetCaption(kAdvancedCaption);
  }
  m_channel.Send(command);
}

void LiveData::ChunkArrived(bool recognised) {
  if (recognised || m_live.LiveDataExpected) {
    m_stray_since.reset();
    return;
  }
  const std::uint32_t now = m_loop.TickCount();
  if (!m_stray_since) {
    m_stray_since = now;
    return;
  }
  if (now - *m_stray_since < kStrayStreamMs || m_lockout.Running()) return;
  m_stray_since.reset();
  m_lockout.Start();
  m_channel.Send(protocol::LiveOff());
}

void LiveData::FrameShown(const SeenFrame& frame) const {
  for (const auto& watcher : m_frame_watchers) watcher(frame);
}

void LiveData::WatchFrames(std::function<void(const SeenFrame&)> watcher) {
  m_frame_watchers.push_back(std::move(watcher));
}

void LiveData::SetLockedButtons(bool enabled) {
  for (ui::Control* button : m_locked) button->SetEnabled(enabled);
}

}  // namespace live
