// CannedTransport: an HttpTransport that answers every GET with the bytes it
// was given, so benchmarks and fuzz targets reach the parsers without a
// network.
#pragma once

#include <string>

#include "platform/HttpTransport.h"

namespace orvalen::test {

class CannedTransport : public HttpTransport {
 public:
  explicit CannedTransport(std::string body) : body_(std::move(body)) {}
  HttpResult Get(const std::string&) override {
    HttpResult answer;
    answer.status = 200;
    answer.body = body_;
    return answer;
  }

 private:
  std::string body_;
};

}  // namespace orvalen::test
