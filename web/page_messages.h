// The messages from the game to the page, one function each: worker.js
// hands them on as they are, and the page draws, sounds and shows what they
// say. The window's texts travel as their GBK bytes, which the page
// decodes; the move record is UTF-8, as the notation writes it. Only
// worker_window.cpp includes this file, since EM_JS defines the functions.
#pragma once

#include <emscripten.h>

#include <cstdint>

EM_JS(void, PostBoard, (const int32_t* cells, int count), {
  const start = cells >> 2;
  postMessage({type: 'board', cells: Array.from(HEAP32.subarray(start, start + 4 * count))});
});
EM_JS(void, PostSquare, (int x, int y, int piece, int framed), {
  postMessage({type: 'square', x: x, y: y, piece: piece, framed: framed !== 0});
});
EM_JS(void, PostSound, (int id), { postMessage({type: 'sound', id: id}); });
EM_JS(void, PostBeep, (), { postMessage({type: 'sound', id: 'beep'}); });
EM_JS(void, PostBox, (const char* text, const char* caption, unsigned style, const char* icon), {
  const bytes = (p) => HEAPU8.slice(p, p + HEAPU8.subarray(p).indexOf(0));
  postMessage({type: 'box', text: bytes(text), caption: bytes(caption), style: style,
               icon: UTF8ToString(icon)});
});
EM_JS(void, PostUndo, (int enabled), { postMessage({type: 'undo', enabled: enabled !== 0}); });
EM_JS(void, PostBusy, (int busy), { postMessage({type: 'busy', busy: busy !== 0}); });
EM_JS(void, PostMenuState, (int level, int soundOn), {
  postMessage({type: 'menu', level: level, sound: soundOn !== 0});
});
EM_JS(void, PostLink, (int id, const char* address), {
  postMessage({type: 'link', id: id, address: UTF8ToString(address)});
});
EM_JS(void, PostText, (const char* name, const char* text), {
  const end = HEAPU8.subarray(text).indexOf(0);
  postMessage({type: 'text', name: UTF8ToString(name), bytes: HEAPU8.slice(text, text + end)});
});
EM_JS(void, PostSave, (const char* text), { postMessage({type: 'save', text: UTF8ToString(text)}); });
EM_JS(void, PostNotResumed, (const char* reason), {
  postMessage({type: 'notResumed', reason: UTF8ToString(reason)});
});
EM_JS(void, PostRecord, (const char* pairs, const char* result, const char* outcome, const char* text,
                         const char* pgn, int humanBlack, int blackToMove, int over), {
  postMessage({type: 'record', pairs: UTF8ToString(pairs), result: UTF8ToString(result),
               outcome: UTF8ToString(outcome), text: UTF8ToString(text), pgn: UTF8ToString(pgn),
               humanBlack: humanBlack !== 0,
               blackToMove: blackToMove !== 0, over: over !== 0});
});
EM_JS(void, PostTypedMove, (const char* fault), {
  postMessage({type: 'typedMove', fault: UTF8ToString(fault)});
});
