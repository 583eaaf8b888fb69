// A stored word as a person reads it: a reference to one sense ("glad:1",
// how the engine opens a single sense) reads "glad (sense 1)"; a plain word
// reads as itself. The two forms convert into each other, so lists written
// for people can be read back.

const SENSE_REFERENCE = /^(.+):(\d+)$/;
const SENSE_LABEL = /^(.+) \(sense (\d+)\)$/;

export function wordLabel(word) {
  const match = SENSE_REFERENCE.exec(word);
  return match ? `${match[1]} (sense ${match[2]})` : word;
}

// The stored form of a label: "glad (sense 1)" gives "glad:1".
export function wordFromLabel(label) {
  const match = SENSE_LABEL.exec(label);
  return match ? `${match[1]}:${match[2]}` : label;
}

// The headword and the sense suffix (":1" or "") of a stored word.
export function splitSense(word) {
  const match = SENSE_REFERENCE.exec(word);
  return match ? [match[1], `:${match[2]}`] : [word, ''];
}
