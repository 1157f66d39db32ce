#!/usr/bin/python3
"""The panel as a screen reader sees it: the real vorlet over an emulated device, read and
operated by an AT-SPI client (pyatspi) inside tests/support/atspi-session.

    VORLET_BINARY=build/vorlet VORLET_MODEL=vx02 tests/support/atspi-session tests/a11y/tst_a11y.py [TEST...]

The device's side is read back with the panel's D-Bus method refresh(), which asks the emulated
device itself.
"""
import os
import re
import subprocess
import sys
import time
import unittest

import pyatspi
from gi.repository import Atspi, GLib

MODEL = os.environ.get("VORLET_MODEL", "vx02")
# Everything a user operates; none of these may be unnamed.
INTERACTIVE = {"push button", "toggle button", "check box", "radio button", "page tab", "slider",
               "combo box", "text", "entry", "link", "spin button", "progress bar", "menu item",
               "push button menu", "list item"}
PAGE_TABS = {"en": ["HARDWARE", "VOLUME", "SOUND EFFECT"], "zh": ["硬件设置", "音量设置", "音效选择"]}

# What each page shows, in English and in the order of the keyboard walk: (role, name), groups as
# "group/name" for a radio button that must sit in the named group of choices.
PAGES = {
    "vx02": [
        [("check box", "LOOPBACK"), ("check box", "DIRECT"), ("check box", "DODGE"),
         ("radio button", "DENOISE/OFF"), ("radio button", "DENOISE/1"), ("radio button", "DENOISE/2"),
         ("radio button", "DENOISE/3")],
        [("slider", "MONITOR"), ("slider", "REC VOL"), ("check box", "REC VOL Mute"), ("slider", "OUT VOL"),
         ("slider", "LIVE VOL"), ("slider", "BGM VOL")],
        [("slider", "ECHO"), ("radio button", "REVERB EFFECT/LIVE"),
         ("radio button", "REVERB EFFECT/HOST"), ("check box", "MIX DRY"), ("radio button", "VOICE CHANGER/BOY"),
         ("radio button", "VOICE CHANGER/WARCRAFT"), ("radio button", "ELECTRO/F"),
         ("radio button", "ELECTRO/Bb"), ("push button", "1"), ("push button", "9")],
    ],
    "vx01": [
        [("check box", "BT"), ("check box", "LOOPBACK"), ("check box", "DENOISE"), ("check box", "VOCAL CUT"),
         ("check box", "DODGE"), ("combo box", "SPEED"), ("combo box", "THRESHOLD"), ("combo box", "LEVEL")],
        [("slider", "MONITOR"), ("slider", "REC VOL"), ("slider", "OUT VOL"), ("slider", "MIC VOL"),
         ("slider", "GAIN")],
        [("radio button", "MODE/MUSIC"), ("radio button", "MODE/SING"), ("radio button", "MODE/CHAT"),
         ("radio button", "REVERB/LARGE"), ("radio button", "REVERB/SMALL"), ("slider", "VOL"),
         ("slider", "ECHO")],
    ],
}
# The volume row moved through the value interface and the device's key it lands in.
SLIDER = ("REC VOL", "volumeRecording")
# A switch of the hardware page and the device's key it sets (1 on, 2 off).
SWITCH = {"vx02": ("LOOPBACK", "btnInPower"), "vx01": ("BT", "btnBluetooth")}
# A choice pressed: its page, its radio button, the device's key and the value it then holds.
CHOICE = {"vx02": (0, "DENOISE/2", "denoiseLevel", 2), "vx01": (2, "MODE/CHAT", "model", 7)}
# Controls the chosen mode disables: the choice that does, its page, a slider and its key, a
# choice and the key it would set.
DISABLED = {"vx01": ("MODE/CHAT", 2, "VOL", "reverbDepth", "REVERB/LARGE", "model")}
# A control of the hardware page and its name in each language.
HARDWARE_NAMES = {"vx02": {"en": "LOOPBACK", "zh": "内放开关"}, "vx01": {"en": "BT", "zh": "蓝牙开关"}}
# The recording panel's buttons (their names are the recording panel's own).
RECORD_NAMES = ["Record", "Play", "Save as…"]


def wait_for(condition, timeout=5.0, step=0.05):
    end = time.monotonic() + timeout
    while True:
        # Events from the program arrive through this client's main context.
        while GLib.MainContext.default().iteration(False):
            pass
        result = condition()
        if result or time.monotonic() > end:
            return result
        time.sleep(step)


def descendants(node):
    for index in range(node.childCount):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is None:
            continue
        yield child
        yield from descendants(child)


def interactive(node):
    role = node.getRoleName()
    return role in INTERACTIVE or (role == "label" and node.getState().contains(pyatspi.STATE_FOCUSABLE))


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def label(node):
    """'group/name' for a radio button in a named group, else the name, without outer blanks."""
    name = node.name.strip()
    parent = node.parent
    if node.getRoleName() == "radio button" and parent.getRoleName() == "panel" and parent.name.strip():
        return parent.name.strip() + "/" + name
    return name


