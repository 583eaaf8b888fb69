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

// The symbols the dictionary's pronunciations use (the IPA as a speech
// synthesiser writes American English), each with a word that has the sound;
// the letters that carry it are marked with brackets.
const SYMBOLS = [
  ['æ', 'c[a]t'], ['ɑː', 'f[a]ther'], ['ɑ', 'h[o]t'], ['ɔː', 'l[aw]'], ['ɔ', 'f[o]r'],
  ['ʌ', 'c[u]p'], ['ɐ', '[a]bout'], ['ə', 'sof[a]'], ['ɚ', 'butt[er]'], ['ɜː', 'b[ir]d'],
  ['ɝ', 'f[ur]ther'], ['ɛ', 'b[e]d'], ['ɪ', 's[i]t'], ['iː', 's[ee]'], ['i', 'happ[y]'],
  ['ᵻ', 'ros[e]s'], ['ʊ', 'b[oo]k'], ['uː', 't[oo]'], ['eɪ', 'd[ay]'], ['aɪ', 'm[y]'],
  ['ɔɪ', 'b[oy]'], ['aʊ', 'n[ow]'], ['oʊ', 'g[o]'], ['θ', '[th]in'], ['ð', '[th]is'],
  ['ʃ', '[sh]e'], ['ʒ', 'vi[s]ion'], ['tʃ', '[ch]in'], ['dʒ', '[j]am'], ['ŋ', 'si[ng]'],
  ['j', '[y]es'], ['ɹ', '[r]ed'], ['ɾ', 'wa[t]er'], ['ɡ', '[g]o'], ['ʔ', 'uh[-]oh'],
  ['ç', '[h]uge'], ['ɬ', 'Welsh [ll]'],
  ['ˈ', 'stress on the next syllable'], ['ˌ', 'weaker stress on the next syllable'],
  ['ː', 'the sound before it is long'], ['◌̃', 'nasal vowel, as in French'],
  ['◌̩', 'a consonant forming a syllable, as in button'],
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
