// Script steps for the system's own pieces that the program uses: the colour
// picker (answered as a person would, on the real dialog), the system
// clipboard (read and set as another program would), and modifier keys
// pressed and released on their own (Shift during a drag).
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <chrono>
#include <memory>

#include "Frontend.h"
#include "internal/EventQueue.h"
#include "internal/Script.h"
#include "qt/QtFrontend.h"

namespace tb::script {

namespace {

bool readable(Phase phase) { return phase == Phase::Idle || phase == Phase::Tracking; }

// A colour written #rrggbb, as 0xRRGGBB.
QRgb parseColour(Line& line) {
  std::string c = line.word("a colour #rrggbb");
  if (line.failed()) return 0;
  if (c.size() != 7 || c[0] != '#' || !QColor::isValidColorName(QString::fromStdString(c))) {
    line.fail("expected a colour #rrggbb, found " + c);
    return 0;
  }
  return QColor(QString::fromStdString(c)).rgb() & 0xFFFFFF;
}

std::string colourText(QRgb rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", unsigned(rgb & 0xFFFFFF));
  return text;
}

// 8 bits a channel, as the dialog and the script see a colour.
QRgb toRgb(const RGBColor& c) { return QColor::fromRgba64(c.red, c.green, c.blue).rgb() & 0xFFFFFF; }
RGBColor toRGBColor(QRgb rgb) {
  return RGBColor{static_cast<unsigned short>(qRed(rgb) * 257), static_cast<unsigned short>(qGreen(rgb) * 257),
                  static_cast<unsigned short>(qBlue(rgb) * 257)};
}

std::string inputPath(const Context& context, const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  const QDir scriptDir = QFileInfo(QString::fromStdString(context.scriptName)).dir();
  return scriptDir.filePath(QString::fromStdString(path)).toStdString();
}

std::string describeClipboard() {
  std::string text;
  const bool hasText = frontend().clipboardText(text);
  const QImage image = frontend().clipboardImage();
  if (!hasText && image.isNull()) return "an empty clipboard";
  std::string found;
  if (hasText) found = "text " + quote(text);
  if (!image.isNull()) {
    found += std::string(hasText ? " and " : "") + "an image " + std::to_string(image.width()) + " x " +
             std::to_string(image.height());
  }
  return found;
}

}  // namespace

std::function<Outcome(Context&)> parseColorCommand(Line& line) {
  enum class Answer { Colour, Ok, Cancel };
  Answer answer = Answer::Colour;
  QRgb colour = 0;
  if (line.accept("ok")) {
    answer = Answer::Ok;
  } else if (line.accept("cancel")) {
    answer = Answer::Cancel;
  } else {
    colour = parseColour(line);
  }
  return [answer, colour](Context& context) {
    if (context.phase == Phase::Idle) return Outcome::fail("the colour picker open", "no colour picker");
    if (context.phase != Phase::ColorPicker) return Outcome::notNow();
    QtFrontend* qt = qtFrontend();
    if (qt == nullptr) return Outcome::fail("the Qt front end", "none");
    RGBColor chosen = answer == Answer::Ok ? qt->colorPickerColor() : toRGBColor(colour);
    qt->answerColorPicker(answer == Answer::Cancel ? nullptr : &chosen);
    return Outcome::yield();
  };
}

std::function<Outcome(Context&)> parseClipboardCommand(Line& line) {
  const std::string what = line.word("text, image, clear, save or wait");
  if (line.failed()) return nullptr;
  if (what == "clear") {
    return [](Context& context) {
      if (context.phase != Phase::Idle) return Outcome::notNow();
      frontend().setClipboard(nullptr, nullptr);
      return Outcome::done();
    };
  }
  if (what == "text") {
    const std::string text = line.text("the text another program copies");
    return [text](Context& context) {
      if (context.phase != Phase::Idle) return Outcome::notNow();
      frontend().setClipboard(&text, nullptr);
      return Outcome::done();
    };
  }
  if (what == "image") {
    const std::string file = line.any("a PNG file");
    return [file](Context& context) {
      if (context.phase != Phase::Idle) return Outcome::notNow();
      const std::string path = inputPath(context, file);
      QImage image(QString::fromStdString(path));
      if (image.isNull()) return Outcome::fail("a PNG image in " + path, "no image there");
      frontend().setClipboard(nullptr, &image);
      return Outcome::done();
    };
  }
  if (what == "save") {
    const std::string file = line.any("the PNG file to write");
    return [file](Context& context) {
      if (!readable(context.phase)) return Outcome::notNow();
      const QImage image = frontend().clipboardImage();
      if (image.isNull()) return Outcome::fail("an image on the clipboard", describeClipboard());
      const QString path = QString::fromStdString(resolveOutputPath(context, file));
      QDir().mkpath(QFileInfo(path).absolutePath());
      if (!image.save(path, "PNG")) {
        return Outcome::fail("a PNG written to " + path.toStdString(), "it cannot be written");
      }
      return Outcome::done();
    };
  }
  if (what == "wait") {
    // Another program's copy arrives when it arrives: the step looks again
    // at every wait until the step's timeout.
    if (!line.accept("text")) line.fail("expected `clipboard wait text \"TEXT\"`");
    const std::string expected = line.text("the text to wait for");
    auto started = std::make_shared<std::optional<std::chrono::steady_clock::time_point>>();
    return [expected, started](Context& context) {
      if (context.phase != Phase::Idle) return Outcome::notNow();
      const auto now = std::chrono::steady_clock::now();
      if (!*started) *started = now;
      std::string text;
      if (frontend().clipboardText(text) && text == expected) {
        started->reset();
        return Outcome::done();
      }
      const std::chrono::duration<double> waited = now - **started;
      if (waited.count() > context.timeoutSeconds) {
        started->reset();
        return Outcome::fail("the clipboard's text " + quote(expected) + " within " +
                                 formatNumber(context.timeoutSeconds) + " s",
                             describeClipboard());
      }
      return Outcome::pending();
    };
  }
  line.fail("expected text, image, clear, save or wait after clipboard, found " + what);
  return nullptr;
}

std::function<Outcome(Context&)> parseSystemExpect(Line& line) {
  if (line.accept("color")) {
    const std::string prompt = line.text("the colour picker's prompt");
    const bool withColour = !line.atEnd();
    const QRgb colour = withColour ? parseColour(line) : 0;
    return [prompt, withColour, colour](Context& context) {
      if (context.phase == Phase::Idle) return Outcome::fail("the colour picker " + quote(prompt), "no colour picker");
      if (context.phase != Phase::ColorPicker) return Outcome::notNow();
      QtFrontend* qt = qtFrontend();
      if (qt == nullptr) return Outcome::fail("the Qt front end", "none");
      const std::string foundPrompt = qt->colorPickerPrompt();
      const QRgb shown = toRgb(qt->colorPickerColor());
      const std::string expected =
          "the colour picker " + quote(prompt) + (withColour ? " showing " + colourText(colour) : "");
      if (foundPrompt != prompt || (withColour && shown != colour)) {
        return Outcome::fail(expected, "the colour picker " + quote(foundPrompt) + " showing " + colourText(shown));
      }
      return Outcome::done();
    };
  }
  line.word("clipboard");
  const std::string what = line.word("text, image, pixel, no or empty");
  if (line.failed()) return nullptr;
  std::function<Outcome()> check;
  if (what == "empty") {
    check = [] {
      std::string text;
      if (!frontend().clipboardText(text) && frontend().clipboardImage().isNull()) return Outcome::done();
      return Outcome::fail("an empty clipboard", describeClipboard());
    };
  } else if (what == "no") {
    const std::string kind = line.word("text or image");
    if (!line.failed() && kind != "text" && kind != "image") line.fail("expected text or image, found " + kind);
    check = [kind] {
      std::string text;
      const bool has = kind == "text" ? frontend().clipboardText(text) : !frontend().clipboardImage().isNull();
      if (!has) return Outcome::done();
      return Outcome::fail("no " + kind + " on the clipboard", describeClipboard());
    };
  } else if (what == "text") {
    const std::string expected = line.text("the clipboard's text");
    check = [expected] {
      std::string text;
      if (frontend().clipboardText(text) && text == expected) return Outcome::done();
      return Outcome::fail("the clipboard's text " + quote(expected), describeClipboard());
    };
  } else if (what == "image") {
    const long width = line.integer("the image's width");
    const long height = line.integer("the image's height");
    check = [width, height] {
      const QImage image = frontend().clipboardImage();
      if (!image.isNull() && image.width() == width && image.height() == height) return Outcome::done();
      return Outcome::fail("an image " + std::to_string(width) + " x " + std::to_string(height) + " on the clipboard",
                           describeClipboard());
    };
  } else if (what == "pixel") {
    const long h = line.integer("the pixel's h");
    const long v = line.integer("the pixel's v");
    const QRgb colour = parseColour(line);
    check = [h, v, colour] {
      const QImage image = frontend().clipboardImage();
      const std::string expected = "the clipboard image's pixel (" + std::to_string(h) + ", " + std::to_string(v) +
                                   ") " + colourText(colour);
      if (image.isNull()) return Outcome::fail(expected, describeClipboard());
      if (h < 0 || v < 0 || h >= image.width() || v >= image.height()) {
        return Outcome::fail(expected, "an image " + std::to_string(image.width()) + " x " +
                                           std::to_string(image.height()));
      }
      const QRgb found = image.pixel(int(h), int(v)) & 0xFFFFFF;
      if (found == colour) return Outcome::done();
      return Outcome::fail(expected, colourText(found));
    };
  } else {
    line.fail("expected text, image, pixel, no or empty after expect clipboard, found " + what);
    return nullptr;
  }
  return [check](Context& context) { return readable(context.phase) ? check() : Outcome::notNow(); };
}

std::function<Outcome(Context&)> parseModifierCommand(const std::string& command, Line& line) {
  const std::string name = line.word("a modifier key (shift, cmd, option or control)");
  struct Modifier {
    const char* name;
    unsigned char keyCode;
    EventModifiers bit;
  };
  static const Modifier kModifiers[] = {{"shift", kVK_Shift, shiftKey},
                                        {"cmd", kVK_Command, cmdKey},
                                        {"option", kVK_Option, optionKey},
                                        {"control", kVK_Control, controlKey}};
  const Modifier* found = nullptr;
  for (const Modifier& m : kModifiers) {
    if (name == m.name) found = &m;
  }
  if (found == nullptr) {
    if (!line.failed()) line.fail("expected shift, cmd, option or control, found " + name);
    return nullptr;
  }
  const bool press = command == "press";
  const Modifier m = *found;
  return [press, m](Context& context) {
    if (context.phase != Phase::Idle && context.phase != Phase::Tracking) return Outcome::notNow();
    RawInput in;
    in.kind = press ? InputKind::KeyDown : InputKind::KeyUp;
    in.keyCode = m.keyCode;
    // The other modifiers stay as they are held now.
    in.modifiers = EventModifiers(press ? (currentModifiers() | m.bit) : (currentModifiers() & ~m.bit));
    context.input.push_back(in);
    return Outcome::yield();
  };
}

}  // namespace tb::script
