// The paint script format the host plays back: one keyword per line, followed by its
// values one per line. The first line is "1554"; a finished script ends with "ScriptEnd".
#pragma once
#include <string>
#include <vector>

namespace orvpaint {

struct Record {
    std::string keyword;
    std::vector<std::string> text;  // the value lines as written
    std::vector<double> num;        // the same values as numbers (empty for text-valued records)
    int line = 0;                   // line number of the keyword, from 1
};

struct Script {
    std::vector<Record> records;  // without the leading "1554"; ends with "ScriptEnd"
};

// Value-line count of a keyword, or -1 when the keyword is unknown.
int valueCount(const std::string& keyword);

// Parses a whole script. On failure returns false and sets error to a one-line message of
// the form "LINE: what is wrong" (the caller prefixes the file name).
bool parseScript(const std::string& content, Script& out, std::string& error);

}  // namespace orvpaint
