// Encoding and decoding of the preferences store's text form; the grammar
// is in internal/CFPropertyListText.h.
#include "internal/CFPropertyListText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "TextUtils.h"

namespace tb {
namespace {

// Deeper arrays than this are refused, so that a hostile file cannot
// exhaust the stack of the recursive reader.
constexpr int kMaxNesting = 16;

bool isBareKeyChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
         c == '-';
}

void encodeString(const std::string& utf8, std::string& out) {
  static const char hex[] = "0123456789ABCDEF";
  out += '"';
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\x";
          out += hex[c >> 4];
          out += hex[c & 0xF];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

void encodeReal(double value, std::string& out) {
  if (std::isnan(value)) {
    out += "nan";
    return;
  }
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  const std::string text(buffer, result.ptr);
  out += text;
  // Shortest form of an integral double has neither; it must still read as real.
  if (std::isfinite(value) && text.find_first_of(".e") == std::string::npos) out += ".0";
}

bool encodeValue(CFTypeRef value, std::string& out) {
  if (const CFStringRecord* s = cfStringRecord(value)) {
    encodeString(s->utf8, out);
  } else if (const CFNumberRecord* n = cfNumberRecord(value)) {
    if (n->isFloat)
      encodeReal(n->real, out);
    else
      out += std::to_string(n->integer);
  } else if (const CFBooleanRecord* b = cfBooleanRecord(value)) {
    out += b->value ? "true" : "false";
  } else if (const CFArrayRecord* a = cfArrayRecord(value)) {
    if (!a->holdsObjects) return false;  // raw pointers cannot be written
    out += '[';
    for (size_t i = 0; i < a->values.size(); ++i) {
      if (i > 0) out += ", ";
      if (!encodeValue(a->values[i], out)) return false;
    }
    out += ']';
  } else {
    return false;
  }
  return true;
}

// A reader over one line.
class LineReader {
 public:
  explicit LineReader(const std::string& line) : text_(line) {}

  bool atEnd() const { return pos_ >= text_.size(); }
  void skipSpaces() {
    while (!atEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool take(char c) {
    if (atEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  bool readKey(std::string& key) {
    if (!atEnd() && text_[pos_] == '"') return readString(key);
    const size_t start = pos_;
    while (!atEnd() && isBareKeyChar(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    key = text_.substr(start, pos_ - start);
    return !key.empty();
  }

  CFOwned readValue(int depth) {
    if (atEnd()) return nullptr;
    const char c = text_[pos_];
    if (c == '"') {
      std::string s;
      return readString(s) ? CFOwned(cfStringFromUtf8(std::move(s))) : nullptr;
    }
    if (c == '[') return readArray(depth + 1);
    return readScalar();
  }

 private:
  bool readString(std::string& out) {
    out.clear();
    if (!take('"')) return false;
    while (!atEnd()) {
      const char c = text_[pos_++];
      if (c == '"') return isValidUtf8(out);
      if (c != '\\') {
        out += c;
        continue;
      }
      if (atEnd()) return false;
      const char e = text_[pos_++];
      switch (e) {
        case '"':
        case '\\':
          out += e;
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'x': {
          unsigned value = 0;
          if (pos_ + 2 > text_.size()) return false;
          const auto r = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 2, value, 16);
          if (r.ec != std::errc() || r.ptr != text_.data() + pos_ + 2) return false;
          out += static_cast<char>(value);
          pos_ += 2;
          break;
        }
        default:
          return false;
      }
    }
    return false;  // no closing quote
  }

  CFOwned readArray(int depth) {
    if (depth > kMaxNesting || !take('[')) return nullptr;
    std::vector<CFOwned> items;
    skipSpaces();
    if (!take(']')) {
      do {
        skipSpaces();
        CFOwned item = readValue(depth);
        if (!item) return nullptr;
        items.push_back(std::move(item));
        skipSpaces();
      } while (take(','));
      if (!take(']')) return nullptr;
    }
    std::vector<const void*> raw;
    for (const CFOwned& item : items) raw.push_back(item.get());
    return CFOwned(CFArrayCreate(nullptr, raw.data(), static_cast<CFIndex>(raw.size()), &kCFTypeArrayCallBacks));
  }

  // true, false, an integer or a real.
  CFOwned readScalar() {
    const size_t start = pos_;
    while (!atEnd()) {
      const unsigned char c = static_cast<unsigned char>(text_[pos_]);
      if (!(isBareKeyChar(c) || c == '+')) break;
      ++pos_;
    }
    const std::string token = text_.substr(start, pos_ - start);
    if (token == "true") return CFOwned(CFRetain(kCFBooleanTrue));
    if (token == "false") return CFOwned(CFRetain(kCFBooleanFalse));
    if (token == "nan" || token == "inf" || token == "-inf") {
      const double value = token == "nan" ? NAN : token == "inf" ? INFINITY : -INFINITY;
      return CFOwned(CFNumberCreate(nullptr, kCFNumberFloat64Type, &value));
    }
    if (token.empty() || !(token[0] == '-' || (token[0] >= '0' && token[0] <= '9'))) return nullptr;
    const char* first = token.data();
    const char* last = first + token.size();
    if (token.find_first_of(".eE") == std::string::npos) {
      int64_t value = 0;
      const auto r = std::from_chars(first, last, value);
      if (r.ec != std::errc() || r.ptr != last) return nullptr;
      return CFOwned(CFNumberCreate(nullptr, kCFNumberSInt64Type, &value));
    }
    double value = 0;
    const auto r = std::from_chars(first, last, value);
    if (r.ec != std::errc() || r.ptr != last || !std::isfinite(value)) return nullptr;
    return CFOwned(CFNumberCreate(nullptr, kCFNumberFloat64Type, &value));
  }

  const std::string& text_;
  size_t pos_ = 0;
};

bool decodeLine(const std::string& line, PreferenceValues& values) {
  LineReader reader(line);
  reader.skipSpaces();
  if (reader.atEnd() || reader.take('#')) return true;
  std::string key;
  if (!reader.readKey(key)) return false;
  reader.skipSpaces();
  if (!reader.take('=')) return false;
  reader.skipSpaces();
  CFOwned value = reader.readValue(0);
  if (!value) return false;
  reader.skipSpaces();
  if (!reader.atEnd()) return false;
  values[key] = std::move(value);  // a repeated key: the last line wins
  return true;
}

}  // namespace

bool isEncodable(CFTypeRef value) {
  std::string scratch;
  return encodeValue(value, scratch);
}

bool encodePreferences(const PreferenceValues& values, std::string& text) {
  text = "# Vantor preferences: one `key = value` line per key.\n";
  for (const auto& [key, value] : values) {
    bool bare = !key.empty();
    for (unsigned char c : key) bare = bare && isBareKeyChar(c);
    if (bare)
      text += key;
    else
      encodeString(key, text);
    text += " = ";
    if (!encodeValue(value.get(), text)) return false;
    text += '\n';
  }
  return true;
}

bool decodePreferences(const std::string& text, PreferenceValues& values) {
  values.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!decodeLine(line, values)) {
      values.clear();
      return false;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace tb
