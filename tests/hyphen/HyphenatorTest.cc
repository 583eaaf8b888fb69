#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "db/Format.h"
#include "db/Hyphenator.h"
#include "db/SmartFile.h"
#include "db/TrieWriter.h"

namespace {

typedef std::vector<unsigned char> Bytes;

void PutWord(Bytes* out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out->push_back((value >> shift) & 0xFF);
}

Bytes RawSection(const std::vector<std::string>& keys) {
    CTrieWriter writer(true);
    for (const std::string& key : keys) EXPECT_TRUE(writer.Add(key)) << writer.GetError();
    Bytes section;
    EXPECT_TRUE(writer.Finish(&section)) << writer.GetError();
    return section;
}

// A section whose entries are given directly, for damaged tries.
Bytes SectionOf(const std::vector<uint32_t>& entries) {
    Bytes section;
    PutWord(&section, static_cast<uint32_t>(entries.size()));
    for (uint32_t entry : entries) PutWord(&section, entry);
    PutWord(&section, lxd::kTrieEndMarker);
    return section;
}

// A file holding a patterns and an exceptions section (an empty one is left
// out) and a hyphenator over it; the file is removed with the object.
class HyphenationFile {
public:
    HyphenationFile(const Bytes& patterns, const Bytes& exceptions) {
        char pattern[] = "/tmp/lxhyphXXXXXX";
        const int fd = mkstemp(pattern);
        path = pattern;
        Bytes content(4, 0);  // offset 0 means "no trie"
        const uint32_t patternsOffset = patterns.empty() ? 0 : content.size();
        content.insert(content.end(), patterns.begin(), patterns.end());
        const uint32_t exceptionsOffset = exceptions.empty() ? 0 : content.size();
        content.insert(content.end(), exceptions.begin(), exceptions.end());
        EXPECT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
        close(fd);
        EXPECT_TRUE(file.Open(path.c_str()));
        hyphenator = new CHyphenator(&file, patternsOffset, exceptionsOffset);
    }
    ~HyphenationFile() {
        delete hyphenator;
        unlink(path.c_str());
    }

    std::string Hyphenate(const std::string& text) {
        char* result = hyphenator->Hyphenate(text.c_str());
        EXPECT_NE(result, nullptr);
        const std::string copy = result != nullptr ? result : "";
        free(result);
        return copy;
    }

    CHyphenator* hyphenator;

private:
    std::string path;
    CSmartFile file;
};

}  // namespace

TEST(Hyphenator, PatternLevelsTakeTheHighestAndBreakOnOdd) {
    HyphenationFile data(RawSection({"a1b", "1cd", "_x1y", "e1a", "i1c", "pq1", "3_k"}), {});
    ASSERT_NE(data.hyphenator->patterns, nullptr);
    EXPECT_EQ(data.hyphenator->exceptions, nullptr);

    EXPECT_EQ(data.Hyphenate("abcd"), "a*b*cd");
    // A boundary pattern applies at the start of the word only.
    EXPECT_EQ(data.Hyphenate("xyxyxy"), "x*yxyxy");
    // The marks are found on the lower-case form; the word keeps its bytes.
    EXPECT_EQ(data.Hyphenate("ABCD"), "A*B*CD");
    EXPECT_EQ(data.Hyphenate("XyxY"), "X*yxY");
    // Runs are hyphenated separately; other bytes pass through.
    EXPECT_EQ(data.Hyphenate("ice-cream"), "i*ce-cre*am");
    EXPECT_EQ(data.Hyphenate("ab cd, abcd!"), "ab cd, a*b*cd!");
    EXPECT_EQ(data.Hyphenate(""), "");
    EXPECT_EQ(data.Hyphenate("-- \xC3\xA9 --"), "-- \xC3\xA9 --");
    // A key ending in a digit never matches; a digit before the word's start
    // is ignored.
    EXPECT_EQ(data.Hyphenate("pqrs"), "pqrs");
    EXPECT_EQ(data.Hyphenate("kabc"), "ka*bc");

    // One- and two-letter words never break, a three-letter word at most
    // after its first letter, and never before the last letter.
    EXPECT_EQ(data.Hyphenate("ab"), "ab");
    EXPECT_EQ(data.Hyphenate("a"), "a");
    EXPECT_EQ(data.Hyphenate("abc"), "a*bc");
    EXPECT_EQ(data.Hyphenate("cab"), "cab");

    // Runs of 57 characters and more are left unchanged.
    std::string run56, run57;
    for (int i = 0; i < 28; ++i) run56 += "ab";
    run57 = run56 + "a";
    const std::string marked = data.Hyphenate(run56);
    EXPECT_EQ(marked.size(), run56.size() + 27);
    EXPECT_EQ(marked.substr(0, 5), "a*ba*");
    EXPECT_EQ(data.Hyphenate(run57), run57);
    EXPECT_EQ(data.Hyphenate(run57 + "-ab" + "c"), run57 + "-a*bc");
}

