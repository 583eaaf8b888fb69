// Whole renders of small record sets, compared with HTML written out by hand.

#include "render/HtmlRender.h"
#include "tests/render/RenderFixture.h"

namespace {

std::string Icon(const std::string& target) {
    return "&nbsp;<a href=\"" + target + "\"><img src=\"images/link.png\" border=0 /></a>";
}

std::string Mark(int number) {
    return "&nbsp;<sup><smaller><b><font color=#808080>" + std::to_string(number) +
           "</font></b></smaller></sup>";
}

int Occurrences(const std::string& text, const std::string& piece) {
    int n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

// The word "dog": a pronunciation, three noun senses with links for the
// headword, a noun sense it is not a member of, an origin and thesaurus lines.
struct CDogRecords {
    CDogRecords() {
        const uint32_t pron = store.Line("dOg");
        const uint32_t animal =
            store.Sense({"dog", "domestic dog"},
                        "a member of the genus Canis$the dog barked all night$cats purr",
                        {Link(140, "canine")});
        const uint32_t man =
            store.Sense({"Dog"}, "informal term for a man$you lucky dog", {Link(136, "cat", 1)});
        const uint32_t frump = store.Sense({"frump", "dog"}, "a dull unattractive woman",
                                           {Link(200, "hag", 2), Link(140, "canine", 1)});
        const uint32_t hotdog =
            store.Sense({"hotdog", "frank"}, "a hot sausage", {Link(140, "canine")});
        store.Sense({"canine", "canid"}, "a carnivore", {}, "canine");
        store.Sense({"cat"}, "a feline", {}, "cat");
        store.Sense({"hag"}, "an ugly old woman", {}, "hag");
        const uint32_t origin = store.Line("from [Old English] {docga}, of unknown origin");
        const uint32_t synonyms = store.Line("hound,cur {informal} (dated) <rare>");
        const uint32_t nouns = store.Line("mutt, pooch");
        records = store.Open();
        references = {Ref(228, pron),     Ref(132, animal), Ref(132, man),
                      Ref(132, frump),    Ref(132, hotdog), Ref(232, origin),
                      Ref(236, synonyms), Ref(240, nouns),  Ref(240, nouns)};
    }

    CRecordStore store;
    CCompressedData* records = nullptr;
    std::vector<uint32_t> references;
};

bool RenderWith(COutputRecorder* recorder, CCompressedData* records, const char* word,
                const std::vector<uint32_t>& references, int singleSynset = 0) {
    CHtmlRender render(COutputRecorder::Output, recorder, records);
    return render.Render(word, references.data(), static_cast<int>(references.size()),
                         singleSynset);
}

}  // namespace

TEST(HtmlRender, ViewsOfSensesLinksThesaurusAndOrigin) {
    CDogRecords dog;
    COutputRecorder out;
    ASSERT_TRUE(RenderWith(&out, dog.records, "dog", dog.references));
    EXPECT_EQ((std::vector<std::string>{"dOg"}), out.pronunciations);
    EXPECT_TRUE(out.footnotes.empty());
    // Icon numbers count every reference, the pronunciation included; the
    // sense without the headword gets no icon and lists all its members.
    const std::string expected =
        "<p class=\"wordtype\">noun</p><ol>"
        "<li class=\"definition\">a member of the genus Canis &#x2022; <span class=\"sample\">the "
        "dog barked all night</span> " +
        Icon("dog%3A2") + kSynonyms + WordLink("domestic dog", true) + "</span></li>" +
        "<li class=\"definition\">informal term for a man &#x2022; <span class=\"sample\">you "
        "lucky dog</span> " +
        Icon("dog%3A3") + "</li>" + "<li class=\"definition\">a dull unattractive woman" +
        Icon("dog%3A4") + kSynonyms + WordLink("frump", true) + "</span></li>" +
        "<li class=\"definition\">a hot sausage" + kSynonyms + WordLink("hotdog", false) +
        WordLink("frank", true) + "</span></li>" + "</ol>{table}" +
        "<p class=\"etym\">ORIGIN: from <b>Old English</b> <i>docga</i>, of unknown origin</p>";
    EXPECT_EQ(expected, out.Dictionary());
    EXPECT_EQ(
        "<p class=\"wordtype\">synonym</p>"
        "<p class=\"thes\">hound, cur <i>(informal)</i> <i>dated</i> <small>[rare]</small></p>"
        "<p class=\"wordtype\">noun</p>"
        "<p class=\"thes\">mutt,  pooch</p><p class=\"thes\">mutt,  pooch</p>",
        out.Thesaurus());
    EXPECT_EQ(1, out.Count(OUTPUT_BEGIN_THESAURUS));

    // Sorted by link kind, then by word; "canine" from two senses once.
    const std::string allLinks =
        "<p class=\"wordtype\">noun</p>"
        "<p class=\"link\"><i>synonym:</i> " +
        WordLink("domestic dog", false) + WordLink("frank", false) + WordLink("frump", false) +
        WordLink("hotdog", true) + "</p><p class=\"link\"><i>antonym:</i> " +
        WordLink("cat", true) + "</p><p class=\"link\"><i>more generic (hypernym):</i> " +
        WordLink("canid", false) + WordLink("canine", true) +
        "</p><p class=\"link\"><i>also see:</i> " + WordLink("hag", true);
    EXPECT_EQ(allLinks, out.Links());

    COutputRecorder single;
    ASSERT_TRUE(RenderWith(&single, dog.records, "dog", dog.references, 2));
    EXPECT_EQ(
        "<p class=\"wordtype\">noun</p><p class=\"linkdefinition\">a member of the genus "
        "Canis</p><p class=\"link\"><i>synonym:</i> " +
            WordLink("domestic dog", true) +
            "</p><p class=\"link\"><i>more generic (hypernym):</i> " + WordLink("canid", false) +
            WordLink("canine", true),
        single.Links());
    EXPECT_EQ(out.Dictionary(), single.Dictionary());
    EXPECT_EQ(out.Thesaurus(), single.Thesaurus());

    // Out of range, or a record that is not a sense: every link.
    const int count = static_cast<int>(dog.references.size());
    for (int n : {0, -1, count + 1, 1, 6}) {
        COutputRecorder other;
        ASSERT_TRUE(RenderWith(&other, dog.records, "dog", dog.references, n));
        EXPECT_EQ(allLinks, other.Links()) << "singleSynset " << n;
    }
}

TEST(HtmlRender, HeadingsFootnotesAndSampleFiltering) {
    CRecordStore store;
    const uint32_t noun1 =
        store.Sense({"mouse"}, "a small rodent$three mice ran$a cat waited$the mouse hid");
    const uint32_t verb = store.Sense({"mouse"}, "to hunt mice");
    const uint32_t noun2 = store.Sense({"mouse", "computer mouse"}, "a pointing device");
    const uint32_t adjective = store.Sense({"mousy"}, "like a mouse");
    const uint32_t satellite = store.Sense({"mousy"}, "quiet");
    std::vector<uint32_t> references;
    const std::pair<uint32_t, const char*> lines[] = {
        {180, "mice"},      {184, "Mouses"},  {192, "Moused"},
        {192, "MOUSED"},    {196, "Mousing"}, {208, "Somebody %s around"},
        {208, "%s and %s"}, {212, "Mousier"}, {216, "mousiest"}};
    for (const auto& [kind, text] : lines) references.push_back(Ref(kind, store.Line(text)));
    references.insert(references.end(),
                      {Ref(132, noun1), Ref(136, verb), Ref(132, noun2), Ref(140, adjective),
                       Ref(144, satellite), Ref(188, store.Line("ignored"))});
    CCompressedData* records = store.Open();
    ASSERT_NE(nullptr, records);

    COutputRecorder out;
    ASSERT_TRUE(RenderWith(&out, records, "mouse", references));
    EXPECT_EQ((std::vector<std::string>{
                  "plural: mice, mouses",
                  "Tenses: moused/moused, mousing<br>Usage sample:<br>Somebody mouse around. "
                  "\nmouse and mouse. ",
                  "comparative: mousier, mousiest"}),
              out.footnotes);

    const std::string& html = out.Dictionary();
    // Interleaved kinds give two noun headings, each with the noun mark.
    EXPECT_EQ(2, Occurrences(html, "<p class=\"wordtype\">noun" + Mark(1) + "</p><ol>"));
    EXPECT_EQ(1, Occurrences(html, "<p class=\"wordtype\">verb" + Mark(2) + "</p><ol>"));
    EXPECT_EQ(1, Occurrences(html, "<p class=\"wordtype\">adjective" + Mark(3) + "</p><ol>"));
    EXPECT_EQ(1, Occurrences(html, "<p class=\"wordtype\">adjective satellite</p><ol>"));
    EXPECT_EQ(5, Occurrences(html, "</ol>"));
    // A sample is shown when it holds the headword or one of its forms.
    EXPECT_NE(std::string::npos, html.find("<span class=\"sample\">the mouse hid</span>"));
    EXPECT_EQ(std::string::npos, html.find("a cat waited"));
    EXPECT_NE(std::string::npos, html.find("<span class=\"sample\">three mice ran</span>"));

    // A lone tense list makes no footnote, a usage sample alone does; a
    // word without links or thesaurus lines begins neither view.
    CRecordStore lone;
    const std::vector<uint32_t> tenseOnly = {Ref(192, lone.Line("ran")),
                                             Ref(136, lone.Sense({"run"}, "move fast$we ran")),
                                             Ref(152, lone.Sense({"run"}, "odd"))};
    const uint32_t usage = lone.Line("They %s");
    CCompressedData* loneRecords = lone.Open();
    COutputRecorder noNote;
    ASSERT_TRUE(RenderWith(&noNote, loneRecords, "run", tenseOnly));
    EXPECT_TRUE(noNote.footnotes.empty());
    EXPECT_EQ(0, noNote.Count(OUTPUT_BEGIN_LINKS) + noNote.Count(OUTPUT_BEGIN_THESAURUS));
    EXPECT_EQ(
        "<p class=\"wordtype\">verb</p><ol><li class=\"definition\">move fast &#x2022; <span "
        "class=\"sample\">we ran</span> </li></ol>"
        "<p class=\"wordtype\">article</p><ol><li class=\"definition\">odd</li></ol>{table}",
        noNote.Dictionary());
    COutputRecorder usageNote;
    std::vector<uint32_t> withUsage = tenseOnly;
    withUsage.push_back(Ref(208, usage));
    ASSERT_TRUE(RenderWith(&usageNote, loneRecords, "run", withUsage));
    EXPECT_EQ((std::vector<std::string>{"Usage sample:<br>They run. "}), usageNote.footnotes);
}

TEST(HtmlRender, AnOutputOfZeroStopsTheRender) {
    CDogRecords dog;
    COutputRecorder full;
    ASSERT_TRUE(RenderWith(&full, dog.records, "dog", dog.references));
    ASSERT_GT(full.calls, 20);

    for (int from = 0; from < full.calls; ++from) {
        COutputRecorder out;
        out.refuseFrom = from;
        EXPECT_FALSE(RenderWith(&out, dog.records, "dog", dog.references)) << "from " << from;
        // Only the opening of a sense's list item may be refused without
        // stopping, so at most one further call follows the first refusal.
        EXPECT_LE(out.refused, 2) << "from " << from;
    }
}

TEST(HtmlRender, DamagedRecordsRenderWhatCanBeRead) {
    CRecordStore store;
    const uint32_t fine = store.Sense({"dog"}, "a canine");
    const uint32_t endless = store.Raw("dog\nendless links\n" + std::string(9000, '\x90'));
    const uint32_t unfinished = store.Raw("dog\rcur\rmutt\r");
    CCompressedData* records = store.Open();
    ASSERT_NE(nullptr, records);
    const std::vector<uint32_t> references = {
        Ref(132, fine),      Ref(132, endless),   Ref(132, unfinished), Ref(132, 0x3FFFFF0),
        Ref(232, 0x3FFFFF0), Ref(240, 0x3FFFFF0), Ref(180, 0x3FFFFF0)};

    COutputRecorder out;
    ASSERT_TRUE(RenderWith(&out, records, "dog", references));
    EXPECT_EQ(
        "<p class=\"wordtype\">noun</p><ol>"
        "<li class=\"definition\">a canine</li>"
        "<li class=\"definition\">endless links</li>"
        "<li class=\"definition\">" +
            kSynonyms + WordLink("cur", false) + WordLink("mutt", true) +
            "</span></li>"
            "<li class=\"definition\"></li></ol>{table}",
        out.Dictionary());
    EXPECT_EQ("<p class=\"wordtype\">noun</p>", out.Thesaurus());
    EXPECT_TRUE(out.footnotes.empty());
}

// A headword that is also an inflected form of other headwords shows one
// form-of line per base right under the header, before its senses.
TEST(FormOfRender, NotesComeFirstInReferenceOrderAndDamagedOnesAreSkipped) {
    CRecordStore store;
    std::vector<uint32_t> references = {Ref(132, store.Sense({"saw"}, "a hand tool"))};
    // A sound note, then notes without a TAB, a relation or a base, an empty
    // one and an unreadable one, then another sound note.
    for (const char* note : {"past tense\tsee", "plural see", "\tsee", "plural\t", ""}) {
        references.push_back(Ref(200, store.Line(note)));
    }
    references.push_back(Ref(200, 0x3FFFFFF));
    references.push_back(Ref(200, store.Line("past tense and past participle\tsaw up")));
    references.push_back(Ref(200, store.Line("contraction\tdo\tnot")));  // a link per word
    CCompressedData* records = store.Open();
    ASSERT_NE(records, nullptr);

    COutputRecorder recorder;
    ASSERT_TRUE(RenderWith(&recorder, records, "saw", references));
    const std::string notes = "<p class=\"formof\">past tense of " + WordLink("see", true) +
                              "</p><p class=\"formof\">past tense and past participle of " +
                              WordLink("saw up", true) + "</p><p class=\"formof\">contraction of " +
                              WordLink("do", true) + " " + WordLink("not", true) + "</p>";
    EXPECT_EQ(recorder.Dictionary().substr(0, notes.size()), notes);
    EXPECT_EQ(recorder.Dictionary().find("formof", notes.size()), std::string::npos);
    EXPECT_NE(recorder.Dictionary().find("<p class=\"wordtype\">noun"), std::string::npos);
}
