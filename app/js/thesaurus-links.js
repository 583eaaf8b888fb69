// Turns the entries of the thesaurus view into word links. The engine writes
// each meaning as one paragraph, <p class="thes">, of entries separated by
// ", ", an entry's annotation in <i> after it: the entries are the paragraph's
// own text runs, so every run between separators becomes a link to its word.

const SEPARATOR = /(,\s+)/;

function linkFor(word) {
  const link = document.createElement('a');
  link.setAttribute('href', word);
  link.textContent = word;
  return link;
}

// The pieces of one text run: separators and spacing stay text, words become links.
function linkedPieces(text) {
  return text.split(SEPARATOR).flatMap((piece) => {
    const word = piece.trim();
    if (!word || SEPARATOR.test(piece)) return [piece];
    const [lead, tail] = [piece.slice(0, piece.indexOf(word)), piece.slice(piece.indexOf(word) + word.length)];
    return [lead, linkFor(word), tail].filter((part) => part !== '');
  });
}

export function linkThesaurusEntries(root) {
  for (const paragraph of root.querySelectorAll('p.thes')) {
    for (const node of [...paragraph.childNodes]) {
      if (node.nodeType === Node.TEXT_NODE && node.textContent.trim()) node.replaceWith(...linkedPieces(node.textContent));
    }
  }
}
