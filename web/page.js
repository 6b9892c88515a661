// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the engine: builds the window's controls from the layout table the engine
// hands over, forwards every click and command to it, and carries out what the engine's view
// asks (texts, colours, enabled commands, drawings, warning lines). No rule, number or text of
// the calculator lives here; the page's own words come from the engine too (web/page_texts.h).
'use strict';

(function () {
    let engine = null;   // the WebAssembly module
    let layout = null;   // the window's layout table
    let texts = null;    // the page's words
    const elements = new Map();  // control name -> element
    const commandEnabled = {N1: true, N2: true, N3: true, Exit2: true};
    // The report's file, kept in the page's storage: a reload or Exit appends to it again.
    let reportFile = null;
    // Only a file opened for what it is can be appended to: the save picker hands an existing
    // file back emptied. Without both pickers a Save is a download.
    const canAppend = typeof window.showOpenFilePicker === 'function' &&
                      typeof window.showSaveFilePicker === 'function';
    let savedBlocks = [];      // every block saved, for browsers that cannot append to a file
    let blocksKept = true;     // whether savedBlocks are in the page's storage too
    let held = null;           // the arrow held down: {name, up, button, inside, timer}
    // Saves run one after another, each on the file as the one before left it.
    let saving = Promise.resolve();

    // ---- The engine's view ------------------------------------------------------------------

    const view = {
        setText(name, text) {
            const element = elements.get(name);
            element.textContent = text;
        },
        setStyle(name, property, value) {
            elements.get(name).style.setProperty(property, value);
        },
        setEnabled(name, enabled) {
            if (name in commandEnabled) {
                commandEnabled[name] = enabled;
                showCommandState(name);
                return;
            }
            for (const button of elements.get(name).querySelectorAll('button')) {
                button.disabled = !enabled;
            }
            if (!enabled && held && held.name === name) {
                release();
            }
        },
        setVisible(name, visible) {
            elements.get(name).hidden = !visible;
        },
        clearWarnings() {
            elements.get('Memo1').value = '';
        },
        appendWarning(line) {
            const memo = elements.get('Memo1');
            memo.value = memo.value === '' ? line : memo.value + '\n' + line;
        },
    };

    // ---- The window -------------------------------------------------------------------------

    function place(element, box) {
        element.style.left = box.x + 'px';
        element.style.top = box.y + 'px';
        element.style.width = box.width + 'px';
        element.style.height = box.height + 'px';
    }

    function fontFamily() {
        return layout.fonts.map((family) => '"' + family + '"').join(', ') + ', sans-serif';
    }

    // The drawing at the screen's device pixels: sharp at every zoom, as on the desktop.
    function paintDrawing(holder, index) {
        const ratio = window.devicePixelRatio || 1;
        const drawn = engine.drawingPixels(index, layout.drawingScale * ratio);
        const canvas = document.createElement('canvas');
        canvas.width = drawn.width;
        canvas.height = drawn.height;
        canvas.style.width = drawn.width / ratio + 'px';
        canvas.style.height = drawn.height / ratio + 'px';
        const image = new ImageData(new Uint8ClampedArray(drawn.rgba), drawn.width, drawn.height);
        canvas.getContext('2d').putImageData(image, 0, 0);
        holder.replaceChildren(canvas);
    }

    // The page's zoom changes the device pixels of a CSS pixel: the drawings are drawn again.
    function watchPixelRatio() {
        const query = window.matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
        query.addEventListener('change', () => {
            layout.images.forEach((spec, index) => paintDrawing(elements.get(spec.name), index));
            watchPixelRatio();
        }, {once: true});
    }

    function buildSpinner(form, spec) {
        const group = document.createElement('div');
        group.className = 'spinner';
        group.id = spec.name;
        group.setAttribute('role', 'group');
        group.setAttribute('aria-label', spec.spoken);
        place(group, spec);
        if (spec.tabStop) {
            group.tabIndex = 0;
        }
        for (const up of [true, false]) {
            const button = document.createElement('button');
            button.type = 'button';
            button.className = up ? 'up' : 'down';
            button.tabIndex = -1;
            button.setAttribute('aria-label', spec.spoken + (up ? ' 上' : ' 下'));
            button.addEventListener('pointerdown', (event) => {
                if (event.button !== 0 || button.disabled) {
                    return;
                }
                event.preventDefault();
                button.setPointerCapture(event.pointerId);
                press(spec.name, up, button);
            });
            button.addEventListener('pointermove', track);
            button.addEventListener('pointerup', (event) => {
                if (event.button === 0) {
                    release();
                }
            });
            button.addEventListener('pointercancel', release);
            // A screen reader's or the keyboard's activation: one click, and the release.
            button.addEventListener('click', (event) => {
                if (event.detail === 0 && !button.disabled) {
                    click(spec.name, up);
                    engine.mouseUp(spec.name);
                }
            });
            group.append(button);
        }
        group.addEventListener('keydown', (event) => {
            const up = event.key === 'ArrowUp' || event.key === 'ArrowRight';
            const down = event.key === 'ArrowDown' || event.key === 'ArrowLeft';
            if ((up || down) && !group.querySelector('button').disabled) {
                event.preventDefault();
                click(spec.name, up);
            }
        });
        group.addEventListener('keyup', (event) => {
            if (['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight'].includes(event.key)) {
                engine.mouseUp(spec.name);
            }
        });
        form.append(group);
        elements.set(spec.name, group);
    }

    // The window as the layout table describes it, every control at its design-time text and
    // colours: at load, and again at Exit.
    function buildWindow() {
        const form = document.getElementById('Form1');
        form.replaceChildren();
        elements.clear();
        form.style.width = layout.window.width + 'px';
        form.style.height = layout.window.height + 'px';
        form.style.backgroundColor = layout.window.background;
        form.style.fontFamily = fontFamily();
        form.style.fontSize = layout.fontPixels + 'px';
        form.setAttribute('aria-label', layout.caption);
        document.getElementById('caption').textContent = layout.caption;
        document.title = layout.caption;
        // The drawings first, so the captions drawn over them stay on top.
        layout.images.forEach((spec, index) => {
            const holder = document.createElement('div');
            holder.className = 'image';
            holder.id = spec.name;
            holder.setAttribute('role', 'img');
            holder.setAttribute('aria-label', spec.spoken);
            holder.setAttribute('aria-description', spec.description);
            place(holder, spec);
            holder.hidden = !spec.visible;
            paintDrawing(holder, index);
            form.append(holder);
            elements.set(spec.name, holder);
        });
        for (const spec of layout.labels) {
            const label = document.createElement('div');
            label.className = 'label ' + spec.style;
            label.id = spec.name;
            place(label, spec);
            label.style.fontSize = spec.fontPixels + 'px';
            label.style.backgroundColor = spec.background;
            label.style.color = spec.color;
            label.textContent = spec.text;
            form.append(label);
            elements.set(spec.name, label);
        }
        for (const spec of layout.spinners) {
            buildSpinner(form, spec);
        }
        const memo = document.createElement('textarea');
        memo.id = layout.memo.name;
        memo.readOnly = true;
        memo.setAttribute('aria-label', elements.get('Label47').textContent);
        place(memo, layout.memo);
        memo.style.fontFamily = fontFamily();
        memo.style.fontSize = layout.fontPixels + 'px';
        form.append(memo);
        elements.set(memo.id, memo);
        buildMenu();
    }

    // ---- Spinners ---------------------------------------------------------------------------

    function click(name, up) {
        engine.click(name, up);
    }

    // A held arrow clicks at the press, after the first delay and then at every interval, as
    // the desktop's up-down control does; while the pointer is off the arrow the repeats skip
    // their click, and resume when it comes back.
    function press(name, up, button) {
        release();
        held = {name, up, button, inside: true, timer: 0};
        click(name, up);
        const repeat = () => {
            if (!held) {
                return;
            }
            if (held.inside) {
                click(name, up);
            }
            held.timer = setTimeout(repeat, layout.repeatInterval);
        };
        held.timer = setTimeout(repeat, layout.repeatDelay);
    }

    function track(event) {
        if (held && held.button === event.currentTarget) {
            const box = held.button.getBoundingClientRect();
            held.inside = event.clientX >= box.left && event.clientX < box.right &&
                          event.clientY >= box.top && event.clientY < box.bottom;
        }
    }

    function release() {
        if (!held) {
            return;
        }
        clearTimeout(held.timer);
        const name = held.name;
        held = null;
        engine.mouseUp(name);
    }

    // ---- The pop-up menu --------------------------------------------------------------------

    function buildMenu() {
        const menu = document.getElementById('PopupMenu1');
        menu.replaceChildren();
        for (const entry of layout.menu) {
            const item = document.createElement('button');
            item.type = 'button';
            item.id = entry.name;
            item.setAttribute('role', 'menuitem');
            item.textContent = entry.caption;
            item.setAttribute('aria-disabled', String(!commandEnabled[entry.name]));
            item.addEventListener('click', () => {
                if (commandEnabled[entry.name]) {
                    closeMenu();
                    command(entry.name);
                }
            });
            menu.append(item);
            elements.set(entry.name, item);
        }
    }

    // The menu's entry and the command bar's button say the same.
    function showCommandState(name) {
        const item = elements.get(name);
        if (item) {
            item.setAttribute('aria-disabled', String(!commandEnabled[name]));
        }
        const button = document.getElementById('bar' + name);
        if (button) {
            button.disabled = !commandEnabled[name];
        }
    }

    // The pop-up menu's commands on the screen, for a newcomer and a touch screen; the keys
    // each tooltip names run them from anywhere in the page.
    function buildCommandBar() {
        const bar = document.getElementById('commands');
        bar.setAttribute('aria-label', texts.commands);
        for (const entry of layout.menu) {
            const button = document.createElement('button');
            button.type = 'button';
            button.id = 'bar' + entry.name;
            button.textContent = entry.caption;
            button.title = entry.caption + ' (' + texts['key' + entry.name] + ')';
            button.addEventListener('click', () => {
                if (commandEnabled[entry.name]) {
                    release();
                    closeMenu();
                    command(entry.name);
                }
            });
            bar.append(button);
        }
        bar.hidden = false;
    }

    const shortcuts = {Enter: 'N1', s: 'N2', p: 'N3'};

    function shortcutKeys(event) {
        const name = shortcuts[event.key.length === 1 ? event.key.toLowerCase() : event.key];
        if (!name || !(event.ctrlKey || event.metaKey) || event.shiftKey || event.altKey) {
            return;
        }
        // Also when greyed: the browser's own Save page or Print is not what was meant.
        event.preventDefault();
        const asking = !document.getElementById('message').hidden ||
                       !document.getElementById('reportChoice').hidden;
        if (commandEnabled[name] && !asking && !event.repeat) {
            release();
            closeMenu();
            command(name);
        }
    }

    function openMenu(x, y) {
        const menu = document.getElementById('PopupMenu1');
        menu.hidden = false;
        const width = menu.offsetWidth;
        const height = menu.offsetHeight;
        menu.style.left = Math.max(0, Math.min(x, window.innerWidth - width)) + 'px';
        menu.style.top = Math.max(0, Math.min(y, window.innerHeight - height)) + 'px';
        menu.querySelector('[role="menuitem"]').focus();
    }

    function closeMenu() {
        document.getElementById('PopupMenu1').hidden = true;
    }

    function menuKeys(event) {
        const items = [...document.querySelectorAll('#PopupMenu1 [role="menuitem"]')];
        const at = items.indexOf(document.activeElement);
        if (event.key === 'Escape') {
            closeMenu();
        } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
            const step = event.key === 'ArrowDown' ? 1 : items.length - 1;
            items[(at + step) % items.length].focus();
        } else {
            return;
        }
        event.preventDefault();
    }

    // ---- Commands ---------------------------------------------------------------------------

    function command(name) {
        if (name === 'N1') {
            engine.run();
            showPanel();
        } else if (name === 'N2') {
            const block = engine.reportBytes().slice();  // the record as it is now
            queueSave(() => save(block));
        } else if (name === 'N3') {
            window.print();
        } else if (name === 'Exit2') {
            startAfresh();
        }
    }

    // Exit: a page cannot end its process, so the calculator starts again as the program does.
    // The report stays: the program's next run would append to the same file too.
    function startAfresh() {
        release();
        closeMenu();
        for (const name of Object.keys(commandEnabled)) {
            commandEnabled[name] = true;
            showCommandState(name);
        }
        buildWindow();
        engine.start();
        clearTensionField();
        clearPanel();
    }

    function showMessage(text) {
        const box = document.getElementById('message');
        document.getElementById('messageText').textContent = text;
        box.hidden = false;
        document.getElementById('messageOk').focus();
    }

    function reason(error) {
        return error && error.name ? error.name + (error.message ? ': ' + error.message : '')
                                   : String(error);
    }

    function joinBlocks(blocks) {
        const total = blocks.reduce((sum, block) => sum + block.length, 0);
        const all = new Uint8Array(total);
        let at = 0;
        for (const block of blocks) {
            all.set(block, at);
            at += block.length;
        }
        return all;
    }

    // Saves run one after another, each on the file as the one before left it; one that fails
    // unforeseen is told and does not stop the next.
    function queueSave(task) {
        saving = saving.then(task).catch((error) => saveFailed(texts.saveFailed + reason(error)));
    }

    // A failure is told where the commands are and in a message, as the program tells it.
    function saveFailed(text) {
        setStatus(text);
        showMessage(text);
    }

    // Save: the block appended to the report file through the File System Access API; a
    // failed write is abandoned, which leaves the file as it was. Browsers without it get
    // every block saved so far as one download.
    async function save(block) {
        if (block.length === 0) {
            saveFailed(texts.encodeFailed);
            return;
        }
        if (!canAppend) {
            await saveForDownload(block);
            return;
        }
        // The file this Save writes, held for all its steps: choosing another report file does
        // not take it from a Save already writing.
        let file = reportFile;
        if (!file) {
            try {
                file = await pickReportFile();
            } catch (error) {
                saveFailed(texts.saveFailed + reason(error));
                return;
            }
            if (!file) {
                setStatus(texts.saveCancelled);
                return;
            }
            reportFile = file;
            showReport();
            await keepReportFile(file);
        }
        let writable = null;
        try {
            const leave = await mayWrite(file);
            if (leave !== 'granted') {
                saveFailed((leave === 'notAsked' ? texts.permissionNotAsked
                                                 : texts.permissionRefused) + file.name);
                return;
            }
            const size = (await file.getFile()).size;
            writable = await file.createWritable({keepExistingData: true});
            await writable.seek(size);
            await writable.write(block);
            await writable.close();
            setStatus(texts.saved + file.name);
        } catch (error) {
            if (writable) {
                try {
                    await writable.abort();
                } catch (ignored) {
                    // the write is already given up
                }
            }
            if (error && error.name === 'NotFoundError') {
                // Moved or deleted since it was chosen: the handle will never work again.
                if (reportFile === file) {
                    forgetReportFile();
                }
                saveFailed(texts.fileGone);
                return;
            }
            saveFailed(texts.saveFailed + reason(error));
        }
    }

    function pickerTypes() {
        return layout.saveFilters
            .filter((filter) => filter.pattern !== '*.*')
            .map((filter) => ({
                description: filter.description,
                accept: {'text/plain': [filter.pattern.slice(1)]},
            }));
    }

    // The user says whether the report exists already; an existing one is opened, never
    // picked with the save picker, which empties the file it hands back. Null when cancelled.
    async function pickReportFile() {
        const way = await askReportChoice();
        try {
            if (way === 'append') {
                const [file] = await window.showOpenFilePicker({types: pickerTypes()});
                return file;
            }
            if (way === 'create') {
                return await window.showSaveFilePicker({suggestedName: texts.reportFileName,
                                                        types: pickerTypes()});
            }
            return null;
        } catch (error) {
            if (error && error.name === 'AbortError') {
                return null;  // the picker was closed: nothing is written
            }
            throw error;
        }
    }

    function askReportChoice() {
        const box = document.getElementById('reportChoice');
        box.hidden = false;
        document.getElementById('appendExisting').focus();
        return new Promise((resolve) => {
            const answer = (way) => {
                box.hidden = true;
                box.removeEventListener('click', clicked);
                box.removeEventListener('keydown', escaped);
                resolve(way);
            };
            const clicked = (event) => {
                const ways = {appendExisting: 'append', createReport: 'create', choiceCancel: null};
                if (event.target.id in ways) {
                    answer(ways[event.target.id]);
                }
            };
            const escaped = (event) => {
                if (event.key === 'Escape') {
                    answer(null);
                }
            };
            box.addEventListener('click', clicked);
            box.addEventListener('keydown', escaped);
        });
    }

    // A file chosen in an earlier visit, or opened rather than created, comes without leave
    // to write: the browser asks the user, once per visit. It asks only right after a click;
    // a picker may have used that click up, and the next Save's click asks then.
    async function mayWrite(file) {
        if (typeof file.queryPermission !== 'function') {
            return 'granted';
        }
        const mode = {mode: 'readwrite'};
        if ((await file.queryPermission(mode)) === 'granted') {
            return 'granted';
        }
        try {
            return await file.requestPermission(mode);
        } catch (error) {
            if (error && error.name === 'SecurityError') {
                return 'notAsked';
            }
            throw error;
        }
    }

    async function saveForDownload(block) {
        savedBlocks.push(block);
        try {
            await storeBlock(block);
        } catch (error) {
            blocksKept = false;
        }
        download(joinBlocks(savedBlocks));
        setStatus(texts.downloaded + savedBlocks.length + texts.downloadUnit +
                  (blocksKept ? '' : texts.notKept));
        showReport();
    }

    // "Start a new report": the next Save asks for a file again, or downloads only what is
    // saved from now on.
    async function startNewReport() {
        if (canAppend) {
            await forgetReportFile();
            setStatus(texts.targetForgotten);
            return;
        }
        savedBlocks = [];
        blocksKept = true;
        try {
            await clearStore('blocks');
        } catch (error) {
            blocksKept = false;
        }
        setStatus(texts.newReportStarted);
        showReport();
    }

    // Beside the commands: the file the next Save appends to, or how this browser saves.
    function showReport() {
        const line = document.getElementById('report');
        const text = document.getElementById('reportText');
        if (canAppend) {
            text.textContent = reportFile ? texts.reportTarget + reportFile.name : texts.reportNone;
            document.getElementById('reportReset').textContent = texts.chooseAgain;
            document.getElementById('reportReset').hidden = !reportFile;
        } else {
            text.textContent = texts.downloadNote + ' ' + texts.downloadCount +
                               savedBlocks.length + texts.downloadUnit;
            document.getElementById('reportReset').textContent = texts.startNewReport;
            document.getElementById('reportReset').hidden = savedBlocks.length === 0;
        }
        line.hidden = false;
    }

    function forgetReportFile() {
        reportFile = null;
        showReport();
        return deleteStored('reportFile').catch(() => null);
    }

    function keepReportFile(file) {
        // Kept for this visit whatever happens; a storage that refuses it only costs the next
        // visit a question.
        return putStored('reportFile', file).catch(() => null);
    }

    // ---- The page's storage -----------------------------------------------------------------

    // One database: "kept" holds the report file's handle, "blocks" the blocks saved by a
    // browser that downloads them. A browser that refuses storage (some private windows) leaves
    // the page working for as long as it is open.
    let database = null;

    function openDatabase() {
        if (!database) {
            database = new Promise((resolve, reject) => {
                const request = indexedDB.open('springcalc', 1);
                request.onupgradeneeded = () => {
                    request.result.createObjectStore('kept');
                    request.result.createObjectStore('blocks', {autoIncrement: true});
                };
                request.onsuccess = () => resolve(request.result);
                request.onerror = () => reject(request.error);
            });
        }
        return database;
    }

    async function inStore(name, mode, act) {
        const db = await openDatabase();
        return new Promise((resolve, reject) => {
            const transaction = db.transaction(name, mode);
            const request = act(transaction.objectStore(name));
            transaction.oncomplete = () => resolve(request.result);
            transaction.onerror = () => reject(transaction.error);
            transaction.onabort = () => reject(transaction.error);
        });
    }

    const putStored = (key, value) => inStore('kept', 'readwrite', (s) => s.put(value, key));
    const getStored = (key) => inStore('kept', 'readonly', (s) => s.get(key));
    const deleteStored = (key) => inStore('kept', 'readwrite', (s) => s.delete(key));
    const storeBlock = (block) => inStore('blocks', 'readwrite', (s) => s.add(block));
    const clearStore = (name) => inStore(name, 'readwrite', (s) => s.clear());

    async function restoreReport() {
        try {
            if (canAppend) {
                reportFile = (await getStored('reportFile')) || null;
            } else {
                savedBlocks = await inStore('blocks', 'readonly', (s) => s.getAll());
            }
        } catch (error) {
            blocksKept = false;
        }
        showReport();
    }

    function download(bytes) {
        const url = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
        const link = document.createElement('a');
        link.href = url;
        link.download = texts.reportFileName;
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(url), 60000);
    }

    function setStatus(text) {
        document.getElementById('status').textContent = text;
    }

    // ---- The panel --------------------------------------------------------------------------

    function clearPanel() {
        const note = document.createElement('p');
        note.textContent = texts.diagramNone;
        document.getElementById('diagram').replaceChildren(note);
        document.getElementById('figures').replaceChildren();
        document.getElementById('givenTensionBox').hidden = true;
    }

    // An extension spring's initial tension for the panel's figures and diagram alone: the
    // window keeps the formula's, as the desktop does.
    function buildTensionField() {
        const box = document.createElement('p');
        box.id = 'givenTensionBox';
        box.hidden = true;
        const label = document.createElement('label');
        label.textContent = texts.givenTension;
        label.htmlFor = 'givenTension';
        const field = input('givenTension');
        field.title = texts.givenTensionNote;
        const problem = document.createElement('span');
        problem.id = 'givenTensionProblem';
        problem.setAttribute('role', 'status');
        field.setAttribute('aria-describedby', problem.id);
        field.addEventListener('change', () => {
            problem.textContent = engine.setInitialTension(field.value);
            field.setAttribute('aria-invalid', String(problem.textContent !== ''));
            showPanel();
        });
        box.append(label, ' ', field, ' ', problem);
        document.getElementById('figures').before(box);
    }

    function clearTensionField() {
        document.getElementById('givenTension').value = '';
        document.getElementById('givenTensionProblem').textContent = '';
        engine.setInitialTension('');
    }

    function showPanel() {
        const svgText = engine.diagramSvg();
        const holder = document.getElementById('diagram');
        if (svgText === '') {
            clearPanel();
            return;
        }
        const parsed = new DOMParser().parseFromString(svgText, 'image/svg+xml');
        const svg = document.importNode(parsed.documentElement, true);
        svg.setAttribute('role', 'img');
        svg.setAttribute('aria-label', texts.diagramHeading);
        holder.replaceChildren(svg);
        document.getElementById('givenTensionBox').hidden = !engine.tensionOffered();
        const table = document.getElementById('figures');
        table.replaceChildren();
        for (const row of JSON.parse(engine.figures())) {
            const tr = table.insertRow();
            tr.insertCell().textContent = row.label;
            tr.insertCell().textContent = row.value;
        }
    }

    function field(form, key, content) {
        const label = document.createElement('label');
        label.textContent = texts[key];
        label.htmlFor = content.id || '';
        form.append(label, content);
    }

    function input(id) {
        const element = document.createElement('input');
        element.type = 'text';
        element.id = id;
        element.name = id;
        element.inputMode = 'decimal';
        return element;
    }

    function pair(first, second, key) {
        const box = document.createElement('span');
        box.className = 'pair';
        box.id = key + 'Pair';
        const a = input(first);
        const b = input(second);
        a.setAttribute('aria-label', texts[key] + ' 1');
        b.setAttribute('aria-label', texts[key] + ' 2');
        box.append(a, ' ／ ', b);
        return box;
    }

    function buildSearch() {
        const choices = JSON.parse(engine.searchChoicesJson());
        const form = document.getElementById('search');
        form.replaceChildren();
        const kind = document.createElement('select');
        kind.id = 'kind';
        for (const [value, key] of [[0, 'compression'], [1, 'extension']]) {
            kind.add(new Option(texts[key], String(value)));
        }
        field(form, 'kind', kind);
        field(form, 'installedPoint', pair('installedLoad', 'installedLength', 'installedPoint'));
        field(form, 'operatingPoint', pair('operatingLoad', 'operatingLength', 'operatingPoint'));
        for (const key of ['rate', 'maxOuterDia', 'minInnerDia', 'maxFreeLen', 'maxSlenderness',
                           'minFrequency', 'maxSpringIndex', 'minTurns', 'minFatigue',
                           'hookRadius', 'tolerance', 'top']) {
            field(form, key, input(key));
        }
        for (const key of ['allowBuckling', 'repeated', 'peened', 'every']) {
            const box = document.createElement('input');
            box.type = 'checkbox';
            box.id = key;
            field(form, key, box);
        }
        const ends = document.createElement('select');
        ends.id = 'ends';
        for (const {name, label} of choices.ends) {
            ends.add(new Option(label, name, false, name === choices.defaultEnds));
        }
        field(form, 'ends', ends);
        const materials = document.createElement('span');
        materials.className = 'materials';
        materials.id = 'materials';
        for (const name of choices.materials) {
            const label = document.createElement('label');
            const box = document.createElement('input');
            box.type = 'checkbox';
            box.value = name.trim();
            box.checked = true;
            label.append(box, name.trim());
            materials.append(label);
        }
        field(form, 'materials', materials);
        const order = document.createElement('select');
        order.id = 'order';
        order.add(new Option(texts.byMass, 'mass'));
        order.add(new Option(texts.byStress, 'stress'));
        field(form, 'order', order);
        const button = document.createElement('button');
        button.type = 'submit';
        button.id = 'searchButton';
        button.textContent = texts.searchButton;
        form.append(document.createElement('span'), button);
        form.addEventListener('submit', (event) => {
            event.preventDefault();
            runSearch();
        });
    }

    function runSearch() {
        const value = (id) => document.getElementById(id).value.trim();
        const request = {
            kind: Number(value('kind')),
            allowBuckling: document.getElementById('allowBuckling').checked,
            repeated: document.getElementById('repeated').checked,
            peened: document.getElementById('peened').checked,
            every: document.getElementById('every').checked,
            ends: value('ends'),
            materials: [...document.querySelectorAll('#materials input:checked')]
                .map((box) => box.value).join(','),
            byMass: value('order') === 'mass',
        };
        for (const id of ['installedLoad', 'installedLength', 'operatingLoad', 'operatingLength',
                          'rate', 'maxOuterDia', 'minInnerDia', 'maxFreeLen', 'maxSlenderness',
                          'minFrequency', 'maxSpringIndex', 'minTurns', 'minFatigue',
                          'hookRadius', 'tolerance', 'top']) {
            request[id] = value(id);
        }
        if (request.materials === '') {
            showResult(texts.noMaterial);
            return;
        }
        const result = JSON.parse(engine.search(request));
        if (result.error) {
            showResult(texts[result.error] + (result.detail ? texts[result.detail] : ''));
            return;
        }
        const heading = document.createElement('p');
        heading.textContent = result.met > 0 ? texts.searchCount + result.met : texts.searchNone;
        const table = document.createElement('table');
        const head = table.createTHead().insertRow();
        for (const name of texts.columns.split('|')) {
            const th = document.createElement('th');
            th.textContent = name;
            head.append(th);
        }
        head.append(document.createElement('th'));
        const body = table.createTBody();
        result.rows.forEach((row, index) => {
            const tr = body.insertRow();
            for (const cell of row.cells) {
                tr.insertCell().textContent = cell;
            }
            const choose = document.createElement('button');
            choose.type = 'button';
            choose.className = 'choose';
            choose.textContent = texts.choose;
            choose.addEventListener('click', () => {
                release();
                engine.choose(index);
                for (const chosen of body.querySelectorAll('tr.chosen')) {
                    chosen.classList.remove('chosen');
                }
                tr.classList.add('chosen');
            });
            tr.insertCell().append(choose);
        });
        document.getElementById('searchResult').replaceChildren(heading, table);
    }

    function showResult(text) {
        const p = document.createElement('p');
        p.textContent = text;
        document.getElementById('searchResult').replaceChildren(p);
    }

    // ---- Start ------------------------------------------------------------------------------

    const longPress = 500;  // ms, as Android's long-press timeout

    function wire() {
        const form = document.getElementById('Form1');
        // Below the focused control, for the menu opened from the keyboard.
        const underFocus = () => {
            const box = (form.contains(document.activeElement) ? document.activeElement : form)
                .getBoundingClientRect();
            return [box.left, box.bottom];
        };
        form.addEventListener('contextmenu', (event) => {
            event.preventDefault();
            release();
            const fromKeyboard = event.clientX === 0 && event.clientY === 0;
            const [x, y] = fromKeyboard ? underFocus() : [event.clientX, event.clientY];
            openMenu(x, y);
        });
        // A long press of a finger opens the menu as a right-click does, where the browser does
        // not turn it into a contextmenu event itself. On an arrow it repeats the click instead.
        let touch = null;  // {id, x, y, timer}
        const endTouch = () => {
            if (touch) {
                clearTimeout(touch.timer);
                touch = null;
            }
        };
        form.addEventListener('pointerdown', (event) => {
            endTouch();
            if (event.pointerType !== 'touch' || event.target.closest('button')) {
                return;
            }
            const {clientX: x, clientY: y} = event;
            touch = {id: event.pointerId, x, y, timer: setTimeout(() => {
                touch = null;
                openMenu(x, y);
            }, longPress)};
        });
        form.addEventListener('pointermove', (event) => {
            if (touch && touch.id === event.pointerId &&
                Math.hypot(event.clientX - touch.x, event.clientY - touch.y) > 10) {
                endTouch();
            }
        });
        for (const type of ['pointerup', 'pointercancel', 'contextmenu']) {
            form.addEventListener(type, endTouch);
        }
        document.addEventListener('keydown', shortcutKeys);
        // The menu key and Shift+F10, where the browser does not turn them into a contextmenu
        // event itself.
        form.addEventListener('keydown', (event) => {
            if (event.key === 'ContextMenu' || (event.shiftKey && event.key === 'F10')) {
                event.preventDefault();
                release();
                openMenu(...underFocus());
            }
        });
        document.getElementById('PopupMenu1').addEventListener('keydown', menuKeys);
        document.addEventListener('pointerdown', (event) => {
            if (!event.target.closest('#PopupMenu1')) {
                closeMenu();
            }
        });
        // Queued behind the Saves chosen before it, so they still go where they were meant to.
        document.getElementById('reportReset').addEventListener('click', () => {
            queueSave(startNewReport);
        });
        document.getElementById('messageOk').addEventListener('click', () => {
            document.getElementById('message').hidden = true;
        });
        document.getElementById('message').addEventListener('keydown', (event) => {
            if (event.key === 'Escape') {
                document.getElementById('message').hidden = true;
            }
        });
        window.addEventListener('blur', release);
    }

    function start(module) {
        engine = module;
        layout = JSON.parse(engine.layoutJson());
        texts = JSON.parse(engine.textsJson());
        // "#time=YYYYMMDDhhmm" fixes the date stamp, so a report can be made again to the byte.
        const time = /(?:^#|&)time=(\d{12})/.exec(location.hash);
        if (time) {
            engine.setFixedTime(time[1]);
        }
        for (const key of ['diagramHeading', 'figuresHeading', 'searchHeading', 'choiceQuestion',
                           'appendExisting', 'createReport']) {
            document.getElementById(key).textContent = texts[key];
        }
        document.getElementById('choiceCancel').textContent = texts.cancel;
        document.getElementById('panel').setAttribute('aria-label', texts.panel);
        buildWindow();
        buildCommandBar();
        wire();
        watchPixelRatio();
        buildSearch();
        buildTensionField();
        document.getElementById('frame').hidden = false;
        document.getElementById('panel').hidden = false;
        engine.start();
        clearPanel();
        setStatus('');
        document.getElementById('UpDown1').focus();
        // A Save chosen at once waits for the report the page kept.
        saving = restoreReport();
        saving.then(() => {
            document.documentElement.dataset.ready = 'true';
        });
        // After the frame that shows the window (make bench reads it).
        requestAnimationFrame(() => setTimeout(() => performance.mark('springcalc-window-drawn')));
    }

    // The reason is for whoever put the site up (Emscripten's may end in a hint on how to build
    // it), so it goes to the console; the user reads the page's own plain words.
    function failedToLoad(error) {
        console.error('springcalc: the engine did not load: ' + reason(error));
        const status = document.getElementById('status');
        status.textContent = status.dataset.loadFailed;
    }

    if (typeof window.SpringcalcModule !== 'function') {
        failedToLoad(new Error('springcalc.js did not run'));
    } else {
        window.SpringcalcModule({springView: view}).then(start).catch(failedToLoad);
    }
})();
