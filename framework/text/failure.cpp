#include "framework/text/failure.h"

namespace penwick {

void throwFailure(const char* text) {
    throw ktFailure(text);
}

}  // namespace penwick
