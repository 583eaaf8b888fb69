// Shows one definition answer: a tab for each view the answer carries
// (dictionary, thesaurus, links) and the chosen view's HTML, whose links are
// turned into the application's own actions.
//
// The views' hrefs are commands, not addresses: "~showipa" and "~playaudio",
// or a word to look up, URL-encoded when it names one sense ("cat%3A2").
// A word link clicked with a modifier, or with the middle button, is left to
// the browser, which opens the word's address in a new tab or window.
import { showPronunciationAsText } from './pronunciation.js';
import { useReaderLabels } from './reader-labels.js';
import { linkThesaurusEntries } from './thesaurus-links.js';

const VIEW_ORDER = ['dictionary', 'thesaurus', 'links'];

export class DefinitionView {
  constructor(root, { onWord, onShowIpa, onPlayAudio, onView }) {
    this.root = root;
    this.content = root.querySelector('#view');
    this.tabs = [...root.querySelectorAll('.view-tabs [data-view]')];
    this.answer = null;
    this.current = '';
    this.onView = onView;
    for (const tab of this.tabs) {
      tab.addEventListener('click', () => this.chooseView(tab.dataset.view));
      tab.addEventListener('keydown', (event) => this.onTabKey(event));
    }
    this.content.addEventListener('click', (event) => {
      const link = event.target.closest('a[href]');
      if (!link || !this.content.contains(link)) return;
      const href = link.getAttribute('href');
      const command = href.startsWith('~');
      if (!command && (event.ctrlKey || event.metaKey || event.shiftKey || event.altKey)) return;
      event.preventDefault();
      if (href === '~showipa') onShowIpa();
      else if (href === '~playaudio') onPlayAudio(link);
      else if (href) onWord(decodeWordHref(href));
    });
  }

  get word() {
    return this.answer ? this.answer.word : '';
  }

  // Shows a found definition; `preferred` names the view to open when the
  // answer has it, otherwise the first view it has opens.
  show(answer, preferred) {
    this.answer = answer;
    for (const tab of this.tabs) tab.hidden = !answer[tab.dataset.view];
    const available = VIEW_ORDER.filter((name) => answer[name]);
    this.root.hidden = false;
    this.selectView(available.includes(preferred) ? preferred : available[0] ?? 'dictionary');
  }

  selectView(name) {
    this.current = name;
    for (const tab of this.tabs) {
      const selected = tab.dataset.view === name;
      tab.setAttribute('aria-selected', String(selected));
      tab.tabIndex = selected ? 0 : -1;
    }
    this.content.dataset.view = name;
    this.content.innerHTML = this.answer?.[name] ?? '';
    showPronunciationAsText(this.content);
    if (name === 'thesaurus') linkThesaurusEntries(this.content);
    useReaderLabels(this.content);
    this.content.scrollTop = 0;
  }

  // A view the reader chose with its tab: shown, and reported to `onView`.
  chooseView(name) {
    this.selectView(name);
    this.onView?.(name);
  }

  // Left and right arrows move between the visible tabs.
  onTabKey(event) {
    if (event.key !== 'ArrowLeft' && event.key !== 'ArrowRight') return;
    const visible = this.tabs.filter((tab) => !tab.hidden);
    const at = visible.findIndex((tab) => tab.dataset.view === this.current);
    const next = visible[(at + (event.key === 'ArrowRight' ? 1 : visible.length - 1)) % visible.length];
    this.chooseView(next.dataset.view);
    next.focus();
    event.preventDefault();
  }
}

// The request word an href names. Word links carry the word as it stands;
// a link icon adds its sense number as "%3A" and digits, the URL form of ":".
// Only that suffix is decoded, so a headword holding "%" stays intact.
function decodeWordHref(href) {
  return href.replace(/%3A(\d+)$/i, ':$1');
}
