// The script driver's pieces: tokens, syntax errors with their lines, the
// raw input that keys and clicks become, places on a window's frame and the
// expectations on a window. The whole driver runs in the end-to-end tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolbox/Carbon.h"
#include "toolbox/internal/Script.h"
#include "toolbox/internal/WindowRecord.h"

namespace {

using tb::script::Context;
using tb::script::Outcome;
using tb::script::Phase;

std::string describeTokens(const std::vector<tb::script::Token>& tokens) {
  std::string out;
  for (const auto& t : tokens) out += (out.empty() ? "" : " ") + (t.quoted ? "<" + t.text + ">" : t.text);
  return out;
}

struct TokenCase {
  const char* line;
  const char* expected;  // words, quoted ones in <>; or the error
  bool ok;
};

TEST(ScriptTokens, SplitWordsAndQuotedText) {
  const std::vector<TokenCase> cases = {
      {"click content plot 10 20", "click content plot 10 20", true},
      {"  expect plot title \"a  b\"  ", "expect plot title <a  b>", true},
      {"type \"x\\\"y\\\\z\\n\\t\"", "type <x\"y\\z\n\t>", true},
      {"key cmd+.", "key cmd+.", true},
      {"a\"b c\"d", "a <b c> d", true},
      {"expect text line 1 \"\"", "expect text line 1 <>", true},
      {"expect plot title \"unclosed", "a quoted string is not closed", false},
      {"type \"bad \\q\"", "unknown escape \\q in a quoted string", false},
  };
  for (const TokenCase& c : cases) {
    std::vector<tb::script::Token> tokens;
    std::string error;
    bool ok = tb::script::tokenize(c.line, tokens, error);
    EXPECT_EQ(c.ok, ok) << c.line << ": expected " << (c.ok ? "tokens" : "an error") << ", found "
                        << (ok ? "tokens " + describeTokens(tokens) : "error " + error);
    std::string found = ok ? describeTokens(tokens) : error;
    EXPECT_EQ(std::string(c.expected), found) << c.line << ": expected " << c.expected << ", found " << found;
  }
}

struct SyntaxCase {
  const char* script;
  int line;
  const char* error;
};

TEST(ScriptSyntax, NamesTheLineAndTheFault) {
  const std::vector<SyntaxCase> cases = {
      {"# comment\n\n  jump 3\n", 3, "unknown command jump"},
      {"expect plot mu\n", 1, "missing mu"},
      {"click 10\n", 1, "missing the vertical desktop coordinate"},
      {"click here\n", 1, "expected a place (H V, title, close, zoom, grow, content or map), found here"},
      {"drag title plot\n", 1, "expected `to PLACE` or `by DH DV` after the start of a drag"},
      {"drag title plot by 1 2 steps 0\n", 1, "a drag needs at least 1 move"},
      {"expect plot type spiral\n", 1,
       "expected a plot type (cobweb, bifurcation, density, lyapunov, exit-time or a number), found spiral"},
      {"expect plot pixel 1 2 red\n", 1, "expected a colour #rrggbb, found red"},
      {"expect plot axes maybe\n", 1, "expected on or off, found maybe"},
      {"menu \"File\" 0\n", 1, "menu items count from 1"},
      {"menu File \"New Plot\"\n", 1, "expected a menu (its \"title\" or its number) (a whole number), found File"},
      {"expect exit\nexpect plots 1\n", 2, "nothing can follow `expect exit`"},
      {"repeat 3 expect exit\n", 1, "`expect exit` cannot repeat"},
      {"repeat 2 repeat 2 key r\n", 1, "a repeated step cannot repeat itself"},
      {"expect plot0 mu 1\n", 1, "expected a window (front, text, plot, plotN or a \"title\"), found plot0"},
      {"expect plot line 1 \"x\"\n", 1, "line reads the text window: expect text line"},
      {"alert maybe\n", 1, "expected ok or cancel, found maybe"},
      {"expect plots 1 2\n", 1, "unexpected 2 at the end of the line"},
      {"key hyper+x\n", 1, "unknown modifier hyper (cmd, shift, option or control)"},
      {"key banana\n", 1, "unknown key banana (a character or a key name such as up, space, return)"},
      {"key r repeat -1\n", 1, "the number of repeats must not be negative"},
      {"wait -1\n", 1, "the seconds to wait must not be negative"},
      {"timeout 0\n", 1, "the timeout must be more than 0 seconds"},
      {"print everything\n", 1, "expected windows, text, menus, plots, settings or all, found everything"},
      {"expect cursor hand\n", 1,
       "expected a cursor (arrow, ibeam, cross, watch, zoom-in or zoom-out), found hand"},
      {"expect plot colour 1\n", 1,
       "unknown window property colour (title, content, size, visible, hidden, front, pixel, has, lacks, line, "
       "lines, contains, contents, family, mu, n, t, x0, xt, type, axes, square, critical, bounds, dh, dv)"},
  };
  for (const SyntaxCase& c : cases) {
    std::vector<tb::script::Step> steps;
    int line = 0;
    std::string error;
    bool ok = tb::script::parseScript(c.script, steps, line, error);
    EXPECT_FALSE(ok) << c.script << ": expected a syntax error, found none";
    EXPECT_EQ(c.line, line) << c.script << ": expected the error on line " << c.line << ", found line " << line;
    EXPECT_EQ(std::string(c.error), error) << c.script << ": expected " << c.error << ", found " << error;
  }
}

TEST(ScriptSyntax, KeepsLinesAndRepeatsSteps) {
  std::vector<tb::script::Step> steps;
  int line = 0;
  std::string error;
  ASSERT_TRUE(tb::script::parseScript("# a comment\n\nkey up\n  repeat 3 key space  \nmenu \"File\"\nexpect exit",
                                      steps, line, error))
      << "expected the script to parse, found " << error;
  const std::vector<std::pair<int, std::string>> expected = {
      {3, "key up"}, {4, "repeat 3 key space"}, {4, "repeat 3 key space"}, {4, "repeat 3 key space"},
      {5, "menu \"File\""}, {6, "expect exit"}};
  ASSERT_EQ(expected.size(), steps.size()) << "expected " << expected.size() << " steps, found " << steps.size();
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(expected[i].first, steps[i].line) << "step " << i << ": expected line " << expected[i].first
                                                << ", found " << steps[i].line;
    EXPECT_EQ(expected[i].second, steps[i].source) << "step " << i << ": expected source " << expected[i].second
                                                   << ", found " << steps[i].source;
    EXPECT_EQ(i == 5, steps[i].endsProgram) << "step " << i << ": expected endsProgram " << (i == 5);
  }
}

