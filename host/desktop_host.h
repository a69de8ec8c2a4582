#pragma once
// The host the program runs on at a desktop: the Qt backend (X11 or Wayland).
// Declared here, made in host/qt/, so that the entry point sees no toolkit.

#include <memory>

#include "host/host.h"

namespace host {

// The desktop's host; it makes the toolkit's application object from the
// command line (which the toolkit may read its own options from).
std::unique_ptr<Host> makeDesktopHost(int argc, char** argv);

}  // namespace host
