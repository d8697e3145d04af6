// The preferences store: encodings of the five value types, reading values
// of other kinds, corrupt stores, atomic writes and where the store lives.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/preferences.h"

namespace {

namespace fs = std::filesystem;

// Each test gets its own config directory and leaves the environment and
// the object count as it found them.
class PreferencesTest : public testing::Test {
 protected:
  void SetUp() override {
    liveAtStart_ = tb::cfLiveObjectCount();
    savedXdg_ = saved("XDG_CONFIG_HOME");
    savedHome_ = saved("HOME");
    char pattern[] = "/tmp/vantor-preferences-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr) << "cannot make a temporary directory";
    dir_ = pattern;
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }

  void TearDown() override {
    restore("XDG_CONFIG_HOME", savedXdg_);
    restore("HOME", savedHome_);
    fs::remove_all(dir_);
    EXPECT_EQ(tb::cfLiveObjectCount(), liveAtStart_) << "objects alive after the test (expected as many as before)";
  }

  std::string storePath() const { return dir_ + "/vantor/preferences.conf"; }

  void writeStore(const std::string& text) const {
    fs::create_directories(dir_ + "/vantor");
    std::ofstream(storePath(), std::ios::binary) << text;
  }

  std::string storeText() const {
    std::ifstream in(storePath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::vector<std::string> filesInStoreFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ + "/vantor")) names.push_back(entry.path().filename());
    return names;
  }

  std::string dir_;

 private:
  static std::optional<std::string> saved(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  }
  static void restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }

  long liveAtStart_ = 0;
  std::optional<std::string> savedXdg_;
  std::optional<std::string> savedHome_;
};

// Points and colours as text, so that assertions print both sides.
std::string show(Point p) { return "(v " + std::to_string(p.v) + ", h " + std::to_string(p.h) + ")"; }
std::string show(RGBColor c) {
  return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")";
}

// --- Encodings

TEST_F(PreferencesTest, EachTypeIsStoredInItsEncoding) {
  const struct {
    const char* name;
    Boolean (*write)();
    const char* line;
  } cases[] = {
      {"Point h first", [] { return WritePreference(CFSTR("DataDialogCorner"), Point{40, 100}); },
       "DataDialogCorner = [100, 40]"},
      {"colour bits as signed shorts", [] { return WritePreference(CFSTR("Colour"), RGBColor{65535, 0, 32768}); },
       "Colour = [-1, 0, -32768]"},
      {"Boolean true as 1", [] { return WritePreference(CFSTR("Flag"), Boolean(true)); }, "Flag = 1"},
      {"Boolean false as 0", [] { return WritePreference(CFSTR("Off"), Boolean(false)); }, "Off = 0"},
      {"int", [] { return WritePreference(CFSTR("Count"), -5); }, "Count = -5"},
      {"long", [] { return WritePreference(CFSTR("Big"), 1099511627776L); }, "Big = 1099511627776"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.write()) << c.name << ": the write must reach the disk";
    const std::string text = storeText();
    EXPECT_NE(text.find(std::string(c.line) + "\n"), std::string::npos)
        << c.name << ": expected the line \"" << c.line << "\" in the store, found:\n"
        << text;
  }
  EXPECT_EQ(storeText().find("Off = 0"), storeText().rfind("Off = 0")) << "each key is stored once";
}

TEST_F(PreferencesTest, ValuesReadBackAsWritten) {
  ASSERT_TRUE(WritePreference(CFSTR("DataDialogCorner"), Point{-3, 32767}));
  ASSERT_TRUE(WritePreference(CFSTR("Colour"), RGBColor{65535, 1, 32768}));
  ASSERT_TRUE(WritePreference(CFSTR("Low"), INT_MIN));
  ASSERT_TRUE(WritePreference(CFSTR("High"), LONG_MAX));
  ASSERT_TRUE(WritePreference(CFSTR("Flag"), Boolean(true)));

  Point pt{0, 0};
  EXPECT_TRUE(ReadPreference(CFSTR("DataDialogCorner"), &pt)) << "Point found";
  EXPECT_EQ(show(pt), show(Point{-3, 32767})) << "Point read back";
  RGBColor colour{0, 0, 0};
  EXPECT_TRUE(ReadPreference(CFSTR("Colour"), &colour)) << "colour found";
  EXPECT_EQ(show(colour), show(RGBColor{65535, 1, 32768})) << "colour bits come back unchanged";
  int low = 0;
  EXPECT_TRUE(ReadPreference(CFSTR("Low"), &low)) << "int found";
  EXPECT_EQ(low, INT_MIN) << "int read back";
  long high = 0;
  EXPECT_TRUE(ReadPreference(CFSTR("High"), &high)) << "long found";
  EXPECT_EQ(high, LONG_MAX) << "long read back";
  Boolean flag = false;
  EXPECT_TRUE(ReadPreference(CFSTR("Flag"), &flag)) << "flag found";
  EXPECT_TRUE(flag) << "flag read back";
}

