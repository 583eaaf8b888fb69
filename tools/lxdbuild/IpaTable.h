// The IPA substitution table (IPA_to_IMG.txt) and the symbol images it names.
// CIpaTable collects the symbols the pronunciations use and orders the rows
// so that a symbol stands before every shorter symbol it contains; the HTML of
// a row is plain ASCII, so no later row can match inside it.
#ifndef LEXORA_TOOLS_LXDBUILD_IPATABLE_H
#define LEXORA_TOOLS_LXDBUILD_IPATABLE_H

#include <set>
#include <string>
#include <vector>

namespace lxdbuild {

class CIpaTable {
public:
    CIpaTable() = default;
    virtual ~CIpaTable() = default;

    // Adds the symbols of one pronunciation: sequences from the fixed list
    // of affricates, diphthongs and long vowels, and every other non-ASCII
    // character. ASCII letters stay text in the page and get no row.
    void AddPronunciation(const std::string& ipa);

    // Rows in table order: symbol and image name (without ".svg").
    std::vector<std::pair<std::string, std::string>> Rows() const;
    // The table file's text.
    std::string TableText() const;
    // Writes the table to tablePath and one SVG per row into imageDir.
    void Write(const std::string& tablePath, const std::string& imageDir) const;

    static std::string ImageName(const std::string& symbol);
    static std::string SvgOf(const std::string& symbol);

private:
    std::set<std::string> symbols;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_IPATABLE_H
