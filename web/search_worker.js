// SPDX-License-Identifier: GPL-3.0-or-later
// The search, away from the page: a wide search walks millions of designs for seconds, and on
// the page's own thread the window would not answer a click meanwhile. This worker loads the
// same engine and runs one search per message; the page stops a search by ending the worker
// (a running search reads no messages), and starts the next in a fresh one.
//
// In:  {id, language, own, entries: [{name, text, slot}]}, the form as the engine's reader takes
//      it, the page's language ("ja", "en"), which the faults and warnings are told in, and the
//      text of the own materials the page read (empty: none), read here by the same reader.
// Out: {id, progress: {designs, wiresDone, wiresTotal, widening}} now and then;
//      {id, result: the engine's JSON, designs: the found designs' inputs, row by row};
//      {failed: why} when the engine cannot be loaded here.
'use strict';

importScripts('springcalc.js');

// The progress told to the page at most this often: the engine tells it every few thousand
// designs, far more often than a line on the screen can be read.
const progressEvery = 50;  // ms

let engine = null;
const waiting = [];

function search({id, language, own, entries}) {
    engine.setLanguage(language);
    engine.readOwnMaterials(own || '');
    const form = new engine.SearchForm();
    for (const entry of entries) {
        form.push_back(entry);
    }
    let told = -Infinity;
    const progress = (designs, wiresDone, wiresTotal, widening) => {
        const now = performance.now();
        if (now - told >= progressEvery) {
            told = now;
            postMessage({id, progress: {designs, wiresDone, wiresTotal, widening}});
        }
        return true;
    };
    try {
        const result = engine.search(form, progress);
        postMessage({id, result, designs: engine.foundDesigns()});
    } finally {
        form.delete();
    }
}

self.onmessage = (event) => {
    if (engine) {
        search(event.data);
    } else {
        waiting.push(event.data);
    }
};

self.SpringcalcModule().then((module) => {
    engine = module;
    for (const request of waiting.splice(0)) {
        search(request);
    }
}).catch((error) => {
    postMessage({failed: error && error.name ? error.name + ': ' + error.message : String(error)});
});
