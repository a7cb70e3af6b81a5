#!/usr/bin/env python3
"""Guards the Windows programs end to end: Palunor6.exe and Palunor.exe under wine, on a
virtual display with a window manager, against the controller emulator on COM2 (and a
second one on COM3), driven by the robot (e2e_robot.exe) as a user would drive them and
checked against what the emulator reports it holds (its --state file) and heard (its
log).

Run by scripts/windows-tests.sh; alone:
  WINEPREFIX=... PALUNOR_MINGW_BUILD=build-mingw CONTROLLER_SIM=build/controller-sim \\
    python3 tests/e2e/win32/windows_programs_test.py [-k NAME]
"""
import os
import pathlib
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[3]
BUILD = pathlib.Path(os.environ.get("PALUNOR_MINGW_BUILD", ROOT / "build-mingw")).resolve()
SIM = pathlib.Path(os.environ.get("CONTROLLER_SIM", ROOT / "build" / "controller-sim")).resolve()
ROBOT = BUILD / "tests" / "e2e" / "win32" / "e2e_robot.exe"

# Limits of waits for what happens within a few hundred milliseconds at 9600 baud, and
# for the link supervision, which declares a loss within 7.5 s and finds the controller
# again within 5 s. They only bound a wait; nothing asserts a duration.
REPLY_LIMIT = 5.0
SUPERVISION_LIMIT = 15.0
# A command is refused for 600 ms after the previous one (the program's own link polls
# included); a user who waits this long after the last command is heard.
LOCKOUT = 0.75

FOUND_CAPTION = "VYN Advance Controller Program (QZR Version 6.0, Dual Channel)"
LOST_CAPTION = "VYN Advance Controller Program (No QZR Present!)"
PROGRAMS = {"Palunor6": "Palunor6.exe", "Palunor": "Palunor.exe"}

_display = {}


def wait_until(done, limit=REPLY_LIMIT):
    end = time.monotonic() + limit
    while not done():
        if time.monotonic() >= end:
            return False
        time.sleep(0.02)
    return True


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def hex_bytes(text):
    return "".join(f" {ord(c):02X}" for c in text)


class EmulatorState:
    """The emulator's --state file: "name value..." lines."""

    def __init__(self, path):
        self.items = {}
        try:
            text = pathlib.Path(path).read_text()
        except FileNotFoundError:
            text = ""
        for line in text.splitlines():
            words = line.split()
            if words:
                self.items[words[0]] = words[1:]

    def curve(self, name):
        return [int(v) for v in self.items.get(name, [])]

    def item(self, name):
        values = self.items.get(name, [])
        return values[0] if values else ""


class Emulator:
    """controller-sim on COM`port` of the port map under `config`, which wine's COM ports
    lead to."""

    def __init__(self, config, directory, port=2, args=()):
        self.link = config / "palunor" / "dosdevices" / f"com{port}"
        self.state_file = directory / f"state-com{port}.txt"
        self.log_file = directory / f"controller-sim-com{port}.log"
        env = dict(os.environ, XDG_CONFIG_HOME=str(config))
        # Its log counts milliseconds from its start, a little after this.
        self.started_at = time.monotonic()
        with open(self.log_file, "ab") as log:
            self.process = subprocess.Popen(
                [str(SIM), "--port", f"COM{port}", "--state", str(self.state_file), "--log",
                 *args], stdout=log, stderr=subprocess.STDOUT, env=env)
        self.started = wait_until(lambda: self.device().startswith("/dev/pts/")
                                  and self.state_file.exists())

    def device(self):
        try:
            return os.readlink(self.link)
        except OSError:
            return ""

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(REPLY_LIMIT)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def unplug(self):
        device = self.device()
        self.process.send_signal(signal.SIGUSR1)
        return wait_until(lambda: not os.path.exists(device) and not os.path.exists(self.link))

    def replug(self):
        self.process.send_signal(signal.SIGUSR2)
        return wait_until(lambda: os.path.exists(self.link))

    def state(self):
        return EmulatorState(self.state_file)

    def log(self):
        try:
            return self.log_file.read_text()
        except FileNotFoundError:
            return ""

    def heard_lines(self):
        """(milliseconds since its start, bytes) of each chunk it heard."""
        lines = []
        for line in self.log().splitlines():
            words = line.split()
            if len(words) >= 2 and words[1] == "<-":
                lines.append((float(words[0]), "".join(chr(int(h, 16)) for h in words[2:])))
        return lines

    def quiet_for(self):
        """Seconds since it last heard anything (a little more, never less)."""
        lines = self.heard_lines()
        last = lines[-1][0] / 1000 if lines else 0.0
        return time.monotonic() - self.started_at - last

    def heard(self, after=None):
        """Everything it heard, as one string; with `after`, only what came after the
        last time it heard that."""
        text = "".join(chunk for _, chunk in self.heard_lines())
        if after is not None:
            at = text.rfind(after)
            text = text[at + len(after):] if at >= 0 else ""
        return text

    def sent(self, after):
        """The bytes it sent after the last time it heard `after`."""
        bytes_sent = ""
        heard = hex_bytes(after)
        for line in self.log().splitlines():
            words = line.split()
            if len(words) < 2:
                continue
            if words[1] == "<-" and line.endswith(heard):
                bytes_sent = ""
            elif words[1] == "->":
                bytes_sent += "".join(chr(int(h, 16)) for h in words[2:])
        return bytes_sent

    def times_heard(self, command):
        return self.heard().count(command)


