// The entry bar's Copy and Share buttons: Copy puts the view shown on the
// clipboard as plain text, Share the address that opens the word in the app
// (in any tab, or pasted elsewhere). Each says what it copied, or why not.
import { addressOf } from './navigation.js';
import { wordLabel } from './word-label.js';

export class EntrySharing {
  constructor(definition, { copyButton, shareButton, onReport }) {
    this.definition = definition;
    this.onReport = onReport;
    copyButton.addEventListener('click', () => this.copyEntry());
    shareButton.addEventListener('click', () => this.shareAddress());
  }

  copyEntry() {
    const word = this.definition.word;
    if (word) this.copy(this.definition.content.innerText.trim(), `The entry of "${wordLabel(word)}" is copied as text.`);
  }

  shareAddress() {
    const word = this.definition.word;
    if (!word) return;
    const address = new URL(addressOf(word), location.href).href;
    this.copy(address, `The address of "${wordLabel(word)}" is copied: ${address}`);
  }

  async copy(text, done) {
    try {
      await navigator.clipboard.writeText(text);
      this.onReport(done, 'notice');
    } catch (error) {
      this.onReport(`The browser did not allow copying (${error.message}).`, 'error');
    }
  }
}
