#include "tools/lxdbuild/Report.h"

#include <unistd.h>

#include <cstdio>

namespace lxdbuild {

namespace {
constexpr long kMalformedShownPerFile = 10;
}

CBuildReport::CBuildReport(bool quiet)
    : quiet(quiet), terminal(isatty(STDERR_FILENO) == 1), buildStart(Clock::now()) {}

double CBuildReport::SecondsSince(Clock::time_point start) const {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void CBuildReport::BeginStage(const std::string& name) {
    stageName = name;
    stageStart = Clock::now();
    if (!quiet) {
        std::fprintf(stderr, "[lxdbuild] %s ...\n", name.c_str());
    }
}

void CBuildReport::Progress(uint64_t done, uint64_t total) {
    if (quiet || !terminal || total == 0) {
        return;
    }
    int percent = static_cast<int>(100 * done / total);
    if (percent == shownPercent) {
        return;
    }
    shownPercent = percent;
    constexpr int kWidth = 40;
    std::string bar(kWidth * percent / 100, '#');
    bar.resize(kWidth, ' ');
    std::fprintf(stderr, "\r[lxdbuild] %s [%s] %3d%%", stageName.c_str(), bar.c_str(), percent);
}

void CBuildReport::EndStage(const std::string& stageFigures) {
    if (!quiet && terminal && shownPercent >= 0) {
        std::fprintf(stderr, "\r\033[K");
    }
    shownPercent = -1;
    if (!quiet) {
        std::fprintf(stderr, "[lxdbuild] %s: %s (%.1f s, total %.1f s)\n", stageName.c_str(),
                     stageFigures.c_str(), SecondsSince(stageStart), SecondsSince(buildStart));
    }
}

void CBuildReport::Malformed(const std::string& file, long line, const std::string& reason) {
    ++malformedTotal;
    long shown = ++malformedPerFile[file];
    if (quiet) {
        return;
    }
    if (shown <= kMalformedShownPerFile) {
        std::fprintf(stderr, "%s:%ld: skipped: %s\n", file.c_str(), line, reason.c_str());
    } else if (shown == kMalformedShownPerFile + 1) {
        std::fprintf(stderr, "%s: further malformed lines are counted only\n", file.c_str());
    }
}

void CBuildReport::Warn(const std::string& text) {
    if (!quiet) {
        std::fprintf(stderr, "[lxdbuild] warning: %s\n", text.c_str());
    }
}

void CBuildReport::Set(const std::string& name, const std::string& value) {
    for (auto& figure : figures) {
        if (figure.first == name) {
            figure.second = value;
            return;
        }
    }
    figures.emplace_back(name, value);
}

void CBuildReport::Set(const std::string& name, uint64_t value) {
    Set(name, std::to_string(value));
}

void CBuildReport::PrintSummary() const {
    if (quiet) {
        return;
    }
    std::fprintf(stderr, "[lxdbuild] report:\n");
    for (const auto& figure : figures) {
        std::fprintf(stderr, "  %-34s %s\n", figure.first.c_str(), figure.second.c_str());
    }
    std::fprintf(stderr, "  %-34s %ld\n", "malformed source lines skipped", malformedTotal);
    std::fprintf(stderr, "  %-34s %.1f s\n", "build time", SecondsSince(buildStart));
}

}  // namespace lxdbuild