// Parses one line into its step.
tb::script::Step stepOf(const std::string& source) {
  std::vector<tb::script::Step> steps;
  int line = 0;
  std::string error;
  EXPECT_TRUE(tb::script::parseScript(source, steps, line, error)) << source << ": expected a step, found " << error;
  EXPECT_EQ(1u, steps.size()) << source << ": expected one step, found " << steps.size();
  return steps.empty() ? tb::script::Step{} : steps.front();
}

struct Stroke {
  tb::InputKind kind;
  unsigned char charCode;
  unsigned char keyCode;
  EventModifiers modifiers;
};

struct KeyCase {
  const char* source;
  std::vector<Stroke> expected;
};

const char* kindName(tb::InputKind k) {
  switch (k) {
    case tb::InputKind::KeyDown: return "KeyDown";
    case tb::InputKind::KeyUp: return "KeyUp";
    case tb::InputKind::AutoKey: return "AutoKey";
    case tb::InputKind::MouseDown: return "MouseDown";
    case tb::InputKind::MouseUp: return "MouseUp";
    case tb::InputKind::MouseMove: return "MouseMove";
    default: return "other";
  }
}

std::string describeStroke(tb::InputKind kind, unsigned char charCode, unsigned char keyCode, EventModifiers m) {
  return std::string(kindName(kind)) + " char " + std::to_string(charCode) + " key " + std::to_string(keyCode) +
         " modifiers " + std::to_string(m);
}

