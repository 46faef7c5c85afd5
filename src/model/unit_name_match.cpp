#include "model/unit_name_match.h"

#include <array>
#include <optional>

#include "model/trimmed_text.h"

namespace kalvenor {
namespace {

// The full-width forms of the half-width katakana and signs U+FF61..U+FF9F.
constexpr std::array<char32_t, 63> kFullKatakana = {
    U'。', U'「', U'」', U'、', U'・', U'ヲ', U'ァ', U'ィ', U'ゥ', U'ェ', U'ォ', U'ャ', U'ュ',
    U'ョ', U'ッ', U'ー', U'ア', U'イ', U'ウ', U'エ', U'オ', U'カ', U'キ', U'ク', U'ケ', U'コ',
    U'サ', U'シ', U'ス', U'セ', U'ソ', U'タ', U'チ', U'ツ', U'テ', U'ト', U'ナ', U'ニ', U'ヌ',
    U'ネ', U'ノ', U'ハ', U'ヒ', U'フ', U'ヘ', U'ホ', U'マ', U'ミ', U'ム', U'メ', U'モ', U'ヤ',
    U'ユ', U'ヨ', U'ラ', U'リ', U'ル', U'レ', U'ロ', U'ワ', U'ン', U'゛', U'゜'};

constexpr char32_t kVoicedMark = 0xFF9E;
constexpr char32_t kSemiVoicedMark = 0xFF9F;

struct Decoded {
  char32_t code;
  std::size_t length;  // 0: the byte there starts no UTF-8 character
};

Decoded decode(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t n) { return static_cast<unsigned char>(text[at + n]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || at + length > text.size()) return {0, 0};
  char32_t code = lead & (0x7F >> length);
  for (std::size_t n = 1; n < length; ++n) {
    if ((byte(n) & 0xC0) != 0x80) return {0, 0};
    code = (code << 6) | (byte(n) & 0x3F);
  }
  return {code, length};
}

void encode(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool isVoiceable(char32_t kana) {
  return (kana >= U'カ' && kana <= U'ト') || (kana >= U'ハ' && kana <= U'ホ') || kana == U'ウ';
}

bool isHalfVoiceable(char32_t kana) { return kana >= U'ハ' && kana <= U'ホ'; }

// The kana with the mark that follows it, when the pair is one letter: カ+゛ is ガ (the next
// code point), ハ+゜ is パ (the one after), ウ+゛ is ヴ.
std::optional<char32_t> joined(char32_t kana, char32_t mark) {
  if (mark == kVoicedMark && isVoiceable(kana)) return kana == U'ウ' ? U'ヴ' : kana + 1;
  if (mark == kSemiVoicedMark && isHalfVoiceable(kana)) return kana + 2;
  return std::nullopt;
}

char32_t folded(char32_t code) {
  if (code >= U'A' && code <= U'Z') return code - U'A' + U'a';
  if (code >= 0xFF01 && code <= 0xFF5E) return folded(code - 0xFF01 + 0x21);
  if (code == 0x3000) return U' ';
  if (code >= 0xFF61 && code <= 0xFF9F) return kFullKatakana[code - 0xFF61];
  return code;
}

}  // namespace

std::string foldedName(std::string_view name) {
  std::string out;
  std::size_t at = 0;
  while (at < name.size()) {
    const Decoded character = decode(name, at);
    if (character.length == 0) {
      out += name[at++];
      continue;
    }
    at += character.length;
    char32_t code = folded(character.code);
    const bool halfKana = character.code >= 0xFF66 && character.code <= 0xFF9D;
    if (halfKana && at < name.size()) {
      const Decoded next = decode(name, at);
      if (const auto letter = next.length ? joined(code, next.code) : std::nullopt) {
        code = *letter;
        at += next.length;
      }
    }
    encode(code, out);
  }
  return trimmed(out);
}

UnitNameMatch::UnitNameMatch(const LogicalModel& model,
                             const std::map<std::string, std::string>& codes)
    : codes_(codes) {
  for (int unit = model.unitCount(); unit >= 1; --unit) {
    const std::string& name = model.unitName[unit];
    if (name.empty()) continue;
    exact_[name] = static_cast<std::int16_t>(unit);
    folded_[foldedName(name)] = static_cast<std::int16_t>(unit);
  }
  for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
    foldedCodes_[foldedName(code->first)] = code->second;
  }
}

std::int16_t UnitNameMatch::byName(const std::string& name) const {
  if (const auto unit = exact_.find(name); unit != exact_.end()) return unit->second;
  if (const auto unit = folded_.find(foldedName(name)); unit != folded_.end()) {
    return unit->second;
  }
  return 0;
}

std::int16_t UnitNameMatch::unitOf(const std::string& logged) const {
  if (const std::int16_t unit = byName(logged)) return unit;
  if (const auto code = codes_.find(logged); code != codes_.end()) return byName(code->second);
  if (const auto code = foldedCodes_.find(foldedName(logged)); code != foldedCodes_.end()) {
    return byName(code->second);
  }
  return 0;
}

}  // namespace kalvenor