TEST_F(PreferencesTest, AStoreLeftByAnEarlierRunIsRead) {
  writeStore("# written by an earlier run\nDataDialogCorner = [12, 34]\n");
  Point pt{0, 0};
  EXPECT_TRUE(ReadPreference(CFSTR("DataDialogCorner"), &pt)) << "the corner of an earlier run";
  EXPECT_EQ(show(pt), show(Point{34, 12})) << "element 0 is h, element 1 is v";
}

// --- Values of other kinds

enum class Reader { integer, longInteger, point, colour, flag };

// Runs one reader on key K; true when it found a value. Fails the test when
// a reader that found nothing changed its target.
bool readK(Reader reader) {
  CFStringRef key = CFSTR("K");
  switch (reader) {
    case Reader::integer: {
      int v = 77;
      const bool found = ReadPreference(key, &v);
      EXPECT_TRUE(found || v == 77) << "int target changed by a failed read: " << v;
      return found;
    }
    case Reader::longInteger: {
      long v = 77;
      const bool found = ReadPreference(key, &v);
      EXPECT_TRUE(found || v == 77) << "long target changed by a failed read: " << v;
      return found;
    }
    case Reader::point: {
      Point v{7, 7};
      const bool found = ReadPreference(key, &v);
      EXPECT_TRUE(found || show(v) == show(Point{7, 7})) << "Point target changed by a failed read: " << show(v);
      return found;
    }
    case Reader::colour: {
      RGBColor v{7, 7, 7};
      const bool found = ReadPreference(key, &v);
      EXPECT_TRUE(found || show(v) == show(RGBColor{7, 7, 7})) << "colour target changed by a failed read: " << show(v);
      return found;
    }
    case Reader::flag: {
      Boolean v = 7;
      const bool found = ReadPreference(key, &v);
      EXPECT_TRUE(found || v == 7) << "flag target changed by a failed read: " << int(v);
      return found;
    }
  }
  return false;
}

TEST_F(PreferencesTest, ValuesOfAnotherKindReadAsNotFound) {
  const struct {
    const char* stored;  // the value under K, or null for no K at all
    Reader reader;
  } cases[] = {
      {nullptr, Reader::integer},
      {nullptr, Reader::point},
      {nullptr, Reader::flag},
      {"\"text\"", Reader::integer},
      {"\"text\"", Reader::longInteger},
      {"\"text\"", Reader::point},
      {"\"maybe\"", Reader::flag},
      {"[1]", Reader::flag},
      {"true", Reader::integer},
      {"3.5", Reader::integer},
      {"10000000000", Reader::integer},
      {"1.0e30", Reader::longInteger},
      {"[1, 2, 3]", Reader::point},
      {"[1]", Reader::point},
      {"[]", Reader::point},
      {"[1, 2]", Reader::colour},
      {"[1, 2, 3, 4]", Reader::colour},
      {"[\"a\", \"b\"]", Reader::point},
      {"[40000, 1]", Reader::point},
      {"[1, [2]]", Reader::point},
      {"[1, 2, 65535]", Reader::colour},
      {"5", Reader::point},
  };
  for (const auto& c : cases) {
    writeStore(c.stored != nullptr ? std::string("K = ") + c.stored + "\n" : "Other = 1\n");
    EXPECT_FALSE(readK(c.reader)) << "reader " << int(c.reader) << " must not find a value in: "
                                  << (c.stored != nullptr ? c.stored : "<no key>");
  }
}

TEST_F(PreferencesTest, BooleanReaderAcceptsThePlatformForms) {
  const struct {
    const char* stored;
    bool flag;
  } cases[] = {
      {"true", true}, {"false", false}, {"\"YES\"", true}, {"\"no\"", false}, {"\"True\"", true},
      {"0", false},   {"2", true},      {"-1", true},      {"0.5", true},     {"0.0", false},
  };
  for (const auto& c : cases) {
    writeStore(std::string("K = ") + c.stored + "\n");
    Boolean flag = 7;
    EXPECT_TRUE(ReadPreference(CFSTR("K"), &flag)) << "a Boolean form: " << c.stored;
    EXPECT_EQ(bool(flag), c.flag) << "flag read from " << c.stored;
  }
}

