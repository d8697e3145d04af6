// Core Foundation preferences: per-user stores of the current application
// (and of other named applications) as text files under the XDG config
// directory. Every read goes to the file, so a store edited or damaged
// outside the program is seen at once; values set are held in memory until
// synchronised, which rewrites the file atomically.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <vector>

#include "CoreFoundation.h"
#include "internal/CFPropertyListText.h"

const CFStringRef kCFPreferencesCurrentApplication = CFSTR("kCFPreferencesCurrentApplication");

namespace {

constexpr const char* kCurrentApplicationFolder = "vantor";
constexpr const char* kStoreFileName = "preferences.conf";
// A store larger than this is not ours; reading it whole would only cost memory.
constexpr std::streamoff kMaxStoreSize = 1 << 20;

// Values set and not yet synchronised, per store path; a null value removes its key.
struct PendingValues {
  std::mutex lock;
  std::map<std::string, tb::PreferenceValues> byStore;
};

PendingValues& pending() {
  static PendingValues instance;
  return instance;
}

bool isAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::optional<std::string> configHome() {
  // The XDG rules: a relative or empty XDG_CONFIG_HOME is ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); isAbsolute(xdg)) return std::string(xdg);
  if (const char* home = std::getenv("HOME"); isAbsolute(home)) return std::string(home) + "/.config";
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && isAbsolute(entry->pw_dir))
    return std::string(entry->pw_dir) + "/.config";
  return std::nullopt;
}

// The folder of an application's store; identifiers that could leave the
// config directory ("..", "/") have no store.
std::optional<std::string> applicationFolder(CFStringRef applicationID) {
  if (applicationID == nullptr) return std::nullopt;
  if (applicationID == kCFPreferencesCurrentApplication ||
      CFEqual(applicationID, kCFPreferencesCurrentApplication))
    return std::string(kCurrentApplicationFolder);
  char name[128];
  if (!CFStringGetCString(applicationID, name, sizeof name, kCFStringEncodingUTF8) || name[0] == '\0' ||
      name[0] == '.')
    return std::nullopt;
  for (const char* c = name; *c != '\0'; ++c) {
    const bool allowed = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') ||
                         *c == '.' || *c == '_' || *c == '-';
    if (!allowed) return std::nullopt;
  }
  return std::string(name);
}

std::optional<std::string> storePath(CFStringRef applicationID) {
  const std::optional<std::string> home = configHome();
  const std::optional<std::string> folder = applicationFolder(applicationID);
  if (!home || !folder) return std::nullopt;
  return *home + "/" + *folder + "/" + kStoreFileName;
}

std::optional<std::string> keyText(CFStringRef key) {
  const CFStringRecord* record = tb::cfStringRecord(key);
  if (record == nullptr) return std::nullopt;
  return record->utf8;
}

// The values on disk. A missing store is empty; one that cannot be read or
// decoded as a whole is treated the same, so readers fall back to their
// defaults and the next write replaces it.
tb::PreferenceValues readStore(const std::string& path) {
  tb::PreferenceValues values;
  std::ifstream in(path, std::ios::binary);
  if (!in) return values;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxStoreSize) return values;
  in.seekg(0);
  std::string text(static_cast<size_t>(size), '\0');
  if (!in.read(text.data(), size)) return values;
  tb::decodePreferences(text, values);
  return values;
}

bool makeDirectories(const std::string& dir) {
  for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
    const std::string part = dir.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info;
  return stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Writes a temporary file beside the store, flushes it to the disk and
// renames it over the store: a crash or a full disk at any point leaves
// the old store whole.
bool writeFileAtomically(const std::string& path, const std::string& contents) {
  const size_t slash = path.rfind('/');
  const std::string dir = path.substr(0, slash);
  if (!makeDirectories(dir)) return false;
  std::string name = dir + "/." + path.substr(slash + 1) + ".XXXXXX";
  std::vector<char> temp(name.begin(), name.end());
  temp.push_back('\0');
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = writeAll(fd, contents) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.data(), path.c_str()) == 0;
  if (!ok) {
    unlink(temp.data());
    return false;
  }
  // Make the rename itself durable; the new store is in place either way.
  if (const int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY); dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return true;
}

}  // namespace

CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID) {
  const std::optional<std::string> path = storePath(applicationID);
  const std::optional<std::string> name = keyText(key);
  if (!path || !name) return nullptr;
  {
    PendingValues& held = pending();
    std::lock_guard<std::mutex> guard(held.lock);
    const auto store = held.byStore.find(*path);
    if (store != held.byStore.end()) {
      const auto value = store->second.find(*name);
      if (value != store->second.end()) return value->second ? CFRetain(value->second.get()) : nullptr;
    }
  }
  const tb::PreferenceValues values = readStore(*path);
  const auto value = values.find(*name);
  return value != values.end() ? CFRetain(value->second.get()) : nullptr;
}

Boolean CFPreferencesGetAppBooleanValue(CFStringRef key, CFStringRef applicationID,
                                        Boolean* keyExistsAndHasValidFormat) {
  const tb::CFOwned value(CFPreferencesCopyAppValue(key, applicationID));
  bool valid = false;
  bool result = false;
  if (const CFBooleanRecord* b = tb::cfBooleanRecord(value.get())) {
    valid = true, result = b->value;
  } else if (const CFNumberRecord* n = tb::cfNumberRecord(value.get())) {
    valid = true, result = n->isFloat ? n->real != 0 : n->integer != 0;
  } else if (const CFStringRecord* s = tb::cfStringRecord(value.get())) {
    std::string lower = s->utf8;
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    valid = lower == "true" || lower == "yes" || lower == "false" || lower == "no";
    result = lower == "true" || lower == "yes";
  }
  if (keyExistsAndHasValidFormat != nullptr) *keyExistsAndHasValidFormat = valid;
  return result;
}

void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID) {
  const std::optional<std::string> path = storePath(applicationID);
  const std::optional<std::string> name = keyText(key);
  // Values the store cannot hold are refused here, not at the next write,
  // where they would block every later write of the store.
  if (!path || !name || (value != nullptr && !tb::isEncodable(value))) return;
  PendingValues& held = pending();
  std::lock_guard<std::mutex> guard(held.lock);
  held.byStore[*path][*name] = tb::CFOwned(value != nullptr ? CFRetain(value) : nullptr);
}

Boolean CFPreferencesAppSynchronize(CFStringRef applicationID) {
  const std::optional<std::string> path = storePath(applicationID);
  if (!path) return false;
  PendingValues& held = pending();
  std::lock_guard<std::mutex> guard(held.lock);
  const auto store = held.byStore.find(*path);
  if (store == held.byStore.end()) return true;

  tb::PreferenceValues values = readStore(*path);
  for (const auto& [name, value] : store->second) {
    if (value)
      values[name] = tb::CFOwned(CFRetain(value.get()));
    else
      values.erase(name);
  }
  std::string text;
  if (!tb::encodePreferences(values, text) || !writeFileAtomically(*path, text)) return false;
  held.byStore.erase(store);
  return true;
}
