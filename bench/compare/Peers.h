// The measurements behind the side-by-side comparison: the engine in process,
// WordNet's C library in process, dictd over the DICT protocol and the engine
// through its HTTP bridge. Each peer times every word on its own and writes
// one file of nanosecond figures per measure ("<out>/<peer>-<measure>.txt",
// one number per line, in word order) for the report script.
#ifndef LEXORA_BENCH_COMPARE_PEERS_H
#define LEXORA_BENCH_COMPARE_PEERS_H

#include <chrono>
#include <string>
#include <vector>

namespace lxcompare {

// Per-word durations of one measure, written out as a figure file.
class Timings {
public:
    Timings(const std::string& outDir, const std::string& peer, const std::string& measure);
    ~Timings();
    Timings(const Timings&) = delete;
    Timings& operator=(const Timings&) = delete;

    void Start() { start = std::chrono::steady_clock::now(); }
    void Stop();
    void Add(double nanoseconds) { figures.push_back(nanoseconds); }
    size_t Count() const { return figures.size(); }

private:
    std::string path;
    std::vector<double> figures;
    std::chrono::steady_clock::time_point start;
};

// Lines of a text file, without their line ends.
std::vector<std::string> ReadLines(const std::string& path);

// Each returns the process exit status. `words` are the lemmas and forms to
// time; `out` the folder of the figure files.
int RunEngine(const std::string& database, const std::string& wordsFile, const std::string& out);
int RunWordNet(const std::string& wordsFile, const std::string& out);
// `port` of a DICT server on 127.0.0.1 serving `database`; the figure files
// are named after `peer`. `newConnections` caps the words timed with a
// connection of their own.
int RunDict(const std::string& peer, const std::string& database, int port,
            const std::string& wordsFile, int newConnections, const std::string& out);
// Round trips through the bridge of a running lxcore on 127.0.0.1:`port`.
int RunBridge(int port, const std::string& wordsFile, int count, const std::string& out);

// Writes the WordNet lemmas (from the index files) and up to `forms`
// inflected forms (exception lists, then regular forms WordNet's morphology
// takes back to a lemma) into `out`/lemmas.txt and `out`/forms.txt.
int MakeWordLists(int forms, const std::string& out);
// Compares, lemma by lemma and part of speech by part of speech, the sense
// count and gloss texts of the engine's file with WordNet's; prints a summary
// and writes every difference to `out`/answer-differences.txt.
int CompareAnswers(const std::string& database, const std::string& lemmasFile,
                   const std::string& out);
// Opens the engine's file and runs `count` lookups or index runs (for
// counting system calls with strace; count 0 only opens).
int EngineSyscalls(const std::string& database, const std::string& what,
                   const std::string& wordsFile, int count);
int WordNetSyscalls(const std::string& what, const std::string& wordsFile, int count);

}  // namespace lxcompare

#endif  // LEXORA_BENCH_COMPARE_PEERS_H
