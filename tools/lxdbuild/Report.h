// Progress and problem reporting of the dictionary build.
// CBuildReport owns the stage clock, the malformed-line tally and the figures
// printed at the end; callers may rely on every message going to stderr.
#ifndef LEXORA_TOOLS_LXDBUILD_REPORT_H
#define LEXORA_TOOLS_LXDBUILD_REPORT_H

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lxdbuild {

class CBuildReport {
public:
    explicit CBuildReport(bool quiet = false);
    virtual ~CBuildReport() = default;

    // Starts timing a stage; EndStage prints one line with its figures.
    void BeginStage(const std::string& name);
    void EndStage(const std::string& figures);

    // Redraws a progress bar for the current stage when stderr is a
    // terminal; EndStage clears it.
    void Progress(uint64_t done, uint64_t total);

    // A source line that cannot be used: printed (the first few per file)
    // with its file and line number, and counted.
    void Malformed(const std::string& file, long line, const std::string& reason);
    long MalformedCount() const { return malformedTotal; }

    // A warning that does not stop the build.
    void Warn(const std::string& text);

    // Named figures for the closing report, printed in the order first set.
    void Set(const std::string& name, const std::string& value);
    void Set(const std::string& name, uint64_t value);
    void PrintSummary() const;

private:
    using Clock = std::chrono::steady_clock;
    double SecondsSince(Clock::time_point start) const;

    bool quiet;
    bool terminal;
    int shownPercent = -1;
    Clock::time_point buildStart;
    Clock::time_point stageStart;
    std::string stageName;
    long malformedTotal = 0;
    std::map<std::string, long> malformedPerFile;
    std::vector<std::pair<std::string, std::string>> figures;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_REPORT_H
