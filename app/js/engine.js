// The dictionary engine's methods, called through the local bridge.
//
// Every method that answers goes through POST /pdl/request: the bridge posts
// the call, waits for the callback that belongs to it and returns that
// callback's JSON text as the response. The bridge pairs calls and callbacks
// itself, so several windows (or a command-line client) can use the engine at
// once without receiving each other's answers, and each call here is simply a
// promise of its own answer.

export class EngineUnavailable extends Error {}

async function post(method, params) {
  let response;
  try {
    response = await fetch('/pdl/request', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify({ method, params }),
    });
  } catch {
    throw new EngineUnavailable('The dictionary engine is not running.');
  }
  const text = await response.text();
  if (response.ok) return text;
  let detail = '';
  try {
    const body = JSON.parse(text);
    detail = body.exception || body.error || '';
  } catch {
    // a non-JSON error body: report the status alone
  }
  // HTTP 400 carries the script exception the engine raised for the call.
  if (response.status === 400 && detail) throw new Error(detail);
  throw new EngineUnavailable(detail || `The dictionary engine answered with HTTP ${response.status}.`);
}

async function call(method, params) {
  return JSON.parse(await post(method, params));
}

export function getIndexWords(anchor, count, forward, exclusive) {
  return call('GetIndexWords', [anchor, count, forward ? 1 : 0, exclusive ? 1 : 0]);
}

export function getDefinition(word) {
  return call('GetDefinition', [word]);
}

export function getAudioFile(word, downloadedPath) {
  return call('GetAudioFile', downloadedPath === undefined ? [word] : [word, downloadedPath]);
}

// The answer's "words" member is the stored text inserted verbatim, so a list
// that was damaged on disk makes the whole answer unreadable: that is reported
// as a list without words rather than as an engine failure.
export async function getManagedWords(name) {
  const text = await post('GetManagedWords', [name]);
  try {
    return JSON.parse(text);
  } catch {
    return { fileName: name, words: [], damaged: true };
  }
}

export function setManagedWords(name, text) {
  return call('SetManagedWords', [name, text]);
}

// Senses whose definitions match a description: {text, results: [{word,
// sense, gloss}], truncated?}.
export function searchDefinitions(text, count) {
  return call('SearchDefinitions', [text, count]);
}

// The headword a lookup finds for each of `words` ("" for none): {words}.
export function findHeadwords(words) {
  return call('FindHeadwords', [words.join('\n')]);
}

export function cleanUp() {
  return call('CleanUp', []);
}

// The searches answer {"word": ..., "words": [headwords]}.
export function getSpellingSuggestions(word, count) {
  return call('GetSpellingSuggestions', [word, count]);
}

export function getSoundsLike(word, count) {
  return call('GetSoundsLike', [word, count]);
}

// Matches of a pattern ("?" one character, "*" any run) in index order,
// starting after the headword `after` ("" for the first page).
export function getWildcardWords(pattern, count, after) {
  return call('GetWildcardWords', [pattern, count, after]);
}

// A word drawn from the commoner part of the dictionary: {"word": ...}.
export function getCommonWord() {
  return call('GetCommonWord', []);
}

// The word of day `day` (days since 1970-01-01): {"day": ..., "word": ...}.
export function getWordOfTheDay(day) {
  return call('GetWordOfTheDay', [day]);
}

// While on, the searches and the random word leave out offensive words.
export function setWordFilter(on) {
  return call('SetWordFilter', [on ? 1 : 0]);
}

// Hands downloaded bytes to the runtime, which keeps them in the application's
// downloads folder; resolves to the stored file's path for GetAudioFile.
export async function storeDownload(bytes) {
  const response = await fetch('/runtime/upload', {
    method: 'POST',
    headers: { 'Content-Type': 'application/octet-stream' },
    body: bytes,
  });
  if (!response.ok) throw new Error(`The download could not be stored (HTTP ${response.status}).`);
  return (await response.json()).path;
}
