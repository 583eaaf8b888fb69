// Form-of lines: a headword that is also an inflected form of other headwords
// shows one line per base right under the header, before its senses.
#include <string>
#include <vector>

#include "render/HtmlRender.h"
#include "tests/render/RenderFixture.h"

namespace {

bool Render(COutputRecorder* recorder, CCompressedData* records,
            const std::vector<uint32_t>& references) {
    CHtmlRender render(COutputRecorder::Output, recorder, records);
    return render.Render("saw", references.data(), static_cast<int>(references.size()), 0);
}

}  // namespace

TEST(FormOfRender, NotesComeFirstInReferenceOrderAndDamagedOnesAreSkipped) {
    CRecordStore store;
    const uint32_t sense = store.Sense({"saw"}, "a hand tool");
    const uint32_t see = store.Line("past tense\tsee");
    const uint32_t sew = store.Line("past tense and past participle\tsaw up");
    // Without a TAB, without a relation, without a base, empty, unreadable.
    const uint32_t damaged[] = {store.Line("plural see"), store.Line("\tsee"),
                                store.Line("plural\t"), store.Line("")};
    CCompressedData* records = store.Open();
    ASSERT_NE(records, nullptr);
    std::vector<uint32_t> references = {Ref(132, sense), Ref(200, see)};
    for (uint32_t position : damaged) references.push_back(Ref(200, position));
    references.push_back(Ref(200, 0x3FFFFFF));
    references.push_back(Ref(200, sew));

    COutputRecorder recorder;
    ASSERT_TRUE(Render(&recorder, records, references));
    const std::string notes = "<p class=\"formof\">past tense of " + WordLink("see", true) +
                              "</p><p class=\"formof\">past tense and past participle of " +
                              WordLink("saw up", true) + "</p>";
    EXPECT_EQ(recorder.Dictionary().substr(0, notes.size()), notes);
    EXPECT_EQ(recorder.Dictionary().find("formof", notes.size()), std::string::npos);
    EXPECT_NE(recorder.Dictionary().find("<p class=\"wordtype\">noun"), std::string::npos);
}
