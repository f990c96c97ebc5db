// PrivateFiles: the files and folders one user's processes share among
// themselves (locks, a port number), opened so that nothing another user
// puts in their place can hang, redirect or mislead them.
//
//   if (std::string why = MakePrivateFolder(dir); !why.empty()) ...;
//   OpenedFile lock = OpenPrivateFile(dir + "/sandbox.lock", O_RDONLY, true);
//   if (!lock) log(lock.error);   // "cannot open ...: Permission denied"
//
// A file is opened without following a symbolic link and without blocking
// (a named pipe would otherwise hang the open), and then must be a regular
// file of this user's. A folder must be a real folder (not a link) of this
// user's that no one else may enter. Errors carry the system's own reason,
// read from errno before anything else can change it.
#pragma once

#include <string>

#include "platform/FileDescriptor.h"

namespace orvalen {

struct OpenedFile {
  FileDescriptor fd;
  std::string error;  // one line, when fd is not open
  explicit operator bool() const { return static_cast<bool>(fd); }
};

// `access` is O_RDONLY, O_WRONLY or O_RDWR, with O_TRUNC if wanted; with
// `create` a missing file is made with mode 0600.
OpenedFile OpenPrivateFile(const std::string& path, int access, bool create);

// Makes `path` (mode 0700) unless it exists, then checks it as
// CheckPrivateFolder does. Empty, or why it cannot be used.
std::string MakePrivateFolder(const std::string& path);

// Empty for a folder of this user's, not a symbolic link, that no one else
// can write to (and with `closed`, enter or read either); otherwise why not.
std::string CheckPrivateFolder(const std::string& path, bool closed);

}  // namespace orvalen
