// Opens the next problem of the run: draws it, records it, shows it, moves the answer box.
#pragma once

#include "drill/variant.h"

namespace platform {
class Image;
}

namespace drill {

// op is the generator's combining operation: products for KakeZan, sums for TasiZan.
void OpenProblem(Operation op, platform::Image& answerBox);

}  // namespace drill
