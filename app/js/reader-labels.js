// The data's terms in a reader's words. The engine's views name parts of
// speech, link kinds and thesaurus annotations as the dictionary's model
// does ("adjective satellite", "more generic (hypernym)", "(similar term)");
// the view shows plain words in their place, leaving the engine's HTML as it
// is written and only rewording the labels once it is on the page.

const LABELS = new Map([
  ['adjective satellite', 'adjective'],
  ['more generic (hypernym)', 'broader terms'],
  ['more specific (hyponym)', 'narrower terms'],
  ['derivationally related', 'related forms'],
  ['participle of verb', 'participle of'],
  ['pertaining to (pertainym)', 'pertaining to'],
  ['domain of category', 'topic'],
  ['member of category', 'terms of this topic'],
  ['domain of region', 'region'],
  ['member of domain region', 'terms of this region'],
  ['domain of usage', 'usage'],
  ['member of domain usage', 'terms of this usage'],
  ['entailment', 'implies'],
  ['cause', 'causes'],
  ['verb group', 'similar verbs'],
  ['also see', 'see also'],
  ['similar to', 'similar'],
  ['member of (holonym)', 'member of'],
  ['substance of (holonym)', 'substance of'],
  ['part of (holonym)', 'part of'],
  ['members (meronym)', 'members'],
  ['substances (meronym)', 'made of'],
  ['parts (meronym)', 'parts'],
  ['(generic term)', '(broader)'],
  ['(similar term)', '(similar)'],
  ['(related term)', '(related)'],
  ['(antonym)', '(opposite)'],
  ['antonym', 'opposite'],
]);

// The elements that hold a label as their first text: part-of-speech
// headings, link kinds ("more generic (hypernym):") and thesaurus annotations.
const LABELLED = '.wordtype, p.link > i, p.thes i';
// A label's own words, apart from the spacing and colon around them.
const TERM = /^(\s*)(.*?)(:?\s*)$/s;

export function useReaderLabels(root) {
  for (const element of root.querySelectorAll(LABELLED)) {
    const text = element.firstChild;
    if (text?.nodeType !== Node.TEXT_NODE) continue;
    const [, lead, term, tail] = TERM.exec(text.textContent);
    const label = LABELS.get(term);
    if (label) text.textContent = lead + label + tail;
  }
}
