#include "meaning/TextVector.h"

#include <cmath>

#include "meaning/MeaningIndex.h"

CTextVector::CTextVector(const CMeaningIndex* index)
    : index(index), sum(index->VectorDims(), 0.0f) {}

void CTextVector::Add(uint32_t term, float weight) {
    const int8_t* vector = index->TermVector(term);
    if (vector == nullptr) return;
    for (size_t i = 0; i < sum.size(); ++i) sum[i] += weight * vector[i];
    empty = false;
}

float CTextVector::Cosine(const CTextVector& other) const {
    if (empty || other.empty || sum.size() != other.sum.size()) return 0;
    double dot = 0, norm = 0, otherNorm = 0;
    for (size_t i = 0; i < sum.size(); ++i) {
        dot += double{sum[i]} * other.sum[i];
        norm += double{sum[i]} * sum[i];
        otherNorm += double{other.sum[i]} * other.sum[i];
    }
    return norm > 0 && otherNorm > 0 ? static_cast<float>(dot / std::sqrt(norm * otherNorm)) : 0;
}
