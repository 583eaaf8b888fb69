// Export and import of one saved word list as a text file: export saves the
// list as it stands; import merges the file's words that the dictionary has
// (as it spells them) into it and reports what it did, including the lines it
// skipped.
import { findHeadwords } from './engine.js';
import { formatWordList, parseWordList } from './word-list-file.js';

// A word list file is small; a larger file is not one.
const MAX_FILE_BYTES = 1 << 20;
// Words checked against the dictionary in one request.
const CHECK_BATCH = 5000;

export class ListTransfer {
  constructor(list, { title, exportButton, importButton, fileInput, onReport, onFailure }) {
    this.list = list;
    this.title = title;
    this.fileInput = fileInput;
    this.onReport = onReport;
    this.onFailure = onFailure;
    exportButton.addEventListener('click', () => this.exportFile());
    importButton.addEventListener('click', () => fileInput.click());
    fileInput.addEventListener('change', () => this.importChosenFile());
  }

  async exportFile() {
    if (!(await this.list.ensureRead())) return;
    const blob = new Blob([formatWordList(this.list.words)], { type: 'text/plain' });
    const link = Object.assign(document.createElement('a'), {
      href: URL.createObjectURL(blob),
      download: `lexora-${this.list.name}.txt`,
    });
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  async importChosenFile() {
    const file = this.fileInput.files[0];
    this.fileInput.value = '';
    if (!file) return;
    if (file.size > MAX_FILE_BYTES) {
      this.onReport(`${file.name} is not a word list: it is larger than 1 MB.`, 'error');
      return;
    }
    let text;
    try {
      text = await file.text();
    } catch (error) {
      this.onFailure(error);
      return;
    }
    const { words, skipped } = parseWordList(text);
    let headwords;
    try {
      headwords = await this.headwordsOf(words);
    } catch (error) {
      this.onFailure(error);
      return;
    }
    if (!headwords) return;
    // Two lines may name one headword ("cats", "cat"): it is added once.
    const result = await this.list.merge([...new Set(headwords.filter(Boolean))]);
    if (result) this.onReport(this.describe(result, skipped + headwords.filter((word) => !word).length), 'notice');
  }

  // The headword of each word ("" for a word the dictionary lacks); null
  // when the dictionary could not be read (reported).
  async headwordsOf(words) {
    const headwords = [];
    for (let at = 0; at < words.length; at += CHECK_BATCH) {
      const answer = await findHeadwords(words.slice(at, at + CHECK_BATCH));
      if (answer.errorcode) {
        this.onReport(answer.error || `The engine answered with "${answer.errorcode}".`, 'error');
        return null;
      }
      headwords.push(...answer.words);
    }
    return headwords;
  }

  describe({ added, present, full }, skipped) {
    const count = (n, one, many = `${one}s`) => `${n} ${n === 1 ? one : many}`;
    const parts = [`${count(added, 'word')} added to ${this.title}`];
    if (present) parts.push(`${count(present, 'was', 'were')} there already`);
    if (full) parts.push(`${count(full, 'word')} left out because the list is full`);
    if (skipped) parts.push(`${count(skipped, 'line')} skipped because ${skipped === 1 ? 'it is' : 'they are'} not a word`);
    return `${parts.join('; ')}.`;
  }
}
