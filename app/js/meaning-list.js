// The "by meaning" pane: lists the senses whose gloss, samples or synonyms
// match a description typed into the search field, best first, each as its
// word, its part of speech and its definition. Choosing one
// opens that sense ("word:n", the links view of that one sense).
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
    element.addEventListener('click', (event) => {
      const item = event.target.closest('li[data-word]');
      if (item) onChoose(`${item.dataset.word}:${item.dataset.sense}`);
    });
  }

  // Searches for `text` after a short pause in typing; `now` skips the pause.
  search(text, { now = false } = {}) {
    clearTimeout(this.timer);
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
    this.element.replaceChildren(...results.map((result) => {
      const item = document.createElement('li');
      item.dataset.word = result.word;
      item.dataset.sense = String(result.sense);
      const word = Object.assign(document.createElement('span'), { className: 'word', textContent: result.word });
      const gloss = Object.assign(document.createElement('span'), { className: 'gloss', textContent: result.gloss });
      item.append(word, ' ');
      // The part of speech tells apart the senses a word can have ("run" the verb, "run" the noun).
      if (result.pos) item.append(Object.assign(document.createElement('span'), { className: 'pos', textContent: result.pos }), ' ');
      item.append(gloss);
      return item;
    }));
  }
}