class RobotError(AssertionError):
    pass


class Robot:
    """e2e_robot.exe under wine: one command a line, one answer a line."""

    def __init__(self, log_path):
        self.log = open(log_path, "ab")
        self.process = subprocess.Popen(["wine", str(ROBOT)], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self.log)

    def ask(self, *fields):
        line = "\t".join(str(f) for f in fields) + "\n"
        self.process.stdin.write(line.encode())
        self.process.stdin.flush()
        answer = self.process.stdout.readline().decode().rstrip("\n")
        if not answer:
            raise RobotError(f"the robot ended at: {' '.join(map(str, fields))}")
        words = [self.unescape(w) for w in answer.split("\t")]
        if words[0] != "ok":
            raise RobotError(f"{' '.join(map(str, fields))}: {' '.join(words[1:])}")
        return words[1:]

    @staticmethod
    def unescape(text):
        out, escaped = [], False
        for c in text:
            if escaped:
                out.append({"t": "\t", "r": "\r", "n": "\n"}.get(c, c))
                escaped = False
            elif c == "\\":
                escaped = True
            else:
                out.append(c)
        return "".join(out)

    def quit(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.close()
                self.process.wait(REPLY_LIMIT * 2)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait()
        self.process.stdout.close()
        self.log.close()


class Session:
    """One program under wine with its own working folder, the emulator on COM2, and the
    robot at its window."""

    def __init__(self, variant, emulator_args=()):
        self.variant = variant
        # A Cyrillic working folder, as a Bulgarian user's profile is: "Advance.ini" and
        # the maps live where no ANSI code page of a Western system reaches.
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix="Иван-palunor-win32-e2e-"))
        self.emulator = Emulator(_display["config"], self.dir, 2, emulator_args)
        self.more = []
        self.robot = Robot(self.dir / "robot.log")
        try:
            self.start_program()
        except BaseException:
            self.finish(True, "start")
            raise

    def start_program(self):
        self.robot.ask("start", self.variant, windows_path(BUILD / "app" / PROGRAMS[self.variant]),
                       windows_path(self.dir))

    def add_controller(self, port, args=()):
        emulator = Emulator(_display["config"], self.dir, port, args)
        self.more.append(emulator)
        return emulator if emulator.started else None

    def finish(self, failed, name):
        if failed:
            shots = BUILD / "e2e-win32-failures"
            shots.mkdir(exist_ok=True)
            subprocess.run(["import", "-window", "root", str(shots / f"{name}.png")],
                           stderr=subprocess.DEVNULL, check=False)
            print(f"\n--- controller-sim ({name}):\n{self.emulator.log()[-3000:]}")
            print(f"--- wine ({name}):\n{(self.dir / 'robot.log').read_text(errors='replace')[-3000:]}")
        self.robot.quit()
        for emulator in [self.emulator, *self.more]:
            emulator.stop()
        shutil.rmtree(self.dir, ignore_errors=True)

    # What the window shows.
    def caption(self):
        return self.robot.ask("caption")[0]

    def text(self, name):
        return self.robot.ask("text", name)[0]

    def shown(self, name):
        return self.robot.ask("shown", name)[0] == "1"

    def enabled(self, name):
        return self.robot.ask("enabled", name)[0] == "1"

    def curve(self):
        return [int(v) for v in self.robot.ask("curve")[0].split()]

    def state(self):
        return self.emulator.state()

    def wait_until_found(self, caption_start="VYN Advance Controller Program (QZR Version"):
        return wait_until(lambda: self.caption().startswith(caption_start)
                          and self.text("lblstat") == "Ready!", SUPERVISION_LIMIT)

    def wait_for_status(self, text):
        return wait_until(lambda: self.text("lblstat") == text)

    def wait_for_state(self, done):
        return wait_until(lambda: done(self.state()))

    # What the user does.
    def click(self, name):
        self.robot.ask("click", name)

    def command(self, name, command, emulator=None, answer=None):
        """Clicks a control whose handler sends `command`, as a user who waits until the
        previous command is over, and once more if the program's own link poll came in
        between; `answer` answers the message box the click shows. True once the
        controller heard the command."""
        emulator = emulator or self.emulator
        before = emulator.times_heard(command)
        for _ in range(4):
            wait_until(lambda: emulator.quiet_for() >= LOCKOUT, SUPERVISION_LIMIT)
            self.click(name)
            if answer is not None:
                self.last_message = self.answer_message(answer)
            if wait_until(lambda: emulator.times_heard(command) > before, 2 * LOCKOUT):
                return True
        return False

    def keys(self, key, count=1):
        self.robot.ask("key", key, count)

    def drag(self, name, dy):
        self.robot.ask("drag", name, dy)

    def answer_message(self, button):
        return self.robot.ask("message", button)


