// WordNet's C library and its database folder, as the comparison uses them.
#ifndef LEXORA_BENCH_COMPARE_WORDNET_H
#define LEXORA_BENCH_COMPARE_WORDNET_H

#include <wn.h>

#include <string>
#include <vector>

namespace lxcompare {

// WNSEARCHDIR, else the folder of the Debian package.
std::string WordNetFolder();
// Opens the library's files once; false when they cannot be opened.
bool OpenWordNet();
// The lemmas of the index file of part of speech `pos` (NOUN..ADV), in file order.
std::vector<std::string> IndexLemmas(int pos);
// Base forms that WordNet's morphology finds for `word` in `pos`.
std::vector<std::string> BaseForms(const std::string& word, int pos);

}  // namespace lxcompare

#endif  // LEXORA_BENCH_COMPARE_WORDNET_H
