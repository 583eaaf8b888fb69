#include "search/DoubleMetaphone.h"

#include <cstring>

namespace {

const char kPadding[] = "     ";

}  // namespace

CDoubleMetaphone::CDoubleMetaphone(const char* word) {
    size_t size = word == nullptr ? 0 : strnlen(word, kMaxWordLength);
    text.reserve(size + sizeof kPadding);
    for (size_t i = 0; i < size; ++i) {
        char c = word[i];
        text.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    length = static_cast<int>(size);
    last = length - 1;
    text += kPadding;
    Encode();
    if (primary.size() > kKeyLength) primary.resize(kKeyLength);
    if (alternate.size() > kKeyLength) alternate.resize(kKeyLength);
}

char CDoubleMetaphone::At(int position) const {
    if (position < 0 || position >= static_cast<int>(text.size())) return '\0';
    return text[position];
}

bool CDoubleMetaphone::IsVowel(int position) const {
    char c = At(position);
    return c != '\0' && strchr("AEIOUY", c) != nullptr;
}

bool CDoubleMetaphone::Matches(int position, int count, const char* options) const {
    if (position < 0 || position + count > static_cast<int>(text.size())) return false;
    for (const char* option = options; *option != '\0'; option += strlen(option) + 1) {
        if (text.compare(position, count, option) == 0) return true;
    }
    return false;
}

bool CDoubleMetaphone::IsSlavoGermanic() const {
    return text.find('W') != std::string::npos || text.find('K') != std::string::npos ||
           text.find("CZ") != std::string::npos || text.find("WITZ") != std::string::npos;
}

bool CDoubleMetaphone::StartsGermanic() const {
    return Matches(0, 4, "VAN \0VON \0") || Matches(0, 3, "SCH\0");
}

void CDoubleMetaphone::Add(const char* main, const char* other) {
    primary += main;
    alternate += other;
}

void CDoubleMetaphone::Encode() {
    int at = 0;
    if (Matches(0, 2, "GN\0KN\0PN\0WR\0PS\0")) at = 1;
    if (At(0) == 'X') {
        Add("S");
        at = 1;
    }
    while ((primary.size() < kKeyLength || alternate.size() < kKeyLength) && at < length) {
        switch (At(at)) {
            case 'A':
            case 'E':
            case 'I':
            case 'O':
            case 'U':
            case 'Y':
                if (at == 0) Add("A");
                at += 1;
                break;
            case 'B':
                at = EncodeSimple(at, "P");
                break;
            case 'C':
                at = EncodeC(at);
                break;
            case 'D':
                at = EncodeD(at);
                break;
            case 'F':
                at = EncodeSimple(at, "F");
                break;
            case 'G':
                at = EncodeG(at);
                break;
            case 'H':
                at = EncodeH(at);
                break;
            case 'J':
                at = EncodeJ(at);
                break;
            case 'K':
                at = EncodeSimple(at, "K");
                break;
            case 'L':
                at = EncodeL(at);
                break;
            case 'M':
                at = EncodeM(at);
                break;
            case 'N':
                at = EncodeSimple(at, "N");
                break;
            case 'P':
                if (At(at + 1) == 'H') {
                    Add("F");
                    at += 2;
                } else {
                    Add("P");
                    at += Matches(at + 1, 1, "P\0B\0") ? 2 : 1;
                }
                break;
            case 'Q':
                at = EncodeSimple(at, "K");
                break;
            case 'R':
                at = EncodeR(at);
                break;
            case 'S':
                at = EncodeS(at);
                break;
            case 'T':
                at = EncodeT(at);
                break;
            case 'V':
                at = EncodeSimple(at, "F");
                break;
            case 'W':
                at = EncodeW(at);
                break;
            case 'X':
                at = EncodeX(at);
                break;
            case 'Z':
                at = EncodeZ(at);
                break;
            default:
                at += 1;
                break;
        }
    }
}

int CDoubleMetaphone::EncodeSimple(int at, const char* sound) {
    Add(sound);
    return At(at + 1) == At(at) ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeC(int at) {
    // Germanic "ach" as in "bacher", but not "macher"-less "ache" or "achi".
    if (at > 1 && !IsVowel(at - 2) && Matches(at - 1, 3, "ACH\0") && At(at + 2) != 'I' &&
        (At(at + 2) != 'E' || Matches(at - 2, 6, "BACHER\0MACHER\0"))) {
        Add("K");
        return at + 2;
    }
    if (at == 0 && Matches(at, 6, "CAESAR\0")) {
        Add("S");
        return at + 2;
    }
    if (Matches(at, 4, "CHIA\0")) {
        Add("K");
        return at + 2;
    }
    if (Matches(at, 2, "CH\0")) return EncodeCH(at);
    if (Matches(at, 2, "CZ\0") && !Matches(at - 2, 4, "WICZ\0")) {
        Add("S", "X");
        return at + 2;
    }
    if (Matches(at + 1, 3, "CIA\0")) {
        Add("X");
        return at + 3;
    }
    if (Matches(at, 2, "CC\0") && !(at == 1 && At(0) == 'M')) return EncodeCC(at);
    if (Matches(at, 2, "CK\0CG\0CQ\0")) {
        Add("K");
        return at + 2;
    }
    if (Matches(at, 2, "CI\0CE\0CY\0")) {
        if (Matches(at, 3, "CIO\0CIE\0CIA\0")) {
            Add("S", "X");
        } else {
            Add("S");
        }
        return at + 2;
    }
    Add("K");
    if (Matches(at + 1, 2, " C\0 Q\0 G\0")) return at + 3;
    if (Matches(at + 1, 1, "C\0K\0Q\0") && !Matches(at + 1, 2, "CE\0CI\0")) return at + 2;
    return at + 1;
}

int CDoubleMetaphone::EncodeCH(int at) {
    if (at > 0 && Matches(at, 4, "CHAE\0")) {
        Add("K", "X");
        return at + 2;
    }
    // Greek roots: "chemistry", "chorus", "character", but not "chore".
    if (at == 0 &&
        (Matches(at + 1, 5, "HARAC\0HARIS\0") || Matches(at + 1, 3, "HOR\0HYM\0HIA\0HEM\0")) &&
        !Matches(0, 5, "CHORE\0")) {
        Add("K");
        return at + 2;
    }
    bool hard = StartsGermanic() || Matches(at - 2, 6, "ORCHES\0ARCHIT\0ORCHID\0") ||
                Matches(at + 2, 1, "T\0S\0") ||
                ((Matches(at - 1, 1, "A\0O\0U\0E\0") || at == 0) &&
                 Matches(at + 2, 1, "L\0R\0N\0M\0B\0H\0F\0V\0W\0 \0"));
    if (hard) {
        Add("K");
    } else if (at == 0) {
        Add("X");
    } else if (Matches(0, 2, "MC\0")) {
        Add("K");
    } else {
        Add("X", "K");
    }
    return at + 2;
}

int CDoubleMetaphone::EncodeCC(int at) {
    // "accident", "succeed" and Italian "bacci"; but "bacchus" is hard.
    if (Matches(at + 2, 1, "I\0E\0H\0") && !Matches(at + 2, 2, "HU\0")) {
        if ((at == 1 && At(at - 1) == 'A') || Matches(at - 1, 5, "UCCEE\0UCCES\0")) {
            Add("KS");
        } else {
            Add("X");
        }
        return at + 3;
    }
    Add("K");
    return at + 2;
}

int CDoubleMetaphone::EncodeD(int at) {
    if (Matches(at, 2, "DG\0")) {
        if (Matches(at + 2, 1, "I\0E\0Y\0")) {
            Add("J");
            return at + 3;
        }
        Add("TK");
        return at + 2;
    }
    Add("T");
    return Matches(at, 2, "DT\0DD\0") ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeG(int at) {
    if (At(at + 1) == 'H') return EncodeGH(at);
    if (At(at + 1) == 'N') {
        if (at == 1 && IsVowel(0) && !IsSlavoGermanic()) {
            Add("KN", "N");
        } else if (!Matches(at + 2, 2, "EY\0") && At(at + 1) != 'Y' && !IsSlavoGermanic()) {
            Add("N", "KN");
        } else {
            Add("KN");
        }
        return at + 2;
    }
    if (Matches(at + 1, 2, "LI\0") && !IsSlavoGermanic()) {
        Add("KL", "L");
        return at + 2;
    }
    if (at == 0 &&
        (At(at + 1) == 'Y' || Matches(at + 1, 2, "ES\0EP\0EB\0EL\0EY\0IB\0IL\0IN\0IE\0EI\0ER\0"))) {
        Add("K", "J");
        return at + 2;
    }
    if ((Matches(at + 1, 2, "ER\0") || At(at + 1) == 'Y') &&
        !Matches(0, 6, "DANGER\0RANGER\0MANGER\0") && !Matches(at - 1, 1, "E\0I\0") &&
        !Matches(at - 1, 3, "RGY\0OGY\0")) {
        Add("K", "J");
        return at + 2;
    }
    if (Matches(at + 1, 1, "E\0I\0Y\0") || Matches(at - 1, 4, "AGGI\0OGGI\0")) {
        if (StartsGermanic() || Matches(at + 1, 2, "ET\0")) {
            Add("K");
        } else if (Matches(at + 1, 4, "IER \0")) {
            Add("J");
        } else {
            Add("J", "K");
        }
        return at + 2;
    }
    Add("K");
    return At(at + 1) == 'G' ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeGH(int at) {
    if (at > 0 && !IsVowel(at - 1)) {
        Add("K");
        return at + 2;
    }
    if (at == 0) {
        Add(At(at + 2) == 'I' ? "J" : "K");
        return at + 2;
    }
    // Silent as in "hugh", "bough", "broughton".
    if ((at > 1 && Matches(at - 2, 1, "B\0H\0D\0")) ||
        (at > 2 && Matches(at - 3, 1, "B\0H\0D\0")) || (at > 3 && Matches(at - 4, 1, "B\0H\0"))) {
        return at + 2;
    }
    if (at > 2 && At(at - 1) == 'U' && Matches(at - 3, 1, "C\0G\0L\0R\0T\0")) {
        Add("F");
    } else if (At(at - 1) != 'I') {
        Add("K");
    }
    return at + 2;
}

int CDoubleMetaphone::EncodeH(int at) {
    if ((at == 0 || IsVowel(at - 1)) && IsVowel(at + 1)) {
        Add("H");
        return at + 2;
    }
    return at + 1;
}

int CDoubleMetaphone::EncodeJ(int at) {
    if (Matches(at, 4, "JOSE\0") || Matches(0, 4, "SAN \0")) {
        if ((at == 0 && At(at + 4) == ' ') || Matches(0, 4, "SAN \0")) {
            Add("H");
        } else {
            Add("J", "H");
        }
        return at + 1;
    }
    if (at == 0) {
        Add("J", "A");
    } else if (IsVowel(at - 1) && !IsSlavoGermanic() && (At(at + 1) == 'A' || At(at + 1) == 'O')) {
        Add("J", "H");
    } else if (at == last) {
        Add("J", "");
    } else if (!Matches(at + 1, 1, "L\0T\0K\0S\0N\0M\0B\0Z\0") &&
               !Matches(at - 1, 1, "S\0K\0L\0")) {
        Add("J");
    }
    return At(at + 1) == 'J' ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeL(int at) {
    if (At(at + 1) != 'L') {
        Add("L");
        return at + 1;
    }
    // Spanish "cabrillo", "gallegos": the second key drops the sound.
    if ((at == length - 3 && Matches(at - 1, 4, "ILLO\0ILLA\0ALLE\0")) ||
        ((Matches(last - 1, 2, "AS\0OS\0") || Matches(last, 1, "A\0O\0")) &&
         Matches(at - 1, 4, "ALLE\0"))) {
        Add("L", "");
    } else {
        Add("L");
    }
    return at + 2;
}

int CDoubleMetaphone::EncodeM(int at) {
    Add("M");
    bool silentB = Matches(at - 1, 3, "UMB\0") && (at + 1 == last || Matches(at + 2, 2, "ER\0"));
    return silentB || At(at + 1) == 'M' ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeR(int at) {
    // French "rogier", but not "hochmeier".
    if (at == last && !IsSlavoGermanic() && Matches(at - 2, 2, "IE\0") &&
        !Matches(at - 4, 2, "ME\0MA\0")) {
        Add("", "R");
    } else {
        Add("R");
    }
    return At(at + 1) == 'R' ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeS(int at) {
    if (Matches(at - 1, 3, "ISL\0YSL\0")) return at + 1;
    if (at == 0 && Matches(at, 5, "SUGAR\0")) {
        Add("X", "S");
        return at + 1;
    }
    if (Matches(at, 2, "SH\0")) {
        Add(Matches(at + 1, 4, "HEIM\0HOEK\0HOLM\0HOLZ\0") ? "S" : "X");
        return at + 2;
    }
    if (Matches(at, 3, "SIO\0SIA\0") || Matches(at, 4, "SIAN\0")) {
        if (IsSlavoGermanic()) {
            Add("S");
        } else {
            Add("S", "X");
        }
        return at + 3;
    }
    if ((at == 0 && Matches(at + 1, 1, "M\0N\0L\0W\0")) || Matches(at + 1, 1, "Z\0")) {
        Add("S", "X");
        return Matches(at + 1, 1, "Z\0") ? at + 2 : at + 1;
    }
    if (Matches(at, 2, "SC\0")) return EncodeSC(at);
    // French "resnais", "artois".
    if (at == last && Matches(at - 2, 2, "AI\0OI\0")) {
        Add("", "S");
    } else {
        Add("S");
    }
    return Matches(at + 1, 1, "S\0Z\0") ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeSC(int at) {
    if (At(at + 2) == 'H') {
        if (Matches(at + 3, 2, "OO\0ER\0EN\0UY\0ED\0EM\0")) {
            if (Matches(at + 3, 2, "ER\0EN\0")) {
                Add("X", "SK");
            } else {
                Add("SK");
            }
        } else if (at == 0 && !IsVowel(3) && At(3) != 'W') {
            Add("X", "S");
        } else {
            Add("X");
        }
        return at + 3;
    }
    Add(Matches(at + 2, 1, "I\0E\0Y\0") ? "S" : "SK");
    return at + 3;
}

int CDoubleMetaphone::EncodeT(int at) {
    if (Matches(at, 4, "TION\0") || Matches(at, 3, "TIA\0TCH\0")) {
        Add("X");
        return at + 3;
    }
    if (Matches(at, 2, "TH\0") || Matches(at, 3, "TTH\0")) {
        if (Matches(at + 2, 2, "OM\0AM\0") || StartsGermanic()) {
            Add("T");
        } else {
            Add("0", "T");
        }
        return at + 2;
    }
    Add("T");
    return Matches(at + 1, 1, "T\0D\0") ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeW(int at) {
    if (Matches(at, 2, "WR\0")) {
        Add("R");
        return at + 2;
    }
    if (at == 0 && (IsVowel(at + 1) || Matches(at, 2, "WH\0"))) {
        if (IsVowel(at + 1)) {
            Add("A", "F");
        } else {
            Add("A");
        }
    }
    if ((at == last && IsVowel(at - 1)) || Matches(at - 1, 5, "EWSKI\0EWSKY\0OWSKI\0OWSKY\0") ||
        Matches(0, 3, "SCH\0")) {
        Add("", "F");
        return at + 1;
    }
    if (Matches(at, 4, "WICZ\0WITZ\0")) {
        Add("TS", "FX");
        return at + 4;
    }
    return at + 1;
}

int CDoubleMetaphone::EncodeX(int at) {
    // French "breaux": silent at the end.
    bool silent =
        at == last && (Matches(at - 3, 3, "IAU\0EAU\0") || Matches(at - 2, 2, "AU\0OU\0"));
    if (!silent) Add("KS");
    return Matches(at + 1, 1, "C\0X\0") ? at + 2 : at + 1;
}

int CDoubleMetaphone::EncodeZ(int at) {
    if (At(at + 1) == 'H') {
        Add("J");
        return at + 2;
    }
    if (Matches(at + 1, 2, "ZO\0ZI\0ZA\0") || (IsSlavoGermanic() && at > 0 && At(at - 1) != 'T')) {
        Add("S", "TS");
    } else {
        Add("S");
    }
    return At(at + 1) == 'Z' ? at + 2 : at + 1;
}
