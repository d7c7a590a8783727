// The paint script reader: well-formed scripts and the errors a host must report clearly.
#include <gtest/gtest.h>

#include "paint_script.h"

using namespace orvpaint;

TEST(PaintScript, ReadsEveryRecordKindWithLineNumbers) {
    const std::string text =
        "1554\r\nDescription\r\n1\r\n \r\nRandomSeed\r\n1234\r\nDrawStart\r\n0\r\n0\r\n-1\r\n"
        "SmoothPlot2\r\n10\r\n20\r\n0.5\r\n0\r\n0\r\nDrawStop\r\n1\r\nSetColorBanks\r\n0\r\n"
        "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\nScriptEnd\r\n";
    Script s;
    std::string err;
    ASSERT_TRUE(parseScript(text, s, err)) << err;
    ASSERT_EQ(s.records.size(), 7u);
    EXPECT_EQ(s.records[0].text[1], " ");
    EXPECT_EQ(s.records[1].num, std::vector<double>{1234});
    EXPECT_EQ(s.records[3].keyword, "SmoothPlot2");
    EXPECT_EQ(s.records[3].line, 11);
    EXPECT_EQ(s.records[3].num[2], 0.5);
    EXPECT_EQ(s.records[5].num.size(), 13u);
    EXPECT_EQ(s.records.back().keyword, "ScriptEnd");
}

TEST(PaintScript, MalformedScriptsNameTheLine) {
    const struct {
        const char* text;
        const char* error;
    } rows[] = {
        {"", "1: not a paint script"},
        {"hello\n", "1: not a paint script"},
        {"1554\nPaintStuff\n1\nScriptEnd\n", "2: unknown keyword 'PaintStuff'"},
        {"1554\nDab\n1\n2\n", "2: 'Dab' needs 3 value lines"},
        {"1554\nDab\n1\nabc\n3\nScriptEnd\n", "4: value 2 of 'Dab' is not a number: 'abc'"},
        {"1554\nDab\n1\n2\n3\n", "5: the script ends without ScriptEnd"},
        {"1554\nSetBrushSize\nnan\nScriptEnd\n", "3: value 1 of 'SetBrushSize' is not a number"},
        {"1554\nSetBrushSize\n1e999\nScriptEnd\n", "3: value 1 of 'SetBrushSize' is not a number"},
        {"1554\nScriptEnd\nDab\n", "3: 'Dab' after ScriptEnd"},
        {"1554\nDab\n\n2\n3\nScriptEnd\n", "3: value 1 of 'Dab' is not a number"},
    };
    for (const auto& r : rows) {
        Script s;
        std::string err;
        EXPECT_FALSE(parseScript(r.text, s, err)) << r.text;
        EXPECT_EQ(err.rfind(r.error, 0), 0u) << "got: " << err << "\nwanted: " << r.error;
    }
    Script s;
    std::string err;
    EXPECT_FALSE(parseScript(std::string("1554\n\0\n", 7), s, err));
}
