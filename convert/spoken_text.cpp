#include "convert/spoken_text.h"

#include <algorithm>
#include <vector>

namespace kelvaro {
namespace {

enum class Kind { kSyllable, kLatinWord, kClausePause, kSentencePause };

struct Token {
  Kind kind;
  std::u16string reading;  // tone-numbered for a syllable, the letters of a Latin word
  char16_t character = 0;  // the character it reads, or the numeral a digit reads as
  std::size_t from = 0;    // the source characters it reads
  std::size_t to = 0;
};

constexpr char kPinyinVoice[] = "cmn-latn-pinyin";
constexpr char kLatinVoice[] = "en";

constexpr std::u16string_view kDigitNumerals = u"零一二三四五六七八九";

// The reading of each numeral a number is spoken with.
std::u16string_view NumeralReading(char16_t numeral) {
  switch (numeral) {
    case u'零':
      return u"ling2";
    case u'一':
      return u"yi1";
    case u'二':
      return u"er4";
    case u'三':
      return u"san1";
    case u'四':
      return u"si4";
    case u'五':
      return u"wu3";
    case u'六':
      return u"liu4";
    case u'七':
      return u"qi1";
    case u'八':
      return u"ba1";
    case u'九':
      return u"jiu3";
    case u'十':
      return u"shi2";
    case u'百':
      return u"bai3";
    default:
      return u"qian1";  // 千
  }
}

// 0 to 9 for an ASCII or full-width digit, else -1.
int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'０' && c <= u'９') return c - u'０';
  return -1;
}

// A count up to 9999 in numerals: 15 -> 十五, 105 -> 一百零五, 2026 -> 二千零二十六.
std::u16string CountNumerals(int value) {
  if (value == 0) return u"零";
  static constexpr char16_t kUnits[] = {u'千', u'百', u'十', 0};
  static constexpr int kPlaces[] = {1000, 100, 10, 1};
  std::u16string numerals;
  bool gap = false;
  for (int place = 0; place < 4; ++place) {
    const int digit = value / kPlaces[place] % 10;
    if (digit == 0) {
      gap = !numerals.empty();
      continue;
    }
    if (gap) numerals += u'零';
    gap = false;
    // 10 to 19 are 十, 十一 ...: the 一 of the tens is not said.
    if (!(place == 2 && digit == 1 && value < 20)) numerals += kDigitNumerals[digit];
    if (kUnits[place]) numerals += kUnits[place];
  }
  return numerals;
}

// The ASCII letter of an ASCII or full-width Latin letter, else 0.
char16_t LatinLetter(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) return c;
  if ((c >= u'ａ' && c <= u'ｚ') || (c >= u'Ａ' && c <= u'Ｚ')) return c - u'Ａ' + u'A';
  return 0;
}

bool IsClausePause(char16_t c) {
  return std::u16string_view(u"，、；：,;:").find(c) != std::u16string_view::npos;
}
bool IsSentencePause(char16_t c) {
  return std::u16string_view(u"。！？!?\n").find(c) != std::u16string_view::npos;
}

void AddPause(std::vector<Token>& tokens, Kind kind) {
  if (tokens.empty()) return;  // nothing to pause after
  Token& last = tokens.back();
  if (last.kind == Kind::kSyllable || last.kind == Kind::kLatinWord) {
    tokens.push_back({kind, {}, 0, 0, 0});
  } else if (kind == Kind::kSentencePause) {
    last.kind = kind;  // two pauses in a row: the longer one
  }
}

char16_t Tone(const Token& token) { return token.reading.empty() ? u'5' : token.reading.back(); }