// --- Corrupt stores

TEST_F(PreferencesTest, CorruptStoresReadAsNotFoundAndAreReplacedByTheNextWrite) {
  const std::string cases[] = {
      "DataDialogCorner = [100, 40\n",
      std::string("\x00\xFF\xFE\x01 binary", 11),
      "DataDialogCorner = [100, 40]\nthis line is broken\n",
      "DataDialogCorner = [100, 40]\n" + std::string(2 << 20, '#'),  // far larger than any store of ours
  };
  for (const std::string& corrupt : cases) {
    writeStore(corrupt);
    Point pt{7, 7};
    EXPECT_FALSE(ReadPreference(CFSTR("DataDialogCorner"), &pt)) << "a corrupt store must read as not found";
    EXPECT_EQ(show(pt), show(Point{7, 7})) << "the caller keeps its default";

    ASSERT_TRUE(WritePreference(CFSTR("Count"), 3)) << "the next write must succeed";
    const std::string text = storeText();
    EXPECT_EQ(text.substr(text.find('\n') + 1), "Count = 3\n") << "the store holds the new value alone";
    int count = 0;
    EXPECT_TRUE(ReadPreference(CFSTR("Count"), &count)) << "the replaced store reads";
    EXPECT_EQ(count, 3) << "value in the replaced store";
  }
}

// --- Atomic writes

// Lowers the largest file this process may write, so that the next write
// fails part-way as on a full disk. With SIGXFSZ ignored write() reports
// EFBIG; with its default action the process dies mid-write.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST_F(PreferencesTest, AFailedWriteLeavesTheOldStoreWholeAndReportsIt) {
  ASSERT_TRUE(WritePreference(CFSTR("DataDialogCorner"), Point{1, 2}));
  const std::string before = storeText();

  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  Boolean written;
  {
    FileSizeLimit limit(16);  // smaller than the store's first line
    written = WritePreference(CFSTR("DataDialogCorner"), Point{3, 4});
  }
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written) << "a write that did not reach the disk must say so";
  EXPECT_EQ(storeText(), before) << "the store on disk must be the old one, byte for byte";
  EXPECT_EQ(filesInStoreFolder(), std::vector<std::string>{"preferences.conf"}) << "no temporary file is left";

  // The value stays held, and the next synchronisation writes it.
  EXPECT_TRUE(CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication)) << "a later write succeeds";
  Point pt{0, 0};
  EXPECT_TRUE(ReadPreference(CFSTR("DataDialogCorner"), &pt));
  EXPECT_EQ(show(pt), show(Point{3, 4})) << "the held value reached the disk";
}

TEST_F(PreferencesTest, ACrashDuringAWriteLeavesTheOldStore) {
  ASSERT_TRUE(WritePreference(CFSTR("DataDialogCorner"), Point{1, 2}));
  const std::string before = storeText();

  GTEST_FLAG_SET(death_test_style, "fast");  // the child must write into this test's store
  EXPECT_EXIT(
      {
        std::signal(SIGXFSZ, SIG_DFL);
        FileSizeLimit limit(16);
        WritePreference(CFSTR("DataDialogCorner"), Point{3, 4});
        std::_Exit(0);
      },
      testing::KilledBySignal(SIGXFSZ), "")
      << "the writer must die in the middle of writing";

  EXPECT_EQ(storeText(), before) << "the store on disk must be the old one, byte for byte";
  Point pt{0, 0};
  EXPECT_TRUE(ReadPreference(CFSTR("DataDialogCorner"), &pt)) << "the old store still reads";
  EXPECT_EQ(show(pt), show(Point{1, 2})) << "the old value";
  EXPECT_TRUE(WritePreference(CFSTR("DataDialogCorner"), Point{5, 6})) << "the crash's leftovers do not block writes";
  EXPECT_TRUE(ReadPreference(CFSTR("DataDialogCorner"), &pt));
  EXPECT_EQ(show(pt), show(Point{5, 6})) << "the value written after the crash";
}

