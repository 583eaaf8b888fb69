// The scrolling word list of the index pane: a window onto a list of
// headwords that grows by whole runs at either end as the user scrolls. The
// list is the alphabetical index, or the matches of a search.
//
// Runs are anchored on the words already shown, never on a scroll position:
// downwards a run after the last word, upwards a backward run from the first
// word. So the list always holds one unbroken stretch of its source, with no
// word repeated or skipped, however it was scrolled.
import { getIndexWords } from './engine.js';
import { markPainted } from './paint.js';

const RUN_LENGTH = 40;       // words per request
const KEEP_WORDS = 320;      // words held; beyond this the far end is dropped
const EDGE_PIXELS = 320;     // distance from an end at which the next run is loaded

// Where the runs come from: `first` the run a list starts with, `next` the run
// after a word, `previous` the run before a word going backwards. A search
// that pages forwards only has no `previous` (its list is never trimmed at the
// top); one answered in a single run has no `next` either.
const ALPHABETICAL = {
  first: (anchor, count) => getIndexWords(anchor, count, true, false),
  next: (word, count) => getIndexWords(word, count, true, true),
  previous: (word, count) => getIndexWords(word, count, false, false),
};

export class WordIndex {
  constructor(list, { onChoose, onAnswerError, onFailure }) {
    this.list = list;
    this.onChoose = onChoose;
    this.onAnswerError = onAnswerError;
    this.onFailure = onFailure;
    this.words = [];
    this.selected = -1;
    this.anchor = '';
    this.source = ALPHABETICAL;
    this.atStart = true;
    this.atEnd = true;
    this.generation = 0;
    this.loading = { up: false, down: false };
    this.nextId = 0;
    list.addEventListener('scroll', () => this.fill());
    list.addEventListener('click', (event) => {
      const item = event.target.closest('li');
      if (!item) return;
      this.select([...list.children].indexOf(item));
      this.onChoose(item.dataset.word);
    });
  }

  // Shows the index from `prefix` on: the first word at or after it heads the
  // list and is selected, and the words before it are loaded above.
  moveTo(prefix) {
    return this.show(ALPHABETICAL, prefix);
  }

  // Shows the words of `source` (see ALPHABETICAL) from the start; resolves
  // to the number of words shown, or null when the request failed.
  showMatches(source) {
    return this.show(source, '');
  }

  async show(source, anchor) {
    const generation = ++this.generation;
    this.loading = { up: false, down: false };
    const answer = await this.request(() => source.first(anchor, RUN_LENGTH));
    if (!answer || generation !== this.generation) return null;
    this.source = source;
    this.anchor = anchor;
    this.words = [];
    this.list.replaceChildren();
    this.atStart = !source.previous;
    this.atEnd = !source.next || answer.words.length < RUN_LENGTH;
    this.append(answer.words);
    this.select(this.words.length ? 0 : -1);
    this.list.scrollTop = 0;
    markPainted('lexora:index-painted');
    await this.extend('up');
    if (this.words.length && this.selected < 0) this.select(this.words.length - 1);
    this.fill();
    return this.words.length;
  }

  // Loads the next run at one end: 'down' continues after the last word,
  // 'up' goes back from the first one (or from the anchor while the list is
  // empty, when the prefix lies beyond the last headword).
  async extend(direction) {
    const down = direction === 'down';
    if (this.loading[direction] || (down ? this.atEnd : this.atStart)) return;
    const generation = this.generation;
    const edge = down ? this.words.at(-1) : (this.words.length ? this.words[0] : this.anchor);
    if (edge === undefined) return;
    this.loading[direction] = true;
    const source = this.source;
    const answer = await this.request(() => (down ? source.next(edge, RUN_LENGTH) : source.previous(edge, RUN_LENGTH)));
    if (generation !== this.generation) return;
    this.loading[direction] = false;
    // The other end may have trimmed this one away meanwhile: the run would
    // then no longer join the list.
    const currentEdge = down ? this.words.at(-1) : (this.words.length ? this.words[0] : this.anchor);
    if (!answer || currentEdge !== edge) return;
    if (down) {
      this.atEnd = answer.words.length < RUN_LENGTH;
      this.append(answer.words);
      this.trim('top');
    } else {
      this.atStart = answer.words.length < RUN_LENGTH;
      this.prepend([...answer.words].reverse());
      this.trim('bottom');
    }
    this.fill();
  }

  // Loads more words while the visible part is close to either end.
  fill() {
    const list = this.list;
    if (list.clientHeight === 0) return;
    if (list.scrollTop + list.clientHeight >= list.scrollHeight - EDGE_PIXELS) this.extend('down');
    if (list.scrollTop <= EDGE_PIXELS) this.extend('up');
  }

  async request(send) {
    try {
      const answer = await send();
      if (answer.errorcode) {
        this.onAnswerError(answer);
        return null;
      }
      return answer;
    } catch (error) {
      this.onFailure(error);
      return null;
    }
  }

  makeItem(word) {
    const item = document.createElement('li');
    item.id = `index-word-${this.nextId++}`;
    item.setAttribute('role', 'option');
    item.dataset.word = word;
    item.textContent = word;
    return item;
  }

  append(words) {
    this.list.append(...words.map((word) => this.makeItem(word)));
    this.words.push(...words);
  }

  // Inserts above the visible words without moving them on screen.
  prepend(words) {
    if (!words.length) return;
    const before = this.list.scrollHeight;
    this.list.prepend(...words.map((word) => this.makeItem(word)));
    this.words.unshift(...words);
    this.list.scrollTop += this.list.scrollHeight - before;
    if (this.selected >= 0) this.selected += words.length;
  }

  trim(end) {
    const excess = this.words.length - KEEP_WORDS;
    if (excess <= 0 || !this.source.previous) return;
    if (end === 'top') {
      const before = this.list.scrollHeight;
      for (let i = 0; i < excess; i++) this.list.firstElementChild.remove();
      this.words.splice(0, excess);
      this.list.scrollTop -= before - this.list.scrollHeight;
      this.selected = this.selected >= excess ? this.selected - excess : -1;
      this.atStart = false;
    } else {
      for (let i = 0; i < excess; i++) this.list.lastElementChild.remove();
      this.words.length = KEEP_WORDS;
      if (this.selected >= KEEP_WORDS) this.selected = -1;
      this.atEnd = false;
    }
  }

  select(index) {
    const items = this.list.children;
    items[this.selected]?.setAttribute('aria-selected', 'false');
    this.selected = index;
    const item = items[index];
    if (!item) return;
    item.setAttribute('aria-selected', 'true');
    item.scrollIntoView({ block: 'nearest' });
  }

  // Moves the selection by `delta` words; the list loads more as it scrolls.
  moveSelection(delta) {
    if (!this.words.length) return;
    const from = this.selected < 0 ? 0 : this.selected;
    this.select(Math.max(0, Math.min(this.words.length - 1, from + delta)));
    this.fill();
  }

  selectedWord() {
    return this.words[this.selected];
  }

  selectedItemId() {
    return this.list.children[this.selected]?.id ?? '';
  }
}
