// JSON keys of the manifest records.
#include "manifest/menu_manifest.h"

namespace vdl {

std::string_view jsonKey(MenuLabels::CodingKeys key) {
  using K = MenuLabels::CodingKeys;
  switch (key) {
    case K::convertTo:
      return "convertTo";
    case K::compress:
      return "compress";
    case K::open:
      return "open";
    case K::balanced:
      return "balanced";
    case K::smallest:
      return "smallest";
    case K::crop:
      return "crop";
    case K::trim:
      return "trim";
    case K::adjust:
      return "adjust";
    case K::needs:
      return "needs";
  }
  return {};
}

std::string_view jsonKey(MenuManifest::CodingKeys key) {
  using K = MenuManifest::CodingKeys;
  switch (key) {
    case K::version:
      return "version";
    case K::labels:
      return "labels";
    case K::popular:
      return "popular";
    case K::targets:
      return "targets";
    case K::compress:
      return "compress";
    case K::crop:
      return "crop";
    case K::trim:
      return "trim";
    case K::enabled:
      return "enabled";
    case K::compressEnabled:
      return "compressEnabled";
  }
  return {};
}

}  // namespace vdl