TEST(ScriptKeys, BecomeMacCharacterAndKeyCodes) {
  using K = tb::InputKind;
  const std::vector<KeyCase> cases = {
      {"key up", {{K::KeyDown, 0x1E, 0x7E, 0}, {K::KeyUp, 0x1E, 0x7E, 0}}},
      {"key left", {{K::KeyDown, 0x1C, 0x7B, 0}, {K::KeyUp, 0x1C, 0x7B, 0}}},
      {"key space", {{K::KeyDown, 0x20, 0x31, 0}, {K::KeyUp, 0x20, 0x31, 0}}},
      {"key return", {{K::KeyDown, 0x0D, 0x24, 0}, {K::KeyUp, 0x0D, 0x24, 0}}},
      {"key r", {{K::KeyDown, 'r', 0x0F, 0}, {K::KeyUp, 'r', 0x0F, 0}}},
      {"key R", {{K::KeyDown, 'R', 0x0F, shiftKey}, {K::KeyUp, 'R', 0x0F, shiftKey}}},
      {"key shift+r", {{K::KeyDown, 'R', 0x0F, shiftKey}, {K::KeyUp, 'R', 0x0F, shiftKey}}},
      {"key cmd+n", {{K::KeyDown, 'n', 0x2D, cmdKey}, {K::KeyUp, 'n', 0x2D, cmdKey}}},
      {"key cmd+.", {{K::KeyDown, '.', 0x2F, cmdKey}, {K::KeyUp, '.', 0x2F, cmdKey}}},
      {"key cmd+option+1", {{K::KeyDown, '1', 0x12, cmdKey | optionKey}, {K::KeyUp, '1', 0x12, cmdKey | optionKey}}},
      {"key up repeat 2",
       {{K::KeyDown, 0x1E, 0x7E, 0}, {K::AutoKey, 0x1E, 0x7E, 0}, {K::AutoKey, 0x1E, 0x7E, 0}, {K::KeyUp, 0x1E, 0x7E, 0}}},
      {"type \"aB\"",
       {{K::KeyDown, 'a', 0x00, 0}, {K::KeyUp, 'a', 0x00, 0}, {K::KeyDown, 'B', 0x0B, shiftKey},
        {K::KeyUp, 'B', 0x0B, shiftKey}}},
  };
  for (const KeyCase& c : cases) {
    tb::script::Step step = stepOf(c.source);
    ASSERT_TRUE(step.run) << c.source << ": expected a step";
    Context context;
    context.phase = Phase::Idle;
    Outcome outcome = step.run(context);
    EXPECT_EQ(Outcome::Yield, outcome.kind) << c.source << ": expected the step to yield, found kind " << outcome.kind;
    ASSERT_EQ(c.expected.size(), context.input.size())
        << c.source << ": expected " << c.expected.size() << " inputs, found " << context.input.size();
    for (size_t i = 0; i < c.expected.size(); ++i) {
      const Stroke& e = c.expected[i];
      const tb::RawInput& f = context.input[i];
      std::string expected = describeStroke(e.kind, e.charCode, e.keyCode, e.modifiers);
      std::string found = describeStroke(f.kind, f.charCode, f.keyCode, f.modifiers);
      EXPECT_EQ(expected, found) << c.source << " input " << i << ": expected " << expected << ", found " << found;
    }
  }
}

TEST(ScriptKeys, WaitWhileAMenuAnAlertOrAModalLoopHasTheFocus) {
  tb::script::Step step = stepOf("key space");
  for (Phase phase : {Phase::Menu, Phase::Alert, Phase::Busy}) {
    Context context;
    context.phase = phase;
    Outcome outcome = step.run(context);
    EXPECT_EQ(Outcome::NotNow, outcome.kind) << "phase " << int(phase) << ": expected NotNow, found " << outcome.kind;
    EXPECT_TRUE(context.input.empty()) << "phase " << int(phase) << ": expected no input, found "
                                       << context.input.size();
  }
  Context tracking;
  tracking.phase = Phase::Tracking;
  EXPECT_EQ(Outcome::Yield, step.run(tracking).kind) << "expected a key while the button is held to be typed";
}

TEST(ScriptTiming, WaitLetsTheClockRunAndTimeoutSetsTheLimit) {
  tb::script::Step wait = stepOf("wait 0.1");
  Context context;
  context.phase = Phase::Idle;
  UInt32 start = TickCount();
  Outcome outcome = wait.run(context);
  EXPECT_EQ(Outcome::Pending, outcome.kind) << "expected the wait to begin, found kind " << outcome.kind;
  while (outcome.kind == Outcome::Pending && TickCount() - start < 60) {
    Delay(1, nullptr);
    outcome = wait.run(context);
  }
  UInt32 waited = TickCount() - start;
  EXPECT_EQ(Outcome::Done, outcome.kind) << "expected the wait over within a second, found kind " << outcome.kind;
  EXPECT_GE(waited, 6u) << "expected at least 6 ticks to pass, found " << waited;
  context.phase = Phase::Tracking;
  EXPECT_EQ(Outcome::NotNow, wait.run(context).kind) << "expected a wait to need the idle program";

  tb::script::Step timeout = stepOf("timeout 2.5");
  EXPECT_EQ(Outcome::Done, timeout.run(context).kind) << "expected timeout to take effect at once";
  EXPECT_EQ(2.5, context.timeoutSeconds) << "expected a timeout of 2.5 s, found " << context.timeoutSeconds;
}

