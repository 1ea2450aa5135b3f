#pragma once

#include <QImage>

namespace mediagen {

// Reward picture number 0 to qv::kRewardCount - 1 (900 × 800): a cheerful motif on a festive
// backdrop. Motif, colours and arrangement vary so that no two look alike.
QImage rewardPicture(int number);

}  // namespace mediagen
