// The dictionary page: search field and index, definition, word lists,
// pronunciation, messages and keyboard handling.
import {
  cleanUp, EngineUnavailable, getCommonWord, getDefinition, getIndexWords, getSoundsLike,
  getSpellingSuggestions, getWildcardWords, setWordFilter,
} from './engine.js';
import { DefinitionView } from './definition-view.js';
import { EntrySharing } from './entry-sharing.js';
import { ListTransfer } from './list-transfer.js';
import { markPainted } from './paint.js';
import { MeaningList } from './meaning-list.js';
import { Navigation } from './navigation.js';
import { fillIpaKey, playPronunciation } from './pronunciation.js';
import { SavedList } from './saved-list.js';
import { StartScreen } from './start-screen.js';
import { WordIndex } from './word-index.js';
import { splitSense } from './word-label.js';

const $ = (selector) => document.querySelector(selector);
const search = $('#search');
const message = $('#message');
const favouriteButton = $('#favourite');
const player = $('#player');

const HISTORY_LIMIT = 100;
const FAVOURITES_LIMIT = 1000;
const SUGGESTION_COUNT = 4;
const SPELLING_COUNT = 5;
const SOUNDS_LIKE_COUNT = 40;
const HIDE_OFFENSIVE = 'hide-offensive-words';

// ---- messages ----

// `lines` are word links under the text: [[label, words, className], ...];
// `action`, {label, run}, a button after the text.
function showMessage(text, kind = 'error', lines = [], action = null) {
  message.replaceChildren();
  message.className = `message ${kind}`;
  const paragraph = Object.assign(document.createElement('p'), { textContent: text });
  if (action) paragraph.append(' ', actionButton(action));
  message.append(paragraph);
  for (const [label, words, className] of lines) {
    if (words.length) message.append(wordLinksLine(label, words, className));
  }
  message.hidden = false;
}

function actionButton({ label, run }) {
  const button = Object.assign(document.createElement('button'), { type: 'button', className: 'quiet', textContent: label });
  button.addEventListener('click', run);
  return button;
}

function wordLinksLine(label, words, className) {
  const line = document.createElement('p');
  line.className = className;
  line.append(label);
  words.forEach((word, index) => {
    if (index) line.append(', ');
    const link = Object.assign(document.createElement('a'), { href: `#${encodeURIComponent(word)}`, textContent: word });
    link.dataset.word = word;
    line.append(link);
  });
  return line;
}

function hideMessage() {
  message.hidden = true;
}

message.addEventListener('click', (event) => {
  const link = event.target.closest('a[data-word]');
  if (!link) return;
  event.preventDefault();
  lookUp(link.dataset.word);
});

function reportFailure(error) {
  if (error instanceof EngineUnavailable) {
    showMessage(`${error.message} Start it with ./lexora run and reload this page.`);
  } else {
    showMessage(error.message || String(error));
  }
}

// databaseerror and the like: the engine's own text says what went wrong.
function reportAnswerError(answer) {
  showMessage(answer.error || `The engine answered with "${answer.errorcode}".`);
}

// ---- layout mode: on a narrow screen the index and the definition take turns ----

function setReading(reading) {
  document.body.classList.toggle('reading', reading);
  document.body.classList.toggle('browsing', !reading);
}

// ---- word lists ----

function showPane(name) {
  const pane = document.querySelector(`.pane[data-pane="${name}"]`);
  if (!pane.hidden) return;
  for (const tab of document.querySelectorAll('.list-tabs [data-pane]')) {
    tab.setAttribute('aria-selected', String(tab.dataset.pane === name));
  }
  for (const pane of document.querySelectorAll('.pane')) pane.hidden = pane.dataset.pane !== name;
  indexCaption.hidden = name !== 'index' || !indexCaption.textContent;
  if (name === 'index') index.fill();
  if (name === 'meaning') meaning.search(search.value.trim(), { now: true });
}

// The search field describes a meaning while the "By meaning" pane is open.
function byMeaning() {
  return !document.querySelector('.pane[data-pane="meaning"]').hidden;
}

for (const tab of document.querySelectorAll('.list-tabs [data-pane]')) {
  tab.addEventListener('click', () => showPane(tab.dataset.pane));
}

const listOptions = { onChoose: (word) => lookUp(word), onFailure: reportFailure };
const recent = new SavedList('history', $('#history-list'), { ...listOptions, limit: HISTORY_LIMIT });
const favourites = new SavedList('favourites', $('#favourites-list'), {
  ...listOptions,
  limit: FAVOURITES_LIMIT,
  onChange: () => updateFavouriteButton(),
});

