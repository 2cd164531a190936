#include <gtest/gtest.h>

#include "feed/server_address.h"
#include "shell/options.h"

namespace netglobe {
namespace {

TEST(Parseserver, HostsAndPorts) {
  auto a = parseserver("127.0.0.1:8080");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->statusurl(), "http://127.0.0.1:8080/whazzup.txt");
  a = parseserver("status.example.org");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->port, 80);
  a = parseserver("[::1]:9000");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->statusurl(), "http://[::1]:9000/whazzup.txt");
  for (const char* bad : {"", ":80", "host:", "host:0", "host:65536", "host:12x", "a b:80",
                          "http://host", "host/path", "[::1", "::1", "[]", "[a b]:80", "[x/y]",
                          "[u@h]"}) {
    EXPECT_FALSE(parseserver(bad)) << bad;
  }
}

TEST(Parseoptions, ServerFromOptionOrEnvironment) {
  OptionsResult r = parseoptions({"--server", "127.0.0.1:81"}, "10.0.0.1:82");
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.server->port, 81);
  r = parseoptions({}, "10.0.0.1:82");
  EXPECT_EQ(r.options.server->port, 82);
  r = parseoptions({"--folder=/tmp/x"}, nullptr);
  EXPECT_FALSE(r.options.server);
  EXPECT_EQ(r.options.folder, "/tmp/x");
}

TEST(Parseoptions, MistakesAreReported) {
  EXPECT_NE(parseoptions({"--server"}, nullptr).error, "");
  EXPECT_NE(parseoptions({"--server", "bad host"}, nullptr).error, "");
  EXPECT_NE(parseoptions({}, "not a host!").error, "");
  EXPECT_NE(parseoptions({"--frobnicate"}, nullptr).error, "");
  EXPECT_TRUE(parseoptions({"--help"}, nullptr).options.help);
  EXPECT_TRUE(parseoptions({"--version"}, nullptr).options.version);
  for (const char* bad : {"0", "-5", "1.5", "30s", ""}) {
    EXPECT_NE(parseoptions({"--refresh", bad}, nullptr).error, "") << bad;
  }
  EXPECT_EQ(parseoptions({"--refresh=1"}, nullptr).options.refreshseconds, 1);
  EXPECT_EQ(parseoptions({}, nullptr).options.refreshseconds, 30);
}

}  // namespace
}  // namespace netglobe
