#pragma once
// The open tablet contexts of a host: the window each serves, whether it is
// enabled, and its newest packets by serial number.

#include <cstdint>
#include <map>

#include "host/host.h"
#include "host/types.h"

namespace host {

class TabletContexts {
  public:
    // Like a tablet driver's ring, only the newest packets are kept.
    static constexpr std::size_t kKeptPackets = 128;

    // `context` is a fresh handle from the host.
    void open(TabletContext context, Window window);
    void close(TabletContext context);
    void enable(TabletContext context, bool enable);
    // False when the context or the serial is not known (any more).
    bool packet(TabletContext context, WParam serial, TabletPacket& packet) const;

    // The window a context serves; none for an unknown context.
    Window window(TabletContext context) const;
    // The first enabled context that serves `window`; kNoTablet for none.
    TabletContext enabledFor(Window window) const;
    // Keeps a packet of an enabled context under a new serial number (never
    // 0); 0 when the context is unknown or disabled.
    WParam add(TabletContext context, const TabletPacket& packet);
    // A window that goes takes no more packets.
    void disableFor(Window window);

  private:
    struct Context {
        Window window{};
        bool enabled = true;
        std::map<WParam, TabletPacket> packets;
    };
    std::map<std::uintptr_t, Context> contexts_;
    WParam nextSerial_ = 1;
};

}  // namespace host
