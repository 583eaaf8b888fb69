// Test helpers for the record readers and the renderer: a record store written
// with the dictionary writer into a scratch directory, and an output function
// that files every piece into one string per view.
#ifndef LEXORA_TESTS_RENDER_RENDERFIXTURE_H
#define LEXORA_TESTS_RENDER_RENDERFIXTURE_H

#include <gtest/gtest.h>

#include <cstring>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "render/Render.h"
#include "tests/support/TestDatabase.h"

// Records are appended through the writer; Open() writes the file and opens it.
class CRecordStore {
public:
    uint32_t Line(const std::string& text, char terminator = '\n') {
        return database.Line(text, terminator);
    }
    uint32_t Sense(const std::vector<std::string>& members, const std::string& gloss,
                   const std::vector<DictSenseLink>& links = {}, const std::string& label = "") {
        DictSense sense;
        sense.members = members;
        sense.gloss = gloss;
        sense.links = links;
        return database.Sense(sense, label);
    }
    uint32_t Raw(const std::string& bytes) {
        uint32_t position = 0;
        EXPECT_TRUE(Writer().AddRaw(bytes, &position)) << Writer().GetError();
        return position;
    }
    CDictWriter& Writer() { return database.Writer(); }
    CCompressedData* Open() {
        database.Word("x", {});
        opened = database.Open();
        return opened ? opened->records : nullptr;
    }

private:
    lxtest::TestDatabase database;
    std::unique_ptr<CDictDatabase> opened;
};

inline DictSenseLink Link(uint32_t kind, const std::string& target, unsigned char sourceMember = 0,
                          unsigned char targetMember = 0) {
    DictSenseLink link;
    link.kind = kind;
    link.targetLabel = target;
    link.sourceMember = sourceMember;
    link.targetMember = targetMember;
    return link;
}

inline uint32_t Ref(uint32_t kind, uint32_t position) {
    return lxd::MakeRef(kind, position);
}

// A word as the HTML views link it, followed by ", " unless it is the last.
inline std::string WordLink(const std::string& word, bool last) {
    return "<a style=\"text-decoration: none; color: #2040C0; \" href=\"" + word + "\">" + word +
           (last ? "</a>" : "</a>, ");
}

// The opening of a sense's synonym line.
inline const std::string kSynonyms =
    "<br><span class=\"syn\"><i style=\"color: #808080\">syn: </i>";

// Files output the way the render manager does, with "{table}" standing for
// the footnote table. From call number `refuseFrom` on (counting from 0) every
// call except footnotes answers 0.
struct COutputRecorder {
    static int32_t Output(void* context, const char* text, int32_t length, int32_t code) {
        COutputRecorder* self = static_cast<COutputRecorder*>(context);
        std::string piece = length < 0 ? std::string(text) : std::string(text, length);
        self->codes.push_back(code);
        const bool refuse = self->refuseFrom >= 0 && self->calls >= self->refuseFrom;
        ++self->calls;
        if (code == OUTPUT_FOOTNOTE) {
            self->footnotes.push_back(piece);
            return static_cast<int32_t>(self->footnotes.size()) - 1;
        }
        if (refuse) {
            ++self->refused;
            return 0;
        }
        switch (code) {
            case OUTPUT_BEGIN_DICTIONARY:
            case OUTPUT_BEGIN_LINKS:
            case OUTPUT_BEGIN_THESAURUS:
                self->current = &self->views[code - OUTPUT_BEGIN_DICTIONARY];
                return 1;
            case OUTPUT_TEXT:
                if (self->current == nullptr) return 0;
                *self->current += piece;
                return 1;
            case OUTPUT_FOOTNOTE_TABLE:
                self->views[0] += "{table}";
                return 1;
            case OUTPUT_PRONUNCIATION:
                self->pronunciations.push_back(piece);
                return 1;
            default:
                return 0;
        }
    }

    int Count(int32_t code) const {
        int n = 0;
        for (int32_t c : codes) n += c == code;
        return n;
    }
    const std::string& Dictionary() const { return views[0]; }
    const std::string& Links() const { return views[1]; }
    const std::string& Thesaurus() const { return views[2]; }

    std::string views[3];
    std::string* current = nullptr;
    std::vector<std::string> footnotes;
    std::vector<std::string> pronunciations;
    std::vector<int32_t> codes;
    int calls = 0;
    int refuseFrom = -1;
    int refused = 0;  // calls answered 0 because of refuseFrom
};

#endif  // LEXORA_TESTS_RENDER_RENDERFIXTURE_H
