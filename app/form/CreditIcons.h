// The 20 seller credit grades as 120 x 16 pictures, drawn from the left
// edge: 1 to 5 red hearts, blue diamonds, blue crowns, golden crowns.
#pragma once

#include <QPixmap>

namespace orvalen {

QPixmap CreditPixmap(int grade);  // grade 0 (one heart) .. 19 (five golden crowns)

}  // namespace orvalen
