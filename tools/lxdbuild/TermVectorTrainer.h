// Trains word vectors for the meaning index's terms on the dictionary's own
// text: each sense gives one line of terms, its members beside its
// definition, so that words used to describe a thing end near its name
// ("honey" near bee). Trains skip-gram vectors with fastText on one thread
// with a fixed seed, so that two builds give the same bytes; the lines go
// through a temporary file beside the index, removed afterwards. Each vector
// is stored scaled to unit length, its components rounded to -127..127.
#ifndef LEXORA_TOOLS_LXDBUILD_TERMVECTORTRAINER_H
#define LEXORA_TOOLS_LXDBUILD_TERMVECTORTRAINER_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace lxdbuild {

class CTermVectorTrainer {
public:
    CTermVectorTrainer() = default;
    virtual ~CTermVectorTrainer() = default;

    // Starts a new line of text.
    void StartLine();
    // Adds a term to the current line.
    void AddTerm(const std::string& term);

    // Trains on the lines so far through the file `corpusPath`; fills
    // `vectors` (term -> components) for the terms used often enough, none
    // when no term is. False with `*error` set when training fails.
    bool Train(const std::string& corpusPath,
               std::unordered_map<std::string, std::vector<int8_t>>* vectors, std::string* error);

private:
    std::string text;  // the lines, space-separated terms
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_TERMVECTORTRAINER_H
