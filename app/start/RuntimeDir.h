// RuntimeDir: the folder where one user's windows keep what they share
// (the sandbox's locks and port), which no other user can write to.
//
//   const RuntimeDir dir = RuntimeDir::Choose(getenv("XDG_RUNTIME_DIR"), temp_dir, warn);
//   dir.path()    // "$XDG_RUNTIME_DIR/orvalen"
//
// In order: "orvalen" in the user's runtime folder ($XDG_RUNTIME_DIR, which
// the login session makes private to the user); where that is missing or not
// the user's own, "orvalen-UID" in the temporary folder, made or checked as
// a private folder of this user's; and where someone else has taken that
// name, a fresh folder of this process alone (shared with no other window),
// removed with the object. Every step not taken is said through `warn`.
#pragma once

#include <functional>
#include <string>

namespace orvalen {

class RuntimeDir {
 public:
  using Warn = std::function<void(const std::string& line)>;

  static RuntimeDir Choose(const char* xdg_runtime_dir, const std::string& temp_dir,
                           const Warn& warn);
  // The environment's runtime folder and the system's temporary folder.
  static RuntimeDir ForThisUser(const Warn& warn);

  RuntimeDir(RuntimeDir&& other) noexcept;
  RuntimeDir& operator=(RuntimeDir&&) = delete;
  RuntimeDir(const RuntimeDir&) = delete;
  RuntimeDir& operator=(const RuntimeDir&) = delete;
  ~RuntimeDir();

  // Empty when not even a folder of the process's own could be made.
  const std::string& path() const { return path_; }
  // False for a folder of this process alone.
  bool shared() const { return !own_; }

 private:
  RuntimeDir(std::string path, bool own) : path_(std::move(path)), own_(own) {}

  std::string path_;
  bool own_ = false;
};

}  // namespace orvalen
