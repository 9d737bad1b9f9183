// Build-time tool: turns the string table (a Qt Linguist .ts file with ID-based messages) into a
// C++ array, so that programs read their texts without Qt.
//   velk-text-table-gen velk_en.ts TextTableData.cpp
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

using Table = std::map<std::string, std::string>;  // key to text, sorted for the lookup

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(std::string("cannot read ") + path);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// The text between `open` and `close`, searched from `from`; `from` moves past `close`.
std::string_view between(std::string_view xml, std::string_view open, std::string_view close, size_t& from) {
    const size_t start = xml.find(open, from);
    const size_t end = start == std::string_view::npos ? start : xml.find(close, start + open.size());
    if (end == std::string_view::npos)
        throw std::runtime_error("a message lacks " + std::string(open) + "..." + std::string(close));
    from = end + close.size();
    return xml.substr(start + open.size(), end - start - open.size());
}

void appendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// XML character data with its entities and character references resolved.
std::string unescapeXml(std::string_view text) {
    static const std::map<std::string_view, char> kEntities = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (end == std::string_view::npos) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, end - i - 1);
        if (name.starts_with('#')) {
            const bool hex = name.size() > 1 && name[1] == 'x';
            appendUtf8(out, std::stoul(std::string(name.substr(hex ? 2 : 1)), nullptr, hex ? 16 : 10));
        } else if (const auto entity = kEntities.find(name); entity != kEntities.end()) {
            out += entity->second;
        } else {
            throw std::runtime_error("unknown entity &" + std::string(name) + ";");
        }
        i = end;
    }
    return out;
}

// Each <message id="KEY"> with its <translation>; a message without a translation has no entry,
// so its key shows.
Table parseMessages(std::string_view xml) {
    Table table;
    size_t from = 0;
    while (xml.find("<message id=\"", from) != std::string_view::npos) {
        const std::string key(between(xml, "<message id=\"", "\"", from));
        size_t translation = xml.find("<translation", from);
        between(xml, "<translation", ">", translation);
        const std::string text = unescapeXml(between(xml, "", "</translation>", translation));
        from = translation;
        if (!text.empty() && !table.emplace(key, text).second)
            throw std::runtime_error("two messages have the key " + key);
    }
    return table;
}

// A string_view of a C++ string literal, its length given so that no strlen runs at start;
// octal escapes, which end after three digits, keep the bytes of UTF-8.
std::string literal(std::string_view text) {
    std::string out = "std::string_view(\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\%03o", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\", " + std::to_string(text.size()) + ")";
}

void writeTable(const Table& table, const char* path) {
    std::ofstream out(path, std::ios::binary);
    out << "// Generated from the string table by velk-text-table-gen; do not edit.\n"
           "#include \"strings/TextEntries.h\"\n\n"
           "namespace velk::strings {\n\n"
           "extern constinit const TextEntry kTextEntries[] = {\n";
    for (const auto& [key, text] : table)
        out << "    {" << literal(key) << ", " << literal(text) << "},\n";
    out << "};\nextern const std::size_t kTextEntryCount = " << table.size()
        << ";\n\n}  // namespace velk::strings\n";
    if (!out.flush())
        throw std::runtime_error(std::string("cannot write ") + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: velk-text-table-gen TABLE.ts OUTPUT.cpp\n";
        return 2;
    }
    try {
        writeTable(parseMessages(readFile(argv[1])), argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "velk-text-table-gen: " << argv[1] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
