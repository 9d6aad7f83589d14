#include "options/options_listing.h"

#include <charconv>
#include <cstdio>

namespace grazefall {
namespace {

std::string VersionText(double version) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, version);
  return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("?");
}

void AddLine(std::string& out, std::string_view name, std::string_view value) {
  out.append(name);
  out.append(": ");
  out.append(value);
  out.push_back('\n');
}

void AddLine(std::string& out, std::string_view name, int32_t value) {
  AddLine(out, name, std::to_string(value));
}

}  // namespace

std::string EscapedText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

std::string OptionsListing(const ScenarioOptions& o) {
  std::string out;
  AddLine(out, "herdSize", o.herdSize);
  AddLine(out, "cowSize", o.cowSize);
  AddLine(out, "introPhase", o.introPhase);
  AddLine(out, "conspiracyMessages", o.conspiracyMessages);
  AddLine(out, "invertedPyramid", o.invertedPyramid);
  AddLine(out, "wrapCows", o.wrapCows);
  AddLine(out, "backgroundPath", EscapedText(BackgroundPathOf(o)));
  AddLine(out, "backgroundMode", o.backgroundMode);
  AddLine(out, "fallSpeed", o.fallSpeed);
  AddLine(out, "heading", o.heading);
  AddLine(out, "windPower", o.windPower);
  AddLine(out, "windDirection", o.windDirection);
  AddLine(out, "constantWind", o.constantWind);
  AddLine(out, "explodeCows", o.explodeCows);
  AddLine(out, "tearsOfBlood", o.tearsOfBlood);
  AddLine(out, "screenWidth", o.screenWidth);
  AddLine(out, "screenHeight", o.screenHeight);
  AddLine(out, "screenBitDepth", o.screenBitDepth);
  AddLine(out, "scenarioName", EscapedText(ScenarioNameOf(o)));
  AddLine(out, "formatVersion", VersionText(o.formatVersion));
  return out;
}

}  // namespace grazefall
