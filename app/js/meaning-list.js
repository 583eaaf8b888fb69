// The "by meaning" pane: lists the senses whose gloss, samples or synonyms
// match a description typed into the search field, best first, each as its
// word, its part of speech and its definition. Choosing one opens that sense
// ("word:n", the links view of that one sense). The results are walked with
// the arrow keys from the search field (a selection) or with Tab (each result
// takes the focus), and Enter opens one.
import { searchDefinitions } from './engine.js';

const RESULT_COUNT = 25;
const TYPING_PAUSE_MS = 250;

export class MeaningList {
  constructor(element, status, { onChoose, onAnswerError, onFailure }) {
    this.element = element;
    this.status = status;
    this.onAnswerError = onAnswerError;
    this.onFailure = onFailure;
    this.text = null;
    this.generation = 0;
    this.timer = 0;
    this.selected = -1;
    this.onChoose = onChoose;
    element.addEventListener('click', (event) => this.choose(event.target.closest('li[data-word]')));
    element.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter' || !event.target.matches('li[data-word]')) return;
      event.preventDefault();
      this.choose(event.target);
    });
  }

  choose(item) {
    if (item) this.onChoose(`${item.dataset.word}:${item.dataset.sense}`);
  }

  // Moves the selection by `delta` results (from before the first one).
  moveSelection(delta) {
    const items = this.element.children;
    if (!items.length) return;
    this.select(Math.max(0, Math.min(items.length - 1, this.selected + delta)));
  }

  select(index) {
    const items = this.element.children;
    items[this.selected]?.setAttribute('aria-selected', 'false');
    this.selected = index;
    items[index]?.setAttribute('aria-selected', 'true');
    items[index]?.scrollIntoView({ block: 'nearest' });
  }

  selectedItemId() {
    return this.element.children[this.selected]?.id ?? '';
  }

  // Opens the selected result; false when none is selected.
  chooseSelected() {
    const item = this.element.children[this.selected];
    this.choose(item);
    return Boolean(item);
  }

  // Searches for `text` after a short pause in typing; `now` skips the pause.
  search(text, { now = false } = {}) {
    clearTimeout(this.timer);
    this.select(-1);
    if (text === this.text) return Promise.resolve();
    if (now) return this.run(text);
    return new Promise((resolve) => {
      this.timer = setTimeout(() => resolve(this.run(text)), TYPING_PAUSE_MS);
    });
  }

  async run(text) {
    const generation = ++this.generation;
    this.text = text;
    if (!text.trim()) {
      this.show([], 'Describe the word you are looking for, for example "fear of spiders".');
      return;
    }
    let answer;
    try {
      answer = await searchDefinitions(text, RESULT_COUNT);
    } catch (error) {
      this.text = null;
      this.onFailure(error);
      return;
    }
    if (generation !== this.generation) return;
    if (answer.errorcode) {
      this.text = null;
      this.show([], '');
      this.onAnswerError(answer);
      return;
    }
    const results = Array.isArray(answer.results) ? answer.results : [];
    let note = results.length ? '' : 'No definition matches these words.';
    if (answer.truncated) note = 'Only the first words of this long description were searched.';
    this.show(results, note);
    this.element.dispatchEvent(new CustomEvent('lexora:meaning-listed', { bubbles: true }));
  }

  show(results, note) {
    this.status.textContent = note;
    this.status.hidden = !note;
    this.selected = -1;
    this.element.replaceChildren(...results.map((result, index) => {
      const item = document.createElement('li');
      item.id = `meaning-result-${index}`;
      item.tabIndex = 0;
      item.dataset.word = result.word;
      item.dataset.sense = String(result.sense);
      const word = Object.assign(document.createElement('span'), { className: 'word', textContent: result.word });
      const gloss = Object.assign(document.createElement('span'), { className: 'gloss', textContent: result.gloss });
      item.append(word, ' ');
      // The part of speech tells apart the senses a word can have ("run" the verb, "run" the noun).
      if (result.pos) item.append(Object.assign(document.createElement('span'), { className: 'pos', textContent: result.pos }), ' ');
      item.append(gloss);
      // The sense's other words: the one the reader meant may be among them ("mailman": postman).
      if (result.also?.length) item.append(' ', Object.assign(document.createElement('span'), { className: 'also', textContent: `also ${result.also.join(', ')}` }));
      return item;
    }));
  }
}
