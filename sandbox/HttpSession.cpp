#include "sandbox/HttpSession.h"

#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>

#include "sandbox/Gzip.h"

namespace orvalen::sandbox {
namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using error_code = beast::error_code;

constexpr std::chrono::seconds kLinger(1);  // to drain a refused request before closing

// RFC 7231's IMF-fixdate, "Sun, 06 Nov 1994 08:49:37 GMT", in English
// whatever the locale.
std::string HttpDate(std::chrono::system_clock::time_point when) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[tm.tm_wday],
                tm.tm_mday, kMonths[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min,
                tm.tm_sec);
  return text;
}

const char* ReasonText(int status) {
  return http::obsolete_reason(static_cast<http::status>(status)).data();
}

class Session : public std::enable_shared_from_this<Session> {
 public:
  Session(net::ip::tcp::socket socket, HttpContext& context)
      : stream_(std::move(socket)), timer_(stream_.get_executor()), context_(context) {}
  ~Session() { --context_.connections; }

  void WaitForRequest();

 private:
  void ReadRequest();
  void OnRequest(error_code ec);
  void Dispatch();
  void Send();
  // Writes reply_ whole and logs it; `then` follows unless the write failed.
  void SendWhole(std::function<void()> then);
  void SendPiece(std::size_t n);
  void Finish(bool keep_alive);
  void Refuse(int status);
  void Linger();
  void Close();
  void Compress();
  void Reset();
  std::string LocalAddress() const;
  bool RequestLineTooLong() const;
  void Log(const std::string& outcome) const;

  template <class Then>
  void After(std::chrono::milliseconds delay, Then then) {
    if (delay.count() <= 0) return then();
    timer_.expires_after(delay);
    timer_.async_wait([self = shared_from_this(), then](error_code ec) mutable {
      if (!ec) then();
    });
  }

  beast::tcp_stream stream_;
  net::steady_timer timer_;
  HttpContext& context_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  HttpRequest request_;
  HttpReply reply_;
  bool keep_alive_ = false;
  bool accepts_gzip_ = false;
  http::response<http::string_body> whole_;
  http::response<http::empty_body> head_;
  std::optional<http::response_serializer<http::empty_body>> head_writer_;
  std::string piece_;
};

void Session::WaitForRequest() {
  parser_.emplace();
  parser_->header_limit(static_cast<std::uint32_t>(context_.limits.max_header));
  parser_->body_limit(context_.limits.max_body);
  if (buffer_.size() > 0) return ReadRequest();  // the next request came with the last
  // Idle: wait for the first byte of the next request.
  stream_.expires_after(context_.limits.idle);
  stream_.async_read_some(buffer_.prepare(4096),
                          [self = shared_from_this()](error_code ec, std::size_t n) {
                            if (ec) return self->Close();
                            self->buffer_.commit(n);
                            self->ReadRequest();
                          });
}

void Session::ReadRequest() {
  stream_.expires_after(context_.limits.request);  // the whole request, from its first byte
  http::async_read(
      stream_, buffer_, *parser_,
      [self = shared_from_this()](error_code ec, std::size_t) { self->OnRequest(ec); });
}

void Session::OnRequest(error_code ec) {
  if (ec == http::error::header_limit) return Refuse(RequestLineTooLong() ? 414 : 431);
  if (ec == http::error::body_limit) return Refuse(413);
  if (ec && ec.category() == http::make_error_code(http::error::header_limit).category() &&
      ec != http::error::end_of_stream && ec != http::error::partial_message) {
    return Refuse(400);
  }
  if (ec) return Close();  // the client went, or was too slow
  const auto& req = parser_->get();
  if (req.method_string().size() + req.target().size() + 10 > context_.limits.max_request_line) {
    return Refuse(414);
  }
  request_.method = std::string(req.method_string());
  request_.target = std::string(req.target());
  const std::size_t mark = request_.target.find('?');
  request_.path = request_.target.substr(0, mark);
  request_.query = mark == std::string::npos ? "" : request_.target.substr(mark + 1);
  request_.content_type = std::string(req[http::field::content_type]);
  request_.host = std::string(req[http::field::host]);
  request_.local = LocalAddress();
  accepts_gzip_ = AcceptsGzip(std::string(req[http::field::accept_encoding]));
  request_.body = std::move(parser_->get().body());  // the parser is replaced for the next request
  keep_alive_ = req.keep_alive();
  Dispatch();
}

void Session::Dispatch() {
  try {
    reply_ = context_.handler(request_);
  } catch (const std::exception&) {
    reply_ = HttpReply::Text(500, "text/plain", "internal error\n");
  }
  After(reply_.delay, [this] { Send(); });
}

void Session::Send() {
  if (!reply_.pieces) return SendWhole([this] { Finish(keep_alive_); });
  // Streamed: chunked, and the connection closes after it.
  keep_alive_ = false;
  head_ = {static_cast<http::status>(reply_.status), 11};
  head_.set(http::field::date, HttpDate(context_.clock()));
  head_.set(http::field::content_type, reply_.content_type);
  for (const auto& [name, value] : reply_.headers) head_.set(name, value);
  head_.chunked(true);
  head_.keep_alive(false);
  head_writer_.emplace(head_);
  stream_.expires_after(context_.limits.write);
  http::async_write_header(stream_, *head_writer_,
                           [self = shared_from_this()](error_code ec, std::size_t) {
                             if (ec) return self->Close();
                             self->SendPiece(0);
                           });
}

