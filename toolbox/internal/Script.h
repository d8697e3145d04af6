// The script driver (docs/automation.md): a script is parsed whole into
// steps; each step is a small function that acts on the running program
// through the same input queue as a person, or reads its state.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../QuickDraw.h"
#include "EventQueue.h"

namespace tb::script {

// What the program is doing when the layer hands control to the driver.
enum class Phase {
  Idle,      // the event loop has nothing left to do: every redraw is drawn
  Tracking,  // a tracking loop waits for mouse input while the button is down
  Menu,      // a pulled-down menu waits for a choice
  Alert,     // an alert waits for a button
  ColorPicker,  // the colour picker waits for a colour
  Busy,      // some other modal loop waits
};

struct Context {
  Phase phase = Phase::Idle;
  int line = 0;            // of the step that runs
  std::string scriptName;  // as given on the command line, for messages
  std::string outputDir;   // where relative output paths go
  double timeoutSeconds = 10;  // how long a step may wait for its phase
  // What a person's hands do next: input steps append here and the driver
  // posts one each time the program waits with the desktop in focus, so a
  // release comes after the program has reacted to the press, and waits
  // while an alert or a menu has the focus.
  std::deque<RawInput> input;
};

struct Outcome {
  enum Kind {
    Done,     // finished without touching the program; the next step may follow at once
    Yield,    // finished; the program must take what was posted before the next step
    Pending,  // started; the step runs again at the next wait
    NotNow,   // the program is not in a phase this step can act in
    Failed,   // an expectation failed: expected and found say how
  };
  Kind kind = Done;
  std::string expected;
  std::string found;

  static Outcome done() { return {Done, {}, {}}; }
  static Outcome yield() { return {Yield, {}, {}}; }
  static Outcome pending() { return {Pending, {}, {}}; }
  static Outcome notNow() { return {NotNow, {}, {}}; }
  static Outcome fail(std::string expected, std::string found) {
    return {Failed, std::move(expected), std::move(found)};
  }
};

struct Step {
  int line = 0;
  std::string source;        // the line as written
  bool endsProgram = false;  // `expect exit`: the program ends by itself here
  std::function<Outcome(Context&)> run;
};

// One line's words; a word in double quotes keeps its spaces and escapes.
struct Token {
  std::string text;
  bool quoted = false;
};

// Reads the tokens of one line in order. The first error sticks and later
// reads give empty values, so a parser reads on and checks failed() once.
class Line {
 public:
  explicit Line(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  bool atEnd() const { return pos_ >= tokens_.size(); }
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }
  void fail(const std::string& message);

  // Takes the next token when it is the bare word `w`.
  bool accept(std::string_view w);
  bool nextIsWord(std::string_view w) const;
  bool nextIsQuoted() const;
  bool nextIsNumber() const;

  std::string word(const char* what);  // a bare word
  std::string text(const char* what);  // a quoted string
  std::string any(const char* what);   // a bare word or a quoted string
  double number(const char* what);
  long integer(const char* what);
  void end();  // no tokens may remain

 private:
  const Token* next(const char* what);
  std::vector<Token> tokens_;
  size_t pos_ = 0;
  std::string error_;
};

// Splits one line into tokens; false with a message on an unclosed quote or
// an unknown escape.
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error);

// Parses a whole script. On a syntax error returns false with its line.
bool parseScript(const std::string& text, std::vector<Step>& steps, int& errorLine, std::string& error);

// The step builders, by command word; each reads the rest of the line.
std::function<Outcome(Context&)> parseMouseCommand(const std::string& command, Line& line);
std::function<Outcome(Context&)> parseKeyCommand(const std::string& command, Line& line);
std::function<Outcome(Context&)> parseMenuCommand(Line& line);
std::function<Outcome(Context&)> parseAlertCommand(Line& line);
std::function<Outcome(Context&)> parseExpectCommand(Line& line, bool& endsProgram);
std::function<Outcome(Context&)> parseOutputCommand(const std::string& command, Line& line);
// Dialogs, sheets and the preference store (ScriptDialog.cpp): `dialog ...`
// and `sheet ...` steps, and `expect dialog|sheet|preference ...`.
std::function<Outcome(Context&)> parseDialogCommand(const std::string& command, Line& line);
std::function<Outcome(Context&)> parseDialogExpect(Line& line);
// The colour picker and the system clipboard (ScriptSystem.cpp): `color ...`
// and `clipboard ...` steps, `expect color|clipboard ...`, and `press` and
// `release` of a modifier key alone.
std::function<Outcome(Context&)> parseColorCommand(Line& line);
std::function<Outcome(Context&)> parseClipboardCommand(Line& line);
std::function<Outcome(Context&)> parseSystemExpect(Line& line);
std::function<Outcome(Context&)> parseModifierCommand(const std::string& command, Line& line);

// Windows as a script names them: front, text, plot, plotN or a quoted
// title prefix.
struct WindowSelector {
  enum Kind { Front, Text, Plot, Titled } kind = Front;
  int index = 1;      // plotN
  std::string title;  // UTF-8
  std::string describe() const;
};
bool parseWindow(Line& line, WindowSelector& window);
// The window meant, or null with what was found instead.
WindowRef findWindow(const WindowSelector& window, std::string& found);

// A point of the desktop as a script names it.
struct Place {
  enum Kind { Desktop, Title, Close, Zoom, Grow, Content, MapPoint } kind = Desktop;
  WindowSelector window;
  double x = 0;
  double y = 0;
  std::string describe() const;
};
bool parsePlace(Line& line, Place& place);
bool resolvePlace(const Place& place, Point& where, std::string& found);

// Helpers shared by the step builders.
std::string quote(const std::string& utf8);        // "text" with escapes
std::string formatNumber(double value);             // shortest form that reads back
std::string windowTitle(WindowRef window);          // UTF-8
std::string windowKind(WindowRef window);           // "text", "plot" or "other"
std::string resolveOutputPath(const Context& context, const std::string& path);
std::optional<double> readNumber(const std::string& name, WindowRef window, const std::vector<double>& args = {});
std::vector<std::string> textLines(const std::string& text);  // a final '\n' ends the last line
extern const char* const kPlotTypeNames[6];  // by plot type number, 1-5
extern const char* const kFamilyNames[8];    // by family number, 1-7
extern const char* const kCursorNames[6];    // by tb::CursorShape

}  // namespace tb::script
