// The tab's history of words. Each word shown is a step of the browser's
// history at the address "#word", remembering the view shown and how far it
// was scrolled, so that Back and Forward bring the same page back; the step
// before the first word is the start screen (word ""). The page may be
// opened at other addresses of the app: a word as a path ("/cat", a word link
// of a view opened in a new tab) or as a query ("?q=cat"); the step the page
// starts with names that word at its "#word" address.

const SCROLL_SAVE_PAUSE_MS = 150;

// The word an address names: its "#word", else its "?q=", else its path. A
// part that is not valid percent-encoding is taken as it stands.
export function wordFromAddress({ hash, search, pathname }) {
  if (hash.length > 1) return decodePart(hash.slice(1));
  const query = new URLSearchParams(search).get('q');
  if (query !== null) return query.trim();
  return decodePart(pathname.slice(1));
}

function decodePart(text) {
  try {
    return decodeURIComponent(text);
  } catch {
    return text;
  }
}

// The address of a step: the app's page, with the word after "#".
export function addressOf(word) {
  return word ? `/#${encodeURIComponent(word)}` : '/';
}

export class Navigation {
  // `onRestore(step)` shows a step Back or Forward (or a typed address)
  // returned to: {word, view, scroll}.
  constructor({ onRestore }) {
    this.onRestore = onRestore;
    this.lastStep = 0;
    this.scrollTimer = 0;
    history.scrollRestoration = 'manual';  // the view's own scroll is restored here
    window.addEventListener('popstate', (event) => this.returnTo(event.state));
  }

  // The step the page starts with: the one a reload left, or a new one for
  // the word the address names; its address is made "/#word".
  start() {
    const step = history.state?.lexora ? history.state : { ...this.newStep(wordFromAddress(location)), step: 0 };
    history.replaceState(step, '', addressOf(step.word));
    this.lastStep = step.step;
    return step;
  }

  get current() {
    return history.state ?? this.newStep('');
  }

  // True when Back leads to a step of this page rather than out of it.
  canGoBack() {
    return this.current.step > 0;
  }

  // Makes `word`, shown in `view`, the next step; showing the word of the
  // current step again only updates it. The place in the current step's word
  // is to be saved (saveScrollNow) before that word leaves the screen.
  push(word, view) {
    if (this.current.word === word) {
      this.update({ view, scroll: 0 });
      return;
    }
    const step = { ...this.newStep(word), step: this.current.step + 1, view };
    history.pushState(step, '', addressOf(word));
    this.lastStep = step.step;
  }

  update(changes) {
    history.replaceState({ ...this.current, ...changes }, '');
  }

  // Keeps the scroll position of `element` in the current step.
  watchScroll(element) {
    this.scroller = element;
    element.addEventListener('scroll', () => {
      clearTimeout(this.scrollTimer);
      this.scrollTimer = setTimeout(() => this.saveScrollNow(), SCROLL_SAVE_PAUSE_MS);
    });
  }

  saveScrollNow() {
    clearTimeout(this.scrollTimer);
    if (this.scroller && this.current.word) this.update({ scroll: this.scroller.scrollTop });
  }

  newStep(word) {
    return { lexora: true, step: this.lastStep + 1, word, view: '', scroll: 0 };
  }

  // A step of this page comes back as it was; an address typed into the
  // address bar (no state of ours) becomes a new step for its word.
  returnTo(state) {
    clearTimeout(this.scrollTimer);
    let step = state;
    if (!step?.lexora) {
      step = this.newStep(wordFromAddress(location));
      history.replaceState(step, '', addressOf(step.word));
    }
    this.lastStep = Math.max(this.lastStep, step.step);
    this.onRestore(step);
  }
}
