#include "tools/lxdbuild/TermVectorTrainer.h"

#include <fasttext/fasttext.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>

#include "meaning/MeaningFormat.h"

namespace lxdbuild {

namespace {

// The token fastText reads a line's end as.
constexpr char kLineEnd[] = "</s>";

// Continuous bag of words over a wide window: a sense's line is short, so
// each term is predicted from most of its sense's words. Measured on the
// tuning descriptions against skip-gram, five epochs, 24 components and the
// related words and second dictionary's definitions in the lines.
fasttext::Args TrainingArgs(const std::string& corpusPath) {
    fasttext::Args args;
    args.input = corpusPath;
    args.model = fasttext::model_name::cbow;
    args.loss = fasttext::loss_name::ns;
    args.dim = 32;
    args.ws = 8;
    args.epoch = 10;
    args.minCount = 3;  // rarer terms get no vector worth its room
    args.neg = 5;
    args.minn = 0;  // whole words only: subword n-grams cost time and room
    args.maxn = 0;
    args.bucket = 0;
    args.wordNgrams = 1;
    args.thread = 1;  // one thread and a fixed seed: the same vectors every build
    args.seed = 1;
    args.verbose = 0;
    return args;
}

bool WriteCorpus(const std::string& path, const std::string& text) {
    FILE* file = fopen(path.c_str(), "wb");
    bool written = file != nullptr && fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr) written = fclose(file) == 0 && written;
    return written;
}

// `vector` scaled to unit length and rounded to -127..127; empty when it is zero.
std::vector<int8_t> Quantised(const fasttext::Vector& vector) {
    const float norm = vector.norm();
    if (!(norm > 0)) return {};
    std::vector<int8_t> out(static_cast<size_t>(vector.size()));
    for (int64_t i = 0; i < vector.size(); ++i) {
        out[static_cast<size_t>(i)] =
            static_cast<int8_t>(std::lround(vector[i] / norm * lxm::kVectorScale));
    }
    return out;
}

}  // namespace

void CTermVectorTrainer::StartLine() {
    if (!text.empty() && text.back() != '\n') text += '\n';
}

void CTermVectorTrainer::AddTerm(const std::string& term) {
    if (term.empty()) return;
    if (!text.empty() && text.back() != '\n') text += ' ';
    text += term;
}

bool CTermVectorTrainer::Train(const std::string& corpusPath,
                               std::unordered_map<std::string, std::vector<int8_t>>* vectors,
                               std::string* error) {
    StartLine();
    if (!WriteCorpus(corpusPath, text)) {
        remove(corpusPath.c_str());
        *error = "cannot write " + corpusPath;
        return false;
    }
    fasttext::FastText model;
    try {
        model.train(TrainingArgs(corpusPath));
    } catch (const std::invalid_argument&) {
        remove(corpusPath.c_str());
        return true;  // no term is used often enough: a small dictionary has no vectors
    } catch (const std::exception& failure) {
        remove(corpusPath.c_str());
        *error = std::string("word vectors: ") + failure.what();
        return false;
    }
    remove(corpusPath.c_str());
    const std::shared_ptr<const fasttext::Dictionary> dictionary = model.getDictionary();
    fasttext::Vector vector(model.getDimension());
    for (int32_t i = 0; i < dictionary->nwords(); ++i) {
        const std::string word = dictionary->getWord(i);
        model.getWordVector(vector, word);
        std::vector<int8_t> quantised = Quantised(vector);
        if (!quantised.empty() && word != kLineEnd) (*vectors)[word] = std::move(quantised);
    }
    return true;
}

}  // namespace lxdbuild