function updateFavouriteButton() {
  const on = Boolean(definition.word) && favourites.has(definition.word);
  favouriteButton.setAttribute('aria-pressed', String(on));
  favouriteButton.textContent = on ? '\u2605' : '\u2606';
  favouriteButton.title = on ? 'Remove from favourites' : 'Add to favourites';
  $('#favourites-hint').hidden = favourites.words.length > 0;
}

favouriteButton.addEventListener('click', () => {
  const word = definition.word;
  if (!word) return;
  if (favourites.has(word)) favourites.remove(word);
  else favourites.add(word);
});

// Clearing the history can be undone until the next message replaces this one.
$('#clear-history').addEventListener('click', async () => {
  const cleared = [...recent.words];
  if (!cleared.length) return;
  await recent.clear();
  showMessage(`The history is cleared (${cleared.length} ${cleared.length === 1 ? 'word' : 'words'}).`, 'notice', [], {
    label: 'Undo',
    run: async () => {
      hideMessage();
      await recent.merge(cleared);
    },
  });
});

for (const [list, title] of [[recent, 'the history'], [favourites, 'the favourites']]) {
  new ListTransfer(list, {
    title,
    exportButton: $(`#export-${list.name}`),
    importButton: $(`#import-${list.name}`),
    fileInput: $(`#import-${list.name}-file`),
    onReport: (text, kind) => showMessage(text, kind),
    onFailure: reportFailure,
  });
}

// ---- settings: kept as the list of those that are on ----

const settings = new SavedList('settings', null, { limit: 20, onFailure: reportFailure });
const hideOffensive = $('#hide-offensive');

// Shows the stored filter setting and hands it to the engine, which starts
// with the filter off.
async function applyWordFilter() {
  hideOffensive.checked = settings.has(HIDE_OFFENSIVE);
  try {
    await setWordFilter(hideOffensive.checked);
  } catch (error) {
    reportFailure(error);
  }
}

hideOffensive.addEventListener('change', async () => {
  if (hideOffensive.checked) await settings.add(HIDE_OFFENSIVE);
  else await settings.remove(HIDE_OFFENSIVE);
  await applyWordFilter();
  refreshIndex();
});

document.addEventListener('click', (event) => {
  const menu = $('#settings');
  if (menu.open && !menu.contains(event.target)) menu.open = false;
});

// ---- definitions ----

const definition = new DefinitionView($('#definition'), {
  onWord: (word) => lookUp(word),
  onShowIpa: () => {
    fillIpaKey($('#ipa-symbols'));
    $('#ipa-key').showModal();
    $('#ipa-key').scrollTop = 0;  // the key opens at its title, not at its Close button
  },
  onPlayAudio: (link) => playWord(link),
  onView: (view) => navigation.update({ view }),
});

new EntrySharing(definition, {
  copyButton: $('#copy-entry'),
  shareButton: $('#share-word'),
  onReport: (text, kind) => showMessage(text, kind),
});

const navigation = new Navigation({ onRestore: (step) => showStep(step) });
navigation.watchScroll($('#view'));
const backButton = $('#back');
backButton.addEventListener('click', () => history.back());

let lookupGeneration = 0;

// Shows the definition of `word`; "word:n" opens the links view of sense n.
// Options: `step`, a step of the tab's history to show again (its view and
// scroll) rather than a new one; `follow`, put the word into the search field
// and the index (not when the word was picked there); `instead`, an async
// function naming a word to show when `word` is not found.
async function lookUp(word, { step = null, follow = true, instead = null } = {}) {
  const generation = ++lookupGeneration;
  let answer;
  try {
    answer = await getDefinition(word);
  } catch (error) {
    reportFailure(error);
    return;
  }
  if (generation !== lookupGeneration) return;
  if (answer.errorcode === 'nodefinition') {
    const other = await instead?.();
    if (generation !== lookupGeneration) return;
    if (other) lookUp(other, { follow });
    else showNotFound(word, answer);
    return;
  }
  if (answer.errorcode) {
    reportAnswerError(answer);
    return;
  }
  if (!step) navigation.saveScrollNow();  // the place in the word shown until now
  showDefinition(answer, step);
  if (follow) followWord(splitSense(answer.word)[0]);
  if (!step) {
    navigation.push(answer.word, definition.current);
    recent.add(answer.word);
  }
  backButton.disabled = !navigation.canGoBack();
}

