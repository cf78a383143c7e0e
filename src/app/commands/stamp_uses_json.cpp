#include "app/commands/stamp_uses_json.h"

#include <string>

namespace orvella::cli {

void ReadStampUses(JsonFields& request, std::array<settings::StampUse, 3>& stamps) {
  const nlohmann::json* list = request.Find("stamps");
  if (!list) return;
  if (!list->is_array() || list->size() > stamps.size())
    throw request.Error("stamps", "must be a list of at most three stamps");
  for (size_t i = 0; i < list->size(); ++i) {
    JsonFields stamp((*list)[i], "request: stamp " + std::to_string(i));
    stamp.Text("name", stamps[i].name);
    stamp.Int("halftone", stamps[i].halftone);
    stamp.RejectUnknown();
    if (stamps[i].halftone < 0 || stamps[i].halftone > 3) throw stamp.Error("halftone", "must be 0 to 3");
  }
}

}  // namespace orvella::cli
