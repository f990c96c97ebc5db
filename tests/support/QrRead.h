// QrRead: the QR codes a real reader (zbar) finds in a picture, as the
// bytes they hold: binary mode, so that zbar guesses no character set and
// a link's UTF-8 comes back exactly as it was encoded.
//
//   const std::vector<std::string> found = test::ReadQrCodes(screen_grab);
#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace orvalen::test {

std::vector<std::string> ReadQrCodes(const QImage& picture);

}  // namespace orvalen::test
