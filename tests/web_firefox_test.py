#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition in headless Firefox ESR, driven through Firefox's own remote protocol
(Marionette), so no driver is needed: the page laid out within the screen's width at 1366 and at
a width narrower than the window, and the window's fields at start-up as the native build of the same engine shows
them (web_native_twin).

    web_firefox_test.py --site build/default/web/site --twin build/default/tests/web_native_twin

Exits 77 (skipped) when Firefox is not installed.
"""

import argparse
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

TIME = '202612050905'
ARGS = None
SKIPPED = 77


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def read_text(path):
    with open(path) as file:
        return file.read().strip()


def wait_for(condition, what, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError('waited in vain for ' + what)


class Marionette:
    """Marionette's wire: each message is its JSON's length in bytes, a colon, and the JSON; a
    command is [0, id, name, parameters], its answer [1, id, error, result]."""

    def __init__(self, port):
        self.socket = socket.create_connection(('127.0.0.1', port), timeout=60)
        self.buffer = b''
        self.next_id = 0
        self.receive()  # the greeting

    def receive(self):
        while b':' not in self.buffer:
            self.buffer += self.read()
        length, _, self.buffer = self.buffer.partition(b':')
        while len(self.buffer) < int(length):
            self.buffer += self.read()
        message, self.buffer = self.buffer[:int(length)], self.buffer[int(length):]
        return json.loads(message)

    def read(self):
        chunk = self.socket.recv(65536)
        if not chunk:
            raise ConnectionError('Firefox closed the connection')
        return chunk

    def __call__(self, name, parameters=None):
        self.next_id += 1
        data = json.dumps([0, self.next_id, name, parameters or {}]).encode()
        self.socket.sendall(str(len(data)).encode() + b':' + data)
        while True:
            kind, answer_id, error, result = self.receive()
            if kind == 1 and answer_id == self.next_id:
                break
        if error:
            raise RuntimeError(f'{name}: {error}')
        return result

    def js(self, script, *args):
        return self('WebDriver:ExecuteScript', {'script': script, 'args': list(args)})['value']

    def close(self):
        self.socket.close()


class Firefox(unittest.TestCase):
    """One Firefox and one server for all the tests; each test loads the page afresh."""

    @classmethod
    def setUpClass(cls):
        cls.port = free_port()
        cls.server = subprocess.Popen(
            [sys.executable, '-m', 'http.server', str(cls.port), '--bind', '127.0.0.1',
             '--directory', ARGS.site],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.profile = tempfile.TemporaryDirectory()
        # Port 0: Firefox picks a free one and writes it into the profile.
        with open(os.path.join(cls.profile.name, 'user.js'), 'w') as prefs:
            prefs.write('user_pref("marionette.port", 0);\n'
                        'user_pref("intl.accept_languages", "ja");\n'
                        'user_pref("browser.shell.checkDefaultBrowser", false);\n')
        cls.browser = subprocess.Popen(
            [ARGS.firefox, '--headless', '--marionette', '--no-remote', '--profile',
             cls.profile.name, 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env={**os.environ, 'HOME': cls.profile.name, 'MOZ_CRASHREPORTER_DISABLE': '1'})
        active = os.path.join(cls.profile.name, 'MarionetteActivePort')
        marionette_port = int(wait_for(
            lambda: os.path.exists(active) and read_text(active),
            'Firefox to open its remote port'))
        cls.firefox = Marionette(marionette_port)
        cls.firefox('WebDriver:NewSession', {'capabilities': {}})
        cls.snapshots = json.loads(subprocess.run([ARGS.twin, 'snapshots', TIME], check=True,
                                                  capture_output=True).stdout)
        wait_for(lambda: cls.listening(), 'the server')

    @classmethod
    def listening(cls):
        try:
            socket.create_connection(('127.0.0.1', cls.port), timeout=0.2).close()
            return True
        except OSError:
            return False

    @classmethod
    def tearDownClass(cls):
        try:
            cls.firefox('WebDriver:DeleteSession')
            cls.firefox('Marionette:Quit', {'flags': ['eForceQuit']})
        except (RuntimeError, ConnectionError, OSError):
            pass
        cls.firefox.close()
        try:
            cls.browser.wait(timeout=30)
        except subprocess.TimeoutExpired:
            cls.browser.kill()
            cls.browser.wait()
        cls.server.kill()
        cls.server.wait()
        cls.profile.cleanup()

    def load(self, width, height):
        self.firefox('WebDriver:SetWindowRect', {'width': width, 'height': height})
        self.firefox('WebDriver:Navigate', {'url': 'about:blank'})
        self.firefox('WebDriver:Navigate',
                     {'url': f'http://127.0.0.1:{self.port}/index.html#time={TIME}'})
        wait_for(lambda: self.firefox.js('return document.documentElement.dataset.ready'),
                 'the page to start')

    def laid_out(self):
        return self.firefox.js("""
            const page = document.documentElement;
            const box = (id) => document.getElementById(id).getBoundingClientRect();
            const fields = {};
            for (const label of document.querySelectorAll('#Form1 .label'))
                fields[label.id] = label.textContent;
            return {viewport: page.clientWidth, scrolled: page.scrollWidth,
                    frameRight: box('frame').right, panelRight: box('panel').right,
                    panelWidth: box('panel').width, panelTop: box('panel').top,
                    frameBottom: box('frame').bottom,
                    formWidth: document.getElementById('search').scrollWidth,
                    formRoom: document.getElementById('search').clientWidth,
                    fit: document.getElementById('frame').style.zoom, fields};""")

    def test_at_1366_the_page_is_as_wide_as_the_screen_with_the_panel_beside_the_window(self):
        self.load(1366, 768)
        page = self.laid_out()
        self.assertEqual(page['fields'], self.snapshots['startup']['fields'])
        self.assertEqual(page['scrolled'], page['viewport'])
        self.assertEqual(page['fit'], '')
        # As in Chromium: the panel 600 px wide beside the window, its form inside it.
        self.assertEqual(page['panelWidth'], 600)
        self.assertLess(page['panelTop'], page['frameBottom'])
        self.assertLessEqual(page['formWidth'], page['formRoom'])
        self.assertLessEqual(page['panelRight'], page['viewport'])

    def test_narrower_than_the_window_it_is_scaled_to_the_page_and_nothing_scrolls_sideways(self):
        # Asked for 360; headless Firefox keeps its windows some 490 px wide at the least,
        # which is still narrower than the window and its margins.
        self.load(360, 800)
        page = self.laid_out()
        self.assertLess(page['viewport'], 534 + 32, 'the page is not narrower than the window')
        self.assertEqual(page['fields'], self.snapshots['startup']['fields'])
        self.assertEqual(page['scrolled'], page['viewport'])
        self.assertLess(float(page['fit']), 1)
        self.assertLessEqual(page['frameRight'], page['viewport'])
        self.assertLessEqual(page['panelRight'], page['viewport'])
        self.assertGreater(page['panelTop'], page['frameBottom'])

    def test_the_search_runs_in_its_worker_and_answers_as_the_native_build(self):
        # Firefox loads the worker and its WebAssembly under the page's own policy.
        self.load(1366, 768)
        self.firefox.js("""
            for (const [id, value] of [['load0-load', '1.3'], ['load0-length', '20'],
                                       ['load1-load', '2.2'], ['load1-length', '18'],
                                       ['max-od', '10'], ['top', '5']]) {
                document.getElementById(id).value = value;
            }
            document.getElementById('searchButton').click();""")
        rows = wait_for(lambda: self.firefox.js("""
            return [...document.querySelectorAll('#searchResult tbody tr')].map(r =>
                [...r.cells].slice(0, -1).map(c => c.querySelector('.warning')
                    ? [...c.querySelectorAll('.warning')].map(w => w.textContent).join(' ')
                    : c.textContent));"""), 'the search results')
        panel = json.loads(subprocess.run([ARGS.twin, 'panel', TIME], check=True,
                                          capture_output=True).stdout)
        self.assertEqual(rows, [row['cells'] for row in panel['search']['rows']])


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument('--site', required=True)
    parser.add_argument('--twin', required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.firefox = shutil.which('firefox-esr') or shutil.which('firefox')
    if not ARGS.firefox:
        print('web_firefox_test: skipped, Firefox is not installed '
              '(scripts/ensure-deps installs firefox-esr)')
        sys.exit(SKIPPED)
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == '__main__':
    main()
