// The parts of TForm1: the program-wide state and one object per subsystem, for the
// form's own source files.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "live/gauges.h"
#include "live/live_data.h"
#include "live/option_state.h"
#include "live/options_panel.h"
#include "live/status_panel.h"
#include "logbook/plot_window.h"
#include "logbook/recorder.h"
#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "map/gauge_panel_toggle.h"
#include "map/map_commands.h"
#include "map/sync.h"
#include "pointtable/point_table_commands.h"
#include "protocol/command_channel.h"
#include "protocol/lockout.h"
#include "protocol/reply_recogniser.h"
#include "protocol/transfers.h"
#include "safekeeping/backups.h"
#include "safekeeping/backups_list.h"
#include "safekeeping/controller_copy.h"
#include "safekeeping/edit_history.h"
#include "safekeeping/preferences_command.h"
#include "safekeeping/write_confirmation.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "serial/settings_command.h"
#include "serial/supervision.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "ui/button_sets.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/menu.h"

namespace shell {

// The program-wide state and the subsystems, owned by the form for the whole run and
// wired here once: the programs, the tests and the benchmarks all build this.
struct TForm1::Parts {
  Parts(TForm1& form, ui::Variant variant, Platform& platform, ui::ControlSet& controls)
      : CPDrv(platform.loop, platform.make_port()),
        Timer3(platform.loop, 500, true),
        recogniser(variant),
        lockout(platform.loop, controls),
        channel(platform.loop, CPDrv, recogniser, Timer3),
        status(controls, options),
        gauges(variant, controls, model, live, link),
        editor(variant, controls, model, gauges),
        gauge_toggle(variant, controls, live),
        map_commands(variant, controls, model, editor, platform.dialogs, platform.work_dir),
        history(model, editor, controls),
        controller_copy(variant, model, gauges, platform.dialogs, history, preferences,
                        platform.work_dir),
        supervision(
            variant, controls, CPDrv, link, lockout, channel, Timer3, platform.dialogs,
            [&form](const std::string& caption) { form.SetCaption(caption); },
            [this](const std::string& text, ui::Color color) { status.Show(text, color); }),
        panel(
            controls, options, status, lockout, channel, Timer3, [this] { supervision.ConnectP(); },
            platform.dialogs),
        transfers(
            variant, controls, model, link, lockout, channel, recogniser, platform.dialogs,
            [this] { supervision.ConnectP(); },
            [this](const std::string& text, ui::Color color) { status.Show(text, color); }),
        live_data(
            controls, platform.loop, CPDrv, lockout, channel, Timer3, live,
            [this] { supervision.ConnectP(); },
            [this](const std::string& text, ui::Color color) { status.Show(text, color); }),
        settings(controls, platform.dialogs, CPDrv, Timer3, channel),
        backups(model, preferences, platform.local_time,
                [this](const std::string& text, ui::Color color) { status.Show(text, color); }),
        backups_list(
            platform.dialogs, map_commands, preferences,
            [this](const std::array<map::Curve, 2>& curves) { history.ApplyCurves(curves); }),
        preferences_command(variant, platform.dialogs, preferences,
                            platform.user_folders.preferences_file, platform.user_folders.backups),
        point_table(
            variant, model, platform.dialogs, platform.work_dir,
            [this](const std::array<map::Curve, 2>& curves) { history.ApplyCurves(curves); }),
        recorder(platform.loop, platform.dialogs, {variant, model, link, live}, platform.wall_clock,
                 platform.data_dir),
        plot(platform.windows, platform.loop, platform.dialogs, {variant, model, link, live},
             platform.data_dir),
        handler{controls["Label22"],  controls["Label29"], controls["Label32"],
                controls["Label30"],  controls["Label31"], controls["Label33"],
                controls["Label34"],  controls["Label35"], controls["imgStatus"],
                controls["pnStatus"], controls["Image1"],  controls["SDBut"],
                controls["V5But"],    controls["btnPN"],   controls["Button6"]} {
    // The window's stored settings of the driver: the port by name, not by number.
    CPDrv.SetPortName("\\\\.\\COM2");
    for (const std::string& name : ui::DeviceCommandButtons()) {
      device_commands.push_back(&controls[name]);
    }
    settings.OnPortChosen = [&form](const std::string& port_name) { form.PortChosen(port_name); };
    // A curve command holds every other command back until its reply or its bound.
    lockout.HeldBy = [this] { return channel.CurveCommandUnderWay(); };
    // Timer3 never runs while live data runs or the settings dialog holds the port.
    channel.SupervisionHeld = [this] { return live.LiveMode || settings.DialogOpen(); };
    live_data.WatchFrames([this](const live::SeenFrame& frame) {
      recorder.Frame(frame);
      plot.Frame(frame);
    });
    transfers.BeforeSend = [this] { backups.BeforeWrite(safekeeping::Occasion::Send); };
    transfers.BeforeRecord = [this] { backups.BeforeWrite(safekeeping::Occasion::Record); };
    // Every user step that changes the working curves is one step of undo.
    editor.BeforeEdit = [this] { history.Record(); };
    map_commands.BeforeEdit = [this] { history.Record(); };
    gauges.ControllerCopyShown = [this] { return controller_copy.OnChart(); };
    transfers.ConfirmSend = [this, variant, &platform] {
      return safekeeping::ConfirmWrite(safekeeping::Write::Send, variant, model, preferences,
                                       platform.dialogs);
    };
    transfers.ConfirmRecord = [this, variant, &platform] {
      return safekeeping::ConfirmWrite(safekeeping::Write::Record, variant, model, preferences,
                                       platform.dialogs);
    };
  }

  serial::TCommPortDriver CPDrv;
  ui::Timer Timer3;

  map::CurveModel model;
  serial::LinkState link;
  live::OptionState options;
  live::LiveState live;
  // The settings of the additions to the window.
  ui::PreferencesValues preferences;

  protocol::ReplyRecogniser recogniser;
  protocol::Lockout lockout;
  protocol::CommandChannel channel;
  live::StatusPanel status;
  live::Gauges gauges;
  map::CurveEditor editor;
  map::GaugePanelToggle gauge_toggle;
  map::MapCommands map_commands;
  safekeeping::EditHistory history;
  safekeeping::ControllerCopy controller_copy;
  serial::Supervision supervision;
  live::OptionsPanel panel;
  protocol::Transfers transfers;
  live::LiveData live_data;
  serial::SettingsCommand settings;
  safekeeping::Backups backups;
  safekeeping::BackupsList backups_list;
  safekeeping::PreferencesCommand preferences_command;
  pointtable::PointTableCommands point_table;
  logbook::Recorder recorder;
  logbook::PlotWindow plot;
  ui::CommandMenu menu;

  // The controls the window's own handlers write.
  struct HandlerControls {
    ui::Control& Label22;
    ui::Control& Label29;
    ui::Control& Label32;
    ui::Control& Label30;
    ui::Control& Label31;
    ui::Control& Label33;
    ui::Control& Label34;
    ui::Control& Label35;
    ui::Control& imgStatus;
    ui::Control& pnStatus;
    ui::Control& Image1;
    ui::Control& SDBut;
    ui::Control& V5But;
    ui::Control& btnPN;
    ui::Control& Button6;
  } handler;
  std::vector<ui::Control*> device_commands;

  std::string help_file;
  std::string chosen_port;
};

}  // namespace shell
