// The language library's script: made from the plug-in's own with every text translated, so a
// text added to lumenforge.rc without its German line fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/rc_translation.h"

namespace lumen::tools {
namespace {

std::string readSource(const std::string& name) {
    std::ifstream in(std::string(LUMEN_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(GermanTranslation, EveryLiteralOfThePluginsScriptIsInTheTable) {
    std::string error;
    const auto table = parseTranslationTable(readSource("german.txt"), error);
    ASSERT_TRUE(table) << error;
    std::vector<std::string> untranslated;
    const std::string script = translateResourceScript(readSource("lumenforge.rc"), *table, untranslated);
    EXPECT_TRUE(untranslated.empty()) << "first untranslated: \"" << untranslated.front() << "\"";
    EXPECT_NE(script.find("LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"), std::string::npos);
    EXPECT_EQ(script.find("LANG_ENGLISH"), std::string::npos);
    EXPECT_NE(script.find("DEFPUSHBUTTON \"Anwenden\", kMainApply"), std::string::npos);
    EXPECT_NE(script.find("\"Zur\\374cksetzen\""), std::string::npos) << "letters past ASCII as Windows-1252 escapes";
    for (const char* data : {" PiPL ", " AETE ", " MAPS ", " GRAD "})
        EXPECT_EQ(script.find(data), std::string::npos) << data << " stays in the plug-in";
    EXPECT_NE(script.find("kMainLogoBitmap BITMAP \"bitmap-131.bmp\""), std::string::npos);
}

TEST(GermanTranslation, LiteralsAreMatchedWholeWithTheirQuotesAndEscapes) {
    std::string error;
    const auto table = parseTranslationTable("language LANG_GERMAN SUBLANG_GERMAN\n"
                                             "\"Say \"\"%s\"\"\\n\" = \"Sag \"\"%s\"\"\\n\"\n"
                                             "\"Static\"\n"
                                             "\"Say\" in kNarrow = \"S.\"\n"
                                             "\"Say\" in kBox = \"Box\"\n",
                                             error);
    ASSERT_TRUE(table) << error;
    std::vector<std::string> untranslated;
    const std::string script = translateResourceScript(
        "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
        "#include \"ids.h\"\n"
        "// a \"comment\"\n"
        "    1 \"Say \"\"%s\"\"\\n\"\n"
        "    CONTROL \"Say\", 2, \"Static\", 0\n"
        "    CONTROL \"Say\", kNarrow, \"Static\", 0\n"
        "    CONTROL \"Say\", kNarrowest, \"Static\", 0\n"
        "kBox DIALOGEX 0, 0, 10, 10\n"
        "    LTEXT \"Say\", -1, 0, 0, 5, 5\n"
        "16000 PiPL \"pipl.bin\"\n",
        *table, untranslated);
    EXPECT_EQ(script,
              "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
              "#include \"ids.h\"\n"
              "// a \"comment\"\n"
              "    1 \"Sag \"\"%s\"\"\\n\"\n"
              "    CONTROL \"Say\", 2, \"Static\", 0\n"
              "    CONTROL \"S.\", kNarrow, \"Static\", 0\n"
              "    CONTROL \"Say\", kNarrowest, \"Static\", 0\n"
              "kBox DIALOGEX 0, 0, 10, 10\n"
              "    LTEXT \"Box\", -1, 0, 0, 5, 5\n");
    EXPECT_EQ(untranslated, std::vector<std::string>{"Say"});
}

TEST(GermanTranslation, MalformedTablesAreRefusedWithTheirLine) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"\"a\" = \"b\"\n", "the table names no language"},
        {"language LANG_GERMAN\n", "line 1: language PRIMARY SUB"},
        {"language L S\nnot a literal\n", "line 2: a line starts with a literal"},
        {"language L S\n\"a\" : \"b\"\n", "line 2: \"ENGLISH\" = \"TRANSLATION\""},
        {"language L S\n\"a\" in kX\n", "line 2: \"ENGLISH\" in IDENTIFIER = \"TRANSLATION\""},
        {"language L S\n\"a\" = \"b\"\n\"a\"\n", "line 3: \"a\" a second time"},
        {"language L S\n\"a\" = \"\xE2\x82\xAC\"\n", "line 2: a translation holds a letter Windows-1252 does not"},
        {"language L S\n\"a\" = \"\xC2\x85\"\n", "line 2: a translation holds a letter Windows-1252 does not"},
    };
    for (const auto& test : cases) {
        std::string error;
        EXPECT_FALSE(parseTranslationTable(test.text, error)) << test.text;
        EXPECT_EQ(error, test.expected);
    }
    std::string error;
    const auto table = parseTranslationTable("language L S\n\"a\" = \"\xC3\xA4\xC3\x9F\xC2\xA9\"\n", error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->texts.at("a"), "\\344\\337\\251");
}

}  // namespace
}  // namespace lumen::tools
