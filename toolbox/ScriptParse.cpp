// The script language's syntax: tokens, the command table and the steps
// that need no other part of the driver (wait, timeout, quit).
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "Events.h"
#include "internal/EventQueue.h"
#include "internal/Script.h"

namespace tb::script {

void Line::fail(const std::string& message) {
  if (error_.empty()) error_ = message;
}

const Token* Line::next(const char* what) {
  if (failed()) return nullptr;
  if (atEnd()) {
    fail(std::string("missing ") + what);
    return nullptr;
  }
  return &tokens_[pos_++];
}

bool Line::accept(std::string_view w) {
  if (!nextIsWord(w)) return false;
  ++pos_;
  return true;
}

bool Line::nextIsWord(std::string_view w) const {
  return !failed() && !atEnd() && !tokens_[pos_].quoted && tokens_[pos_].text == w;
}

bool Line::nextIsQuoted() const { return !failed() && !atEnd() && tokens_[pos_].quoted; }

bool Line::nextIsNumber() const {
  if (failed() || atEnd() || tokens_[pos_].quoted) return false;
  const std::string& t = tokens_[pos_].text;
  char* endPtr = nullptr;
  std::strtod(t.c_str(), &endPtr);
  return !t.empty() && *endPtr == '\0';
}

std::string Line::word(const char* what) {
  const Token* t = next(what);
  if (t == nullptr) return {};
  if (t->quoted) {
    fail(std::string("expected ") + what + ", found " + quote(t->text));
    return {};
  }
  return t->text;
}

std::string Line::text(const char* what) {
  const Token* t = next(what);
  if (t == nullptr) return {};
  if (!t->quoted) {
    fail(std::string("expected ") + what + " in double quotes, found " + t->text);
    return {};
  }
  return t->text;
}

std::string Line::any(const char* what) {
  const Token* t = next(what);
  return t == nullptr ? std::string() : t->text;
}

double Line::number(const char* what) {
  const Token* t = next(what);
  if (t == nullptr) return 0;
  char* endPtr = nullptr;
  double v = std::strtod(t->text.c_str(), &endPtr);
  if (t->quoted || t->text.empty() || *endPtr != '\0' || std::isnan(v)) {
    fail(std::string("expected ") + what + " (a number), found " + (t->quoted ? quote(t->text) : t->text));
    return 0;
  }
  return v;
}

long Line::integer(const char* what) {
  const Token* t = next(what);
  if (t == nullptr) return 0;
  char* endPtr = nullptr;
  long v = std::strtol(t->text.c_str(), &endPtr, 10);
  if (t->quoted || t->text.empty() || *endPtr != '\0') {
    fail(std::string("expected ") + what + " (a whole number), found " + (t->quoted ? quote(t->text) : t->text));
    return 0;
  }
  return v;
}

void Line::end() {
  if (!failed() && !atEnd()) {
    const Token& t = tokens_[pos_];
    fail("unexpected " + (t.quoted ? quote(t.text) : t.text) + " at the end of the line");
  }
}

bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error) {
  tokens.clear();
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    Token token;
    if (c == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d != '\\') {
          token.text += d;
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case 'n': token.text += '\n'; break;
          case 't': token.text += '\t'; break;
          case '"': token.text += '"'; break;
          case '\\': token.text += '\\'; break;
          default:
            error = std::string("unknown escape \\") + e + " in a quoted string";
            return false;
        }
      }
      if (!closed) {
        error = "a quoted string is not closed";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '"') {
        token.text += line[i++];
      }
    }
    tokens.push_back(std::move(token));
  }
  return true;
}

namespace {

// `wait SECONDS`: lets the program's clock run while it is idle, so that
// the virtual clock of a test advances without real waiting.
std::function<Outcome(Context&)> parseWait(Line& line) {
  double seconds = line.number("the seconds to wait");
  if (seconds < 0) line.fail("the seconds to wait must not be negative");
  auto start = std::make_shared<long long>(-1);
  return [seconds, start](Context& context) {
    if (context.phase != Phase::Idle) return Outcome::notNow();
    long long now = TickCount();
    if (*start < 0) *start = now;
    if (double(now - *start) >= seconds * 60.0) {
      *start = -1;
      return Outcome::done();
    }
    return Outcome::pending();
  };
}

std::function<Outcome(Context&)> parseTimeout(Line& line) {
  double seconds = line.number("the timeout in seconds");
  if (seconds <= 0) line.fail("the timeout must be more than 0 seconds");
  return [seconds](Context& context) {
    context.timeoutSeconds = seconds;
    return Outcome::done();
  };
}

// `quit`: the platform's quit request, as when a person closes the
// application window.
std::function<Outcome(Context&)> parseQuit(Line&) {
  return [](Context& context) {
    if (context.phase != Phase::Idle) return Outcome::notNow();
    requestQuit();
    return Outcome::yield();
  };
}

std::string trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

// Reads one step from the command word on; `repeat N` takes the step that
// follows it N times.
void parseStep(Line& line, Step& step, int& copies) {
  std::string command = line.word("a command");
  if (command == "repeat") {
    long n = line.integer("how many times to repeat");
    if (!line.failed() && (n < 1 || n > 100000)) line.fail("a step repeats 1 to 100000 times");
    if (line.nextIsWord("repeat")) line.fail("a repeated step cannot repeat itself");
    copies = int(n);
    parseStep(line, step, copies);
    return;
  }
  if (command == "click" || command == "down" || command == "up" || command == "move" || command == "drag") {
    step.run = parseMouseCommand(command, line);
  } else if (command == "key" || command == "type") {
    step.run = parseKeyCommand(command, line);
  } else if (command == "menu") {
    step.run = parseMenuCommand(line);
  } else if (command == "alert") {
    step.run = parseAlertCommand(line);
  } else if (command == "dialog" || command == "sheet") {
    step.run = parseDialogCommand(command, line);
  } else if (command == "color") {
    step.run = parseColorCommand(line);
  } else if (command == "clipboard") {
    step.run = parseClipboardCommand(line);
  } else if (command == "press" || command == "release") {
    step.run = parseModifierCommand(command, line);
  } else if (command == "expect") {
    step.run = parseExpectCommand(line, step.endsProgram);
    if (step.endsProgram && copies > 1) line.fail("`expect exit` cannot repeat");
  } else if (command == "print" || command == "snapshot" || command == "screenshot") {
    step.run = parseOutputCommand(command, line);
  } else if (command == "wait") {
    step.run = parseWait(line);
  } else if (command == "timeout") {
    step.run = parseTimeout(line);
  } else if (command == "quit") {
    step.run = parseQuit(line);
  } else if (!line.failed()) {
    line.fail("unknown command " + command);
  }
}

}  // namespace

bool parseScript(const std::string& text, std::vector<Step>& steps, int& errorLine, std::string& error) {
  steps.clear();
  int number = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string source = trimmed(std::string_view(text).substr(pos, eol - pos));
    pos = eol + 1;
    ++number;
    if (source.empty() || source[0] == '#') continue;
    errorLine = number;
    std::vector<Token> tokens;
    if (!tokenize(source, tokens, error)) return false;
    if (!steps.empty() && steps.back().endsProgram) {
      error = "nothing can follow `expect exit`";
      return false;
    }
    Line line(tokens);
    Step step;
    step.line = number;
    step.source = source;
    int copies = 1;
    parseStep(line, step, copies);
    line.end();
    if (line.failed()) {
      error = line.error();
      return false;
    }
    for (int i = 0; i < copies; ++i) steps.push_back(step);
  }
  return true;
}

}  // namespace tb::script
