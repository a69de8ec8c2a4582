#include "host/tablet_contexts.h"

namespace host {

void TabletContexts::open(TabletContext context, Window window) {
    contexts_[std::uintptr_t(context)].window = window;
}

void TabletContexts::close(TabletContext context) {
    contexts_.erase(std::uintptr_t(context));
}

void TabletContexts::enable(TabletContext context, bool enable) {
    auto it = contexts_.find(std::uintptr_t(context));
    if (it != contexts_.end()) it->second.enabled = enable;
}

bool TabletContexts::packet(TabletContext context, WParam serial, TabletPacket& packet) const {
    auto it = contexts_.find(std::uintptr_t(context));
    if (it == contexts_.end()) return false;
    auto p = it->second.packets.find(serial);
    if (p == it->second.packets.end()) return false;
    packet = p->second;
    return true;
}

Window TabletContexts::window(TabletContext context) const {
    auto it = contexts_.find(std::uintptr_t(context));
    return it == contexts_.end() ? kNoWindow : it->second.window;
}

TabletContext TabletContexts::enabledFor(Window window) const {
    for (const auto& [id, context] : contexts_)
        if (context.window == window && context.enabled) return TabletContext(id);
    return kNoTablet;
}

WParam TabletContexts::add(TabletContext context, const TabletPacket& packet) {
    auto it = contexts_.find(std::uintptr_t(context));
    if (it == contexts_.end() || !it->second.enabled) return 0;
    WParam serial = nextSerial_++;
    auto& packets = it->second.packets;
    packets[serial] = packet;
    while (packets.size() > kKeptPackets)
        packets.erase(packets.begin());
    return serial;
}

void TabletContexts::disableFor(Window window) {
    for (auto& [id, context] : contexts_)
        if (context.window == window) context.enabled = false;
}

}  // namespace host
