// The start screen: the word of the day (a common word the engine picks for
// the local date, never an offensive one) with its first sense as the
// dictionary view shows it and a link to its entry, then the words looked up
// last. It is brought up to date whenever it is shown again (the history may
// have grown, the day may have changed). While it is on screen the body has
// the class "starting", which lets a phone show it above the index.
import { getDefinition, getWordOfTheDay } from './engine.js';
import { wordLabel } from './word-label.js';

const RECENT_COUNT = 8;
const DAY_MS = 24 * 60 * 60 * 1000;

// Days since 1970-01-01 of the local calendar date of `date`.
export function localDay(date = new Date()) {
  return Math.floor(Date.UTC(date.getFullYear(), date.getMonth(), date.getDate()) / DAY_MS);
}

// The text of the first sense in a dictionary view's HTML: its gloss and first
// sample, without the synonyms; '' when the view has no sense.
export function firstSense(html) {
  const page = new DOMParser().parseFromString(html, 'text/html');
  const sense = page.querySelector('li.definition');
  if (!sense) return { gloss: '', sample: '' };
  const sample = sense.querySelector('.sample')?.textContent.trim() ?? '';
  sense.querySelectorAll('.syn, .sample, img, sup').forEach((node) => node.remove());
  const gloss = sense.textContent.replace(/\s*\u2022\s*/g, ' ').replace(/\s+/g, ' ').trim();
  return { gloss, sample };
}

function wordLink(word, className) {
  const link = Object.assign(document.createElement('a'), {
    href: `#${encodeURIComponent(word)}`, textContent: wordLabel(word), className,
  });
  link.dataset.word = word;
  return link;
}

export class StartScreen {
  // `element` is the welcome panel; `onChoose(word)` opens a word and
  // `recentWords()` gives the history, most recent first.
  constructor(element, { onChoose, recentWords }) {
    this.element = element;
    this.recentWords = recentWords;
    this.day = null;
    this.daily = element.querySelector('#word-of-the-day');
    this.recent = element.querySelector('#recent-words');
    element.addEventListener('click', (event) => {
      const link = event.target.closest('a[data-word]');
      if (!link) return;
      event.preventDefault();
      onChoose(link.dataset.word);
    });
    // The panel is hidden by whoever shows a definition, and may be shown again.
    new MutationObserver(() => this.update()).observe(element, { attributes: true, attributeFilter: ['hidden'] });
    document.body.classList.add('starting');
  }

  update() {
    document.body.classList.toggle('starting', !this.element.hidden);
    if (this.element.hidden) return;
    this.showRecent();
    if (this.day !== localDay()) this.showWordOfTheDay();
  }

  // Fills in the word of the day of `day`; left hidden when the engine has
  // none (no search data) or cannot be reached.
  async showWordOfTheDay(day = localDay()) {
    try {
      const { word } = await getWordOfTheDay(day);
      if (!word) return;
      const answer = await getDefinition(word);
      if (answer.errorcode) return;
      const { gloss, sample } = firstSense(answer.dictionary ?? '');
      this.daily.querySelector('.daily-word').replaceChildren(wordLink(answer.word || word, 'daily-link'));
      this.daily.querySelector('.daily-sense').textContent = gloss;
      const example = this.daily.querySelector('.daily-sample');
      example.textContent = sample ? `\u201c${sample}\u201d` : '';
      example.hidden = !sample;
      this.daily.hidden = false;
      this.day = day;
    } catch {
      // The rest of the start screen stands without it.
    }
  }

  // Lists the words looked up last as links.
  showRecent() {
    const words = this.recentWords();
    const list = this.recent.querySelector('ul');
    list.replaceChildren(...words.slice(0, RECENT_COUNT).map((word) => {
      const item = document.createElement('li');
      item.append(wordLink(word, 'recent-link'));
      return item;
    }));
    this.recent.hidden = words.length === 0;
  }
}
