#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/IPAConversion.h"
#include "render/SimpleString.h"

namespace {

// A table file in a fresh temporary directory, removed with the object.
class TableFile {
public:
    explicit TableFile(const std::string& content) {
        char pattern[] = "/tmp/lxipaXXXXXX";
        directory = mkdtemp(pattern);
        path = directory + "/IPA_to_IMG.txt";
        FILE* file = fopen(path.c_str(), "wb");
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
    }
    ~TableFile() {
        unlink(path.c_str());
        rmdir(directory.c_str());
    }
    std::string path;

private:
    std::string directory;
};

std::string Convert(const std::string& table, const std::string& text) {
    TableFile file(table);
    CIPAConversion conversion;
    EXPECT_TRUE(conversion.LoadTable(file.path.c_str()));
    CSimpleString converted;
    converted.Assign(text.c_str());
    conversion.Convert(converted);
    return converted.GetBuffer() != nullptr ? converted.GetBuffer() : "";
}

}  // namespace

TEST(IPAConversion, RowsApplyInFileOrderOnTheTextEarlierRowsLeft) {
    EXPECT_EQ(Convert("ab\tX\na\tY\n", "aab"), "YX");
    EXPECT_EQ(Convert("a\tY\nab\tX\n", "aab"), "YYb");
    // A later row rewrites inside the HTML an earlier row inserted.
    EXPECT_EQ(Convert("a\t<b>\nb\tB\n", "a"), "<B>");
    // An empty replacement deletes the symbol; further TABs are replacement.
    EXPECT_EQ(Convert("x\t\n", "xaxbx"), "ab");
    EXPECT_EQ(Convert("t\t1\t2\n", "t"), "1\t2");
    // A symbol listed twice is two rows; the second sees what the first left.
    EXPECT_EQ(Convert("a\tb\nb\ta\na\tc\n", "a"), "c");
    // Multi-byte symbols match their exact bytes; unmatched text stays.
    EXPECT_EQ(Convert("\xC9\x99\t<img src=\"schwa.png\" />\n", "k\xC9\x99t"),
              "k<img src=\"schwa.png\" />t");
    EXPECT_EQ(Convert("a\tb\n", ""), "");
    // The last line needs no line feed.
    EXPECT_EQ(Convert("a\tb", "aa"), "bb");
}

TEST(IPAConversion, LineKindsAndLongLines) {
    {
        TableFile file("# comment\ta\tb\n\nno tab here\n\tempty symbol\n");
        CIPAConversion conversion;
        EXPECT_TRUE(conversion.LoadTable(file.path.c_str()));
        EXPECT_EQ(conversion.RowCount(), 0);
    }
    // A carriage return before the line feed ends the replacement.
    EXPECT_EQ(Convert("a\tA\r\nb\tB\r\n", "ab"), "A\rB\r");

    // A line of more than 255 bytes is read in pieces of 255, each a line of
    // its own: the second piece holds a TAB and becomes a row.
    const std::string first = "q\t" + std::string(253, 'r');  // 255 bytes, no line feed
    EXPECT_EQ(Convert(first + "z\tZ\n", "qz"), std::string(253, 'r') + "Z");

    CIPAConversion conversion;
    EXPECT_FALSE(conversion.LoadTable("/nonexistent/IPA_to_IMG.txt"));
    EXPECT_EQ(conversion.RowCount(), 0);

    // Loading again replaces the table.
    TableFile file("a\tb\n");
    EXPECT_TRUE(conversion.LoadTable(file.path.c_str()));
    EXPECT_TRUE(conversion.LoadTable(file.path.c_str()));
    EXPECT_EQ(conversion.RowCount(), 1);
}