class BothPrograms:
    """The cases every program passes; a subclass per program sets `variant`."""

    variant = None

    def setUp(self):
        self.session = Session(self.variant)
        self.addCleanup(lambda: self.session.finish(not self._outcome.success,
                                                    self.id().split(".", 1)[-1]))

    def found_and_read(self):
        s = self.session
        self.assertTrue(s.emulator.started)
        self.assertTrue(s.wait_until_found(), s.caption())
        self.assertTrue(s.command("RDBut", "RD1"))
        self.assertTrue(s.wait_for_status("Lines Received!"), s.text("lblstat"))

    def test_finds_the_controller_reads_both_curves_and_switches_between_them(self):
        s = self.session
        self.assertTrue(s.emulator.started)
        # The first activation of the window asks for the version.
        self.assertTrue(wait_until(lambda: s.emulator.times_heard("VER") > 0))
        self.assertTrue(s.wait_until_found(), s.caption())
        self.assertEqual(s.caption(), FOUND_CAPTION)
        self.assertTrue(s.shown("pnStatus"))
        self.assertTrue(s.enabled("RDBut"))
        # "Find QZR" asks again.
        self.assertTrue(s.command("VerBut", "VER"))

        before = s.state()
        self.assertNotEqual(before.curve("ram1"), before.curve("ram2"))
        self.assertTrue(s.command("RDBut", "RD1"))
        self.assertTrue(s.wait_for_status("Lines Received!"), s.text("lblstat"))
        # Curve 2 was shown before the read, and is shown again after it.
        self.assertEqual(s.curve(), before.curve("ram2"))
        self.assertFalse(s.shown("Label34"))
        # The emulator starts at 5 V out, positive input, bypass 4 steps, Vref 3 steps.
        self.assertEqual(s.text("lblOutV"), "5 V")
        self.assertEqual(s.text("lblInV"), "Positive")
        self.assertEqual(s.text("lblTV"), "2.0 S")
        self.assertEqual(s.text("lblVrV"), "1.0 V")
        self.assertEqual(s.text("V5But"), "12 V out")

        s.click("Button2")
        self.assertTrue(wait_until(lambda: s.text("Button2") == "Advance &2"))
        self.assertTrue(wait_until(lambda: s.curve() == before.curve("ram1")), s.curve())
        s.click("Button2")
        self.assertTrue(wait_until(lambda: s.text("Button2") == "Advance &1"))
        self.assertTrue(wait_until(lambda: s.curve() == before.curve("ram2")), s.curve())

    def test_sends_a_dragged_point_records_it_and_keeps_it_in_a_map_file(self):
        s = self.session
        self.found_and_read()
        read1, read2 = s.state().curve("ram1"), s.state().curve("ram2")
        s.click("Button2")
        self.assertTrue(wait_until(lambda: s.curve() == read1), s.curve())

        # Ten pixels of mouse travel are five degrees; towards the middle of the chart.
        def drag(curve, index):
            value = curve[index]
            s.drag(f"Lb{index + 1}", 10 if value > 25 else -10)
            changed = list(curve)
            changed[index] = value - 5 if value > 25 else value + 5
            return changed

        dragged = drag(read1, 4)
        self.assertEqual(s.curve(), dragged)
        self.assertEqual(s.text("Label28"), str(dragged[4] - 25))
        self.assertTrue(s.shown("Label34"))

        self.assertTrue(s.command("SDBut", "SD1"))
        self.assertTrue(s.wait_for_status("LINE 1 SENT"), s.text("lblstat"))
        self.assertEqual(s.state().curve("ram1"), s.curve())
        self.assertEqual(s.state().curve("ram2"), read2)
        self.assertFalse(s.shown("Label34"))
        self.assertTrue(s.shown("Label35"))

        self.assertTrue(s.command("Button6", "EW1"))
        self.assertTrue(s.wait_for_status("LINE 1 SAVED"), s.text("lblstat"))
        self.assertEqual(s.state().curve("eeprom1"), dragged)
        self.assertFalse(s.shown("Label35"))

        map_file = s.dir / "карта.IJJ"
        s.click("SaveBut")
        self.assertEqual(s.robot.ask("file", windows_path(map_file)), ["Save Advance file"])
        self.assertTrue(wait_until(map_file.exists))
        saved = map_file.read_bytes()
        self.assertEqual(len(saved), 62)
        self.assertEqual(saved[:3], b"SD1")
        self.assertEqual(saved[29:34], b"\r\nSD2")

        # Another point moved and sent: the controller no longer holds the saved map.
        changed = drag(dragged, 9)
        self.assertEqual(s.curve(), changed)
        self.assertTrue(s.command("SDBut", "SD1"))
        self.assertTrue(s.wait_for_state(lambda st: st.curve("ram1") == changed))

        s.click("OpenBut")
        self.assertEqual(s.robot.ask("file", windows_path(map_file)), ["Open Advance file"])
        self.assertTrue(wait_until(lambda: s.curve() == dragged), s.curve())
        self.assertEqual(s.text("Button2"), "Advance &2")
        self.assertTrue(s.command("SDBut", "SD1"))
        self.assertTrue(s.wait_for_state(lambda st: st.curve("ram1") == dragged))
        self.assertEqual(s.state().curve("ram2"), read2)

    def test_sends_the_point_moved_with_the_arrow_keys(self):
        s = self.session
        self.found_and_read()
        read = s.curve()
        # The Read button keeps the focus and swallows keys: Space does not press it.
        s.keys("space")
        self.assertTrue(wait_until(lambda: s.text("Label32") == "32"), s.text("Label32"))
        # Point 4 of the shown curve 2, three degrees more advance: the chart's
        # next-point arrow selects point 2, the keys go on from there.
        s.click("SpeedButton4")
        s.keys("right", 2)
        s.keys("up", 3)
        edited = list(read)
        edited[3] += 3
        self.assertTrue(wait_until(lambda: s.curve() == edited), s.curve())
        self.assertTrue(s.shown("Label34"))
        self.assertTrue(s.command("SDBut", "SD2"))
        self.assertTrue(s.wait_for_status("LINE 2 SENT"), s.text("lblstat"))
        self.assertEqual(s.state().curve("ram2"), edited)
        self.assertEqual(s.emulator.times_heard("RD1"), 1)

    def test_sets_a_point_in_the_table_from_the_context_menu_and_sends_it(self):
        s = self.session
        self.found_and_read()
        read2 = s.curve()
        s.robot.ask("rclick", "Image1")
        s.robot.ask("menukey", "e")
        table = s.robot.ask("table")
        self.assertEqual(table[0], "Edit points")
        self.assertEqual(len(table) - 1, 26)
        # Point 14 of curve 2 to five degrees of advance.
        s.robot.ask("tableselect", 13, 13)
        s.robot.ask("tablevalue", "5")
        s.robot.ask("tablebutton", "Set Advance 2")
        s.robot.ask("tablebutton", "OK")
        edited = list(read2)
        edited[13] = 25 + 5
        self.assertTrue(wait_until(lambda: s.curve() == edited), s.curve())
        self.assertTrue(s.shown("Label34"))
        self.assertTrue(s.command("SDBut", "SD2"))
        self.assertTrue(s.wait_for_state(lambda st: st.curve("ram2") == edited))

    def test_opens_the_backup_of_a_read_from_the_backups_list(self):
        s = self.session
        self.found_and_read()
        read2 = s.curve()
        s.drag("Lb5", 10 if read2[4] > 25 else -10)
        self.assertNotEqual(s.curve(), read2)
        s.robot.ask("rclick", "Image2")
        s.robot.ask("menukey", "b")
        table = s.robot.ask("table")
        self.assertEqual(table[0], "Backups")
        # Newest first, and chosen: the Read's backup.
        self.assertTrue(table[1].endswith(" | QZR 6.0 | Read"), table[1])
        s.robot.ask("tablebutton", "OK")
        self.assertTrue(wait_until(lambda: s.curve() == read2), s.curve())
        self.assertFalse(s.shown("Label34"))

    def test_undoes_a_drag_from_the_menu_key_and_sends_the_undone_curve(self):
        s = self.session
        self.found_and_read()
        read2 = s.curve()

        def dragged(curve, index):
            s.drag(f"Lb{index + 1}", 10 if curve[index] > 25 else -10)
            changed = list(curve)
            changed[index] += -5 if curve[index] > 25 else 5
            self.assertTrue(wait_until(lambda: s.curve() == changed), s.curve())
            return changed

        first = dragged(read2, 4)
        dragged(first, 7)
        # The Menu key opens the chart's menu; U is Undo's access key.
        s.keys("93")
        s.robot.ask("menukey", "u")
        self.assertTrue(wait_until(lambda: s.curve() == first), s.curve())
        self.assertTrue(s.command("SDBut", "SD2"))
        self.assertTrue(s.wait_for_status("LINE 2 SENT"), s.text("lblstat"))
        self.assertEqual(s.state().curve("ram2"), first)
        # A right click on a gauge opens it too: undo the first drag as well.
        s.robot.ask("rclick", "Image3")
        s.robot.ask("menukey", "u")
        self.assertTrue(wait_until(lambda: s.curve() == read2), s.curve())
        self.assertTrue(s.shown("Label34"))

    def test_asks_before_closing_with_a_curve_the_controller_does_not_hold(self):
        s = self.session
        self.found_and_read()
        read2 = s.curve()
        s.drag("Lb5", 10 if read2[4] > 25 else -10)
        self.assertTrue(wait_until(lambda: s.curve() != read2))
        self.assertEqual(s.robot.ask("close", 1000), ["-1"])
        title, text = s.answer_message("cancel")
        self.assertIn("Advance 2: edited and not sent", text)
        self.assertTrue(s.caption().startswith("VYN Advance Controller Program"))
        self.assertEqual(s.robot.ask("close", 1000), ["-1"])
        s.answer_message("ok")
        self.assertEqual(s.robot.ask("close"), ["0"])

    def test_records_live_data_from_the_menu_as_the_frames_the_controller_sent(self):
        s = self.session
        self.assertTrue(s.wait_until_found(), s.caption())
        self.assertTrue(s.command("Button3", "LON"))
        self.assertTrue(s.wait_for_status("Receiving..."), s.text("lblstat"))
        log = s.dir / "run.csv"
        s.robot.ask("rclick", "Image1")
        s.robot.ask("menukey", "c")
        self.assertEqual(s.robot.ask("file", windows_path(log)), ["Record live data"])

        def row_bytes():
            """The period and advance bytes of the log's rows."""
            lines = log.read_text().splitlines() if log.exists() else []
            start = next((i for i, line in enumerate(lines) if line.startswith("time_ms,")), None)
            if start is None:
                return ""
            return "".join(chr(int(f[4])) + chr(int(f[5]))
                           for f in (line.split(",") for line in lines[start + 1:]))

        # Three seconds of frames reach the file, a second at a time.
        self.assertTrue(wait_until(lambda: len(row_bytes()) >= 2 * 30, SUPERVISION_LIMIT))
        s.robot.ask("rclick", "Image1")
        s.robot.ask("menukey", "s")
        rows = row_bytes()
        self.assertIn(rows, s.emulator.sent("LON"))
        # The stream has the line to itself: recording sent nothing.
        self.assertEqual(s.emulator.heard(after="LON"), "")
        self.assertTrue(s.command("Button3", "LOF"))

    def test_changes_the_output_voltage_after_the_warning(self):
        s = self.session
        self.found_and_read()
        s.click("btnAdvSet")
        self.assertTrue(wait_until(lambda: s.shown("Panel2")))

        # 12 V only after the warning is answered OK; back to 5 V without a question.
        self.assertTrue(s.command("V5But", "O12", answer="ok"))
        self.assertEqual(s.last_message[1],
                         "                Attention!!!\r\n12V could damage the commutator\r\n"
                         "        Do you want to proceed")
        self.assertTrue(s.wait_for_status("Output Volt. Changed!"), s.text("lblstat"))
        self.assertEqual(s.state().item("output"), "12")
        self.assertEqual(s.text("lblOutV"), "12 V")
        self.assertEqual(s.text("V5But"), " 5 V out")
        self.assertTrue(s.command("V5But", "O05"))
        self.assertTrue(s.wait_for_state(lambda st: st.item("output") == "5"))
        self.assertTrue(wait_until(lambda: s.text("lblOutV") == "5 V"))

    def test_shows_live_data_and_polls_the_link_again_once_stopped(self):
        s = self.session
        self.assertTrue(s.wait_until_found(), s.caption())
        self.assertEqual(s.state().item("live"), "off")
        self.assertTrue(s.command("Button3", "LON"))
        self.assertTrue(wait_until(lambda: s.text("Button3") == "Stop Data"))
        self.assertFalse(s.enabled("RDBut"))
        self.assertTrue(s.wait_for_status("Receiving..."), s.text("lblstat"))
        self.assertEqual(s.state().item("live"), "on")
        # The engine sweeps up from idle: the RPM read-out moves frame by frame.
        seen = set()
        self.assertTrue(wait_until(lambda: seen.add(s.text("Label30")) or len(seen) >= 4), seen)
        self.assertEqual(s.emulator.heard(after="LON"), "")

        self.assertTrue(s.command("Button3", "LOF"))
        self.assertTrue(wait_until(lambda: s.text("Button3") == "Live Data"))
        self.assertTrue(s.enabled("RDBut"))
        self.assertTrue(s.wait_for_state(lambda st: st.item("live") == "off"))
        self.assertTrue(wait_until(lambda: "VER" in s.emulator.heard(after="LOF"),
                                   SUPERVISION_LIMIT))

    def test_declares_the_controller_lost_when_unplugged_and_finds_it_again(self):
        s = self.session
        self.assertTrue(s.wait_until_found(), s.caption())
        self.assertTrue(s.emulator.unplug())
        self.assertTrue(wait_until(lambda: s.caption() == LOST_CAPTION, SUPERVISION_LIMIT),
                        s.caption())
        self.assertEqual(s.text("lblstat"), "Device Disconnected!")
        self.assertFalse(s.enabled("RDBut"))
        self.assertFalse(s.enabled("SDBut"))

        self.assertTrue(s.emulator.replug())
        self.assertTrue(s.wait_until_found(), s.caption())
        self.assertTrue(s.command("RDBut", "RD1"))
        self.assertTrue(s.wait_for_status("Lines Received!"))
        s.click("Button2")
        self.assertTrue(wait_until(lambda: s.curve() == s.state().curve("ram1")), s.curve())

    def test_moves_to_the_controller_on_com3_and_opens_com3_at_the_next_start(self):
        s = self.session
        self.assertTrue(s.wait_until_found(), s.caption())
        # A second controller, told apart by its firmware.
        com3 = s.add_controller(3, ["--version", "52"])
        self.assertIsNotNone(com3)

        s.click("Button5")
        self.assertEqual(s.answer_message("ok")[1],
                         "Could not change settings while a connection is active.\r\n"
                         "Close the connection and continue ?")
        self.assertEqual(s.robot.ask("settings", "\\\\.\\COM3"), ["Settings"])
        self.assertTrue(wait_until(lambda: com3.times_heard("VER") > 0, SUPERVISION_LIMIT))
        reads_on_com2 = s.emulator.times_heard("RD1")
        self.assertTrue(s.command("RDBut", "RD1", com3))
        self.assertTrue(s.wait_for_status("Lines Received!"), s.text("lblstat"))
        self.assertEqual(s.emulator.times_heard("RD1"), reads_on_com2)

        self.assertEqual(s.robot.ask("close"), ["0"])
        port_line = (s.dir / "Advance.INI").read_bytes().split(b"\n")[0]
        self.assertEqual(port_line, b"COM PORT= COM3\r")
        s.start_program()
        self.assertTrue(wait_until(lambda: s.caption() ==
                                   "VYN Advance Controller Program (QZR Version 5.2, Dual Channel)",
                                   SUPERVISION_LIMIT), s.caption())


