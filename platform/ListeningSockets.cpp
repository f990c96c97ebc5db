#include "platform/ListeningSockets.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace orvalen {
namespace {

constexpr const char* kListen = "0A";  // TCP_LISTEN in the tables' "st" column

// "  0: 0100007F:230A 00000000:0000 0A 00000000:00000000 00:00000000 00000000  1000 ..."
// (sl, local address:port in hex, remote, st, queues, timer, retransmits, uid).
void ReadTable(const std::string& file, int port, std::vector<uid_t>& owners) {
  std::ifstream table(file);
  std::string line;
  std::getline(table, line);  // the heading
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state, queues, timer, retransmits;
    long uid = -1;
    fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid;
    const auto colon = local.rfind(':');
    if (!fields || state != kListen || colon == std::string::npos) continue;
    int listening = -1;
    const char* digits = local.data() + colon + 1;
    std::from_chars(digits, local.data() + local.size(), listening, 16);
    if (listening == port) owners.push_back(static_cast<uid_t>(uid));
  }
}

}  // namespace

std::vector<uid_t> ListenerOwners(int port, const std::string& proc_net) {
  std::vector<uid_t> owners;
  for (const char* table : {"/tcp", "/tcp6"}) ReadTable(proc_net + table, port, owners);
  return owners;
}

bool ListenedOnByThisUser(int port, const std::string& proc_net) {
  const std::vector<uid_t> owners = ListenerOwners(port, proc_net);
  const uid_t me = ::geteuid();
  return !owners.empty() &&
         std::all_of(owners.begin(), owners.end(), [me](uid_t owner) { return owner == me; });
}

}  // namespace orvalen
