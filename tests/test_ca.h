#pragma once

#include <cstdlib>
#include <string>

#include "loopback_server.h"
#include "temp_folder.h"

namespace netglobe {

// A CA made for this test run alone (make-test-ca.sh, with openssl): ca.pem
// signed the certificate of 127.0.0.1 that tls() serves; other.pem signed
// nothing.
class TestCa {
 public:
  TestCa() {
    made_ = std::system(("sh " NETGLOBE_TEST_SCRIPTS "/make-test-ca.sh " + folder_.path()).c_str()) == 0;
    tls_ = {folder_.file("server.pem"), folder_.file("server.key")};
  }
  bool made() const { return made_; }
  std::string file(const std::string& name) const { return folder_.file(name); }
  const LoopbackServer::Tls* tls() const { return &tls_; }

 private:
  TempFolder folder_;
  bool made_ = false;
  LoopbackServer::Tls tls_;
};

}  // namespace netglobe
