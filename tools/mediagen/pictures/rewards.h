#pragma once

#include <QImage>

namespace mediagen {

constexpr int kRewardCount = 76;

// Reward picture number 0 to 75 (900 × 800): a cheerful motif on a festive
// backdrop. Motif, colours and arrangement vary so that no two look alike.
QImage rewardPicture(int number);

}  // namespace mediagen