function showDefinition(answer, step) {
  hideMessage();
  $('#welcome').hidden = true;
  definition.show(answer, step?.view || (answer.singleSynset ? 'links' : 'dictionary'));
  if (step) definition.content.scrollTop = step.scroll;
  document.title = `${splitSense(answer.word)[0]} - Lexora`;
  updateFavouriteButton();
  setReading(true);
  markPainted('lexora:definition-painted');
}

// A step of the tab's history: its word as it was shown, or the start screen.
function showStep(step) {
  if (step.word) {
    lookUp(step.word, { step });
    return;
  }
  lookupGeneration++;
  hideMessage();
  definition.root.hidden = true;
  $('#welcome').hidden = false;
  document.title = 'Lexora';
  backButton.disabled = true;
  followWord('');
  setReading(false);
}

// The search field and the index show the word on screen, unless the field
// holds a description for the "By meaning" pane.
function followWord(word) {
  if (byMeaning()) return;
  search.value = word;
  pickedWithArrows = false;
  showQuery(word);
}

// The words the user most likely meant, then the alphabetical neighbours not
// among them; either line is left out when its request fails.
async function showNotFound(word, answer) {
  // Several words that are no headword are taken as a description.
  if (/\s/.test(word.trim()) && !word.includes(':')) {
    hideMessage();
    search.value = word;
    showPane('meaning');
    return;
  }
  const wordsOf = (result) => (result.status === 'fulfilled' && Array.isArray(result.value.words) ? result.value.words : []);
  const [meant, before, after] = await Promise.allSettled([
    getSpellingSuggestions(word, SPELLING_COUNT),
    getIndexWords(word, SUGGESTION_COUNT / 2, false, false),
    getIndexWords(word, SUGGESTION_COUNT, true, false),
  ]);
  const suggestions = wordsOf(meant);
  const neighbours = [...wordsOf(before).reverse(), ...wordsOf(after)].filter((w) => !suggestions.includes(w));
  showMessage(answer.error, 'notice', [
    ['Did you mean: ', suggestions, 'did-you-mean'],
    ['Nearest words in the index: ', neighbours, 'suggestions'],
  ]);
}

$('#random-word').addEventListener('click', async () => {
  try {
    const answer = await getCommonWord();
    if (answer.errorcode) reportAnswerError(answer);
    else lookUp(answer.word);
  } catch (error) {
    reportFailure(error);
  }
});

// ---- pronunciation ----

async function playWord(link) {
  const word = definition.word;
  if (!word) return;
  link.classList.add('busy');
  try {
    await playPronunciation(word, player);
  } catch (error) {
    if (error.name === 'NotAllowedError') showMessage('The browser did not allow playback. Press the speaker again.', 'notice');
    else reportFailure(error);
  } finally {
    link.classList.remove('busy');
  }
}

$('#clear-audio').addEventListener('click', async () => {
  try {
    await cleanUp();
    showMessage('The audio cache is empty now; recordings are downloaded again when played.', 'notice');
  } catch (error) {
    reportFailure(error);
  }
});

// ---- index and keyboard ----

const index = new WordIndex($('#index-list'), {
  onChoose: (word) => lookUp(word, { follow: false }),
  onAnswerError: reportAnswerError,
  onFailure: reportFailure,
});

// ---- searches shown in the index pane ----

const indexCaption = $('#index-caption');
// While the index pane lists the matches of a search rather than the index:
// shows them again, and the request for them that was made last.
let showMatchesAgain = null;
let matchesShown = Promise.resolve();
// The last index run asked for by the search field, settled once it is shown.
let indexShown = Promise.resolve();

const isPattern = (query) => /[*?]/.test(query);

function setCaption(text) {
  indexCaption.textContent = text;
  indexCaption.hidden = !text;
}

// A query holding "*" or "?" lists its matches; any other shows the index there.
function showQuery(query) {
  if (isPattern(query)) {
    showMatches({
      first: (_, count) => getWildcardWords(query, count, ''),
      next: (word, count) => getWildcardWords(query, count, word),
    }, `Words matching ${query}`, `No word matches ${query}`);
  } else {
    showMatchesAgain = null;
    setCaption('');
    indexShown = index.moveTo(query);
  }
}

async function showMatches(source, caption, noneCaption) {
  showMatchesAgain = () => showMatches(source, caption, noneCaption);
  matchesShown = index.showMatches(source);
  const shown = await matchesShown;
  if (shown !== null) setCaption(shown ? caption : noneCaption);
}

function showSoundsLike(word) {
  showMatches({ first: () => getSoundsLike(word, SOUNDS_LIKE_COUNT) },
    `Words that sound like "${word}"`, `No word sounds like "${word}"`);
}

