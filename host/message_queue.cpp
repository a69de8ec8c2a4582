#include "host/message_queue.h"

namespace host {

bool MessageFilter::matches(const Message& message) const {
    if (window != kNoWindow && message.window != window) return false;
    if (first == 0 && last == 0) return true;
    return message.message >= first && message.message <= last;
}

}  // namespace host
