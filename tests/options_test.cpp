#include <gtest/gtest.h>

#include "feed/server_address.h"
#include "shell/options.h"
#include "temp_folder.h"

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

// Which source a run uses: an option beats both variables, and two sources
// on one level are a mistake rather than a silent choice.
TEST(Parseoptions, SourceFromOptionOrEnvironment) {
  const char* server = "10.0.0.1:82";
  const char* url = "https://status.example.org/feed?x=1";
  const auto source = [](const OptionsResult& r) {
    EXPECT_EQ(r.error, "");
    return r.options.source ? r.options.source->url : std::string("none");
  };
  EXPECT_EQ(source(parseoptions({"--server", "127.0.0.1:81"}, server, url)), "http://127.0.0.1:81/whazzup.txt");
  EXPECT_EQ(source(parseoptions({"--url=http://h:8/a/b"}, server, url)), "http://h:8/a/b");
  EXPECT_EQ(source(parseoptions({}, server, nullptr)), "http://10.0.0.1:82/whazzup.txt");
  EXPECT_EQ(source(parseoptions({}, "", url)), url);
  EXPECT_EQ(source(parseoptions({}, nullptr, nullptr)), "none");
  EXPECT_EQ(parseoptions({}, server, nullptr).options.source->kind, FeedSource::Kind::Server);
  EXPECT_EQ(parseoptions({}, nullptr, url).options.source->kind, FeedSource::Kind::Url);
  EXPECT_NE(parseoptions({}, server, url).error, "");
  EXPECT_NE(parseoptions({"--server", "h:1", "--url", url}, nullptr, nullptr).error, "");

  OptionsResult r = parseoptions({"--folder=/tmp/x"}, nullptr);
  EXPECT_FALSE(r.options.source);
  EXPECT_EQ(r.options.folder, "/tmp/x");
  EXPECT_FALSE(r.options.quiet);
  EXPECT_TRUE(parseoptions({"--quiet", "--folder=/tmp/x"}, nullptr).options.quiet);
}

TEST(Parseoptions, UrlAndCaFileMistakesStopTheStart) {
  TempFolder folder;
  const std::string ca = folder.write("ca.pem", "-----BEGIN CERTIFICATE-----\n");
  const OptionsResult good = parseoptions({"--url", "https://127.0.0.1:8443/s", "--cacert", ca}, nullptr);
  ASSERT_EQ(good.error, "");
  EXPECT_EQ(good.options.source->cafile, ca);
  EXPECT_EQ(parseoptions({"--cacert", ca}, nullptr, "https://h/s").options.source->cafile, ca);

  const std::string empty = folder.write("empty.pem", "");
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--url", "ftp://h/whazzup.txt"},
        {"--url", "status.example.org/whazzup.txt"},
        {"--url", "https://a b/"},
        {"--url", "http://h:99999/"},
        {"--url"},
        {"--url", "https://h/s", "--cacert", folder.file("missing.pem")},
        {"--url", "https://h/s", "--cacert", folder.path()},
        {"--url", "https://h/s", "--cacert", empty},
        {"--server", "h:1", "--cacert", ca},
        {"--cacert", ca}}) {
    EXPECT_NE(parseoptions(bad, nullptr).error, "") << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
  }
  EXPECT_NE(parseoptions({}, nullptr, "gopher://h/").error, "");
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
  for (const char* bad : {"", "EDD", "EDDF,EDDMX", "ED-F"}) {
    EXPECT_NE(parseoptions({"--home", bad}, nullptr).error, "") << bad;
  }
  EXPECT_EQ(parseoptions({"--home=eddf,EDDM"}, nullptr).options.homeairports,
            (std::vector<std::string>{"EDDF", "EDDM"}));
}

}  // namespace
}  // namespace netglobe
