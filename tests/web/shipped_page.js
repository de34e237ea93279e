// SPDX-License-Identifier: MIT
// The page as shipped holds no test entry point: its program exports exactly the functions that
// src/web/page/exports.txt lists (besides what emscripten's runtime exports for its own use), the page's
// script calls exactly those, and no script defines the tests' hooks. The test page, which has
// them, must be caught by the same checks.
//   node tests/web/shipped_page.js SHIPPED_FOLDER TEST_FOLDER EXPORTS_LIST
'use strict';
const fs = require('fs');
const path = require('path');

const [shipped, testPage, listFile] = process.argv.slice(2);
const listed = fs.readFileSync(listFile, 'utf8').split('\n').map((l) => l.trim()).filter(Boolean);
// Called by the runtime (main) and by the program's own glue code (malloc, and the callbacks of
// the storage and the catalog's load, which its EM_JS functions make), not by the page.
const notFromPage = new Set(['_main', '_malloc', '_pel_storage_done']);
// What the runtime exports for itself: constructors, exceptions, the asyncify stack, dynCalls.
const runtime = /^(___wasm_call_ctors|___errno_location|_free|_setThrew|stack(Save|Restore|Alloc)|___cxa_\w+|dynCall_\w+|_asyncify_\w+|_emscripten_stack_\w+)$/;

function files(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((e) => {
    const p = path.join(dir, e.name);
    return e.isDirectory() ? files(p) : [p];
  });
}

// Everything wrong with the folder's page, as sentences.
function faults(dir) {
  const all = files(dir);
  const scripts = all.filter((f) => /\.(js|html)$/.test(f)).map((f) => ({ f, text: fs.readFileSync(f, 'utf8') }));
  const wasm = all.filter((f) => f.endsWith('.wasm'));
  const glue = scripts.filter((s) => s.text.includes('Module["asm"]'));
  if (wasm.length !== 1 || glue.length !== 1) return [`expected one program in ${dir}, found ${wasm.length} .wasm and ${glue.length} glue scripts`];
  const found = [];

  // The .wasm's exports go by short names; the glue maps each to the C name it stands for.
  const names = new Map();
  for (const m of glue[0].text.matchAll(/Module\["(\w+)"\]=Module\["asm"\]\["([\w$]+)"\]/g)) names.set(m[2], m[1]);
  const exported = WebAssembly.Module.exports(new WebAssembly.Module(fs.readFileSync(wasm[0])))
    .filter((e) => e.kind === 'function').map((e) => names.get(e.name) || `(unnamed ${e.name})`);
  for (const name of exported) {
    if (!listed.includes(name) && !runtime.test(name)) found.push(`the program exports ${name}, which the list does not name`);
  }
  for (const name of listed) {
    if (!exported.includes(name)) found.push(`the program does not export ${name}`);
  }

  const page = scripts.filter((s) => s !== glue[0]).map((s) => s.text).join('\n');
  const called = new Set([...page.matchAll(/Module\.(_\w+)\(/g)].map((m) => m[1]));
  for (const name of called) if (!listed.includes(name)) found.push(`the page calls ${name}, which the list does not name`);
  for (const name of listed) if (!notFromPage.has(name) && !called.has(name)) found.push(`the page never calls ${name}`);

  for (const { f, text } of scripts) {
    for (const hook of ['pelmoravanTest', '_pel_test_']) {
      if (text.includes(hook)) found.push(`${path.relative(dir, f)} holds ${hook}`);
    }
  }
  return found;
}

const wrong = faults(shipped);
const caught = faults(testPage);
if (wrong.length) {
  console.error(`the shipped page at ${shipped}:\n  ${wrong.join('\n  ')}`);
  process.exit(1);
}
if (!caught.some((f) => f.includes('pel_test_')) || !caught.some((f) => f.includes('pelmoravanTest'))) {
  console.error(`the checks missed the hooks of the test page at ${testPage}: ${JSON.stringify(caught)}`);
  process.exit(1);
}
console.log(`the shipped page exports ${listed.length} listed functions and holds no test hook`);
