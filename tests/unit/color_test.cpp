// Colours: the conversions between OpenGL and 16-bit colours, the colour
// picker on OpenGL colours answered as a person would, and plot backgrounds.
#include "Sources/color.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "unit/app_desktop.h"
#include "unit/while_waiting.h"

namespace {

using Rgb3 = std::array<float, 3>;

std::string describe(const RGBColor& c) {
  return "{" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + "}";
}
std::string describe(const float* c) {
  char text[96];
  std::snprintf(text, sizeof text, "{%.9g, %.9g, %.9g}", c[0], c[1], c[2]);
  return text;
}
bool sameColor(const RGBColor& a, const RGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
bool sameColor(const float* a, const float* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// What 32767 of 65535 reads as in float: the half channel after a round trip.
const float kHalfRoundTrip = float(32767 / 65535.0);

struct ToRGBCase {
  const char* name;
  Rgb3 in;
  RGBColor expected;
};

TEST(ColorConversion, FloatChannelsTruncateToSixteenBits) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<ToRGBCase> cases = {
      {"orange: one half truncates to 32767", {1, 0.5f, 0}, {65535, 32767, 0}},
      {"black", {0, 0, 0}, {0, 0, 0}},
      {"white", {1, 1, 1}, {65535, 65535, 65535}},
      {"quarters truncate", {0.25f, 0.75f, 0.1f}, {16383, 49151, 6553}},
      {"a round-trip half stays 32767", {kHalfRoundTrip, 0, 0}, {32767, 0, 0}},
      {"out of range and not a number saturate", {-0.5f, 1.5f, nan}, {0, 65535, 0}},
  };
  for (const ToRGBCase& c : cases) {
    RGBColor out{1, 2, 3};
    Rgb3 in = c.in;
    convertToRGBColor(in.data(), out);
    EXPECT_TRUE(sameColor(c.expected, out)) << c.name << ": expected " << describe(c.expected) << ", found "
                                             << describe(out);
  }
}

TEST(ColorConversion, SixteenBitChannelsDivideBy65535) {
  struct Case {
    const char* name;
    RGBColor in;
    Rgb3 expected;
  };
  const std::vector<Case> cases = {
      {"orange back: 32767 is 0.49999237", {65535, 32767, 0}, {1, kHalfRoundTrip, 0}},
      {"fifths are exact", {13107, 26214, 39321}, {0.2f, 0.4f, 0.6f}},
      {"black and white", {0, 65535, 0}, {0, 1, 0}},
  };
  for (const Case& c : cases) {
    Rgb3 out{-1, -1, -1};
    convertToglColor(c.in, out.data());
    EXPECT_TRUE(sameColor(c.expected.data(), out.data()))
        << c.name << ": expected " << describe(c.expected.data()) << ", found " << describe(out.data());
  }
  EXPECT_NEAR(0.49999237, kHalfRoundTrip, 1e-8) << "the half channel after a round trip, to eight places";
}

TEST(ColorConversion, EverySixteenBitChannelSurvivesTheRoundTrip) {
  int drifted = 0, first = -1;
  for (int c = 0; c <= 65535; ++c) {
    const auto v = static_cast<unsigned short>(c);
    Rgb3 f;
    convertToglColor(RGBColor{v, v, v}, f.data());
    RGBColor back;
    convertToRGBColor(f.data(), back);
    if (!sameColor(RGBColor{v, v, v}, back)) {
      ++drifted;
      if (first < 0) first = c;
    }
  }
  EXPECT_EQ(0, drifted) << "expected every channel value to come back unchanged, found " << drifted
                        << " that drift, the first " << first;
}

// ---- the picker ----

struct Picked {
  bool opened = false;
  std::string prompt;
  RGBColor shown{0, 0, 0};
};

// Waits for the picker, notes what it shows and answers it (null: Cancel).
WhileWaiting::Step answerPicker(Picked& seen, std::optional<RGBColor> answer) {
  return [&seen, answer] {
    tb::QtFrontend* fe = tb::qtFrontend();
    if (!fe->colorPickerOpen()) return false;
    seen.opened = true;
    seen.prompt = fe->colorPickerPrompt();
    seen.shown = fe->colorPickerColor();
    return fe->answerColorPicker(answer ? &*answer : nullptr);
  };
}

// The dialog shows 8 bits per channel.
bool shows(const RGBColor& shown, const RGBColor& preset) {
  auto close = [](int a, int b) { return std::abs(a - b) <= 128; };
  return close(shown.red, preset.red) && close(shown.green, preset.green) && close(shown.blue, preset.blue);
}

struct PickCase {
  const char* name;
  Rgb3 start;
  std::optional<RGBColor> answer;  // none: cancel
  Rgb3 expected;
};

using Picker = AppDesktop;

TEST_F(Picker, ChooseAColorAnswersWithTheColourOrItsRoundTrip) {
  const std::vector<PickCase> cases = {
      {"cancel on orange leaves its round trip", {1, 0.5f, 0}, std::nullopt, {1, kHalfRoundTrip, 0}},
      {"cancel on red leaves it exactly", {1, 0, 0}, std::nullopt, {1, 0, 0}},
      {"confirming the preset unchanged keeps all 16 bits", {1, 0.5f, 0}, RGBColor{65535, 32767, 0},
       {1, kHalfRoundTrip, 0}},
      {"a new colour, #336699", {1, 0, 0}, RGBColor{0x3333, 0x6666, 0x9999}, {0.2f, 0.4f, 0.6f}},
      {"white over black", {0, 0, 0}, RGBColor{65535, 65535, 65535}, {1, 1, 1}},
  };
  for (const PickCase& c : cases) {
    Picked seen;
    WhileWaiting person;
    person.then(answerPicker(seen, c.answer));
    GrafPtr before;
    SetPortWindowPort(output);
    GetPort(&before);
    Rgb3 colour = c.start;
    ChooseAColor(colour.data());
    GrafPtr after;
    GetPort(&after);
    EXPECT_TRUE(seen.opened) << c.name << ": expected the picker to open";
    EXPECT_EQ("Choose a Color", seen.prompt) << c.name << ": the picker's prompt";
    RGBColor preset;
    Rgb3 start = c.start;
    convertToRGBColor(start.data(), preset);
    EXPECT_TRUE(shows(seen.shown, preset)) << c.name << ": expected the picker preset to " << describe(preset)
                                           << ", found it showing " << describe(seen.shown);
    EXPECT_TRUE(sameColor(c.expected.data(), colour.data()))
        << c.name << ": expected " << describe(c.expected.data()) << ", found " << describe(colour.data());
    EXPECT_EQ(before, after) << c.name << ": the current port is restored";
  }
}

// ---- backgrounds ----

Rgb3 clearColour(PlotData* data) {
  data->setDrawable();
  GLfloat v[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, v);
  return {v[0], v[1], v[2]};
}

RGBColor portBackColour(WindowPtr w) {
  GrafPtr saved;
  GetPort(&saved);
  SetPortWindowPort(w);
  RGBColor c;
  GetBackColor(&c);
  SetPort(saved);
  return c;
}

void setBackgroundColour(float v) { bkgrndCol[0] = bkgrndCol[1] = bkgrndCol[2] = v; }

using Backgrounds = AppDesktop;

TEST_F(Backgrounds, BlackAndWhiteGoToTheFrontPlotOnly) {
  struct Case {
    const char* name;
    int which;
    Rgb3 expected;
    RGBColor expectedPort;
  };
  const std::vector<Case> cases = {
      {"1 is black", 1, {0, 0, 0}, {0, 0, 0}},
      {"2 is white", 2, {1, 1, 1}, {65535, 65535, 65535}},
      {"1 again", 1, {0, 0, 0}, {0, 0, 0}},
      {"any other value is white", 5, {1, 1, 1}, {65535, 65535, 65535}},
  };
  WindowPtr back = newPlot();
  WindowPtr front = newPlot();
  for (const Case& c : cases) {
    front->updateRgn = QRegion();
    setBackground(c.which);
    EXPECT_TRUE(sameColor(c.expected.data(), bkgrndCol))
        << c.name << ": expected bkgrndCol " << describe(c.expected.data()) << ", found " << describe(bkgrndCol);
    const Rgb3 clear = clearColour(GetPlotData(front));
    EXPECT_TRUE(sameColor(c.expected.data(), clear.data()))
        << c.name << ": expected the front plot's clear colour " << describe(c.expected.data()) << ", found "
        << describe(clear.data());
    const RGBColor port = portBackColour(front);
    EXPECT_TRUE(sameColor(c.expectedPort, port))
        << c.name << ": expected the port's background " << describe(c.expectedPort) << ", found " << describe(port);
    EXPECT_TRUE(front->updateRgn.isEmpty()) << c.name << ": setBackground itself requests no redraw";
    const Rgb3 other = clearColour(GetPlotData(back));
    EXPECT_TRUE(sameColor(Rgb3{1, 1, 1}.data(), other.data()))
        << c.name << ": expected the plot behind to stay white, found " << describe(other.data());
  }
}

TEST_F(Backgrounds, ANewPlotStartsWhiteWhateverTheLastBackground) {
  WindowPtr first = newPlot();
  setBackground(1);
  WindowPtr second = newPlot();
  const Rgb3 firstClear = clearColour(GetPlotData(first));
  const Rgb3 secondClear = clearColour(GetPlotData(second));
  EXPECT_TRUE(sameColor(Rgb3{0, 0, 0}.data(), firstClear.data()))
      << "expected the first plot to stay black, found " << describe(firstClear.data());
  EXPECT_TRUE(sameColor(Rgb3{1, 1, 1}.data(), secondClear.data()))
      << "expected the new plot white, found " << describe(secondClear.data());
  // Drawn: a corner away from the axes and the graph shows the background.
  requestUpdate(first);
  EventRecord e;
  while (GetNextEvent(everyEvent, &e)) dispatchEvent(e);
  EXPECT_EQ(QColor(Qt::black).rgb(), first->port.image.pixel(3, 3)) << "the first plot's redrawn background";
}

TEST_F(Backgrounds, ThePickerStartsAtTheLastBackground) {
  newPlot();
  setBackgroundColour(0);
  Picked seen;
  WhileWaiting person;
  person.then(answerPicker(seen, RGBColor{0x3333, 0x6666, 0x9999}));
  setBackground(0);
  EXPECT_TRUE(seen.opened) << "expected the picker to open";
  EXPECT_TRUE(shows(seen.shown, RGBColor{0, 0, 0})) << "expected the picker preset to black, found "
                                                     << describe(seen.shown);
  EXPECT_TRUE(sameColor(Rgb3{0.2f, 0.4f, 0.6f}.data(), bkgrndCol)) << "expected the picked colour, found "
                                                                    << describe(bkgrndCol);
  const Rgb3 clear = clearColour(GetPlotData());
  EXPECT_TRUE(sameColor(Rgb3{0.2f, 0.4f, 0.6f}.data(), clear.data()))
      << "expected the picked clear colour, found " << describe(clear.data());
  const RGBColor port = portBackColour(FrontPlotWindow());
  EXPECT_TRUE(sameColor(RGBColor{0x3333, 0x6666, 0x9999}, port))
      << "expected the port's background #336699, found " << describe(port);
}

TEST_F(Backgrounds, WithoutAPlotNothingHappens) {
  setBackgroundColour(0.25f);
  int pickers = 0;
  tb::setIdleHook([&](bool) {
    if (tb::qtFrontend()->colorPickerOpen()) {
      ++pickers;
      tb::qtFrontend()->answerColorPicker(nullptr);
    }
  });
  for (int which : {0, 1, 2}) {
    setBackground(which);
    EXPECT_EQ(0.25f, bkgrndCol[0]) << "setBackground(" << which << ") without a plot changed bkgrndCol";
  }
  for (int type : {1, 2, 3}) ChooseAColor(type);
  tb::setIdleHook(nullptr);
  EXPECT_EQ(0, pickers) << "expected no picker without a plot window";
}

TEST_F(Backgrounds, TheDialogHookActsOnTheFrontPlot) {
  WindowPtr plot = newPlot();
  PlotData* data = GetPlotData(plot);

  struct Case {
    const char* name;
    int type;
    bool picker;
    bool redraw;
  };
  const std::vector<Case> cases = {
      {"0 does nothing", 0, false, false},
      {"4 does nothing", 4, false, false},
      {"2 gives a black background", 2, false, true},
      {"3 picks the background", 3, true, true},
      {"1 picks the map colour", 1, true, true},
  };
  for (const Case& c : cases) {
    plot->updateRgn = QRegion();
    int pickers = 0;
    RGBColor preset{0, 0, 0};
    tb::setIdleHook([&](bool) {
      tb::QtFrontend* fe = tb::qtFrontend();
      if (!fe->colorPickerOpen()) return;
      ++pickers;
      preset = fe->colorPickerColor();
      const RGBColor green{0, 65535, 0};
      fe->answerColorPicker(&green);
    });
    setBackgroundColour(1);
    ChooseAColor(c.type);
    tb::setIdleHook(nullptr);
    EXPECT_EQ(c.picker ? 1 : 0, pickers) << c.name << ": pickers opened";
    EXPECT_EQ(c.redraw, !plot->updateRgn.isEmpty()) << c.name << ": redraw of the front plot requested";
    if (c.type == 2) {
      EXPECT_TRUE(sameColor(Rgb3{0, 0, 0}.data(), clearColour(data).data())) << c.name << ": black clear colour";
    }
    if (c.type == 3) {
      EXPECT_TRUE(sameColor(Rgb3{0, 1, 0}.data(), clearColour(data).data())) << c.name << ": green clear colour";
    }
    if (c.type == 1) {
      EXPECT_TRUE(sameColor(Rgb3{0, 1, 0}.data(), data->map()->plotColor))
          << c.name << ": expected the map colour green, found " << describe(data->map()->plotColor);
      EXPECT_TRUE(shows(preset, RGBColor{0, 0, 65535})) << c.name << ": expected the picker preset to the "
                                                        << "map's blue, found " << describe(preset);
    }
  }
}

}  // namespace
