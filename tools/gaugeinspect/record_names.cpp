#include "tools/gaugeinspect/record_names.h"

#include "tools/gaugeinspect/gauge_model.h"
#include "tools/gaugeinspect/image_view.h"

namespace gaugeinspect {

std::string element_type_name(uint32_t type) {
  switch (type) {
    case kElementStatic:
      return "static";
    case kElementNeedle:
      return "needle";
    case kElementIcon:
      return "icon";
    default:
      return "type " + std::to_string(type);
  }
}

std::string mouse_kind_name(uint32_t kind) {
  switch (kind) {
    case kEndOfList:
      return "end_of_list";
    case kParent:
      return "parent";
    case kChild:
      return "child";
    case kEndOfParent:
      return "end_of_parent";
    default:
      return "kind " + std::to_string(kind);
  }
}

std::vector<std::string> image_flag_names(uint32_t flags) {
  struct Named {
    uint32_t bit;
    const char* name;
  };
  static constexpr Named kNames[] = {{frame::kImageTransparent, "transparent"},
                                     {frame::kImageSaveBackground, "save_background"},
                                     {frame::kImageNoDim, "no_dim"},
                                     {frame::kImageLightingHint, "lighting_hint"},
                                     {kFlagHidden, "hidden"}};
  std::vector<std::string> out;
  uint32_t rest = flags;
  for (const Named& n : kNames) {
    if ((flags & n.bit) != 0) out.push_back(n.name);
    rest &= ~n.bit;
  }
  for (uint32_t bit = 1; bit != 0; bit <<= 1) {
    if ((rest & bit) != 0) out.push_back(hex32(bit));
  }
  return out;
}

std::string machine_name(uint16_t machine) {
  if (machine == formats::kMachineI386) return "i386";
  return hex32(machine);
}

}  // namespace gaugeinspect
