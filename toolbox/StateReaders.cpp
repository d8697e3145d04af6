// The registry of the program's state readers (internal/StateReaders.h).
#include "internal/StateReaders.h"

#include <map>

namespace tb {

namespace {

std::map<std::string, Inspector>& inspectors() {
  static std::map<std::string, Inspector> readers;
  return readers;
}

}  // namespace

void setInspector(const std::string& name, Inspector reader) { inspectors()[name] = std::move(reader); }

bool hasInspector(const std::string& name) { return inspectors().count(name) != 0; }

std::optional<std::string> inspect(const std::string& name, WindowRef window, const std::vector<double>& args) {
  auto it = inspectors().find(name);
  if (it == inspectors().end() || !it->second) return std::nullopt;
  return it->second(window, args);
}

}  // namespace tb
