#include "app/start/RuntimeDir.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/PrivateFiles.h"

namespace orvalen {

RuntimeDir RuntimeDir::Choose(const char* xdg_runtime_dir, const std::string& temp_dir,
                              const Warn& warn) {
  if (xdg_runtime_dir != nullptr && xdg_runtime_dir[0] == '/') {
    // The session's folder may be shared read-only; it must not be writable by others.
    std::string why = CheckPrivateFolder(xdg_runtime_dir, false);
    const std::string dir = std::string(xdg_runtime_dir) + "/orvalen";
    if (why.empty()) why = MakePrivateFolder(dir);
    if (why.empty()) return RuntimeDir(dir, false);
    warn("XDG_RUNTIME_DIR not used: " + why);
  }
  const std::string shared = temp_dir + "/orvalen-" + std::to_string(::geteuid());
  const std::string why = MakePrivateFolder(shared);
  if (why.empty()) return RuntimeDir(shared, false);
  warn(why + "; this window shares no sandbox with the user's others");
  std::string pattern = shared + "-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    warn("cannot make a folder in " + temp_dir + ": " + std::strerror(errno));
    return RuntimeDir({}, false);
  }
  return RuntimeDir(pattern, true);
}

RuntimeDir RuntimeDir::ForThisUser(const Warn& warn) {
  std::error_code error;
  std::string temp = std::filesystem::temp_directory_path(error).string();
  if (temp.empty()) temp = "/tmp";
  return Choose(::getenv("XDG_RUNTIME_DIR"), temp, warn);
}

RuntimeDir::RuntimeDir(RuntimeDir&& other) noexcept
    : path_(std::move(other.path_)), own_(std::exchange(other.own_, false)) {}

RuntimeDir::~RuntimeDir() {
  if (!own_) return;
  // A sandbox started from here keeps its lock file open: removing the
  // name does not end its watch.
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace orvalen
