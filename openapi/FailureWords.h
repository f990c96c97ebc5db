// FailureWords: the one table that turns why a call failed into words: in
// Chinese for the window, and in Chinese or English for orvalen-cli, by the
// language of its terminal. Each reason is one a user can act on or look
// up: which part of the way failed, never just "it failed".
//
//   const FailureWords words = DescribeFailure(component.LastError());
//   warnings.Show(words.zh);            // "服务器的证书已过期"
//   std::cerr << words.en << '\n';      // "the server's certificate has expired"
#pragma once

#include <string>

#include "openapi/FetchError.h"

namespace orvalen {

struct FailureWords {
  std::string zh;
  std::string en;
};

FailureWords DescribeFailure(const FetchError& error);

// An answer that came back whole but whose link is no web address, so it
// is never handed out (see WebAddress).
FailureWords DescribeLinkNotAWebAddress();

}  // namespace orvalen