def action(node, wanted):
    actions = node.queryAction()
    for index in range(actions.nActions):
        if actions.getName(index).lower() == wanted:
            return actions.doAction(index)
    raise AssertionError("%s %r has no action %r" % (node.getRoleName(), node.name, wanted))


def device_value(key):
    """The value the emulated device holds for `key`, read from the device by the panel."""
    out = subprocess.run(["gdbus", "call", "--session", "--dest", "com.brindle.vorlet", "--object-path",
                          "/SoundCard", "--method", "com.brindle.vorlet.SoundCard.refresh"],
                         capture_output=True, text=True, timeout=10).stdout
    found = re.search(r"'%s': <(\d+)>" % re.escape(key), out)
    return int(found.group(1)) if found else None


class Panel(unittest.TestCase):
    """One panel per test class, started in English over the emulated model."""

    @classmethod
    def setUpClass(cls):
        config = os.path.join(os.environ["XDG_CONFIG_HOME"], "Vorlet")
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "vx02.conf"), "w") as settings:
            settings.write("[General]\nLanguage=English\n")
        # What a screen reader hears from the status line, from the start on.
        cls.announced = []
        cls.listener = lambda event: cls.announced.append(event.source.name) \
            if event.source.getRoleName() == "status bar" else None
        pyatspi.Registry.registerEventListener(cls.listener, "object:property-change:accessible-name")
        cls.panel = subprocess.Popen([os.environ["VORLET_BINARY"], "--emulate", MODEL],
                                     env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
        started = time.monotonic()
        cls.app = wait_for(cls.find_app, timeout=10)
        cls.seen_after = time.monotonic() - started
        if cls.app is None:
            cls.tearDownClass()
            raise AssertionError("the registry never listed vorlet")
        # Read every property from the program: this client runs no event loop to keep a cache.
        cls.app.set_cache_mask(Atspi.Cache.NONE)
        cls.window = cls.app.getChildAtIndex(0)
        connected = wait_for(lambda: (cls.status() or "").startswith("Device connected"), timeout=10)
        assert connected, "the status line never said the device is connected: %r" % cls.status()

    @classmethod
    def tearDownClass(cls):
        pyatspi.Registry.deregisterEventListener(cls.listener, "object:property-change:accessible-name")
        cls.panel.terminate()
        try:
            # SIGTERM ends the program through its ordinary quit, with 128 + 15.
            assert cls.panel.wait(10) == 143, "the panel ended with %s" % cls.panel.returncode
        except subprocess.TimeoutExpired:
            cls.panel.kill()
            cls.panel.wait()
            raise

    @staticmethod
    def find_app():
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.name == "vorlet" and app.childCount > 0:
                return app
        return None

    @classmethod
    def status(cls):
        found = [node.name for node in descendants(cls.window) if node.getRoleName() == "status bar"]
        return found[0] if found else None

    def controls(self, everywhere=False):
        return [node for node in descendants(self.window) if interactive(node) and (everywhere or showing(node))]

    def find(self, role, name, timeout=5.0):
        def match():
            for node in self.controls():
                if node.getRoleName() == role and label(node) == name:
                    return node
            return None
        node = wait_for(match, timeout)
        self.assertIsNotNone(node, "no %s %r on screen; seen: %s" % (role, name, self.seen()))
        return node

    def seen(self):
        return sorted({(node.getRoleName(), label(node)) for node in self.controls()})

    def open_page(self, index, language="en"):
        tab = self.find("page tab", PAGE_TABS[language][index])
        action(tab, "press")
        self.assertTrue(wait_for(lambda: tab.getState().contains(pyatspi.STATE_SELECTED)),
                        "the page tab %r does not show as chosen" % tab.name)

    def choose_language(self, language):
        """Picks the language in the settings dialog, as a screen reader's user would."""
        entry, before = ("简体中文", "en") if language == "zh" else ("English", "zh")
        action(self.find("push button", {"en": "Settings", "zh": "设置"}[before]), "press")
        action(self.find("combo box", {"en": "Language", "zh": "语言"}[before]), "press")
        action(self.find("menu item", entry), "press")
        self.find("page tab", PAGE_TABS[language][0])

    def assert_all_named(self, everywhere=False):
        unnamed = [(node.getRoleName(), node.parent.name if node.parent else "")
                   for node in self.controls(everywhere) if not node.name.strip()]
        self.assertEqual(unnamed, [], "controls without a name (role, parent's name)")


class Scene(Panel):
    def test_0_the_registry_lists_the_panel_within_5_s(self):
        self.assertLess(self.seen_after, 5.0)

    def test_0_the_connection_is_announced(self):
        self.assertTrue(wait_for(lambda: any(name.startswith("Device connected") for name in self.announced)),
                        "the status line announced %s" % self.announced)

    def test_1_the_scene_is_inside_the_window(self):
        # One window, no scene of its own beside it.
        self.assertEqual(self.app.childCount, 1)
        self.assertEqual((self.window.getRoleName(), self.window.name), ("frame", "vorlet"))
        # The page tabs, in the order of the keyboard walk, showing inside the window.
        tabs = [node for node in descendants(self.window) if node.getRoleName() == "page tab"]
        self.assertEqual([tab.name.strip() for tab in tabs][:3], PAGE_TABS["en"])
        self.assertEqual(tabs[0].parent.getRoleName(), "page tab list")
        # Showing, and so is everything on the way up: a screen reader skips what is not.
        node = tabs[0]
        while node is not None and node != self.app:
            self.assertTrue(showing(node), "%s %r is not showing" % (node.getRoleName(), node.name))
            node = node.parent

    def test_2_every_page_tab_opens_its_page_of_named_controls(self):
        for index, expected in enumerate(PAGES[MODEL]):
            with self.subTest(page=PAGE_TABS["en"][index]):
                self.open_page(index)
                for role, name in expected:
                    self.find(role, name)
                walk = [(node.getRoleName(), label(node)) for node in self.controls()]
                self.assertEqual([control for control in walk if control in expected], expected)
                # The other pages' controls are gone.
                others = {c for page, controls in enumerate(PAGES[MODEL]) if page != index for c in controls}
                self.assertEqual(others & set(self.seen()) - set(expected), set())
                self.assert_all_named()

    def test_3_switches_and_choices_act_as_a_click_does(self):
        self.open_page(0)
        name, key = SWITCH[MODEL]
        switch = self.find("check box", name)
        for _ in range(2):
            on = not switch.getState().contains(pyatspi.STATE_CHECKED)
            action(switch, "toggle")
            self.assertTrue(wait_for(lambda: switch.getState().contains(pyatspi.STATE_CHECKED) == on))
            self.assertTrue(wait_for(lambda: device_value(key) == (1 if on else 2)), "%s is not %s" % (key, on))
        page, name, key, value = CHOICE[MODEL]
        self.open_page(page)
        choice = self.find("radio button", name)
        # Pressed again, the choice stays.
        for _ in range(2):
            action(choice, "press")
            self.assertTrue(wait_for(lambda: device_value(key) == value), "%s is %s" % (key, device_value(key)))
            chosen = [label(node) for node in self.controls()
                      if node.getRoleName() == "radio button" and node.getState().contains(pyatspi.STATE_CHECKED)
                      and node.parent.name == choice.parent.name]
            self.assertEqual(chosen, [name])

    def test_4_a_slider_set_through_the_value_interface_reaches_the_device(self):
        self.open_page(1)
        slider = self.find("slider", SLIDER[0])
        value = slider.queryValue()
        self.assertEqual((value.minimumValue, value.maximumValue), (0.0, 16.0))
        self.assertEqual(int(value.currentValue), device_value(SLIDER[1]))
        wanted = 3 if int(value.currentValue) != 3 else 11
        value.currentValue = wanted
        self.assertTrue(wait_for(lambda: device_value(SLIDER[1]) == wanted),
                        "the device holds %s, not %s" % (device_value(SLIDER[1]), wanted))
        self.assertEqual(int(value.currentValue), wanted)

    @unittest.skipUnless(MODEL in DISABLED, "no control of this model is ever disabled with a device")
    def test_4_a_disabled_control_takes_no_value_and_no_press(self):
        choice, page, name, key, pressed, pressed_key = DISABLED[MODEL]
        self.open_page(page)
        action(self.find("radio button", choice), "press")
        slider = self.find("slider", name)
        self.assertTrue(wait_for(lambda: not slider.getState().contains(pyatspi.STATE_ENABLED)))
        before = device_value(key)
        slider.queryValue().currentValue = 9 if before != 9 else 4
        # The panel answers a refresh after every command queued before it.
        self.assertEqual(device_value(key), before)
        before = device_value(pressed_key)
        action(self.find("radio button", pressed), "press")
        self.assertEqual(device_value(pressed_key), before)

    def test_5_the_settings_dialog_is_reachable_and_named(self):
        action(self.find("push button", "Settings"), "press")
        for name in ["General", "About", "Help"]:
            tab = self.find("page tab", name)
            action(tab, "press")
            self.assertTrue(wait_for(lambda: tab.getState().contains(pyatspi.STATE_SELECTED)))
            self.assert_all_named()
        action(self.find("page tab", "General"), "press")
        self.assertEqual(self.find("combo box", "Language").description, "English")

    def test_6_names_follow_the_language(self):
        self.open_page(0)
        for language in ["zh", "en"]:
            with self.subTest(language=language):
                self.choose_language(language)
                self.find("page tab", PAGE_TABS[language][0])
                self.find("check box", HARDWARE_NAMES[MODEL][language])
                self.assertTrue(self.status().startswith("Device connected" if language == "en" else "设备已连接"))
                self.assert_all_named()


class RecordPanel(Panel):
    def test_the_recording_panel_is_reachable_and_named_in_both_languages(self):
        action(self.find("check box", "Recording"), "press")
        for name in RECORD_NAMES:
            self.find("push button", name)
        # Also what shows only at times (the progress of an export).
        self.assert_all_named(everywhere=True)
        self.choose_language("zh")
        self.assert_all_named(everywhere=True)


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
