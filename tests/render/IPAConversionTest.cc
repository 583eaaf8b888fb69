#include <gtest/gtest.h>

#include <fstream>

#include "render/IPAConversion.h"
#include "render/SimpleString.h"
#include "tests/support/TestDatabase.h"

namespace {

// Writes `table` as a table file and converts `text` through it.
std::string Convert(const std::string& table, const std::string& text, int* rowCount = nullptr) {
    lxtest::TempDir dir;
    std::ofstream(dir.File("t.txt"), std::ios::binary) << table;
    CIPAConversion conversion;
    EXPECT_TRUE(conversion.LoadTable(dir.File("t.txt").c_str()));
    if (rowCount != nullptr) *rowCount = conversion.RowCount();
    CSimpleString converted;
    converted.Assign(text.c_str());
    conversion.Convert(converted);
    return converted.GetBuffer();
}

}  // namespace

TEST(IPAConversion, RowsApplyInFileOrderOnTheTextEarlierRowsLeft) {
    const std::string r253(253, 'r');
    const struct {
        std::string table, text, expected;
    } cases[] = {
        {"ab\tX\na\tY\n", "aab", "YX"},
        {"a\tY\nab\tX\n", "aab", "YYb"},
        {"a\t<b>\nb\tB\n", "a", "<B>"},  // a later row rewrites an earlier row's HTML
        {"x\t\n", "xaxbx", "ab"},        // an empty replacement deletes
        {"t\t1\t2\n", "t", "1\t2"},      // further TABs belong to the replacement
        {"a\tb\nb\ta\na\tc\n", "a", "c"},
        {"\xC9\x99\t<img />\n", "k\xC9\x99t", "k<img />t"},
        {"a\tb", "aa", "bb"},                  // the last line needs no line feed
        {"a\tA\r\nb\tB\r\n", "ab", "A\rB\r"},  // a CR belongs to the replacement
        // A line longer than 255 bytes is read in pieces of 255, each a line.
        {"q\t" + r253 + "z\tZ\n", "qz", r253 + "Z"},
        // Comments, empty lines and lines without a TAB are no rows.
        {"# c\ta\n\nno tab\n", "# c no tab", "# c no tab"},
    };
    for (const auto& c : cases) EXPECT_EQ(Convert(c.table, c.text), c.expected) << c.table;

    int rows = -1;
    Convert("\tempty symbol\n", "x", &rows);
    EXPECT_EQ(rows, 0);
}
