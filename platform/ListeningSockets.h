// ListeningSockets: who listens on a TCP port of this machine, from the
// kernel's socket tables (/proc/net/tcp and tcp6), so that a program can
// tell its own user's server from another user's before trusting it.
//
//   const std::vector<uid_t> owners = ListenerOwners(8970);
//   bool mine = !owners.empty() && every owner == geteuid();
//
// Every listening socket on the port counts, whatever address it is bound
// to (127.0.0.1, 0.0.0.0, ::1, ::). Without the tables (no /proc), the
// list is empty.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orvalen {

// The owners of the sockets listening on `port`, one per socket; the
// tables are read from `proc_net` (a folder holding files named tcp and tcp6).
std::vector<uid_t> ListenerOwners(int port, const std::string& proc_net = "/proc/net");

// True when something listens on `port` and all of it is this user's.
bool ListenedOnByThisUser(int port, const std::string& proc_net = "/proc/net");

}  // namespace orvalen