// A document window of the layer on the desktop, gone at the end of the test.
class ScriptWindow : public testing::Test {
 protected:
  void SetUp() override {
    Rect content{100, 50, 300, 250};  // top, left, bottom, right
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &content, &window_));
    Str255 title;
    CopyCStringToPascal("Script test \xB5 window", title);  // Mac Roman µ
    SetWTitle(window_, title);
    ShowWindow(window_);
    window_->port.image.fill(Qt::white);
    window_->port.image.setPixel(5, 5, qRgb(255, 0, 0));
  }
  void TearDown() override { DisposeWindow(window_); }

  Outcome run(const std::string& source) {
    tb::script::Step step = stepOf(source);
    Context context;
    context.phase = Phase::Idle;
    return step.run ? step.run(context) : Outcome::fail("a step", "none");
  }

  WindowRef window_ = nullptr;
};

struct PlaceCase {
  const char* place;
  short h;
  short v;
};

TEST_F(ScriptWindow, PlacesLieOnTheFrameAndContent) {
  // Content left 50, top 100, right 250, bottom 300; a 22-pixel title bar
  // with 12-pixel boxes 8 pixels in from its ends; a 15-pixel grow box.
  const std::vector<PlaceCase> cases = {
      {"title \"Script test µ\"", 150, 89},  {"close \"Script test µ\"", 64, 89},
      {"zoom \"Script test µ\"", 236, 89},   {"grow \"Script test µ\"", 242, 292},
      {"content \"Script test µ\" 10 20", 60, 120}, {"300 40", 300, 40},
  };
  for (const PlaceCase& c : cases) {
    std::vector<tb::script::Token> tokens;
    std::string error;
    ASSERT_TRUE(tb::script::tokenize(c.place, tokens, error)) << c.place << ": " << error;
    tb::script::Line line(tokens);
    tb::script::Place place;
    EXPECT_TRUE(tb::script::parsePlace(line, place)) << c.place << ": expected a place, found " << line.error();
    Point where{0, 0};
    std::string found;
    EXPECT_TRUE(tb::script::resolvePlace(place, where, found)) << c.place << ": expected a point, found " << found;
    EXPECT_TRUE(where.h == c.h && where.v == c.v) << c.place << ": expected " << c.h << " " << c.v << ", found "
                                                  << where.h << " " << where.v;
  }
}

TEST_F(ScriptWindow, MissingWindowsAndPlotsAreNamed) {
  tb::script::Place place;
  place.kind = tb::script::Place::MapPoint;
  place.window.kind = tb::script::WindowSelector::Titled;
  place.window.title = "Script test µ";
  Point where;
  std::string found;
  EXPECT_FALSE(tb::script::resolvePlace(place, where, found)) << "expected a map point of a plain window to fail";
  EXPECT_EQ("a window that is no plot (other)", found) << "expected the window named, found " << found;

  place.window.title = "No such window";
  found.clear();
  EXPECT_FALSE(tb::script::resolvePlace(place, where, found)) << "expected a missing window to fail";
  EXPECT_NE(std::string::npos, found.find("\"Script test µ window\""))
      << "expected the titles that exist listed, found " << found;
}

struct CheckCase {
  const char* source;
  Outcome::Kind kind;
  const char* expected;
  const char* found;
};

