// The search methods beyond the six: GetSpellingSuggestions(word, count),
// GetSoundsLike(word, count), GetWildcardWords(pattern, count, after) and
// GetRandomWord(), GetCommonWord() and GetWordOfTheDay(day) check their
// arguments and post a request, like the six;
// SetWordFilter(on) switches the word filter at once and sends no answer.
#ifndef LEXORA_HOST_SEARCHMETHODS_H
#define LEXORA_HOST_SEARCHMETHODS_H

void RegisterSearchMethods();

#endif  // LEXORA_HOST_SEARCHMETHODS_H
