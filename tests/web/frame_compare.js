// SPDX-License-Identifier: MIT
// Compares two drawings of one frame, the desktop's and the page's, given what the frame drew:
// every picture must stand at the same place with its colour key applied alike, colours may
// differ only as two scalers' resampling does, and texts' inked boxes must agree within 2 px.
'use strict';

// Limits on the mean absolute difference of a picture's rectangle (colour channels, share of full
// scale) and on the share of its pixels far off. The page's canvas and the desktop's painter
// scale pictures each their own way; where pictures are scaled down by a quarter (the board of a
// display under 1024 wide) the worst rectangle differs by 0.5 % in the mean with 1.1 % of its
// pixels far off, and where they keep their size by nothing. A picture one pixel out of place
// differs by 5 to 8 % with 9 % of pixels far off, and a key left opaque paints whole runs of
// pixels far off; so the limits sit between, with room for another scaler's rounding.
const CELL_LIMIT = 0.03;
// Pixels this far off (largest channel) are not resampling: an edge of a few of them would
// hide in a cell's mean, so they are counted on their own.
const FAR = 96;
const FAR_SHARE = 0.04;
const TEXT_SLACK = 2;
const TILE_KEY = [199, 228, 255];

function px(img, x, y) {
  const i = (y * img.width + x) * 4;
  return [img.data[i], img.data[i + 1], img.data[i + 2]];
}

function clip(r, img) {
  return { left: Math.max(0, r.left), top: Math.max(0, r.top),
    right: Math.min(img.width, r.right), bottom: Math.min(img.height, r.bottom) };
}

function meanDiff(a, b, r, dx = 0, dy = 0) {
  let sum = 0, n = 0, far = 0;
  for (let y = r.top; y < r.bottom; ++y) {
    for (let x = r.left; x < r.right; ++x) {
      const bx = x + dx, by = y + dy;
      if (bx < 0 || by < 0 || bx >= b.width || by >= b.height) continue;
      const p = px(a, x, y), q = px(b, bx, by);
      const d = [0, 1, 2].map((c) => Math.abs(p[c] - q[c]));
      sum += d[0] + d[1] + d[2];
      if (Math.max(...d) >= FAR) far += 1;
      n += 1;
    }
  }
  return { mean: n ? sum / (3 * 255 * n) : 0, far: n ? far / n : 0 };
}

// Where a text left ink: pixels inside its cell (and a margin) that stand clearly off the
// brush colour it was drawn on.
function inkBox(img, t) {
  const brush = t.brush === null ? [0, 0, 0] : [t.brush & 255, (t.brush >> 8) & 255, (t.brush >> 16) & 255];
  const r = clip({ left: t.x - 3, top: t.y - 3, right: t.x + t.w + 3, bottom: t.y + t.h + 3 }, img);
  let box = null;
  for (let y = r.top; y < r.bottom; ++y) {
    for (let x = r.left; x < r.right; ++x) {
      const p = px(img, x, y);
      if (Math.max(...[0, 1, 2].map((c) => Math.abs(p[c] - brush[c]))) < 96) continue;
      if (!box) box = { left: x, top: y, right: x + 1, bottom: y + 1 };
      box.left = Math.min(box.left, x); box.top = Math.min(box.top, y);
      box.right = Math.max(box.right, x + 1); box.bottom = Math.max(box.bottom, y + 1);
    }
  }
  return box;
}

// Returns a list of faults (empty when the frames agree) and the figures behind them.
function compareFrames(desktop, page, drawn) {
  const faults = [];
  if (desktop.width !== page.width || desktop.height !== page.height) {
    return { faults: [`sizes differ: ${desktop.width}x${desktop.height} and ${page.width}x${page.height}`] };
  }
  let worstMean = 0, worstFar = 0, pictures = 0, texts = 0;
  for (const item of drawn) {
    if (item.picture !== undefined) {
      const r = clip(item, desktop);
      if (r.right <= r.left || r.bottom <= r.top) continue;
      pictures += 1;
      const at = `${item.picture} at (${item.left}, ${item.top})`;
      const here = meanDiff(desktop, page, r);
      worstMean = Math.max(worstMean, here.mean); worstFar = Math.max(worstFar, here.far);
      if (here.mean > CELL_LIMIT) faults.push(`${at}: mean difference ${(100 * here.mean).toFixed(2)} %`);
      if (here.far > FAR_SHARE) faults.push(`${at}: ${(100 * here.far).toFixed(1)} % of pixels far off`);
      // In place: no shifted reading of the page matches the desktop better.
      for (let dy = -2; dy <= 2; ++dy) {
        for (let dx = -2; dx <= 2; ++dx) {
          if ((dx || dy) && meanDiff(desktop, page, r, dx, dy).mean < here.mean - 0.002) {
            faults.push(`${at}: the page's drawing matches better shifted by (${dx}, ${dy})`);
          }
        }
      }
      if (/^\d+$/.test(item.picture)) {
        for (const [name, img] of [['desktop', desktop], ['page', page]]) {
          let keyed = 0;
          for (let y = r.top; y < r.bottom; ++y) {
            for (let x = r.left; x < r.right; ++x) {
              const p = px(img, x, y);
              if (p[0] === TILE_KEY[0] && p[1] === TILE_KEY[1] && p[2] === TILE_KEY[2]) keyed += 1;
            }
          }
          if (keyed) faults.push(`${at}: ${keyed} pixels of the ${name}'s drawing show the colour key`);
        }
      }
    } else if (item.text !== undefined) {
      texts += 1;
      const a = inkBox(desktop, item), b = inkBox(page, item);
      if (!a || !b) { faults.push(`text "${item.text}": no ink on the ${a ? 'page' : 'desktop'}`); continue; }
      const off = Math.max(...['left', 'top', 'right', 'bottom'].map((k) => Math.abs(a[k] - b[k])));
      if (off > TEXT_SLACK) {
        faults.push(`text "${item.text}": ink ${JSON.stringify(a)} on the desktop, ${JSON.stringify(b)} on the page`);
      }
    }
  }
  if (pictures === 0 || texts === 0) faults.push(`the frame drew ${pictures} pictures and ${texts} texts`);
  return { faults, worstMean, worstFar, pictures, texts };
}

module.exports = { compareFrames, CELL_LIMIT };