TEST(Hyphenator, EvenLevelsSuppressBreaks) {
    HyphenationFile data(RawSection({"a1b", "b1c", "2bc", "a3b4c"}), {});
    // Gap before 'c': levels 1, 2 and 4, highest even: no break. Gap before
    // 'b': levels 1 and 3: break.
    EXPECT_EQ(data.Hyphenate("abcd"), "a*bcd");

    // Keys found down different digit branches: "abc" is found under '2'
    // after the '1' branch ended at "ab"; of two keys with the same letters
    // the one with the smaller digit is found first.
    HyphenationFile branches(RawSection({"a1b", "a2bc", "x2y", "x1y"}), {});
    EXPECT_EQ(branches.Hyphenate("abcd"), "abcd");
    EXPECT_EQ(branches.Hyphenate("abxd"), "a*bxd");
    EXPECT_EQ(branches.Hyphenate("xyz"), "x*yz");
}

TEST(Hyphenator, ExceptionsComeFirstAndKeepTheWordsCapitals) {
    HyphenationFile data(RawSection({"b1l", "a1b"}), RawSection({"ta1ble", "x1y", "1pre1fix"}));
    EXPECT_EQ(data.Hyphenate("table"), "ta*ble");
    EXPECT_EQ(data.Hyphenate("TaBle"), "Ta*Ble");
    EXPECT_EQ(data.Hyphenate("tables"), "ta*b*les");  // not an exception: patterns
    // An exception may name any gap, even in a two-letter word or before
    // the first letter.
    EXPECT_EQ(data.Hyphenate("xy"), "x*y");
    EXPECT_EQ(data.Hyphenate("Prefix"), "*Pre*fix");

    HyphenationFile onlyExceptions({}, RawSection({"ta1ble"}));
    EXPECT_EQ(onlyExceptions.hyphenator->patterns, nullptr);
    EXPECT_EQ(onlyExceptions.Hyphenate("Table tablet"), "Ta*ble tablet");
}

TEST(Hyphenator, OutputNeverExceedsItsBuffer) {
    // "a11b" needs exactly the 2 x 2 bytes a run of two may take; "c111d" and
    // a run of digits before the first letter would need more and do not match.
    HyphenationFile data({}, RawSection({"a11b", "c111d", "1111e", "fg"}));
    EXPECT_EQ(data.Hyphenate("ab"), "a**b");
    EXPECT_EQ(data.Hyphenate("cd"), "cd");
    EXPECT_EQ(data.Hyphenate("e"), "e");
    EXPECT_EQ(data.Hyphenate("cd cd ab"), "cd cd a**b");
    EXPECT_EQ(data.Hyphenate("fg"), "fg");

    char out[8];
    EXPECT_EQ(data.hyphenator->HyphenateWord("ab", 2, out, 4), 0);  // "a**b" needs 5
    EXPECT_EQ(data.hyphenator->HyphenateWord("ab", 2, out, 5), 4);
    EXPECT_STREQ(out, "a**b");
}

TEST(Hyphenator, DamagedTriesEndTheirSearches) {
    // Ten digit nodes whose children lead back to themselves: every search
    // could branch without end.
    std::vector<uint32_t> loop;
    for (uint32_t digit = '0'; digit <= '9'; ++digit) {
        uint32_t entry = (digit << lxd::kEntryCharShift) | 1;
        if (digit == '9') entry |= lxd::kEntryLast;
        loop.push_back(entry);
    }
    HyphenationFile data(SectionOf(loop), SectionOf(loop));
    EXPECT_EQ(data.Hyphenate("hyphenation"), "hyphenation");

    // Children pointing past the table, and a truncated section.
    HyphenationFile wild(SectionOf({('a' << lxd::kEntryCharShift) | 0x3FFFFF | lxd::kEntryLast}),
                         Bytes{9, 0, 0, 0});
    EXPECT_EQ(wild.Hyphenate("abc"), "abc");
}
