#include "db/TrieWriter.h"

#include "db/Format.h"

struct CTrieWriter::Node {
    unsigned char c = 0;
    bool terminal = false;
    const std::vector<uint32_t>* refs = nullptr;  // the key's references when terminal
    std::vector<Node> children;                   // ascending by character
};

namespace {

// The key as text for an error message, other bytes as \xNN.
std::string Printable(const std::string& key) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : key) {
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            text += "\\x";
            text += kHex[c >> 4];
            text += kHex[c & 15];
        }
    }
    return text;
}

void AppendLittleEndian(uint32_t word, std::vector<unsigned char>* out) {
    for (int shift = 0; shift < 32; shift += 8)
        out->push_back(static_cast<unsigned char>(word >> shift));
}

}  // namespace

CTrieWriter::CTrieWriter(bool rawEntries) : rawEntries(rawEntries) {}

CTrieWriter::~CTrieWriter() {}

bool CTrieWriter::Fail(const std::string& text) {
    error = text;
    return false;
}

bool CTrieWriter::Add(const std::string& key, const std::vector<uint32_t>& refs) {
    if (key.empty()) return Fail("empty key");
    if (key.size() >= static_cast<size_t>(lxd::kKeyBufferSize)) {
        return Fail("key longer than " + std::to_string(lxd::kKeyBufferSize - 1) +
                    " bytes: " + Printable(key));
    }
    unsigned char highest = rawEntries ? 0xFF : 0x7F;
    for (unsigned char c : key) {
        if (c == 0 || c > highest) {
            return Fail("key byte " + std::to_string(c) + " outside 1.." + std::to_string(highest) +
                        ": " + Printable(key));
        }
    }
    if (rawEntries && !refs.empty())
        return Fail("raw trie keys carry no references: " + Printable(key));
    for (uint32_t ref : refs) {
        if ((ref & lxd::kEntryRecordRef) == 0)
            return Fail("reference without its top bit: " + Printable(key));
    }
    std::vector<uint32_t>& stored = keys[key];
    stored.insert(stored.end(), refs.begin(), refs.end());
    return true;
}

bool CTrieWriter::AddHeadword(const std::string& headword, const std::vector<uint32_t>& refs) {
    return Add(KeyOf(headword), refs);
}

std::string CTrieWriter::KeyOf(const std::string& headword) {
    std::string key = headword;
    std::string positions;
    for (size_t i = 0; i < key.size(); ++i) {
        if (key[i] >= 'A' && key[i] <= 'Z') {
            key[i] = static_cast<char>(key[i] + 0x20);
            positions.push_back(static_cast<char>(lxd::kCapitalPositionBase + i));
        }
    }
    if (positions.empty()) return key;
    return key + static_cast<char>(lxd::kCapitalsMarker) + positions;
}

// Entries of one sibling list: its nodes and their references.
uint32_t CTrieWriter::ListEntries(const std::vector<Node>& list) {
    uint32_t count = 0;
    for (const Node& node : list) {
        count += 1 + (node.refs != nullptr ? static_cast<uint32_t>(node.refs->size()) : 0);
    }
    return count;
}

uint64_t CTrieWriter::SubtreeEntries(const std::vector<Node>& list) {
    uint64_t count = ListEntries(list);
    for (const Node& node : list) count += SubtreeEntries(node.children);
    return count;
}

// Writes `list` at entries[first...]; each child list goes at *next, which
// moves past it, so sibling lists stay contiguous.
void CTrieWriter::PlaceList(const std::vector<Node>& list, uint32_t first,
                            std::vector<uint32_t>* entries, uint32_t* next) {
    uint32_t at = first;
    for (size_t i = 0; i < list.size(); ++i) {
        const Node& node = list[i];
        uint32_t child = 0;
        if (!node.children.empty()) {
            child = *next;
            *next += ListEntries(node.children);
            PlaceList(node.children, child, entries, next);
        }
        uint32_t entry = (static_cast<uint32_t>(node.c) << lxd::kEntryCharShift) | child;
        if (node.terminal) entry |= lxd::kEntryTerminal;
        if (i + 1 == list.size()) entry |= lxd::kEntryLast;
        (*entries)[at++] = entry;
        if (node.refs != nullptr) {
            for (uint32_t ref : *node.refs) (*entries)[at++] = ref;
        }
    }
}

bool CTrieWriter::Finish(std::vector<unsigned char>* section) {
    Node root;
    for (const auto& item : keys) {
        Node* node = &root;
        for (unsigned char c : item.first) {
            // Keys come sorted, so a new character always goes last.
            if (node->children.empty() || node->children.back().c != c) {
                node->children.emplace_back();
                node->children.back().c = c;
            }
            node = &node->children.back();
        }
        node->terminal = true;
        if (!rawEntries) node->refs = &item.second;
    }
    uint64_t count = SubtreeEntries(root.children);
    if (count > lxd::kMaxTrieEntries) {
        return Fail("trie needs " + std::to_string(count) + " entries, more than " +
                    std::to_string(lxd::kMaxTrieEntries) + " a child index can address");
    }
    std::vector<uint32_t> entries(count + 1);
    uint32_t next = 1 + ListEntries(root.children);
    PlaceList(root.children, 1, &entries, &next);

    section->clear();
    section->reserve((count + 2) * 4);
    AppendLittleEndian(static_cast<uint32_t>(count), section);
    for (size_t i = 1; i < entries.size(); ++i) AppendLittleEndian(entries[i], section);
    AppendLittleEndian(lxd::kTrieEndMarker, section);
    return true;
}
