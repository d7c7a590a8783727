#include "paint_script.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace orvpaint {

namespace {

struct KeywordInfo {
    const char* keyword;
    int values;
    bool numeric;  // false: the values are free text
};

// The records of the format, plus the host's own layer and selection records.
constexpr KeywordInfo kKeywords[] = {
    {"Description", 2, false}, {"RandomSeed", 1, true},     {"DrawStart", 3, true},
    {"SmoothPlot2", 5, true},  {"DrawStop", 1, true},       {"SelectBrush", 3, true},
    {"SetBrushSize", 1, true}, {"SetBrushDensity", 1, true}, {"SetBrushOpacity", 1, true},
    {"SetColor", 3, true},     {"SetColorBanks", 13, true}, {"Line2", 4, true},
    {"Spline", 8, true},       {"Dab", 3, true},            {"Filter", 20, false},
    {"ScriptEnd", 0, true},
    // Host records: the layer to paint on and the selection.
    {"Layer", 4, false},       {"MaskRect", 5, true},       {"MaskEllipse", 5, true},
    {"MaskAll", 0, true},
};

const KeywordInfo* findKeyword(const std::string& k) {
    for (const auto& info : kKeywords)
        if (k == info.keyword) return &info;
    return nullptr;
}

bool parseNumber(const std::string& s, double& v) {
    const char* b = s.c_str();
    while (*b == ' ' || *b == '\t') ++b;
    if (!*b) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtod(b, &end);
    while (*end == ' ' || *end == '\t') ++end;
    return *end == 0 && errno == 0 && std::isfinite(v);
}

std::vector<std::string> splitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : content) {
        if (c == '\n') {
            if (!cur.empty() && cur.back() == '\r') cur.pop_back();
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) {
        if (cur.back() == '\r') cur.pop_back();
        lines.push_back(cur);
    }
    return lines;
}

std::string at(int line, const std::string& what) { return std::to_string(line) + ": " + what; }

}  // namespace

int valueCount(const std::string& keyword) {
    const KeywordInfo* k = findKeyword(keyword);
    return k ? k->values : -1;
}

bool parseScript(const std::string& content, Script& out, std::string& error) {
    if (content.find('\0') != std::string::npos) {
        error = "1: not a paint script (binary data)";
        return false;
    }
    const std::vector<std::string> lines = splitLines(content);
    if (lines.empty() || lines[0] != "1554") {
        error = at(1, "not a paint script: the first line must be 1554");
        return false;
    }
    Script s;
    size_t i = 1;
    bool ended = false;
    while (i < lines.size()) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::string& k = lines[i];
        if (ended) {
            if (k.find_first_not_of(" \t") == std::string::npos) { ++i; continue; }
            error = at(lineNo, "'" + k + "' after ScriptEnd");
            return false;
        }
        const KeywordInfo* info = findKeyword(k);
        if (!info) {
            error = at(lineNo, "unknown keyword '" + k.substr(0, 60) + "'");
            return false;
        }
        Record r;
        r.keyword = k;
        r.line = lineNo;
        for (int v = 0; v < info->values; ++v) {
            const size_t li = i + 1 + v;
            if (li >= lines.size()) {
                error = at(lineNo, "'" + k + "' needs " + std::to_string(info->values) + " value lines, the file ends after " +
                                       std::to_string(v) + " (truncated?)");
                return false;
            }
            r.text.push_back(lines[li]);
            if (info->numeric) {
                double d;
                if (!parseNumber(lines[li], d)) {
                    error = at(static_cast<int>(li) + 1, "value " + std::to_string(v + 1) + " of '" + k + "' is not a number: '" +
                                                             lines[li].substr(0, 60) + "'");
                    return false;
                }
                r.num.push_back(d);
            }
        }
        i += 1 + info->values;
        if (k == "ScriptEnd") ended = true;
        s.records.push_back(std::move(r));
    }
    if (!ended) {
        error = at(static_cast<int>(lines.size()), "the script ends without ScriptEnd (truncated?)");
        return false;
    }
    out = std::move(s);
    return true;
}

}  // namespace orvpaint
