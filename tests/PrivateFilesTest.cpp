// The files one user's processes share, opened so that what another user
// puts there cannot hang or redirect them; and who listens on a port, read
// from socket tables laid out like the kernel's.
#include "platform/PrivateFiles.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/ListeningSockets.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

namespace orvalen {
namespace {

namespace fs = std::filesystem;

TEST(PrivateFilesTest, OnlyARegularFileOfTheUsersOwnIsOpened) {
  test::TempDir dir;
  const std::string file = (dir.path() / "sandbox.lock").string();
  OpenedFile made = OpenPrivateFile(file, O_RDONLY, true);
  ASSERT_TRUE(made) << made.error;
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(OpenPrivateFile((dir.path() / "missing").string(), O_RDONLY, false));

  // A named pipe would block an open for reading until a writer came.
  const std::string pipe = (dir.path() / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const OpenedFile fifo = OpenPrivateFile(pipe, O_RDONLY, true);
  EXPECT_FALSE(fifo);
  EXPECT_EQ(fifo.error, pipe + " is not a regular file");

  // A link is not followed, even to a file of the user's own.
  const std::string link = (dir.path() / "link").string();
  fs::create_symlink(file, link);
  const OpenedFile linked = OpenPrivateFile(link, O_RDONLY, true);
  EXPECT_FALSE(linked);
  EXPECT_EQ(linked.error, "cannot open " + link + ": " + std::strerror(ELOOP));

  // Another user's file (only root can make one here).
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    EXPECT_EQ(OpenPrivateFile(file, O_RDONLY, false).error, file + " belongs to another user");
  }
}

TEST(PrivateFilesTest, AFolderMustBeTheUsersOwnAndClosedToOthers) {
  test::TempDir dir;
  const std::string folder = (dir.path() / "orvalen").string();
  EXPECT_EQ(MakePrivateFolder(folder), "");
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
  EXPECT_EQ(MakePrivateFolder(folder), "");  // and again, as it is
  fs::permissions(folder, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(CheckPrivateFolder(folder, false), "");
  EXPECT_EQ(MakePrivateFolder(folder), folder + " is open to other users");
  EXPECT_EQ(
      MakePrivateFolder((dir.path() / "no" / "parent").string()),
      "cannot make " + (dir.path() / "no" / "parent").string() + ": " + std::strerror(ENOENT));
  std::ofstream(dir.path() / "file") << "";
  EXPECT_EQ(MakePrivateFolder((dir.path() / "file").string()),
            (dir.path() / "file").string() + " is not a folder");
}

// Two listeners on port 8970 (0x230A): one on 127.0.0.1 in tcp, one on ::
// in tcp6; a connection from 8970 elsewhere, not listening, is not counted.
TEST(ListeningSocketsTest, EveryListenerOnThePortCountsWithItsOwner) {
  test::TempDir proc;
  const std::string heading =
      "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout "
      "inode\n";
  const auto table = [&](const char* name, const std::string& rows) {
    std::ofstream(proc.path() / name) << heading << rows;
  };
  const std::string me = std::to_string(::geteuid());
  table("tcp",
        "   0: 0100007F:230A 00000000:0000 0A 00000000:00000000 00:00000000 00000000  " + me +
            "        0 1 1 0000000000000000 100 0 0 10 0\n"
            "   1: 0100007F:230A 0100007F:9C40 01 00000000:00000000 00:00000000 00000000  4242 "
            "       0 2 1 0000000000000000 20 4 30 10 -1\n"
            "   2: 00000000:1F90 00000000:0000 0A 00000000:00000000 00:00000000 00000000  4243 "
            "       0 3 1 0000000000000000 100 0 0 10 0\n");
  table("tcp6",
        "   0: 00000000000000000000000000000000:230A 00000000000000000000000000000000:0000 0A "
        "00000000:00000000 00:00000000 00000000  " +
            me + "        0 4 1 0000000000000000 100 0 0 10 0\n");
  EXPECT_EQ(ListenerOwners(8970, proc.path()), (std::vector<uid_t>{::geteuid(), ::geteuid()}));
  EXPECT_TRUE(ListenedOnByThisUser(8970, proc.path()));
  EXPECT_EQ(ListenerOwners(8080, proc.path()), std::vector<uid_t>{4243});
  EXPECT_FALSE(ListenedOnByThisUser(8080, proc.path()));
  EXPECT_FALSE(ListenedOnByThisUser(9999, proc.path()));
  // Another user's socket beside the user's own: not the user's alone.
  table("tcp6",
        "   0: 00000000000000000000000000000000:230A 00000000000000000000000000000000:0000 0A "
        "00000000:00000000 00:00000000 00000000  4244        0 4 1 0000000000000000 100 0 0 "
        "10 0\n");
  EXPECT_FALSE(ListenedOnByThisUser(8970, proc.path()));
  EXPECT_TRUE(ListenerOwners(8970, (proc.path() / "none").string()).empty());
  // The machine's own tables: this process's listener is found.
  test::TestServer server;
  EXPECT_TRUE(ListenedOnByThisUser(server.port()));
}

}  // namespace
}  // namespace orvalen