void Session::SendWhole(std::function<void()> then) {
  whole_ = {static_cast<http::status>(reply_.status), 11};
  whole_.set(http::field::date, HttpDate(context_.clock()));
  if (!reply_.content_type.empty()) whole_.set(http::field::content_type, reply_.content_type);
  for (const auto& [name, value] : reply_.headers) whole_.set(name, value);
  whole_.keep_alive(keep_alive_);
  Compress();
  whole_.body() = std::move(reply_.body);
  whole_.prepare_payload();
  stream_.expires_after(context_.limits.write);
  http::async_write(
      stream_, whole_,
      [self = shared_from_this(), then = std::move(then)](error_code ec, std::size_t) {
        self->Log(self->reply_.outcome);
        if (ec) return self->Close();
        then();
      });
}

void Session::SendPiece(std::size_t n) {
  std::optional<HttpPiece> piece = reply_.pieces(n);
  if (!piece) {
    stream_.expires_after(context_.limits.write);
    net::async_write(stream_, http::make_chunk_last(),
                     [self = shared_from_this()](error_code, std::size_t) {
                       self->Log(self->reply_.outcome);
                       self->Finish(false);
                     });
    return;
  }
  After(piece->delay, [this, n, piece = std::move(*piece)]() mutable {
    const bool cut = piece.cut || piece.reset, reset = piece.reset;
    piece_ = std::move(piece.data);
    const auto next = [self = shared_from_this(), n, cut, reset](error_code ec, std::size_t) {
      if (ec || cut) {
        self->Log(self->reply_.outcome);
        if (reset) self->Reset();
        return self->Close();
      }
      self->SendPiece(n + 1);
    };
    stream_.expires_after(context_.limits.write);
    if (piece_.empty()) return next({}, 0);
    net::async_write(stream_, http::make_chunk(net::buffer(piece_)), next);
  });
}

void Session::Finish(bool keep_alive) {
  if (keep_alive) return WaitForRequest();
  error_code ignored;
  stream_.socket().shutdown(net::ip::tcp::socket::shutdown_send, ignored);
  Close();
}

// Answers with `status` and closes after a moment of draining, so that the
// client sees the answer rather than a reset.
void Session::Refuse(int status) {
  const auto& req = parser_->get();
  request_.method = req.method_string().empty() ? "-" : std::string(req.method_string());
  request_.target = req.target().empty() ? "-" : std::string(req.target().substr(0, 200));
  reply_ = HttpReply::Text(status, "text/plain", std::string(ReasonText(status)) + "\n");
  keep_alive_ = false;
  SendWhole([this] { Linger(); });
}

// Reads (and drops) what the client still sends until it closes or the
// moment is over, then closes.
void Session::Linger() {
  error_code ignored;
  stream_.socket().shutdown(net::ip::tcp::socket::shutdown_send, ignored);
  buffer_.clear();
  stream_.expires_after(kLinger);
  struct Drain {
    std::shared_ptr<Session> session;
    void operator()(error_code ec, std::size_t) {
      if (ec) return session->Close();
      session->buffer_.clear();
      session->stream_.async_read_some(session->buffer_.prepare(4096), std::move(*this));
    }
  };
  Drain{shared_from_this()}({}, 0);
}

// The answer's body gzip-compressed, where the client takes it (or the
// reply says so whatever the client takes), and it is not a picture.
void Session::Compress() {
  const bool picture = reply_.content_type.starts_with("image/");
  if (reply_.body.empty() || picture || !(accepts_gzip_ || reply_.compress_unasked)) return;
  std::optional<std::string> packed = Gzip(reply_.body);
  if (!packed) return;
  reply_.outcome += (reply_.outcome.empty() ? std::to_string(reply_.status) : "") + " gzip " +
                    std::to_string(packed->size()) + "/" + std::to_string(reply_.body.size());
  reply_.body = std::move(*packed);
  whole_.set(http::field::content_encoding, "gzip");
  whole_.set(http::field::vary, "Accept-Encoding");
}

// An abortive close: the client sees the connection reset, not ended.
void Session::Reset() {
  error_code ignored;
  stream_.socket().set_option(net::socket_base::linger(true, 0), ignored);
}

std::string Session::LocalAddress() const {
  error_code ec;
  const auto endpoint = stream_.socket().local_endpoint(ec);
  if (ec) return {};
  const auto address = endpoint.address();
  const std::string host = address.is_v6() ? "[" + address.to_string() + "]" : address.to_string();
  return host + ":" + std::to_string(endpoint.port());
}

void Session::Close() {
  timer_.cancel();
  error_code ignored;
  stream_.socket().close(ignored);
}

// Over the header limit: the request line, unless the parser got past it.
bool Session::RequestLineTooLong() const {
  if (!parser_->get().target().empty()) return false;
  const auto data = buffer_.cdata();
  const std::string_view text(static_cast<const char*>(data.data()), data.size());
  const std::size_t end = text.find("\r\n");
  return (end == std::string_view::npos ? text.size() : end) > context_.limits.max_request_line;
}

void Session::Log(const std::string& outcome) const {
  if (!context_.log) return;
  const std::string said = outcome.empty() ? std::to_string(reply_.status) : outcome;
  context_.log(request_.method + " " + request_.target + " " + said);
}

}  // namespace

void StartHttpSession(net::ip::tcp::socket socket, HttpContext& context) {
  std::make_shared<Session>(std::move(socket), context)->WaitForRequest();
}

}  // namespace orvalen::sandbox