// 一 and 不 as spoken before the next syllable.
void ApplyToneSandhi(std::vector<Token>& tokens) {
  constexpr std::u16string_view kNumerals = u"零〇一二三四五六七八九十百千万亿两";
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    Token& token = tokens[i];
    if (token.kind != Kind::kSyllable) continue;
    const Token* next =
        i + 1 < tokens.size() && tokens[i + 1].kind == Kind::kSyllable ? &tokens[i + 1] : nullptr;
    const Token* previous =
        i > 0 && tokens[i - 1].kind == Kind::kSyllable ? &tokens[i - 1] : nullptr;
    if (token.character == u'一' && token.reading == u"yi1" && next) {
      const bool inNumber =
          (previous && (kNumerals.find(previous->character) != std::u16string_view::npos ||
                        previous->character == u'第')) ||
          kDigitNumerals.find(next->character) != std::u16string_view::npos ||
          next->character == u'〇' || next->character == u'两' ||
          std::u16string_view(u"月日号").find(next->character) != std::u16string_view::npos;
      if (!inNumber) token.reading = Tone(*next) == u'4' ? u"yi2" : u"yi4";
    } else if (token.character == u'不' && token.reading == u"bu4" && next && Tone(*next) == u'4') {
      token.reading = u"bu2";
    }
  }
}

}  // namespace

Speech SpeechOf(const PinyinConverter& converter, std::u16string_view source, std::size_t from,
                std::size_t to) {
  to = std::min(to, source.size());
  const auto placed = converter.PlacedReadings(source, from, to);
  std::vector<Token> tokens;
  auto next = placed.begin();
  for (std::size_t i = from; i < to;) {
    if (next != placed.end() && next->position == i) {
      std::u16string reading(next->reading);
      // A rule reading without a digit ("huo" of 暖和) is the neutral tone.
      if (reading.back() < u'1' || reading.back() > u'5') reading += u'5';
      tokens.push_back({Kind::kSyllable, std::move(reading), source[i], i, i + 1});
      ++next;
      ++i;
    } else if (DigitValue(source[i]) >= 0) {
      std::size_t end = i;
      while (end < to && DigitValue(source[end]) >= 0) ++end;
      const std::size_t length = end - i;
      const bool year = length == 4 && end < source.size() && source[end] == u'年';
      std::u16string numerals;
      if (!year && length <= 4 && (length == 1 || DigitValue(source[i]) != 0)) {
        int value = 0;
        for (std::size_t d = i; d < end; ++d) value = value * 10 + DigitValue(source[d]);
        numerals = CountNumerals(value);
      } else {
        for (std::size_t d = i; d < end; ++d) numerals += kDigitNumerals[DigitValue(source[d])];
      }
      for (const char16_t numeral : numerals) {
        tokens.push_back(
            {Kind::kSyllable, std::u16string(NumeralReading(numeral)), numeral, i, end});
      }
      i = end;
    } else if (LatinLetter(source[i])) {
      Token word{Kind::kLatinWord, {}, 0, i, i};
      for (; word.to < to && LatinLetter(source[word.to]); ++word.to) {
        word.reading += LatinLetter(source[word.to]);
      }
      i = word.to;
      tokens.push_back(std::move(word));
    } else {
      if (IsClausePause(source[i])) AddPause(tokens, Kind::kClausePause);
      if (IsSentencePause(source[i])) AddPause(tokens, Kind::kSentencePause);
      ++i;
    }
  }
  ApplyToneSandhi(tokens);

  // The voice pauses at a comma; it ends a sentence at a full stop only when
  // a line break or more follows, so a sentence pause is a full stop and a
  // line break.
  const bool twoVoices = std::any_of(tokens.begin(), tokens.end(),
                                     [](const Token& t) { return t.kind == Kind::kLatinWord; });
  Speech speech;
  std::string& text = speech.text;
  const char* voice = nullptr;  // of the open voice element
  for (const Token& token : tokens) {
    if (token.kind == Kind::kClausePause || token.kind == Kind::kSentencePause) {
      text += token.kind == Kind::kClausePause ? ',' : '.';
      continue;
    }
    if (!text.empty()) text += text.back() == '.' ? '\n' : ' ';
    const char* wanted = token.kind == Kind::kLatinWord ? kLatinVoice : kPinyinVoice;
    if (twoVoices && voice != wanted) {
      if (voice) text += "</voice>";
      voice = wanted;
      text += "<voice name=\"";
      text += voice;
      text += "\">";
    }
    speech.words.push_back({text.size(), token.from, token.to});
    for (const char16_t c : token.reading) text += c == u'ü' ? 'v' : static_cast<char>(c);
  }
  if (voice) text += "</voice>";
  return speech;
}

}  // namespace kelvaro
