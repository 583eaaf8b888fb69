// One of the user's word lists (history, favourites, and the settings that
// are on, which have no element to show them in), kept by the engine as a
// JSON array of words in the list file `name`. The list is stored whole after
// every change, so a change is made only once the stored list has been read:
// while the engine cannot read it (no database yet), a change would replace
// the user's list with a nearly empty one.
import { getManagedWords, setManagedWords } from './engine.js';
import { wordLabel } from './word-label.js';

export class SavedList {
  constructor(name, element, { limit, onChoose, onChange, onFailure }) {
    this.name = name;
    this.element = element;
    this.limit = limit;
    this.onChange = onChange;
    this.onFailure = onFailure;
    this.words = [];
    this.loaded = null;
    this.readable = false;
    element?.addEventListener('click', (event) => {
      const item = event.target.closest('li');
      if (!item) return;
      if (event.target.closest('.remove')) this.remove(item.dataset.word);
      else onChoose(item.dataset.word);
    });
  }

  // Reads the stored list; resolves to the engine's answer so that the caller
  // can report a database error.
  load() {
    this.loaded = getManagedWords(this.name).then((answer) => {
      if (!answer.errorcode) {
        const words = Array.isArray(answer.words) ? answer.words : [];
        this.words = words.filter((word) => typeof word === 'string').slice(0, this.limit);
        this.readable = true;
        this.render();
      }
      return answer;
    });
    return this.loaded;
  }

  has(word) {
    return this.words.includes(word);
  }

  // Puts `word` first; an earlier entry of it moves up instead of repeating.
  async add(word) {
    if (!(await this.ensureRead())) return;
    this.words = [word, ...this.words.filter((w) => w !== word)].slice(0, this.limit);
    await this.changed();
  }

  async remove(word) {
    if (!(await this.ensureRead())) return;
    this.words = this.words.filter((w) => w !== word);
    await this.changed();
  }

  // Adds the words not yet in the list after those already there, as far as
  // the limit allows. Resolves to how many were added, were there already and
  // did not fit, or to null when the stored list could not be read.
  async merge(words) {
    if (!(await this.ensureRead())) return null;
    const known = new Set(this.words);
    const fresh = words.filter((word) => !known.has(word));
    const room = Math.max(0, this.limit - this.words.length);
    const added = fresh.slice(0, room);
    if (added.length) {
      this.words = [...this.words, ...added];
      await this.changed();
    }
    return { added: added.length, present: words.length - fresh.length, full: fresh.length - added.length };
  }

  async clear() {
    if (!(await this.ensureRead())) return;
    this.words = [];
    await this.changed();
  }

  // Waits for the first load, so that an early change is not undone by the
  // stored list arriving after it, and reads the list again when that load
  // failed. True when the list has been read.
  async ensureRead() {
    try {
      await this.loaded;
      if (!this.readable) await this.load();
    } catch (error) {
      this.onFailure(error);
    }
    return this.readable;
  }

  async changed() {
    this.render();
    this.onChange?.();
    try {
      await setManagedWords(this.name, JSON.stringify(this.words));
    } catch (error) {
      this.onFailure(error);
    }
  }

  render() {
    this.element?.replaceChildren(...this.words.map((word) => {
      const item = document.createElement('li');
      item.dataset.word = word;
      const label = document.createElement('button');
      label.type = 'button';
      label.className = 'word';
      label.textContent = wordLabel(word);
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.className = 'remove';
      remove.title = `Remove ${wordLabel(word)}`;
      remove.setAttribute('aria-label', remove.title);
      remove.textContent = '\u00d7';
      item.append(label, remove);
      return item;
    }));
  }
}
