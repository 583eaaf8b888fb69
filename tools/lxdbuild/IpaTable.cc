#include "tools/lxdbuild/IpaTable.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

namespace {

// Symbols of more than one character that are shown as one image.
const char* const kSequences[] = {"tʃ", "dʒ", "aɪ", "aʊ", "eɪ", "oʊ",
                                  "ɔɪ", "iː", "uː", "ɑː", "ɔː", "ɜː"};

size_t CharacterLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

std::vector<uint32_t> CodePoints(const std::string& text) {
    std::vector<uint32_t> points;
    for (size_t i = 0; i < text.size();) {
        size_t length =
            std::min(CharacterLength(static_cast<unsigned char>(text[i])), text.size() - i);
        uint32_t point = length == 1 ? static_cast<unsigned char>(text[i])
                                     : static_cast<unsigned char>(text[i]) & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

}  // namespace

void CIpaTable::AddPronunciation(const std::string& ipa) {
    for (size_t i = 0; i < ipa.size();) {
        size_t taken = 0;
        for (const char* sequence : kSequences) {
            std::string s(sequence);
            if (ipa.compare(i, s.size(), s) == 0) {
                symbols.insert(s);
                taken = s.size();
                break;
            }
        }
        if (taken == 0) {
            taken = std::min(CharacterLength(static_cast<unsigned char>(ipa[i])), ipa.size() - i);
            if (static_cast<unsigned char>(ipa[i]) >= 0x80) {
                symbols.insert(ipa.substr(i, taken));
            }
        }
        i += taken;
    }
}

std::vector<std::pair<std::string, std::string>> CIpaTable::Rows() const {
    std::vector<std::string> ordered(symbols.begin(), symbols.end());
    // Longer symbols first, so that none is consumed by a shorter one it
    // contains; byte order within one length keeps the table stable.
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    std::vector<std::pair<std::string, std::string>> rows;
    for (const auto& symbol : ordered) {
        rows.emplace_back(symbol, ImageName(symbol));
    }
    return rows;
}

std::string CIpaTable::ImageName(const std::string& symbol) {
    std::string name;
    for (uint32_t point : CodePoints(symbol)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%s%04X", name.empty() ? "" : "-", point);
        name += hex;
    }
    return name;
}

std::string CIpaTable::TableText() const {
    std::string text = "# IPA symbol<TAB>HTML that shows it; longer symbols first\n";
    for (const auto& row : Rows()) {
        text += row.first + "\t<img class=\"ipa\" src=\"images/ipa/" + row.second + ".svg\" />\n";
    }
    return text;
}

std::string CIpaTable::SvgOf(const std::string& symbol) {
    size_t characters = CodePoints(symbol).size();
    int width = static_cast<int>(characters) * 11 + 4;
    char head[256];
    std::snprintf(head, sizeof head,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"24\" "
                  "viewBox=\"0 0 %d 24\"><text x=\"%d\" y=\"18\" font-family=\"serif\" "
                  "font-size=\"18\" text-anchor=\"middle\">",
                  width, width, width / 2);
    return std::string(head) + symbol + "</text></svg>\n";
}

void CIpaTable::Write(const std::string& tablePath, const std::string& imageDir) const {
    std::ofstream table(tablePath, std::ios::binary | std::ios::trunc);
    table << TableText();
    if (!table.flush()) {
        throw CBuildError("cannot write " + tablePath);
    }
    for (const auto& row : Rows()) {
        std::string path = imageDir + "/" + row.second + ".svg";
        std::ofstream image(path, std::ios::binary | std::ios::trunc);
        image << SvgOf(row.first);
        if (!image.flush()) {
            throw CBuildError("cannot write " + path);
        }
    }
}

}  // namespace lxdbuild
