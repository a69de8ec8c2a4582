#include "host/host.h"

#include <cassert>

namespace host {

namespace {
Host* theHost = nullptr;
}

Host& instance() {
    assert(theHost != nullptr && "the program sets the host before using it");
    return *theHost;
}

void setInstance(Host* host) {
    theHost = host;
}

bool hasInstance() {
    return theHost != nullptr;
}

}  // namespace host
