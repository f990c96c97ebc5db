#include "platform/PrivateFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace orvalen {
namespace {

std::string Failed(const std::string& what, const std::string& path, int error) {
  return "cannot " + what + " " + path + ": " + std::strerror(error);
}

}  // namespace

OpenedFile OpenPrivateFile(const std::string& path, int access, bool create) {
  OpenedFile opened;
  const int flags = access | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0);
  opened.fd = FileDescriptor(::open(path.c_str(), flags, 0600));
  if (!opened.fd) {
    opened.error = Failed("open", path, errno);
    return opened;
  }
  struct stat st {};
  if (::fstat(opened.fd.get(), &st) != 0) {
    opened.error = Failed("examine", path, errno);
  } else if (!S_ISREG(st.st_mode)) {
    opened.error = path + " is not a regular file";
  } else if (st.st_uid != ::geteuid()) {
    opened.error = path + " belongs to another user";
  }
  if (!opened.error.empty()) opened.fd.Reset();
  return opened;
}

std::string MakePrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return Failed("make", path, errno);
  return CheckPrivateFolder(path, true);
}

std::string CheckPrivateFolder(const std::string& path, bool closed) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return Failed("examine", path, errno);
  if (!S_ISDIR(st.st_mode)) return path + " is not a folder";
  if (st.st_uid != ::geteuid()) return path + " belongs to another user";
  const mode_t others = closed ? (S_IRWXG | S_IRWXO) : (S_IWGRP | S_IWOTH);
  if ((st.st_mode & others) != 0) return path + " is open to other users";
  return {};
}

}  // namespace orvalen
