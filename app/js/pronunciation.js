// Playing a word's recording and the key to the pronunciation symbols.
//
// A recording comes from the engine's audio cache. When the cache lacks it,
// the engine names a download address; the page fetches the compressed
// recording from there, hands the bytes to the runtime (which keeps them in the
// application's downloads folder) and gives the engine that file to store in
// its cache, which answers with the playable file.
import { getAudioFile, storeDownload } from './engine.js';

export async function playPronunciation(word, player) {
  let answer = await getAudioFile(word);
  if (answer.downloadUrl) {
    const path = await storeDownload(await download(answer.downloadUrl, word));
    answer = await getAudioFile(word, path);
  }
  if (answer.errorcode || !answer.playUrl) {
    throw new Error(answer.error || 'Lexora could not open the audio file.');
  }
  player.src = answer.playUrl;
  await player.play();
}

async function download(url, word) {
  let response;
  try {
    response = await fetch(url);
  } catch {
    throw new Error('The pronunciation server is not reachable.');
  }
  if (response.status === 404) throw new Error(`No recording of \u201c${word}\u201d is available.`);
  if (!response.ok) throw new Error(`The pronunciation server answered with HTTP ${response.status}.`);
  return response.arrayBuffer();
}

// The symbols the dictionary's pronunciations use (General American, one
// notation for every word), each with a word that has the sound; the letters
// that carry it are marked with brackets.
const SYMBOLS = [
  ['æ', 'c[a]t'], ['ɑ', 'f[a]ther, h[o]t'], ['ɔ', 'l[aw]'], ['ʌ', 'c[u]p'], ['ə', '[a]bout, sof[a]'],
  ['ɚ', 'butt[er]'], ['ɝ', 'b[ir]d'], ['ɛ', 'b[e]d'], ['ɪ', 's[i]t'], ['i', 's[ee], happ[y]'],
  ['ʊ', 'b[oo]k'], ['u', 't[oo]'], ['eɪ', 'd[ay]'], ['aɪ', 'm[y]'], ['ɔɪ', 'b[oy]'],
  ['aʊ', 'n[ow]'], ['oʊ', 'g[o]'], ['θ', '[th]in'], ['ð', '[th]is'], ['ʃ', '[sh]e'],
  ['ʒ', 'vi[s]ion'], ['tʃ', '[ch]in'], ['dʒ', '[j]am'], ['ŋ', 'si[ng]'], ['j', '[y]es'],
  ['ɹ', '[r]ed'], ['ɡ', '[g]o'],
  ['ˈ', 'stress on the syllable it stands before'], ['ˌ', 'weaker stress on the syllable it stands before'],
];

export function fillIpaKey(list) {
  if (list.children.length) return;
  for (const [symbol, sample] of SYMBOLS) {
    const item = document.createElement('li');
    if (!sample.includes('[')) item.className = 'wide';  // a description, not a word
    item.append(Object.assign(document.createElement('span'), { className: 'symbol', textContent: symbol }));
    for (const [index, part] of sample.split(/[[\]]/).entries()) {
      if (index % 2) item.append(Object.assign(document.createElement('b'), { textContent: part }));
      else item.append(part);
    }
    list.append(item);
  }
}

// The engine draws each IPA symbol of a pronunciation as an image named after
// its code points ("images/ipa/0074-0283.svg" is tʃ). The page puts the
// characters back, so the pronunciation reads in the page's own font, size and
// colour, copies as IPA text and has a label a screen reader can speak.
const SYMBOL_IMAGE = /(?:^|\/)images\/ipa\/([0-9A-F]{4,6}(?:-[0-9A-F]{4,6})*)\.svg$/i;

export function showPronunciationAsText(view) {
  for (const link of view.querySelectorAll('.pron a[href="~showipa"]')) {
    for (const image of link.querySelectorAll('img')) {
      const symbol = symbolOfImage(image);
      if (symbol) image.replaceWith(symbol);
    }
    link.normalize();
    const ipa = markIpa(link);
    if (ipa) link.setAttribute('aria-label', `pronunciation /${ipa}/, opens the key to its symbols`);
  }
}

function symbolOfImage(image) {
  const match = SYMBOL_IMAGE.exec(image.getAttribute('src') ?? '');
  const points = match ? match[1].split('-').map((hex) => parseInt(hex, 16)) : [];
  // A name beyond Unicode leaves its image in place.
  return points.every((point) => point <= 0x10FFFF) ? String.fromCodePoint(...points) : '';
}

// Wraps the " /…/" that ends the link in a span marked as IPA and returns
// its text; '' when the link holds no pronunciation.
function markIpa(link) {
  const last = link.lastChild;
  if (last?.nodeType !== Node.TEXT_NODE || !last.data.endsWith('/')) return '';
  const start = last.data.indexOf(' /');
  if (start < 0 || start + 2 >= last.data.length - 1) return '';
  const ipa = last.splitText(start + 2);
  ipa.splitText(ipa.data.length - 1);
  const span = Object.assign(document.createElement('span'), { className: 'ipa', lang: 'en-US-fonipa' });
  ipa.replaceWith(span);
  span.append(ipa);
  return ipa.data;
}