TEST_F(PreferencesTest, NoStoreWhereTheFolderCannotBeMade) {
  std::ofstream(dir_ + "/plain-file") << "x";
  setenv("XDG_CONFIG_HOME", (dir_ + "/plain-file").c_str(), 1);
  EXPECT_FALSE(WritePreference(CFSTR("Count"), 1)) << "a config folder under a plain file cannot be made";
  // The value stays held; drop it (the fixture counts live objects).
  CFPreferencesSetAppValue(CFSTR("Count"), nullptr, kCFPreferencesCurrentApplication);
}

// --- Where the store lives

TEST_F(PreferencesTest, StoreFollowsTheXdgRules) {
  const struct {
    const char* xdg;  // null: unset
    const char* storeUnderDir;
  } cases[] = {
      {"/xdg", "/xdg/vantor/preferences.conf"},
      {"relative/config", "/home/.config/vantor/preferences.conf"},  // relative paths are ignored
      {"", "/home/.config/vantor/preferences.conf"},
      {nullptr, "/home/.config/vantor/preferences.conf"},
  };
  for (const auto& c : cases) {
    if (c.xdg == nullptr)
      unsetenv("XDG_CONFIG_HOME");
    else
      setenv("XDG_CONFIG_HOME", *c.xdg == '/' ? (dir_ + c.xdg).c_str() : c.xdg, 1);
    setenv("HOME", (dir_ + "/home").c_str(), 1);
    ASSERT_TRUE(WritePreference(CFSTR("Count"), 9)) << "XDG_CONFIG_HOME=" << (c.xdg ? c.xdg : "<unset>");
    const std::string path = dir_ + c.storeUnderDir;
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0) << "expected the store at " << path;
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the store is private to its user: " << path;
    fs::remove(path);
  }
}

// --- The Core Foundation calls beneath

TEST_F(PreferencesTest, SettingNothingRemovesAKey) {
  ASSERT_TRUE(WritePreference(CFSTR("A"), 1));
  ASSERT_TRUE(WritePreference(CFSTR("B"), 2));
  CFPreferencesSetAppValue(CFSTR("A"), nullptr, kCFPreferencesCurrentApplication);
  EXPECT_EQ(CFPreferencesCopyAppValue(CFSTR("A"), kCFPreferencesCurrentApplication), nullptr)
      << "a removed key is gone at once";
  ASSERT_TRUE(CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication));
  const std::string text = storeText();
  EXPECT_EQ(text.find("A = "), std::string::npos) << "A removed from the store:\n" << text;
  EXPECT_NE(text.find("B = 2\n"), std::string::npos) << "B kept in the store:\n" << text;
}

TEST_F(PreferencesTest, ValuesWithoutAStoreFormAreRefused) {
  static const int raw = 1;
  const void* values[] = {&raw};
  CFArrayRef rawArray = CFArrayCreate(nullptr, values, 1, nullptr);
  CFPreferencesSetAppValue(CFSTR("Raw"), rawArray, kCFPreferencesCurrentApplication);
  CFRelease(rawArray);
  EXPECT_EQ(CFPreferencesCopyAppValue(CFSTR("Raw"), kCFPreferencesCurrentApplication), nullptr)
      << "an array of raw pointers is not held";
  EXPECT_TRUE(WritePreference(CFSTR("Count"), 1)) << "and does not block later writes";
}

TEST_F(PreferencesTest, OtherApplicationsHaveTheirOwnStores) {
  CFStringRef other = CFSTR("org.example.other");
  CFPreferencesSetAppValue(CFSTR("K"), CFSTR("v"), other);
  ASSERT_TRUE(CFPreferencesAppSynchronize(other));
  EXPECT_TRUE(fs::exists(dir_ + "/org.example.other/preferences.conf")) << "a store of its own";
  EXPECT_EQ(CFPreferencesCopyAppValue(CFSTR("K"), kCFPreferencesCurrentApplication), nullptr)
      << "the current application does not see it";

  for (CFStringRef bad : {CFSTR("../escape"), CFSTR(".hidden"), CFSTR("a/b"), CFSTR("")}) {
    CFPreferencesSetAppValue(CFSTR("K"), CFSTR("v"), bad);
    EXPECT_FALSE(CFPreferencesAppSynchronize(bad)) << "an identifier that could leave the config folder";
    EXPECT_EQ(CFPreferencesCopyAppValue(CFSTR("K"), bad), nullptr) << "no store for such an identifier";
  }
  EXPECT_FALSE(fs::exists(dir_ + "/../escape")) << "nothing written outside the config folder";
}

}  // namespace
