// The pronunciation substitution table: rows of a symbol and the HTML that
// replaces it, applied in file order. Owns both columns, always equally long.
#ifndef LEXORA_RENDER_IPACONVERSION_H
#define LEXORA_RENDER_IPACONVERSION_H

#include "render/WordCollection.h"

class CSimpleString;

class CIPAConversion {
public:
    CIPAConversion();
    virtual ~CIPAConversion();
    CIPAConversion(const CIPAConversion&) = delete;
    CIPAConversion& operator=(const CIPAConversion&) = delete;

    // Replaces the table by the rows of the file: "symbol<TAB>replacement",
    // lines read in pieces of at most 255 bytes. False when the file cannot be
    // opened or memory runs out; the table is then empty.
    bool LoadTable(const char* path);
    // Applies every row to `text`, in table order; later rows also see the
    // HTML that earlier rows inserted.
    void Convert(CSimpleString& text) const;
    int RowCount() const { return symbols.Count(); }

private:
    bool AddRow(char* line);

    CWordCollection symbols;       // left column, one item per row
    CWordCollection replacements;  // right column, same order
};

#endif  // LEXORA_RENDER_IPACONVERSION_H
