#include "tools/sqctool/defs_json.h"

#include <cstdio>

std::string jsonString(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c <= 0x7E) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        }
    }
    return out + "\"";
}

std::string definitionsToJson(const DefinitionDatabase& db) {
    std::string out = "{\"parseError\": " + jsonString(db.parseError);
    out += ", \"firstLanguage\": " + jsonString(db.firstLanguage) + ", \"variants\": [";
    for (size_t i = 0; i < db.variants.size(); ++i) out += (i ? ", " : "") + std::to_string(db.variants[i]);
    out += "], \"languages\": {";
    bool firstLanguage = true;
    for (const auto& [name, table] : db.languages) {
        out += (firstLanguage ? "\n  " : ",\n  ") + jsonString(name) + ": {";
        firstLanguage = false;
        bool firstRow = true;
        for (const auto& [key, row] : table) {
            out += (firstRow ? "\n    " : ",\n    ") + jsonString(key) + ": [";
            firstRow = false;
            for (size_t i = 0; i < row.size(); ++i) out += (i ? ", " : "") + jsonString(row[i]);
            out += "]";
        }
        out += firstRow ? "}" : "\n  }";
    }
    out += firstLanguage ? "}}\n" : "\n}}\n";
    return out;
}
