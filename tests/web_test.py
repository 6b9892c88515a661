#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition in headless Chromium, clicked as a user would.

Every expected text, flag and byte comes from web_native_twin, the native build of the same engine
clicked the same way, so the page is held to the desktop program's own answers.

    web_test.py --site build/default/web/site --twin build/default/tests/web_native_twin
"""

import argparse
import base64
import json
import os
import re
import socket
import subprocess
import sys
import tempfile
import time
import unittest

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

TIME = '202612050905'
ARGS = None


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def twin(*args):
    return subprocess.run([ARGS.twin, *args], check=True, capture_output=True).stdout


class Page(unittest.TestCase):
    maxDiff = None
    """One browser and one server for all the tests; each test loads the page afresh."""

    @classmethod
    def setUpClass(cls):
        cls.port = free_port()
        cls.server = subprocess.Popen(
            [sys.executable, '-m', 'http.server', str(cls.port), '--bind', '127.0.0.1',
             '--directory', ARGS.site],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.downloads = tempfile.TemporaryDirectory()
        cls.driver = cls.start_browser(sandbox=os.geteuid() != 0)
        cls.driver.set_script_timeout(60)
        cls.driver.execute_cdp_cmd('Browser.setDownloadBehavior',
                                   {'behavior': 'allow', 'downloadPath': cls.downloads.name})
        cls.snapshots = json.loads(twin('snapshots', TIME))
        for _ in range(50):  # the server is up
            try:
                socket.create_connection(('127.0.0.1', cls.port), timeout=0.2).close()
                break
            except OSError:
                time.sleep(0.1)

    @classmethod
    def start_browser(cls, sandbox):
        """Chromium's sandbox cannot run as root, nor in containers without user namespaces:
        without it, as a second try."""
        options = webdriver.ChromeOptions()
        for argument in ['--headless=new', '--disable-gpu', '--window-size=1500,1000',
                         '--lang=ja', '--disable-dev-shm-usage']:
            options.add_argument(argument)
        if not sandbox:
            options.add_argument('--no-sandbox')
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        try:
            return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        except WebDriverException:
            if not sandbox:
                raise
            return cls.start_browser(sandbox=False)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.kill()
        cls.server.wait()
        cls.downloads.cleanup()

    def setUp(self):
        # Through a blank page: a change of the fragment alone would not load the page again.
        self.driver.get('about:blank')
        self.driver.get(f'http://127.0.0.1:{self.port}/index.html#time={TIME}')
        for _ in range(100):
            if self.js("return document.documentElement.dataset.ready") == 'true':
                break
            time.sleep(0.05)
        else:
            self.fail('the page did not start: ' + self.js(
                "return document.getElementById('status').textContent"))
        self.driver.get_log('browser')  # what loading said is checked in its own test
        self.js("return navigator.storage.getDirectory().then(d => d.removeEntry('report.txt'))"
                ".catch(() => null)")

    # ---- helpers ----------------------------------------------------------------------------

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def arrow(self, spinner, up=True):
        return self.driver.find_element(By.CSS_SELECTOR,
                                        f'#{spinner} button.{"up" if up else "down"}')

    def click_arrow(self, spinner, up=True):
        ActionChains(self.driver).click(self.arrow(spinner, up)).perform()

    def shown(self):
        """The window as the page shows it, in web_native_twin's form."""
        return self.js("""
            const fields = {};
            for (const label of document.querySelectorAll('#Form1 .label'))
                fields[label.id] = label.textContent;
            const enabled = (name) =>
                document.getElementById(name).getAttribute('aria-disabled') === 'false';
            return {fields, Memo1: document.getElementById('Memo1').value,
                    N1: enabled('N1'), N2: enabled('N2'), N3: enabled('N3')};""")

    def command(self, name):
        """Opens the pop-up menu with a right-click on the window and chooses `name`."""
        ActionChains(self.driver).context_click(self.element('Label2')).perform()
        self.assertTrue(self.element('PopupMenu1').is_displayed())
        self.element(name).click()

    def opfs_picker(self, failing_write=False):
        """A save picker that answers with report.txt of the origin-private file system, as a
        user choosing that file would; with `failing_write`, the write stops halfway."""
        self.js("""
            const failing = arguments[0];
            window.showSaveFilePicker = async () => {
                const dir = await navigator.storage.getDirectory();
                const handle = await dir.getFileHandle('report.txt', {create: true});
                if (!failing) return handle;
                return {name: handle.name, getFile: () => handle.getFile(),
                        createWritable: async (options) => {
                            const writable = await handle.createWritable(options);
                            return {seek: (at) => writable.seek(at),
                                    write: async (bytes) => {
                                        await writable.write(bytes.slice(0, 10));
                                        throw new DOMException('disk full', 'QuotaExceededError');
                                    },
                                    close: () => writable.close(),
                                    abort: () => writable.abort()};
                        }};
            };""", failing_write)

    def gated_picker(self):
        """A save picker like opfs_picker's that counts its picks, and whose write waits until
        the test calls window.finishWrite(): a Save held in the middle of its write."""
        self.js("""
            window.picks = 0;
            window.finishWrite = null;
            window.showSaveFilePicker = async () => {
                window.picks++;
                const dir = await navigator.storage.getDirectory();
                const handle = await dir.getFileHandle('report.txt', {create: true});
                return {name: handle.name, getFile: () => handle.getFile(),
                        createWritable: async (options) => {
                            const writable = await handle.createWritable(options);
                            return {seek: (at) => writable.seek(at),
                                    write: async (bytes) => {
                                        await new Promise((go) => { window.finishWrite = go; });
                                        window.finishWrite = null;
                                        await writable.write(bytes);
                                    },
                                    close: () => writable.close(),
                                    abort: () => writable.abort()};
                        }};
            };""")

    def save_outcome(self):
        """Chooses Save and waits for what it tells: the status line, or the message."""
        self.js("document.getElementById('status').textContent = ''")
        self.command('N2')
        return self.wait_for(
            lambda: (self.element('message').is_displayed() and self.element('messageText').text)
            or self.saved_status(), 'the outcome of the save')

    def opfs_bytes(self):
        text = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            navigator.storage.getDirectory()
                .then(d => d.getFileHandle('report.txt'))
                .then(h => h.getFile()).then(f => f.arrayBuffer())
                .then(b => { let s = ''; for (const x of new Uint8Array(b))
                                 s += String.fromCharCode(x);
                             done(btoa(s)); })
                .catch(e => done(null));""")
        return None if text is None else base64.b64decode(text)

    def write_opfs(self, data):
        self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const bytes = Uint8Array.from(atob(arguments[0]), c => c.charCodeAt(0));
            navigator.storage.getDirectory()
                .then(d => d.getFileHandle('report.txt', {create: true}))
                .then(h => h.createWritable()).then(async w => { await w.write(bytes);
                                                                 await w.close(); })
                .then(() => done(true));""", base64.b64encode(data).decode())

    def wait_for(self, condition, what, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        self.fail('waited in vain for ' + what)

    def saved_status(self):
        return self.js("return document.getElementById('status').textContent")

    # ---- the window -------------------------------------------------------------------------

    def test_start_up_shows_the_desktop_programs_fields_and_loads_only_its_own_files(self):
        self.assertEqual(self.shown(), self.snapshots['startup'])
        self.assertEqual(self.js('return document.documentElement.lang'), 'ja')
        # The design pixels as CSS pixels: 1/100 inch to 1/96 inch.
        self.assertEqual(self.js("""const r = document.getElementById('Label25').style;
                                    return [r.left, r.top, r.width, r.height];"""),
                         ['110px', '93px', '101px', '16px'])
        # Arrows are buttons named as the desktop names them, and the first tab stop has focus.
        self.assertEqual(self.arrow('UpDown3').get_attribute('aria-label'), 'コイル平均径 上')
        self.assertEqual(self.arrow('UpDown9', False).get_attribute('aria-label'),
                         'コイル平均径 10 下')
        self.assertEqual(self.js('return document.activeElement.id'), 'UpDown1')
        # Nothing fetched from elsewhere, nothing refused by the page's policy.
        self.driver.get(self.driver.current_url)
        self.wait_for(lambda: self.js("return document.documentElement.dataset.ready"), 'load')
        origins = self.js("""return performance.getEntriesByType('resource')
                                .map(e => new URL(e.name).origin);""")
        self.assertEqual(set(origins), {f'http://127.0.0.1:{self.port}'})
        problems = [entry for entry in self.driver.get_log('browser')
                    if entry['level'] == 'SEVERE']
        self.assertEqual(problems, [])

    def test_a_held_arrow_repeats_with_the_desktops_delays_and_steps_up_after_half_a_mm(self):
        held = self.snapshots['held']
        # A press shorter than the first delay is one click.
        ActionChains(self.driver).click_and_hold(self.arrow('UpDown3')).pause(0.15) \
            .release().perform()
        self.assertEqual(self.element('Label27').get_attribute('textContent'), held[0])
        self.setUp()
        started = time.monotonic()
        ActionChains(self.driver).click_and_hold(self.arrow('UpDown3')).pause(1.5).perform()
        shown_held = self.element('Label27').get_attribute('textContent')
        elapsed_ms = (time.monotonic() - started) * 1000
        ActionChains(self.driver).release().perform()
        self.assertIn(shown_held, held)
        clicks = held.index(shown_held) + 1
        # One at the press, one after 300 ms, then one every 100 ms: never more than that in
        # the time the arrow was held (measured from outside, so a little long), and not far
        # fewer unless the machine is very busy.
        expected = 2 + int((elapsed_ms - 300) // 100)
        self.assertLessEqual(clicks, expected + 1, (clicks, elapsed_ms))
        self.assertGreaterEqual(clicks, 0.6 * expected, (clicks, elapsed_ms))
        # The release ends the press: the next click steps by the fine step again.
        self.click_arrow('UpDown3')
        self.assertEqual(self.element('Label27').get_attribute('textContent'),
                         self.snapshots['afterRelease'][clicks - 1])

    def test_a_held_arrow_clicks_only_while_the_pointer_is_on_it(self):
        held = self.snapshots['held']
        ActionChains(self.driver).click_and_hold(self.arrow('UpDown3')).move_by_offset(0, -60) \
            .pause(0.8).perform()
        self.assertEqual(self.element('Label27').get_attribute('textContent'), held[0])
        ActionChains(self.driver).move_to_element(self.arrow('UpDown3')).pause(0.45).perform()
        back = self.element('Label27').get_attribute('textContent')
        ActionChains(self.driver).release().perform()
        self.assertIn(back, held[1:], 'the repeats resume on the arrow')

    def test_the_type_switch_and_run_show_what_the_desktop_shows(self):
        self.click_arrow('UpDown8')
        self.assertEqual(self.shown(), self.snapshots['extension'])
        self.assertFalse(self.element('Image1').is_displayed())
        self.assertTrue(self.element('Image2').is_displayed())
        self.assertFalse(self.arrow('UpDown5').is_enabled())
        self.assertFalse(self.arrow('UpDown10', False).is_enabled())
        self.command('N1')
        self.assertEqual(self.shown(), self.snapshots['extensionRun'])
        # Any change greys Save and Print until the next Run.
        self.click_arrow('UpDown4')
        shown = self.shown()
        self.assertFalse(shown['N2'] or shown['N3'])
        self.js("window.picks = 0; window.showSaveFilePicker = async () => { window.picks++; };")
        ActionChains(self.driver).context_click(self.element('Label2')).perform()
        self.element('N2').click()  # greyed: nothing happens, the menu stays
        self.assertEqual(self.js('return window.picks'), 0)
        self.assertTrue(self.element('PopupMenu1').is_displayed())

    def test_run_is_withheld_as_the_checks_decide(self):
        for clicks, expected in enumerate(self.snapshots['wireUp'], start=1):
            self.click_arrow('UpDown2')
            self.assertEqual(self.shown(), expected, f'after {clicks} clicks')
        self.assertFalse(self.snapshots['wireUp'][-1]['N1'], 'the native twin offers Run')
        before = self.shown()
        ActionChains(self.driver).context_click(self.element('Label2')).perform()
        self.element('N1').click()
        self.assertEqual(self.shown(), before)

    def test_the_menu_opens_from_the_keyboard_and_exit_starts_afresh(self):
        self.click_arrow('UpDown8')
        self.click_arrow('UpDown3')
        self.element('UpDown1').send_keys(Keys.ARROW_UP)  # a step from the keyboard
        self.assertNotEqual(self.shown(), self.snapshots['startup'])
        ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(Keys.F10) \
            .key_up(Keys.SHIFT).perform()
        self.assertTrue(self.element('PopupMenu1').is_displayed())
        self.assertEqual([e.text for e in self.driver.find_elements(
            By.CSS_SELECTOR, '#PopupMenu1 [role=menuitem]')], ['計算実行', '保存', '画面印刷', '終了'])
        self.driver.switch_to.active_element.send_keys(Keys.ARROW_UP)
        self.driver.switch_to.active_element.send_keys(Keys.ENTER)  # Exit
        self.assertEqual(self.shown(), self.snapshots['startup'])
        self.assertTrue(self.element('Image1').is_displayed())
        self.assertTrue(self.arrow('UpDown5').is_enabled())

    # ---- Save -------------------------------------------------------------------------------

    def test_save_appends_the_desktop_programs_bytes_for_all_24_samples(self):
        with tempfile.TemporaryDirectory() as scratch:
            path = os.path.join(scratch, 'reports')
            twin('reports', TIME, path)
            with open(path, 'rb') as f:
                expected = f.read()
        # A file with other content first: it is kept, and every block goes after it.
        self.write_opfs(b'kept\r\n')
        self.opfs_picker()
        self.js("""window.picks = 0;
                   const pick = window.showSaveFilePicker;
                   window.showSaveFilePicker = (o) => { window.picks++; return pick(o); };""")
        for kind in range(2):
            if kind == 1:
                self.click_arrow('UpDown8')
            for n in range(1, 13):
                if kind == 1 or n > 1:
                    self.click_arrow('UpDown13')
                self.command('N1')
                self.js("document.getElementById('status').textContent = ''")
                self.command('N2')
                self.wait_for(lambda: self.saved_status().startswith('レポートを追記しました'),
                              f'the save of sample {n} of kind {kind}')
        self.assertEqual(self.opfs_bytes(), b'kept\r\n' + expected)
        self.assertEqual(self.js('return window.picks'), 1, 'the file is asked for once')

    def test_saves_in_quick_succession_each_append_their_block(self):
        self.opfs_picker()
        self.command('N1')
        # Three choices of Save faster than a file can be written: a double click, say.
        ActionChains(self.driver).context_click(self.element('Label2')).perform()
        self.js("for (let i = 0; i < 3; ++i) document.getElementById('N2').click();")
        self.wait_for(lambda: (self.opfs_bytes() or b'').count(b'   \r\n   \r\n') == 3,
                      'three blocks')
        data = self.opfs_bytes()
        self.assertEqual(data, data[:len(data) // 3] * 3)

    def test_a_failed_write_is_told_in_japanese_and_leaves_the_file_as_it_was(self):
        self.write_opfs(b'earlier report\r\n')
        self.opfs_picker(failing_write=True)
        self.command('N2')
        message = self.wait_for(
            lambda: self.element('message').is_displayed() and self.element('messageText').text,
            'the message')
        self.assertIn('保存できませんでした', message)
        self.assertIn('QuotaExceededError', message)
        self.assertEqual(self.opfs_bytes(), b'earlier report\r\n')

    def test_exit_during_a_save_lets_it_finish_and_tells_its_real_outcome(self):
        self.gated_picker()
        self.js("document.getElementById('status').textContent = ''")
        self.command('N2')
        self.wait_for(lambda: self.js('return window.finishWrite !== null'), 'the write')
        self.command('Exit2')
        self.assertEqual(self.shown(), self.snapshots['startup'])
        self.js('window.finishWrite()')
        outcome = self.wait_for(
            lambda: (self.element('message').is_displayed() and self.element('messageText').text)
            or self.saved_status(), 'the outcome of the save')
        self.assertEqual(outcome, 'レポートを追記しました: report.txt')
        one = self.opfs_bytes()
        self.assertEqual(one.count(b'   \r\n   \r\n'), 1)
        # Exit forgot the file: the next Save asks for one again.
        self.command('N2')
        self.wait_for(lambda: self.js('return window.finishWrite !== null'), 'the second write')
        self.assertEqual(self.js('return window.picks'), 2)
        self.js('window.finishWrite()')
        self.wait_for(lambda: self.opfs_bytes() == one + one, 'the second block')

    def test_a_report_file_deleted_since_is_forgotten_and_asked_for_again(self):
        self.opfs_picker()
        self.js("""window.picks = 0;
                   const pick = window.showSaveFilePicker;
                   window.showSaveFilePicker = (o) => { window.picks++; return pick(o); };""")
        self.assertEqual(self.save_outcome(), 'レポートを追記しました: report.txt')
        one = self.opfs_bytes()
        self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            navigator.storage.getDirectory().then(d => d.removeEntry('report.txt'))
                .then(() => done(true));""")
        message = self.save_outcome()
        self.assertIn('選んだファイルが見つかりません', message)
        self.assertIsNone(self.opfs_bytes())
        self.element('messageOk').click()
        self.assertEqual(self.save_outcome(), 'レポートを追記しました: report.txt')
        self.assertEqual(self.js('return window.picks'), 2)
        self.assertEqual(self.opfs_bytes(), one)

    def test_without_the_file_system_access_api_the_blocks_saved_so_far_are_downloaded(self):
        self.js("delete window.showSaveFilePicker; window.showSaveFilePicker = undefined;")
        first = os.path.join(self.downloads.name, 'springcalc-report.txt')
        for name in os.listdir(self.downloads.name):
            os.remove(os.path.join(self.downloads.name, name))
        self.command('N2')
        self.wait_for(lambda: os.path.exists(first), 'the first download')
        self.assertIn('ダウンロード', self.element('messageText').text)
        self.element('messageOk').click()
        with open(first, 'rb') as f:
            one = f.read()
        self.assertTrue(one.endswith(b'   \r\n   \r\n'))
        os.remove(first)
        self.command('N2')
        self.wait_for(lambda: os.path.exists(first), 'the second download')
        time.sleep(0.2)
        with open(first, 'rb') as f:
            self.assertEqual(f.read(), one + one)

    # ---- Start ------------------------------------------------------------------------------

    def test_an_engine_that_does_not_load_is_told_in_plain_japanese(self):
        self.driver.execute_cdp_cmd('Network.enable', {})
        self.driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
        try:
            for missing in ['springcalc.wasm', 'springcalc.js']:
                self.driver.execute_cdp_cmd('Network.setBlockedURLs', {'urls': ['*/' + missing]})
                self.driver.get('about:blank')
                self.driver.get_log('browser')
                self.driver.get(f'http://127.0.0.1:{self.port}/index.html')
                status = self.wait_for(
                    lambda: self.saved_status() != '読み込み中…' and self.saved_status(),
                    'a word on the engine without ' + missing)
                self.assertEqual(status, '計算エンジンを読み込めませんでした。'
                                         'ページを読み込み直してください。', missing)
                self.assertFalse(self.element('frame').is_displayed())
                # What went wrong is for whoever put the site up: in the console.
                logged = ' '.join(entry['message'] for entry in self.driver.get_log('browser'))
                self.assertIn('the engine did not load', logged, missing)
        finally:
            self.driver.execute_cdp_cmd('Network.setBlockedURLs', {'urls': []})
            self.driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': False})
            self.driver.execute_cdp_cmd('Network.disable', {})

    # ---- Print ------------------------------------------------------------------------------

    def test_print_shows_the_window_alone_on_white(self):
        self.command('N1')
        self.driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {'media': 'print'})
        try:
            looks = self.js("""
                const style = (id) => getComputedStyle(document.getElementById(id));
                return [style('panel').display, style('caption').display,
                        style('Form1').backgroundColor, style('Label27').display,
                        style('Label44').backgroundColor];""")
        finally:
            self.driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {'media': ''})
        self.assertEqual(looks, ['none', 'none', 'rgb(255, 255, 255)', 'block',
                                 'rgb(0, 0, 255)'])
        pdf = base64.b64decode(self.driver.execute_cdp_cmd(
            'Page.printToPDF', {'printBackground': True})['data'])
        self.assertTrue(pdf.startswith(b'%PDF-'))
        self.assertEqual(len(re.findall(rb'/Type\s*/Page[^s]', pdf)), 1)

    # ---- The panel --------------------------------------------------------------------------

    def test_the_panel_shows_the_diagram_figures_and_search_of_the_native_build(self):
        panel = json.loads(twin('panel', TIME))
        self.command('N1')
        shown_svg_texts = self.js("""return [...document.querySelectorAll('#diagram svg text')]
                                         .map(t => t.textContent);""")
        expected_svg = re.findall(r'<text[^>]*>([^<]*)</text>', panel['svg'])
        unescape = lambda s: s.replace('&lt;', '<').replace('&gt;', '>').replace(
            '&quot;', '"').replace('&amp;', '&')
        self.assertEqual(shown_svg_texts, [unescape(t) for t in expected_svg])
        self.assertIn('長さ (mm)', shown_svg_texts)
        self.assertEqual(self.js("""return [...document.querySelectorAll('#figures tr')]
                                        .map(r => ({label: r.cells[0].textContent,
                                                    value: r.cells[1].textContent}));"""),
                         panel['figures'])

        # The search, filled in and run as a user would.
        for field, value in [('installedLoad', '1.3'), ('installedLength', '20'),
                             ('operatingLoad', '2.2'), ('operatingLength', '18'),
                             ('maxOuterDia', '10'), ('top', '5')]:
            self.element(field).send_keys(value)
        self.element('searchButton').click()
        rows = self.wait_for(lambda: self.js("""
            return [...document.querySelectorAll('#searchResult tbody tr')]
                .map(r => [...r.cells].slice(0, -1).map(c => c.textContent));"""), 'results')
        self.assertEqual(rows, [row['cells'] for row in panel['search']['rows']])
        # Choosing a result loads it into the window as a sample is loaded: stale results.
        self.driver.find_elements(By.CSS_SELECTOR, '#searchResult button.choose')[1].click()
        shown = self.shown()
        self.assertEqual(shown['fields']['Label27'].strip(), rows[1][2])
        self.assertEqual(shown['fields']['Label28'].strip(), rows[1][3])
        self.assertEqual(shown['fields']['Label25'].strip(), rows[1][0])
        self.assertFalse(shown['N2'])
        # Under repeated load the search holds the designs to the repeated-load allowable
        # stress and the fatigue safety factor: no warning 4 or 11 is left among them.
        self.js("document.getElementById('searchResult').replaceChildren();")
        self.element('repeated').click()
        self.element('searchButton').click()
        repeated = self.wait_for(lambda: self.js("""
            return [...document.querySelectorAll('#searchResult tbody tr')]
                .map(r => [...r.cells].slice(0, -1).map(c => c.textContent));"""), 'results')
        self.assertNotEqual(repeated, rows)
        for row in repeated:
            self.assertFalse({'4', '11'} & set(row[-1].split()), row)

    def test_a_search_with_a_bad_number_is_refused_in_japanese(self):
        self.element('installedLoad').send_keys('1,3')
        self.element('installedLength').send_keys('20')
        self.element('rate').send_keys('0.5')
        self.element('searchButton').click()
        self.assertIn('数値を正しく入力してください', self.element('searchResult').text)
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, '#searchResult tr'), [])

    def test_the_page_keeps_working_offline_once_loaded(self):
        self.driver.execute_cdp_cmd('Network.enable', {})
        self.driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
            'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
        try:
            self.click_arrow('UpDown8')
            self.command('N1')
            self.assertEqual(self.shown(), self.snapshots['extensionRun'])
            self.assertTrue(self.js("return document.querySelector('#diagram svg') !== null"))
        finally:
            self.driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
                'offline': False, 'latency': 0, 'downloadThroughput': -1,
                'uploadThroughput': -1})


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument('--site', required=True)
    parser.add_argument('--twin', required=True)
    ARGS, rest = parser.parse_known_args()
    try:
        unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
    except WebDriverException as error:
        print('web_test: the browser could not be driven:', error, file=sys.stderr)
        sys.exit(1)


if __name__ == '__main__':
    main()