TEST_F(ScriptWindow, ExpectationsSayWhatTheyFound) {
  const std::vector<CheckCase> cases = {
      {"expect \"Script test\" title \"Script test µ window\"", Outcome::Done, "", ""},
      {"expect \"Script test\" title \"Script\"", Outcome::Failed, "\"Script test\" title \"Script\"",
       "\"Script test µ window\""},
      {"expect \"Script test\" content 50 100 250 300", Outcome::Done, "", ""},
      {"expect \"Script test\" content 50 100 250 301", Outcome::Failed,
       "\"Script test\" content 50 100 250 301", "50 100 250 300"},
      {"expect \"Script test\" size 200 200", Outcome::Done, "", ""},
      {"expect \"Script test\" size 200 199", Outcome::Failed, "\"Script test\" size 200 199", "200 200"},
      {"expect \"Script test\" visible", Outcome::Done, "", ""},
      {"expect \"Script test\" hidden", Outcome::Failed, "\"Script test\" hidden", "visible"},
      {"expect \"Script test\" front", Outcome::Done, "", ""},
      {"expect \"Script test\" pixel 5 5 #ff0000", Outcome::Done, "", ""},
      {"expect \"Script test\" pixel 5 6 #ff0000", Outcome::Failed, "\"Script test\" pixel 5 6 #ff0000", "#ffffff"},
      {"expect \"Script test\" pixel 5 6 #fafafa within 5", Outcome::Done, "", ""},
      {"expect \"Script test\" pixel 200 0 #ffffff", Outcome::Failed, "\"Script test\" pixel 200 0 #ffffff",
       "a content of 200x200"},
      {"expect \"Script test\" has #ff0000", Outcome::Done, "", ""},
      {"expect \"Script test\" has #ff0000 in 0 0 5 5", Outcome::Failed, "\"Script test\" has #ff0000 in 0 0 5 5",
       "none; the most common colours are #ffffff (25)"},
      {"expect \"Script test\" lacks #ff0000", Outcome::Failed, "\"Script test\" lacks #ff0000",
       "1 such pixels, the first at 5 5"},
      {"expect \"Script test\" lacks #00ff00", Outcome::Done, "", ""},
      {"expect \"Script test\" mu 1", Outcome::Failed, "\"Script test\" mu 1", "a window that is no plot (other)"},
  };
  for (const CheckCase& c : cases) {
    Outcome outcome = run(c.source);
    EXPECT_EQ(c.kind, outcome.kind) << c.source << ": expected outcome " << c.kind << ", found " << outcome.kind
                                    << " (expected " << outcome.expected << ", found " << outcome.found << ")";
    EXPECT_EQ(std::string(c.expected), outcome.expected)
        << c.source << ": expected the message's expected part " << c.expected << ", found " << outcome.expected;
    EXPECT_EQ(std::string(c.found), outcome.found)
        << c.source << ": expected the message's found part " << c.found << ", found " << outcome.found;
  }
}

TEST_F(ScriptWindow, ClicksPressThenRelease) {
  tb::script::Step step = stepOf("click shift content \"Script test\" 3 4");
  Context context;
  context.phase = Phase::Idle;
  EXPECT_EQ(Outcome::Yield, step.run(context).kind) << "expected the click to yield";
  ASSERT_EQ(2u, context.input.size()) << "expected a press and a release, found " << context.input.size() << " inputs";
  const tb::InputKind kinds[2] = {tb::InputKind::MouseDown, tb::InputKind::MouseUp};
  for (size_t i = 0; i < 2; ++i) {
    const tb::RawInput& in = context.input[i];
    EXPECT_TRUE(in.kind == kinds[i] && in.where.h == 53 && in.where.v == 104 && in.modifiers == shiftKey)
        << "input " << i << ": expected " << kindName(kinds[i]) << " at 53 104 with shift, found " << kindName(in.kind)
        << " at " << in.where.h << " " << in.where.v << " with modifiers " << in.modifiers;
  }

  tb::script::Step drag = stepOf("drag title \"Script test\" by 40 -20 steps 4");
  Context dragging;
  dragging.phase = Phase::Idle;
  EXPECT_EQ(Outcome::Yield, drag.run(dragging).kind) << "expected the drag to yield";
  const std::vector<std::pair<short, short>> points = {{150, 89}, {160, 84}, {170, 79}, {180, 74}, {190, 69}, {190, 69}};
  ASSERT_EQ(points.size(), dragging.input.size())
      << "expected a press, 4 moves and a release, found " << dragging.input.size() << " inputs";
  for (size_t i = 0; i < points.size(); ++i) {
    const tb::RawInput& in = dragging.input[i];
    tb::InputKind kind = i == 0 ? tb::InputKind::MouseDown : i + 1 == points.size() ? tb::InputKind::MouseUp
                                                                                    : tb::InputKind::MouseMove;
    EXPECT_TRUE(in.kind == kind && in.where.h == points[i].first && in.where.v == points[i].second)
        << "drag input " << i << ": expected " << kindName(kind) << " at " << points[i].first << " "
        << points[i].second << ", found " << kindName(in.kind) << " at " << in.where.h << " " << in.where.v;
  }
}

}  // namespace
