#include "host/host_state.h"

#include "saver/saver_proc.h"

namespace grazefall::host {

HostState hostState;

void ResetHostState() {
  hostState = HostState{};
  AnimationDriver* animation = saverLifecycle.animation;
  saverLifecycle = SaverLifecycle{};
  saverLifecycle.animation = animation;
}

}  // namespace grazefall::host
