// TestCertificate: a self-signed certificate for 127.0.0.1, made when the
// test runs and written to temporary PEM files, for https test servers.
#pragma once

#include <string>

namespace orvalen::test {

class TestCertificate {
 public:
  // Valid for the address 127.0.0.1 when `for_loopback`, else for another
  // host name only; `expired`: its dates ended yesterday.
  explicit TestCertificate(bool for_loopback = true, bool expired = false);
  ~TestCertificate();

  const std::string& cert_file() const { return cert_file_; }
  const std::string& key_file() const { return key_file_; }

 private:
  std::string cert_file_, key_file_;
};

}  // namespace orvalen::test
