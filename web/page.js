// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the engine: builds the window's controls from the layout table the engine
// hands over, forwards every click and command to it, and carries out what the engine's view
// asks (texts, colours, enabled commands, drawings, warning lines). No rule, number or text of
// the calculator lives here; the page's own words come from the engine's catalogue too (engine/words.h).
'use strict';

(function () {
    let engine = null;   // the WebAssembly module
    let layout = null;   // the window's layout table
    let texts = null;    // the page's words
    // The page's language, kept in its address beside the design ("lang=en"; none is Japanese).
    const language = /(?:^#|&)lang=en(?:&|$)/.test(location.hash) ? 'en' : 'ja';
    const elements = new Map();  // control name -> element
    const movedBy = new Map();   // value field name -> the spinners that move it
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
            designShown();
            for (const spinner of movedBy.get(name) || []) {
                spinner.setAttribute('aria-valuetext', text.trim());
            }
            showStepSoon();
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
            showStepSoon();
        },
        setVisible(name, visible) {
            elements.get(name).hidden = !visible;
            showStepSoon();
        },
        clearWarnings() {
            elements.get('Memo1').value = '';
        },
        appendWarning(line) {
            const memo = elements.get('Memo1');
            memo.value = memo.value === '' ? line : memo.value + '\n' + line;
            // The desktop's list shows its last lines once it holds more than it can show.
            memo.scrollTop = memo.scrollHeight;
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

    // The window's scale in the page: 1, or less where the page is narrower than the window.
    let fit = 1;

    // The drawing at the screen's device pixels: sharp at every zoom, as on the desktop.
    function paintDrawing(holder, index) {
        const ratio = (window.devicePixelRatio || 1) * fit;
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

    // A page narrower than the window (a phone) shows the whole window scaled to its width, as
    // one picture, so no part of it is off the screen; the command bar and the panel follow
    // below it. Wider pages show it at its own size.
    function fitWindow() {
        const frame = document.getElementById('frame');
        const body = getComputedStyle(document.body);
        const border = getComputedStyle(frame);
        const width = layout.window.width + parseFloat(border.borderLeftWidth) +
                      parseFloat(border.borderRightWidth);
        const room = document.documentElement.clientWidth - parseFloat(body.marginLeft) -
                     parseFloat(body.marginRight);
        const scale = Math.min(1, room / width);
        if (Math.abs(scale - fit) < 0.001) {
            return;
        }
        fit = scale;
        showStepper();
        frame.style.zoom = fit === 1 ? '' : String(fit);
        // The arrows' touch area is a fixed size on the screen whatever the scale.
        frame.style.setProperty('--fit', String(fit));
        layout.images.forEach((spec, index) => paintDrawing(elements.get(spec.name), index));
    }

    function buildSpinner(form, spec) {
        const group = document.createElement('div');
        group.className = 'spinner';
        group.id = spec.name;
        // Every spinner is a tab stop here, in the window's tab order: a page has no other way
        // to reach them from the keyboard.
        group.setAttribute('role', 'spinbutton');
        group.setAttribute('aria-label', spec.spoken);
        place(group, spec);
        group.tabIndex = 0;
        if (spec.field) {
            movedBy.set(spec.field, [...(movedBy.get(spec.field) || []), group]);
            group.setAttribute('aria-valuetext', elements.get(spec.field).textContent.trim());
        }
        for (const up of [true, false]) {
            const button = document.createElement('button');
            button.type = 'button';
            button.className = up ? 'up' : 'down';
            button.tabIndex = -1;
            button.setAttribute('aria-label',
                                spec.spoken + ' ' + (up ? texts.arrowUp : texts.arrowDown));
            armArrow(button, () => spec.name, up);
            group.append(button);
        }
        // A key is a click on the arrow it points to, and its release the mouse's.
        group.addEventListener('keydown', (event) => {
            const up = event.key === 'ArrowUp' || event.key === 'ArrowRight';
            const down = event.key === 'ArrowDown' || event.key === 'ArrowLeft';
            if ((up || down) && !event.altKey && !event.ctrlKey && !event.metaKey &&
                !group.querySelector('button').disabled) {
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

    // An arrow, in the window or the stepper below it, steps the spinner `target()` names: a
    // press clicks and repeats while held, a screen reader's or the keyboard's activation is one
    // click and its release.
    function armArrow(button, target, up) {
        button.addEventListener('pointerdown', (event) => {
            if (event.button !== 0 || button.disabled) {
                return;
            }
            event.preventDefault();
            button.setPointerCapture(event.pointerId);
            press(target(), up, button);
        });
        button.addEventListener('pointermove', track);
        button.addEventListener('pointerup', (event) => {
            if (event.button === 0) {
                release();
            }
        });
        button.addEventListener('pointercancel', release);
        button.addEventListener('click', (event) => {
            if (event.detail === 0 && !button.disabled) {
                click(target(), up);
                engine.mouseUp(target());
            }
        });
    }

    // ---- The stepper -------------------------------------------------------------------------
    // Scaled to a phone, the window's arrows are smaller than a finger, and its rows are too
    // close for bigger targets. Below the window the stepper steps one chosen spinner with
    // arrows a finger can hit, through the same handler as the window's arrows; the one it
    // steps is the spinner last tapped or focused, or the one its own buttons go to.
    let stepping = null;   // the spinner the stepper steps
    const coarsePointer = window.matchMedia('(pointer: coarse)');

    function buildStepper() {
        const bar = document.getElementById('stepper');
        bar.setAttribute('aria-label', texts.stepper);
        const make = (id, label) => {
            const button = document.createElement('button');
            button.type = 'button';
            button.id = id;
            button.setAttribute('aria-label', label);
            button.title = label;
            bar.append(button);
            return button;
        };
        make('stepPrevious', texts.stepPrevious).addEventListener('click', () => moveStep(-1));
        const field = document.createElement('output');
        field.id = 'stepField';
        field.setAttribute('aria-live', 'polite');
        bar.append(field);
        make('stepNext', texts.stepNext).addEventListener('click', () => moveStep(1));
        for (const up of [false, true]) {
            armArrow(make(up ? 'stepUp' : 'stepDown', up ? texts.arrowUp : texts.arrowDown),
                     () => stepping, up);
        }
        // A spinner tapped or focused in the window, or the value field it moves, is the one
        // stepped.
        document.getElementById('Form1').addEventListener('pointerdown', (event) => {
            const group = event.target.closest('.spinner') ||
                          (movedBy.get(event.target.id) || [])[0];
            if (group) {
                chooseStep(group.id);
            }
        });
        document.getElementById('Form1').addEventListener('focusin', (event) => {
            if (event.target.classList.contains('spinner')) {
                chooseStep(event.target.id);
            }
        });
        coarsePointer.addEventListener('change', showStepper);
        showStepper();
        chooseStep(layout.spinners[0].name);
    }

    function showStepper() {
        const shown = fit < 1 || coarsePointer.matches;
        document.getElementById('stepper').hidden = !shown;
        document.documentElement.toggleAttribute('data-stepper', shown);
    }

    function chooseStep(name) {
        stepping = name;
        showStep();
    }

    // The next or the previous spinner in the window's tab order that is shown.
    function moveStep(by) {
        const names = layout.spinners.map((spec) => spec.name)
                          .filter((name) => !elements.get(name).hidden);
        const at = names.indexOf(stepping);
        chooseStep(names[(at + by + names.length) % names.length]);
    }

    // The engine writes many fields in one Run or one held arrow's step: the stepper follows
    // once, when the event that wrote them is done.
    let stepDue = false;
    function showStepSoon() {
        if (!stepDue) {
            stepDue = true;
            queueMicrotask(() => {
                stepDue = false;
                showStep();
            });
        }
    }

    // The chosen spinner's caption and value, and its arrows enabled as the window's are.
    function showStep() {
        if (!stepping || !document.getElementById('stepField')) {
            return;
        }
        const group = elements.get(stepping);
        if (group.hidden) {
            moveStep(1);
            return;
        }
        for (const spinner of document.querySelectorAll('#Form1 .spinner.stepped')) {
            spinner.classList.remove('stepped');
        }
        group.classList.add('stepped');
        const value = group.getAttribute('aria-valuetext');
        document.getElementById('stepField').textContent =
            group.getAttribute('aria-label') + (value ? ' ' + value : '');
        const disabled = group.querySelector('button').disabled;
        for (const id of ['stepUp', 'stepDown']) {
            document.getElementById(id).disabled = disabled;
        }
    }

    // The window as the layout table describes it, every control at its design-time text and
    // colours: at load, and again at Exit.
    function buildWindow() {
        const form = document.getElementById('Form1');
        form.replaceChildren();
        elements.clear();
        movedBy.clear();
        form.style.width = layout.window.width + 'px';
        form.style.height = layout.window.height + 'px';
        form.style.backgroundColor = layout.window.background;
        form.style.fontFamily = fontFamily();
        form.style.fontSize = layout.fontPixels + 'px';
        form.setAttribute('aria-label', layout.caption);
        form.tabIndex = -1;  // the focus's place after a menu opened over no control
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
            // A value field is read as its caption and value, as "free length 60.0" in Japanese.
            if (spec.spoken) {
                label.setAttribute('role', 'textbox');
                label.setAttribute('aria-readonly', 'true');
                label.setAttribute('aria-label', spec.spoken);
                if (spec.unit) {
                    label.setAttribute('aria-describedby', spec.unit);
                }
            }
            form.append(label);
            elements.set(spec.name, label);
        }
        // The spinners and the warning list in the window's tab order, which the page's
        // follows from the order of its elements.
        layout.spinners.forEach((spec, position) => {
            if (position === layout.memo.tabPosition) {
                buildMemo(form);
            }
            buildSpinner(form, spec);
        });
        if (!elements.has(layout.memo.name)) {
            buildMemo(form);
        }
        buildMenu();
        // The window's tooltips: what each caption and result field is, from the catalogue.
        for (const [name, element] of elements) {
            const tip = texts['tip.' + name];
            if (tip) {
                element.title = tip;
            }
        }
        showStep();
    }

    // The warning list takes typed text and scrolls by wheel and keys, as the desktop's does;
    // it draws no scroll bar, as the desktop's has none.
    function buildMemo(form) {
        const memo = document.createElement('textarea');
        memo.id = layout.memo.name;
        memo.spellcheck = false;
        memo.setAttribute('aria-labelledby', 'Label47');
        place(memo, layout.memo);
        memo.style.fontFamily = fontFamily();
        memo.style.fontSize = layout.fontPixels + 'px';
        form.append(memo);
        elements.set(memo.id, memo);
        // Like the window's, the list's tooltip explains the warnings it holds when it is asked.
        memo.addEventListener('mouseenter', () => {
            memo.title = engine.warningListNote(memo.value);
        });
    }

    // ---- Spinners ---------------------------------------------------------------------------

    function click(name, up) {
        engine.click(name, up);
        if (name === 'UpDown8') {
            followWindowKind();
        }
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
                    closeMenu(true);
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
        // The datasheet prints Run's figures, so it is offered when Print is.
        if (name === 'N3') {
            const datasheet = document.getElementById('printDatasheet');
            if (datasheet) {
                datasheet.disabled = !commandEnabled.N3;
            }
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

    // The language is the page's, not the window's: a choice beside the page's own commands. The
    // page starts again in the other language with the design the address keeps.
    function buildLanguageChoice(bar) {
        const choice = document.createElement('select');
        choice.id = 'pageLanguage';
        choice.setAttribute('aria-label', texts.language);
        choice.title = texts.language;
        for (const code of ['ja', 'en']) {
            choice.append(new Option(texts['language.' + code], code, false, code === language));
        }
        choice.addEventListener('change', () => {
            const keys = pageKeys().filter((pair) => !/^lang=/.test(pair));
            if (choice.value !== 'ja') {
                keys.push('lang=' + choice.value);
            }
            history.replaceState(null, '', '#' + [...keys, engine.designAddress(), ...panelKeys()]
                .join('&'));
            location.reload();
        });
        bar.append(choice);
    }

    // Beside the commands, what the page adds: the link to this design and the datasheet.
    function buildKeepBar() {
        const bar = document.getElementById('keep');
        bar.setAttribute('aria-label', texts.keep);
        for (const [id, act] of [['copyLink', copyLink],
                                 ['printDatasheet', () => printAs('datasheet')]]) {
            const button = document.createElement('button');
            button.type = 'button';
            button.id = id;
            button.textContent = texts[id];
            button.title = texts[id + 'Title'];
            button.addEventListener('click', () => {
                if (!button.disabled) {
                    release();
                    closeMenu();
                    act();
                }
            });
            bar.append(button);
        }
        buildLanguageChoice(bar);
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

    // The control the menu was opened from, which has the focus back when it closes.
    let menuOpener = null;

    function openMenu(x, y, opener) {
        const menu = document.getElementById('PopupMenu1');
        if (menu.hidden) {
            menuOpener = opener;
        }
        menu.hidden = false;
        const width = menu.offsetWidth;
        const height = menu.offsetHeight;
        menu.style.left = Math.max(0, Math.min(x, window.innerWidth - width)) + 'px';
        menu.style.top = Math.max(0, Math.min(y, window.innerHeight - height)) + 'px';
        menu.querySelector('[role="menuitem"]').focus();
    }

    // With `giveBack`, the focus goes back to where the menu was opened from, so a command
    // chosen in it leaves the keyboard where it was.
    function closeMenu(giveBack) {
        const menu = document.getElementById('PopupMenu1');
        if (menu.hidden) {
            return;
        }
        menu.hidden = true;
        if (giveBack || menu.contains(document.activeElement)) {
            focusAgain(menuOpener);
        }
        menuOpener = null;
    }

    // Exit builds the window afresh: a control it replaced is found again by its name.
    function focusAgain(element) {
        const target = element && (element.isConnected ? element
                                                        : document.getElementById(element.id));
        if (target) {
            target.focus({preventScroll: true});
        }
    }

    function menuKeys(event) {
        const items = [...document.querySelectorAll('#PopupMenu1 [role="menuitem"]')];
        const at = items.indexOf(document.activeElement);
        if (event.key === 'Escape' || event.key === 'Tab') {
            closeMenu(true);
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
            const before = fieldTexts();
            engine.run();
            showPanel();
            announceRun(before);
        } else if (name === 'N2') {
            const block = engine.reportBytes().slice();  // the record as it is now
            queueSave(() => save(block));
        } else if (name === 'N3') {
            printAs('window');
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
        const focused = document.activeElement;
        buildWindow();
        if (!focused.isConnected) {
            focusAgain(focused);  // the same control of the new window
        }
        engine.start();
        clearTensionField();
        document.getElementById('panelWire').value = 'window';
        engine.setPanelWire('window');
        document.getElementById('toleranceGrade').value = 'none';
        clearPanel();
        followWindowKind();
    }

    // The value fields' texts, by name.
    function fieldTexts() {
        const texts = new Map();
        for (const label of document.querySelectorAll('#Form1 [aria-readonly]')) {
            texts.set(label.id, label.textContent);
        }
        return texts;
    }

    // What Run changed, and the warnings, to a screen reader, which says it when the user's
    // current speech ends: the fields Run wrote are far from the focus.
    function announceRun(before) {
        const said = [texts.runDone];
        for (const [name, text] of fieldTexts()) {
            if (text !== before.get(name) && text.trim() !== '') {
                const label = elements.get(name);
                const unit = label.getAttribute('aria-describedby');
                said.push(label.getAttribute('aria-label') + ' ' + text.trim() +
                          (unit ? ' ' + elements.get(unit).textContent : ''));
            }
        }
        const warnings = elements.get('Memo1').value.split('\n').filter((line) => line !== '');
        said.push(warnings.length > 0 ? texts.warningsAre + warnings.join(texts.listSeparator)
                                      : texts.noWarnings);
        document.getElementById('announce').textContent = said.join(texts.listSeparator);
    }

    // A dialog of the page keeps the focus until it closes: the rest of the page is inert, and
    // Tab goes round its own buttons. Closed, it gives the focus back to where it was.
    function openDialog(box, first) {
        const opener = document.activeElement;
        for (const id of ['desk', 'PopupMenu1']) {
            document.getElementById(id).inert = true;
        }
        const tabRound = (event) => {
            if (event.key !== 'Tab') {
                return;
            }
            const buttons = [...box.querySelectorAll('button:not([hidden])')];
            const at = buttons.indexOf(document.activeElement);
            const step = event.shiftKey ? buttons.length - 1 : 1;
            buttons[(at + step) % buttons.length].focus();
            event.preventDefault();
        };
        box.addEventListener('keydown', tabRound);
        box.hidden = false;
        first.focus();
        return () => {
            box.removeEventListener('keydown', tabRound);
            box.hidden = true;
            if (document.getElementById('message').hidden &&
                document.getElementById('reportChoice').hidden) {
                for (const id of ['desk', 'PopupMenu1']) {
                    document.getElementById(id).inert = false;
                }
            }
            if (opener && opener !== document.body) {
                focusAgain(opener);
            }
        };
    }

    let closeMessage = null;

    function showMessage(text) {
        document.getElementById('messageText').textContent = text;
        if (!closeMessage) {
            closeMessage = openDialog(document.getElementById('message'),
                                      document.getElementById('messageOk'));
        }
    }

    function hideMessage() {
        if (closeMessage) {
            const close = closeMessage;
            closeMessage = null;
            close();
        }
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
        const close = openDialog(box, document.getElementById('appendExisting'));
        return new Promise((resolve) => {
            const answer = (way) => {
                close();
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

    // ---- The design in the address ---------------------------------------------------------

    // The design lives in the address's fragment, beside the page's own keys (time=): a reload
    // or a link opens it again, and each change is a step of the browser's history, so Back
    // undoes it. A step is what one press does: a held arrow or key that clicks many times
    // makes one step, each repeat only rewriting it.
    let newStep = true;
    let addressDue = false;

    function pageKeys() {
        return location.hash.slice(1).split('&').filter((pair) => /^(time|lang)=/.test(pair));
    }

    function addressOf(design) {
        return '#' + [...pageKeys(), design, ...panelKeys()].join('&');
    }

    // ---- The panel's choices in the address, after the design ----------------------------
    //
    //   panel_wire=NAME         the panel's wire choice, when not the window's material
    //   own=TEXT                the own materials' text, deflated and in base64url
    //   torsion=V,V,...         the torsion form's boxes, when the panel shows it
    //
    // A part that is malformed or beyond its length is passed over with a note; the design is
    // loaded all the same. The panel's changes rewrite the address without a step of history:
    // Back undoes the window's changes, as before.
    const mostPanelPart = {panel_wire: 200, own: 8192, torsion: 1000};
    const torsionBoxes = () => ['material', 'wire', ...torsionNumbers, 'by1', 'position1', 'by2',
                                'position2', 'mandrel'];
    let ownPart = '';  // the own materials' text as the address keeps it

    function panelKeys() {
        const keys = [];
        const wire = document.getElementById('panelWire');
        if (wire && wire.value !== 'window') {
            keys.push('panel_wire=' + encodeURIComponent(wire.value));
        }
        if (ownPart !== '') {
            keys.push('own=' + ownPart);
        }
        if (panelKind === 'torsion') {
            keys.push('torsion=' + torsionBoxes().map((name) =>
                encodeURIComponent(document.getElementById('t-' + name).value)).join(','));
        }
        return keys;
    }

    // The address follows the panel in place.
    function keepPanel() {
        const address = addressOf(engine.designAddress());
        if (address !== location.hash) {
            history.replaceState(null, '', address);
        }
    }

    // The panel's parts of an address, each a text no longer than its most; none is undefined.
    function panelParts(hash) {
        const parts = {};
        for (const pair of hash.replace(/^#/, '').split('&')) {
            const equals = pair.indexOf('=');
            const key = pair.slice(0, equals);
            if (equals > 0 && key in mostPanelPart) {
                const value = pair.slice(equals + 1);
                parts[key] = value.length <= mostPanelPart[key] ? value : null;
            }
        }
        return parts;
    }

    function base64url(bytes) {
        let binary = '';
        for (const byte of bytes) {
            binary += String.fromCharCode(byte);
        }
        return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    }

    // The own materials' text as the address keeps it; '' where the browser cannot deflate.
    async function deflated(text) {
        if (typeof CompressionStream !== 'function') {
            return '';
        }
        const stream = new Blob([new TextEncoder().encode(text)]).stream()
            .pipeThrough(new CompressionStream('deflate-raw'));
        return base64url(new Uint8Array(await new Response(stream).arrayBuffer()));
    }

    // The text back, or null for a part that is not one: not base64url, not deflated, not
    // UTF-8, or inflating beyond what the panel's field takes.
    async function inflated(part) {
        if (typeof DecompressionStream !== 'function' || !/^[A-Za-z0-9_-]+$/.test(part)) {
            return null;
        }
        try {
            const binary = atob(part.replace(/-/g, '+').replace(/_/g, '/'));
            const bytes = Uint8Array.from(binary, (char) => char.charCodeAt(0));
            const reader = new Blob([bytes]).stream()
                .pipeThrough(new DecompressionStream('deflate-raw')).getReader();
            const chunks = [];
            let length = 0;
            for (;;) {
                const {done, value} = await reader.read();
                if (done) {
                    break;
                }
                length += value.length;
                if (length > engine.ownMaterialsMostBytes()) {
                    reader.cancel();
                    return null;
                }
                chunks.push(value);
            }
            const whole = new Uint8Array(length);
            let at = 0;
            for (const chunk of chunks) {
                whole.set(chunk, at);
                at += chunk.length;
            }
            return new TextDecoder('utf-8', {fatal: true}).decode(whole);
        } catch (error) {
            return null;
        }
    }

    // The panel as the address at the page's start left it, once the design is loaded.
    async function panelFromAddress(hash) {
        const parts = panelParts(hash);
        const notes = [];
        if (parts.own !== undefined) {
            const text = parts.own === null ? null : await inflated(parts.own);
            const read = text === null ? null : JSON.parse(engine.readOwnMaterials(text));
            if (read && read.faults.length === 0 && read.names.length > 0) {
                document.getElementById('ownMaterial').value = text;
                takeOwnMaterial(text);
                ownPart = parts.own;
            } else {
                notes.push(texts.addressOwnIgnored);
            }
        }
        if (parts.panel_wire) {
            const select = document.getElementById('panelWire');
            let name = null;
            try {
                name = decodeURIComponent(parts.panel_wire);
            } catch (error) {
                // passed over below, as a wire the select does not offer
            }
            if ([...select.options].some((option) => option.value === name)) {
                select.value = name;
                engine.setPanelWire(name);
            }
        }
        if (parts.torsion !== undefined && !torsionFromAddress(parts.torsion)) {
            notes.push(texts.addressTorsionIgnored);
        }
        if (notes.length > 0) {
            const status = document.getElementById('status');
            setStatus([status.textContent, ...notes].filter((note) => note !== '').join(' '));
        }
        keepPanel();
    }

    // The torsion form's boxes from the address, all or none; false when the part is not one.
    function torsionFromAddress(part) {
        const names = torsionBoxes();
        let values;
        try {
            values = part === null ? [] : part.split(',').map(decodeURIComponent);
        } catch (error) {
            return false;
        }
        if (values.length !== names.length) {
            return false;
        }
        const boxes = names.map((name) => document.getElementById('t-' + name));
        const fits = (box, value) => box.tagName !== 'SELECT' ||
            [...box.options].some((option) => option.value === value);
        if (!boxes.every((box, i) => fits(box, values[i]))) {
            return false;
        }
        boxes.forEach((box, i) => {
            box.value = values[i];
        });
        switchPanelKind('torsion');
        if (torsionNumbers.some((name) => document.getElementById('t-' + name).value !== '')) {
            showTorsion();
        }
        return true;
    }

    // The window showed something: once the event that did it is done, the address follows.
    function designShown() {
        if (!addressDue) {
            addressDue = true;
            queueMicrotask(keepDesign);
        }
    }

    function keepDesign() {
        addressDue = false;
        const address = addressOf(engine.designAddress());
        if (address === location.hash) {
            return;
        }
        if (newStep) {
            history.pushState(null, '', address);
            newStep = false;
        } else {
            history.replaceState(null, '', address);
        }
    }

    // The design the address names, entered as a sample or a search result is; one it cannot
    // take is passed over with a note. Either way the address then names the design shown.
    // The design shown already is left as it is (a reload of the start-up design starts as the
    // program does).
    function designFromAddress() {
        if (location.hash === addressOf(engine.designAddress())) {
            return;
        }
        release();
        closeMenu();
        const read = JSON.parse(engine.loadAddress(location.hash.slice(1)));
        if (read.note) {
            setStatus(read.note);
        }
        history.replaceState(null, '', addressOf(engine.designAddress()));
        newStep = true;
    }

    // The link for a colleague: the design and the panel's choices, without the page's own keys.
    async function copyLink() {
        const link = location.href.replace(/#.*$/, '') + '#' +
                     [engine.designAddress(), ...panelKeys()].join('&');
        try {
            await navigator.clipboard.writeText(link);
            setStatus(texts.linkCopied);
        } catch (error) {
            setStatus(texts.linkNotCopied);
        }
    }

    // ---- Print ------------------------------------------------------------------------------

    // The window alone, as the desktop prints it, or the datasheet: the window's values, the
    // figures and the diagram on one A4 page. The print style sheet shows the one chosen.
    function printAs(what) {
        if (what === 'datasheet') {
            buildDatasheet();
        }
        document.documentElement.dataset.print = what;
        window.print();
    }

    function buildDatasheet() {
        const sheet = document.getElementById('datasheet');
        const heading = document.createElement('h1');
        heading.textContent = texts.datasheetTitle;
        const kind = document.createElement('p');
        kind.className = 'sheet-kind';
        kind.textContent = elements.get('Label1').textContent.trim() + texts.fullSpace +
                           elements.get('Labeldate').textContent.trim();
        // Every value field of the window, by the caption a screen reader says, with its unit.
        const values = document.createElement('table');
        values.className = 'sheet-values';
        values.createCaption().textContent = texts.datasheetWindow;
        for (const label of document.querySelectorAll('#Form1 [role="textbox"]')) {
            const text = label.textContent.trim();
            if (text === '') {
                continue;
            }
            const row = values.insertRow();
            const caption = document.createElement('th');
            caption.scope = 'row';
            caption.textContent = label.getAttribute('aria-label');
            row.append(caption);
            row.insertCell().textContent = text;
            const unit = label.getAttribute('aria-describedby');
            row.insertCell().textContent = unit ? elements.get(unit).textContent.trim() : '';
        }
        // The window's figures and diagram from the engine, not the panel's: the panel may
        // be showing its own torsion spring, which is no part of the window's design.
        const figures = document.createElement('table');
        fillWindowFigures(figures);
        figures.className = 'sheet-figures';
        figures.createCaption().textContent = texts.figuresHeading;
        // The tolerances under the figures, headed by the grade, when one is chosen.
        const grade = document.getElementById('toleranceGrade');
        const tolerances = document.getElementById('tolerances').rows;
        if (tolerances.length > 0) {
            const heading = document.createElement('th');
            heading.colSpan = 2;
            heading.textContent = texts['tolerance-grade'] + texts.fullSpace +
                                  grade.selectedOptions[0].textContent;
            figures.insertRow().append(heading);
            for (const row of tolerances) {
                figures.tBodies[0].append(row.cloneNode(true));
            }
        }
        const warnings = document.createElement('p');
        warnings.className = 'sheet-warnings';
        const lines = elements.get('Memo1').value.split('\n').filter((line) => line !== '');
        warnings.textContent = lines.length > 0 ? texts.warningsAre + lines.join(texts.listSeparator)
                                                : texts.noWarnings;
        const diagram = document.createElement('figure');
        diagram.className = 'sheet-diagram';
        const svg = windowDiagram();
        if (svg) {
            diagram.append(svg);
        }
        const tables = document.createElement('div');
        tables.className = 'sheet-tables';
        tables.append(values, figures);
        const address = document.createElement('p');
        address.className = 'sheet-address';
        address.textContent = texts.datasheetAddress + location.href.replace(/#.*$/, '') + '#' +
                              engine.designAddress();
        sheet.replaceChildren(heading, kind, diagram, tables, warnings, address);
    }

    // ---- Offline ----------------------------------------------------------------------------

    // The service worker keeps the page's own files for opening offline; a page served where
    // browsers allow none (plain HTTP off this computer) works as before, online.
    function keepForOffline() {
        if (!('serviceWorker' in navigator)) {
            return;
        }
        const updating = navigator.serviceWorker.controller !== null;
        navigator.serviceWorker.register('sw.js').catch((error) => {
            console.info('springcalc: kept online only: ' + reason(error));
        });
        // A new build took over: this page still runs the files it started with.
        navigator.serviceWorker.addEventListener('controllerchange', () => {
            if (updating) {
                setStatus(texts.newVersion);
            }
        });
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
        if (panelKind === 'torsion') {
            return;  // the window's Exit leaves the panel's own torsion spring as it is
        }
        const note = document.createElement('p');
        note.textContent = texts.diagramNone;
        document.getElementById('diagram').replaceChildren(note);
        document.getElementById('figures').replaceChildren();
        document.getElementById('givenTensionBox').hidden = true;
        document.getElementById('panelWireBox').hidden = true;
        document.getElementById('toleranceBox').hidden = true;
        document.getElementById('tolerances').replaceChildren();
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
        const field = textBox('givenTension');
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

    // The grade a drawing names, chosen beside the figures: each figure with the tolerance a
    // maker promises at it, as the engine works it out.
    function buildToleranceField() {
        const box = document.createElement('p');
        box.id = 'toleranceBox';
        box.hidden = true;
        const label = document.createElement('label');
        label.id = 'toleranceGradeLabel';
        label.textContent = texts['tolerance-grade'];
        label.htmlFor = 'toleranceGrade';
        const select = document.createElement('select');
        select.id = 'toleranceGrade';
        for (const {name, label: text} of JSON.parse(engine.toleranceGrades())) {
            select.add(new Option(text, name));
        }
        select.addEventListener('change', showTolerances);
        box.append(label, ' ', select);
        const table = document.createElement('table');
        table.id = 'tolerances';
        table.setAttribute('aria-labelledby', label.id);
        document.getElementById('figures').after(box, table);
    }

    function showTolerances() {
        const table = document.getElementById('tolerances');
        table.replaceChildren();
        for (const row of JSON.parse(engine.tolerances(
                 document.getElementById('toleranceGrade').value))) {
            const tr = table.insertRow();
            tr.insertCell().textContent = row.label;
            tr.insertCell().textContent = row.value;
        }
    }

    // A standard's wire or the user's own for the window's design, in the panel alone: the
    // window keeps its nine materials.
    function buildWireField() {
        const box = document.createElement('p');
        box.id = 'panelWireBox';
        box.hidden = true;
        const label = document.createElement('label');
        label.textContent = texts.panelWire;
        label.htmlFor = 'panelWire';
        const select = document.createElement('select');
        select.id = 'panelWire';
        const problem = document.createElement('span');
        problem.id = 'panelWireProblem';
        problem.setAttribute('role', 'status');
        select.setAttribute('aria-describedby', problem.id);
        select.addEventListener('change', () => {
            engine.setPanelWire(select.value);
            showPanel();
            keepPanel();
        });
        box.append(label, ' ', select, ' ', problem);
        document.getElementById('figures').before(box);
        fillWireChoices();
    }

    // One's own wire, typed in the materials file's format and read by the engine's reader of
    // --materials-file: its materials join the panel's wire select and the search's materials. A
    // text with a fault changes nothing; each fault is a line of the list as the reader words it.
    function buildOwnMaterialField() {
        const section = document.createElement('section');
        section.id = 'ownMaterialBox';
        const label = document.createElement('label');
        label.textContent = texts.ownMaterial;
        label.htmlFor = 'ownMaterial';
        const field = document.createElement('textarea');
        field.id = 'ownMaterial';
        field.rows = 6;
        field.spellcheck = false;
        field.title = texts.ownMaterialNote;
        const button = document.createElement('button');
        button.type = 'button';
        button.id = 'ownMaterialRead';
        button.textContent = texts.ownMaterialRead;
        const faults = document.createElement('ul');
        faults.id = 'ownMaterialFaults';
        faults.setAttribute('role', 'status');
        field.setAttribute('aria-describedby', faults.id);
        button.addEventListener('click', async () => {
            const text = field.value;
            if (!takeOwnMaterial(text)) {
                return;
            }
            ownMaterialChanged();
            const part = text.trim() === '' ? '' : await deflated(text);
            if (ownText === text) {  // not read again meanwhile
                ownPart = part.length <= mostPanelPart.own ? part : '';
                keepPanel();
            }
        });
        section.append(label, field, button, faults);
        document.getElementById('searchHeading').parentElement.before(section);
    }

    // Reads `text` as the own materials; false, with its faults shown, when it has any.
    function takeOwnMaterial(text) {
        const read = JSON.parse(engine.readOwnMaterials(text));
        const faults = document.getElementById('ownMaterialFaults');
        faults.replaceChildren(...read.faults.map((fault) =>
            Object.assign(document.createElement('li'), {textContent: fault})));
        if (read.faults.length > 0) {
            document.getElementById('ownMaterial').setAttribute('aria-invalid', 'true');
            return false;
        }
        document.getElementById('ownMaterial').removeAttribute('aria-invalid');
        ownText = text.trim() === '' ? '' : text;
        if (read.names.length > 0) {
            faults.append(Object.assign(document.createElement('li'),
                {textContent: texts.ownMaterialTaken + read.names.join(texts.listSeparator)}));
        }
        ownMaterialBoxes(read.names);
        fillWireChoices();
        return true;
    }

    // The search's materials: a box for each own material after the window's nine, not ticked.
    function ownMaterialBoxes(names) {
        const box = document.getElementById('materials');
        const ticked = new Set([...box.querySelectorAll('label.own input:checked')]
            .map((tick) => tick.value));
        for (const old of box.querySelectorAll('label.own')) {
            old.remove();
        }
        for (const name of names) {
            const label = document.createElement('label');
            label.className = 'own';
            const tick = document.createElement('input');
            tick.type = 'checkbox';
            tick.value = name;
            tick.checked = ticked.has(name);
            label.append(tick, name);
            box.append(label);
        }
    }

    function ownMaterialChanged() {
        if (panelKind !== 'torsion' && engine.diagramSvg() !== '') {
            showPanel();
        }
        keepPanel();
    }

    // The select's choices from the engine's list, keeping the choice where it still stands.
    function fillWireChoices() {
        const select = document.getElementById('panelWire');
        const chosen = select.value || 'window';
        select.replaceChildren();
        for (const {name, label} of JSON.parse(engine.panelWires())) {
            select.add(new Option(label, name));
        }
        select.value = chosen;
        if (select.value !== chosen) {
            select.value = 'window';
            engine.setPanelWire('window');
        }
    }

    function clearTensionField() {
        document.getElementById('givenTension').value = '';
        document.getElementById('givenTensionProblem').textContent = '';
        engine.setInitialTension('');
    }

    function showPanel() {
        if (panelKind === 'torsion') {
            return;  // the window's Run does not change the panel's own torsion spring
        }
        const svg = windowDiagram();
        if (!svg) {
            clearPanel();
            return;
        }
        document.getElementById('diagram').replaceChildren(svg);
        document.getElementById('givenTensionBox').hidden = !engine.tensionOffered();
        document.getElementById('panelWireBox').hidden = false;
        document.getElementById('panelWireProblem').textContent = engine.panelWireProblem();
        fillWindowFigures(document.getElementById('figures'));
    }

    // The load–length diagram of the window's design after Run; null before.
    function windowDiagram() {
        const svgText = engine.diagramSvg();
        if (svgText === '') {
            return null;
        }
        const parsed = new DOMParser().parseFromString(svgText, 'image/svg+xml');
        const svg = document.importNode(parsed.documentElement, true);
        svg.setAttribute('role', 'img');
        svg.setAttribute('aria-label', texts.diagramHeading);
        return svg;
    }

    // The figures of the window's design, a row each, in place of what the table held.
    function fillWindowFigures(table) {
        table.replaceChildren();
        for (const row of JSON.parse(engine.figures())) {
            const tr = table.insertRow();
            tr.insertCell().textContent = row.label;
            tr.insertCell().textContent = row.value;
        }
        document.getElementById('toleranceBox').hidden = false;
        showTolerances();
    }

    // The search form is built from the engine's fields (engine.searchFormJson): each field's
    // name, form, the spring kinds it is for, its labels and choices. Fields not for the chosen
    // kind are hidden and not sent; empty boxes and unticked ones are not sent either.
    function labelled(form, labelText, content, kinds) {
        const label = document.createElement('label');
        label.textContent = labelText;
        label.htmlFor = content.id || '';
        for (const element of [label, content]) {
            element.dataset.kinds = kinds;
        }
        form.append(label, content);
    }

    function textBox(id) {
        const element = document.createElement('input');
        element.type = 'text';
        element.id = id;
        element.name = id;
        element.inputMode = 'decimal';
        return element;
    }

    function loadPair(name, slot, labelText) {
        const box = document.createElement('span');
        box.className = 'pair';
        box.id = name + slot + 'Pair';
        const load = textBox(name + slot + '-load');
        const length = textBox(name + slot + '-length');
        load.setAttribute('aria-label', texts[`${name}${slot + 1}-load`]);
        length.setAttribute('aria-label', texts[`${name}${slot + 1}-length`]);
        load.inputMode = 'text';  // a unit may follow: 49N
        box.append(load, texts.pairSeparator, length);
        return box;
    }

    function searchControl(field) {
        if (field.form === 'flag') {
            const box = document.createElement('input');
            box.type = 'checkbox';
            box.id = field.name;
            return box;
        }
        if (field.form === 'choice') {
            const select = document.createElement('select');
            select.id = field.name;
            for (const {name, label} of field.choices) {
                select.add(new Option(label, name));
            }
            return select;
        }
        return textBox(field.name);
    }

    // The window's nine materials, ticked; the standards' wire folded away after them, not.
    function materialBoxes(names, standards) {
        const tickBox = (name, ticked) => {
            const label = document.createElement('label');
            const tick = document.createElement('input');
            tick.type = 'checkbox';
            tick.value = name.trim();
            tick.defaultChecked = ticked;
            tick.checked = ticked;
            label.append(tick, name.trim());
            return label;
        };
        const box = document.createElement('span');
        box.className = 'materials';
        box.id = 'materials';
        box.append(...names.map((name) => tickBox(name, true)));
        const more = document.createElement('details');
        more.id = 'standardMaterials';
        const summary = document.createElement('summary');
        summary.textContent = texts.searchStandards;
        more.append(summary, ...standards.map((name) => tickBox(name, false)));
        box.append(more);
        return box;
    }

    // Whether a field marked for `kinds` ("any", "coil", or one kind) is for a spring of `kind`.
    function fieldIsFor(kinds, kind) {
        return kinds === 'any' || kinds === kind || (kinds === 'coil' && kind !== 'torsion');
    }

    function showFieldsOfKind(form) {
        const kind = document.getElementById('kind').value;
        for (const element of form.querySelectorAll('[data-kinds]')) {
            element.hidden = !fieldIsFor(element.dataset.kinds, kind);
        }
    }

    let searchFields = [];
    let ownText = '';  // the own materials' text read last, which the search's worker reads too
    let panelKind = 'window';  // the panel's calculator: the window's spring, or its own torsion
    let kindChosen = false;  // the user chose the search's spring kind

    // The search asks for springs of the window's kind, until the user chooses one in the form.
    function followWindowKind() {
        const select = document.getElementById('kind');
        if (!select) {
            return;
        }
        // The torsion kind is offered while the panel calculates torsion springs, and then alone.
        for (const option of select.options) {
            const offered = (option.value === 'torsion') === (panelKind === 'torsion');
            option.hidden = !offered;
            option.disabled = !offered;
        }
        if (panelKind === 'torsion') {
            select.value = 'torsion';
            showFieldsOfKind(document.getElementById('search'));
            return;
        }
        if (kindChosen && select.value !== 'torsion') {
            return;
        }
        const kind = engine.position('UpDown8') === 0 ? 'compression' : 'extension';
        if (select.value !== kind) {
            select.value = kind;
        }
        showFieldsOfKind(document.getElementById('search'));
    }

    function buildSearch() {
        const choices = JSON.parse(engine.searchFormJson());
        searchFields = choices.fields;
        const form = document.getElementById('search');
        form.replaceChildren();
        for (const field of searchFields) {
            if (field.form === 'load') {
                field.labels.forEach((labelText, slot) => {
                    const pair = loadPair(field.name, slot, labelText);
                    labelled(form, labelText, pair, field.kinds);
                });
            } else if (field.form === 'materials') {
                labelled(form, field.labels[0],
                         materialBoxes(choices.materials, choices.standards), field.kinds);
            } else {
                labelled(form, field.labels[0], searchControl(field), field.kinds);
            }
        }
        // The kind follows the window's until the user chooses one here.
        document.getElementById('kind').addEventListener('change', () => {
            kindChosen = true;
            showFieldsOfKind(form);
        });
        followWindowKind();
        submitButton(form, 'searchButton', runSearch);
    }

    // A form's button below its fields; a press or Enter in a field does `act`, not a submit.
    function submitButton(form, id, act) {
        const button = document.createElement('button');
        button.type = 'submit';
        button.id = id;
        button.textContent = texts[id];
        form.append(document.createElement('span'), button);
        form.addEventListener('submit', (event) => {
            event.preventDefault();
            act();
        });
    }

    // The form as the engine's reader takes it: {name, text, slot} for each field given.
    function searchEntries() {
        const kind = document.getElementById('kind').value;
        const entries = [];
        const add = (name, text, slot = 0) => entries.push({name, text, slot});
        for (const field of searchFields) {
            if (!fieldIsFor(field.kinds, kind)) {
                continue;
            }
            if (field.form === 'load') {
                field.labels.forEach((_, slot) => {
                    const load = document.getElementById(field.name + slot + '-load').value.trim();
                    const length =
                        document.getElementById(field.name + slot + '-length').value.trim();
                    if (load !== '' || length !== '') {
                        add(field.name, load + '@' + length, slot);
                    }
                });
            } else if (field.form === 'materials') {
                add(field.name, [...document.querySelectorAll('#materials input:checked')]
                    .map((box) => box.value).join(','));
            } else if (field.form === 'flag') {
                if (document.getElementById(field.name).checked) {
                    add(field.name, '');
                }
            } else {
                const control = document.getElementById(field.name);
                const text = control.value.trim();
                const defaulted = field.firstIsDefault && control.selectedIndex === 0;
                if (text !== '' && !defaulted) {
                    add(field.name, text);
                }
            }
        }
        return entries;
    }

    // ---- The panel's own torsion spring -----------------------------------------------------

    // The window calculates compression and extension springs as the desktop program does; a
    // torsion spring is the panel's own: its form, figures and diagram take the panel's place
    // of the window's, and the search asks for torsion springs meanwhile.
    const torsionNumbers = ['mean-dia', 'body-turns', 'leg1', 'leg2', 'free-angle'];

    function torsionField(form, name, control, labelled = control) {
        const label = document.createElement('label');
        label.textContent = texts['torsion.' + name];
        label.htmlFor = labelled.id;
        form.append(label, control);
    }

    function torsionChoice(id, options) {
        const select = document.createElement('select');
        select.id = id;
        for (const [value, label] of options) {
            select.add(new Option(label, value));
        }
        return select;
    }

    function buildTorsion() {
        const kind = document.getElementById('panelKind');
        document.getElementById('panelKindLabel').textContent = texts.panelKind;
        kind.replaceChildren(new Option(texts['panelKind.window'], 'window'),
                             new Option(texts['panelKind.torsion'], 'torsion'));
        kind.addEventListener('change', () => switchPanelKind(kind.value));
        document.getElementById('torsionHeading').textContent = texts.torsionHeading;
        const choices = JSON.parse(engine.torsionFormJson());
        const form = document.getElementById('torsionForm');
        const material = torsionChoice('t-material', choices.materials.map((name, i) => [i, name]));
        material.value = '3';
        torsionField(form, 'material', material);
        const wire = torsionChoice('t-wire', choices.wires.map((name, i) => [i, name]));
        wire.value = '22';
        torsionField(form, 'wire', wire);
        for (const name of torsionNumbers) {
            torsionField(form, name, textBox('t-' + name));
        }
        for (const slot of [1, 2]) {
            const pair = document.createElement('span');
            pair.className = 'pair';
            const by = torsionChoice('t-by' + slot, [['angle', texts['torsion.by.angle']],
                                                     ['moment', texts['torsion.by.moment']]]);
            by.setAttribute('aria-label', texts['torsion.by' + slot]);
            const value = textBox('t-position' + slot);
            pair.id = 't-position' + slot + 'Pair';
            pair.append(by, ' ', value);
            torsionField(form, 'position' + slot, pair, value);
        }
        torsionField(form, 'mandrel', textBox('t-mandrel'));
        submitButton(form, 'torsionButton', showTorsion);
    }

    // The form as the engine reads it: {name, text} for each box.
    function torsionEntries() {
        return torsionBoxes().map((name) =>
            ({name, text: document.getElementById('t-' + name).value, slot: 0}));
    }

    function showTorsion() {
        keepPanel();
        const form = new engine.SearchForm();
        let result;
        try {
            for (const entry of torsionEntries()) {
                form.push_back(entry);
            }
            result = JSON.parse(engine.torsion(form));
        } finally {
            form.delete();
        }
        const problem = document.getElementById('torsionProblem');
        for (const box of document.querySelectorAll('#torsionForm [aria-invalid]')) {
            box.removeAttribute('aria-invalid');
        }
        problem.textContent = result.error || '';
        const holder = document.getElementById('diagram');
        const table = document.getElementById('figures');
        table.replaceChildren();
        if (result.error) {
            document.getElementById('t-' + result.field).setAttribute('aria-invalid', 'true');
            const note = document.createElement('p');
            note.textContent = texts.torsionNone;
            holder.replaceChildren(note);
            return;
        }
        if (result.svg === '') {
            holder.replaceChildren();
        } else {
            const parsed = new DOMParser().parseFromString(result.svg, 'image/svg+xml');
            const svg = document.importNode(parsed.documentElement, true);
            svg.setAttribute('role', 'img');
            svg.setAttribute('aria-label', texts.torsionDiagramHeading);
            holder.replaceChildren(svg);
        }
        for (const row of result.figures) {
            const tr = table.insertRow();
            tr.insertCell().textContent = row.label;
            tr.insertCell().textContent = row.value;
        }
        const warnings = table.insertRow();
        warnings.className = 'torsion-warnings';
        warnings.insertCell().textContent = texts.warningNumber;
        warnings.insertCell().textContent = result.warnings.length === 0 ? texts.noWarnings
            : result.warnings.map(({number, text}) => number + ' ' + text).join(texts.listSeparator);
    }

    // A torsion spring a search found, entered in the form (both positions by angle).
    function fillTorsionForm(values) {
        document.getElementById('t-material').value = String(values.material);
        document.getElementById('t-wire').value = String(values.wire);
        for (const name of [...torsionNumbers, 'position1', 'position2', 'mandrel']) {
            document.getElementById('t-' + name).value = values[name];
        }
        document.getElementById('t-by1').value = 'angle';
        document.getElementById('t-by2').value = 'angle';
        showTorsion();
    }

    function switchPanelKind(kind) {
        panelKind = kind;
        keepPanel();
        const torsion = kind === 'torsion';
        document.getElementById('panelKind').value = kind;
        document.getElementById('torsionSection').hidden = !torsion;
        document.getElementById('diagramHeading').textContent =
            torsion ? texts.torsionDiagramHeading : texts.diagramHeading;
        document.getElementById('givenTensionBox').hidden = true;
        document.getElementById('panelWireBox').hidden = true;
        document.getElementById('searchResult').replaceChildren();
        followWindowKind();
        if (torsion) {
            document.getElementById('diagram').replaceChildren(
                Object.assign(document.createElement('p'), {textContent: texts.torsionNone}));
            document.getElementById('figures').replaceChildren();
            document.getElementById('torsionProblem').textContent = '';
        } else if (engine.diagramSvg() === '') {
            clearPanel();
        } else {
            showPanel();
        }
    }

    // ---- The search, in a worker ----------------------------------------------------------

    // A wide search walks millions of designs for seconds: it runs in a worker with an engine
    // of its own (search_worker.js), so the window answers every click meanwhile. A running
    // search reads no messages, so stopping it ends its worker; the next search starts a fresh
    // one. Choosing a result loads the design the worker sent back into the window's engine.
    let worker = null;     // idle between searches, kept for the next
    let searching = null;  // the running search: {id}
    let searchesStarted = 0;

    function searchWorker() {
        if (!worker) {
            worker = new Worker('search_worker.js');
            worker.onmessage = searchMessage;
            worker.onerror = (event) => {
                event.preventDefault();
                searchFailed(event.message || 'error');
            };
        }
        return worker;
    }

    function endWorker() {
        if (worker) {
            worker.terminate();
            worker = null;
        }
    }

    // A search started while one runs replaces it.
    function runSearch() {
        if (searching) {
            endWorker();
        }
        searching = {id: ++searchesStarted};
        showProgress(null);
        document.getElementById('searchResult').replaceChildren();
        document.getElementById('searchResult').setAttribute('aria-busy', 'true');
        searchWorker().postMessage(
            {id: searching.id, language, own: ownText, entries: searchEntries()});
    }

    function stopSearch() {
        if (!searching) {
            return;
        }
        endWorker();
        searchEnded();
        showResult(texts.searchStopped);
    }

    function searchEnded() {
        searching = null;
        document.getElementById('searchRunning').hidden = true;
        document.getElementById('searchResult').removeAttribute('aria-busy');
        document.documentElement.dataset.searching = 'false';
    }

    function searchFailed(why) {
        endWorker();
        if (searching) {
            searchEnded();
            showResult(texts.searchFailed + why);
        }
    }

    function searchMessage(event) {
        const message = event.data;
        if (message.failed !== undefined) {
            console.error('springcalc: the search worker did not load: ' + message.failed);
            searchFailed(message.failed);
            return;
        }
        if (!searching || message.id !== searching.id) {
            return;  // a search replaced since
        }
        if (message.progress) {
            showProgress(message.progress);
            return;
        }
        searchEnded();
        showFound(JSON.parse(message.result), message.designs);
    }

    const counted = new Intl.NumberFormat('ja-JP');

    // "Designs looked at so far": the engine's count of its estimates and runs. The line is
    // the only thing that changes while a search runs: its box keeps its size, so the page
    // is not laid out again for it.
    function showProgress(progress) {
        const line = document.getElementById('searchProgress');
        line.textContent = texts.searchRunning + (progress ? texts.searchLooked +
            counted.format(progress.designs) + texts.searchWires + progress.wiresDone +
            texts.searchOf + progress.wiresTotal + (progress.widening ? texts.searchWidening : '')
            : '');
        if (!progress) {
            document.getElementById('searchRunning').hidden = false;
            document.documentElement.dataset.searching = 'true';
        }
    }

    function showFound(result, designs) {
        if (result.error) {
            showResult(result.error);
            return;
        }
        const heading = document.createElement('p');
        heading.textContent = result.met > 0 ? texts.searchCount + result.met
            : result.torsion ? texts.searchNoneTorsion : texts.searchNone;
        if (result.torsion && result.rows.length === 0) {
            document.getElementById('searchResult').replaceChildren(heading);
            return;
        }
        const table = document.createElement('table');
        const head = table.createTHead().insertRow();
        const notes = (result.torsion ? texts.torsionColumnNotes : texts.columnNotes).split('|');
        const columns = result.torsion ? texts.torsionColumns : texts.columns;
        for (const [index, name] of columns.split('|').entries()) {
            const th = document.createElement('th');
            th.textContent = name;
            th.scope = 'col';
            if (notes[index]) {
                th.title = notes[index];
            }
            head.append(th);
        }
        head.append(chooseColumnHeading(result.torsion));
        const body = table.createTBody();
        result.rows.forEach((row, index) => {
            const tr = body.insertRow();
            row.cells.forEach((cell, column) => {
                const td = tr.insertCell();
                if (column === row.cells.length - 1) {
                    showWarnings(td, row.warnings);
                } else {
                    td.textContent = cell;
                }
            });
            if (row.wire) {
                tr.insertCell();  // the window keeps its nine materials
                return;
            }
            const choose = document.createElement('button');
            choose.type = 'button';
            choose.className = 'choose';
            choose.textContent = texts.choose;
            choose.addEventListener('click', () => {
                release();
                if (result.torsion) {
                    fillTorsionForm(row.torsion);
                } else {
                    engine.choose(designs[index]);
                }
                for (const chosen of body.querySelectorAll('tr.chosen')) {
                    chosen.classList.remove('chosen');
                }
                tr.classList.add('chosen');
                followWindowKind();
            });
            tr.insertCell().append(choose);
        });
        document.getElementById('searchResult').replaceChildren(heading, table);
    }

    // The warnings column: each number as the window counts it, its words on hover and for a
    // screen reader.
    function showWarnings(cell, warnings) {
        warnings.forEach(({number, text}, at) => {
            if (at > 0) {
                cell.append(' ');
            }
            const shown = document.createElement('span');
            shown.className = 'warning';
            shown.title = text;
            shown.textContent = String(number);
            shown.setAttribute('aria-hidden', 'true');
            const said = document.createElement('span');
            said.className = 'spoken-only';
            said.textContent = texts.warningNumber + number + ' ' + text;
            cell.append(shown, said);
        });
    }

    // The column of choose buttons has a heading a screen reader says; the eye needs none.
    function chooseColumnHeading(torsion) {
        const th = document.createElement('th');
        const words = document.createElement('span');
        words.className = 'spoken-only';
        words.textContent = torsion ? texts.torsionChooseColumn : texts.chooseColumn;
        th.append(words);
        return th;
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
        // The control a menu opened at `target` belongs to: the spinner under the pointer, the
        // control with the focus, or else the window itself.
        const openerAt = (target) => {
            const spinner = target && target.closest && target.closest('.spinner, #Memo1');
            if (spinner) {
                return spinner;
            }
            return form.contains(document.activeElement) ? document.activeElement : form;
        };
        form.addEventListener('contextmenu', (event) => {
            event.preventDefault();
            release();
            const fromKeyboard = event.clientX === 0 && event.clientY === 0;
            const [x, y] = fromKeyboard ? underFocus() : [event.clientX, event.clientY];
            openMenu(x, y, openerAt(fromKeyboard ? null : event.target));
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
            const {clientX: x, clientY: y, target} = event;
            touch = {id: event.pointerId, x, y, timer: setTimeout(() => {
                touch = null;
                openMenu(x, y, openerAt(target));
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
                openMenu(...underFocus(), openerAt(null));
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
        document.getElementById('messageOk').addEventListener('click', hideMessage);
        document.getElementById('message').addEventListener('keydown', (event) => {
            if (event.key === 'Escape') {
                hideMessage();
            }
        });
        window.addEventListener('blur', release);
        // Each press of a pointer or a key starts a new step of the design's history; a held
        // arrow's repeats and a held key's do not.
        document.addEventListener('pointerdown', () => {
            newStep = true;
        }, true);
        document.addEventListener('keydown', (event) => {
            if (!event.repeat) {
                newStep = true;
            }
        }, true);
        // Back, Forward, or a fragment typed into the address bar.
        window.addEventListener('popstate', designFromAddress);
        window.addEventListener('hashchange', designFromAddress);
        window.addEventListener('afterprint', () => {
            delete document.documentElement.dataset.print;
        });
    }

    function start(module) {
        engine = module;
        engine.setLanguage(language);
        document.documentElement.lang = language;
        layout = JSON.parse(engine.layoutJson());
        texts = JSON.parse(engine.textsJson());
        // "#time=YYYYMMDDhhmm" fixes the date stamp, so a report can be made again to the byte.
        const time = /(?:^#|&)time=(\d{12})/.exec(location.hash);
        if (time) {
            engine.setFixedTime(time[1]);
        }
        for (const key of ['unitsNote', 'diagramHeading', 'figuresHeading', 'searchHeading',
                           'choiceQuestion', 'appendExisting', 'createReport']) {
            document.getElementById(key).textContent = texts[key];
        }
        document.getElementById('choiceCancel').textContent = texts.cancel;
        // The report is the window's, in Japanese in code page 932, whatever the page's language.
        const reportLanguage = document.getElementById('reportLanguage');
        reportLanguage.textContent = texts.reportLanguage;
        reportLanguage.hidden = language === 'ja';
        document.getElementById('searchStop').textContent = texts.searchStop;
        document.getElementById('searchStop').addEventListener('click', stopSearch);
        document.getElementById('panel').setAttribute('aria-label', texts.panel);
        buildWindow();
        buildStepper();
        buildCommandBar();
        buildKeepBar();
        wire();
        watchPixelRatio();
        buildSearch();
        buildTensionField();
        buildWireField();
        buildOwnMaterialField();
        buildTorsion();
        buildToleranceField();
        document.getElementById('frame').hidden = false;
        document.getElementById('panel').hidden = false;
        fitWindow();
        window.addEventListener('resize', fitWindow);
        engine.start();
        clearPanel();
        setStatus('');
        const address = location.hash;
        designFromAddress();
        const panelRestored = panelFromAddress(address);
        keepForOffline();
        document.getElementById('UpDown1').focus();
        // A Save chosen at once waits for the report the page kept.
        saving = restoreReport();
        Promise.all([saving, panelRestored]).then(() => {
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
