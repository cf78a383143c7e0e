#include "app/commands/settings_json.h"

#include <limits>

#include "app/commands/json_fields.h"
#include "settings/app_data.h"
#include "settings/folder_models.h"
#include "settings/hidden_settings.h"

namespace orvella::cli {
namespace {

namespace s = orvella::settings;

// The numeric members of a font object in the order dump prints them; the
// face name follows them.
template <typename Font, typename Member>
void FontMembers(Font& f, Member&& member) {
  member("height", f.height);
  member("width", f.width);
  member("escapement", f.escapement);
  member("orientation", f.orientation);
  member("weight", f.weight);
  member("italic", f.italic);
  member("underline", f.underline);
  member("strike_out", f.strikeOut);
  member("char_set", f.charSet);
  member("out_precision", f.outPrecision);
  member("clip_precision", f.clipPrecision);
  member("quality", f.quality);
  member("pitch_and_family", f.pitchAndFamily);
}
constexpr char kFaceName[] = "face_name";

}  // namespace

void JsonFieldSink::Address(std::string_view key, const base::Ipv4Address& address) {
  out_[std::string(key)] = base::FormatIpv4Address(address);
}

void JsonFieldSink::Secret(std::string_view key, std::string_view value) {
  if (showSecrets_) out_[std::string(key)] = value;
}

void JsonFieldSink::Font(std::string_view key, const s::LogFont& font) {
  OrderedJson object = OrderedJson::object();
  FontMembers(font, [&](const char* name, const auto& value) { object[name] = value; });
  object[kFaceName] = font.FaceNameUtf8();
  out_[std::string(key)] = std::move(object);
}

s::LogFont FontFromJson(const nlohmann::json& value, const std::string& where) {
  JsonFields fields(value, where);
  s::LogFont font;
  FontMembers(font, [&](const char* name, auto& member) {
    using Member = std::remove_reference_t<decltype(member)>;
    if (!fields.Find(name)) throw fields.Error(name, "missing");
    int number = 0;
    fields.Int(name, number);
    if (number < std::numeric_limits<Member>::min() || number > std::numeric_limits<Member>::max()) {
      throw fields.Error(name, "out of range");
    }
    member = static_cast<Member>(number);
  });
  if (!fields.Find(kFaceName)) throw fields.Error(kFaceName, "missing");
  std::string face;
  fields.Text(kFaceName, face);
  if (!font.SetFaceNameUtf8(face)) throw fields.Error(kFaceName, "must fit 31 bytes of CP932");
  fields.RejectUnknown();
  return font;
}

OrderedJson DumpFolderModels(const std::filesystem::path& program) {
  OrderedJson array = OrderedJson::array();
  for (const auto& unit : s::LoadFolderModels(program)) {
    OrderedJson object = {{"NAME", unit.name}};
    for (size_t slot = 0; slot < unit.foldTypes.size(); ++slot) {
      object[std::string(s::kFoldSizeSlots[slot].prefix)] = unit.foldTypes[slot];
    }
    array.push_back(std::move(object));
  }
  return array;
}

OrderedJson DumpHidden(const std::filesystem::path& program) {
  return FieldObject(
      [&](s::FieldSink& sink) { s::VisitHiddenSettings(s::LoadHiddenSettings(program), sink); });
}

OrderedJson DumpAppData(const std::filesystem::path& program) {
  return FieldObject([&](s::FieldSink& sink) { s::VisitAppData(program, sink); });
}

}  // namespace orvella::cli
