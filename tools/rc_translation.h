#pragma once
// The language library's resource script, made from the plug-in's own: every text literal
// replaced by its translation from a table, the LANGUAGE statement set to the table's, and the
// data resources (PiPL, AETE, MAPS, GRAD) left out, which stay the plug-in's.
//
// Table (UTF-8; non-ASCII letters become Windows-1252 escapes in the script):
//   # comment
//   language LANG_GERMAN SUBLANG_GERMAN
//   "English literal" = "Übersetzung"     literals as the script writes them ("" and \n kept)
//   "Apply" in kPresetApply = "Laden"      only on the lines that name kPresetApply, or inside the
//                                         dialog or menu of that name
//   "Static"                              a literal that is no text and stays as it is
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumen::tools {

struct TranslationTable {
    std::string language;  // "LANG_GERMAN, SUBLANG_GERMAN"
    std::map<std::string, std::string> texts;  // literal body as written -> translated body
    // Where one text needs another translation on the line of one identifier (a narrower
    // control): {literal body, identifier} -> translated body.
    std::map<std::pair<std::string, std::string>, std::string> inPlace;
};

std::optional<TranslationTable> parseTranslationTable(const std::string& text, std::string& error);

// `untranslated` receives each literal of the script the table does not name, once.
std::string translateResourceScript(const std::string& script, const TranslationTable& table,
                                    std::vector<std::string>& untranslated);

}  // namespace lumen::tools
