#include "interaction/commands/direct_entry.h"

#include "interaction/commands/context.h"
#include "model/cp1250.h"

namespace blok {

std::optional<Reply> DirectEntry(CommandContext& ctx, const std::string& entry) {
  const std::string start = UpperCp1250(entry.substr(0, 2));
  WriterResult result;
  if (start == "L(" || start == "P(") {
    result = DirectSegment(entry, ctx.Style());
  } else if (start == "O(" || UpperCp1250(entry.substr(0, 4)) == "LUK(") {
    result = DirectShape(entry, ctx.Style());
  } else if (start == "T(") {
    const Settings& s = ctx.scene().settings;
    result = DirectText(entry, s.text_height_text, s.text_width_text, ctx.Style());
  } else {
    return std::nullopt;
  }
  if (result.error) {
    // The box says why; the message pane marks the entry unknown.
    ctx.ShowMessageBox(*result.error);
    return Reply{};
  }
  if (!result.lines.empty()) {
    ctx.Apply({result.lines, {}, {}});
    ctx.Redraw();
  }
  return Reply::Said(result.message);
}

}  // namespace blok
