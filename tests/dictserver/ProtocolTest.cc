// The DICT protocol's command words and answer bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/lxdictd/CommandLine.h"
#include "tools/lxdictd/DictResponse.h"

TEST(CommandLine, AtomsAndQuotedStrings) {
    using Words = std::vector<std::string>;
    const struct {
        std::string line;
        CommandSyntax syntax;
        Words words;
    } cases[] = {
        {"DEFINE * cat", CommandSyntax::kOk, {"DEFINE", "*", "cat"}},
        {" \tMATCH  lexora\t. \"big cat\" ",
         CommandSyntax::kOk,
         {"MATCH", "lexora", ".", "big cat"}},
        {"DEFINE ! 'o\\'clock' \"a\\\"b\\\\\"",
         CommandSyntax::kOk,
         {"DEFINE", "!", "o'clock", "a\"b\\"}},
        {"x \"\" y", CommandSyntax::kOk, {"x", "", "y"}},
        {"pre\"fix\"ed", CommandSyntax::kOk, {"prefixed"}},
        {"", CommandSyntax::kOk, {}},
        {"DEFINE * \"cat", CommandSyntax::kUnclosedQuote, {}},
        {"DEFINE * 'cat\\'", CommandSyntax::kUnclosedQuote, {}},
        {"DEFINE * c\x01t", CommandSyntax::kControlByte, {}},
        {"DEFINE * \"c\rt\"", CommandSyntax::kControlByte, {}},
    };
    for (const auto& c : cases) {
        Words words = {"left over"};
        EXPECT_EQ(c.syntax, SplitCommandLine(c.line, &words)) << c.line;
        if (c.syntax == CommandSyntax::kOk) {
            EXPECT_EQ(c.words, words) << c.line;
        }
    }
}

namespace {

// A response whose sink appends to `sent`, or refuses once `refuse` is set.
struct CSentResponse {
    CSentResponse()
        : response([this](const char* data, size_t size) {
              ++sinkCalls;
              if (refuse) return false;
              sent.append(data, size);
              return true;
          }) {}
    std::string sent;
    int sinkCalls = 0;
    bool refuse = false;
    CDictResponse response;
};

}  // namespace

TEST(DictResponse, TextBlocksAreDotStuffedAndEndWithALoneDot) {
    CSentResponse out;
    out.response.Status(150, "1 definitions retrieved");
    out.response.BeginText();
    out.response.Text(std::string(".hidden\n..two\nplain\r\n\nlast without end"));
    out.response.EndText();
    out.response.mimeHeaders = true;
    out.response.BeginText();
    out.response.Text(std::string("."));
    out.response.EndText();
    EXPECT_EQ("", out.sent);  // nothing leaves before Flush below 64 KiB
    ASSERT_TRUE(out.response.Flush());
    EXPECT_EQ(
        "150 1 definitions retrieved\r\n"
        "..hidden\r\n...two\r\nplain\r\n\r\nlast without end\r\n.\r\n"
        "Content-type: text/plain; charset=utf-8\r\nContent-transfer-encoding: 8bit\r\n\r\n"
        "..\r\n.\r\n",
        out.sent);
}

TEST(DictResponse, OverlongLinesAreCutWithinTheLimitAtCharacterStarts) {
    CSentResponse out;
    std::string line = "x";
    for (int i = 0; i < 1500; ++i) line += "\xC3\xA6";
    line += ".tail";
    out.response.Text(line + "\n");
    ASSERT_TRUE(out.response.Flush());
    std::string rejoined;
    size_t start = 0;
    for (size_t end = out.sent.find("\r\n"); end != std::string::npos;
         start = end + 2, end = out.sent.find("\r\n", start)) {
        const std::string piece = out.sent.substr(start, end - start);
        EXPECT_LE(piece.size() + 2, CDictResponse::kMaxLine);
        EXPECT_NE(0x80, static_cast<unsigned char>(piece[0]) & 0xC0) << "cut inside a character";
        rejoined += piece;
    }
    EXPECT_EQ(out.sent.size(), start);
    EXPECT_EQ(line, rejoined);
}

TEST(DictResponse, LargeAnswersLeaveInPiecesAndALostSinkDropsTheRest) {
    CSentResponse out;
    const std::string line(99, 'w');
    for (int i = 0; i < 2000; ++i) out.response.Text(line + "\n");
    EXPECT_GE(out.sinkCalls, 2);  // handed on before the end: 200 KB passed in pieces
    ASSERT_TRUE(out.response.Flush());
    EXPECT_EQ(2000u * 101u, out.sent.size());

    out.refuse = true;
    out.response.Status(250, "ok");
    EXPECT_FALSE(out.response.Flush());
    EXPECT_TRUE(out.response.Failed());
    const int calls = out.sinkCalls;
    out.response.Status(250, "ok");
    EXPECT_FALSE(out.response.Flush());
    EXPECT_EQ(calls, out.sinkCalls);  // a lost connection is not written to again
}
