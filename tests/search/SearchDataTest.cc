// The search data file: what the writer stores the reader gives back, and a
// damaged or mismatched file is refused whole, never read outside its bytes.

#include "search/SearchFormat.h"
#include "tests/search/SearchFixture.h"

using namespace searchtest;

namespace {

std::vector<SearchWord> SampleWords() {
    std::vector<SearchWord> words = PlainWords({"cat", "Paris", "paris", "phone", "went"});
    words[0].tagCount = 70000;  // capped at 65535
    words[0].senseCount = 300;  // capped at 255
    words[0].tier = 2;
    words[4].senseCount = 0;  // a redirect
    return words;
}

}  // namespace

// (Index order, tiers, filter words and phonetic keys read back: the search
// algorithm and method tests.) Counts too large for their fields saturate.
TEST(SearchData, CountsSaturate) {
    std::unique_ptr<CSearchData> data = LoadBytes(WriteSearchBytes(SampleWords()));
    ASSERT_NE(nullptr, data);
    ASSERT_STREQ("cat", data->Word(0));
    EXPECT_EQ(65535u, data->TagCount(0));
    EXPECT_EQ(255u, data->SenseCount(0));
}

TEST(SearchData, RefusesAnotherDictionaryAndDamage) {
    std::vector<unsigned char> good = WriteSearchBytes(SampleWords(), {"cat"});
    EXPECT_EQ(nullptr, LoadBytes(good, kDictionarySize + 1));
    EXPECT_EQ(nullptr, LoadBytes(good, kDictionarySize, kDictionaryEntries + 1));

    std::vector<unsigned char> truncated(good.begin(), good.end() - 1);
    EXPECT_EQ(nullptr, LoadBytes(truncated));
    std::vector<unsigned char> padded = good;
    padded.push_back(0);
    EXPECT_EQ(nullptr, LoadBytes(padded));

    // Every header word pointing anywhere else: refused or still consistent.
    for (uint32_t offset = 0; offset < lxs::kHeaderSize; offset += 4) {
        for (uint32_t value :
             {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, static_cast<uint32_t>(good.size())}) {
            std::vector<unsigned char> damaged = good;
            lxs::WriteWord32(damaged.data() + offset, value);
            std::unique_ptr<CSearchData> data = LoadBytes(damaged);
            if (data == nullptr) continue;
            for (uint32_t i = 0; i < data->WordCount(); ++i) {
                EXPECT_LT(strlen(data->Word(i)), good.size());
            }
        }
    }
}

// A word's text past the texts, a phonetic entry naming a word past the
// table or out of order, a text without its end.
TEST(SearchData, RefusesRecordsPointingOutside) {
    std::vector<unsigned char> good = WriteSearchBytes(SampleWords());
    const uint32_t wordsAt = lxs::ReadWord32(good.data() + lxs::kHeaderWordsOffset);
    const uint32_t textLength = lxs::ReadWord32(good.data() + lxs::kHeaderTextLength);
    const uint32_t phoneticAt = lxs::ReadWord32(good.data() + lxs::kHeaderPhoneticOffset);
    const std::pair<uint32_t, uint32_t> damages[] = {
        {wordsAt + 8, textLength}, {phoneticAt + 4, 5}, {phoneticAt + 8, 0}};
    for (const auto& [offset, value] : damages) {
        std::vector<unsigned char> damaged = good;
        lxs::WriteWord32(damaged.data() + offset, value);
        EXPECT_EQ(nullptr, LoadBytes(damaged)) << offset;
    }
    std::vector<unsigned char> unterminated = good;
    uint32_t textAt = lxs::ReadWord32(good.data() + lxs::kHeaderTextOffset);
    unterminated[textAt + textLength - 1] = 'x';
    EXPECT_EQ(nullptr, LoadBytes(unterminated));
}
