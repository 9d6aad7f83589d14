#include "host/linux/render/frame_trace.h"

#include <string>

#include "saver/animation_state.h"

namespace grazefall {

namespace {

void AppendSprites(std::string& out, const char* key, const SpriteList* list) {
  out += ",\"";
  out += key;
  out += "\":[";
  bool first = true;
  for (const SpriteList::Node* node = list ? list->head() : nullptr; node != nullptr;
       node = node->next) {
    const Sprite* sprite = node->sprite;
    if (sprite == nullptr) continue;
    if (!first) out += ',';
    first = false;
    out += '[';
    out += std::to_string(sprite->x());
    out += ',';
    out += std::to_string(sprite->y());
    out += ',';
    out += std::to_string(sprite->frameWidth());
    out += ',';
    out += std::to_string(sprite->column());
    out += ',';
    out += std::to_string(sprite->row());
    out += ']';
  }
  out += ']';
}

void AppendField(std::string& out, const char* key, int64_t value) {
  out += '"';
  out += key;
  out += "\":";
  out += std::to_string(value);
}

}  // namespace

std::string FrameTraceLine(const Animation& animation, int64_t frame, bool loading,
                           uint32_t sleepMs) {
  const Scene& scene = animation.scene;
  std::string out = "{";
  AppendField(out, "frame", frame);
  out += loading ? ",\"loading\":true," : ",\"loading\":false,";
  AppendField(out, "introPhase", static_cast<int32_t>(animation.currentIntroPhase));
  out += ',';
  AppendField(out, "introStage", static_cast<int32_t>(animation.intro.introStage));
  out += ',';
  AppendField(out, "introTicks", animation.intro.introTicks);
  if (scene.ufo) {
    out +=
        ",\"ufo\":[" + std::to_string(scene.ufo->x()) + "," + std::to_string(scene.ufo->y()) + "]";
  } else {
    out += ",\"ufo\":null";
  }
  out += ",\"gust\":{";
  AppendField(out, "active", animation.gust.active);
  out += ',';
  AppendField(out, "framesLeft", animation.gust.framesLeft);
  out += ',';
  AppendField(out, "direction", animation.gust.direction);
  out += "},\"message\":{";
  AppendField(out, "index", animation.messages.messageIndex);
  out += ',';
  AppendField(out, "framesLeft", animation.messages.messageFramesLeft);
  out += ',';
  AppendField(out, "x", animation.messages.messageX);
  out += ',';
  AppendField(out, "y", animation.messages.messageY);
  out += "},";
  AppendField(out, "sleepMs", loading ? 0 : sleepMs);
  AppendSprites(out, "herd", scene.herd.get());
  AppendSprites(out, "explosions", scene.explosions.get());
  AppendSprites(out, "tears", scene.tears.get());
  out += '}';
  return out;
}

}  // namespace grazefall
