// SPDX-License-Identifier: MIT
// The canvas the surface draws on: an off-screen back buffer, copied to the page's canvas at each
// present and shown scaled.
(() => {
  'use strict';
  const P = Pel;
  const front = document.getElementById('surface');
  P.front = front;
  const frontCtx = front.getContext('2d', { alpha: false });
  const back = document.createElement('canvas');
  let ctx = back.getContext('2d', { alpha: false });
  const area = document.getElementById('area');

  const css = (bgr) =>
    `rgb(${bgr & 255},${(bgr >> 8) & 255},${(bgr >> 16) & 255})`;
  const heap32 = () => Module.HEAP32;
  // Texts are drawn with the face the page carries; sizes are points at 96 dpi, as on the desktop.
  const fontFor = (points) => `${(points * 96) / 72}px "WenQuanYi Micro Hei", sans-serif`;

  P.area = () => ({ width: Math.max(1, area.clientWidth), height: Math.max(1, area.clientHeight) });

  // The surface is drawn at the program's one screen size and shown at the largest scale that
  // fits the area, above 1 as well as below, so every viewport shows the whole game; or, where
  // P.shownRegion names a part of it (a finger's board in play), that part alone, clipped by the
  // view around the canvas. The page's canvas holds the surface's own pixels, copied 1:1 at each
  // present, and the browser's compositor scales it by its CSS size: a smoothed copy in script at
  // every frame cost more than the frame itself. Whole device scales stay sharp.
  const view = document.getElementById('view');
  P.view = view;
  P.scale = 1;
  function fit() {
    const a = P.area();
    const whole = { x: 0, y: 0, w: back.width, h: back.height };
    const r = (P.shownRegion && P.shownRegion()) || whole;
    const scale = Math.min(a.width / r.w, a.height / r.h);
    const dpr = window.devicePixelRatio || 1;
    P.scale = scale;
    view.style.width = `${Math.max(1, Math.floor(r.w * scale))}px`;
    view.style.height = `${Math.max(1, Math.floor(r.h * scale))}px`;
    if (r === whole) {
      front.style.width = view.style.width;
      front.style.height = view.style.height;
    } else {
      front.style.width = `${back.width * scale}px`;
      front.style.height = `${back.height * scale}px`;
    }
    front.style.left = `${-r.x * scale}px`;
    front.style.top = `${-r.y * scale}px`;
    const device = scale * dpr;
    front.style.imageRendering = Math.abs(device - Math.round(device)) < 1e-6 ? 'pixelated' : 'auto';
    if (P.onFit) P.onFit(scale);
  }
  // Whatever changes the area (a resize, a turn of the device, the menu bar or the play buttons
  // appearing) fits the canvas again at once; the compositor rescales what is already drawn.
  if (window.ResizeObserver) new ResizeObserver(() => fit()).observe(area);
  window.addEventListener('resize', () => fit());

  // --- the surface ---
  P.pictures = [];
  let stretched = null;
  // Since the last fill of the whole back buffer: its colour, and the box every draw since lay
  // in (null: none). A fill of the same colour then clears that box alone, the rest being that
  // colour still: the title fills the whole surface each frame and draws only the logo on it.
  let filled = null;
  const drawn = (l, t, w, h) => {
    if (!filled) return;
    const b = filled.box;
    filled.box = b ? [Math.min(b[0], l), Math.min(b[1], t), Math.max(b[2], l + w), Math.max(b[3], t + h)]
      : [l, t, l + w, t + h];
  };
  const drawnAll = () => drawn(0, 0, back.width, back.height);
  P.presented = false;
  P.surface = {
    resize(w, h) {
      back.width = w;
      back.height = h;
      ctx = back.getContext('2d', { alpha: false });
      ctx.imageSmoothingEnabled = false;
      ctx.fillStyle = '#000';
      ctx.fillRect(0, 0, w, h);
      filled = { rgb: 0, box: null };
      front.width = w;
      front.height = h;
      frontCtx.imageSmoothingEnabled = false;
      fit();
    },
    fill(rgb) {
      // A device value: red in bits 16..23.
      ctx.fillStyle = `rgb(${(rgb >> 16) & 255},${(rgb >> 8) & 255},${rgb & 255})`;
      if (filled && filled.rgb === rgb) {
        const b = filled.box;
        if (b) ctx.fillRect(b[0], b[1], b[2] - b[0], b[3] - b[1]);
      } else {
        ctx.fillRect(0, 0, back.width, back.height);
      }
      filled = { rgb, box: null };
    },
    fillRect(l, t, w, h, bgr) {
      ctx.fillStyle = css(bgr);
      ctx.fillRect(l, t, w, h);
      drawn(l, t, w, h);
    },
    image(id, sx, sy, sw, sh, dx, dy, dw, dh) {
      ctx.drawImage(P.pictures[id].source, sx, sy, sw, sh, dx, dy, dw, dh);
      drawn(dx, dy, dw, dh);
    },
    // Each row is the picture's row stretched to w and shifted. The stretched rows are kept, in
    // the list's order, while the picture and the rows' sources stay the same (the title's logo
    // keeps them from frame to frame); a frame then copies each run of rows that lie one under
    // the other with one shift in one call, 1:1, instead of one call a row.
    wave(id, sx, sy, sw, x, w, rows, count) {
      const source = P.pictures[id].source;
      const h = heap32();
      const first = rows >> 2;
      let key = `${id} ${sx} ${sy} ${sw} ${w} ${count}`;
      let sum = 0;
      for (let i = 0, p = first; i < count; i++, p += 3) sum = (Math.imul(sum, 31) + h[p] * 4099 + h[p + 1]) | 0;
      key += ` ${sum}`;
      if (!stretched || stretched.key !== key || stretched.source !== source) {
        const c = document.createElement('canvas');
        c.width = Math.max(1, w);
        c.height = Math.max(1, count);
        // With alpha: a keyed picture's cleared pixels stay clear.
        const cc = c.getContext('2d');
        cc.imageSmoothingEnabled = false;
        for (let i = 0, p = first; i < count; i++, p += 3) cc.drawImage(source, sx, sy + h[p + 1], sw, 1, 0, i, w, 1);
        stretched = { key, source, canvas: c };
      }
      for (let i = 0, p = first; i < count;) {
        const shift = h[p + 2];
        let n = 1;
        while (i + n < count && h[p + 3 * n] === h[p] + n && h[p + 3 * n + 2] === shift) n++;
        ctx.drawImage(stretched.canvas, 0, i, w, n, x + shift, h[p], w, n);
        drawn(x + shift, h[p], w, n);
        i += n;
        p += 3 * n;
      }
    },
    text(x, y, text, points, ascent, fontBgr, boxW, boxH, brushBgr) {
      if (boxW > 0 && boxH > 0) {
        ctx.fillStyle = css(brushBgr);
        ctx.fillRect(x, y, boxW, boxH);
      }
      ctx.font = fontFor(points);
      ctx.textBaseline = 'alphabetic';
      ctx.fillStyle = css(fontBgr);
      ctx.fillText(text, x, y + ascent);
      // A face's ink may reach past any box measured for it.
      drawnAll();
    },
    measure(text, points, out) {
      ctx.font = fontFor(points);
      const m = ctx.measureText(text);
      const ascent = Math.round(m.fontBoundingBoxAscent ?? (points * 96) / 72);
      const descent = Math.round(m.fontBoundingBoxDescent ?? (points * 96) / 72 / 4);
      const h = heap32();
      h[out >> 2] = Math.round(m.width);
      h[(out >> 2) + 1] = ascent;
      h[(out >> 2) + 2] = ascent + descent;
    },
    // The program gives the stroke's width and whether it lies on pixel centres.
    polyline(xy, count, bgr, width, half) {
      const h = heap32();
      const o = half ? 0.5 : 0;
      ctx.lineWidth = width;
      ctx.lineCap = 'square';
      ctx.lineJoin = 'miter';
      ctx.strokeStyle = css(bgr);
      ctx.beginPath();
      let p = xy >> 2;
      ctx.moveTo(h[p] + o, h[p + 1] + o);
      for (let i = 1; i < count; i++) {
        p += 2;
        ctx.lineTo(h[p] + o, h[p + 1] + o);
      }
      if (count > 1) ctx.stroke();
      drawnAll();
    },
    // Only the areas (x, y, w, h each) that the frame changed are copied to the page's canvas:
    // in one copy of the box around them when they fill most of it (the waving logo's blocks),
    // since each copy costs far more than its pixels.
    present(rects, count) {
      const h = heap32();
      let [left, top, right, bottom, area] = [Infinity, Infinity, -Infinity, -Infinity, 0];
      for (let i = 0, p = rects >> 2; i < count; i++, p += 4) {
        left = Math.min(left, h[p]);
        top = Math.min(top, h[p + 1]);
        right = Math.max(right, h[p] + h[p + 2]);
        bottom = Math.max(bottom, h[p + 1] + h[p + 3]);
        area += h[p + 2] * h[p + 3];
      }
      if (count > 1 && (right - left) * (bottom - top) <= 1.25 * area) {
        frontCtx.drawImage(back, left, top, right - left, bottom - top, left, top, right - left, bottom - top);
      } else {
        for (let i = 0, p = rects >> 2; i < count; i++, p += 4) {
          frontCtx.drawImage(back, h[p], h[p + 1], h[p + 2], h[p + 3], h[p], h[p + 1], h[p + 2], h[p + 3]);
        }
      }
      if (!P.presented) {
        front.classList.remove('unshown');
        P.firstFrameAt = performance.now();
        P.presented = true;
        P.firstFrame();
      }
    },
  };
  P.fontFor = fontFor;
  P.back = back;
  P.fit = fit;
})();
