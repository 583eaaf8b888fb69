// Hands the free pages of the heap back to the system every kAnswersPerTrim
// answers. Answers of very different sizes leave free holes between live
// blocks; malloc keeps those pages resident, so without trimming the heap's
// resident size creeps up with the number of requests. One trim takes a few
// hundred microseconds, a fraction of a microsecond per answer.
#ifndef LEXORA_HOST_HEAPTRIM_H
#define LEXORA_HOST_HEAPTRIM_H

class CHeapTrim {
public:
    static constexpr unsigned kAnswersPerTrim = 1000;

    // Counts one answer; trims after every kAnswersPerTrim-th.
    void CountAnswer();

private:
    unsigned answered = 0;
};

#endif  // LEXORA_HOST_HEAPTRIM_H
