// The saver's real animation behind the driver seam.
#include <memory>

#include "saver/animation.h"
#include "saver/animation_state.h"
#include "saver/saver_proc.h"

namespace grazefall {
namespace {

class RealAnimationDriver : public AnimationDriver {
 public:
  explicit RealAnimationDriver(platform::Platform& system) : platform_(system) {}
  void newAnimation(const ScenarioOptions& options) override {
    // A failed start's objects go with it: each attempt builds its own.
    animation_ = NewAnimation(platform_, options);
  }
  int32_t start(platform::WindowHandle window) override {
    if (!animation_) return 1;
    return StartAnimation(*animation_, window);
  }
  uint32_t runFrame() override { return animation_ ? RunFrame(*animation_) : 0; }
  int32_t end() override { return animation_ ? EndAnimation(*animation_) : 0; }

 private:
  platform::Platform& platform_;
  std::unique_ptr<Animation> animation_;
};

}  // namespace

std::unique_ptr<AnimationDriver> MakeAnimationDriver(platform::Platform& system) {
  return std::make_unique<RealAnimationDriver>(system);
}

}  // namespace grazefall
