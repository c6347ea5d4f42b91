#include "output/sprite_json.h"

#include <nlohmann/json.hpp>

#include <set>

#include "store/document_store.h"
#include "store/no_throw.h"
#include "store/utf8_text.h"

namespace piconel {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kApplicationName =
    "\xE3\x83\x94\xE3\x82\xB3\xE3\x83\x8D\xE3\x83\xAB";  // ピコネル

Json size_of(std::int32_t w, std::int32_t h) {
  Json size = Json::object();
  size["w"] = w;
  size["h"] = h;
  return size;
}

Json rectangle(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  Json rect = Json::object();
  rect["x"] = x;
  rect["y"] = y;
  rect["w"] = w;
  rect["h"] = h;
  return rect;
}

Json frame_of(const SpriteFrame& frame) {
  const CoordinateRow& row = frame.row;
  Json out = Json::object();
  out["frame"] = rectangle(row.x, row.y, row.width, row.height);
  // The sheet holds every image whole and upright.
  out["rotated"] = false;
  out["trimmed"] = false;
  out["spriteSourceSize"] = rectangle(0, 0, row.width, row.height);
  out["sourceSize"] = size_of(row.width, row.height);
  out["index"] = frame.index;
  return out;
}

std::string unique_name(std::string name, int index, std::set<std::string>& used) {
  while (used.count(name) != 0) {
    name += '#';
    name += std::to_string(index);
  }
  used.insert(name);
  return name;
}

}  // namespace

std::string application_version_text() {
  return std::to_string(kApplicationVersion >> 24) + "." +
         std::to_string((kApplicationVersion >> 16) & 0xFF) + "." +
         std::to_string(kApplicationVersion & 0xFFFF);
}

std::optional<std::string> encode_sprite_json(std::span<const SpriteFrame> frames,
                                              const SpriteSheetMeta& meta) {
  std::string text;
  bool converted = true;
  const bool ok = allocation_succeeds([&] {
    Json root = Json::object();
    Json& frame_list = root["frames"] = Json::object();
    std::set<std::string> used;
    for (const SpriteFrame& frame : frames) {
      const std::optional<std::string> name = cp932_to_utf8(frame.name);
      if (!name) {
        converted = false;
        return;
      }
      frame_list[unique_name(*name, frame.index, used)] = frame_of(frame);
    }
    const std::optional<std::string> image = cp932_to_utf8(meta.image);
    if (!image) {
      converted = false;
      return;
    }
    Json& info = root["meta"] = Json::object();
    info["app"] = kApplicationName;
    info["version"] = application_version_text();
    info["image"] = *image;
    // What the engine should make of the pixels once loaded.
    info["format"] = meta.transparent ? "RGBA8888" : "RGB888";
    info["size"] = size_of(meta.width, meta.height);
    info["scale"] = "1";
    // Every text is valid UTF-8 already; replace only keeps dump from throwing.
    text = root.dump(2, ' ', false, Json::error_handler_t::replace);
    text += '\n';
  });
  if (!ok || !converted) {
    return std::nullopt;
  }
  return text;
}

}  // namespace piconel
