#include "platform/windowing.h"

#include "platform/messages.h"

namespace grazefall::platform {

int32_t RemoveQueuedTimerMessages(std::deque<Message>& queue, WindowHandle window, int32_t limit) {
  int32_t removed = 0;
  for (auto it = queue.begin(); it != queue.end() && removed < limit;) {
    if (it->window == window && it->message == kWmTimer) {
      it = queue.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

}  // namespace grazefall::platform
