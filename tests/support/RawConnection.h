// RawConnection: a plain TCP connection to 127.0.0.1 for tests that must
// send what no HTTP client would (half a request, oversized headers, a byte
// at a time) and see exactly what comes back.
//
//   RawConnection c(port);
//   c.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
//   int status = c.ReadStatus(std::chrono::seconds(5));  // 0 if none came
//   bool gone = c.ClosedWithin(std::chrono::seconds(5));
#pragma once

#include <chrono>
#include <string>

namespace orvalen::test {

class RawConnection {
 public:
  explicit RawConnection(int port);
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;
  RawConnection(RawConnection&& other) noexcept;

  // False once the peer has closed or reset the connection.
  bool Send(const std::string& bytes);
  // The status of the next answer's status line, 0 if none came in time.
  int ReadStatus(std::chrono::milliseconds limit);
  // Reads until the peer closes (true) or `limit` passes (false).
  bool ClosedWithin(std::chrono::milliseconds limit);
  const std::string& received() const { return received_; }

 private:
  // Reads what arrives within `limit`; false at the end of the stream.
  bool ReadSome(std::chrono::milliseconds limit);

  int fd_ = -1;
  std::string received_;
};

// Lets this process hold `descriptors` open files, if the hard limit allows.
void AllowDescriptors(unsigned long descriptors);

}  // namespace orvalen::test
