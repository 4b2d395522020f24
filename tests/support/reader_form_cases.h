#pragma once

#include <string>
#include <vector>

#include "platform/text_rules.h"

// Cases of matching as a reader sees it, shared by the simulation's tests and by the smoke test
// of the Windows rules, so that both platforms are held to the same answers.
namespace pw::test {

struct ReaderFormCase {
  const char* title;
  const char* word;
};

// Titles that hold the word once both are in reader form.
inline constexpr ReaderFormCase kReaderFormMatches[] = {
    // Latin: letter case, German sharp s, composed and decomposed accents.
    {"Casino Royale", "CASINO"},
    {"STRASSE", "stra\u00DFe"},
    {"Cafe\u0301 de Paris", "caf\u00E9"},
    // Cyrillic and Greek case pairs; Greek accented capitals, and the final sigma against the
    // capital one.
    {"\u041A\u0410\u0417\u0418\u041D\u041E \u043E\u043D\u043B\u0430\u0439\u043D",
     "\u043A\u0430\u0437\u0438\u043D\u043E"},
    {"\u039A\u0391\u0396\u0399\u039D\u039F \u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF\u03C2"},
    {"\u03A3\u039F\u03A6\u038A\u0391", "\u03C3\u03BF\u03C6\u03AF\u03B1"},
    // CJK: ideographs, and halfwidth katakana against full width.
    {"\u5728\u7EBF\u8D4C\u573A\u5927\u5168", "\u8D4C\u573A"},
    {"\u30AB\u30B8\u30CE\u653B\u7565", "\uFF76\uFF7C\uFF9E\uFF89"},
    // Fullwidth Latin and ligatures.
    {"\uFF23\uFF41\uFF53\uFF49\uFF4E\uFF4F night", "casino"},
    {"\uFB01nance news", "FINANCE"},
    {"Royal \uFB00air", "ffair"},
    // Invisible format characters, in the title or in the word.
    {"Casino - Microsoft\u200B Edge", "microsoft edge"},
    {"Ca\u00ADsi\u200Dno", "casino"},
    {"\uFEFF\u200E\u202Bcasino\u202C\u2060", "casino"},
    {"casino", "cas\u200Cino"},
};

// Titles that must not: the folding gains nothing a reader would not see.
inline constexpr ReaderFormCase kReaderFormMisses[] = {
    {"Cafe de Paris", "caf\u00E9"},
    // A Cyrillic word of the same length.
    {"\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440",
     "\u043A\u0430\u0437\u0438\u043D\u043E"},
    {"\u5728\u7EBF\u65B0\u95FB", "\u8D4C\u573A"},
    {"Casino Royale", "casinos"},
};

struct ReaderFormResult {
  bool held;
  std::string what;  // the case and both reader forms
};

// Every shared case under `rules`, matches first.
inline std::vector<ReaderFormResult> ReaderFormResults(TextRules& rules) {
  std::vector<ReaderFormResult> results;
  auto check = [&](const ReaderFormCase& c, bool contains) {
    const std::string title = rules.ReaderForm(c.title);
    const std::string word = rules.ReaderForm(c.word);
    results.push_back({(title.find(word) != std::string::npos) == contains,
                       std::string(c.title) + " / " + c.word + " -> " + title + " / " + word});
  };
  for (const ReaderFormCase& c : kReaderFormMatches) check(c, true);
  for (const ReaderFormCase& c : kReaderFormMisses) check(c, false);
  return results;
}

}  // namespace pw::test
