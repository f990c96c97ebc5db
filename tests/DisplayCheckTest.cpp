// Whether a window can open, decided before Qt would abort: from the
// session's variables, the display's socket and Qt's platform plugins, here
// laid out in a folder of the test's own.
#include "app/start/DisplayCheck.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <fstream>

#include "support/TempDir.h"

namespace orvalen {
namespace {

class DisplayCheckTest : public ::testing::Test {
 protected:
  DisplayCheckTest() {
    std::filesystem::create_directory(plugins());
    env.platform_plugin_dirs = {plugins().string()};
    env.runtime_dir = dir.path().string();
  }
  ~DisplayCheckTest() override {
    if (socket_ >= 0) ::close(socket_);
  }
  std::filesystem::path plugins() const { return dir.path() / "platforms"; }
  void Plugin(const std::string& file) { std::ofstream(plugins() / file) << "ELF"; }
  // A compositor's listening socket, as Wayland clients find it.
  void Compositor(const std::string& name) {
    socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (dir.path() / name).string();
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(socket_, 1), 0);
  }

  test::TempDir dir;
  DisplayEnvironment env;
  int socket_ = -1;
};

TEST_F(DisplayCheckTest, AWaylandSessionWithoutTheWaylandPluginNamesThePackage) {
  Plugin("libqxcb.so");
  Compositor("wayland-0");
  env.session_type = "wayland";
  const std::string problem = DisplayProblem(env);
  EXPECT_NE(problem.find("install the package qt6-wayland"), std::string::npos) << problem;
  EXPECT_EQ(problem.find('\n'), std::string::npos);
  // With X11 beside it (Xwayland), Qt falls back to it.
  env.display = ":0";
  EXPECT_EQ(DisplayProblem(env), "");
  // Once installed, Wayland itself serves.
  env.display.clear();
  Plugin("libqwayland-generic.so");
  EXPECT_EQ(DisplayProblem(env), "");
}

TEST_F(DisplayCheckTest, TheWaylandSocketMustExistWhereTheSessionSaysItIs) {
  Plugin("libqwayland-egl.so");
  env.wayland_display = "wayland-1";
  EXPECT_NE(DisplayProblem(env).find(env.runtime_dir + "/wayland-1"), std::string::npos);
  // A plain file by that name is no compositor.
  std::ofstream(dir.path() / "wayland-1") << "";
  EXPECT_NE(DisplayProblem(env), "");
  std::filesystem::remove(dir.path() / "wayland-1");
  Compositor("wayland-1");
  EXPECT_EQ(DisplayProblem(env), "");
  // An absolute WAYLAND_DISPLAY is the socket itself.
  env.runtime_dir.clear();
  EXPECT_NE(DisplayProblem(env), "");
  env.wayland_display = (dir.path() / "wayland-1").string();
  EXPECT_EQ(DisplayProblem(env), "");
}

TEST_F(DisplayCheckTest, NoDisplayAtAllSaysSoAndWhatWaylandNeeds) {
  Plugin("libqxcb.so");
  const std::string problem = DisplayProblem(env);
  EXPECT_NE(problem.find("DISPLAY is not set"), std::string::npos) << problem;
  EXPECT_NE(problem.find("qt6-wayland"), std::string::npos) << problem;
  env.display = ":3";
  EXPECT_EQ(DisplayProblem(env), "");
  std::filesystem::remove(plugins() / "libqxcb.so");
  EXPECT_NE(DisplayProblem(env).find("libqt6gui6"), std::string::npos);
}

TEST_F(DisplayCheckTest, AChosenPlatformIsTheOnlyOneTried) {
  Plugin("libqxcb.so");
  Plugin("libqoffscreen.so");
  env.display = ":0";
  env.platform = "offscreen:configfile=/x.json";
  EXPECT_EQ(DisplayProblem(env), "");
  env.platform = "eglfs";
  EXPECT_NE(DisplayProblem(env).find("\"eglfs\""), std::string::npos);
  // Qt tries a list in its order: one that can start is enough.
  env.platform = "wayland;xcb";
  EXPECT_EQ(DisplayProblem(env), "");
  env.display.clear();
  EXPECT_NE(DisplayProblem(env).find("qt6-wayland"), std::string::npos);
}

}  // namespace
}  // namespace orvalen
