#include "search/RandomWord.h"

namespace {

// Draws before falling back to a scan; with almost every candidate eligible,
// a draw is rejected rarely and this many rejections in a row means that few
// or none qualify.
constexpr int kDraws = 64;

bool Qualifies(const SearchSource& source, uint32_t index) {
    return source.data->HasSenses(index) && source.Offers(index);
}

}  // namespace

CRandomWord::CRandomWord() : generator(std::random_device{}()) {}

uint32_t CRandomWord::Pick(const SearchSource& source) {
    return Draw(
        source.data->WordCount(), [](uint32_t i) { return i; }, source);
}

uint32_t CRandomWord::PickAmong(const std::vector<uint32_t>& words, const SearchSource& source) {
    return Draw(
        static_cast<uint32_t>(words.size()), [&words](uint32_t i) { return words[i]; }, source);
}

template <typename WordAt>
uint32_t CRandomWord::Draw(uint32_t count, WordAt wordAt, const SearchSource& source) {
    if (count == 0) return kNone;
    std::uniform_int_distribution<uint32_t> any(0, count - 1);
    for (int draw = 0; draw < kDraws; ++draw) {
        uint32_t index = wordAt(any(generator));
        if (Qualifies(source, index)) return index;
    }
    // Rejection sampling stays uniform; the scan keeps the pick uniform too:
    // a random rank among all qualifying candidates.
    uint32_t qualifying = 0;
    for (uint32_t i = 0; i < count; ++i) qualifying += Qualifies(source, wordAt(i)) ? 1 : 0;
    if (qualifying == 0) return kNone;
    uint32_t rank = std::uniform_int_distribution<uint32_t>(0, qualifying - 1)(generator);
    for (uint32_t i = 0; i < count; ++i) {
        if (Qualifies(source, wordAt(i)) && rank-- == 0) return wordAt(i);
    }
    return kNone;
}
