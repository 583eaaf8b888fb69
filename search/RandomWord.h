// Random headword picker: draws uniformly among the headwords that have at
// least one sense (never a redirect) and that the filter lets through, either
// among all headwords or among a given list of them.
#ifndef LEXORA_SEARCH_RANDOMWORD_H
#define LEXORA_SEARCH_RANDOMWORD_H

#include <cstdint>
#include <random>
#include <vector>

#include "search/SearchSource.h"

class CRandomWord {
public:
    enum : uint32_t { kNone = 0xFFFFFFFFu };

    // Seeded from the system's random device.
    CRandomWord();
    explicit CRandomWord(uint32_t seed) : generator(seed) {}
    virtual ~CRandomWord() = default;

    // A word number, or kNone when no word qualifies.
    uint32_t Pick(const SearchSource& source);
    // The same among the word numbers `words`.
    uint32_t PickAmong(const std::vector<uint32_t>& words, const SearchSource& source);

private:
    // Draws among `count` candidates, candidate i being word `wordAt(i)`.
    template <typename WordAt>
    uint32_t Draw(uint32_t count, WordAt wordAt, const SearchSource& source);

    std::mt19937 generator;
};

#endif  // LEXORA_SEARCH_RANDOMWORD_H