$('#sounds-like').addEventListener('click', () => {
  const word = search.value.trim() || definition.word;
  if (!word) {
    search.focus();
    return;
  }
  showPane('index');
  setReading(false);
  showSoundsLike(word);
  search.focus();
});

// The filter changes what searches find: a list of matches is asked for again.
function refreshIndex() {
  showMatchesAgain?.();
}

// Enter takes the word picked with the arrow keys, else the typed text.
let pickedWithArrows = false;

const meaning = new MeaningList($('#meaning-list'), $('#meaning-status'), {
  onChoose: (word) => lookUp(word, { follow: false }),
  onAnswerError: reportAnswerError,
  onFailure: reportFailure,
});

search.addEventListener('input', () => {
  pickedWithArrows = false;
  setReading(false);
  if (byMeaning()) {
    meaning.search(search.value.trim());
    return;
  }
  showPane('index');
  showQuery(search.value.trim());
});

// The arrow keys walk the list of the pane shown: the results found by
// meaning, else the index (which they bring up from the other lists).
function moveInList(steps) {
  if (byMeaning()) {
    meaning.moveSelection(steps);
    search.setAttribute('aria-activedescendant', meaning.selectedItemId());
    return;
  }
  showPane('index');
  index.moveSelection(steps);
  search.setAttribute('aria-activedescendant', index.selectedItemId());
  pickedWithArrows = true;
}

// Enter by meaning opens the result picked with the arrows, else searches.
function enterByMeaning() {
  if (!meaning.chooseSelected()) meaning.search(search.value.trim(), { now: true });
}

// Enter opens the word picked with the arrows, else the typed word; a typed
// beginning that is no word of its own ("recei") opens the index row it
// begins ("receipt"), which the index shows highlighted.
function enterInIndex() {
  const typed = search.value.trim();
  if (showMatchesAgain && !pickedWithArrows) {
    // The first match, once the list of the query on screen has arrived.
    matchesShown.then((shown) => shown && lookUp(index.selectedWord(), { follow: false }));
    return;
  }
  if (pickedWithArrows || !typed) {
    const word = index.selectedWord();
    if (word) lookUp(word, { follow: false });
    return;
  }
  lookUp(typed, { follow: false, instead: () => highlightedRowBeginningWith(typed) });
}

async function highlightedRowBeginningWith(typed) {
  await indexShown;
  const row = index.selectedWord();
  return row && search.value.trim() === typed && row.toLowerCase().startsWith(typed.toLowerCase()) ? row : null;
}

search.addEventListener('keydown', (event) => {
  const steps = { ArrowDown: 1, ArrowUp: -1, PageDown: 10, PageUp: -10 }[event.key];
  if (steps) {
    event.preventDefault();
    moveInList(steps);
  } else if (event.key === 'Enter') {
    event.preventDefault();
    if (byMeaning()) enterByMeaning();
    else enterInIndex();
  } else if (event.key === 'Escape') {
    event.preventDefault();
    if (search.value) {
      search.value = '';
      pickedWithArrows = false;
      showQuery('');
    }
    setReading(false);
  }
});

// Escape closes the settings menu first, wherever the focus is in it, and
// gives the focus back to the menu's button.
document.addEventListener('keydown', (event) => {
  const menu = $('#settings');
  if (event.key !== 'Escape' || !menu.open) return;
  event.preventDefault();
  event.stopPropagation();
  menu.open = false;
  menu.querySelector('summary').focus();
}, true);

// Typing anywhere outside a field goes to the search field; Escape returns to it.
document.addEventListener('keydown', (event) => {
  if (event.target === search || event.target.closest?.('dialog, input, textarea')) return;
  if (event.key === 'Escape') {
    setReading(false);
    search.focus();
  } else if (event.key.length === 1 && !event.ctrlKey && !event.metaKey && !event.altKey && event.key !== ' ') {
    search.focus();
  }
});

$('#back-to-index').addEventListener('click', () => {
  setReading(false);
  search.focus();
});

// ---- start ----

const startScreen = new StartScreen($('#welcome'), { onChoose: (word) => lookUp(word), recentWords: () => recent.words });

async function start() {
  const [historyAnswer] = await Promise.all([
    recent.load(),
    favourites.load(),
    settings.load().then(applyWordFilter),
  ]).catch((error) => {
    reportFailure(error);
    return [];
  });
  if (historyAnswer?.errorcode) reportAnswerError(historyAnswer);
  updateFavouriteButton();
  startScreen.update();
}

// The page opens at the step of the tab's history its address names.
showStep(navigation.start());
start();
search.focus();
