#pragma once

// Cases of matching as a reader sees it, shared by the simulation's tests and by the smoke test
// of the Windows rules, so that both platforms are held to the same answers.
namespace pw::test {

struct ReaderFormCase {
  const char* title;
  const char* word;
  bool contains;  // whether the title holds the word once both are in reader form
};

inline constexpr ReaderFormCase kReaderFormCases[] = {
    // Latin: letter case, German sharp s, composed and decomposed accents.
    {"Casino Royale", "CASINO", true},
    {"STRASSE", "stra\u00DFe", true},
    {"Cafe\u0301 de Paris", "caf\u00E9", true},
    {"Cafe de Paris", "caf\u00E9", false},
    // Cyrillic: the case pair, and a word of the same length that must not match.
    {"\u041A\u0410\u0417\u0418\u041D\u041E \u043E\u043D\u043B\u0430\u0439\u043D",
     "\u043A\u0430\u0437\u0438\u043D\u043E", true},
    {"\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440",
     "\u043A\u0430\u0437\u0438\u043D\u043E", false},
    // Greek: accented capitals, and the final sigma against the capital one.
    {"\u039A\u0391\u0396\u0399\u039D\u039F \u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF\u03C2",
     true},
    {"\u03A3\u039F\u03A6\u038A\u0391", "\u03C3\u03BF\u03C6\u03AF\u03B1", true},
    // CJK: ideographs, and halfwidth katakana against full width.
    {"\u5728\u7EBF\u8D4C\u573A\u5927\u5168", "\u8D4C\u573A", true},
    {"\u5728\u7EBF\u65B0\u95FB", "\u8D4C\u573A", false},
    {"\u30AB\u30B8\u30CE\u653B\u7565", "\uFF76\uFF7C\uFF9E\uFF89", true},
    // Fullwidth Latin and ligatures.
    {"\uFF23\uFF41\uFF53\uFF49\uFF4E\uFF4F night", "casino", true},
    {"\uFB01nance news", "FINANCE", true},
    {"Royal \uFB00air", "ffair", true},
    // Invisible format characters, in the title or in the word.
    {"Casino - Microsoft\u200B Edge", "microsoft edge", true},
    {"Ca\u00ADsi\u200Dno", "casino", true},
    {"\uFEFF\u200E\u202Bcasino\u202C\u2060", "casino", true},
    {"casino", "cas\u200Cino", true},
    // Nothing is gained by the folding that a reader would not see.
    {"Casino Royale", "casinos", false},
};

}  // namespace pw::test
