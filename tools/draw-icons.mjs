#!/usr/bin/env node
// Draws the web app's icons (app/images/speaker.png and link.png) from simple
// shapes, antialiased by supersampling, and writes them as RGBA PNG files.
// Run it again after changing a shape: node tools/draw-icons.mjs
import { writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { deflateSync } from 'node:zlib';

const INK = [0x20, 0x40, 0xc0];
const SAMPLES = 4; // per axis and pixel

// ---- geometry: each shape says whether a point lies inside it ----

function distanceToSegment(px, py, ax, ay, bx, by) {
  const dx = bx - ax;
  const dy = by - ay;
  const t = Math.max(0, Math.min(1, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)));
  return Math.hypot(px - (ax + t * dx), py - (ay + t * dy));
}

function insidePolygon(px, py, points) {
  let inside = false;
  for (let i = 0, j = points.length - 1; i < points.length; j = i++) {
    const [xi, yi] = points[i];
    const [xj, yj] = points[j];
    if ((yi > py) !== (yj > py) && px < ((xj - xi) * (py - yi)) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// A ring segment around (cx, cy) between two radii, within `spread` radians
// of the positive x axis, with round ends.
function arc(cx, cy, radius, width, spread) {
  return (x, y) => {
    const angle = Math.atan2(y - cy, x - cx);
    const r = Math.hypot(x - cx, y - cy);
    if (Math.abs(angle) <= spread) return Math.abs(r - radius) <= width / 2;
    const ex = cx + radius * Math.cos(spread);
    const ey = cy + radius * Math.sin(spread) * Math.sign(angle);
    return Math.hypot(x - ex, y - ey) <= width / 2;
  };
}

// The outline of a stadium (a segment widened by `radius`), `width` thick.
function stadiumOutline(ax, ay, bx, by, radius, width) {
  return (x, y) => Math.abs(distanceToSegment(x, y, ax, ay, bx, by) - radius) <= width / 2;
}

// ---- rasterising and PNG encoding ----

function render(size, shapes) {
  const pixels = Buffer.alloc(size * size * 4);
  for (let y = 0; y < size; y++) {
    for (let x = 0; x < size; x++) {
      let covered = 0;
      for (let sy = 0; sy < SAMPLES; sy++) {
        for (let sx = 0; sx < SAMPLES; sx++) {
          const px = x + (sx + 0.5) / SAMPLES;
          const py = y + (sy + 0.5) / SAMPLES;
          if (shapes.some((inside) => inside(px, py))) covered++;
        }
      }
      const offset = (y * size + x) * 4;
      pixels.set(INK, offset);
      pixels[offset + 3] = Math.round((255 * covered) / (SAMPLES * SAMPLES));
    }
  }
  return pixels;
}

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const byte of bytes) c = CRC_TABLE[(c ^ byte) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const length = Buffer.alloc(4);
  length.writeUInt32BE(data.length);
  const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(body));
  return Buffer.concat([length, body, crc]);
}

function encodePng(size, pixels) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header.set([8, 6, 0, 0, 0], 8); // 8-bit RGBA, no interlace
  const rows = [];
  for (let y = 0; y < size; y++) {
    rows.push(Buffer.from([0]), pixels.subarray(y * size * 4, (y + 1) * size * 4));
  }
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header),
    chunk('IDAT', deflateSync(Buffer.concat(rows), { level: 9 })),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

// ---- the icons, drawn on a 48-pixel grid ----

const speaker = [
  (x, y) => insidePolygon(x, y, [[5, 18], [14, 18], [25, 8], [25, 40], [14, 30], [5, 30]]),
  arc(25, 24, 8, 3.2, 0.8),
  arc(25, 24, 15, 3.2, 0.85),
];

const link = [
  stadiumOutline(11, 37, 21, 27, 7, 4),
  stadiumOutline(27, 21, 37, 11, 7, 4),
  (x, y) => distanceToSegment(x, y, 18, 30, 30, 18) <= 2,
];

const folder = join(dirname(fileURLToPath(import.meta.url)), '..', 'app', 'images');
writeFileSync(join(folder, 'speaker.png'), encodePng(48, render(48, speaker)));
writeFileSync(join(folder, 'link.png'), encodePng(48, render(48, link)));