class Palunor6(BothPrograms, unittest.TestCase):
    variant = "Palunor6"


class Palunor(BothPrograms, unittest.TestCase):
    variant = "Palunor"


def setUpModule():
    """A virtual display with a window manager, and wine's COM2 and COM3 leading to the
    emulators' links in a port map of the suite's own, in a wineserver that stays up
    for the whole suite."""
    scratch = pathlib.Path(tempfile.mkdtemp(prefix="palunor-win32-display-"))
    _display["scratch"] = scratch
    _display["config"] = scratch / "config"
    (scratch / "config").mkdir()
    os.environ.setdefault("WINEPREFIX", str(BUILD / "wine-prefix"))
    # Wine's errors only, in the robot's log, which a failed test prints.
    os.environ["WINEDEBUG"] = "-all,err+all"
    # No Gecko or Mono prompts, and no menu entries on the host for the prefix's shortcuts.
    os.environ["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"

    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = os.read(read, 16).decode().strip()
    os.close(read)
    if not number:
        raise RuntimeError("Xvfb did not start")
    _display["xvfb"] = xvfb
    os.environ["DISPLAY"] = ":" + number
    _display["openbox"] = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)

    subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL, check=False)
    subprocess.run(["wineserver", "-w"], stderr=subprocess.DEVNULL, check=False)
    if not (pathlib.Path(os.environ["WINEPREFIX"]) / "system.reg").exists():
        subprocess.run(["wineboot", "-i"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True)
    # COM1, where a program turns when COM2 fails, leads nowhere rather than to the
    # machine's own serial port: a failure shows as "COM Port Error", not as a wait for
    # a carrier that never comes.
    links = {port: _display["config"] / "palunor" / "dosdevices" / f"com{port}"
             for port in (1, 2, 3)}
    for port, link in links.items():
        subprocess.run(["wine", "reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", f"COM{port}",
                        "/t", "REG_SZ", "/d", str(link), "/f"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
    # Wine maps its ports from the registry as it starts: a new server maps the new
    # links, once it has started its services.
    subprocess.run(["wineserver", "-w"], check=False)
    start_desktop()
    dosdevices = pathlib.Path(os.environ["WINEPREFIX"]) / "dosdevices"
    for port, link in links.items():
        mapped = dosdevices / f"com{port}"
        if not mapped.is_symlink() or os.readlink(mapped) != str(link):
            raise RuntimeError(f"wine did not map COM{port} to {link}")


def desktop_shows_programs():
    """Whether the robot sees the windows of a program it starts: a window or, with no
    emulator on COM2, the "COM Port Error" box that comes before it."""
    scratch = pathlib.Path(tempfile.mkdtemp(prefix="palunor-win32-desktop-"))
    robot = Robot(scratch / "robot.log")
    try:
        robot.ask("start", "Palunor6", windows_path(BUILD / "app" / PROGRAMS["Palunor6"]),
                  windows_path(scratch))
        return True
    except RobotError as error:
        return "came before the window" in str(error)
    finally:
        robot.quit()
        shutil.rmtree(scratch, ignore_errors=True)


def start_desktop():
    """A wineserver for the whole suite, whose desktop shows the programs' windows. On a
    loaded machine wine's desktop at times comes up without showing a window the robot
    can see, for the server's whole life; a new server brings a new desktop."""
    for _ in range(3):
        _display["wineserver"] = subprocess.Popen(["wineserver", "-f", "-p"],
                                                  stdout=subprocess.DEVNULL,
                                                  stderr=subprocess.DEVNULL)
        if desktop_shows_programs():
            return
        print("wine's desktop shows no windows: a new wineserver", flush=True)
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL, check=False)
        _display["wineserver"].wait()
    raise RuntimeError("wine's desktop shows no windows")


def tearDownModule():
    subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL, check=False)
    if "wineserver" in _display:
        _display["wineserver"].wait()
    for name in ("openbox", "xvfb"):
        if name in _display:
            _display[name].terminate()
            _display[name].wait()
    shutil.rmtree(_display.get("scratch", ""), ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
