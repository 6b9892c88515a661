#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition's figures in headless Chromium, each against its budget.

    web_bench.py SITE [--table] [--heading]

- everything the page loads: the bytes of the page, its style, its scripts and its WebAssembly
  as the server sends them (no compression), at most 1 MB;
- the window drawn: from the start of the navigation to the end of the first frame that shows
  the built window (the page's "springcalc-window-drawn" mark), median of 7 fresh loads, within
  1 s;
- a click repainted: from a fine arrow's pointerdown to its labels changed and laid out again
  (the engine's work and the page's, everything the next frame waits for), median of 101
  clicks, within one 60 Hz frame, 16 ms. That the change is in the very next frame is checked
  at each click.
Exits 1 when a figure is over its budget, 2 when it could not be measured.
"""

import socket
import statistics
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def main():
    site = sys.argv[1]
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        port = s.getsockname()[1]
    server = subprocess.Popen([sys.executable, '-m', 'http.server', str(port), '--bind',
                               '127.0.0.1', '--directory', site],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    options = webdriver.ChromeOptions()
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu',
                     '--window-size=1500,1000', '--disable-dev-shm-usage']:
        options.add_argument(argument)
    driver = None
    try:
        for _ in range(50):
            try:
                socket.create_connection(('127.0.0.1', port), timeout=0.2).close()
                break
            except OSError:
                time.sleep(0.1)
        driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        driver.execute_cdp_cmd('Network.enable', {})
        driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
        url = f'http://127.0.0.1:{port}/index.html'
        drawn = []
        loaded = 0
        for _ in range(7):
            driver.get('about:blank')
            driver.get(url)
            mark = None
            for _ in range(200):
                mark = driver.execute_script("""
                    const m = performance.getEntriesByName('springcalc-window-drawn');
                    return m.length ? m[0].startTime : null;""")
                if mark is not None:
                    break
                time.sleep(0.02)
            if mark is None:
                print('web_bench: the window was never drawn', file=sys.stderr)
                return 2
            drawn.append(mark)
            loaded = driver.execute_script("""
                const all = [...performance.getEntriesByType('navigation'),
                             ...performance.getEntriesByType('resource')];
                return all.reduce((sum, e) => sum + e.encodedBodySize, 0);""")
        clicks = driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const button = document.querySelector('#UpDown3 button.up');
            const label = document.getElementById('Label27');
            const times = [];
            let missed = 0;
            const one = (left) => {
                if (left === 0) { done({times, missed}); return; }
                const before = label.textContent;
                const start = performance.now();
                const options = {bubbles: true, button: 0, pointerId: 1, isPrimary: true};
                button.dispatchEvent(new PointerEvent('pointerdown', options));
                void label.offsetHeight;  // the new text laid out
                times.push(performance.now() - start);
                button.dispatchEvent(new PointerEvent('pointerup', options));
                requestAnimationFrame(() => {
                    if (label.textContent === before) missed++;
                    setTimeout(() => one(left - 1), 0);
                });
            };
            one(101);""")
        rows = [
            ('everything the page loads', loaded / 1e6, 'MB', 1.0),
            ('window drawn, from navigation (median of 7)', statistics.median(drawn) / 1000,
             's', 1.0),
            ('a click repainted, fine arrow (median of 101)',
             statistics.median(clicks['times']), 'ms', 16.0),
        ]
    finally:
        if driver:
            driver.quit()
        server.kill()
        server.wait()
    if '--heading' in sys.argv:
        print(f"{'what':<52} {'figure':>10}   {'budget':<10} verdict")
        print('-' * 82)
    worst = 0
    for what, figure, unit, budget in rows:
        verdict = 'ok' if figure <= budget else 'OVER'
        worst = max(worst, 0 if verdict == 'ok' else 1)
        print(f'{what:<52} {figure:>7.3f} {unit:<3}  <= {budget:g} {unit:<4} {verdict}')
    if clicks['missed']:
        print(f"web_bench: {clicks['missed']} clicks were not in the next frame", file=sys.stderr)
        worst = max(worst, 1)
    return worst


if __name__ == '__main__':
    sys.exit(main())
