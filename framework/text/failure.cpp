#include "framework/text/failure.h"

void throwFailure(const char* text) {
    throw ktFailure(text);
}
