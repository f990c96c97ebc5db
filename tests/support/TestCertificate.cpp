#include "support/TestCertificate.h"

#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace orvalen::test {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct CertFree {
  void operator()(X509* c) const { X509_free(c); }
};
struct FileClose {
  void operator()(FILE* f) const { std::fclose(f); }
};

std::string TempPath(const char* suffix) {
  char name[] = "/tmp/orvalen-tls-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) throw std::runtime_error("mkstemp");
  close(fd);
  const std::string path = std::string(name) + suffix;
  std::rename(name, path.c_str());
  return path;
}

}  // namespace

TestCertificate::TestCertificate(bool for_loopback, bool expired)
    : cert_file_(TempPath(".crt")), key_file_(TempPath(".key")) {
  std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_EC_gen("P-256"));
  std::unique_ptr<X509, CertFree> cert(X509_new());
  if (!key || !cert) throw std::runtime_error("openssl");
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
  constexpr long kDay = 24 * 3600;
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), expired ? -2 * kDay : -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), expired ? -kDay : kDay);
  X509_set_pubkey(cert.get(), key.get());
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("orvalen test"), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert.get(), cert.get(), nullptr, nullptr, 0);
  const char* san = for_loopback ? "IP:127.0.0.1" : "DNS:elsewhere.invalid";
  for (const auto& [nid, value] : {std::pair{NID_subject_alt_name, san},
                                   std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    X509_add_ext(cert.get(), ext, -1);
    X509_EXTENSION_free(ext);
  }
  X509_sign(cert.get(), key.get(), EVP_sha256());
  std::unique_ptr<FILE, FileClose> c(std::fopen(cert_file_.c_str(), "w"));
  std::unique_ptr<FILE, FileClose> k(std::fopen(key_file_.c_str(), "w"));
  if (!c || !k || !PEM_write_X509(c.get(), cert.get()) ||
      !PEM_write_PrivateKey(k.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr)) {
    throw std::runtime_error("writing the test certificate");
  }
}

TestCertificate::~TestCertificate() {
  std::remove(cert_file_.c_str());
  std::remove(key_file_.c_str());
}

}  // namespace orvalen::test
