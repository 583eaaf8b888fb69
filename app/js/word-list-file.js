// Word lists as plain text files: one word a line, lines ended by "\r\n", so
// that any text editor (and the phone's own list files) read them alike. A
// word names one sense as a person writes it, "glad (sense 1)".
import { wordFromLabel, wordLabel } from './word-label.js';

// The longest word the engine looks up; longer lines cannot be headwords.
export const MAX_WORD_LENGTH = 56;

// A headword is printable ASCII; anything else on a line marks it as not a word.
const WORD_LINE = /^[\x20-\x7e]+$/;

export function formatWordList(words) {
  return words.map((word) => `${wordLabel(word)}\r\n`).join('');
}

// Reads the words of a list file in order, each once. Lines may end in "\r\n",
// "\n" or "\r"; blank lines are passed over; a line that cannot be a headword
// (too long, control or non-ASCII characters) is skipped and counted. The
// words come in their stored form ("glad:1").
export function parseWordList(text) {
  const words = [];
  const seen = new Set();
  let skipped = 0;
  for (const line of text.replace(/^\ufeff/, '').split(/\r\n|\n|\r/)) {
    const word = wordFromLabel(line.trim());
    if (!word) continue;
    if (word.length > MAX_WORD_LENGTH || !WORD_LINE.test(word)) {
      skipped++;
      continue;
    }
    if (seen.has(word)) continue;
    seen.add(word);
    words.push(word);
  }
  return { words, skipped };
}
